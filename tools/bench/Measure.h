#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <initializer_list>
#include <optional>

// Timing and memory: the fastest of several runs, so a measurement shows the
// work itself rather than whatever else the machine did meanwhile.
namespace bench {

struct RunPolicy {
    int runs = 5; // a shared machine needs a few tries to give one quiet run
    // A first run slower than this is not repeated: an action that takes
    // minutes stays runnable, and the output says it ran once.
    double singleRunAfterSeconds = 60;
    // A run still going after this long stops the benchmark.
    double timeoutSeconds = 1800;
};

// The fastest of the runs of one measurement.
class Best {
public:
    void add(double ms);
    bool empty() const { return runs_ == 0; }
    double ms() const { return best_; }
    int runs() const { return runs_; }

private:
    double best_ = 0;
    int runs_ = 0;
};

// Milliseconds one call of fn takes; the watchdog stops the process when
// it is still running after the policy's timeout.
double timeOnce(const RunPolicy& policy, const QString& label, const std::function<void()>& fn);

// The fastest of policy.runs runs of fn (one only when the first took longer
// than policy.singleRunAfterSeconds). prepare runs before each run, untimed.
Best timeBest(const RunPolicy& policy, const QString& label, const std::function<void()>& fn,
              const std::function<void()>& prepare = {});

// Whether another run is due after these, under the policy.
bool wantsAnotherRun(const RunPolicy& policy, const Best& best);

// "" when the runs asked for were all taken, else how many were and why.
QString runsNote(const RunPolicy& policy, const Best& best);
// The notes that are not empty, joined by "; ".
QString joinNotes(std::initializer_list<QString> notes);

// Bytes the heap holds in use now (small blocks and mapped large ones).
qint64 heapInUse();

} // namespace bench
