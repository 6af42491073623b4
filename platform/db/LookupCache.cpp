#include "platform/db/LookupCache.h"

#include "platform/db/Connection.h"

namespace db {

namespace {

// Past this many changed rows a source is read again rather than corrected.
constexpr size_t kMostDirtyRows = 256;
// A table this small is read whole at its first lookup.
constexpr qint64 kSmallTable = 256;

std::string keyTextOf(const QVariant& v)
{
    return asString(v).toStdString();
}

} // namespace

LookupCache::LookupCache(Connection& conn) : conn_(conn) {}

LookupCache::~LookupCache() = default;

LookupCache::Column LookupCache::column(const QString& table, const QString& key, const QString& result)
{
    int source = -1;
    for (size_t i = 0; i < sources_.size(); ++i) {
        const Source& s = *sources_[i];
        if (s.table.compare(table, Qt::CaseInsensitive) == 0 && s.key.compare(key, Qt::CaseInsensitive) == 0)
            source = int(i);
    }
    if (source < 0) {
        auto s = std::make_unique<Source>();
        s->table = table;
        s->tableUtf8 = table.toUtf8();
        s->key = key;
        sources_.push_back(std::move(s));
        source = int(sources_.size()) - 1;
    }
    Source& s = *sources_[size_t(source)];
    int index = -1;
    for (int i = 0; i < s.columns.size(); ++i)
        if (s.columns[i].compare(result, Qt::CaseInsensitive) == 0)
            index = i;
    if (index < 0) {
        // Entries read so far lack the new column.
        s.columns.append(result);
        index = int(s.columns.size()) - 1;
        reset(s);
        s.byKey.reset();
        s.byRowid.reset();
    }
    return {source, index};
}

void LookupCache::catchUp(int source)
{
    if (source < 0 || size_t(source) >= sources_.size())
        return;
    conn_.noticeExternalChanges();
    settle(*sources_[size_t(source)]);
}

const LookupCache::Entry* LookupCache::findRow(int source, std::string_view keyText)
{
    if (source < 0 || size_t(source) >= sources_.size())
        return nullptr;
    catchUp(source);
    return findCaughtUp(source, keyText);
}

const LookupCache::Entry* LookupCache::findCaughtUp(int source, std::string_view keyText)
{
    if (source < 0 || size_t(source) >= sources_.size())
        return nullptr;
    const quint64 hash = keyHash(keyText);
    Source& s = *sources_[size_t(source)];
    const Entry* e = s.entries.find(keyText, hash);
    if (!e && !s.complete)
        e = worthReadingWhole(s) ? (readWhole(s), nullptr) : readKey(s, keyText);
    if (!e && s.complete)
        e = s.entries.find(keyText, hash);
    return e && e->rowid != 0 ? e : nullptr;
}

const QVariant* LookupCache::find(Column c, std::string_view keyText)
{
    const Entry* e = findRow(c.source, keyText);
    return e ? &e->values[c.index] : nullptr;
}

void LookupCache::rowChanged(const char* table, qint64 rowid)
{
    ++writes_;
    for (auto& sp : sources_) {
        Source& s = *sp;
        if (s.stale || qstricmp(s.tableUtf8.constData(), table) != 0)
            continue;
        if (s.dirty.size() >= kMostDirtyRows) {
            s.stale = true;
            s.dirty.clear();
        } else {
            s.dirty.push_back(rowid);
        }
    }
}

void LookupCache::forgetTable(const QString& table)
{
    for (auto& s : sources_)
        if (s->table.compare(table, Qt::CaseInsensitive) == 0)
            reset(*s);
}

void LookupCache::forgetAll()
{
    for (auto& s : sources_) {
        reset(*s);
        // Statements belong to the file they were prepared on.
        s->byKey.reset();
        s->byRowid.reset();
    }
}

void LookupCache::reset(Source& s)
{
    ++generation_;
    s.entries.clear();
    s.keyOfRowid.clear();
    s.complete = false;
    s.dirty.clear();
    s.stale = false;
    s.sizeEstimate = -1;
    s.keysRead = 0;
}

void LookupCache::settle(Source& s)
{
    if (s.stale) {
        reset(s);
        return;
    }
    if (s.dirty.empty())
        return;
    std::vector<qint64> rows;
    rows.swap(s.dirty);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (qint64 rowid : rows)
        correctRow(s, rowid);
}

QString LookupCache::selectList(const Source& s) const
{
    return QStringLiteral("rowid, %1, %2").arg(s.key, s.columns.join(QStringLiteral(", ")));
}

LookupCache::Values LookupCache::resultValues(const Source& s, Statement& st, int first) const
{
    Values values;
    values.reserve(s.columns.size());
    for (int i = 0; i < s.columns.size(); ++i)
        values.push_back(st.value(first + i));
    return values;
}

LookupCache::Entry LookupCache::entryOf(qint64 rowid, Values values)
{
    Entry e;
    e.rowid = rowid;
    e.values = std::move(values);
    for (qsizetype i = 0; i < e.values.size() && i < 64; ++i)
        if (e.values[i].typeId() == QMetaType::QString)
            e.textValues |= quint64(1) << i;
    return e;
}

bool LookupCache::worthReadingWhole(Source& s)
{
    if (s.sizeEstimate < 0)
        s.sizeEstimate = conn_.scalar(QStringLiteral("select max(rowid) from %1").arg(s.table)).toLongLong();
    // Reading by key costs some eight rows of a whole read, and the keys
    // read so far are fewer to search than a whole table: past an eighth of
    // the table the whole read is the cheaper way.
    return s.sizeEstimate <= kSmallTable || s.keysRead >= std::max<qint64>(kSmallTable, s.sizeEstimate / 8);
}

void LookupCache::readWhole(Source& s)
{
    reset(s);
    Statement st(conn_, QStringLiteral("select %1 from %2 order by rowid").arg(selectList(s), s.table));
    while (st.step()) {
        std::string key = keyTextOf(st.value(1));
        if (s.entries.find(key))
            continue;
        const qint64 rowid = st.value(0).toLongLong();
        s.entries.insert(key, entryOf(rowid, resultValues(s, st, 2)));
        s.keyOfRowid.emplace(rowid, std::move(key));
    }
    s.complete = true;
}

const LookupCache::Entry* LookupCache::readKey(Source& s, std::string_view keyText)
{
    if (!s.byKey)
        s.byKey = std::make_unique<Statement>(
            conn_, QStringLiteral("select %1 from %2 where %3 = ? order by rowid").arg(selectList(s), s.table, s.key));
    Statement& st = *s.byKey;
    st.reset();
    st.bind(1, textFromUtf8(keyText.data(), qsizetype(keyText.size())));
    ++s.keysRead;
    Entry found;
    // The key column may compare without case; the lookup is exact.
    while (st.step()) {
        if (keyTextOf(st.value(1)) == keyText) {
            found = entryOf(st.value(0).toLongLong(), resultValues(s, st, 2));
            break;
        }
    }
    st.reset();
    if (found.rowid != 0)
        s.keyOfRowid.emplace(found.rowid, std::string(keyText));
    return &s.entries.insert(keyText, std::move(found));
}

void LookupCache::forgetRowid(Source& s, qint64 rowid)
{
    const auto it = s.keyOfRowid.find(rowid);
    if (it == s.keyOfRowid.end())
        return;
    s.entries.erase(it->second);
    s.keyOfRowid.erase(it);
    ++generation_;
    // Another row may hold that key: it is no longer known to be absent.
    s.complete = false;
}

void LookupCache::correctRow(Source& s, qint64 rowid)
{
    ++generation_; // what a key found, or did not find, may change
    if (!s.byRowid)
        s.byRowid = std::make_unique<Statement>(
            conn_, QStringLiteral("select %1 from %2 where rowid = ?").arg(selectList(s), s.table));
    Statement& st = *s.byRowid;
    st.reset();
    st.bind(1, rowid);
    if (!st.step()) {
        st.reset();
        forgetRowid(s, rowid);
        return;
    }
    std::string key = keyTextOf(st.value(1));
    Values values = resultValues(s, st, 2);
    st.reset();
    if (const auto old = s.keyOfRowid.find(rowid); old != s.keyOfRowid.end() && old->second != key)
        forgetRowid(s, rowid);
    Entry* e = s.entries.find(key);
    if (!e) {
        // Unknown keys stay unknown: an earlier row may hold the key too.
        if (!s.complete)
            return;
        s.entries.insert(key, entryOf(rowid, std::move(values)));
        s.keyOfRowid.emplace(rowid, std::move(key));
        return;
    }
    if (e->rowid != 0 && e->rowid < rowid)
        return; // an earlier row keeps the key
    if (e->rowid != 0 && e->rowid != rowid)
        s.keyOfRowid.erase(e->rowid);
    *e = entryOf(rowid, std::move(values));
    s.keyOfRowid[rowid] = std::move(key);
}

} // namespace db
