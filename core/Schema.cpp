#include "core/Schema.h"

#include "core/DbConfig.h"
#include "platform/db/Connection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

// Q_INIT_RESOURCE declares a function at namespace scope, so it cannot sit
// inside a namespace.
void initCoreResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

QString readResource(const QString& path)
{
    initCoreResources();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw db::Error(db::Error::Kind::MissingFile, QStringLiteral("resource %1 is missing").arg(path));
    return QString::fromUtf8(file.readAll());
}

} // namespace

QString schemaSql()
{
    return readResource(QStringLiteral(":/schema.sql"));
}

void CreateMissingIndexes(db::Connection& conn)
{
    try {
        QSet<QString> present;
        db::Statement names(conn, QStringLiteral("select name from sqlite_master where type='index'"));
        while (names.step())
            present.insert(names.value(0).toString().toLower());

        static const QRegularExpression createIndex(
            QStringLiteral("^\\s*create\\s+(?:unique\\s+)?index\\s+(\\w+)\\s+on\\b"),
            QRegularExpression::CaseInsensitiveOption);
        QStringList missing;
        QStringList statements;
        for (const QString& line : schemaSql().split(u'\n'))
            if (!line.trimmed().startsWith(QLatin1String("--")))
                statements << line;
        for (const QString& statement : statements.join(u'\n').split(u';')) {
            const QRegularExpressionMatch m = createIndex.match(statement);
            if (m.hasMatch() && !present.contains(m.captured(1).toLower()))
                missing << statement;
        }
        if (missing.isEmpty())
            return;
        db::Transaction t(conn);
        for (const QString& statement : missing) {
            try {
                db::Transaction one(conn);
                conn.execute(statement);
                one.commit();
            } catch (const std::exception&) {
                // its table is damaged or gone: the others are still worth having
            }
        }
        t.commit();
    } catch (const std::exception&) {
        // left for a connection that may write
    }
}

bool HoldsProgramDatabase(db::Connection& conn)
{
    return conn.scalar(QStringLiteral("select count(*) from sqlite_master where type='table' and lower(name)='powers'"))
               .toLongLong() > 0;
}

QString seedSql()
{
    return readResource(QStringLiteral(":/seed.sql"));
}

void createDatabase(const QString& folder)
{
    const QString path = localDatabasePath(folder);
    if (QFileInfo::exists(path))
        throw db::Error(db::Error::Kind::Usage, QStringLiteral("%1 already exists").arg(path));

    const QString schema = schemaSql();
    const QString seed = seedSql();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw db::Error(db::Error::Kind::Usage, QStringLiteral("cannot create the folder of %1").arg(path));

    db::Connection conn;
    conn.create(path, databaseKey());
    try {
        db::Transaction transaction(conn);
        conn.executeScript(schema);
        conn.executeScript(seed);
        transaction.commit();
    } catch (...) {
        // A half-built file would be refused as "already exists" next time.
        conn.close();
        QFile::remove(path);
        throw;
    }
}
