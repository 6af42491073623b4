#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class QComboBox;
class QWidget;
namespace db {
class Dataset;
}
namespace ui {
class DbComboBox;
class DbGrid;
}

// Program-wide state: filled at login and start-up, read by every form.
// Texts start empty and numbers 0; nothing here is saved between runs.

// Rights strings: character k (from 1) grants function position k when "1".
extern QString PowUse, PowAdd, PowEdit, PowDele, PowChek, PowFind, PowPrin;
extern QString CurrentUser;

// Display titles of the five goods attributes, from the shop settings.
extern QString GoodsCodeCaption, GoodsNameCaption, GoodsSpecCaption, GoodsTypeCaption, GoodsKindCaption;

// Print settings of the sales documents.
extern QString BillCompanyName, BillFooter, PageType;
extern int PageWidth, PageLength, LinesPerPage;

extern int SaleCommissionRate;

// Message catalogue: row 0 the numbers, row 1 the texts, MsgCatalogCount entries.
extern std::array<QStringList, 2> MsgCatalog;
extern int MsgCatalogCount;

// bill_type of the stock document form now open ("in", "retu", "out").
extern QString CurBillType;

// True when character `position` (from 1) of the rights string is "1"; a
// string shorter than that refuses.
bool HasRight(const QString& rights, int position);

// Loads the print settings saved in "system.ini" (sections "pagesize" and
// "billdata"); missing keys leave empty texts and zeros.
void LoadPrintSettings();

// The distinct non-blank values of table.column, as stored, into the combo's
// list (cleared first, its text too). Errors reach the caller.
void FillComboDistinct(const QString& table, const QString& column, QComboBox* combo);
// The same values added to the list where no entry equals them; the list and
// the combo's text otherwise stay.
void MergeComboDistinct(const QString& table, const QString& column, QComboBox* combo);
// The same two for the columns of tables that grow with the salon (goods,
// companies): the values are read when the list is first used
// (ui::DbComboBox::fillOnFirstUse), so that opening a form neither reads nor
// measures thousands of them. FillComboDistinctOnUse clears the list and the
// text at once. Values that cannot be read then leave the list as it is.
void FillComboDistinctOnUse(const QString& table, const QString& column, ui::DbComboBox* combo);
void MergeComboDistinctOnUse(const QString& table, const QString& column, ui::DbComboBox* combo);

// The local date and time as "yyyyMMddhhmmss".
QString NewBillNo();
// Replaces the clock NewBillNo reads; an empty function restores the real one.
void SetBillClockForTesting(std::function<QDateTime()> clock);

// The calendar month of anyDay: from its first day (a date binds as that
// day at 00:00:00) up to, not including, the first day of the next month. A
// filter "column>=:first and column<:next" finds the month's stored
// date-times through the column's index.
struct MonthRange {
    QDate first;
    QDate next;
};
MonthRange MonthOf(const QDate& anyDay);

// resultColumn of the first row of table whose keyColumn equals keyValue
// trimmed, as the database compares (codes without regard to case); "" (or
// 0) when there is none or anything fails.
QString LookupField(const QString& table, const QString& keyColumn, const QString& keyValue,
                    const QString& resultColumn);
double LookupFloat(const QString& table, const QString& keyColumn, const QString& keyValue,
                   const QString& resultColumn);
int LookupInt(const QString& table, const QString& keyColumn, const QString& keyValue,
              const QString& resultColumn);

// Moves q to the first row whose field holds code, compared without regard
// to letter case, as the database compares codes; false, and q stays where
// it was, when no row does or q is not open.
bool LocateCode(db::Dataset& q, const QString& field, const QString& code);

// The amount in Chinese capital numerals, every place written; "" from
// 100,000,000.00 on.
QString MoneyToChinese(double amount);

// Combo boxes keep their automatic completion on this platform.
void FixComboAutoComplete(QWidget* form);

// The catalogue text of a message number, trimmed; "0000" when it has none.
QString GetMsgText(const QString& number);

// Titles the grid columns named by the digits of order (from 0) with the five
// goods captions; an order shorter than five digits means "01234". A grid
// showing every field of its dataset keeps those columns from then on, so
// call it after the dataset is open.
void SetGoodsColumnTitles(ui::DbGrid* grid, const QString& order);

// The card level bands of table cardtype, read in table order as levels 1 to 5.
// CardNoteByTotal sets note to the name of the level the total reaches and
// leaves it as it came when the total reaches none; CardLevelByTotal returns
// that level, 0 when none.
void CardNoteByTotal(QString& note, double total);
int CardLevelByTotal(double total);
// The level number of the level named note (compared trimmed, without regard
// to case): its list_no, or, for a level stored without one, its place in
// level order; 0 when no level has that name or the name is blank.
int CardLevelByNote(const QString& note);

// Clears the whole program-wide state (a new run, or a test).
void ResetProgramState();
