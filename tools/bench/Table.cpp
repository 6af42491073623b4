#include "tools/bench/Table.h"

#include <QLocale>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>

namespace bench {

namespace {

constexpr const char* kRowFormat = "%s %s %13s %10s %8s %-15s %-4s %s\n";
constexpr int kActionColumns = 40;
constexpr int kSizeColumns = 26;

QString formatRatio(double x)
{
    return QString::number(x, 'f', x >= 100 ? 0 : 1) + u'x';
}

QString formatBytes(double bytes)
{
    return bytes >= 1024 ? QString::number(bytes / 1024, 'f', 2) + QStringLiteral(" KB")
                         : QString::number(bytes, 'f', 0) + " B";
}

// Whether a value meets a limit; nothing when the value is missing.
std::optional<bool> within(const std::optional<double>& value, double limit, bool inclusive)
{
    if (!value)
        return std::nullopt;
    return inclusive ? *value <= limit : *value < limit;
}

// Columns a text takes on a terminal: a Chinese character takes two.
int displayColumns(const QString& text)
{
    static const std::pair<char16_t, char16_t> wide[] = {{0x1100, 0x115f}, {0x2e80, 0xa4cf}, {0xac00, 0xd7a3},
                                                         {0xf900, 0xfaff}, {0xfe30, 0xfe4f}, {0xff00, 0xff60},
                                                         {0xffe0, 0xffe6}};
    int columns = 0;
    for (const QChar c : text) {
        const bool isWide = std::any_of(std::begin(wide), std::end(wide), [c](const auto& range) {
            return c.unicode() >= range.first && c.unicode() <= range.second;
        });
        columns += isWide ? 2 : 1;
    }
    return columns;
}

// The text left-aligned in that many terminal columns.
QString padded(const QString& text, int columns)
{
    return text + QString(std::max(0, columns - displayColumns(text)), u' ');
}

void printLine(const QString& action, const QString& size, const QString& time, const QString& floor,
               const QString& ratio, const QString& target, const QString& ok, const QString& note)
{
    std::printf(kRowFormat, qPrintable(padded(action, kActionColumns)), qPrintable(padded(size, kSizeColumns)),
                qPrintable(time), qPrintable(floor), qPrintable(ratio), qPrintable(target), qPrintable(ok),
                qPrintable(note));
    std::fflush(stdout);
}

} // namespace

QString Target::text() const
{
    switch (kind) {
    case Kind::None:
        return QStringLiteral("-");
    case Kind::RatioAtMost:
        return QStringLiteral("<= %1").arg(formatRatio(limit));
    case Kind::BelowMs:
        return QStringLiteral("< %1").arg(formatMs(limit));
    case Kind::BytesPerRowAtMost:
        return QStringLiteral("<= %1/row").arg(formatBytes(limit));
    }
    return {};
}

QString formatMs(double ms)
{
    if (ms < 10)
        return QString::number(ms, 'f', 2) + QStringLiteral(" ms");
    if (ms < 100)
        return QString::number(ms, 'f', 1) + QStringLiteral(" ms");
    if (ms < 10000)
        return QString::number(ms, 'f', 0) + QStringLiteral(" ms");
    return QString::number(ms / 1000, 'f', 1) + QStringLiteral(" s");
}

QString formatCount(qint64 n)
{
    return QLocale(QLocale::English).toString(n);
}

QString compactCount(qint64 n)
{
    const auto scaled = [](double v, const char* unit) { return QString::number(v, 'g', 3) + QLatin1String(unit); };
    if (n >= 1000000)
        return scaled(n / 1e6, "M");
    if (n >= 1000)
        return scaled(n / 1e3, "k");
    return QString::number(n);
}

void Table::printHeader() const
{
    printLine(QStringLiteral("action"), QStringLiteral("size"), QStringLiteral("time"), QStringLiteral("floor"),
              QStringLiteral("ratio"), QStringLiteral("target"), QStringLiteral("met"), QStringLiteral("notes"));
    printRule();
}

void Table::printRule() const
{
    std::printf("%s\n", QString(140, u'-').toLatin1().constData());
    std::fflush(stdout);
}

Result& Result::target(Target t)
{
    target_ = t;
    return *this;
}

Result& Result::note(const QString& text)
{
    note_ = text;
    return *this;
}

// The ratio, the time or the bytes, whichever the target speaks of.
std::optional<bool> Table::meets(const Result& r)
{
    switch (r.target_.kind) {
    case Target::Kind::None:
        return std::nullopt;
    case Target::Kind::RatioAtMost:
        return within(r.ratio_, r.target_.limit, true);
    case Target::Kind::BelowMs:
        return within(r.ms_, r.target_.limit, false);
    case Target::Kind::BytesPerRowAtMost:
        return within(r.bytesPerRow_, r.target_.limit, true);
    }
    return std::nullopt;
}

void Table::print(Result r)
{
    if (!r.ratio_ && r.ms_ && r.floorMs_ && *r.floorMs_ > 0)
        r.ratio_ = *r.ms_ / *r.floorMs_;
    const std::optional<bool> ok = meets(r);
    if (ok && !*ok)
        ++misses_;
    const QString none = QStringLiteral("-");
    QString time = r.ms_ ? formatMs(*r.ms_) : none;
    if (r.bytesPerRow_)
        time = formatBytes(*r.bytesPerRow_) + QStringLiteral("/row");
    printLine(r.action_, r.size_, time, r.floorMs_ ? formatMs(*r.floorMs_) : none,
              r.ratio_ ? formatRatio(*r.ratio_) : none, r.target_.text(),
              ok ? (*ok ? QStringLiteral("yes") : QStringLiteral("NO")) : none, r.note_);
}

void Table::printFailure(const QString& action, const QString& size, const QString& reason)
{
    ++failures_;
    printLine(action, size, QStringLiteral("failed"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"),
              QStringLiteral("-"), reason);
}

} // namespace bench
