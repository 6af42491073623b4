#pragma once

#include "platform/ui/FieldLink.h"

#include <QComboBox>
#include <functional>
#include <optional>

namespace ui {

// An editable combo box bound to one field (or unbound, when never bound).
// It tells apart how its text changed:
//   textTyped(text)  the user typed into it;
//   itemChosen(i)    the user chose item i from the list (keyboard or mouse);
//   nothing          the text was set by code or by showing another record.
// While the dataset is not editing it is read-only: nothing can be typed or
// chosen. Changed text is written to the field when an item is chosen, when
// the box is left, and when the data source flushes before a post. Like a
// bound text box it takes no more characters than its field; an item longer
// than that is refused when chosen, naming the box by its label.
class DbComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DbComboBox(QWidget* parent = nullptr);
    DbComboBox(DataSource* source, const QString& field, QWidget* parent = nullptr);

    void bind(DataSource* source, const QString& field);
    DataSource* dataSource() const { return link_.source(); }
    QString field() const { return link_.field(); }

    // Shows text without announcing it (the item of that text, if any, becomes current).
    void setText(const QString& text);
    QString text() const { return currentText(); }

    bool isReadOnly() const { return readOnly_; }
    bool isDirty() const { return dirty_; }
    // Writes unwritten text into the field; throws RefusedEntry (naming the
    // box by its label) when the field refuses it.
    void commit();

    void showPopup() override;

    // Fills the list when it is first used (opened, typed into, scrolled or
    // stepped through) rather than now: a list of thousands of stored values
    // costs nothing until someone looks at it. A later call replaces a fill
    // still waiting. The line keeps its text, cursor and selection.
    void fillOnFirstUse(std::function<void()> fill);
    // Runs the fill still waiting, if any, as a first use would.
    void fillNow();

signals:
    void textTyped(const QString& text);
    void itemChosen(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void reload();
    void setReadOnly(bool on);
    void markDirty();

    class FittingItems;

    FieldLink link_;
    FittingItems* fitting_ = nullptr;
    std::optional<QString> textBeforeFill_;
    std::function<void()> pendingFill_;
    bool readOnly_ = false;
    bool dirty_ = false;
    bool loading_ = false;
};

} // namespace ui
