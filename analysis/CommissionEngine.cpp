#include "analysis/CommissionEngine.h"

#include "core/Udatamod.h"
#include "core/Upublic.h"

#include <QDateTime>
#include <QStringList>
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

// One service item as the repricing sees it; an empty price or percent reads as 0.
struct ItemRate {
    QString code;
    double price = 0;
    qlonglong stylist = 0;
    qlonglong middle = 0;
    qlonglong assistant = 0;
};

struct ServicePass {
    const char* selectLine;
    const char* conditionLine;
    const char* codeParam;
    const char* rangeLine;
    qlonglong ItemRate::*percent;
    const char* markStatement;
};

const ServicePass kStylistPass{
    " select  bill_no,bill_date,serve_code,should_gath,stylist_code from insifee ",
    "where stylist_code=:stylist_code and gath_type='servefee'  ",
    "stylist_code",
    " and  bill_date between :date1 and :date2  ",
    &ItemRate::stylist,
    "update listtemp set do_with='ed' ",
};
const ServicePass kMiddlePass{
    " select  bill_no,bill_date,serve_code,should_gath,middle_code from insifee ",
    "where middle_code=:middle_code  and gath_type='servefee'  ",
    "middle_code",
    "and  bill_date between :date1 and :date2  ",
    &ItemRate::middle,
    "update listtemp set do_with='ed' ",
};
const ServicePass kAssistantPass{
    " select  bill_no,bill_date,serve_code,should_gath,assis_code from insifee ",
    "where assis_code=:assis_code  and gath_type='servefee' ",
    "assis_code",
    "and   bill_date between :date1 and :date2  ",
    &ItemRate::assistant,
    // The last service pass gives every service line its kind.
    "update listtemp set do_with='ed',bill_note='服务项目' ",
};

const char* const kInsertLine = "insert into listtemp (bill_no,bill_date,serve_code,shou_tota,empl_code) ";
const char* const kOrderLine = " order by bill_date  ";

class CommissionRun {
public:
    CommissionRun(const QString& code, const CommissionPeriod& period)
        : code_(code), period_(period), temp_(FrmDataMod->TempQ), lines_(FrmDataMod->ListTempQ)
    {
    }

    void run(CommissionKinds kinds)
    {
        execute({"delete * from listtemp "});
        if (kinds != CommissionKinds::SalesOnly) {
            loadRates();
            servicePass(kStylistPass, false);
            servicePass(kMiddlePass, true);
            servicePass(kAssistantPass, true);
        }
        if (kinds != CommissionKinds::ServicesOnly)
            salesPass();
        execute({"update listtemp set fact_tota=shou_tota*rate_value/100 "});
        openLines(QStringLiteral("select * from listtemp "));
    }

private:
    static QStringList lines(std::initializer_list<const char*> texts)
    {
        QStringList out;
        for (const char* t : texts)
            out << QString::fromUtf8(t);
        return out;
    }

    void execute(std::initializer_list<const char*> sql)
    {
        temp_.close();
        temp_.setSql(lines(sql));
        temp_.execute();
    }

    void openLines(const QString& sql)
    {
        lines_.close();
        lines_.setSql(sql);
        lines_.open();
    }

    // Month runs compare the year and month of the bill date. Range runs
    // take the last day up to its final second, so that a date stamped with
    // a time of day still counts on its day.
    void bindPeriod()
    {
        if (period_.isMonth()) {
            temp_.setParam(QStringLiteral("cyear"), period_.year());
            temp_.setParam(QStringLiteral("cmonth"), period_.month());
        } else {
            temp_.setParam(QStringLiteral("date1"), QDateTime(period_.first(), QTime(0, 0)));
            temp_.setParam(QStringLiteral("date2"), QDateTime(period_.last(), QTime(23, 59, 59)));
        }
    }

