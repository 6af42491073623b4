#include "analysis/CommissionEngine.h"

#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/db/Error.h"

#include <QDateTime>
#include <QHash>
#include <QStringList>
#include <array>
#include <vector>

CommissionPeriod CommissionPeriod::monthOf(const QDate& anyDay)
{
    const QDate first(anyDay.year(), anyDay.month(), 1);
    return CommissionPeriod(true, first, first.addMonths(1).addDays(-1));
}

CommissionPeriod CommissionPeriod::days(const QDate& first, const QDate& last)
{
    return CommissionPeriod(false, first, last);
}

namespace {

// One service item as the pricing of lines sees it; an empty price or percent reads as 0.
struct ItemRate {
    QString code;
    double price = 0;
    qlonglong stylist = 0;
    qlonglong middle = 0;
    qlonglong assistant = 0;
};

// A role's pass over the service bills.
struct ServicePass {
    const char* selectLine;
    const char* conditionLine;
    const char* codeParam;
    const char* rangeLine;
    qlonglong ItemRate::*percent;
    const char* markStatement;
    int role; // 0 stylist, 1 middle worker, 2 assistant, as PeriodBills keeps them
};

const ServicePass kStylistPass{
    " select  bill_no,bill_date,serve_code,should_gath,stylist_code from insifee ",
    "where stylist_code=:stylist_code and gath_type='servefee'  ",
    "stylist_code",
    " and  bill_date between :date1 and :date2  ",
    &ItemRate::stylist,
    "update listtemp set do_with='ed' ",
    0,
};
const ServicePass kMiddlePass{
    " select  bill_no,bill_date,serve_code,should_gath,middle_code from insifee ",
    "where middle_code=:middle_code  and gath_type='servefee'  ",
    "middle_code",
    "and  bill_date between :date1 and :date2  ",
    &ItemRate::middle,
    "update listtemp set do_with='ed' ",
    1,
};
const ServicePass kAssistantPass{
    " select  bill_no,bill_date,serve_code,should_gath,assis_code from insifee ",
    "where assis_code=:assis_code  and gath_type='servefee' ",
    "assis_code",
    "and   bill_date between :date1 and :date2  ",
    &ItemRate::assistant,
    // The last service pass gives every service line its kind.
    "update listtemp set do_with='ed',bill_note='服务项目' ",
    2,
};

const char* const kInsertLine = "insert into listtemp (bill_no,bill_date,serve_code,shou_tota,empl_code) ";
const char* const kInsertPricedLine = "insert into listtemp (bill_no,bill_date,serve_code,shou_tota,rate_value,empl_code) "
                                      "values (:bill_no,:bill_date,:serve_code,:shou_tota,:rate_value,:empl_code)";
const char* const kOrderLine = " order by bill_date  ";
// The month as a range of the bill date itself, so that the date's index
// finds the month's bills rather than every bill being read to compare its
// year and month.
const char* const kMonthFirstLine = "and bill_date>=:first ";
const char* const kMonthNextLine = "and bill_date<:next ";

QStringList sqlLines(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* t : texts)
        out << QString::fromUtf8(t);
    return out;
}

// Steps a statement that returns no rows and leaves it ready for the next use.
void runToEnd(db::Statement& st)
{
    while (st.step()) {
    }
    st.reset();
}

// One service bill as a line is made of it: the values as stored.
struct ServiceBill {
    QVariant billNo, billDate, serveCode, due, employee;
};

// The key under which the ledger's code columns (COLLATE NOCASE) find a code
// equal: the letters A to Z fold to lower case, every other byte compares as
// it is. A value that is not text equals no code.
QByteArray noCaseKey(const QVariant& code)
{
    if (code.typeId() != QMetaType::QString)
        return {};
    return db::foldedAsDatabase(code.toString()).toUtf8();
}

// Every service bill of a period, read at once and found again by role and
// employee code. The bills of one role and code come in the order the passes'
// selects give them: by bill date, then as they were written.
class PeriodBills {
public:
    void read(db::Statement& st)
    {
        // st: bill_no, bill_date, serve_code, should_gath, then the three role codes.
        while (st.step()) {
            const QVariant values[] = {st.value(0), st.value(1), st.value(2), st.value(3)};
            for (int role = 0; role < 3; ++role) {
                const QVariant code = st.value(4 + role);
                const QByteArray key = noCaseKey(code);
                if (key.isNull())
                    continue;
                byRole_[size_t(role)][key].push_back(int(bills_.size()));
                bills_.push_back({values[0], values[1], values[2], values[3], code});
            }
        }
        st.reset();
    }

