#pragma once

#include "platform/db/Error.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

class QLabel;
namespace db {
struct FieldDef;
}

// What a box says when its field cannot hold what was typed or chosen into
// it: the reason, after the box's label, so the user knows what is wrong and
// where ("单价：“abc”不是有效的数值").
namespace ui {

// A label captioned text naming box (its buddy), in parent, else in the
// box's parent: a refusal of the box's value names the box by it.
QLabel* labelFor(QWidget* box, const QString& text, QWidget* parent = nullptr);
// The name of a box as its form shows it: the text of the label whose buddy
// it is (without mnemonic, blanks and colon), else its accessible name; ""
// when it has neither.
QString labelOf(const QWidget* box);
// reason after label and a colon; reason alone without a label.
QString refusalText(const QString& label, const QString& reason);

// "“text”超过了 limit 个字".
QString tooLongText(const QString& text, int limit);
// "“text”超出了可存的范围": a number past what its column holds.
QString outOfRangeText(const QString& text);
// "“text”不是有效的整数".
QString notWholeNumberText(const QString& text);
// Why a field cannot take text: not a value of the field's type, a whole
// number past what its column holds, or more than limit characters (0: no
// limit). Nothing when it can.
std::optional<QString> fieldRefusal(const db::FieldDef& field, const QString& text, int limit);

// A value a box could not hand to its field, named after the box's label. A
// save that meets one says so and puts the focus back into the box.
class RefusedEntry : public db::Error {
public:
    RefusedEntry(QWidget* box, const QString& reason);
    QWidget* box() const { return box_; }

private:
    QPointer<QWidget> box_;
};

// The focus in box for correcting its value: a text box's value selected
// whole, so what is typed next replaces it, even where the box kept the focus
// (a save by its shortcut from that box).
void focusToCorrect(QWidget* box);

// The refusal in the error box, then the focus in its box for correcting it.
void showRefusal(QWidget* parent, const RefusedEntry& refused);

} // namespace ui
