// Rows read when first needed. A select over one table that returns more
// than a window of rows reads, at open, its first window and the keys
// (rowids) of all its rows; the cells of the others are read when first
// asked for, a window at a time, each window in a read of its own so that
// no statement stays open between reads (an open statement holds the
// shared lock that another workstation's commit waits for). A walk on from
// the rows read last reads all the rest in one statement. A row gone from
// the select meanwhile is read as empty, never as another row.
#include "platform/db/Dataset.h"

#include "platform/db/DatasetSupport.h"
#include "platform/db/Dialect.h"

#include <algorithm>
#include <bit>

namespace db {

using detail::kRowidColumn;

namespace {

// Keys wanted, each with its place in the rows.
using Wanted = std::vector<std::pair<qlonglong, int>>;

// Where the row of each key wanted is: by direct address when the keys lie
// close together, as rowids mostly do, else by search.
class KeyPlaces {
public:
    explicit KeyPlaces(Wanted wanted) : count_(wanted.size())
    {
        const auto [low, high] = std::minmax_element(wanted.begin(), wanted.end());
        low_ = low->first;
        high_ = high->first;
        if (span() <= 4 * count_) {
            direct_.assign(size_t(span()), -1);
            for (const auto& [rowid, pos] : wanted)
                direct_[size_t(rowid - low_)] = pos;
        } else {
            sorted_ = std::move(wanted);
            std::sort(sorted_.begin(), sorted_.end());
        }
    }

    qlonglong low() const { return low_; }
    qlonglong high() const { return high_; }
    // Whether the keys fill at least 1/factor of their range.
    bool dense(quint64 factor) const { return span() <= factor * count_; }

    int placeOf(qlonglong rowid) const
    {
        if (rowid < low_ || rowid > high_)
            return -1;
        if (!direct_.empty())
            return direct_[size_t(rowid - low_)];
        const auto it = std::lower_bound(sorted_.begin(), sorted_.end(), std::make_pair(rowid, 0));
        return it != sorted_.end() && it->first == rowid ? it->second : -1;
    }

private:
    quint64 span() const { return quint64(high_ - low_) + 1; }

