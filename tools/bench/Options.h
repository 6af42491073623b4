#pragma once

#include "tools/bench/Measure.h"
#include "tools/bench/SalonData.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace bench {

// The measurements by name, for --only.
inline const QStringList kActions = {
    QStringLiteral("list"),   QStringLiteral("memory"), QStringLiteral("bill"),
    QStringLiteral("salary"), QStringLiteral("profit"), QStringLiteral("saves"),
    QStringLiteral("open"),   QStringLiteral("report"), QStringLiteral("fields"),
};

struct Options {
    SalonSize salon;                 // the large salon most actions run on
    int smallMembers = 5000;         // the small salon of the bill save and of the opening
    int smallGoods = 1000;           // the small salon of the opening
    qint64 billLedgerRows = 1000000; // the ledger of both bill-save salons
    QList<qint64> listRows = {10000, 100000, 1000000};
    QList<qint64> salaryLedgers = {30000, 365000, 2000000};
    qint64 maxRows = 0; // caps every ledger and list; 0: none
    QStringList only;   // empty: every action
    RunPolicy policy;
    QString dataFolder;
    bool keepWork = false;

    bool wants(const QString& action) const { return only.isEmpty() || only.contains(action); }
    // rows under the cap, when there is one.
    qint64 capped(qint64 rows) const { return maxRows > 0 && rows > maxRows ? maxRows : rows; }
    // The large salon with another ledger (capped) and member count.
    SalonSize salonWith(qint64 ledgerRows, int members) const;
};

// Reads the command line; prints the help and ends the program on --help
// or on a mistake.
Options parseOptions(const QStringList& arguments);

} // namespace bench
