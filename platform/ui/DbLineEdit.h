#pragma once

#include "platform/ui/FieldLink.h"

#include <QLineEdit>

namespace ui {

// A line edit bound to one field. It shows the field's display text, and the
// plain value while it has the focus in an editing dataset; it is read-only
// unless the dataset is editing. Any change of its text while editing (typed,
// or set by the form) is written to the field when the box is left, when
// Enter is pressed, and when the data source flushes before a post.
// Text fields limit the length to the field's size in characters (or the
// narrower limit of its column, see fieldCharacterLimit); a value stored
// before is shown whole all the same. Integer fields accept only digits
// after an optional sign.
class DbLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DbLineEdit(QWidget* parent = nullptr);
    DbLineEdit(DataSource* source, const QString& field, QWidget* parent = nullptr);

    void bind(DataSource* source, const QString& field);
    DataSource* dataSource() const { return link_.source(); }
    QString field() const { return link_.field(); }

    // Hides what is typed behind bullets (passwords).
    void setPassword(bool on);
    // Keeps the box read-only even while the dataset is editing (values the form computes).
    void setLocked(bool on);
    bool isLocked() const { return locked_; }

    // The form checks this box's text when saving and names a wrong value in
    // its own words: a text the field cannot take (a sign alone, "12x") then
    // stays in the box unwritten when the box is left, without a message of
    // its own, so the user sees one message, the form's.
    void setCheckedOnSave(bool on) { checkedOnSave_ = on; }

    // True when the text differs from what the field holds and is still to be written.
    bool isDirty() const { return dirty_; }
    // Writes unwritten text into the field; throws RefusedEntry (naming the
    // box by its label) when the field refuses it.
    void commit();
    // Writes a value chosen for the box (in a chooser) as if typed and left.
    // One the field cannot hold is refused in the error box, naming the box,
    // and nothing changes; false then, and while the box cannot be written.
    bool putChosen(const QString& value);

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void reload();
    void applyFieldRules();
    void updateReadOnly();
    void showText(const QString& text);
    // The field's limit, widened to hold text whole (a value stored before).
    void keepWhole(const QString& text);
    void commitGuarded();

    FieldLink link_;
    QValidator* integerValidator_ = nullptr;
    bool locked_ = false;
    bool checkedOnSave_ = false;
    bool dirty_ = false;
    bool loading_ = false;
};

} // namespace ui
