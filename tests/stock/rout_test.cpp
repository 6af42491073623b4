#include "stock/rout.h"

#include "tests/stock/PrintedDocumentFixture_test.h"

#include "core/Udatamod.h"
#include "stock/Uout.h"
#include "stock/Ureturnout.h"

namespace {

class SalePrintTest : public PrintedDocumentTest {
protected:
    const std::vector<Line> sevenLines{{"G01", 1, 8}, {"G02", 2, 12}, {"G03", 1, 35}, {"G01", 3, 8},
                                       {"G02", 1, 12}, {"G03", 2, 35}, {"G01", 1, 8}};

    // Prints the document the form shows; the pages previewed.
    report::PageModel print(StockDocumentForm& f)
    {
        report::PreviewCapture capture;
        click(f, "cmd_prin");
        EXPECT_EQ(capture.count(), 1);
        return capture.count() > 0 ? capture.last() : report::PageModel{};
    }
    static size_t printedLines(const report::PageModel& m)
    {
        size_t n = 0;
        for (const report::Page& p : m.pages)
            n += lines(p).size();
        return n;
    }
    QStringList outtempColumn(const char* field)
    {
        QStringList out;
        db::Dataset q(conn(), "probe");
        q.setSql(QStringLiteral("select %1 from outtemp order by in_id").arg(QString::fromLatin1(field)));
        q.open();
        for (; !q.eof(); q.next())
            out << q.displayText(QString::fromLatin1(field));
        return out;
    }
};

TEST_F(SalePrintTest, SevenLinesAtFivePerPagePrintTwoPagesFilledToTenLines)
{
    storeDocument("out", "S1", "out", sevenLines);
    describe("outmain", "S1");
    savePrintSettings(QStringLiteral("默认"), 218, 140, 5);
    auto f = openForm<TFrmOut>();
    ASSERT_EQ(f->billNoBox()->text(), "S1");

    const report::PageModel m = print(*f);
    EXPECT_EQ(m.paperSize, QSizeF(218, 140));
    ASSERT_EQ(m.pageCount(), 2);
    for (const report::Page& p : m.pages) {
        EXPECT_EQ(p.textsOf(report::BandKind::PageHeader).first(), QStringLiteral("丽发美容销售单"));
        EXPECT_EQ(headerAfter(p, QStringLiteral("单流水号")), "S1");
        EXPECT_EQ(headerAfter(p, QStringLiteral("公司名称")), QStringLiteral("华美供应"));
        EXPECT_EQ(headerAfter(p, QStringLiteral("联系人")), QStringLiteral("陈经理"));
        EXPECT_EQ(headerAfter(p, QStringLiteral("电话")), "020-1234");
        EXPECT_EQ(headerAfter(p, QStringLiteral("结算方式")), QStringLiteral("现金"));
        EXPECT_EQ(columnTitles(p),
                  (QStringList{"货号", "品名", "规格型号", "款式", "单位", "单价", "数量", "小计", "备注"}));
        EXPECT_EQ(lines(p).size(), 5u);
    }
    const std::vector<QStringList> first = lines(m.pages[0]);
    EXPECT_EQ(first[0], (QStringList{"G01", "洗发水", "500ml", "滋润型", "瓶", "8", "1", "8", ""}));
    EXPECT_EQ(first[1], (QStringList{"G02", "护发素", "250ml", "修护型", "瓶", "12", "2", "24", ""}));
    EXPECT_EQ(first[4][0], "G02");
    const std::vector<QStringList> second = lines(m.pages[1]);
    EXPECT_EQ(second[0], (QStringList{"G03", "染膏", "60g", "棕色", "支", "35", "2", "70", ""}));
    EXPECT_EQ(second[1][0], "G01");
    for (size_t i = 2; i < 5; ++i)
        EXPECT_TRUE(isBlank(second[i])) << second[i].join('|').toStdString();

    // The summary once, under the last line.
    EXPECT_EQ(m.pages[0].countText(QStringLiteral("合计金额大写")), 0);
    const report::Page& last = m.pages[1];
    EXPECT_EQ(summaryAfter(last, QStringLiteral("合计金额大写")), QStringLiteral("壹佰捌拾壹圆零角零分整"));
    EXPECT_EQ(summaryAfter(last, QStringLiteral("合计数量")), "11");
    EXPECT_EQ(summaryAfter(last, QStringLiteral("合计金额")), "181");
    EXPECT_EQ(summaryAfter(last, QStringLiteral("收款金额")), "100");
    EXPECT_EQ(summaryAfter(last, QStringLiteral("业务")), QStringLiteral("李明"));
    EXPECT_EQ(last.textsOf(report::BandKind::Summary).last(), QStringLiteral("谢谢惠顾"));
    double linesBottom = 0;
    double summaryTop = 1e9;
    for (const report::TextItem& t : last.texts) {
        if (t.band == report::BandKind::Detail)
            linesBottom = std::max(linesBottom, t.rect.bottom());
        if (t.band == report::BandKind::Summary)
            summaryTop = std::min(summaryTop, t.rect.top());
    }
    EXPECT_GE(summaryTop, linesBottom);
    for (const report::TextItem& t : last.texts)
        EXPECT_LE(t.rect.bottom(), 140 - 10 + 1e-6) << t.text.toStdString();

    // outtemp holds the document's lines, then the blank rows of its bill.
    EXPECT_EQ(count("outtemp"), 10);
    EXPECT_EQ(outtempColumn("gods_code"), (QStringList{"G01", "G02", "G03", "G01", "G02", "G03", "G01", "", "", ""}));
    EXPECT_EQ(outtempColumn("sub_amou"), (QStringList{"1", "2", "1", "3", "1", "2", "1", "", "", ""}));
    EXPECT_EQ(count("outtemp", "bill_no='S1'"), 10);
}

TEST_F(SalePrintTest, BlankRowsFillTheLastPageAndAFullPageGetsAnotherOne)
{
    storeDocument("out", "S3", "out", {{"G01", 1, 8}, {"G02", 1, 12}, {"G03", 1, 35}});
    storeDocument("out", "S10", "out", std::vector<Line>(10, Line{"G01", 1, 8}));
    storeDocument("out", "S0", "out", {});
    savePrintSettings(QStringLiteral("A4"), 210, 297, 10);
    auto f = openForm<TFrmOut>();

    f->showDocument("S3");
    report::PageModel m = print(*f);
    EXPECT_EQ(count("outtemp"), 10);
    EXPECT_EQ(count("outtemp", "gods_code is null"), 7);
    ASSERT_EQ(m.pageCount(), 1);
    EXPECT_EQ(lines(m.pages[0]).size(), 10u);

    f->showDocument("S10");
    m = print(*f);
    EXPECT_EQ(count("outtemp"), 20);
    ASSERT_EQ(m.pageCount(), 2);
    EXPECT_EQ(lines(m.pages[1]).size(), 10u);
    for (const QStringList& line : lines(m.pages[1]))
        EXPECT_TRUE(isBlank(line));
    EXPECT_EQ(summaryAfter(m.pages[1], QStringLiteral("合计数量")), "10");

    f->showDocument("S0");
    m = print(*f);
    EXPECT_EQ(count("outtemp"), 10);
    EXPECT_EQ(count("outtemp", "bill_no='S0' and gods_code is null"), 10);
    EXPECT_EQ(printedLines(m), 10u);

    LinesPerPage = 0;
    f->showDocument("S3");
    m = print(*f);
    EXPECT_EQ(count("outtemp"), 3);
    EXPECT_EQ(outtempColumn("gods_code"), (QStringList{"G01", "G02", "G03"}));
    ASSERT_EQ(m.pageCount(), 1);
    EXPECT_EQ(lines(m.pages[0]).size(), 3u);
}

TEST_F(SalePrintTest, RowsWithoutGoodsHaveNoAmount)
{
    storeDocument("out", "S1", "out", {{"G01", 2, 8}, {"  ", 1, 5}});
    savePrintSettings(QStringLiteral("默认"), 218, 140, 4);
    auto f = openForm<TFrmOut>();
    print(*f);
    db::Dataset& printed = dataMod().OutTempQ;
    ASSERT_EQ(printed.recordCount(), 4);
    const int amount = printed.fieldIndex(QStringLiteral("sub_tota"));
    EXPECT_EQ(printed.displayText(0, amount), "16");
    for (int row = 1; row < 4; ++row)
        EXPECT_TRUE(printed.value(row, amount).isNull()) << row;
}

TEST_F(SalePrintTest, ThePaperFollowsTheSettingsOfEachPrintAlone)
{
    storeDocument("out", "S1", "out", {{"G01", 1, 8}});
    auto f = openForm<TFrmOut>();

    // Never saved in this run: the layout's own paper.
    EXPECT_EQ(print(*f).paperSize, QSizeF(218, 140));
    savePrintSettings(QStringLiteral("A4"), 210, 297, 0);
    EXPECT_EQ(print(*f).paperSize, QSizeF(210, 297));
    // 默认 is the layout's own paper, whatever was printed before.
    savePrintSettings(QStringLiteral("默认"), 210, 297, 0);
    EXPECT_EQ(print(*f).paperSize, QSizeF(218, 140));
    savePrintSettings(QStringLiteral("自定义"), 241, 93, 0);
    EXPECT_EQ(print(*f).paperSize, QSizeF(241, 93));
    // A custom paper without a size is none to print on.
    savePrintSettings(QStringLiteral("自定义"), 0, 0, 0);
    EXPECT_EQ(print(*f).paperSize, QSizeF(218, 140));
    EXPECT_EQ(QRout().paperSize(), QSizeF(218, 140));
}

TEST_F(SalePrintTest, ASupplierReturnPrintsUnderItsOwnTitle)
{
    storeDocument("out", "T1", "retu", {{"G03", 2, 20}});
    describe("outmain", "T1");
    savePrintSettings(QStringLiteral("默认"), 218, 140, 3);
    auto f = openForm<TFrmReturnout>();
    const report::PageModel m = print(*f);
    ASSERT_EQ(m.pageCount(), 1);
    const report::Page& p = m.pages[0];
    EXPECT_EQ(p.textsOf(report::BandKind::PageHeader).first(), QStringLiteral("丽发美容退货厂商单"));
    ASSERT_EQ(lines(p).size(), 3u);
    EXPECT_EQ(lines(p)[0], (QStringList{"G03", "染膏", "60g", "棕色", "支", "20", "2", "40", ""}));
    EXPECT_TRUE(isBlank(lines(p)[1]));
    EXPECT_EQ(summaryAfter(p, QStringLiteral("收款金额")), "100");
    EXPECT_EQ(summaryAfter(p, QStringLiteral("合计金额")), "40");
}

TEST_F(SalePrintTest, OuttempHoldsOnlyTheLastDocumentPrintedFoundByItsWholeBillNumber)
{
    storeDocument("out", "S1", "out", {{"G01", 1, 8}, {"G02", 1, 12}});
    storeDocument("out", "S'2", "out", {{"G03", 4, 35}});
    storeDocument("out", "S'22", "out", {{"G01", 9, 8}});
    auto f = openForm<TFrmOut>();
    print(*f);
    EXPECT_EQ(outtempColumn("gods_code"), (QStringList{"G01", "G02"}));

    f->showDocument("S'2");
    const report::PageModel m = print(*f);
    EXPECT_EQ(outtempColumn("gods_code"), QStringList{"G03"});
    EXPECT_EQ(outtempColumn("bill_no"), QStringList{"S'2"});
    EXPECT_EQ(lines(m.pages.at(0)).size(), 1u);
}

TEST_F(SalePrintTest, MoreLinesPerPageThanThePaperHoldsBreakWhereThePaperEnds)
{
    storeDocument("out", "S1", "out", {{"G01", 1, 8}, {"G02", 1, 12}});
    savePrintSettings(QStringLiteral("默认"), 218, 140, 30);
    auto f = openForm<TFrmOut>();
    const report::PageModel m = print(*f);
    ASSERT_GE(m.pageCount(), 2);
    EXPECT_EQ(printedLines(m), 30u);
    int summaries = 0;
    for (const report::Page& p : m.pages) {
        summaries += p.countText(QStringLiteral("合计金额大写"));
        for (const report::TextItem& t : p.texts)
            EXPECT_LE(t.rect.bottom(), 140 - 10 + 1e-6);
    }
    EXPECT_EQ(summaries, 1);
    EXPECT_EQ(m.pages.back().countText(QStringLiteral("合计金额大写")), 1);
}

TEST_F(SalePrintTest, TheCopyIntoOuttempIsAllOrNothing)
{
    storeDocument("out", "S1", "out", {{"G01", 1, 8}});
    exec("insert into outtemp (bill_no, gods_code) values ('OLD', 'G09')");
    // A bill number too long for the blank rows fails after the copy began.
    EXPECT_ANY_THROW(TQRout::FillPrintLines(QStringLiteral("S1-and-too-long"), 3));
    EXPECT_EQ(outtempColumn("bill_no"), QStringList{"OLD"});
    EXPECT_FALSE(dataMod().OutTempQ.isActive());

    TQRout::FillPrintLines(QStringLiteral("S1"), 3);
    EXPECT_EQ(outtempColumn("bill_no"), (QStringList{"S1", "S1", "S1"}));
    EXPECT_EQ(dataMod().OutTempQ.recordCount(), 3);
}

} // namespace
