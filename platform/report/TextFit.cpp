#include "platform/report/TextFit.h"

#include <QFont>
#include <QFontMetricsF>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <limits>
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

// Characters that take no more than their own advance wherever they stand in
// a line: Latin, CJK and their punctuation. Controls, tabs, combining marks,
// complex scripts and surrogates depend on their neighbours or position.
bool standsAlone(char16_t c)
{
    const auto in = [c](char16_t first, char16_t last) { return c >= first && c <= last; };
    return in(0x20, 0x7e) || in(0xa0, 0x2ff) || in(0x2010, 0x2027) || in(0x2030, 0x205e) || in(0x2e80, 0x9fff)
           || in(0xf900, 0xfaff) || in(0xfe30, 0xfe4f) || in(0xff01, 0xffee);
}

// A character's advance at the reference size, measured once.
double ownAdvance(char16_t c, bool bold)
{
    static std::vector<float> advances[2] = {std::vector<float>(0x10000, -1), std::vector<float>(0x10000, -1)};
    float& advance = advances[bold ? 1 : 0][c];
    if (advance < 0)
        advance = float(metrics(bold).horizontalAdvance(QString(QChar(c))));
    return advance;
}

// How far kerning may move a pair apart. A pair of Basic Latin characters is
// measured once; any other is allowed a tenth of an em, more than the report
// font moves any pair (0.06 em).
double kerningAllowance(char16_t left, char16_t right, bool bold)
{
    constexpr int kLatin = 0x80;
    if (left >= kLatin || right >= kLatin)
        return 0.1 * kReferencePixels;
    static std::vector<float> apart[2] = {std::vector<float>(kLatin * kLatin, -1),
                                          std::vector<float>(kLatin * kLatin, -1)};
    float& allowance = apart[bold ? 1 : 0][left * kLatin + right];
    if (allowance < 0) {
        const double pair = metrics(bold).horizontalAdvance(QString(QChar(left)) + QChar(right));
        allowance = float(std::max(0.0, pair - ownAdvance(left, bold) - ownAdvance(right, bold)));
    }
    return allowance;
}

// What a text may take on one line at most, without shaping it: each
// character's own advance, and what kerning may add between neighbours.
// Infinite when a character does not stand alone.
double widthBound(const QString& text, bool bold)
{
    double bound = 0;
    char16_t previous = 0;
    for (const QChar c : text) {
        if (!standsAlone(c.unicode()))
            return std::numeric_limits<double>::infinity();
        bound += ownAdvance(c.unicode(), bold);
        if (previous)
            bound += kerningAllowance(previous, c.unicode(), bold);
        previous = c.unicode();
    }
    return bound;
}

// Whether the bound alone shows that a text fits the width on one line (a
// text with a line break never does).
bool surelyFits(const QString& text, double pointSize, bool bold, double widthMm)
{
    return widthBound(text, bold) * mmPerReferencePixel(pointSize) <= widthMm;
}

// Whether a text without line breaks fits the width on one line: shaped only
// when the bound leaves it in doubt.
bool fitsOneLine(const QString& text, double pointSize, bool bold, double widthMm)
{
    return surelyFits(text, pointSize, bold, widthMm) || textWidthMm(text, pointSize, bold) <= widthMm;
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
    if (!laid.contains(QChar::LineSeparator) && fitsOneLine(laid, pointSize, bold, widthMm))
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
    if (surelyFits(text, pointSize, bold, width) || lineCount(pointSize) == 1)
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
