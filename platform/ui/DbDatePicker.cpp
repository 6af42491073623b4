#include "platform/ui/DbDatePicker.h"

#include "platform/db/Value.h"
#include "platform/ui/Prompt.h"

#include <QKeyEvent>

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
    movedOnByDigit_ = false;
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

void DbDatePicker::keyPressEvent(QKeyEvent* e)
{
    const QString typed = e->text();
    const bool digit = typed.size() == 1 && typed[0].isDigit();
    const bool separator = typed.size() == 1 && !digit && typed[0].isPrint() && !typed[0].isSpace();
    // A section filled by its digits moves on by itself: the separator typed
    // after it, as a date is written, must not skip the next section too.
    if (separator && movedOnByDigit_) {
        movedOnByDigit_ = false;
        e->accept();
        return;
    }
    if (digit && isNull() && !isReadOnly()) {
        // A date typed into a blank box starts from today's, year first.
        setToday();
        setSelectedSection(sectionAt(0));
    }
    const int section = currentSectionIndex();
    QDateEdit::keyPressEvent(e);
    movedOnByDigit_ = digit && currentSectionIndex() != section;
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
