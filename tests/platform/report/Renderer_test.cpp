#include "platform/report/Renderer.h"

#include "ReportFixture.h"

#include "tests/support/ReportText.h"

#include <stdexcept>

using namespace report;

namespace {

QStringList codesOn(const Page& page)
{
    QStringList codes;
    for (const TextItem& t : page.texts)
        if (t.band == BandKind::Detail && t.rect.x() < 20)
            codes << t.text;
    return codes;
}

QStringList codes(int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << QStringLiteral("%1").arg(i, 2, 10, QChar('0'));
    return out;
}

} // namespace

using RendererTest = ReportFixture;

TEST_F(RendererTest, PageCountFollowsTheRowsAndTheSummary)
{
    struct Case {
        const char* name;
        int rows;
        int pages;
    };
    // Page 1 holds 4 rows, later pages 5; the summary needs one row's room.
    const Case cases[] = {
        {"no rows: headers and summary", 0, 1},
        {"summary fits below three rows", 3, 1},
        {"full first page pushes the summary over", 4, 2},
        {"second page has room for the summary", 8, 2},
        {"full second page", 9, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        conn.execute(QStringLiteral("delete from goods"));
        addRows(c.rows);
        EXPECT_EQ(render(r).pageCount(), c.pages);
    }
}

TEST_F(RendererTest, RowsFlowOntoPagesInOrder)
{
    addRows(11);
    PageModel m = render(r);
    ASSERT_EQ(m.pageCount(), 3);
    EXPECT_EQ(codesOn(m.pages[0]), codes(1, 4));
    EXPECT_EQ(codesOn(m.pages[1]), codes(5, 9));
    EXPECT_EQ(codesOn(m.pages[2]), codes(10, 11));
}

TEST_F(RendererTest, HeadersRepeatOnEveryPageButTheTitleOnlyOnTheFirst)
{
    addRows(9);
    PageModel m = render(r);
    ASSERT_EQ(m.pageCount(), 3);
    for (int p = 0; p < m.pageCount(); ++p) {
        SCOPED_TRACE(p + 1);
        const Page& page = m.pages[size_t(p)];
        EXPECT_EQ(page.textsOf(BandKind::PageHeader), QStringList{QStringLiteral("库存报表")});
        EXPECT_EQ(page.textsOf(BandKind::ColumnHeader),
                  (QStringList{QStringLiteral("编码"), QStringLiteral("名称"), QStringLiteral("数量")}));
        ASSERT_NE(page.findText(QStringLiteral("库存报表")), nullptr);
        EXPECT_DOUBLE_EQ(page.findText(QStringLiteral("库存报表"))->rect.top(), 10);
    }
    EXPECT_EQ(m.pages[0].countText(QStringLiteral("首页标题")), 1);
    EXPECT_EQ(m.pages[1].countText(QStringLiteral("首页标题")), 0);
    EXPECT_EQ(m.pages[2].countText(QStringLiteral("首页标题")), 0);
}

TEST_F(RendererTest, BandsStackBelowEachOtherWithinTheMargins)
{
    addRows(6);
    PageModel m = render(r);
    ASSERT_EQ(m.pageCount(), 2);
    // Page 1: page header at 10, title at 20, column header at 30, rows from 40.
    EXPECT_DOUBLE_EQ(m.pages[0].findText(QStringLiteral("首页标题"))->rect.top(), 20);
    EXPECT_DOUBLE_EQ(m.pages[0].findText(QStringLiteral("编码"))->rect.top(), 30);
    EXPECT_DOUBLE_EQ(m.pages[0].findText(QStringLiteral("01"))->rect.top(), 40);
    EXPECT_DOUBLE_EQ(m.pages[0].findText(QStringLiteral("04"))->rect.top(), 70);
    // Page 2 has no title: the column header moves up to 20.
    EXPECT_DOUBLE_EQ(m.pages[1].findText(QStringLiteral("编码"))->rect.top(), 20);
    EXPECT_DOUBLE_EQ(m.pages[1].findText(QStringLiteral("05"))->rect.top(), 30);
    // The left margin shifts every element.
    EXPECT_DOUBLE_EQ(m.pages[1].findText(QStringLiteral("05"))->rect.left(), 10);
    EXPECT_DOUBLE_EQ(m.pages[1].findText(QStringLiteral("商品5"))->rect.left(), 30);
}

TEST_F(RendererTest, SummaryFollowsTheLastRowOnce)
{
    addRows(6);
    PageModel m = render(r);
    ASSERT_EQ(m.pageCount(), 2);
    EXPECT_EQ(m.pages[0].countText(QStringLiteral("合计")), 0);
    ASSERT_EQ(m.pages[1].countText(QStringLiteral("合计")), 1);
    const TextItem* last = m.pages[1].findText(QStringLiteral("06"));
    ASSERT_NE(last, nullptr);
    EXPECT_DOUBLE_EQ(m.pages[1].findText(QStringLiteral("合计"))->rect.top(), last->rect.bottom());
}

TEST_F(RendererTest, FooterSitsOnTheBottomMarginOfEveryPage)
{
    addRows(9);
    PageModel m = render(r);
    ASSERT_EQ(m.pageCount(), 3);
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(p + 1);
        const QStringList footer = m.pages[size_t(p)].textsOf(BandKind::PageFooter);
        ASSERT_EQ(footer, QStringList{QStringLiteral("第 %1 页 共 3 页").arg(p + 1)});
        EXPECT_DOUBLE_EQ(m.pages[size_t(p)].findText(footer[0])->rect.bottom(), 90);
    }
}

