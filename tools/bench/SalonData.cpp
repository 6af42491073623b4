#include "tools/bench/SalonData.h"

#include "core/DbConfig.h"
#include "core/Schema.h"
#include "tools/bench/RawSql.h"
#include "tools/bench/SalonGenerator.h"
#include "tools/bench/Table.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace bench {

namespace {

QString digest()
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(schemaSql().toUtf8());
    hash.addData(seedSql().toUtf8());
    hash.addData(QByteArray::number(kGeneratorVersion));
    return QString::fromLatin1(hash.result().toHex().left(8));
}

void generate(const QString& path, const SalonSize& size)
{
    // createDatabase makes "<folder>/data/orbenta.db"; build it beside the
    // final file and move it into place once it is whole.
    const QString folder = path + QStringLiteral(".partial");
    QDir(folder).removeRecursively();
    createDatabase(folder);
    const QString made = localDatabasePath(folder);
    {
        RawDb db(made, databaseKey());
        fillSalon(db, size);
    }
    QFile::remove(path);
    if (!QFile::rename(made, path))
        throw std::runtime_error(("cannot move the generated file to " + path).toStdString());
    QDir(folder).removeRecursively();
}

// Files made from another schema or generator can never be used again by
// this build; they go, as each is hundreds of megabytes.
void removeOutdated(const QString& folder)
{
    const QString current = QStringLiteral("-%1.db").arg(digest());
    for (const QString& name : QDir(folder).entryList({QStringLiteral("salon-*.db")}, QDir::Files))
        if (!name.endsWith(current))
            QFile::remove(QDir(folder).filePath(name));
}

} // namespace

QString SalonSize::fileName() const
{
    return QStringLiteral("salon-m%1-l%2-e%3-g%4-s%5-p%6-%7.db")
        .arg(members)
        .arg(ledgerRows)
        .arg(employees)
        .arg(goods)
        .arg(serviceItems)
        .arg(peakMonthBills)
        .arg(digest());
}

QString SalonSize::describe() const
{
    return QStringLiteral("%1 members, %2 rows").arg(compactCount(members), compactCount(ledgerRows));
}

QDate firstDay()
{
    return QDate(2015, 1, 1);
}

QDate lastDay()
{
    return firstDay().addYears(kYears).addDays(-1);
}

QString storedDay(const QDate& day)
{
    return day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00");
}

LedgerDays daysHolding(RawDb& raw, qint64 rows, const QString& rowsOfKind)
{
    const QString kind = rowsOfKind.isEmpty() ? QString() : QStringLiteral(" and ") + rowsOfKind;
    LedgerDays days;
    days.to = lastDay();
    const QVariant first = raw.scalar(
        QStringLiteral("select bill_date from insifee where 1=1%1 order by bill_date desc limit 1 offset ?").arg(kind),
        {rows - 1});
    days.from = first.isNull() ? firstDay() : QDate::fromString(first.toString().left(10), Qt::ISODate);
    days.rows = raw.scalar(QStringLiteral("select count(*) from insifee where bill_date between ? and ?%1").arg(kind),
                           {storedDay(days.from), storedDay(days.to)})
                    .toLongLong();
    return days;
}

QString memberCode(int index)
{
    return QStringLiteral("M%1").arg(index + 1, 6, 10, QChar('0'));
}

QString cardNumber(int index)
{
    return QString::number(80000001 + index);
}

int firstMemberWithoutCard(int members)
{
    return std::max(1, members - members / 50);
}

QString serviceCode(int index)
{
    return QStringLiteral("S%1").arg(index + 1, 3, 10, QChar('0'));
}

QString employeeCode(int index)
{
    return QStringLiteral("E%1").arg(index + 1, 2, 10, QChar('0'));
}

QString goodsCode(int index)
{
    return QStringLiteral("G%1").arg(index + 1, 5, 10, QChar('0'));
}

QString cachedSalon(const QString& folder, const SalonSize& size, qint64& generatedMs)
{
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(size.fileName());
    generatedMs = -1;
    if (QFileInfo::exists(path))
        return path;
    removeOutdated(folder);
    std::fprintf(stderr, "Generating %s (%s) ...\n", qPrintable(size.describe()), qPrintable(size.fileName()));
    QElapsedTimer timer;
    timer.start();
    generate(path, size);
    generatedMs = timer.elapsed();
    std::fprintf(stderr, "  done in %.1f s\n", generatedMs / 1000.0);
    return path;
}

QString workCopy(const QString& cachedPath, const QString& folder)
{
    const QString dir = QDir(folder).filePath(QStringLiteral("work"));
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(QFileInfo(cachedPath).fileName());
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
    if (!QFile::copy(cachedPath, path))
        throw std::runtime_error(("cannot copy " + cachedPath + " to " + path).toStdString());
    return path;
}

void moveLastDayToToday(const QString& path)
{
    RawDb db(path, databaseKey());
    const QString today = storedDay(QDate::currentDate());
    const QString last = storedDay(lastDay());
    inRawTransaction(db, [&] {
        for (const char* table : {"insifee", "inmain", "outmain"})
            db.exec(QStringLiteral("update %1 set bill_date='%2' where bill_date='%3'")
                        .arg(QLatin1String(table), today, last));
    });
}

} // namespace bench
