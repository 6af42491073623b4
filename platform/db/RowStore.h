#pragma once

#include "platform/db/Value.h"

#include <QVariant>
#include <memory>
#include <string_view>
#include <vector>

namespace db {

// One stored value in 16 bytes. Texts are UTF-8 in the store's arena; a
// date-time is its local date and time in milliseconds from the start of the
// Julian day count, so reading one needs no time-zone work. What fits none of
// these is kept as it is in the store's side table.
// Cell{} is a NULL; rows of cells are filled in bulk, so Cell is trivial.
struct Cell {
    enum Kind : quint8 { Null, Int, Float, Text, DateTime, Bool, Other };
    Kind kind;
    quint32 size; // Text: bytes; Other: index in the side table
    union {
        qint64 i;
        double f;
        const char* text;
    };

    std::string_view textView() const { return {text, size}; }
};

// Rows of cells of one width, in blocks that never move, with the texts they
// point at. Slots are handed out and taken back; nothing is freed before clear().
class RowStore {
public:
    void reset(int width);
    int width() const { return width_; }

    int allocate(); // a slot of Null cells
    void release(int slot);
    Cell* slot(int s) { return blocks_[size_t(s) / kSlotsPerBlock].get() + (size_t(s) % kSlotsPerBlock) * size_t(width_); }
    const Cell* slot(int s) const { return const_cast<RowStore*>(this)->slot(s); }
    void copySlot(int from, int to);

    // Cells of the values as the database or a form hands them over.
    Cell textCell(std::string_view utf8);
    Cell cellOf(const QVariant& v);
    QVariant variantOf(const Cell& c) const;

private:
    static constexpr size_t kSlotsPerBlock = 1024;
    static constexpr size_t kArenaBlock = 64 * 1024;

    int width_ = 0;
    int nextSlot_ = 0;
    std::vector<std::unique_ptr<Cell[]>> blocks_;
    std::vector<int> freeSlots_;
    std::vector<std::unique_ptr<char[]>> arena_;
    size_t arenaUsed_ = kArenaBlock; // of the last arena block
    std::vector<QVariant> others_;
};

// The local date-time a DateTime cell holds, and back.
qint64 packDateTime(const QDate& d, const QTime& t);
QDate packedDate(qint64 packed);
QTime packedTime(qint64 packed);
// Reads the stored form "YYYY-MM-DD[ HH:MM[:SS]]" as fromStorageText does.
bool parseStoredDateTime(std::string_view text, qint64& packed);

} // namespace db
