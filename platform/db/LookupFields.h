#pragma once

#include "platform/db/FieldDef.h"
#include "platform/db/LookupCache.h"
#include "platform/db/RowStore.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <string>
#include <vector>

namespace db {

// The lookup fields of one dataset, read for every cell a grid paints.
// Lookups of one source through one key field form a group and share the
// source row they find. Each group remembers the key it resolved last, so
// the lookups of a row are found once, and so are the rows of a list that
// repeat a service or a stylist; a row's key is compared where it lies, not
// copied.
class LookupFields {
public:
    explicit LookupFields(LookupCache& cache) : cache_(cache) {}
    LookupFields(const LookupFields&) = delete;
    LookupFields& operator=(const LookupFields&) = delete;

    // fields as built, each stored field's place among a row's cells (-1
    // for a lookup), and the index of a field by name (-1 when absent).
    void build(const std::vector<FieldDef>& fields, const std::vector<int>& cellOf,
               const std::function<int(const QString&)>& fieldIndex);
    // The rows were read anew: a text seen before may now lie at the same place.
    void rowsReplaced() { ++rowsEpoch_; }

    // A lookup field's value and text for the row of these cells; NULL and
    // "" when its key finds no row, or its source table is missing.
    QVariant value(int field, const Cell* cells, const RowStore& store);
    QString displayText(int field, const Cell* cells, const RowStore& store);

private:
    struct Group {
        int source = -1;
        int keyCell = -1;     // the key is a stored cell of the row ...
        int keyLookup = -1;   // ... or this lookup field's value
        // The key resolved last and the source row it found.
        quint64 generation = ~quint64(0); // of the cache when found
        quint64 rowsEpoch = 0;
        const char* keyAt = nullptr;      // where the key lay in the row's cells
        std::string key;
        QString keyShown;                 // a looked-up key as its field shows it
        const LookupCache::Entry* entry = nullptr;
    };
    struct Field {
        int group = -1; // -1: no lookup, or no key field
        int column = -1;
        FieldType type = FieldType::Text;
        QString format;
        int shape = 0;  // type and format: how a value is shown
    };

    // The source row the field shows a value of; none when its key finds
    // none, it has no key field or its source table is missing.
    const LookupCache::Entry* sourceRow(const Field& f, const Cell* cells, const RowStore& store);
    const LookupCache::Entry* entry(int group, const Cell* cells, const RowStore& store);
    const LookupCache::Entry* entryOfKey(Group& g, std::string_view key);
    bool holds(const Group& g) const;
    void catchUp();
    const QString& shown(const Field& f, const LookupCache::Entry& e);

    LookupCache& cache_;
    std::vector<Field> fields_;
    std::vector<Group> groups_;
    std::vector<int> sources_; // each source once
    quint64 rowsEpoch_ = 0;
    // When the sources were last caught up with: once per clock tick, and
    // again after this connection writes.
    qint64 caughtUpMs_ = -1;
    quint64 caughtUpWrites_ = ~quint64(0);
};

} // namespace db
