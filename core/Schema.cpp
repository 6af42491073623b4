#include "core/Schema.h"

#include "core/DbConfig.h"
#include "platform/db/Connection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
