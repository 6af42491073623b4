#include "platform/db/RowStore.h"

#include <cstring>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace db {

namespace {

// A list is read into fresh memory each time it is opened. Left to itself the
// allocator hands memory this size back to the system when a list closes, and
// every reopen pays for it again, page by page; keeping up to 64 MB of freed
// memory in the program makes reopening a list cost only the reading.
void keepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    static const bool done = [] {
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
        mallopt(M_TRIM_THRESHOLD, 64 << 20);
        return true;
    }();
    Q_UNUSED(done);
#endif
}

constexpr qint64 kMsecsPerDay = 86400000;

int digits(std::string_view t, size_t from, size_t count)
{
    int n = 0;
    for (size_t i = from; i < from + count; ++i) {
        if (t[i] < '0' || t[i] > '9')
            return -1;
        n = n * 10 + (t[i] - '0');
    }
    return n;
}

} // namespace

qint64 packDateTime(const QDate& d, const QTime& t)
{
    return d.toJulianDay() * kMsecsPerDay + t.msecsSinceStartOfDay();
}

QDate packedDate(qint64 packed)
{
    return QDate::fromJulianDay(packed / kMsecsPerDay);
}

QTime packedTime(qint64 packed)
{
    return QTime::fromMSecsSinceStartOfDay(int(packed % kMsecsPerDay));
}

bool parseStoredDateTime(std::string_view t, qint64& packed)
{
    const size_t n = t.size();
    if (n != 10 && n != 16 && n != 19)
        return false;
    if (t[4] != '-' || t[7] != '-')
        return false;
    const int y = digits(t, 0, 4), mo = digits(t, 5, 2), d = digits(t, 8, 2);
    int h = 0, mi = 0, se = 0;
    if (n >= 16) {
        if ((t[10] != ' ' && t[10] != 'T') || t[13] != ':')
            return false;
        h = digits(t, 11, 2);
        mi = digits(t, 14, 2);
        if (n == 19) {
            if (t[16] != ':')
                return false;
            se = digits(t, 17, 2);
        }
    }
    if (y < 0 || mo < 0 || d < 0 || h < 0 || mi < 0 || se < 0)
        return false;
    const QDate date(y, mo, d);
    const QTime time(h, mi, se);
    if (!date.isValid() || !time.isValid())
        return false;
    packed = packDateTime(date, time);
    return true;
}

void RowStore::reset(int width)
{
    keepFreedMemoryForReuse();
    width_ = width;
    nextSlot_ = 0;
    blocks_.clear();
    freeSlots_.clear();
    arena_.clear();
    arenaUsed_ = kArenaBlock;
    others_.clear();
}

int RowStore::allocate()
{
    int s;
    if (!freeSlots_.empty()) {
        s = freeSlots_.back();
        freeSlots_.pop_back();
    } else {
        s = nextSlot_++;
        if (size_t(s) / kSlotsPerBlock >= blocks_.size())
            blocks_.push_back(std::make_unique_for_overwrite<Cell[]>(kSlotsPerBlock * size_t(std::max(width_, 1))));
    }
    Cell* cells = slot(s);
    std::fill(cells, cells + width_, Cell{});
    return s;
}

void RowStore::release(int s)
{
    if (s >= 0)
        freeSlots_.push_back(s);
}

void RowStore::copySlot(int from, int to)
{
    std::copy(slot(from), slot(from) + width_, slot(to));
}

Cell RowStore::textCell(std::string_view utf8)
{
    Cell c{};
    c.kind = Cell::Text;
    c.size = quint32(utf8.size());
    if (utf8.empty()) {
        c.text = "";
        return c;
    }
    if (utf8.size() > kArenaBlock / 4) {
        // A long text gets a block of its own, so blocks are not left half used.
        auto block = std::make_unique_for_overwrite<char[]>(utf8.size());
        std::memcpy(block.get(), utf8.data(), utf8.size());
        c.text = block.get();
        arena_.insert(arena_.end() - (arena_.empty() ? 0 : 1), std::move(block));
        return c;
    }
    if (arenaUsed_ + utf8.size() > kArenaBlock) {
        arena_.push_back(std::make_unique_for_overwrite<char[]>(kArenaBlock));
        arenaUsed_ = 0;
    }
    char* at = arena_.back().get() + arenaUsed_;
    std::memcpy(at, utf8.data(), utf8.size());
    arenaUsed_ += utf8.size();
    c.text = at;
    return c;
}

Cell RowStore::cellOf(const QVariant& v)
{
    Cell c{};
    if (!v.isValid() || v.isNull())
        return c;
    switch (v.typeId()) {
    case QMetaType::LongLong:
        c.kind = Cell::Int;
        c.i = v.toLongLong();
        return c;
    case QMetaType::Double:
        c.kind = Cell::Float;
        c.f = v.toDouble();
        return c;
    case QMetaType::Bool:
        c.kind = Cell::Bool;
        c.i = v.toBool() ? 1 : 0;
        return c;
    case QMetaType::QString: {
        const QByteArray utf8 = v.toString().toUtf8();
        return textCell(std::string_view(utf8.constData(), size_t(utf8.size())));
    }
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        if (dt.isValid() && dt.timeSpec() == Qt::LocalTime) {
            c.kind = Cell::DateTime;
            c.i = packDateTime(dt.date(), dt.time());
            return c;
        }
        break;
    }
    default:
        break;
    }
    c.kind = Cell::Other;
    c.size = quint32(others_.size());
    others_.push_back(v);
    return c;
}

QVariant RowStore::variantOf(const Cell& c) const
{
    switch (c.kind) {
    case Cell::Null:
        return {};
    case Cell::Int:
        return qlonglong(c.i);
    case Cell::Float:
        return c.f;
    case Cell::Bool:
        return c.i != 0;
    case Cell::Text:
        return textFromUtf8(c.text, qsizetype(c.size));
    case Cell::DateTime:
        return QDateTime(packedDate(c.i), packedTime(c.i));
    case Cell::Other:
        return others_[c.size];
    }
    return {};
}

} // namespace db
