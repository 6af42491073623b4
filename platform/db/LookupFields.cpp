#include "platform/db/LookupFields.h"

#include "platform/db/Connection.h"
#include "platform/db/DatasetSupport.h"

#include <algorithm>

namespace db {

using detail::lookupConvert;

namespace {

int shapeOf(FieldType type, const QString& format)
{
    return int(type) * 2 + (format == QLatin1String("#0.##") ? 1 : 0);
}

} // namespace

void LookupFields::build(const std::vector<FieldDef>& fields, const std::vector<int>& cellOf,
                         const std::function<int(const QString&)>& fieldIndex)
{
    fields_.assign(fields.size(), Field{});
    groups_.clear();
    sources_.clear();
    caughtUpMs_ = -1;
    for (size_t i = 0; i < fields.size(); ++i) {
        const FieldDef& def = fields[i];
        if (def.kind != FieldDef::Kind::Lookup)
            continue;
        const LookupCache::Column c = cache_.column(def.lookupTable, def.lookupKey, def.lookupResult);
        Field& f = fields_[i];
        f.column = c.index;
        f.type = def.type;
        f.format = def.format;
        f.shape = shapeOf(def.type, def.format);
        const int keyIndex = fieldIndex(def.keyField);
        if (keyIndex < 0)
            continue;
        const int keyCell = cellOf[size_t(keyIndex)];
        const int keyLookup = keyCell < 0 ? keyIndex : -1;
        const auto same = std::find_if(groups_.begin(), groups_.end(), [&](const Group& g) {
            return g.source == c.source && g.keyCell == keyCell && g.keyLookup == keyLookup;
        });
        f.group = int(same - groups_.begin());
        if (same == groups_.end()) {
            Group g;
            g.source = c.source;
            g.keyCell = keyCell;
            g.keyLookup = keyLookup;
            groups_.push_back(std::move(g));
        }
        if (std::find(sources_.begin(), sources_.end(), c.source) == sources_.end())
            sources_.push_back(c.source);
    }
}

QVariant LookupFields::value(int field, const Cell* cells, const RowStore& store)
{
    const Field& f = fields_[size_t(field)];
    const LookupCache::Entry* e = sourceRow(f, cells, store);
    return e ? lookupConvert(e->values[f.column], f.type) : QVariant();
}

QString LookupFields::displayText(int field, const Cell* cells, const RowStore& store)
{
    const Field& f = fields_[size_t(field)];
    const LookupCache::Entry* e = sourceRow(f, cells, store);
    return e ? shown(f, *e) : QString();
}

const LookupCache::Entry* LookupFields::sourceRow(const Field& f, const Cell* cells, const RowStore& store)
{
    if (f.group < 0)
        return nullptr;
    try {
        return entry(f.group, cells, store);
    } catch (const Error&) {
        return nullptr; // a missing source table shows an empty lookup
    }
}

// A looked-up text is shown as the source holds it; any other value as
// the field's type and format show it, made once per entry.
const QString& LookupFields::shown(const Field& f, const LookupCache::Entry& e)
{
    const size_t column = size_t(f.column);
    if (f.type == FieldType::Text && f.format.isEmpty() && e.holdsText(column))
        return e.text(column);
    if (!e.shown)
        e.shown = std::make_unique<LookupCache::Entry::Shown[]>(size_t(e.values.size()));
    LookupCache::Entry::Shown& s = e.shown[column];
    if (s.shape != f.shape) {
        s.text = db::displayText(lookupConvert(e.values[qsizetype(column)], f.type), f.type, f.format);
        s.shape = f.shape;
    }
    return s.text;
}

// Once per tick of the clock, and again once this connection has written:
// the reads in between are one pass over what the sources hold.
void LookupFields::catchUp()
{
    const qint64 now = coarseClockMs();
    if (now == caughtUpMs_ && cache_.writes() == caughtUpWrites_)
        return;
    for (int source : sources_)
        cache_.catchUp(source);
    caughtUpMs_ = now;
    caughtUpWrites_ = cache_.writes();
}

bool LookupFields::holds(const Group& g) const
{
    return g.generation == cache_.generation() && g.rowsEpoch == rowsEpoch_;
}

const LookupCache::Entry* LookupFields::entryOfKey(Group& g, std::string_view key)
{
    g.generation = ~quint64(0); // nothing held should the reading fail
    g.entry = cache_.findCaughtUp(g.source, key);
    g.key.assign(key);
    g.generation = cache_.generation();
    g.rowsEpoch = rowsEpoch_;
    return g.entry;
}

const LookupCache::Entry* LookupFields::entry(int group, const Cell* cells, const RowStore& store)
{
    catchUp();
    Group& g = groups_[size_t(group)];
    if (g.keyCell >= 0) {
        const Cell& c = cells[g.keyCell];
        if (c.kind == Cell::Text) {
            // The same text in the same place is the same key.
            if (holds(g) && g.keyAt == c.text && g.key.size() == c.size)
                return g.entry;
            g.keyAt = c.text;
            return entryOfKey(g, c.textView());
        }
        const QVariant v = store.variantOf(c);
        if (!v.isValid() || v.isNull())
            return nullptr;
        const std::string key = asString(v).toStdString();
        if (holds(g) && !g.keyAt && g.key == key)
            return g.entry;
        g.keyAt = nullptr;
        return entryOfKey(g, key);
    }
    // Keyed on another lookup's value, as that field holds it.
    const Field& keyField = fields_[size_t(g.keyLookup)];
    const LookupCache::Entry* keyRow = keyField.group >= 0 ? entry(keyField.group, cells, store) : nullptr;
    if (!keyRow)
        return nullptr;
    const size_t column = size_t(keyField.column);
    QString keyText;
    if (keyField.type == FieldType::Text && keyRow->holdsText(column)) {
        keyText = keyRow->text(column);
    } else {
        const QVariant v = lookupConvert(keyRow->values[qsizetype(column)], keyField.type);
        if (!v.isValid() || v.isNull())
            return nullptr;
        keyText = asString(v);
    }
    if (holds(g) && g.keyShown == keyText)
        return g.entry;
    g.keyShown = keyText;
    g.keyAt = nullptr;
    return entryOfKey(g, g.keyShown.toStdString());
}

} // namespace db
