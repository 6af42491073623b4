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

// One line of the table, told field by field:
//   Result(action, size).time(ms).floor(floorMs).target(Target::ratioAtMost(2)).note(text)
class Result {
public:
    Result(const QString& action, const QString& size) : action_(action), size_(size) {}
    Result& time(double ms) { return set(ms_, ms); }       // the program's time
    Result& floor(double ms) { return set(floorMs_, ms); } // the raw floor in the same run
    Result& ratio(double x) { return set(ratio_, x); }     // time / floor unless given
    Result& bytesPerRow(double bytes) { return set(bytesPerRow_, bytes); }
    Result& target(Target t);
    Result& note(const QString& text);

private:
    friend class Table;
    template <typename T>
    Result& set(std::optional<T>& field, T value)
    {
        field = value;
        return *this;
    }

    QString action_, size_;
    std::optional<double> ms_, floorMs_, ratio_, bytesPerRow_;
    Target target_;
    QString note_;
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
    static std::optional<bool> meets(const Result& r);

    int misses_ = 0;
    int failures_ = 0;
};

QString formatMs(double ms);
QString formatCount(qint64 n);  // 1,000,000
QString compactCount(qint64 n); // 1M, 365k, 28.8k

} // namespace bench
