#pragma once

#include <QByteArray>
#include <QString>

// The database file is keyed with this password; a file without it does not open.
inline constexpr char kDatabasePassword[] = "5072941836620417395";

inline QByteArray databaseKey() { return QByteArray(kDatabasePassword); }

// The local database file of a program folder: "data/orbenta.db" beneath it.
// The folder normally carries its trailing '/'; one is added when it does not.
inline QString localDatabasePath(const QString& programFolder)
{
    QString folder = programFolder;
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder + QStringLiteral("data/orbenta.db");
}
