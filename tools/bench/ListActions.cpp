// Opening a ledger list and reading every cell it shows, the memory an open
// list holds, and reading every field of the ledger, lookups included.
#include "tools/bench/Actions.h"

#include "core/DbConfig.h"
#include "core/InsiFeeLedger.h"
#include "core/Udatamod.h"
#include "platform/ui/DbGrid.h"
#include "tools/bench/RawSql.h"
#include "tools/bench/Session.h"

#include <QDateTime>
#include <algorithm>
#include <memory>

namespace bench {

namespace {

// The list the ledger forms open over a range of days.
const QString kListSql = QStringLiteral("select * from insifee where bill_date between :d1 and :d2");

// The change column as the billing form computes it for every row it shows.
void changeFee(db::Dataset& q)
{
    const QVariant received = q.value(QStringLiteral("serv_fee"));
    const QVariant due = q.value(QStringLiteral("should_gath"));
    if (received.isNull() || due.isNull())
        return;
    q.setValue(QStringLiteral("change_fee"), double(db::asInt(received) - db::asInt(due)));
}

// Opens InsiFeeQ on the ledger of the days.
void openOnDays(db::Dataset& q, const LedgerDays& days)
{
    q.setSql(kListSql);
    q.setParam(QStringLiteral("d1"), QDateTime(days.from, QTime(0, 0)));
    q.setParam(QStringLiteral("d2"), QDateTime(days.to, QTime(0, 0)));
    q.open();
}

// The characters of every text textAt(row, column) gives, row by row.
template <typename TextAt>
qint64 charactersOf(int rows, int columns, TextAt textAt)
{
    qint64 characters = 0;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            characters += textAt(row, column).size();
    return characters;
}

// Opens InsiFeeQ on the days under the service bill list and reads every
// cell the list shows, as its view asks for them.
void openAndReadEveryCell(db::Dataset& q, const ui::DatasetModel& list, const LedgerDays& days)
{
    openOnDays(q, days);
    const int rows = list.rowCount();
    const qint64 characters = charactersOf(
        rows, list.columnCount(), [&](int row, int column) { return list.data(list.index(row, column)).toString(); });
    require(characters > 0 && rows == days.rows,
            QStringLiteral("the list showed %1 rows, not %2").arg(rows).arg(days.rows));
}

void stepEveryCellRaw(RawDb& raw, const LedgerDays& days)
{
    RawStatement st(raw, kListSql);
    st.bind(":d1", storedDay(days.from));
    st.bind(":d2", storedDay(days.to));
    require(st.readAll() == days.rows, QStringLiteral("the raw list has another row count"));
}

struct ListMeasurement {
    Best program;
    qint64 heapGrowth = 0; // of the last open, lookups already cached
};

// The last run leaves the list open, so its heap growth is what a user's
// open list holds; the runs before it have filled the lookup caches, which
// belong to the connection rather than to the list.
ListMeasurement measureList(Context& ctx, db::Dataset& q, const ui::DatasetModel& list, const LedgerDays& days)
{
    ListMeasurement m;
    qint64 before = 0;
    m.program = timeBest(
        ctx.policy(), QStringLiteral("list of %1 rows").arg(days.rows), [&] { openAndReadEveryCell(q, list, days); },
        [&] {
            q.close();
            before = heapInUse();
        });
    m.heapGrowth = heapInUse() - before;
    q.close();
    return m;
}

// Opens InsiFeeQ on the days and reads the text of every field of every
// row, the looked-up and calculated ones included.
void openAndReadEveryField(db::Dataset& q, const LedgerDays& days)
{
    openOnDays(q, days);
    const int rows = q.recordCount();
    const qint64 characters =
        charactersOf(rows, q.fieldCount(), [&](int row, int field) { return q.displayText(row, field); });
    require(characters > 0 && rows == days.rows, QStringLiteral("the ledger had %1 rows, not %2").arg(rows).arg(days.rows));
}

// The large salon's ledger as the program opens it, with the change column
// computed, and the same file raw beside it.
struct Ledger {
    explicit Ledger(Context& ctx)
        : path(ctx.salon(ctx.options.salon)), raw(path, databaseKey()), session(path),
          q(session.dataModule().InsiFeeQ), change(q.onCalcFields(changeFee))
    {
    }