TEST_F(RendererTest, NoDetailReachesIntoTheFooter)
{
    addRows(23);
    PageModel m = render(r);
    for (const Page& page : m.pages)
        for (const TextItem& t : page.texts)
            if (t.band != BandKind::PageFooter) {
                EXPECT_LE(t.rect.bottom(), 80) << t.text.toStdString();
            }
}

TEST_F(RendererTest, FieldsPrintTheDatasetsDisplayTextAndNullAsBlank)
{
    conn.execute(QStringLiteral("insert into goods values ('A', '洗发水', 1234.5678, 1)"));
    conn.execute(QStringLiteral("insert into goods values ('B', null, 3, 1)"));
    conn.execute(QStringLiteral("insert into goods values ('C', '护发素', null, 1)"));
    lines->open();
    PageModel m = render(r);
    ASSERT_EQ(m.pageCount(), 1);
    EXPECT_EQ(m.pages[0].textsOf(BandKind::Detail),
              (QStringList{QStringLiteral("A"), QStringLiteral("洗发水"), QStringLiteral("1234.57"),
                           QStringLiteral("B"), QString(), QStringLiteral("3"),
                           QStringLiteral("C"), QStringLiteral("护发素"), QString()}));
}

TEST_F(RendererTest, FieldOfAnotherDatasetPrintsItsCurrentRow)
{
    db::Dataset shop(conn, QStringLiteral("ShopQ"));
    shop.setSql(QStringLiteral("select name, phone from shop order by phone"));
    shop.open();
    shop.setRecNo(1);
    r.pageHeader().addField({0, 0, 40, kRow}, QStringLiteral("name"), {}, &shop);
    addRows(6);

    PageModel m = render(r);
    ASSERT_EQ(m.pageCount(), 2);
    EXPECT_EQ(m.pages[0].countText(QStringLiteral("西城店")), 1);
    EXPECT_EQ(m.pages[1].countText(QStringLiteral("西城店")), 1);
    EXPECT_EQ(m.pages[0].countText(QStringLiteral("东方美发")), 0);
    EXPECT_EQ(shop.recNo(), 1);
}

TEST_F(RendererTest, WalksWithControlsDisabledAndRestoresTheCallersRow)
{
    addRows(6);
    lines->setRecNo(3);
    std::vector<bool> disabledDuringWalk;
    r.detail().addComputed({80, 0, 0, kRow}, [&] {
        disabledDuringWalk.push_back(lines->controlsDisabled());
        return QString();
    });
    int moves = 0;
    QObject::connect(lines.get(), &db::Dataset::currentChanged, [&](int) { ++moves; });

    render(r);

    EXPECT_EQ(disabledDuringWalk, std::vector<bool>(6, true));
    EXPECT_EQ(lines->recNo(), 3);
    EXPECT_EQ(lines->asString(QStringLiteral("code")), QStringLiteral("04"));
    EXPECT_FALSE(lines->controlsDisabled());
    // Bound widgets may be told once that the cursor is back, never row by row.
    EXPECT_LE(moves, 1);
}

TEST_F(RendererTest, RestoresTheCallersRowWhenRenderingFails)
{
    addRows(3);
    lines->setRecNo(1);
    r.detail().addField({80, 0, 10, kRow}, QStringLiteral("no_such_field"));
    EXPECT_THROW(render(r), std::invalid_argument);
    EXPECT_EQ(lines->recNo(), 1);
    EXPECT_FALSE(lines->controlsDisabled());
}

