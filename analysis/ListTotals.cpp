#include "analysis/ListTotals.h"

#include "platform/db/Dataset.h"

double SumColumn(db::Dataset& q, const QString& field)
{
    double sum = 0;
    q.disableControls();
    try {
        for (q.first(); !q.eof(); q.next())
            sum += q.asFloat(field);
        q.first();
    } catch (...) {
        q.enableControls();
        throw;
    }
    q.enableControls();
    return sum;
}

QString ShortDateText(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}
