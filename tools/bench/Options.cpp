#include "tools/bench/Options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>

namespace bench {

namespace {

[[noreturn]] void refuse(const QString& message)
{
    std::fprintf(stderr, "salon-benchmark: %s (see --help)\n", qPrintable(message));
    std::exit(2);
}

qint64 number(const QCommandLineParser& parser, const QString& name)
{
    bool ok = false;
    const qint64 n = parser.value(name).toLongLong(&ok);
    if (!ok || n < 0)
        refuse(QStringLiteral("--%1 wants a whole number, not \"%2\"").arg(name, parser.value(name)));
    return n;
}

QList<qint64> numbers(const QCommandLineParser& parser, const QString& name)
{
    QList<qint64> out;
    for (const QString& part : parser.value(name).split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        out << part.trimmed().toLongLong(&ok);
        if (!ok || out.back() <= 0)
            refuse(QStringLiteral("--%1 wants whole numbers separated by commas").arg(name));
    }
    return out;
}

QString listText(const QList<qint64>& values)
{
    QStringList parts;
    for (qint64 v : values)
        parts << QString::number(v);
    return parts.join(u',');
}

} // namespace

SalonSize Options::salonWith(qint64 ledgerRows, int members) const
{
    SalonSize size = salon;
    size.ledgerRows = capped(ledgerRows);
    size.members = members;
    return size;
}

Options parseOptions(const QStringList& arguments)
{
    Options o;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Times everyday actions of the salon program on the data of a large salon after ten years of use, each against "
        "the raw floor of the same work (SQLCipher stepping the same SQL on the same file) measured in the same run. "
        "Each time is the fastest of several runs. Generated databases are kept under the data folder and reused."));
    parser.addHelpOption();
    const auto add = [&](const QString& name, const QString& help, const QString& value) {
        parser.addOption(
            QCommandLineOption(name, help + QStringLiteral(" (default %1)").arg(value), QStringLiteral("n"), value));
    };
    add(QStringLiteral("members"), QStringLiteral("members of the large salon"), QString::number(o.salon.members));
    add(QStringLiteral("ledger"), QStringLiteral("ledger rows of the large salon"),
        QString::number(o.salon.ledgerRows));
    add(QStringLiteral("employees"), QStringLiteral("employees"), QString::number(o.salon.employees));
    add(QStringLiteral("goods"), QStringLiteral("goods"), QString::number(o.salon.goods));
    add(QStringLiteral("items"), QStringLiteral("service items"), QString::number(o.salon.serviceItems));
    add(QStringLiteral("month-bills"), QStringLiteral("service bills in the last (salary) month"),
        QString::number(o.salon.peakMonthBills));
    add(QStringLiteral("small-members"), QStringLiteral("members of the small salon of the bill save"),
        QString::number(o.smallMembers));
    add(QStringLiteral("small-goods"), QStringLiteral("goods of the small salon of the opening"),
        QString::number(o.smallGoods));
    add(QStringLiteral("bill-ledger"), QStringLiteral("ledger rows of both bill-save salons"),
        QString::number(o.billLedgerRows));
    add(QStringLiteral("list-rows"), QStringLiteral("rows of the ledger lists opened"), listText(o.listRows));
    add(QStringLiteral("salary-ledgers"), QStringLiteral("ledger rows of the salary-sheet salons"),
        listText(o.salaryLedgers));
    add(QStringLiteral("max-rows"), QStringLiteral("caps every ledger and list at this many rows, 0 for none"),
        QString::number(o.maxRows));
    add(QStringLiteral("runs"), QStringLiteral("runs of each measurement, the fastest counts"),
        QString::number(o.policy.runs));
    add(QStringLiteral("single-run-after"), QStringLiteral("seconds: a first run slower than this is not repeated"),
        QString::number(o.policy.singleRunAfterSeconds));
    add(QStringLiteral("timeout"), QStringLiteral("seconds: a run still going after this stops the benchmark"),
        QString::number(o.policy.timeoutSeconds));
    parser.addOption(QCommandLineOption(
        QStringLiteral("only"), QStringLiteral("comma-separated actions to run, of: %1").arg(kActions.join(u',')),
        QStringLiteral("actions")));
    parser.addOption(QCommandLineOption(QStringLiteral("data"),
                                        QStringLiteral("folder of the generated databases (default bench-data beside "
                                                       "this program)"),
                                        QStringLiteral("folder")));
    parser.addOption(
        QCommandLineOption(QStringLiteral("keep-work"), QStringLiteral("keep the written copies under <data>/work")));
    parser.process(arguments);
    if (!parser.positionalArguments().isEmpty())
        refuse(QStringLiteral("unexpected \"%1\"").arg(parser.positionalArguments().join(u' ')));

    o.salon.members = int(number(parser, QStringLiteral("members")));
    o.salon.ledgerRows = number(parser, QStringLiteral("ledger"));
    o.salon.employees = int(number(parser, QStringLiteral("employees")));
    o.salon.goods = int(number(parser, QStringLiteral("goods")));
    o.salon.serviceItems = int(number(parser, QStringLiteral("items")));
    o.salon.peakMonthBills = int(number(parser, QStringLiteral("month-bills")));
    o.smallMembers = int(number(parser, QStringLiteral("small-members")));
    o.smallGoods = int(number(parser, QStringLiteral("small-goods")));
    o.billLedgerRows = number(parser, QStringLiteral("bill-ledger"));
    o.listRows = numbers(parser, QStringLiteral("list-rows"));
    o.salaryLedgers = numbers(parser, QStringLiteral("salary-ledgers"));
    o.maxRows = number(parser, QStringLiteral("max-rows"));
    o.policy.runs = int(number(parser, QStringLiteral("runs")));
    o.policy.singleRunAfterSeconds = double(number(parser, QStringLiteral("single-run-after")));
    o.policy.timeoutSeconds = double(number(parser, QStringLiteral("timeout")));
    o.keepWork = parser.isSet(QStringLiteral("keep-work"));
    if (o.salon.members < 10 || o.smallMembers < 10 || o.smallGoods < 10 || o.salon.employees < 3 || o.salon.goods < 10
        || o.salon.serviceItems < 1 || o.policy.runs < 1)
        refuse(QStringLiteral("sizes this small make no salon"));
    o.salon.ledgerRows = o.capped(o.salon.ledgerRows);
    o.salon.peakMonthBills = int(o.capped(o.salon.peakMonthBills));
    for (const QString& action : parser.value(QStringLiteral("only")).split(u',', Qt::SkipEmptyParts)) {
        if (!kActions.contains(action.trimmed()))
            refuse(QStringLiteral("no action \"%1\"").arg(action));
        o.only << action.trimmed();
    }
    o.dataFolder = parser.isSet(QStringLiteral("data"))
                       ? QDir(parser.value(QStringLiteral("data"))).absolutePath()
                       : QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bench-data"));
    return o;
}

} // namespace bench
