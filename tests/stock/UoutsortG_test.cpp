#include "stock/UoutsortG.h"

#include "tests/stock/SalesFixture_test.h"

#include "core/Udatamod.h"
#include "platform/ui/DbGrid.h"

#include <QGroupBox>

namespace {

class OutSortGoodsTest : public SalesTest {
protected:
    db::Dataset& q() { return dataMod().OutSortQ; }

    void find(TFrmOutSortG& f, const QDate& from, const QDate& to, const QString& sort = QStringLiteral("按金额排序"),
              const QString& kind = QStringLiteral("全部"))
    {
        setRange(f.fromPicker(), f.toPicker(), from, to);
        chooseByMouse(f.sortGroup(), sort);
        chooseByMouse(f.kindGroup(), kind);
        click(f, "cmd_find");
    }
    // "code quantity average-price amount" per listed goods, in list order.
    QStringList groups()
    {
        QStringList out;
        for (int r = 0; r < q().recordCount(); ++r) {
            auto text = [&](const char* field) { return q().displayText(r, q().fieldIndex(field)); };
            out << QStringList{text("gods_code"), text("sub_amou"), text("unit_pric"), text("sub_tota")}.join(' ');
        }
        return out;
    }
};

TEST_F(OutSortGoodsTest, OpensWithTheNamedControlsAndTheGoodsCaptionsOnTheFirstFiveColumns)
{
    TFrmOutSortG f;
    EXPECT_EQ(f.objectName(), "FrmOutSortG");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("出货排行-按货品"));
    for (const auto& [name, caption] : {std::pair{"cmd_find", "查询[&F]"}, {"cmd_prin", "打印[&P]"},
                                        {"cmd_exit", "退出[&X]"}})
        EXPECT_EQ(button(f, name)->text(), QString::fromUtf8(caption)) << name;
    EXPECT_EQ(f.fromPicker()->value(), QDate::currentDate());
    EXPECT_EQ(f.toPicker()->value(), QDate::currentDate());
    EXPECT_EQ(f.sortGroup()->title(), QStringLiteral("排序方式"));
    EXPECT_EQ(choiceTexts(f.sortGroup()), (QStringList{"按金额排序", "按数量排序"}));
    EXPECT_EQ(f.sortGroup()->chosen(), 0);
    EXPECT_EQ(f.kindGroup()->title(), QStringLiteral("出货方式"));
    EXPECT_EQ(choiceTexts(f.kindGroup()), (QStringList{"全部", "销售", "退货厂商"}));
    EXPECT_EQ(f.kindGroup()->chosen(), 0);
    EXPECT_EQ(qobject_cast<QGroupBox*>(f.totalQuantityBox()->parentWidget())->title(), QStringLiteral("统计结果"));
    EXPECT_EQ(titles(f.grid()),
              (QStringList{"货号", "品名", "容量", "款式", "类别", "单位", "数量", "平均价", "金额"}));
    EXPECT_TRUE(f.totalQuantityBox()->text().isEmpty());
}

TEST_F(OutSortGoodsTest, RanksTheGoodsOfTheRangeByAmountOrByQuantityLargestFirst)
{
    addStandardDocuments();
    TFrmOutSortG f;
    show(f);

    // G01: sales 2 + 2 at 38.8 and the return of 10 at 8; mean price of three lines.
    find(f, rangeFrom(), rangeTo());
    EXPECT_EQ(groups(), (QStringList{"G01 14 28.53 235.2", "G03 3 60 180", "G02 7 15 55"}));
    EXPECT_EQ(f.totalQuantityBox()->text(), "24");
    EXPECT_EQ(f.totalAmountBox()->text(), "470.2");
    EXPECT_EQ(q().recNo(), 0);
    EXPECT_EQ(q().asString("gods_name"), QStringLiteral("洗发水"));
    EXPECT_EQ(q().asString("gods_kind"), QStringLiteral("洗护"));
    EXPECT_EQ(q().asString("gods_unit"), QStringLiteral("瓶"));

    find(f, rangeFrom(), rangeTo(), QStringLiteral("按数量排序"));
    EXPECT_EQ(groups(), (QStringList{"G01 14 28.53 235.2", "G02 7 15 55", "G03 3 60 180"}));
    EXPECT_EQ(f.totalQuantityBox()->text(), "24");
}

TEST_F(OutSortGoodsTest, TheTypeChoiceRanksSalesOrReturnsAlone)
{
    addStandardDocuments();
    TFrmOutSortG f;
    show(f);
    find(f, rangeFrom(), rangeTo(), QStringLiteral("按金额排序"), QStringLiteral("销售"));
    EXPECT_EQ(groups(), (QStringList{"G03 3 60 180", "G01 4 38.8 155.2", "G02 7 15 55"}));
    EXPECT_EQ(f.totalQuantityBox()->text(), "14");
    EXPECT_EQ(f.totalAmountBox()->text(), "390.2");

    find(f, rangeFrom(), rangeTo(), QStringLiteral("按金额排序"), QStringLiteral("退货厂商"));
    EXPECT_EQ(groups(), (QStringList{"G01 10 8 80"}));
    EXPECT_EQ(f.totalAmountBox()->text(), "80");
}

