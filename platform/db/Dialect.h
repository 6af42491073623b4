#pragma once

#include <QString>

namespace db {

// Rewrites the Jet SQL that the program keeps as written into SQLite's dialect:
//  - "top N" after select (any case) becomes "limit N" at the end;
//  - "delete * from" becomes "delete from"; a delete without a where clause
//    gets "where 1" so that every deleted row is reported to the change hooks;
//  - double-quoted text becomes a single-quoted text literal (Jet reads "x" as
//    text even where a column named x exists).
// Text inside single quotes is never touched.
QString translateSql(const QString& jetSql);

} // namespace db
