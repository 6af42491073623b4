#pragma once

#include <QString>

namespace db {
class Connection;
}

// Columns whose values other tables keep copies of: a staff code on bills,
// appointments, stock documents and user accounts, a company code on
// documents and goods, a service code on appointments, steps and recipes, a
// card level's name on its members, the entries of the basic-settings lists
// in documents and recipes. Where a copy is narrower than the column, the
// box entering a value takes no more than the narrowest copy holds, so that
// a record that can be saved can also be used.

// The most characters a text column holds as the database declares it; 0
// for one of no limit (or none at all).
int ColumnSize(db::Connection& conn, const QString& table, const QString& column);
// The fewest characters any column copying table.column holds; 0 when no
// copy has a limit.
int CopiedColumnWidth(db::Connection& conn, const QString& table, const QString& column);
// From now on every box and cell bound to a copied column takes no more
// than CopiedColumnWidth over conn (see ui::setColumnLimits), until
// StopLimitingCopiedColumns(conn).
void LimitCopiedColumns(db::Connection& conn);
void StopLimitingCopiedColumns(db::Connection& conn);
