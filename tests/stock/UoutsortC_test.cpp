#include "stock/UoutsortC.h"

#include "tests/stock/SalesFixture_test.h"

#include "core/Udatamod.h"
#include "platform/ui/DbGrid.h"
#include "tests/support/ReportText.h"

namespace {

class OutSortCustomerTest : public SalesTest {
protected:
    db::Dataset& q() { return dataMod().OutSortCQ; }

    void find(TFrmOutSortC& f, const QString& sort = QStringLiteral("按金额排序"),
              const QString& kind = QStringLiteral("全部"))
    {
        setRange(f.fromPicker(), f.toPicker(), rangeFrom(), rangeTo());
        chooseByMouse(f.sortGroup(), sort);
        chooseByMouse(f.kindGroup(), kind);
        click(f, "cmd_find");
    }
    // "code name manager quantity amount" per listed customer, in list order.
    QStringList groups()
    {
        QStringList out;
        for (int r = 0; r < q().recordCount(); ++r) {
            auto text = [&](const char* field) { return q().displayText(r, q().fieldIndex(field)); };
            out << QStringList{text("comp_code"), text("comp_name"), text("head_name"), text("sub_amou"),
                               text("sub_tota")}
                       .join(' ');
        }
        return out;
    }
};

TEST_F(OutSortCustomerTest, OpensWithTheNamedControlsAndTheCustomerColumns)
{
    TFrmOutSortC f;
    EXPECT_EQ(f.objectName(), "FrmOutSortC");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("出货排行-按客户"));
    EXPECT_EQ(titles(f.grid()), (QStringList{"公司编码", "公司名称", "负责人名", "数量", "金额"}));
    EXPECT_EQ(f.sortGroup()->chosen(), 0);
    EXPECT_EQ(f.kindGroup()->chosen(), 0);
    EXPECT_EQ(f.fromPicker()->value(), QDate::currentDate());
}

TEST_F(OutSortCustomerTest, RanksTheCustomersByAmountOrByQuantityLargestFirst)
{
    addStandardDocuments();
    TFrmOutSortC f;
    show(f);
    find(f);
    EXPECT_EQ(groups(), (QStringList{"C2 星光沙龙 李四 9 210", "C1 丽人美发 张三 5 180.2", "S1 华美化妆品厂 王五 10 80"}));
    EXPECT_EQ(f.totalQuantityBox()->text(), "24");
    EXPECT_EQ(f.totalAmountBox()->text(), "470.2");

    find(f, QStringLiteral("按数量排序"));
    EXPECT_EQ(groups(), (QStringList{"S1 华美化妆品厂 王五 10 80", "C2 星光沙龙 李四 9 210", "C1 丽人美发 张三 5 180.2"}));

    find(f, QStringLiteral("按数量排序"), QStringLiteral("销售"));
    EXPECT_EQ(groups(), (QStringList{"C2 星光沙龙 李四 9 210", "C1 丽人美发 张三 5 180.2"}));
    EXPECT_EQ(f.totalQuantityBox()->text(), "14");
}

TEST_F(OutSortCustomerTest, ReturnsAreAddedToTheSalesOfTheSameCustomer)
{
    addStandardDocuments();
    addDocument("B8", day(3, 4), "C1", "retu", {{"G03", 1, 60}});
    TFrmOutSortC f;
    show(f);
    find(f);
    EXPECT_EQ(groups().first(), QStringLiteral("C1 丽人美发 张三 6 240.2"));
}

TEST_F(OutSortCustomerTest, ACodeWithoutACompanyRecordIsListedWithAnEmptyNameAndManager)
{
    addDocument("B9", day(3, 9), "X9", "out", {{"G03", 2, 60}});
    TFrmOutSortC f;
    show(f);
    find(f);
    ASSERT_EQ(q().recordCount(), 1);
    EXPECT_EQ(q().asString("comp_code"), "X9");
    EXPECT_TRUE(q().asString("comp_name").isEmpty());
    EXPECT_TRUE(q().asString("head_name").isEmpty());
    EXPECT_EQ(f.totalAmountBox()->text(), "120");
}

TEST_F(OutSortCustomerTest, PrintsTheRankingInListOrderWithTheTotals)
{
    addStandardDocuments();
    TFrmOutSortC f;
    show(f);
    find(f, QStringLiteral("按金额排序"), QStringLiteral("销售"));
    report::PreviewCapture capture;
    click(f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const report::Page& p = capture.last().pages.at(0);
    ASSERT_NE(p.findText(QStringLiteral("出货排行-按客户")), nullptr);
    EXPECT_EQ(textAfter(p, QStringLiteral("排序方式：")), QStringLiteral("按金额排序"));
    EXPECT_EQ(p.countText(QStringLiteral("出货")), 1);
    EXPECT_EQ(textAfter(p, QStringLiteral("日期范围")), "2026-03-01");
    EXPECT_EQ(p.textsOf(report::BandKind::ColumnHeader), (QStringList{"公司编码", "公司名称", "负责人", "数量", "金额"}));
    EXPECT_EQ(detailRows(p, 5), (std::vector<QStringList>{{"C2", "星光沙龙", "李四", "9", "210"},
                                                          {"C1", "丽人美发", "张三", "5", "180.2"}}));
    EXPECT_EQ(textAfter(p, QStringLiteral("合计数量")), "14");
    EXPECT_EQ(textAfter(p, QStringLiteral("合计金额")), "390.2");
}

TEST_F(OutSortCustomerTest, ThePrintedTotalsStandUnderTheQuantityAndAmountColumns)
{
    addStandardDocuments();
    TFrmOutSortC f;
    show(f);
    find(f);
    report::PreviewCapture capture;
    click(f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const report::Page& p = capture.last().pages.at(0);
    using report::BandKind;
    EXPECT_TRUE(totalStandsUnder(p, "24", BandKind::ColumnHeader, "数量"));
    EXPECT_TRUE(totalStandsUnder(p, "470.2", BandKind::ColumnHeader, "金额"));
}

TEST_F(OutSortCustomerTest, FindAndPrintFollowTheRightsAtPosition27)
{
    PowFind = QString(26, '1') + '0' + QString(11, '1');
    PowPrin = QString(26, '1') + '0' + QString(11, '1');
    {
        TFrmOutSortC f;
        EXPECT_FALSE(button(f, "cmd_find")->isEnabled());
        EXPECT_FALSE(button(f, "cmd_prin")->isEnabled());
        EXPECT_TRUE(button(f, "cmd_exit")->isEnabled());
    }
    PowFind = PowPrin = QString(27, '1');
    TFrmOutSortC f;
    EXPECT_TRUE(button(f, "cmd_find")->isEnabled());
    EXPECT_TRUE(button(f, "cmd_prin")->isEnabled());
}

} // namespace
