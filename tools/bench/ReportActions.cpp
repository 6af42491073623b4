// The owner's month-end figures: the salary sheet and the profit of a year,
// each against one raw pass of SQL computing the same figures.
#include "tools/bench/Actions.h"

#include "analysis/Ugainlist.h"
#include "analysis/Usalary.h"
#include "core/DbConfig.h"
#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/db/Value.h"
#include "platform/ui/DbDatePicker.h"
#include "tools/bench/RawSql.h"
#include "tools/bench/Session.h"

#include <QHash>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace bench {

namespace {

// ---------------------------------------------------------------- salary

// The month's commissions by employee, by the engine's rules: a service line
// per role named on a bill, based on the list price of the first service
// item of its code priced above 0 (at that item's percent for the role), or
// on the amount due with no commission when there is none; a sales line per
// sales document at the shop's sales percent. The month is a half-open range
// on the stored date, so the date index serves it.
const QString kCommissionSql = QStringLiteral(R"(
with items as (
  select serve_code, unit_pric, stylist_rate, middle_rate, assis_rate from serveitem s
  where unit_pric > 0
    and in_id = (select min(in_id) from serveitem t where t.serve_code = s.serve_code and t.unit_pric > 0)),
bills as (
  select serve_code, should_gath, stylist_code, middle_code, assis_code from insifee
  where gath_type = 'servefee' and bill_date >= :first and bill_date < :next),
lines as (
  select b.stylist_code as empl, coalesce(i.unit_pric, b.should_gath) as base, i.stylist_rate as rate
    from bills b left join items i on i.serve_code = b.serve_code where b.stylist_code is not null
  union all
  select b.middle_code, coalesce(i.unit_pric, b.should_gath), i.middle_rate
    from bills b left join items i on i.serve_code = b.serve_code where b.middle_code is not null
  union all
  select b.assis_code, coalesce(i.unit_pric, b.should_gath), i.assis_rate
    from bills b left join items i on i.serve_code = b.serve_code where b.assis_code is not null
  union all
  select rela_code, shou_tota, :sale_rate from outmain
    where bill_type = 'out' and bill_date >= :first and bill_date < :next and rela_code is not null)
select empl, sum(base * coalesce(rate, 0) / 100.0) from lines group by empl
)");

QHash<QString, double> commissionsRaw(RawDb& raw, const QDate& month, int saleRate)
{
    RawStatement st(raw, kCommissionSql);
    st.bind(":first", storedDay(month));
    st.bind(":next", storedDay(month.addMonths(1)));
    st.bind(":sale_rate", saleRate);
    QHash<QString, double> out;
    while (st.step())
        out.insert(st.value(0).toString(), st.value(1).toDouble());
    return out;
}

// The commissions the program's sheet holds, by employee.
QHash<QString, double> commissionsOfTheSheet(TFrmDataMod& dm)
{
    db::Dataset& q = dm.TempQ;
    q.close();
    q.setSql(QStringLiteral("select empl_code, add_fee from salary"));
    q.open();
    QHash<QString, double> out;
    for (int row = 0; row < q.recordCount(); ++row)
        out.insert(db::asString(q.value(row, 0)), db::asFloat(q.value(row, 1)));
    return out;
}

// "" when both agree to the cent for every employee with a commission.
QString compareCommissions(const QHash<QString, double>& sheet, const QHash<QString, double>& raw)
{
    for (auto it = sheet.begin(); it != sheet.end(); ++it)
        if (std::fabs(it.value() - raw.value(it.key())) > 0.005)
            return QStringLiteral("CHECK: %1 has %2 on the sheet, %3 by the raw SQL")
                .arg(it.key())
                .arg(it.value())
                .arg(raw.value(it.key()));
    for (auto it = raw.begin(); it != raw.end(); ++it)
        if (std::fabs(it.value()) > 0.005 && !sheet.contains(it.key()))
            return QStringLiteral("CHECK: %1 is missing from the sheet").arg(it.key());
    return {};
}

void salarySheet(Context& ctx, const SalonSize& size)
{
    const QDate month(lastDay().year(), lastDay().month(), 1);
    const QString path = ctx.writableSalon(size, Context::Today::AsGenerated); // the sheet writes its work tables
    Best program;
    QHash<QString, double> sheet;
    int saleRate = 0;
    {
        ProgramSession session(path);
        TFrmSalary form;
        showForm(form);
        child<ui::DbDatePicker>(form, "DP1")->setDate(lastDay());
        program = timeBest(ctx.policy(), QStringLiteral("salary sheet on %1 rows").arg(size.ledgerRows),
                           [&] { click(child<QPushButton>(form, "cmd_find")); });
        session.requireNoPrompt(QStringLiteral("the salary sheet"));
        require(!child<QLineEdit>(form, "Edit1")->text().isEmpty(), QStringLiteral("the sheet has no total"));
        sheet = commissionsOfTheSheet(session.dataModule());
        saleRate = SaleCommissionRate;
    }
    RawDb raw(path, databaseKey());
    QHash<QString, double> byRaw;
    const Best floor = timeBest(ctx.policy(), QStringLiteral("raw commissions"),
                                [&] { byRaw = commissionsRaw(raw, month, saleRate); });
    const qint64 bills = raw.scalar(QStringLiteral("select count(*) from insifee where gath_type='servefee' and "
                                                   "bill_date >= ? and bill_date < ?"),
                                    {storedDay(month), storedDay(month.addMonths(1))})
                             .toLongLong();
    ctx.table.print(
        Result(QStringLiteral("salary sheet of a month (%1 staff)").arg(sheet.size()),
               QStringLiteral("%1 bills in %2 rows").arg(compactCount(bills), compactCount(size.ledgerRows)))
            .time(program.ms())
            .floor(floor.ms())
            .target(Target::belowMs(1000))
            .note(joinNotes({QStringLiteral("floor: grouped SQL"), runsNote(ctx.policy(), program),
                             compareCommissions(sheet, byRaw)})));
}

// ---------------------------------------------------------------- profit

struct ProfitLine {
    QString sql;
    int amountColumn;
};

// The five lists of the profit form, as it runs them.
const ProfitLine kProfitLines[] = {
    {QStringLiteral("select bill_no,bill_date,shou_tota from outmain where bill_date between :date1 and :date2 "), 2},
    {QStringLiteral("select bill_no,bill_date,shou_tota from inmain where bill_date between :date1 and :date2 "), 2},
    {QStringLiteral("select bill_no,bill_date,should_gath,gath_type from insifee where bill_date between :date1 and "
                    ":date2 and gath_type='servefee' "),
     2},
    {QStringLiteral("select bill_no,bill_date,serv_fee,gath_type from insifee where bill_date between :date1 and "
                    ":date2 and gath_type='income' "),
     2},
    {QStringLiteral("select bill_no,bill_date,serv_fee,gath_type from insifee where bill_date between :date1 and "
                    ":date2 and gath_type='outlay' "),
     2},
};

struct RawProfit {
    qint64 rows = 0;
    QString profit; // as the form shows it
};

// Each list stepped and summed; the profit from the rounded sums, as shown.
RawProfit profitRaw(RawDb& raw, const QDate& from, const QDate& to)
{
    RawProfit out;
    double figures[5] = {};
    for (int i = 0; i < 5; ++i) {
        RawStatement st(raw, kProfitLines[i].sql);
        st.bind(":date1", storedDay(from));
        st.bind(":date2", storedDay(to));
        double sum = 0;
        out.rows += st.readAllSumming(kProfitLines[i].amountColumn, sum);
        figures[i] = *db::parseAmount(db::formatAmount(sum));
    }
    // sales + services + income - purchases - expenses
    out.profit = db::formatAmount(figures[0] + figures[2] + figures[3] - figures[1] - figures[4]);
    return out;
}

} // namespace