    quint64 count_;
    qlonglong low_ = 0, high_ = 0;
    std::vector<int> direct_;
    Wanted sorted_;
};

// Keys read through an index come in its order. Rowids are mostly close
// together, so they are put back in order by marking each off in a bitmap.
void sortKeys(std::vector<qlonglong>& keys)
{
    if (std::is_sorted(keys.begin(), keys.end()))
        return;
    const auto [low, high] = std::minmax_element(keys.begin(), keys.end());
    const qlonglong first = *low;
    const quint64 span = quint64(*high - first) + 1;
    if (span / 8 > keys.size()) {
        std::sort(keys.begin(), keys.end());
        return;
    }
    std::vector<quint64> marks(size_t(span / 64 + 1), 0);
    for (qlonglong k : keys)
        marks[size_t(quint64(k - first) / 64)] |= quint64(1) << (quint64(k - first) % 64);
    size_t n = 0;
    for (size_t word = 0; word < marks.size(); ++word)
        for (quint64 bits = marks[word]; bits != 0; bits &= bits - 1)
            keys[n++] = first + qlonglong(word * 64 + size_t(std::countr_zero(bits)));
}

} // namespace

// The keys come in the select's own order when the plans of both read the
// table, or the same index, in one pass; what was read before them must be
// their start.
bool Dataset::readKeysOfTheRest()
{
    try {
        if (windowPlanFor_ != rowidSql_) {
            windowPlanFor_ = rowidSql_;
            planWindows();
        }
        if (keyOrder_ == KeyOrder::None)
            return false;
        std::vector<qlonglong> keys;
        {
            Statement st(conn_, shape_.keySql());
            st.bindAll(openParams_);
            while (st.step())
                keys.push_back(st.columnInt(0));
        }
        if (keyOrder_ == KeyOrder::Sorted)
            sortKeys(keys); // a rowid is never there twice
        const size_t read = rows_.size();
        if (keys.size() <= read)
            return false;
        for (size_t i = 0; i < read; ++i)
            if (keys[i] != rows_[i].rowid)
                return false;
        rows_.reserve(keys.size());
        for (size_t i = read; i < keys.size(); ++i) {
            Row row;
            row.id = nextId_++;
            row.rowid = keys[i];
            rows_.push_back(row);
        }
        unread_ = int(keys.size() - read);
        return true;
    } catch (const Error&) {
        return false; // the keys cannot be read apart: the select is read whole
    }
}

void Dataset::planWindows()
{
    keyOrder_ = KeyOrder::None;
    shape_ = QueryShape::of(translateSql(sqlText()));
    if (!shape_.valid())
        return;
    const ScanOrder rows = ScanOrder::of(conn_, rowidSql_);
    if (rows.kind == ScanOrder::Kind::Table) {
        keyOrder_ = KeyOrder::Sorted; // an index may give the keys faster, in its own order
        return;
    }
    const ScanOrder keys = ScanOrder::of(conn_, shape_.keySql());
    if (rows.kind == ScanOrder::Kind::Index && keys.kind == ScanOrder::Kind::Index
        && rows.index.compare(keys.index, Qt::CaseInsensitive) == 0)
        keyOrder_ = KeyOrder::AsRead;
}

const Dataset::Row& Dataset::readRowAt(int visibleRow) const
{
    if (rowAtVisible(visibleRow).slot < 0)
        const_cast<Dataset*>(this)->readAround(rowPos(visibleRow));
    return rowAtVisible(visibleRow);
}

void Dataset::readAround(int pos)
{
    // Going on from the rows read last is a walk over the list.
    if (pos == readUpTo_) {
        readRest();
        return;
    }
    const int from = std::max(0, pos - kWindowRows / 4);
    readWindow(from, std::min(int(rows_.size()), from + kWindowRows));
}

void Dataset::readWindow(int from, int to)
{
    Wanted wanted;
    std::vector<int> positions;
    for (int pos = from; pos < to; ++pos) {
        if (rows_[size_t(pos)].slot < 0) {
            wanted.emplace_back(rows_[size_t(pos)].rowid, pos);
            positions.push_back(pos);
        }
    }
    if (wanted.empty())
        return;
    const KeyPlaces places(wanted);
    {
        // Keys close together are read in one pass over their range, others
        // one by one, at one moment.
        if (places.dense(4)) {
            Statement st(conn_, shape_.rangeSql(kRowidColumn));
            st.bindAll(openParams_);
            st.bind(QStringLiteral("__lo"), places.low());
            st.bind(QStringLiteral("__hi"), places.high());
            while (st.step())
                readInto(st, places.placeOf(st.columnInt(rowidColumn_)));
        } else {
            const ReadSnapshot moment(conn_);
            Statement st(conn_, shape_.pointSql(kRowidColumn));
            st.bindAll(openParams_);
            for (const auto& [rowid, pos] : wanted) {
                st.bind(QStringLiteral("__lo"), rowid);
                if (st.step())
                    readInto(st, places.placeOf(st.columnInt(rowidColumn_)));
                st.reset();
            }
        }
    }
    readUpTo_ = to;
    settleRead(positions);
}

void Dataset::readRest()
{
    Wanted wanted;
    std::vector<int> positions;
    for (size_t pos = 0; pos < rows_.size(); ++pos) {
        if (rows_[pos].slot < 0) {
            wanted.emplace_back(rows_[pos].rowid, int(pos));
            positions.push_back(int(pos));
        }
    }
    if (wanted.empty())
        return;
    const KeyPlaces places(std::move(wanted));
    {
        // Keys close together are read in one pass over their range of the
        // table, with no index to go through again; others by the select.
        const bool byRange = places.dense(2);
        Statement st(conn_, byRange ? shape_.rangeSql(kRowidColumn) : rowidSql_);
        st.bindAll(openParams_);
        if (byRange) {
            st.bind(QStringLiteral("__lo"), places.low());
            st.bind(QStringLiteral("__hi"), places.high());
        }
        while (st.step())
            readInto(st, places.placeOf(st.columnInt(rowidColumn_)));
    }
    readUpTo_ = int(rows_.size());
    settleRead(positions);
}

// The statement's row into the row at pos when that is not read yet; pos
// is -1 for a row added elsewhere since the keys were read.
void Dataset::readInto(Statement& st, int pos)
{
    if (pos >= 0 && rows_[size_t(pos)].slot < 0)
        readCells(st, rows_[size_t(pos)]);
}

// A row wanted but not read is gone from the select: it is read as empty.
// Then the rows read get their calculated fields.
void Dataset::settleRead(const std::vector<int>& positions)
{
    for (int pos : positions) {
        Row& row = rows_[size_t(pos)];
        if (row.slot < 0)
            row.slot = store_.allocate();
    }
    unread_ -= int(positions.size());
    if (calcFields_.items.empty())
        return;
    const bool allShown = visible_.size() == rows_.size();
    for (int pos : positions) {
        const auto shown = allShown ? visible_.begin() + pos : std::lower_bound(visible_.begin(), visible_.end(), pos);
        if (shown != visible_.end() && *shown == pos)
            calcRow(int(shown - visible_.begin()));
    }
}

// The rowids of the rows not read yet that a locate may find, by SQL on
// their table: more than it finds, as every row is checked once read. None
// when no field narrows them down.
std::optional<std::vector<qlonglong>> Dataset::locateCandidates(const std::vector<int>& fields,
                                                                const QVariantList& values, bool partialKey)
{
    QStringList conditions;
    QVariantList bound;
    for (size_t k = 0; k < fields.size(); ++k) {
        const size_t i = size_t(fields[k]);
        const QString& column = baseColumn_[i];
        if (fields_[i].type != FieldType::Text || column.isEmpty())
            continue;
        const QVariant& want = values[qsizetype(k)];
        if (!want.isValid() || want.isNull()) {
            conditions << column + QStringLiteral(" is null");
            continue;
        }
        const QString text = db::asString(want);
        if (!partialKey) {
            conditions << column + QStringLiteral(" = ? collate nocase");
            bound << text;
        } else if (!text.isEmpty()) {
            conditions << QStringLiteral("substr(%1, 1, ?) = ? collate nocase").arg(column);
            bound << qlonglong(characterCount(text)) << text;
        }
    }
    if (conditions.isEmpty())
        return std::nullopt;
    Statement st(conn_, QStringLiteral("select rowid from %1 where %2")
                            .arg(baseTable_, conditions.join(QStringLiteral(" and "))));
    for (int i = 0; i < bound.size(); ++i)
        st.bind(i + 1, bound[i]);
    std::vector<qlonglong> rowids;
    while (st.step())
        rowids.push_back(st.columnInt(0));
    std::sort(rowids.begin(), rowids.end());
    return rowids;
}

} // namespace db
