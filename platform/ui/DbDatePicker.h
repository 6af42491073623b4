#pragma once

#include "platform/ui/FieldLink.h"

#include <QDateEdit>

namespace ui {

// A date picker in the program's one date form (db::dateFormat) with up-down
// buttons; it holds a date without a time of day. A date is typed as it is
// written, "2025-01-09", "20250109" or "2025-1-9" alike.
//
// Unbound (never bound), the form sets and reads its date itself. Bound to a
// field, it shows the field's date and writes a changed date back (as that
// day at 00:00:00) when it is left and when the data source flushes before a
// post; it is read-only while the dataset is not editing.
//
// It can also show no date (setNull, or a bound field holding NULL): the box
// is then blank, typing or stepping up or down starts from today, and Tab
// leaves it at once (there is no year, month or day to step through).
class DbDatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DbDatePicker(QWidget* parent = nullptr);
    DbDatePicker(DataSource* source, const QString& field, QWidget* parent = nullptr);

    void bind(DataSource* source, const QString& field);
    DataSource* dataSource() const { return link_.source(); }
    QString field() const { return link_.field(); }

    void setNull();
    bool isNull() const;
    // The date shown; an invalid QDate when none is.
    QDate value() const;
    void setToday();

    bool isDirty() const { return dirty_; }
    // Writes a changed date into the field.
    void commit();

    void stepBy(int steps) override;

protected:
    void focusOutEvent(QFocusEvent* e) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void reload();
    void updateReadOnly();

    FieldLink link_;
    bool dirty_ = false;
    bool loading_ = false;
    bool movedOnByDigit_ = false; // the last digit filled its section and moved on
};

} // namespace ui
