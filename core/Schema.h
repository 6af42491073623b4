#pragma once

#include <QString>

namespace db {
class Connection;
}

// Registers the resources compiled into salon_core (schema, seed, pictures).
// Static libraries need this once before ":/..." paths resolve; the functions
// below call it themselves, and callers of the pictures may call it again.
void initCoreResources();

// The statements that create the 24 tables and their indexes.
QString schemaSql();
// Creates the indexes of schemaSql() that the database lacks, as a database
// made by an earlier version of the program does. Nothing is written when none
// is missing. An index that cannot be made (a read-only or busy file) is left
// for a later connection: the queries still work without it, only slower, so
// this never fails.
void CreateMissingIndexes(db::Connection& conn);

// Whether conn's file holds this program's database, known by its table of
// users: an empty file (a copy cut short, a full disk) opens as a database
// without tables, and another program's database has other tables.
bool HoldsProgramDatabase(db::Connection& conn);

// The rows a new database comes with: message catalogue, shop settings and
// the first user "admin" with every right.
QString seedSql();

// Creates localDatabasePath(folder) (making its "data" folder as needed),
// keyed with the database password, and fills it with schemaSql() and
// seedSql() in one transaction. Throws db::Error when the file exists (the
// file is left alone) or when anything fails (no partial file is left).
void createDatabase(const QString& folder);
