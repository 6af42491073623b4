#pragma once

#include <QString>
#include <optional>

// The benchmark's output: one line per measurement, printed as soon as it is
// known, so a long run shows its figures as it goes.
namespace bench {

// What a measurement is held against.
struct Target {
    enum class Kind { None, RatioAtMost, BelowMs, BytesPerRowAtMost };
    Kind kind = Kind::None;
    double limit = 0;

    static Target none() { return {}; }
    static Target ratioAtMost(double x) { return {Kind::RatioAtMost, x}; }
    static Target belowMs(double ms) { return {Kind::BelowMs, ms}; }
    static Target bytesPerRowAtMost(double bytes) { return {Kind::BytesPerRowAtMost, bytes}; }
    QString text() const;
};

struct Result {
    QString action;
    QString size;
    std::optional<double> ms;       // the program's time
    std::optional<double> floorMs;  // the raw floor in the same run
    std::optional<double> ratio;    // ms / floorMs unless given
    std::optional<double> bytesPerRow;
    Target target;
    QString note;                   // runs taken, checks that failed
};

class Table {
public:
    void printHeader() const;
    void print(Result r);
    // A measurement that could not be taken, with the reason.
    void printFailure(const QString& action, const QString& size, const QString& reason);
    void printRule() const;
    int misses() const { return misses_; }
    int failures() const { return failures_; }

private:
    int misses_ = 0;
    int failures_ = 0;
};

QString formatMs(double ms);
QString formatCount(qint64 n);  // 1,000,000
QString compactCount(qint64 n); // 1M, 365k, 28.8k

} // namespace bench
