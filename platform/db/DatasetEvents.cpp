// A dataset's events: handlers subscribed and fired, the signals to widgets
// (held back while controls are disabled), and a detail following its master.
#include "platform/db/Dataset.h"

#include "platform/db/DatasetSupport.h"

namespace db {

using detail::sameValue;

// ---------------------------------------------------------------- Subscription

Subscription& Subscription::operator=(Subscription&& o) noexcept
{
    if (this != &o) {
        reset();
        detach_ = std::move(o.detach_);
        o.detach_ = nullptr;
    }
    return *this;
}

void Subscription::reset()
{
    if (detach_) {
        auto fn = std::move(detach_);
        detach_ = nullptr;
        fn();
    }
}

// ---------------------------------------------------------------- events

Subscription Dataset::subscribe(HandlerList<Handler>& list, Handler h)
{
    const int id = nextHandlerId_++;
    list.items.emplace_back(id, std::move(h));
    QPointer<Dataset> self(this);
    HandlerList<Handler>* target = &list;
    return Subscription([self, target, id] {
        if (!self)
            return;
        std::erase_if(target->items, [id](const auto& item) { return item.first == id; });
    });
}

Subscription Dataset::onBeforePost(Handler h) { return subscribe(beforePost_, std::move(h)); }
Subscription Dataset::onAfterPost(Handler h) { return subscribe(afterPost_, std::move(h)); }
Subscription Dataset::onAfterScroll(Handler h) { return subscribe(afterScroll_, std::move(h)); }
Subscription Dataset::onNewRecord(Handler h) { return subscribe(newRecord_, std::move(h)); }
Subscription Dataset::onAfterDelete(Handler h) { return subscribe(afterDelete_, std::move(h)); }

Subscription Dataset::onCalcFields(Handler h)
{
    Subscription s = subscribe(calcFields_, std::move(h));
    if (isActive()) {
        calcAll();
        emitReset();
    }
    return s;
}

Subscription Dataset::onDataChange(ChangeHandler h)
{
    const int id = nextHandlerId_++;
    dataChange_.items.emplace_back(id, std::move(h));
    QPointer<Dataset> self(this);
    return Subscription([self, id] {
        if (self)
            std::erase_if(self->dataChange_.items, [id](const auto& item) { return item.first == id; });
    });
}

void Dataset::fire(HandlerList<Handler>& list)
{
    if (list.items.empty())
        return;
    // Calculated fields fire this for every row read: one handler needs no list.
    if (list.items.size() == 1) {
        const Handler fn = list.items.front().second; // it may detach itself
        fn(*this);
        return;
    }
    const auto handlers = list.items; // a handler may detach itself
    for (const auto& [id, fn] : handlers)
        fn(*this);
}

void Dataset::fireDataChange(DataChange kind, const QString& field)
{
    if (controlsDisabled()) {
        changedWhileDisabled_ = true;
        return;
    }
    const auto handlers = dataChange_.items;
    for (const auto& [id, fn] : handlers)
        fn(*this, kind, field);
}

void Dataset::setState(DatasetState s)
{
    if (state_ == s)
        return;
    state_ = s;
    emitState();
}

void Dataset::emitState()
{
    if (controlsDisabled())
        changedWhileDisabled_ = true;
    else
        Q_EMIT stateChanged();
}

void Dataset::emitReset()
{
    if (controlsDisabled()) {
        changedWhileDisabled_ = true;
        return;
    }
    Q_EMIT rowsReset();
    Q_EMIT currentChanged(cur_);
}

void Dataset::emitRecordChange()
{
    if (controlsDisabled())
        changedWhileDisabled_ = true;
    else
        Q_EMIT currentChanged(cur_);
}

void Dataset::emitFieldWritten(int fieldIndex)
{
    if (controlsDisabled()) {
        changedWhileDisabled_ = true;
        return;
    }
    Q_EMIT fieldWritten(fieldIndex);
    // Lookups keyed on this field, and calculated fields, follow it at once.
    const QString name = fields_[size_t(fieldIndex)].name;
    for (int i = 0; i < fieldCount(); ++i) {
        const FieldDef& f = fields_[size_t(i)];
        if ((f.kind == FieldDef::Kind::Lookup && f.keyField.compare(name, Qt::CaseInsensitive) == 0)
            || f.kind == FieldDef::Kind::Calculated) {
            if (f.kind == FieldDef::Kind::Lookup)
                emitFieldWritten(i);
            else
                Q_EMIT fieldWritten(i);
        }
    }
}

// ---------------------------------------------------------------- master/detail

void Dataset::setMaster(Dataset* master, const QString& masterField, const QString& param)
{
    masterSub_.reset();
    master_ = master;
    masterField_ = masterField;
    masterParam_ = param;
    if (!master)
        return;
    masterSub_ = master->onDataChange([this](Dataset&, DataChange kind, const QString&) {
        if (kind == DataChange::Record)
            masterMoved();
    });
}

void Dataset::masterMoved()
{
    if (!master_ || !master_->isActive() || master_->isEditing())
        return;
    const QVariant key = master_->value(masterField_);
    if (isActive() && sameValue(key, params_.value(masterParam_)))
        return;
    setParam(masterParam_, key);
    if (isActive()) {
        if (isEditing())
            cancel();
        close();
    }
    open();
}


} // namespace db