    template <typename Each>
    void forEach(int role, const QString& code, Each each) const
    {
        const auto found = byRole_[size_t(role)].constFind(noCaseKey(code));
        if (found == byRole_[size_t(role)].cend())
            return;
        for (int i : *found)
            each(bills_[size_t(i)]);
    }

private:
    std::vector<ServiceBill> bills_;
    std::array<QHash<QByteArray, std::vector<int>>, 3> byRole_;
};

} // namespace

class CommissionEngine::Run {
public:
    Run(const CommissionPeriod& period, CommissionKinds kinds, BillReading reading)
        : conn_(FrmDataMod->AdoConn), period_(period), month_(MonthOf(period.first())), kinds_(kinds),
          reading_(reading)
    {
    }

    void run(const QString& code)
    {
        runToEnd(prepared(deleteLines_, {"delete * from listtemp "}));
        if (kinds_ != CommissionKinds::SalesOnly) {
            loadRatesOnce();
            if (reading_ == BillReading::OncePerPeriod)
                readPeriodBillsOnce();
            servicePass(kStylistPass, stylist_, code);
            servicePass(kMiddlePass, middle_, code);
            servicePass(kAssistantPass, assistant_, code);
        }
        if (kinds_ != CommissionKinds::ServicesOnly)
            salesPass(code);
        runToEnd(prepared(commission_, {"update listtemp set fact_tota=shou_tota*rate_value/100 "}));
    }

    double commission()
    {
        db::Statement& st = prepared(sumLines_, {"select fact_tota from listtemp"});
        double sum = 0;
        while (st.step())
            sum += db::asFloat(st.value(0));
        st.reset();
        return sum;
    }

private:
    // The statements of one pass, prepared at its first use.
    struct PassStatements {
        std::unique_ptr<db::Statement> select, insert, mark;
    };

    db::Statement& prepared(std::unique_ptr<db::Statement>& slot, const QStringList& sql)
    {
        if (!slot)
            slot = std::make_unique<db::Statement>(conn_, sql.join(QLatin1Char('\n')));
        return *slot;
    }
    db::Statement& prepared(std::unique_ptr<db::Statement>& slot, std::initializer_list<const char*> sql)
    {
        return prepared(slot, sqlLines(sql));
    }

    // Month runs take the month from its first day up to the next month's
    // first day. Range runs take the last day up to its final second, so
    // that a date stamped with a time of day still counts on its day.
    QStringList periodLines(const char* rangeLine) const
    {
        if (period_.isMonth())
            return sqlLines({kMonthFirstLine, kMonthNextLine});
        return sqlLines({rangeLine});
    }

    void bindPeriod(db::Statement& st) const
    {
        if (period_.isMonth()) {
            st.bind(QStringLiteral("first"), month_.first);
            st.bind(QStringLiteral("next"), month_.next);
        } else {
            st.bind(QStringLiteral("date1"), QDateTime(period_.first(), QTime(0, 0)));
            st.bind(QStringLiteral("date2"), QDateTime(period_.last(), QTime(23, 59, 59)));
        }
    }

