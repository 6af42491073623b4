#include "analysis/ListTotals.h"

#include "platform/db/Dataset.h"

double SumColumn(db::Dataset& q, const QString& field)
{
    // Read row by row rather than walked with the cursor, which would tell
    // every handler of the dataset about every row passed.
    const int column = q.fieldIndex(field);
    if (column < 0)
        q.field(field); // names the missing field
    double sum = 0;
    for (int row = 0; row < q.recordCount(); ++row)
        sum += db::asFloat(q.value(row, column));
    const db::ControlsDisabled quiet(q);
    q.first();
    return sum;
}
