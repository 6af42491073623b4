#include "tools/bench/Measure.h"

#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <mutex>
#include <string>
#include <thread>

namespace bench {

namespace {

// Stops the process when a run overstays its time: the event loop is busy
// with the run, so only another thread can notice.
class Watchdog {
public:
    Watchdog() : thread_([this] { watch(); }) {}
    ~Watchdog()
    {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

    void arm(const QString& label, double seconds)
    {
        std::lock_guard lock(mutex_);
        label_ = label.toStdString();
        seconds_ = seconds;
        deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(qint64(seconds * 1000));
        armed_ = true;
        wake_.notify_all();
    }
    void disarm()
    {
        std::lock_guard lock(mutex_);
        armed_ = false;
    }

private:
    void watch()
    {
        std::unique_lock lock(mutex_);
        while (!quit_) {
            if (!armed_) {
                wake_.wait(lock);
                continue;
            }
            if (wake_.wait_until(lock, deadline_) == std::cv_status::timeout && armed_
                && std::chrono::steady_clock::now() >= deadline_) {
                std::fprintf(stdout, "\n%s: still running after %.0f s (--timeout); the benchmark stops here.\n",
                             label_.c_str(), seconds_);
                std::fflush(stdout);
                std::_Exit(3);
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    bool armed_ = false;
    bool quit_ = false;
    std::string label_;
    double seconds_ = 0;
    std::chrono::steady_clock::time_point deadline_;
    std::thread thread_;
};

Watchdog& watchdog()
{
    static Watchdog dog;
    return dog;
}

} // namespace

void Best::add(double ms)
{
    best_ = runs_ == 0 ? ms : std::min(best_, ms);
    ++runs_;
}

double timeOnce(const RunPolicy& policy, const QString& label, const std::function<void()>& fn)
{
    watchdog().arm(label, policy.timeoutSeconds);
    QElapsedTimer timer;
    timer.start();
    try {
        fn();
    } catch (...) {
        watchdog().disarm();
        throw;
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    watchdog().disarm();
    return ms;
}

bool wantsAnotherRun(const RunPolicy& policy, const Best& best)
{
    if (best.empty())
        return true;
    if (best.ms() > policy.singleRunAfterSeconds * 1000)
        return false;
    return best.runs() < policy.runs;
}

Best timeBest(const RunPolicy& policy, const QString& label, const std::function<void()>& fn,
              const std::function<void()>& prepare)
{
    Best best;
    while (wantsAnotherRun(policy, best)) {
        if (prepare)
            prepare();
        best.add(timeOnce(policy, label, fn));
    }
    return best;
}

QString runsNote(const RunPolicy& policy, const Best& best)
{
    if (best.runs() >= policy.runs)
        return {};
    return QStringLiteral("%1 run%2 only: over %3 s each")
        .arg(best.runs())
        .arg(best.runs() == 1 ? "" : "s")
        .arg(policy.singleRunAfterSeconds);
}

QString joinNotes(std::initializer_list<QString> notes)
{
    QStringList parts;
    for (const QString& n : notes)
        if (!n.isEmpty())
            parts << n;
    return parts.join(QStringLiteral("; "));
}

qint64 heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks) + qint64(info.hblkhd);
}

} // namespace bench
