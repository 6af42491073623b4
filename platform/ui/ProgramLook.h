#pragma once

namespace ui {

// Gives the running application the program's one look, the same in the
// program and in every test:
// - its font;
// - Qt's own texts (standard buttons, print and preview dialogs, the context
//   menu of text boxes) in Chinese;
// - a box the user cannot type into (read-only, or disabled because the
//   record is only being browsed) drawn on the window's background, its text
//   at the contrast of a box for typing;
// - a text box filled by the program showing the start of its text.
// Called once, after the application object exists.
void applyProgramLook();

} // namespace ui
