#include "platform/report/TextFit.h"

#include <QFont>
#include <QFontMetricsF>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <vector>

namespace report {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPointsPerInch = 72.0;
// Texts are measured at this pixel size and scaled: large enough that
// rounding plays no part, so a measure holds at any size on any device.
constexpr int kReferencePixels = 1000;
constexpr double kSizeStep = 0.5;  // points
constexpr double kSmallestPoints = 7;
constexpr double kSmallestShare = 0.7;
constexpr double kTolerance = 1e-6;

QFont referenceFont(bool bold)
{
    QFont f(QString::fromLatin1(kFontFamily));
    f.setPixelSize(kReferencePixels);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

const QFontMetricsF& metrics(bool bold)
{
    static const QFontMetricsF regular(referenceFont(false));
    static const QFontMetricsF heavy(referenceFont(true));
    return bold ? heavy : regular;
}

double mmPerReferencePixel(double pointSize)
{
    return pointSize / kPointsPerInch * kMmPerInch / kReferencePixels;
}

QString withLineSeparators(QString text)
{
    text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return text;
}

// The sizes a text may take, largest first: from its own size down in half
// points to its smallest.
std::vector<double> sizesFrom(double pointSize)
{
    const double smallest = smallestPointSize(pointSize);
    std::vector<double> sizes;
    for (double s = pointSize; s > smallest + kTolerance; s -= kSizeStep)
        sizes.push_back(s);
    sizes.push_back(smallest);
    return sizes;
}

} // namespace

double textWidthMm(const QString& text, double pointSize, bool bold)
{
    return metrics(bold).horizontalAdvance(text) * mmPerReferencePixel(pointSize);
}

double lineHeightMm(double pointSize, bool bold)
{
    return metrics(bold).lineSpacing() * mmPerReferencePixel(pointSize);
}

QStringList breakLines(const QString& text, double pointSize, bool bold, double widthMm)
{
    const QString laid = withLineSeparators(text);
    if (widthMm <= 0 || pointSize <= 0)
        return {text};
    if (!laid.contains(QChar::LineSeparator) && textWidthMm(laid, pointSize, bold) <= widthMm)
        return {text};

    QTextLayout layout(laid, referenceFont(bold));
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
        line.setLineWidth(widthMm / mmPerReferencePixel(pointSize));
    layout.endLayout();

    QStringList lines;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        QString part = laid.mid(line.textStart(), line.textLength());
        part.remove(QChar::LineSeparator);
        // Blanks where a line breaks would push an aligned line off its place.
        if (i + 1 < layout.lineCount())
            while (!part.isEmpty() && part.back().isSpace())
                part.chop(1);
        lines << part;
    }
    return lines;
}

QStringList linesOf(const TextItem& item)
{
    return breakLines(item.text, item.pointSize, item.bold, item.rect.width() - 2 * kTextInsetMm);
}

double smallestPointSize(double pointSize)
{
    return std::min(pointSize, std::max(kSmallestPoints, pointSize * kSmallestShare));
}

FittedText fitText(const QString& text, double pointSize, bool bold, const QSizeF& box)
{
    const double width = box.width() - 2 * kTextInsetMm;
    const FittedText asDesigned{pointSize, 1, box.height()};
    if (text.isEmpty() || width <= 0 || pointSize <= 0)
        return asDesigned;
    auto lineCount = [&](double size) { return int(breakLines(text, size, bold, width).size()); };
    if (lineCount(pointSize) == 1)
        return asDesigned;

    const std::vector<double> sizes = sizesFrom(pointSize);
    // Sizes whose single line would still be too wide are skipped unmeasured.
    const double widest = textWidthMm(withLineSeparators(text), pointSize, bold);
    const double oneLine = pointSize * width / widest;
    for (double s : sizes)
        if (s <= oneLine + kTolerance && lineCount(s) == 1)
            return {s, 1, box.height()};

    for (double s : sizes) {
        const int n = lineCount(s);
        if (n * lineHeightMm(s, bold) <= box.height() + kTolerance)
            return {s, n, box.height()};
    }
    const double s = sizes.back();
    const int n = lineCount(s);
    return {s, n, std::max(box.height(), n * lineHeightMm(s, bold))};
}

} // namespace report
