#include "analysis/ListTotals.h"

#include "platform/db/Dataset.h"

double SumColumn(db::Dataset& q, const QString& field)
{
    const db::ControlsDisabled quiet(q);
    double sum = 0;
    for (q.first(); !q.eof(); q.next())
        sum += q.asFloat(field);
    q.first();
    return sum;
}

QString ShortDateText(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}
