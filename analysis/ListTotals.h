#pragma once

#include <QString>

namespace db {
class Dataset;
}

// The sum of a numeric field over every row of an open dataset, NULL counting
// 0. The dataset is left on its first row.
double SumColumn(db::Dataset& q, const QString& field);