TEST_F(RendererTest, ComputedTextsAreEvaluatedWhereTheyArePlaced)
{
    addRows(3);
    double total = 0;
    r.detail().addComputed({80, 0, 0, kRow}, [&] {
        total += lines->asFloat(QStringLiteral("qty"));
        return QString();
    });
    r.summary().addComputed({40, 0, 40, kRow}, [&] { return db::formatAmount(total); });
    PageModel m = render(r);
    EXPECT_EQ(m.pages.back().textsOf(BandKind::Summary), (QStringList{QStringLiteral("合计"), QStringLiteral("6")}));
}

TEST_F(RendererTest, WithoutAnOpenDatasetOnlyTheFixedBandsPrint)
{
    PageModel m = render(r);
    ASSERT_EQ(m.pageCount(), 1);
    EXPECT_TRUE(m.pages[0].textsOf(BandKind::Detail).isEmpty());
    EXPECT_EQ(m.pages[0].countText(QStringLiteral("合计")), 1);
    EXPECT_EQ(m.pages[0].countText(QStringLiteral("第 1 页 共 1 页")), 1);
}

TEST_F(RendererTest, ABandTallerThanThePageStillPrintsOncePerPage)
{
    r.detail().setHeight(200);
    r.summary() = Band();
    addRows(3);
    PageModel m = render(r);
    ASSERT_EQ(m.pageCount(), 3);
    EXPECT_EQ(codesOn(m.pages[2]), codes(3, 3));
}

TEST_F(RendererTest, LabelsTakeTheTextSetByName)
{
    r.setText(QStringLiteral("Heading"), QStringLiteral("东方美发进货单"));
    PageModel m = render(r);
    EXPECT_EQ(m.pages[0].textsOf(BandKind::PageHeader), QStringList{QStringLiteral("东方美发进货单")});
}

TEST_F(RendererTest, LinesFramesAndFramedTextsArePlacedInPageCoordinates)
{
    r.detail().addLine({0, kRow, 80, kRow}, 0.3);
    r.columnHeader().addFrame({0, 0, 80, kRow});
    r.summary().addLabel({}, {40, 0, 40, kRow}, QStringLiteral("框"), {10, false, Align::Left, true});
    addRows(2);
    PageModel m = render(r);
    ASSERT_EQ(m.pageCount(), 1);
    const Page& page = m.pages[0];

    ASSERT_EQ(page.lines.size(), 2u);
    EXPECT_EQ(page.lines[0].line, QLineF(10, 50, 90, 50));
    EXPECT_EQ(page.lines[1].line, QLineF(10, 60, 90, 60));
    EXPECT_DOUBLE_EQ(page.lines[0].width, 0.3);

    ASSERT_EQ(page.frames.size(), 2u);
    EXPECT_EQ(page.frames[0].rect, QRectF(10, 30, 80, kRow));
    EXPECT_EQ(page.frames[0].band, BandKind::ColumnHeader);
    EXPECT_EQ(page.frames[1].rect, page.findText(QStringLiteral("框"))->rect);
}

TEST_F(RendererTest, DateTextsPrintThePrintDate)
{
    r.pageFooter().addDate({0, 0, 40, kRow}, QStringLiteral("打印日期：%1"));
    r.setPrintDate(QDate(2024, 3, 1));
    PageModel m = render(r);
    EXPECT_EQ(m.pages[0].countText(QStringLiteral("打印日期：2024-03-01")), 1);
}

TEST_F(RendererTest, ModelCarriesThePaperAndStylesOfItsTexts)
{
    r.setDocumentName(QStringLiteral("库存报表"));
    PageModel m = render(r);
    EXPECT_EQ(m.paperSize, QSizeF(100, 100));
    EXPECT_EQ(m.margins, QMarginsF(10, 10, 10, 10));
    EXPECT_EQ(m.documentName, QStringLiteral("库存报表"));
    const TextItem* heading = m.pages[0].findText(QStringLiteral("库存报表"));
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->pointSize, 14);
    EXPECT_TRUE(heading->bold);
    EXPECT_EQ(heading->align, Align::Center);
}

// The name column is 40 mm wide and its rows 10 mm tall, at 10 points; the
// long name goes on row "00", before rows "01".. of addRows.
class RendererFitTest : public RendererTest {
protected:
    void addLongRow(const QString& name)
    {
        conn.execute(QStringLiteral("insert into goods values ('00', :name, 7, 1)"), {{QStringLiteral("name"), name}});
        addRows(1);
    }
};

