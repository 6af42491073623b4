#pragma once

class QLineEdit;
class QString;

namespace ui {

// The least width at which box shows sample whole: the text, the line
// edit's own margins and its frame.
int widthToShow(const QLineEdit* box, const QString& sample);

// Keeps box at least wide enough to show sample whole, so a value of a known
// form (a bill number, an account number) never loses a digit to the layout.
void keepWideEnoughFor(QLineEdit* box, const QString& sample);

} // namespace ui