void runSalaryActions(Context& ctx)
{
    if (!ctx.options.wants(QStringLiteral("salary")))
        return;
    for (qint64 ledger : ctx.options.salaryLedgers) {
        const SalonSize size = ctx.options.salonWith(ledger, ctx.options.salon.members);
        ctx.measure(QStringLiteral("salary sheet of a month"), compactCount(size.ledgerRows) + QStringLiteral(" rows"),
                    [&] { salarySheet(ctx, size); });
    }
}

void runProfitAction(Context& ctx)
{
    if (!ctx.options.wants(QStringLiteral("profit")))
        return;
    const SalonSize& size = ctx.options.salon;
    const QDate from(lastDay().year(), 1, 1);
    ctx.measure(QStringLiteral("profit of a year"), size.describe(), [&] {
        const QString path = ctx.salon(size); // the profit form only reads
        Best program;
        QString shown;
        {
            ProgramSession session(path);
            TFrmGainList form;
            showForm(form);
            child<ui::DbDatePicker>(form, "DP1")->setDate(from);
            child<ui::DbDatePicker>(form, "DP2")->setDate(lastDay());
            program =
                timeBest(ctx.policy(), QStringLiteral("profit"), [&] { click(child<QPushButton>(form, "cmd_add")); });
            session.requireNoPrompt(QStringLiteral("the profit"));
            shown = child<QLineEdit>(form, "Edit6")->text();
        }
        RawDb raw(path, databaseKey());
        RawProfit byRaw;
        const Best floor =
            timeBest(ctx.policy(), QStringLiteral("raw profit"), [&] { byRaw = profitRaw(raw, from, lastDay()); });
        const QString check =
            shown == byRaw.profit
                ? QString()
                : QStringLiteral("CHECK: the form shows %1, the raw lists give %2").arg(shown, byRaw.profit);
        ctx.table.print(
            Result(QStringLiteral("profit of a year"),
                   QStringLiteral("%1 rows listed of %2").arg(compactCount(byRaw.rows), compactCount(size.ledgerRows)))
                .time(program.ms())
                .floor(floor.ms())
                .target(Target::ratioAtMost(1.3))
                .note(joinNotes({QStringLiteral("floor: the five lists stepped"), check})));
    });
}

} // namespace bench
