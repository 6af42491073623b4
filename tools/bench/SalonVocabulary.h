#pragma once

#include <QChar>
#include <QString>
#include <algorithm>
#include <vector>

// The words of a generated salon: Chinese names, addresses, the card levels,
// the service menu and the goods on the shelves.
namespace bench {

// A small generator of our own: the same seed gives the same salon with any
// compiler and library.
class Random {
public:
    explicit Random(quint64 seed) : state_(seed) {}
    quint64 next()
    {
        quint64 z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 1 ? 0 : int(next() % quint64(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    double unit() { return double(next() >> 11) * 0x1.0p-53; }
    bool chance(double p) { return unit() < p; }
    // Favours the front of a list, as a few items and goods sell most.
    int skewed(int n) { return std::min(n - 1, int(n * unit() * unit())); }
    template <typename T>
    const T& pick(const std::vector<T>& from)
    {
        return from[size_t(below(int(from.size())))];
    }
    QChar pickChar(const QString& from) { return from[below(int(from.size()))]; }

private:
    quint64 state_;
};

QString chineseName(Random& r, bool female);
QString mobileNumber(Random& r);
QString address(Random& r);
QString companyName(Random& r);
QString productionPlace(Random& r);

// The five card levels, in ascending order.
struct CardLevel {
    const char* code;
    const char* note;
    double threshold; // accumulated spend
    double deposit;
    int rebate; // percent of the price paid
};
inline constexpr int kLevelCount = 5;
extern const CardLevel kCardLevels[kLevelCount];
// The level an accumulated spend reaches.
int levelOf(double spend);

// The menu: plain items first (the popular front), then their variants.
struct ServiceItem {
    QString name;
    QString type;
    int price;
    int minutes;
    int stylistRate, middleRate, assistantRate; // percents
};
ServiceItem serviceItem(int index);

// Brand, product, spec and type make a goods record distinct up to
// 20 brands × 25 products × 40 spec and type pairs, numbered beyond that.
struct GoodsItem {
    QString name;
    QString spec;
    QString type;
    QString kind;
    QString unit;
};
GoodsItem goodsItem(int index);

} // namespace bench
