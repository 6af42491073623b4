#include "stock/Routlist.h"

#include "tests/stock/SalesFixture_test.h"

#include "core/Udatamod.h"
#include "stock/UoutList.h"
#include "tests/support/ReportText.h"

namespace {

class OutListPrintTest : public SalesTest {
protected:
    // Opens the list and finds every document of the fixture's range.
    void findAll(TFrmOutList& f)
    {
        show(f);
        setRange(f.fromPicker(), f.toPicker(), rangeFrom(), rangeTo());
        click(f, "cmd_find");
    }

    // What printing the list found in f previews.
    report::PageModel print(TFrmOutList& f)
    {
        report::PreviewCapture capture;
        click(f, "cmd_prin");
        EXPECT_EQ(capture.count(), 1);
        return capture.count() == 1 ? capture.last() : report::PageModel{};
    }
    // What printing every document of the fixture's range previews.
    report::PageModel printStandardDocuments()
    {
        addStandardDocuments();
        TFrmOutList f;
        findAll(f);
        return print(f);
    }
};

TEST_F(OutListPrintTest, ALongListRepeatsTitleAndHeadingsOnEveryPageAndTotalsOnceAtTheEnd)
{
    std::vector<Line> many(60, Line{"G02", 1, 2.5});
    addDocument("B1", day(3, 3), "C1", "out", many);
    TFrmOutList f;
    findAll(f);
    ASSERT_EQ(f.totalQuantityBox()->text(), "60");
    ASSERT_EQ(f.totalAmountBox()->text(), "150");

    const report::PageModel m = print(f);
    ASSERT_EQ(m.pageCount(), 2);
    int printed = 0;
    for (const report::Page& p : m.pages) {
        EXPECT_EQ(p.countText(QStringLiteral("出货统计")), 1);
        EXPECT_EQ(p.textsOf(report::BandKind::ColumnHeader).first(), QStringLiteral("流水号"));
        EXPECT_EQ(p.countText(QStringLiteral("货号")), 1);
        printed += int(detailRows(p, 9).size());
    }
    EXPECT_EQ(printed, 60);
    EXPECT_EQ(m.pages[0].countText(QStringLiteral("合计数量")), 0);
    EXPECT_EQ(textAfter(m.pages[1], QStringLiteral("合计数量")), "60");
    EXPECT_EQ(textAfter(m.pages[1], QStringLiteral("合计金额")), "150");
    // The list is where it was before printing.
    EXPECT_EQ(dataMod().OutListQ.recNo(), 0);
    EXPECT_FALSE(dataMod().OutListQ.controlsDisabled());
}

TEST_F(OutListPrintTest, TheLayoutAloneNamesEveryTextItPrints)
{
    addStandardDocuments();
    TFrmOutList f;
    findAll(f);

    TQRoutlist list(dataMod().OutListQ);
    list.setTexts({"g", "n", "c", "m", rangeFrom(), rangeTo(), QStringLiteral("退货厂商"), "24", "470.2",
                   QStringLiteral("编"), QStringLiteral("名"), QStringLiteral("规")});
    const report::Report& r = list.report();
    EXPECT_EQ(r.paperSize(), QSizeF(210, 297));
    EXPECT_EQ(r.margins(), QMarginsF(10, 10, 10, 10));
    EXPECT_EQ(r.text("GoodsCode"), "g");
    EXPECT_EQ(r.text("CompName"), "m");
    EXPECT_EQ(r.text("Date2"), "2026-03-10");
    EXPECT_EQ(r.text("BillType"), QStringLiteral("退货厂商"));
    EXPECT_EQ(r.text("SpecTitle"), QStringLiteral("规"));
    EXPECT_EQ(r.text("TotalAmount"), "470.2");
    EXPECT_TRUE(r.pageFooter().isEmpty());
}

TEST_F(OutListPrintTest, LongCustomerAndGoodsNamesPrintWholeInTheirCells)
{
    const QString customer = QStringLiteral("广州市天河区丽人美容美发用品有限公司");
    const QString goods = QStringLiteral("丝蕴深层滋养修护洗发露家庭装");
    exec("insert into company (comp_code, comp_name) values ('C9', :n)", {{"n", customer}});
    exec("update goods set gods_name=:n where gods_code='G02'", {{"n", goods}});
    addDocument("B9", day(3, 3), "C9", "out", {{"G02", 1, 25}});
    TFrmOutList f;
    findAll(f);
    const report::PageModel printed = print(f);
    ASSERT_GE(printed.pageCount(), 1);
    const report::Page& p = printed.pages.at(0);
    for (const QString& name : {customer, goods}) {
        SCOPED_TRACE(name.toStdString());
        const report::TextItem* cell = findIn(p, report::BandKind::Detail, name);
        ASSERT_NE(cell, nullptr);
        EXPECT_TRUE(printsWhole(*cell));
    }
}

TEST_F(OutListPrintTest, TheDateRangePrintsBothDatesWholeWithASeparatorBetween)
{
    const report::PageModel printed = printStandardDocuments();
    ASSERT_GE(printed.pageCount(), 1);
    const report::Page& p = printed.pages.at(0);
    EXPECT_EQ(lineAfter(p, QStringLiteral("日期范围")), QStringLiteral("2026-03-01 至 2026-03-10"));
    for (const char* text : {"2026-03-01", "至", "2026-03-10"}) {
        const report::TextItem* item = p.findText(QString::fromUtf8(text));
        ASSERT_NE(item, nullptr) << text;
        EXPECT_TRUE(printsWhole(*item));
        EXPECT_LE(item->rect.right(), printed.paperSize.width() - 10) << "inside the right margin: " << text;
    }
}

TEST_F(OutListPrintTest, TheTotalsStandUnderTheQuantityAndSubtotalColumns)
{
    const report::PageModel printed = printStandardDocuments();
    ASSERT_GE(printed.pageCount(), 1);
    const report::Page& p = printed.pages.back();
    using report::BandKind;
    EXPECT_TRUE(totalStandsUnder(p, "24", BandKind::ColumnHeader, "数量"));
    EXPECT_TRUE(totalStandsUnder(p, "470.2", BandKind::ColumnHeader, "小计"));
    EXPECT_EQ(textAfter(p, QStringLiteral("合计数量")), "24");
    EXPECT_EQ(textAfter(p, QStringLiteral("合计金额")), "470.2");
}

} // namespace
