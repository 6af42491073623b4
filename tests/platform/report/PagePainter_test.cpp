#include "platform/report/PagePainter.h"

#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace report;

namespace {

PageModel sampleModel(int pages)
{
    PageModel m;
    m.paperSize = {218, 140};
    m.documentName = QStringLiteral("销售单");
    for (int i = 0; i < pages; ++i) {
        Page p;
        p.texts.push_back({{10, 10, 198, 10}, QStringLiteral("东方美发销售单"), 14, true, Align::Center,
                           BandKind::PageHeader});
        p.texts.push_back({{10, 120, 198, 10}, QStringLiteral("第 %1 页").arg(i + 1), 10, false, Align::Right,
                           BandKind::PageFooter});
        p.frames.push_back({{10, 30, 50, 8}, 0.2, BandKind::Detail});
        m.pages.push_back(p);
    }
    return m;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray inflateOrRaw(const QByteArray& data)
{
    // qUncompress wants the zlib stream behind a big-endian size hint; it
    // grows its buffer when the hint is short.
    QByteArray prefixed("\x00\x01\x00\x00", 4);
    prefixed += data;
    const QByteArray out = qUncompress(prefixed);
    return out.isEmpty() ? data : out;
}

std::vector<QByteArray> pdfStreams(const QByteArray& pdf)
{
    std::vector<QByteArray> out;
    static const QRegularExpression start(QStringLiteral("stream\\r?\\n"));
    qsizetype pos = 0;
    const QString text = QString::fromLatin1(pdf);
    while (true) {
        const QRegularExpressionMatch m = start.match(text, pos);
        if (!m.hasMatch())
            break;
        const qsizetype begin = m.capturedEnd();
        const qsizetype end = pdf.indexOf("endstream", begin);
        if (end < 0)
            break;
        out.push_back(inflateOrRaw(pdf.mid(begin, end - begin)));
        pos = end + 9;
    }
    return out;
}

QString utf16FromHex(const QString& hex)
{
    QString s;
    for (qsizetype i = 0; i + 4 <= hex.size(); i += 4)
        s += QChar(char16_t(hex.mid(i, 4).toUShort(nullptr, 16)));
    return s;
}

// The characters a PDF text extractor can recover: the destinations of every
// ToUnicode map (bfchar pairs and bfrange runs or lists).
QSet<QChar> extractableCharacters(const QByteArray& pdf)
{
    QSet<QChar> chars;
    static const QRegularExpression hex(QStringLiteral("<([0-9A-Fa-f]+)>"));
    auto add = [&](const QString& text) {
        for (QChar c : text)
            chars.insert(c);
    };
    for (const QByteArray& stream : pdfStreams(pdf)) {
        const QString cmap = QString::fromLatin1(stream);
        if (!cmap.contains(QLatin1String("begincmap")))
            continue;
        enum { None, Char, Range } section = None;
        for (const QString& line : cmap.split(QLatin1Char('\n'))) {
            if (line.contains(QLatin1String("beginbfchar"))) { section = Char; continue; }
            if (line.contains(QLatin1String("beginbfrange"))) { section = Range; continue; }
            if (line.contains(QLatin1String("endbf"))) { section = None; continue; }
            QStringList tokens;
            for (const QRegularExpressionMatch& m : hex.globalMatch(line))
                tokens << m.captured(1);
            if (section == Char && tokens.size() >= 2) {
                add(utf16FromHex(tokens[1]));
            } else if (section == Range && tokens.size() >= 3) {
                if (line.contains(QLatin1Char('['))) {
                    for (int i = 2; i < tokens.size(); ++i)
                        add(utf16FromHex(tokens[i]));
                } else {
                    const int span = tokens[1].toInt(nullptr, 16) - tokens[0].toInt(nullptr, 16);
                    const char16_t first = utf16FromHex(tokens[2]).at(0).unicode();
                    for (int i = 0; i <= span; ++i)
                        chars.insert(QChar(char16_t(first + i)));
                }
            }
        }
    }
    return chars;
}

int pdfPageCount(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s])"));
    int n = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); it.next())
        ++n;
    return n;
}

// Width in pixels of the inked columns of an image (non-white pixels anywhere).
int inkWidth(const QImage& img)
{
    int left = img.width(), right = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return right < left ? 0 : right - left + 1;
}

QImage paintText(double pointSize, double scale)
{
    PageModel m;
    m.paperSize = {100, 30};
    m.pages.resize(1);
    m.pages[0].texts.push_back({{0, 0, 100, 30}, QStringLiteral("库存报表"), pointSize, false, Align::Left,
                                BandKind::Title});
    QImage img(int(100 * scale), int(30 * scale), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    paintPage(painter, m, 0, scale);
    return img;
}

} // namespace

class PagePainterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFontDatabase::families().contains(QString::fromLatin1(kFontFamily)))
            GTEST_SKIP() << "font " << kFontFamily << " is not installed";
        ASSERT_TRUE(dir.isValid());
    }
    QTemporaryDir dir;
};

TEST_F(PagePainterTest, PdfExportKeepsChineseTextAsText)
{
    const QString path = dir.filePath(QStringLiteral("销售单.pdf"));
    ASSERT_TRUE(exportPdf(sampleModel(1), path));
    const QByteArray pdf = readAll(path);
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.contains("WenQuanYiMicroHei"));
    const QSet<QChar> chars = extractableCharacters(pdf);
    for (QChar c : QStringLiteral("东方美发销售单第页"))
        EXPECT_TRUE(chars.contains(c)) << QString(c).toStdString();
    EXPECT_FALSE(chars.contains(QChar(u'库')));
}