    void loadRatesOnce()
    {
        if (ratesLoaded_)
            return;
        db::Statement st(conn_, QStringLiteral("select * from serveitem"));
        const auto column = [&](const char* name) {
            for (int i = 0; i < st.columnCount(); ++i)
                if (st.columnName(i).compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                    return i;
            throw db::Error(db::Error::Kind::Usage, QStringLiteral("serveitem: 找不到字段 %1").arg(QLatin1String(name)));
        };
        const int code = column("serve_code"), price = column("unit_pric"), stylist = column("stylist_rate"),
                  middle = column("middle_rate"), assistant = column("assis_rate");
        while (st.step())
            rates_.push_back({db::asString(st.value(code)), db::asFloat(st.value(price)), db::asInt(st.value(stylist)),
                              db::asInt(st.value(middle)), db::asInt(st.value(assistant))});
        // The first item in table order with a code (blanks around ignored,
        // letter case counting) and a price above 0 prices that code.
        for (const ItemRate& r : rates_)
            if (r.price > 0 && !pricedByCode_.contains(r.code.trimmed()))
                pricedByCode_.insert(r.code.trimmed(), &r);
        ratesLoaded_ = true;
    }

    const ItemRate* pricedItem(const QString& serveCode) const
    {
        return pricedByCode_.value(serveCode.trimmed(), nullptr);
    }

    // Every service bill of the period with the codes of all three roles,
    // ordered as the passes' selects order a role's bills.
    void readPeriodBillsOnce()
    {
        if (periodBills_)
            return;
        db::Statement st(conn_, (sqlLines({" select  bill_no,bill_date,serve_code,should_gath,stylist_code,middle_code,"
                                           "assis_code from insifee ",
                                           "where gath_type='servefee' "})
                                 + periodLines(kStylistPass.rangeLine) + sqlLines({" order by bill_date,in_id "}))
                                    .join(QLatin1Char('\n')));
        bindPeriod(st);
        periodBills_ = std::make_unique<PeriodBills>();
        periodBills_->read(st);
    }

    // The employee's bills of the pass's role become lines, by bill date. A
    // line of a priced item is written with the item's list price and the
    // role's percent; any other keeps the amount due and has no percent.
    void servicePass(const ServicePass& pass, PassStatements& statements, const QString& code)
    {
        db::Statement& line = prepared(insertLine_, {kInsertPricedLine});
        const auto write = [&](const ServiceBill& bill) {
            const ItemRate* item = pricedItem(db::asString(bill.serveCode));
            // By position, in the order of kInsertPricedLine's parameters.
            line.bind(1, bill.billNo);
            line.bind(2, bill.billDate);
            line.bind(3, bill.serveCode);
            line.bind(4, item ? QVariant(item->price) : bill.due);
            line.bind(5, item ? QVariant(item->*pass.percent) : QVariant());
            line.bind(6, bill.employee);
            runToEnd(line);
        };
        if (periodBills_) {
            periodBills_->forEach(pass.role, code, write);
        } else {
            db::Statement& bills = prepared(statements.select, sqlLines({pass.selectLine, pass.conditionLine})
                                                                   + periodLines(pass.rangeLine)
                                                                   + sqlLines({kOrderLine}));
            bills.bind(QString::fromLatin1(pass.codeParam), code);
            bindPeriod(bills);
            while (bills.step())
                write({bills.value(0), bills.value(1), bills.value(2), bills.value(3), bills.value(4)});
            bills.reset();
        }
        runToEnd(prepared(statements.mark, {pass.markStatement}));
    }

    void salesPass(const QString& code)
    {
        const QStringList select = sqlLines({" select  bill_no,bill_date,comp_code,shou_tota,rela_code from outmain "});
        const QStringList condition = period_.isMonth()
            ? sqlLines({"where rela_code=:rela_code  and bill_type='out'  "})
            : sqlLines({"where rela_code=:rela_code  and bill_type='out' and "});
        db::Statement& st = prepared(sales_.insert, sqlLines({kInsertLine}) + select + condition
                                                        + periodLines(" bill_date between :date1 and :date2  ")
                                                        + sqlLines({kOrderLine}));
        st.bind(QStringLiteral("rela_code"), code);
        bindPeriod(st);
        runToEnd(st);
        db::Statement& note = prepared(
            sales_.mark, {"update listtemp set bill_note='销售' ,rate_value=:rate_value where do_with is null "});
        note.bind(QStringLiteral("rate_value"), qlonglong(SaleCommissionRate));
        runToEnd(note);
    }

    db::Connection& conn_;
    CommissionPeriod period_;
    MonthRange month_;
    CommissionKinds kinds_;
    BillReading reading_;
    bool ratesLoaded_ = false;
    std::vector<ItemRate> rates_;
    QHash<QString, const ItemRate*> pricedByCode_;
    std::unique_ptr<PeriodBills> periodBills_;
    std::unique_ptr<db::Statement> deleteLines_, insertLine_, commission_, sumLines_;
    PassStatements stylist_, middle_, assistant_, sales_;
};

CommissionEngine::CommissionEngine(const CommissionPeriod& period, CommissionKinds kinds, BillReading reading)
    : run_(std::make_unique<Run>(period, kinds, reading))
{
}

CommissionEngine::~CommissionEngine() = default;

bool CommissionEngine::run(const QString& emplCode)
{
    if (emplCode.trimmed().isEmpty())
        return false;
    run_->run(emplCode);
    return true;
}

double CommissionEngine::commission()
{
    return run_->commission();
}

namespace {

// Shows the lines as the database holds them after a failed run.
void reopenLinesQuietly()
{
    try {
        ReopenCommissionLines();
    } catch (const std::exception&) {
        // the first error is the one worth reporting
    }
}

} // namespace

bool RunCommission(const QString& emplCode, const CommissionPeriod& period, CommissionKinds kinds)
{
    if (emplCode.trimmed().isEmpty())
        return false;
    try {
        db::Transaction t(FrmDataMod->AdoConn);
        CommissionEngine(period, kinds).run(emplCode);
        ReopenCommissionLines();
        t.commit();
    } catch (...) {
        reopenLinesQuietly();
        throw;
    }
    return true;
}

void ReopenCommissionLines()
{
    db::Dataset& q = FrmDataMod->ListTempQ;
    q.close();
    q.setSql(QStringLiteral("select * from listtemp "));
    q.open();
}

double SumCommission()
{
    const db::Dataset& q = FrmDataMod->ListTempQ;
    if (!q.isActive())
        return 0;
    const int commission = q.fieldIndex(QStringLiteral("fact_tota"));
    double sum = 0;
    for (int row = 0; row < q.recordCount(); ++row)
        sum += db::asFloat(q.value(row, commission));
    return sum;
}
