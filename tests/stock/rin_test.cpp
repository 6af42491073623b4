#include "stock/rin.h"

#include "tests/stock/PrintedDocumentFixture_test.h"

#include "stock/Uin.h"
#include "stock/Ureturnin.h"
#include "tests/support/ReportText.h"

namespace {

class PurchasePrintTest : public PrintedDocumentTest {};

TEST_F(PurchasePrintTest, APurchasePrintsItsHeaderLinesTotalsCapitalsAndFooter)
{
    storeDocument("in", "P1", "in", {{"G01", 2, 5}, {"G02", 1.5, 7, "赠品"}});
    describe("inmain", "P1");
    // The custom paper of the sales side is not the purchase's.
    savePrintSettings(QStringLiteral("自定义"), 200, 100, 5);
    auto f = openForm<TFrmIn>();
    ASSERT_EQ(f->billNoBox()->text(), "P1");

    report::PreviewCapture capture;
    click(*f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const report::PageModel& m = capture.last();
    EXPECT_EQ(m.paperSize, QSizeF(210, 297));
    EXPECT_EQ(m.margins, QMarginsF(10, 10, 10, 10));
    ASSERT_EQ(m.pageCount(), 1);
    const report::Page& p = m.pages[0];

    const report::TextItem* title = p.findText(QStringLiteral("丽发美容进货单"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->band, report::BandKind::PageHeader);
    EXPECT_EQ(title->align, report::Align::Center);
    EXPECT_GT(title->pointSize, 10);
    EXPECT_EQ(headerAfter(p, QStringLiteral("凭证号")), "V-01");
    EXPECT_EQ(headerAfter(p, QStringLiteral("单流水号")), "P1");
    EXPECT_EQ(headerAfter(p, QStringLiteral("开单日期")), QDate::currentDate().toString("yyyy-MM-dd"));
    EXPECT_EQ(headerAfter(p, QStringLiteral("币种")), QStringLiteral("人民币"));
    // The company code and its name, each under the caption "客户名称".
    const QStringList header = p.textsOf(report::BandKind::PageHeader);
    const qsizetype code = header.indexOf(QStringLiteral("客户名称"));
    ASSERT_GE(code, 0);
    EXPECT_EQ(header.value(code + 1), "C01");
    EXPECT_EQ(header.value(code + 2), QStringLiteral("客户名称"));
    EXPECT_EQ(header.value(code + 3), QStringLiteral("华美供应"));
    EXPECT_EQ(headerAfter(p, QStringLiteral("结算方式")), QStringLiteral("现金"));
    EXPECT_EQ(columnTitles(p),
              (QStringList{"货号", "品名", "规格型号", "款式", "单位", "单价", "数量", "小计", "备注"}));

    const std::vector<QStringList> printed = lines(p);
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0], (QStringList{"G01", "洗发水", "500ml", "滋润型", "瓶", "5", "2", "10", ""}));
    EXPECT_EQ(printed[1], (QStringList{"G02", "护发素", "250ml", "修护型", "瓶", "7", "1.5", "10.5", "赠品"}));

    EXPECT_EQ(summaryAfter(p, QStringLiteral("合计金额大写")), f->capitalsBox()->text());
    EXPECT_EQ(summaryAfter(p, QStringLiteral("合计金额大写")), QStringLiteral("贰拾零圆伍角零分整"));
    EXPECT_EQ(summaryAfter(p, QStringLiteral("合计数量")), "3.5");
    EXPECT_EQ(summaryAfter(p, QStringLiteral("合计金额")), "20.5");
    EXPECT_EQ(summaryAfter(p, QStringLiteral("备注")), QStringLiteral("当日送达"));
    EXPECT_EQ(summaryAfter(p, QStringLiteral("付款金额")), "100");
    EXPECT_EQ(summaryAfter(p, QStringLiteral("制单")), QStringLiteral("王芳"));
    EXPECT_EQ(summaryAfter(p, QStringLiteral("经手")), QStringLiteral("李明"));
    EXPECT_EQ(summaryAfter(p, QStringLiteral("收货")), QStringLiteral("李明"));
    EXPECT_EQ(p.textsOf(report::BandKind::Summary).last(), QStringLiteral("谢谢惠顾"));
    EXPECT_TRUE(p.textsOf(report::BandKind::PageFooter).isEmpty());

    // The lines stay where they were, and nothing was copied for the print.
    EXPECT_EQ(f->lines().recNo(), 0);
    EXPECT_EQ(count("outtemp"), 0);
}

TEST_F(PurchasePrintTest, ACustomerReturnBeforeAnySettingsPrintsTheBareDocumentWord)
{
    storeDocument("in", "R1", "retu", {{"G03", 1, 35, "入库"}});
    auto f = openForm<TFrmReturnIn>();
    report::PreviewCapture capture;
    click(*f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const report::Page& p = capture.last().pages.at(0);
    EXPECT_EQ(p.textsOf(report::BandKind::PageHeader).first(), QStringLiteral("顾客退货单"));
    EXPECT_EQ(lines(p).size(), 1u);
    EXPECT_EQ(lines(p)[0].last(), QStringLiteral("入库"));
    EXPECT_EQ(summaryAfter(p, QStringLiteral("合计金额")), "35");
    EXPECT_EQ(p.textsOf(report::BandKind::Summary).last(), "");
}

TEST_F(PurchasePrintTest, EveryPrintTakesTheCaptionsAndTitleAnew)
{
    storeDocument("in", "P1", "in", {{"G01", 2, 5}});
    savePrintSettings(QStringLiteral("A4"), 210, 297, 0);
    auto f = openForm<TFrmIn>();
    report::PreviewCapture capture;
    click(*f, "cmd_prin");
    BillCompanyName = QStringLiteral("新店");
    GoodsCodeCaption = QStringLiteral("编号");
    click(*f, "cmd_prin");
    ASSERT_EQ(capture.count(), 2);
    const report::Page& p = capture.last().pages.at(0);
    EXPECT_EQ(p.textsOf(report::BandKind::PageHeader).first(), QStringLiteral("新店进货单"));
    EXPECT_EQ(columnTitles(p).first(), QStringLiteral("编号"));
}

TEST_F(PurchasePrintTest, ALongPurchaseRunsOnWithTheHeaderOnEveryPageAndTheSummaryOnce)
{
    storeDocument("in", "P1", "in", std::vector<Line>(60, Line{"G01", 1, 5}));
    savePrintSettings(QStringLiteral("A4"), 210, 297, 0);
    auto f = openForm<TFrmIn>();
    report::PreviewCapture capture;
    click(*f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const report::PageModel& m = capture.last();
    ASSERT_GE(m.pageCount(), 2);
    size_t printed = 0;
    int summaries = 0;
    for (const report::Page& p : m.pages) {
        EXPECT_EQ(p.textsOf(report::BandKind::PageHeader).first(), QStringLiteral("丽发美容进货单"));
        EXPECT_EQ(headerAfter(p, QStringLiteral("单流水号")), "P1");
        printed += lines(p).size();
        summaries += p.countText(QStringLiteral("合计金额大写"));
    }
    EXPECT_EQ(printed, 60u);
    EXPECT_EQ(summaries, 1);
    EXPECT_EQ(summaryAfter(m.pages.back(), QStringLiteral("合计数量")), "60");
}

TEST_F(PurchasePrintTest, ALongGoodsNamePrintsWholeInItsCell)
{
    const QString name = QStringLiteral("丝蕴深层滋养修护无硅油洗发露超值家庭装");
    exec("update goods set gods_name=:n where gods_code='G02'", {{"n", name}});
    storeDocument("in", "P1", "in", {{"G01", 2, 5}, {"G02", 1.5, 7}});
    auto f = openForm<TFrmIn>();
    report::PreviewCapture capture;
    click(*f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const report::TextItem* cell = findIn(capture.last().pages.at(0), report::BandKind::Detail, name);
    ASSERT_NE(cell, nullptr);
    EXPECT_TRUE(printsWhole(*cell));
}

TEST_F(PurchasePrintTest, TheTotalsStandUnderTheQuantityAndSubtotalColumns)
{
    storeDocument("in", "P1", "in", {{"G01", 2, 5}, {"G02", 1.5, 7}});
    auto f = openForm<TFrmIn>();
    report::PreviewCapture capture;
    click(*f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const report::Page& p = capture.last().pages.at(0);
    using report::BandKind;
    EXPECT_TRUE(totalStandsUnder(p, "3.5", BandKind::PageHeader, "数量"));
    EXPECT_TRUE(totalStandsUnder(p, "20.5", BandKind::PageHeader, "小计"));
    EXPECT_EQ(summaryAfter(p, QStringLiteral("合计数量")), "3.5");
    EXPECT_EQ(summaryAfter(p, QStringLiteral("合计金额")), "20.5");
}

} // namespace