TEST_F(OutSortGoodsTest, TheAveragePriceIsThePlainMeanOfTheLinePrices)
{
    addDocument("B1", day(3, 2), "C1", "out", {{"G02", 1, 10}});
    addDocument("B2", day(3, 3), "C2", "out", {{"G02", 3, 20}});
    TFrmOutSortG f;
    show(f);
    find(f, rangeFrom(), rangeTo());
    EXPECT_EQ(groups(), (QStringList{"G02 4 15 70"}));
}

TEST_F(OutSortGoodsTest, ARangeWithoutDocumentsListsNothingAndPrintsNothing)
{
    addStandardDocuments();
    TFrmOutSortG f;
    show(f);
    find(f, day(4, 1), day(4, 30));
    EXPECT_EQ(q().recordCount(), 0);
    EXPECT_EQ(f.totalQuantityBox()->text(), "0");
    EXPECT_EQ(f.totalAmountBox()->text(), "0");
    report::PreviewCapture capture;
    testui::PromptResponder prompts;
    click(f, "cmd_prin");
    EXPECT_EQ(capture.count(), 0);
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(OutSortGoodsTest, PrintingBeforeAnySearchDoesNothing)
{
    TFrmOutSortG f;
    show(f);
    report::PreviewCapture capture;
    testui::PromptResponder prompts;
    click(f, "cmd_prin");
    EXPECT_EQ(capture.count(), 0);
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(OutSortGoodsTest, PrintsTheRankingInListOrderWithTheCaptionsAndTotals)
{
    addStandardDocuments();
    TFrmOutSortG f;
    show(f);
    find(f, rangeFrom(), rangeTo(), QStringLiteral("按数量排序"), QStringLiteral("销售"));
    report::PreviewCapture capture;
    click(f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    ASSERT_EQ(capture.last().pageCount(), 1);
    const report::Page& p = capture.last().pages[0];
    EXPECT_EQ(capture.last().paperSize, QSizeF(210, 297));

    const report::TextItem* title = p.findText(QStringLiteral("出货排行-按货品"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->align, report::Align::Center);
    EXPECT_EQ(textAfter(p, QStringLiteral("排序方式：")), QStringLiteral("按数量排序"));
    EXPECT_EQ(p.countText(QStringLiteral("出货")), 1);
    EXPECT_EQ(lineAfter(p, QStringLiteral("日期范围")), QStringLiteral("2026-03-01 至 2026-03-10"));
    EXPECT_EQ(p.textsOf(report::BandKind::ColumnHeader),
              (QStringList{"货号", "品名", "容量", "单位", "单价", "数量", "小计"}));
    EXPECT_EQ(detailRows(p, 7), (std::vector<QStringList>{
                                    {"G02", "护发素", "250ml", "瓶", "15", "7", "55"},
                                    {"G01", "洗发水", "500ml", "瓶", "38.8", "4", "155.2"},
                                    {"G03", "染膏", "60g", "支", "60", "3", "180"},
                                }));
    EXPECT_EQ(textAfter(p, QStringLiteral("合计数量")), "14");
    EXPECT_EQ(textAfter(p, QStringLiteral("合计金额")), "390.2");
}

TEST_F(OutSortGoodsTest, EveryTypePrintsNoTypeTextAndReturnsPrintTheirOwn)
{
    addStandardDocuments();
    TFrmOutSortG f;
    show(f);
    report::PreviewCapture capture;
    find(f, rangeFrom(), rangeTo());
    click(f, "cmd_prin");
    find(f, rangeFrom(), rangeTo(), QStringLiteral("按金额排序"), QStringLiteral("退货厂商"));
    click(f, "cmd_prin");
    ASSERT_EQ(capture.count(), 2);
    const report::Page& all = capture.models()[0].pages.at(0);
    EXPECT_EQ(textAfter(all, QStringLiteral("排序方式：")), QStringLiteral("按金额排序"));
    EXPECT_EQ(all.countText(QStringLiteral("出货")) + all.countText(QStringLiteral("退货厂商")), 0);
    EXPECT_EQ(detailRows(all, 7).size(), 3u);
    const report::Page& returns = capture.models()[1].pages.at(0);
    EXPECT_EQ(returns.countText(QStringLiteral("退货厂商")), 1);
    EXPECT_EQ(detailRows(returns, 7).size(), 1u);
}

TEST_F(OutSortGoodsTest, FindAndPrintFollowTheRightsAtPosition26)
{
    PowFind = QString(25, '1') + '0' + QString(12, '1');
    PowPrin = QString(38, '1');
    {
        TFrmOutSortG f;
        EXPECT_FALSE(button(f, "cmd_find")->isEnabled());
        EXPECT_TRUE(button(f, "cmd_prin")->isEnabled());
        EXPECT_TRUE(button(f, "cmd_exit")->isEnabled());
    }
    PowFind = QString(38, '1');
    PowPrin = QString(25, '1') + '0' + QString(12, '1');
    {
        TFrmOutSortG f;
        EXPECT_TRUE(button(f, "cmd_find")->isEnabled());
        EXPECT_FALSE(button(f, "cmd_prin")->isEnabled());
    }
    // Rights end at position 25: 26 is refused.
    PowFind = PowPrin = QString(25, '1');
    TFrmOutSortG f;
    EXPECT_FALSE(button(f, "cmd_find")->isEnabled());
    EXPECT_FALSE(button(f, "cmd_prin")->isEnabled());
}

} // namespace
