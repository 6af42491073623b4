#pragma once

#include "platform/db/KeyTable.h"

#include <QString>
#include <QStringList>
#include <QVarLengthArray>
#include <QVariant>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace db {

class Connection;
class Statement;

// The values lookup fields show, kept per connection: for each source table
// and key column, the first row (by rowid) holding a key, read when first
// asked for. A write to a source row corrects only that row's key; a small
// number of keys is read by key through the index, and once many are asked
// for, the whole table is read in one pass instead.
class LookupCache {
public:
    explicit LookupCache(Connection& conn);
    ~LookupCache();
    LookupCache(const LookupCache&) = delete;
    LookupCache& operator=(const LookupCache&) = delete;

    // What a lookup field asks for: a result column of one source table and key.
    struct Column {
        int source = -1;
        int index = -1;
    };
    Column column(const QString& table, const QString& key, const QString& result);

    // The first row of a source whose key equals keyText exactly (as UTF-8):
    // its rowid and the values of the columns asked for, in their order.
    // Held in the entry itself, for as many columns as lookups usually ask
    // of one source: one cache miss less for every row shown.
    using Values = QVarLengthArray<QVariant, 4>;
    struct Entry {
        qint64 rowid = 0; // 0: no row has this key
        // Before the values, so that finding a key and showing its first
        // values stays within the entry's first two cache lines.
        quint64 textValues = 0; // bit i: values[i] holds a QString
        Values values;
        // Each value as a field last asked to show it: its text, made once
        // for the shape (type and format) of that field.
        struct Shown {
            QString text;
            int shape = -1; // -1: not made yet
        };
        mutable std::unique_ptr<Shown[]> shown; // one per value, made when first asked for

        // The text values[i] holds; only where holdsText(i).
        bool holdsText(size_t i) const { return i < 64 && (textValues >> i & 1) != 0; }
        const QString& text(size_t i) const { return *static_cast<const QString*>(values[qsizetype(i)].constData()); }
    };
    // nullptr when no row has that key. The entry stays valid, and its values
    // current, while generation() after catchUp() is unchanged.
    const Entry* findRow(int source, std::string_view keyText);
    // findRow for a caller that has caught up with the source already.
    const Entry* findCaughtUp(int source, std::string_view keyText);
    // Takes in what was written to the source since it was last read.
    void catchUp(int source);
    quint64 generation() const { return generation_; }
    // Advanced by every row this connection writes to any table: until it
    // moves, only another connection's writes can leave a source behind.
    quint64 writes() const { return writes_; }

    // The stored value of the column in the first row whose key equals keyText
    // exactly (as UTF-8); nullptr when no row has that key.
    const QVariant* find(Column c, std::string_view keyText);

    // From the connection's change hook: this row was inserted, updated or deleted.
    void rowChanged(const char* table, qint64 rowid);
    // Everything of this table, or of every table, may have changed. After
    // forgetAll the statements are prepared again, so it also serves when the
    // connection closes.
    void forgetTable(const QString& table);
    void forgetAll();

private:
    struct Source {
        QString table, key;
        QByteArray tableUtf8; // for the change hook, which names tables in UTF-8
        QStringList columns;
        KeyTable<Entry> entries;
        std::unordered_map<qint64, std::string> keyOfRowid;
        bool complete = false; // the whole table is read: a key not found has no row
        std::vector<qint64> dirty;
        bool stale = false;    // too many rows changed to correct one by one
        qint64 sizeEstimate = -1;
        int keysRead = 0;      // point reads since the last whole read
        std::unique_ptr<Statement> byKey, byRowid;
    };

    void settle(Source& s);
    void reset(Source& s);
    void readWhole(Source& s);
    const Entry* readKey(Source& s, std::string_view keyText);
    void correctRow(Source& s, qint64 rowid);
    void forgetRowid(Source& s, qint64 rowid);
    bool worthReadingWhole(Source& s);
    QString selectList(const Source& s) const;
    Values resultValues(const Source& s, Statement& st, int first) const;
    static Entry entryOf(qint64 rowid, Values values);

    Connection& conn_;
    std::vector<std::unique_ptr<Source>> sources_;
    quint64 generation_ = 0; // advanced whenever what a key finds may have changed
    quint64 writes_ = 0;
};

} // namespace db
