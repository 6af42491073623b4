#include "platform/db/QueryShape.h"

#include "platform/db/Connection.h"

#include <QRegularExpression>

namespace db {

namespace {

// The statement with its literals, quoted names and parenthesised parts
// blanked: what is left is its top level, where its clauses begin.
QString topLevelOf(const QString& sql)
{
    QString out = sql;
    int depth = 0;
    QChar closing;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        if (!closing.isNull()) {
            if (c == closing)
                closing = QChar();
            out[i] = ' ';
            continue;
        }
        if (c == '\'' || c == '"' || c == '`')
            closing = c;
        else if (c == '[')
            closing = ']';
        else if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
        else if (depth == 0)
            continue;
        out[i] = ' ';
    }
    return out;
}

QRegularExpression pattern(const char* text)
{
    return QRegularExpression(QString::fromLatin1(text), QRegularExpression::CaseInsensitiveOption);
}

} // namespace

QueryShape QueryShape::of(const QString& sql)
{
    QString text = sql.trimmed();
    while (text.endsWith(';'))
        text = text.chopped(1).trimmed();
    const QString top = topLevelOf(text);
    QueryShape shape;
    static const QRegularExpression select = pattern("^select\\s+");
    static const QRegularExpression distinct = pattern("^select\\s+distinct\\b");
    const QRegularExpressionMatch head = select.match(top);
    if (!head.hasMatch() || distinct.match(top).hasMatch())
        return shape;
    static const QRegularExpression fromWord = pattern("\\bfrom\\b");
    const QRegularExpressionMatch from = fromWord.match(top, head.capturedEnd());
    if (!from.hasMatch())
        return shape;
    static const QRegularExpression clause =
        pattern("\\b(where|order\\s+by|group|having|limit|union|except|intersect|window)\\b");
    QRegularExpressionMatchIterator clauses = clause.globalMatch(top, from.capturedEnd());
    qsizetype fromEnd = text.size(), whereStart = -1, whereEnd = -1, orderStart = -1;
    while (clauses.hasNext()) {
        const QRegularExpressionMatch m = clauses.next();
        const QString word = m.captured(1).toLower();
        if (fromEnd == text.size())
            fromEnd = m.capturedStart();
        if (word == QLatin1String("where") && whereStart < 0 && orderStart < 0) {
            whereStart = m.capturedEnd();
        } else if (word.startsWith(QLatin1String("order")) && orderStart < 0) {
            if (whereStart >= 0)
                whereEnd = m.capturedStart();
            orderStart = m.capturedEnd();
        } else {
            return shape; // grouped, limited or combined: read whole
        }
    }
    if (whereStart >= 0 && whereEnd < 0)
        whereEnd = orderStart >= 0 ? orderStart : text.size();
    // One table, perhaps named again: a join or a list of tables reads whole.
    const QString fromTop = top.mid(from.capturedEnd(), fromEnd - from.capturedEnd());
    static const QRegularExpression oneTable = pattern("^\\s*[\\w.]+(\\s+(as\\s+)?\\w+)?\\s*$");
    if (!oneTable.match(fromTop).hasMatch())
        return shape;
    // An order by a result column's number would mean another column here.
    static const QRegularExpression byNumber = pattern("(^|,)\\s*\\d+\\s*(asc|desc)?\\s*(,|$)");
    if (orderStart >= 0 && byNumber.match(top.mid(orderStart)).hasMatch())
        return shape;
    shape.columns_ = text.mid(head.capturedEnd(), from.capturedStart() - head.capturedEnd()).trimmed();
    shape.from_ = text.mid(from.capturedEnd(), fromEnd - from.capturedEnd()).trimmed();
    if (whereStart >= 0)
        shape.where_ = text.mid(whereStart, whereEnd - whereStart).trimmed();
    if (orderStart >= 0)
        shape.orderBy_ = text.mid(orderStart).trimmed();
    if (shape.columns_.isEmpty() || (whereStart >= 0 && shape.where_.isEmpty())
        || (orderStart >= 0 && shape.orderBy_.isEmpty()))
        return QueryShape();
    return shape;
}

QString QueryShape::keySql() const
{
    QString sql = QStringLiteral("select rowid from ") + from_;
    if (!where_.isEmpty())
        sql += QStringLiteral(" where ") + where_;
    if (!orderBy_.isEmpty())
        sql += QStringLiteral(" order by ") + orderBy_;
    return sql;
}

QString QueryShape::rangeSql(const QString& rowidColumn) const
{
    return rowsSql(rowidColumn, QStringLiteral("rowid between :__lo and :__hi"));
}

QString QueryShape::pointSql(const QString& rowidColumn) const
{
    return rowsSql(rowidColumn, QStringLiteral("rowid = :__lo"));
}

QString QueryShape::rowsSql(const QString& rowidColumn, const QString& rowidCondition) const
{
    // Not by an index of the select's own condition: the rowid finds the rows.
    QString sql = QStringLiteral("select %1, rowid as %2 from %3 not indexed where ").arg(columns_, rowidColumn, from_);
    if (!where_.isEmpty())
        sql += QLatin1Char('(') + where_ + QStringLiteral(") and ");
    return sql + rowidCondition;
}

QString selectWithRowid(const QString& sql, const QString& column)
{
    static const QRegularExpression select = pattern("^\\s*select\\s");
    static const QRegularExpression fromWord = pattern("\\bfrom\\b");
    const QString top = topLevelOf(sql);
    const QRegularExpressionMatch head = select.match(top);
    if (!head.hasMatch())
        return {};
    const QRegularExpressionMatch from = fromWord.match(top, head.capturedEnd());
    if (!from.hasMatch())
        return {};
    return sql.left(from.capturedStart()).trimmed() + QStringLiteral(", rowid as ") + column + QLatin1Char(' ')
           + sql.mid(from.capturedStart());
}

ScanOrder ScanOrder::of(Connection& conn, const QString& sql)
{
    ScanOrder order;
    Statement plan(conn, QStringLiteral("explain query plan ") + sql);
    if (!plan.step())
        return order;
    const QString detail = plan.value(3).toString();
    if (plan.step())
        return order; // a sort, a subquery, several indexes
    static const QRegularExpression onePass = pattern("^(?:scan|search)(?: table)? \\S+(?: as \\S+)?(.*)$");
    static const QRegularExpression byIndex = pattern("^ using (?:covering )?index (\\S+)");
    const QRegularExpressionMatch pass = onePass.match(detail);
    if (!pass.hasMatch())
        return order;
    const QString how = pass.captured(1);
    if (how.isEmpty() || how.startsWith(QLatin1String(" USING INTEGER PRIMARY KEY"), Qt::CaseInsensitive)) {
        order.kind = Kind::Table;
    } else if (const QRegularExpressionMatch index = byIndex.match(how);
               index.hasMatch()) {
        order.kind = Kind::Index;
        order.index = index.captured(1);
    }
    return order;
}

} // namespace db
