#pragma once

class QWidget;

namespace ui {

// True for a box shown only to be read: a read-only text, spin or date box,
// or an editable combo box whose text is read-only.
bool isReadOnlyBox(const QWidget* w);

// Gives the running application the program's one look, the same in the
// program and in every test:
// - its font;
// - Qt's own texts (standard buttons, print and preview dialogs, the context
//   menu of text boxes) in Chinese;
// - a box the user cannot type into (read-only, or disabled because the
//   record is only being browsed) drawn on the window's background, its text
//   at the contrast of a box for typing;
// - a text box filled by the program showing the start of its text, and a
//   box the keyboard or the program gives the focus holding its value wholly
//   selected, so that typing replaces it;
// - a password box showing a "*" for each character.
// Called once, after the application object exists.
void applyProgramLook();

} // namespace ui
