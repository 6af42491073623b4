#pragma once

#include "tools/bench/Options.h"
#include "tools/bench/Table.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace bench {

// What every action needs: the options, the table, and the databases.
class Context {
public:
    Context(const Options& options, Table& table) : options(options), table(table) {}
    ~Context();

    const Options& options;
    Table& table;
    const RunPolicy& policy() const { return options.policy; }

    // The cached database of that size, generated on first use.
    QString salon(const SalonSize& size);
    // A fresh copy of it to write on (see workCopy), with the last day's
    // records moved to today when the forms should open on them; removed
    // when the benchmark ends unless --keep-work.
    enum class Today { AsGenerated, LastDayMoved };
    QString writableSalon(const SalonSize& size, Today today);
    // "generated <size> in 41.2 s" for each database made in this run.
    QStringList generationLog() const { return generated_; }

    // Runs one measurement; a failure becomes a "failed" line of the table.
    void measure(const QString& action, const QString& size, const std::function<void()>& fn);

private:
    QStringList generated_;
    QStringList copies_;
};

// Each prints its lines of the table, as its options ask.
void runListActions(Context& ctx);    // "list" and "memory"
void runFieldActions(Context& ctx);   // "fields": every field of a ledger, lookups included
void runBillingActions(Context& ctx); // "bill": the save, typing, the first bill
void runSalaryActions(Context& ctx);  // "salary"
void runProfitAction(Context& ctx);   // "profit"
void runSaveActions(Context& ctx);    // "saves": card operations, stock documents
void runOpenActions(Context& ctx);    // "open": every function from the main window's menu
void runReportActions(Context& ctx);  // "report": the page model of a long printed list

} // namespace bench
