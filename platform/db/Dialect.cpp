#include "platform/db/Dialect.h"

#include <QRegularExpression>

namespace db {

namespace {

// Positions outside single-quoted literals, so rewrites never touch data.
QString maskLiterals(const QString& sql)
{
    QString masked = sql;
    bool inQuote = false;
    for (qsizetype i = 0; i < masked.size(); ++i) {
        if (masked[i] == '\'') {
            inQuote = !inQuote;
            continue;
        }
        if (inQuote)
            masked[i] = ' ';
    }
    return masked;
}

QString doubleQuotesToLiterals(const QString& sql)
{
    QString out;
    out.reserve(sql.size() + 8);
    bool inSingle = false;
    bool inDouble = false;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (inDouble) {
            if (c == '"') {
                if (i + 1 < sql.size() && sql[i + 1] == '"') { // "" inside stands for one "
                    out += '"';
                    ++i;
                    continue;
                }
                out += '\'';
                inDouble = false;
            } else if (c == '\'') {
                out += QStringLiteral("''");
            } else {
                out += c;
            }
            continue;
        }
        if (c == '\'')
            inSingle = !inSingle;
        if (c == '"' && !inSingle) {
            out += '\'';
            inDouble = true;
            continue;
        }
        out += c;
    }
    return out;
}

QString topToLimit(const QString& sql)
{
    static const QRegularExpression top(QStringLiteral("^(\\s*select\\s+(?:distinct\\s+)?)top\\s+(\\d+)\\s+"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = top.match(maskLiterals(sql));
    if (!m.hasMatch())
        return sql;
    QString out = sql.left(m.capturedLength(1)) + sql.mid(m.capturedEnd(0));
    while (!out.isEmpty() && (out.back().isSpace() || out.back() == ';'))
        out.chop(1);
    return out + QStringLiteral(" limit ") + m.captured(2);
}

QString deleteStar(const QString& sql)
{
    static const QRegularExpression star(QStringLiteral("^(\\s*delete)\\s*\\*\\s*(from\\b)"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString out = sql;
    const QRegularExpressionMatch m = star.match(out);
    if (m.hasMatch())
        out = m.captured(1) + ' ' + m.captured(2) + out.mid(m.capturedEnd(0));

    // SQLite empties a table without a where clause in one step that bypasses
    // the change hooks; "where 1" keeps every deletion visible to them.
    static const QRegularExpression whole(QStringLiteral("^\\s*delete\\s+from\\s+[\\w\\[\\]\\.]+\\s*;?\\s*$"),
                                          QRegularExpression::CaseInsensitiveOption);
    if (whole.match(out).hasMatch()) {
        while (!out.isEmpty() && (out.back().isSpace() || out.back() == ';'))
            out.chop(1);
        out += QStringLiteral(" where 1");
    }
    return out;
}

} // namespace

QString translateSql(const QString& jetSql)
{
    QString sql = doubleQuotesToLiterals(jetSql);
    sql = topToLimit(sql);
    sql = deleteStar(sql);
    return sql;
}

} // namespace db