    QString path;
    RawDb raw;
    ProgramSession session;
    db::Dataset& q;
    db::Subscription change;
};

qsizetype lookupCount(const db::Dataset& q)
{
    const std::vector<db::FieldDef>& fields = q.declaredFields();
    return std::count_if(fields.begin(), fields.end(),
                         [](const db::FieldDef& f) { return f.kind == db::FieldDef::Kind::Lookup; });
}

} // namespace

void runFieldActions(Context& ctx)
{
    if (!ctx.options.wants(QStringLiteral("fields")))
        return;
    Ledger ledger(ctx);
    db::Dataset& q = ledger.q;
    const qint64 rows = std::min(ctx.options.capped(100000), ctx.options.salon.ledgerRows);
    const LedgerDays days = daysHolding(ledger.raw, rows);
    const QString size = formatCount(days.rows) + QStringLiteral(" rows");
    const QString action = QStringLiteral("open ledger, read every field");
    ctx.measure(action, size, [&] {
        const Best program = timeBest(
            ctx.policy(), action, [&] { openAndReadEveryField(q, days); }, [&] { q.close(); });
        q.close();
        const Best floor =
            timeBest(ctx.policy(), QStringLiteral("raw list"), [&] { stepEveryCellRaw(ledger.raw, days); });
        ctx.table.print(Result(action, size)
                            .time(program.ms())
                            .floor(floor.ms())
                            .target(Target::ratioAtMost(1.5))
                            .note(joinNotes({QStringLiteral("%1 fields, %2 looked up").arg(q.fieldCount()).arg(lookupCount(q)),
                                             runsNote(ctx.policy(), program)})));
    });
}

void runListActions(Context& ctx)
{
    const bool timeList = ctx.options.wants(QStringLiteral("list"));
    const bool memory = ctx.options.wants(QStringLiteral("memory"));
    if (!timeList && !memory)
        return;
    Ledger ledger(ctx);
    RawDb& raw = ledger.raw;
    db::Dataset& q = ledger.q;
    const std::unique_ptr<ui::DbGrid> grid(NewServiceBillGrid(nullptr));
    for (qint64 asked : ctx.options.listRows) {
        const qint64 rows = std::min(ctx.options.capped(asked), ctx.options.salon.ledgerRows);
        const LedgerDays days = daysHolding(raw, rows);
        const QString size = formatCount(days.rows) + QStringLiteral(" rows");
        ctx.measure(QStringLiteral("open ledger list, read every shown cell"), size, [&] {
            const ListMeasurement m = measureList(ctx, q, *grid->datasetModel(), days);
            if (timeList) {
                const Best floor =
                    timeBest(ctx.policy(), QStringLiteral("raw list"), [&] { stepEveryCellRaw(raw, days); });
                ctx.table.print(Result(QStringLiteral("open ledger list, read every shown cell"), size)
                                    .time(m.program.ms())
                                    .floor(floor.ms())
                                    .target(Target::ratioAtMost(2))
                                    .note(joinNotes({QStringLiteral("the service bill list's columns, 3 looked up"),
                                                     runsNote(ctx.policy(), m.program)})));
            }
            if (memory)
                ctx.table.print(
                    Result(QStringLiteral("memory of the open list"), size)
                        .bytesPerRow(double(m.heapGrowth) / double(days.rows))
                        .target(Target::bytesPerRowAtMost(1024))
                        .note(QStringLiteral("heap growth %1 MB").arg(m.heapGrowth / 1048576.0, 0, 'f', 1)));
        });
    }
}

} // namespace bench
