#include "platform/ui/DbLineEdit.h"

#include "platform/ui/CharacterLimit.h"
#include "platform/ui/EntryRefusal.h"
#include "platform/ui/Prompt.h"

#include <QRegularExpressionValidator>

namespace ui {

namespace {

// A line edit's own maximum length, which no text field reaches.
constexpr int kUnlimited = 32767;

bool isIntegerType(db::FieldType t)
{
    return t == db::FieldType::Integer || t == db::FieldType::SmallInt || t == db::FieldType::AutoInc;
}

} // namespace

DbLineEdit::DbLineEdit(QWidget* parent)
    : QLineEdit(parent),
      link_(this, {[this] { reload(); }, [this](bool) { updateReadOnly(); }, [this] { commit(); }})
{
    updateReadOnly();
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!loading_ && link_.canWrite())
            dirty_ = true;
    });
    // Enter finishes the entry: the field is written before any Enter handler
    // of the form runs on the next signal.
    connect(this, &QLineEdit::returnPressed, this, &DbLineEdit::commitGuarded);
}

DbLineEdit::DbLineEdit(DataSource* source, const QString& field, QWidget* parent)
    : DbLineEdit(parent)
{
    bind(source, field);
}

void DbLineEdit::bind(DataSource* source, const QString& field)
{
    link_.bind(source, field);
}

void DbLineEdit::setPassword(bool on)
{
    setEchoMode(on ? QLineEdit::Password : QLineEdit::Normal);
}

void DbLineEdit::setLocked(bool on)
{
    locked_ = on;
    updateReadOnly();
}

void DbLineEdit::commit()
{
    if (!dirty_ || !link_.canWrite())
        return;
    link_.enter(text());
    // The write reloads the box through the field's change notice; clear the
    // flag only once the field took the value, so a refused text stays pending.
    dirty_ = false;
}

bool DbLineEdit::putChosen(const QString& value)
{
    if (!link_.canWrite())
        return false;
    if (const std::optional<QString> reason = link_.refusal(value)) {
        showError(this, refusalText(labelOf(this), *reason));
        return false;
    }
    keepWhole(value);
    setText(value);
    dirty_ = true;
    return runGuarded(this, [this] { commit(); });
}

void DbLineEdit::commitGuarded()
{
    if (checkedOnSave_ && dirty_ && link_.refusal(text()))
        return;
    runGuarded(this, [this] { commit(); });
}

void DbLineEdit::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    if (dirty_ || !link_.canWrite())
        return;
    // The plain value takes the place of the one shown in its format; a value
    // the focus selected whole stays so, to be replaced by what is typed.
    const bool whole = hasSelectedText() && selectedText() == text();
    showText(link_.editText());
    if (whole)
        selectAll();
}

void DbLineEdit::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    commitGuarded();
    if (!dirty_)
        reload();
}

void DbLineEdit::reload()
{
    applyFieldRules();
    dirty_ = false;
    if (!link_.source())
        return; // an unbound box keeps what the form puts in it
    const bool editing = hasFocus() && link_.canWrite();
    showText(editing ? link_.editText() : link_.displayText());
}

void DbLineEdit::showText(const QString& text)
{
    if (text == this->text())
        return;
    keepWhole(text);
    loading_ = true;
    setText(text);
    loading_ = false;
}

void DbLineEdit::keepWhole(const QString& text)
{
    const db::FieldDef* def = link_.fieldDef();
    if (def && def->type == db::FieldType::Text)
        limitCharactersShowing(this, link_.characterLimit(), text);
}

void DbLineEdit::applyFieldRules()
{
    const db::FieldDef* def = link_.fieldDef();
    if (!def)
        return;
    if (def->type == db::FieldType::Text) {
        keepWhole(QString());
        return;
    }
    if (isIntegerType(def->type)) {
        if (!integerValidator_)
            integerValidator_ = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-+]?[0-9]*")), this);
        setValidator(integerValidator_);
    } else if (validator() == integerValidator_ || characterLimit(this) > 0) {
        setValidator(nullptr); // left from a field bound before
    }
    if (maxLength() != kUnlimited)
        setMaxLength(kUnlimited);
}

void DbLineEdit::updateReadOnly()
{
    setReadOnly(locked_ || (link_.source() && !link_.canWrite()));
}

} // namespace ui
