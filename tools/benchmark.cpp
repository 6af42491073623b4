// salon-benchmark: times the everyday actions of the program on the data of
// a large salon after ten years of use (100,000 members, 2,000,000 ledger
// rows, 50 employees, 20,000 goods), each against the raw floor of the same
// work measured in the same run: SQLCipher stepping the same SQL, or issuing
// the same writes, on the same file. Each time is the fastest of several runs.
//
// It drives the program's own code the way a user does: the data module's
// queries and the forms, through their controls. The generated databases are
// kept under the data folder (build/bench-data for "make bench") and reused;
// the actions that write work on copies.
//
//   salon-benchmark [--only list,memory,bill,salary,profit,saves,open,report,fields] [--max-rows N] ...
//   salon-benchmark --help
#include "core/Schema.h"
#include "platform/ui/GuardedApplication.h"
#include "platform/ui/ProgramLook.h"
#include "tools/bench/Actions.h"
#include "tools/bench/Options.h"
#include "tools/bench/Table.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cstdio>

namespace {

// The offscreen platform remarks on every window it shows; nothing to act on.
void quietPlatformRemarks(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readLine()).section(u' ', 0, 2);
}

void printPreamble(const bench::Options& o)
{
    std::printf("salon-benchmark, %s\n", qPrintable(QDateTime::currentDateTime().toString(Qt::ISODate)));
    std::printf("machine: %d cores, load average %s (other work on the machine slows every figure)\n",
                QThread::idealThreadCount(), qPrintable(loadAverage()));
    std::printf(
        "salon: %s, %d employees, %d goods, %d service items; ledger %s to %s, %s service bills in its last month\n",
        qPrintable(o.salon.describe()), o.salon.employees, o.salon.goods, o.salon.serviceItems,
        qPrintable(bench::firstDay().toString(Qt::ISODate)), qPrintable(bench::lastDay().toString(Qt::ISODate)),
        qPrintable(bench::formatCount(o.salon.peakMonthBills)));
    std::printf("each time is the fastest of %d runs (one run when the first takes over %.0f s); floor = the same work "
                "done raw on the same file in the same run; ratio = time / floor\n",
                o.policy.runs, o.policy.singleRunAfterSeconds);
    std::printf("data: %s\n\n", qPrintable(o.dataFolder));
}

} // namespace

int main(int argc, char** argv)
{
    // The forms need a display; none is shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietPlatformRemarks);
    ui::GuardedApplication app(argc, argv);
    initCoreResources();
    ui::applyProgramLook();
    const bench::Options options = bench::parseOptions(app.arguments());

    printPreamble(options);
    QElapsedTimer total;
    total.start();
    bench::Table table;
    table.printHeader();
    {
        bench::Context ctx(options, table);
        bench::runListActions(ctx);
        bench::runFieldActions(ctx);
        bench::runBillingActions(ctx);
        bench::runSalaryActions(ctx);
        bench::runProfitAction(ctx);
        bench::runSaveActions(ctx);
        bench::runOpenActions(ctx);
        bench::runReportActions(ctx);
        table.printRule();
        for (const QString& line : ctx.generationLog())
            std::printf("%s\n", qPrintable(line));
    }
    std::printf("%d below target, %d failed; the whole run took %.1f min\n", table.misses(), table.failures(),
                total.elapsed() / 60000.0);
    return table.failures() > 0 ? 1 : 0;
}
