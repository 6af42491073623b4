#pragma once

#include <QDate>
#include <QString>

// The data of a large salon after ten years of use, generated once and kept
// between runs, so that measurements before and after a change read the very
// same rows.
namespace bench {

// What a generated database holds. The ledger (insifee) spans ten whole
// years, kFirstDay to kLastDay, growing month by month; its last month holds
// peakMonthBills service bills, so the salary sheet of that month has the
// work of a busy salon whatever the size of the ledger before it.
struct SalonSize {
    int members = 100000;
    qint64 ledgerRows = 2000000;
    int employees = 50;
    int goods = 20000;
    int serviceItems = 120;
    int peakMonthBills = 28800;

    // The file name: every size, and a digest of the schema and the
    // generator, so a changed schema (an index added) makes a new file.
    QString fileName() const;
    QString describe() const; // "100k members, 2M rows"
};

inline constexpr int kYears = 10;
QDate firstDay(); // 2015-01-01
QDate lastDay();  // 2024-12-31, the end of the busiest month

// The path of the database of that size under folder, generated first when
// it is not there yet (into a temporary name, renamed when complete, so an
// interrupted generation leaves nothing that looks cached). generatedMs is
// the time generation took, -1 when the cached file was used.
QString cachedSalon(const QString& folder, const SalonSize& size, qint64& generatedMs);

// A copy of a cached database under folder/work for the actions that write,
// so the cached file stays as generated.
QString workCopy(const QString& cachedPath, const QString& folder);
// Moves the bills and documents of the last day to today: the billing and
// stock forms open on today's records and so find a full day's worth.
void moveLastDayToToday(const QString& path);

// The stored text of a day, as the program writes dates.
QString storedDay(const QDate& day);

class RawDb;
// The days, counted back from the last, whose ledger rows (those meeting
// `rowsOfKind`, an SQL condition, when given) are at least the rows asked
// for: whole days, so a few more.
struct LedgerDays {
    QDate from;
    QDate to;
    qint64 rows = 0;
};
LedgerDays daysHolding(RawDb& raw, qint64 rows, const QString& rowsOfKind = {});

// Codes the generator gives (the actions pick members and goods by them).
QString memberCode(int index); // index from 0
QString cardNumber(int index);
// Members from this index on have no card yet.
int firstMemberWithoutCard(int members);
QString serviceCode(int index);
QString employeeCode(int index);
QString goodsCode(int index);

} // namespace bench