TEST_F(PagePainterTest, PdfHasOnePageOfTheModelsPaperPerModelPage)
{
    const QString path = dir.filePath(QStringLiteral("three.pdf"));
    ASSERT_TRUE(exportPdf(sampleModel(3), path));
    const QByteArray pdf = readAll(path);
    EXPECT_EQ(pdfPageCount(pdf), 3);

    static const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    const QRegularExpressionMatch m = box.match(QString::fromLatin1(pdf));
    ASSERT_TRUE(m.hasMatch());
    EXPECT_NEAR(m.captured(1).toDouble(), 218 / 25.4 * 72, 1.0);
    EXPECT_NEAR(m.captured(2).toDouble(), 140 / 25.4 * 72, 1.0);
}

TEST_F(PagePainterTest, PdfExportReportsAFileItCannotWrite)
{
    EXPECT_FALSE(exportPdf(sampleModel(1), dir.filePath(QStringLiteral("no/such/folder/x.pdf"))));
}

TEST_F(PagePainterTest, PrintingSetsThePrinterToTheModelsPaper)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    printer.setOutputFileName(path);
    ASSERT_TRUE(print(sampleModel(2), printer));

    const QSizeF paper = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
    EXPECT_NEAR(paper.width(), 218, 0.5);
    EXPECT_NEAR(paper.height(), 140, 0.5);
    const QByteArray pdf = readAll(path);
    EXPECT_EQ(pdfPageCount(pdf), 2);
    EXPECT_TRUE(extractableCharacters(pdf).contains(QChar(u'销')));
}

TEST_F(PagePainterTest, FramesAndTextsLandWhereTheModelPutsThem)
{
    const double scale = 4;  // px per mm
    const PageModel m = sampleModel(1);
    QImage img(int(218 * scale), int(140 * scale), QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter painter(&img);
        paintPage(painter, m, 0, scale);
    }
    // Any dark pixel within one pixel of the point, as thin rules round either way.
    auto dark = [&](double xMm, double yMm) {
        const int cx = int(xMm * scale), cy = int(yMm * scale);
        for (int x = cx - 1; x <= cx + 1; ++x)
            for (int y = cy - 1; y <= cy + 1; ++y)
                if (qGray(img.pixel(x, y)) < 200)
                    return true;
        return false;
    };
    // The frame at 10,30 50x8: its edges are drawn, its inside is not.
    EXPECT_TRUE(dark(10, 34));
    EXPECT_TRUE(dark(60, 34));
    EXPECT_FALSE(dark(35, 34));
    // Inked rows of the centred heading lie within its 10..20 mm band.
    int inked = 0;
    for (int x = 0; x < img.width(); ++x)
        for (int y = int(10 * scale); y < int(20 * scale); ++y)
            inked += qGray(img.pixel(x, y)) < 128;
    EXPECT_GT(inked, 50);
    for (int x = 0; x < img.width(); ++x)
        for (int y = int(40 * scale); y < int(115 * scale); ++y)
            ASSERT_EQ(img.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}

TEST_F(PagePainterTest, TextSizeFollowsPointsAndScaleNotTheDevice)
{
    const int base = inkWidth(paintText(10, 4));
    ASSERT_GT(base, 0);
    EXPECT_NEAR(inkWidth(paintText(20, 4)) / double(base), 2.0, 0.15);
    EXPECT_NEAR(inkWidth(paintText(10, 8)) / double(base), 2.0, 0.15);
    // A CJK character at 10 pt is about 3.5 mm wide: 14 px at 4 px/mm.
    EXPECT_NEAR(base / 4.0, 4 * 10 / 72.0 * 25.4, 2.0);
}

TEST_F(PagePainterTest, PaintingAPageOutsideTheModelDrawsNothing)
{
    QImage img(100, 100, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    paintPage(painter, sampleModel(1), 1, 1.0);
    paintPage(painter, sampleModel(1), -1, 1.0);
    painter.end();
    EXPECT_EQ(inkWidth(img), 0);
}

TEST_F(PagePainterTest, ATextWiderThanItsRectangleIsPaintedWholeOnLinesWithinIt)
{
    const double scale = 8;  // px per mm
    PageModel m;
    m.paperSize = {60, 30};
    m.pages.resize(1);
    const TextItem cell{{10, 10, 30, 8}, QStringLiteral("广州市天河区丽人美容美发用品有限公司"), 7, false, Align::Left,
                        BandKind::Detail};
    m.pages[0].texts.push_back(cell);
    ASSERT_EQ(linesOf(cell).size(), 2);
    QImage img(int(60 * scale), int(30 * scale), QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter painter(&img);
        paintPage(painter, m, 0, scale);
    }
    // Inked rows form one band per line, and no ink leaves the rectangle.
    int bands = 0;
    bool inBand = false;
    int left = img.width(), right = -1, top = img.height(), bottom = -1;
    for (int y = 0; y < img.height(); ++y) {
        bool inked = false;
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) {
                inked = true;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        bands += inked && !inBand;
        inBand = inked;
    }
    EXPECT_EQ(bands, 2);
    EXPECT_GE(left, int(10 * scale));
    EXPECT_LE(right, int(40 * scale));
    EXPECT_GE(top, int(10 * scale));
    EXPECT_LE(bottom, int(18 * scale));
}
