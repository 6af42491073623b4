#include "platform/ui/FieldLink.h"

#include "platform/ui/CharacterLimit.h"
#include "platform/ui/EntryRefusal.h"

#include <QWidget>

namespace ui {

FieldLink::FieldLink(QWidget* owner, Hooks hooks)
    : owner_(owner), hooks_(std::move(hooks))
{
}

FieldLink::~FieldLink()
{
    disconnectAll();
}

void FieldLink::disconnectAll()
{
    for (const auto& c : connections_)
        QObject::disconnect(c);
    connections_.clear();
}

void FieldLink::bind(DataSource* source, const QString& field)
{
    disconnectAll();
    source_ = source;
    field_ = field;
    if (source) {
        connections_ << QObject::connect(source, &DataSource::recordChanged, owner_, [this] {
            hooks_.writable(canWrite());
            hooks_.reload();
        });
        connections_ << QObject::connect(source, &DataSource::fieldChanged, owner_, [this](int i) {
            if (i == fieldIndex())
                hooks_.reload();
        });
        connections_ << QObject::connect(source, &DataSource::editableChanged, owner_,
                                         [this] { hooks_.writable(canWrite()); });
        connections_ << QObject::connect(source, &DataSource::flushRequested, owner_,
                                         [this] { hooks_.flush(); });
    }
    hooks_.writable(canWrite());
    hooks_.reload();
}

db::Dataset* FieldLink::dataset() const
{
    return source_ ? source_->dataset() : nullptr;
}

int FieldLink::fieldIndex() const
{
    const db::Dataset* ds = dataset();
    return ds && !field_.isEmpty() ? ds->fieldIndex(field_) : -1;
}

const db::FieldDef* FieldLink::fieldDef() const
{
    const int i = fieldIndex();
    return i >= 0 ? &dataset()->fields()[size_t(i)] : nullptr;
}

bool FieldLink::hasValue() const
{
    return source_ && source_->hasRecord() && fieldIndex() >= 0;
}

bool FieldLink::canWrite() const
{
    return hasValue() && source_->editable() && !fieldDef()->readOnly();
}

int FieldLink::characterLimit() const
{
    const db::Dataset* ds = dataset();
    return ds ? fieldCharacterLimit(*ds, fieldIndex()) : 0;
}

std::optional<QString> FieldLink::refusal(const QString& text) const
{
    const db::FieldDef* def = fieldDef();
    // A value stored before a narrower limit came in may be kept as it is.
    if (!def || text == editText())
        return std::nullopt;
    return fieldRefusal(*def, text, characterLimit());
}

QVariant FieldLink::value() const
{
    return hasValue() ? dataset()->value(field_) : QVariant();
}

QString FieldLink::displayText() const
{
    return hasValue() ? dataset()->displayText(field_) : QString();
}

QString FieldLink::editText() const
{
    return db::asString(value());
}

void FieldLink::write(const QVariant& v)
{
    if (canWrite())
        dataset()->setValue(field_, v);
}

void FieldLink::enter(const QString& text)
{
    if (const std::optional<QString> reason = refusal(text))
        throw RefusedEntry(owner_, *reason);
    try {
        write(text);
    } catch (const db::Error& e) {
        if (e.kind() != db::Error::Kind::Usage)
            throw;
        throw RefusedEntry(owner_, e.message());
    }
}

} // namespace ui
