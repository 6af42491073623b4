#include "platform/ui/DbDatePicker.h"

#include "platform/db/Value.h"
#include "platform/ui/Prompt.h"

namespace ui {

namespace {

// The lowest date stands for "no date": the box then shows its blank special text.
const QDate kNoDate(1752, 9, 14);

} // namespace

DbDatePicker::DbDatePicker(QWidget* parent)
    : QDateEdit(parent),
      link_(this, {[this] { reload(); }, [this](bool) { updateReadOnly(); }, [this] { commit(); }})
{
    setDisplayFormat(db::dateFormat());
    setCalendarPopup(false);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setMinimumDate(kNoDate);
    setSpecialValueText(QStringLiteral(" "));
    setDate(QDate::currentDate());
    connect(this, &QDateEdit::dateChanged, this, [this] {
        if (!loading_ && link_.canWrite())
            dirty_ = true;
    });
}

DbDatePicker::DbDatePicker(DataSource* source, const QString& field, QWidget* parent)
    : DbDatePicker(parent)
{
    bind(source, field);
}

void DbDatePicker::bind(DataSource* source, const QString& field)
{
    link_.bind(source, field);
}

void DbDatePicker::setNull()
{
    setDate(kNoDate);
}

bool DbDatePicker::isNull() const
{
    return date() == kNoDate;
}

QDate DbDatePicker::value() const
{
    return isNull() ? QDate() : date();
}

void DbDatePicker::setToday()
{
    setDate(QDate::currentDate());
}

void DbDatePicker::stepBy(int steps)
{
    if (isNull()) {
        setToday();
        return;
    }
    QDateEdit::stepBy(steps);
}

void DbDatePicker::commit()
{
    if (!dirty_ || !link_.canWrite())
        return;
    const QDate d = value();
    link_.write(d.isValid() ? QVariant(QDateTime(d, QTime(0, 0))) : QVariant());
    dirty_ = false;
}

void DbDatePicker::focusOutEvent(QFocusEvent* e)
{
    QDateEdit::focusOutEvent(e);
    runGuarded(this, [this] { commit(); });
}

bool DbDatePicker::focusNextPrevChild(bool next)
{
    // The date edit keeps Tab for its sections, which a blank box does not show.
    if (isNull())
        return QWidget::focusNextPrevChild(next);
    return QDateEdit::focusNextPrevChild(next);
}

void DbDatePicker::reload()
{
    if (!link_.source())
        return;
    const QDateTime dt = db::asDateTime(link_.value());
    loading_ = true;
    if (dt.isValid())
        setDate(dt.date());
    else
        setNull();
    loading_ = false;
    dirty_ = false;
}

void DbDatePicker::updateReadOnly()
{
    setReadOnly(link_.source() && !link_.canWrite());
}

} // namespace ui
