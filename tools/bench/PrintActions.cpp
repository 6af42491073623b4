// Printing a long list: from the print button to the page model the preview
// shows, against the list's query stepped raw.
#include "tools/bench/Actions.h"

#include "analysis/Uservelist.h"
#include "core/DbConfig.h"
#include "platform/report/Preview.h"
#include "platform/ui/DbDatePicker.h"
#include "stock/Ustore.h"
#include "tools/bench/RawSql.h"
#include "tools/bench/Session.h"

#include <QPushButton>

namespace bench {

namespace {

struct Printed {
    Best program;
    qint64 detailTexts = 0; // of the page model
    int pages = 0;
};

// Takes the page model a preview gets in place of the preview window, and,
// as that window does, keeps no copy: only its counts.
class PreviewCounts {
public:
    PreviewCounts()
        : previous_(report::setPreviewHandler([this](const report::PageModel& model, QWidget*) {
              ++previews;
              pages = model.pageCount();
              detailTexts = 0;
              for (const report::Page& page : model.pages)
                  for (const report::TextItem& text : page.texts)
                      detailTexts += text.band == report::BandKind::Detail ? 1 : 0;
          }))
    {
    }
    ~PreviewCounts() { report::setPreviewHandler(std::move(previous_)); }
    PreviewCounts(const PreviewCounts&) = delete;
    PreviewCounts& operator=(const PreviewCounts&) = delete;

    int previews = 0;
    int pages = 0;
    qint64 detailTexts = 0;

private:
    report::PreviewHandler previous_;
};

// Clicks print on a form whose list is filled, the preview counted rather
// than shown.
Printed timePrint(Context& ctx, ProgramSession& session, QWidget& form, const QString& label)
{
    Printed out;
    PreviewCounts preview;
    out.program = timeBest(ctx.policy(), label, [&] { click(child<QPushButton>(form, "cmd_prin")); });
    session.requireNoPrompt(label);
    require(preview.previews == out.program.runs(), QStringLiteral("%1 previewed nothing").arg(label));
    out.pages = preview.pages;
    out.detailTexts = preview.detailTexts;
    return out;
}

// The line of a report that printed `rows` rows of `columns` texts each.
void printLine(Context& ctx, const QString& action, const Printed& printed, qint64 rows, int columns,
               const Best& floor)
{
    require(printed.detailTexts == rows * columns, QStringLiteral("the report holds %1 texts, not %2 rows of %3")
                                                       .arg(printed.detailTexts)
                                                       .arg(rows)
                                                       .arg(columns));
    ctx.table.print(Result(action, QStringLiteral("%1 rows, %2 pages").arg(formatCount(rows)).arg(printed.pages))
                        .time(printed.program.ms())
                        .floor(floor.ms())
                        .target(Target::belowMs(100.0 * double(rows) / 10000))
                        .note(joinNotes({QStringLiteral("floor: its query stepped"),
                                         QStringLiteral("target: 100 ms per 10k rows"),
                                         runsNote(ctx.policy(), printed.program)})));
}

Best stepRaw(Context& ctx, RawDb& raw, const QString& sql, const QVariantList& params = {})
{
    return timeBest(ctx.policy(), QStringLiteral("raw list"), [&] {
        RawStatement st(raw, sql);
        for (int i = 0; i < params.size(); ++i)
            st.bind(i + 1, params[i]);
        st.readAll();
    });
}

// 会员消费明细 of every item over the days holding the rows asked for.
void serviceList(Context& ctx, const QString& path, qint64 rows)
{
    const QString kindOfRow = QStringLiteral("gath_type='servefee'");
    RawDb raw(path, databaseKey());
    const LedgerDays days = daysHolding(raw, rows, kindOfRow);
    Printed printed;
    {
        ProgramSession session(path);
        TFrmServeList form;
        showForm(form);
        child<ui::DbDatePicker>(form, "DP1")->setDate(days.from);
        child<ui::DbDatePicker>(form, "DP2")->setDate(days.to);
        click(child<QPushButton>(form, "cmd_add"));
        session.requireNoPrompt(QStringLiteral("the service list's query"));
        printed = timePrint(ctx, session, form, QStringLiteral("service list report"));
    }
    const Best floor = stepRaw(ctx, raw,
                               QStringLiteral("select * from insifee where bill_date between ? and ? and ") + kindOfRow,
                               {storedDay(days.from), storedDay(days.to)});
    printLine(ctx, QStringLiteral("print 会员消费明细 (page model)"), printed, days.rows, 9, floor);
}

// 库存查询 of every goods.
void stockList(Context& ctx, const QString& path)
{
    Printed printed;
    {
        ProgramSession session(path);
        TFrmStore form;
        showForm(form);
        click(child<QPushButton>(form, "cmd_find"));
        session.requireNoPrompt(QStringLiteral("the stock query"));
        printed = timePrint(ctx, session, form, QStringLiteral("stock report"));
    }
    RawDb raw(path, databaseKey());
    const QString listed = QStringLiteral(" from storemain a where trim(a.gods_code)<>''");
    const qint64 rows = raw.scalar(QStringLiteral("select count(*)") + listed).toLongLong();
    const Best floor = stepRaw(ctx, raw,
                               QStringLiteral("select a.gods_code,a.gods_amou,a.cost_pric,a.gods_amou*a.cost_pric")
                                   + listed + QStringLiteral(" order by a.gods_code"));
    printLine(ctx, QStringLiteral("print 库存查询 (page model)"), printed, rows, 8, floor);
}

} // namespace

void runReportActions(Context& ctx)
{
    if (!ctx.options.wants(QStringLiteral("report")))
        return;
    const QString path = ctx.salon(ctx.options.salon); // printing only reads
    ctx.measure(QStringLiteral("print 会员消费明细 (page model)"), QStringLiteral("10k rows"),
                [&] { serviceList(ctx, path, ctx.options.capped(10000)); });
    ctx.measure(QStringLiteral("print 库存查询 (page model)"),
                compactCount(ctx.options.salon.goods) + QStringLiteral(" goods"), [&] { stockList(ctx, path); });
}

} // namespace bench