TEST_F(RendererFitTest, ATextWiderThanItsCellShrinksOntoOneLine)
{
    const QString name = QStringLiteral("丝蕴深层滋养修护洗发露家庭装");  // 14 characters, about 49 mm
    addLongRow(name);
    const PageModel m = render(r);
    const TextItem* cell = m.pages[0].findText(name);
    ASSERT_NE(cell, nullptr);
    EXPECT_TRUE(printsWhole(*cell));
    EXPECT_EQ(linesOf(*cell).size(), 1);
    EXPECT_LT(cell->pointSize, 10);
    EXPECT_GE(cell->pointSize, smallestPointSize(10));
    EXPECT_EQ(cell->rect, QRectF(30, 40, 40, kRow));
    // A text that fits keeps its size.
    EXPECT_EQ(m.pages[0].findText(QStringLiteral("商品1"))->pointSize, 10);
}

TEST_F(RendererFitTest, ATextTooWideEvenWhenShrunkWrapsWithinItsRow)
{
    // 24 characters: three lines at 10 points would not fit the row's height.
    const QString name = QStringLiteral("广州市天河区丽人美容美发用品有限公司天河北路分店");
    addLongRow(name);
    const PageModel m = render(r);
    const TextItem* cell = m.pages[0].findText(name);
    ASSERT_NE(cell, nullptr);
    EXPECT_TRUE(printsWhole(*cell));
    EXPECT_EQ(linesOf(*cell).size(), 2);
    EXPECT_LT(cell->pointSize, 10);
    EXPECT_EQ(cell->rect, QRectF(30, 40, 40, kRow));
    // The row keeps its height: the next one starts where it did.
    EXPECT_DOUBLE_EQ(m.pages[0].findText(QStringLiteral("01"))->rect.top(), 50);
}

TEST_F(RendererFitTest, ATextThatNeedsMoreLinesThanItsRowHoldsMakesTheRowTaller)
{
    const QString name = QStringLiteral("广州市天河区丽人美容美发用品有限公司").repeated(4);
    addLongRow(name);
    r.detail().addLine({0, kRow, 80, kRow});
    const PageModel m = render(r);
    ASSERT_EQ(m.pageCount(), 1);
    const Page& page = m.pages[0];
    const TextItem* cell = page.findText(name);
    ASSERT_NE(cell, nullptr);
    EXPECT_TRUE(printsWhole(*cell));
    EXPECT_EQ(cell->pointSize, smallestPointSize(10));
    EXPECT_GT(cell->rect.height(), kRow);
    // The other cells of the row grow with it; its ruled line and the next
    // row move down below it.
    EXPECT_EQ(page.findText(QStringLiteral("00"))->rect, QRectF(10, 40, 20, cell->rect.height()));
    EXPECT_EQ(page.findText(QStringLiteral("7"))->rect, QRectF(70, 40, 20, cell->rect.height()));
    ASSERT_EQ(page.lines.size(), 2u);
    EXPECT_DOUBLE_EQ(page.lines[0].line.y1(), cell->rect.bottom());
    EXPECT_DOUBLE_EQ(page.findText(QStringLiteral("01"))->rect.top(), cell->rect.bottom());
}

// Texts are measured only when they might not fit: one only just wider than
// its box must still be shrunk, whatever its characters and their kerning
// ("(L" stands wider than its two characters, "AV" narrower).
TEST(TextFitTest, ATextOnlyJustWiderThanItsBoxIsShrunkAndOneThatFitsIsNot)
{
    const QStringList texts = {QStringLiteral("(L(L(L(L(L"), QStringLiteral("AVAVAVAV"),
                               QStringLiteral("20241231140000"), QStringLiteral("2024-12-31"),
                               QStringLiteral("欧莱雅洗发水"), QStringLiteral("Lo(中)L(卡)")};
    for (const QString& text : texts)
        for (const bool bold : {false, true}) {
            SCOPED_TRACE(text.toStdString() + (bold ? " bold" : ""));
            const double box = textWidthMm(text, 10, bold) + 2 * kTextInsetMm;
            EXPECT_LT(fitText(text, 10, bold, QSizeF(box - 0.01, 6)).pointSize, 10);
            EXPECT_EQ(fitText(text, 10, bold, QSizeF(box + 0.001, 6)).pointSize, 10);
            EXPECT_EQ(breakLines(text, 10, bold, box - 2 * kTextInsetMm - 0.01).size(), 2);
        }
}
