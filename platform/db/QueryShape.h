#pragma once

#include <QString>

namespace db {

class Connection;

// A select over one table taken apart, so that its rows can be read in
// parts: the keys (rowids) of its rows in its own order, and the rows of
// given keys. Only "select <columns> from <table> [where ...] [order by ...]"
// qualifies; a select with distinct, grouping, a join, a union or a limit
// does not, and is read whole.
class QueryShape {
public:
    // sql as the engine runs it (translated).
    static QueryShape of(const QString& sql);

    bool valid() const { return !from_.isEmpty(); }
    // The rowids of the rows, in the select's order when it has one.
    QString keySql() const;
    // The rows whose rowid lies between :__lo and :__hi (or equals :__lo),
    // with the select's columns and then the rowid as rowidColumn; only rows
    // the select's own condition still takes.
    QString rangeSql(const QString& rowidColumn) const;
    QString pointSql(const QString& rowidColumn) const;

private:
    QString rowsSql(const QString& rowidColumn, const QString& rowidCondition) const;

    QString columns_, from_, where_, orderBy_;
};

// The select with each row's rowid as one more column, after its own, so
// that an order by a column's number still means that column; "" when it
// is no select of columns.
QString selectWithRowid(const QString& sql, const QString& column);

// The order in which a select's rows come, as the engine plans to read them.
struct ScanOrder {
    enum class Kind {
        Other, // several steps, a sort, or a plan not understood: no known order
        Table, // one pass over the table: rowid order
        Index, // one pass over an index: its order
    };
    Kind kind = Kind::Other;
    QString index;

    // Of a select with no parameters bound, as the plan does not depend on them.
    static ScanOrder of(Connection& conn, const QString& sql);
};

} // namespace db
