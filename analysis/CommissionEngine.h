#pragma once

#include <QDate>
#include <QString>
#include <memory>

// The commission engine: what one employee did in one period becomes
// commission lines in the work table listtemp, one line per service bill on
// which the employee is named as stylist, middle worker or assistant, and one
// per sales document credited to the employee.
//
// A service line's base is the item's list price when a service item of that
// code has a price above 0 (its percent is the role's percent of that item),
// otherwise the bill's amount due with no percent and no commission. A sales
// line's base is the document total at SaleCommissionRate percent. The
// commission is base × percent / 100, unrounded.
//
// Lines come in the order stylist, middle worker, assistant, sales, each by
// bill date.

// The bills a run counts: those of one calendar month, or those dated from
// one day to another, both included.
class CommissionPeriod {
public:
    // The month (year and month) of anyDay.
    static CommissionPeriod monthOf(const QDate& anyDay);
    static CommissionPeriod days(const QDate& first, const QDate& last);

    bool isMonth() const { return month_; }
    int year() const { return first_.year(); }
    int month() const { return first_.month(); }
    QDate first() const { return first_; }
    QDate last() const { return last_; }

private:
    CommissionPeriod(bool month, const QDate& first, const QDate& last)
        : month_(month), first_(first), last_(last) {}

    bool month_;
    QDate first_, last_;
};

// Which bills a run turns into lines.
enum class CommissionKinds { All, ServicesOnly, SalesOnly };

// Runs for one employee after another over the same period: the service
// items' prices and percents are read once, at the first run, and the
// statements are prepared once. A run writes listtemp only (ListTempQ is left
// as it is) and belongs inside the caller's transaction.
class CommissionEngine {
public:
    // How a run finds the employee's service bills: with selects of its own,
    // or among every service bill of the period, read once at the first run
    // (for runs over many employees, each of whom would otherwise read the
    // period's part of the ledger again).
    enum class BillReading { PerRun, OncePerPeriod };

    CommissionEngine(const CommissionPeriod& period, CommissionKinds kinds,
                     BillReading reading = BillReading::PerRun);
    ~CommissionEngine();
    CommissionEngine(const CommissionEngine&) = delete;
    CommissionEngine& operator=(const CommissionEngine&) = delete;

    // Empties listtemp and fills it with the employee's lines. The code is
    // used exactly as given; a code that is blank once trimmed does nothing
    // at all and returns false.
    bool run(const QString& emplCode);
    // The sum of fact_tota over the lines listtemp holds; an empty commission counts 0.
    double commission();

private:
    class Run;
    std::unique_ptr<Run> run_;
};

// Empties listtemp, fills it with the employee's lines of the period and
// reopens ListTempQ on them, all in one transaction (nested in the caller's
// when there is one): on an error listtemp and ListTempQ are as before and the
// error reaches the caller. The code is used exactly as given; a code that is
// blank once trimmed does nothing at all and returns false.
bool RunCommission(const QString& emplCode, const CommissionPeriod& period, CommissionKinds kinds);

// Reopens ListTempQ on the lines listtemp holds.
void ReopenCommissionLines();

// The sum of fact_tota over the lines ListTempQ holds; an empty commission counts 0.
double SumCommission();