    void insertLines(const QStringList& selectAndCondition, const char* codeParam, const char* rangeLine)
    {
        QStringList sql = lines({kInsertLine});
        sql << selectAndCondition;
        if (period_.isMonth())
            sql << lines({"and year(bill_date)=:cyear ", "and month(bill_date)=:cmonth "});
        else
            sql << QString::fromUtf8(rangeLine);
        sql << QString::fromUtf8(kOrderLine);
        temp_.close();
        temp_.setSql(sql);
        temp_.setParam(QString::fromLatin1(codeParam), code_);
        bindPeriod();
        temp_.execute();
    }

    void loadRates()
    {
        temp_.close();
        temp_.setSql(QStringLiteral("select * from serveitem"));
        temp_.open();
        rates_.clear();
        rates_.reserve(size_t(temp_.recordCount()));
        for (temp_.first(); !temp_.eof(); temp_.next())
            rates_.push_back({temp_.asString(QStringLiteral("serve_code")), temp_.asFloat(QStringLiteral("unit_pric")),
                              temp_.asInt(QStringLiteral("stylist_rate")), temp_.asInt(QStringLiteral("middle_rate")),
                              temp_.asInt(QStringLiteral("assis_rate"))});
    }

    // The first item in table order with this code (blanks around ignored,
    // letter case counting) and a price above 0.
    const ItemRate* pricedItem(const QString& serveCode) const
    {
        const QString code = serveCode.trimmed();
        for (const ItemRate& r : rates_)
            if (r.price > 0 && r.code.trimmed() == code)
                return &r;
        return nullptr;
    }

    void servicePass(const ServicePass& pass, bool onlyUnmarked)
    {
        insertLines(lines({pass.selectLine, pass.conditionLine}), pass.codeParam, pass.rangeLine);
        if (!rates_.empty())
            reprice(pass.percent, onlyUnmarked);
        execute({pass.markStatement});
    }

    // Lines of a priced item take its list price and the role's percent;
    // lines already priced by an earlier pass carry the mark and stay.
    void reprice(qlonglong ItemRate::*percent, bool onlyUnmarked)
    {
        openLines(QStringLiteral("select * from listtemp"));
        const QString shou = QStringLiteral("shou_tota");
        const QString rate = QStringLiteral("rate_value");
        for (lines_.first(); !lines_.eof(); lines_.next()) {
            if (onlyUnmarked && !lines_.asString(QStringLiteral("do_with")).trimmed().isEmpty())
                continue;
            const ItemRate* item = pricedItem(lines_.asString(QStringLiteral("serve_code")));
            if (!item)
                continue;
            lines_.edit();
            lines_.setValue(shou, item->price);
            lines_.setValue(rate, item->*percent);
            lines_.post();
        }
    }

    void salesPass()
    {
        const QStringList select = lines({" select  bill_no,bill_date,comp_code,shou_tota,rela_code from outmain "});
        const QStringList condition = period_.isMonth()
            ? lines({"where rela_code=:rela_code  and bill_type='out'  "})
            : lines({"where rela_code=:rela_code  and bill_type='out' and "});
        insertLines(select + condition, "rela_code", " bill_date between :date1 and :date2  ");
        temp_.close();
        temp_.setSql(lines({"update listtemp set bill_note='销售' ,rate_value=:rate_value where do_with is null "}));
        temp_.setParam(QStringLiteral("rate_value"), qlonglong(SaleCommissionRate));
        temp_.execute();
    }

    QString code_;
    CommissionPeriod period_;
    db::Dataset& temp_;
    db::Dataset& lines_;
    std::vector<ItemRate> rates_;
};

// Shows the lines as the database holds them after a failed run.
void reopenLinesQuietly()
{
    try {
        db::Dataset& q = FrmDataMod->ListTempQ;
        q.close();
        q.setSql(QStringLiteral("select * from listtemp "));
        q.open();
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
        CommissionRun(emplCode, period).run(kinds);
        t.commit();
    } catch (...) {
        reopenLinesQuietly();
        throw;
    }
    return true;
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
