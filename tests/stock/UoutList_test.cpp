#include "stock/UoutList.h"

#include "tests/stock/SalesFixture_test.h"

#include "core/Udatamod.h"
#include "platform/ui/DbGrid.h"

#include <QGroupBox>
#include <algorithm>

namespace {

class OutListTest : public SalesTest {
protected:
    db::Dataset& q() { return dataMod().OutListQ; }

    // The range and type chosen, then "查询[&F]".
    void find(TFrmOutList& f, const QDate& from, const QDate& to, const QString& kind = QStringLiteral("全部"))
    {
        setRange(f.fromPicker(), f.toPicker(), from, to);
        chooseByMouse(f.kindGroup(), kind);
        click(f, "cmd_find");
    }
    // "bill_no gods_code quantity price line-amount" of every listed line, sorted.
    QStringList lines()
    {
        QStringList out;
        for (int r = 0; r < q().recordCount(); ++r) {
            auto text = [&](const char* field) { return q().displayText(r, q().fieldIndex(field)); };
            out << QStringList{text("bill_no"), text("gods_code"), text("sub_amou"), text("unit_pric"),
                               text("sub_tota")}
                       .join(' ');
        }
        out.sort();
        return out;
    }
};

TEST_F(OutListTest, OpensWithTheNamedControlsTodayAndEveryGoodsAndCompanyOffered)
{
    TFrmOutList f;
    EXPECT_EQ(f.objectName(), "FrmOutList");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("出货统计"));
    for (const auto& [name, caption] : {std::pair{"cmd_find", "查询[&F]"}, {"cmd_prin", "打印[&P]"},
                                        {"cmd_exit", "退出[&X]"}})
        EXPECT_EQ(button(f, name)->text(), QString::fromUtf8(caption)) << name;
    EXPECT_EQ(f.fromPicker()->value(), QDate::currentDate());
    EXPECT_EQ(f.toPicker()->value(), QDate::currentDate());
    EXPECT_EQ(choiceTexts(f.kindGroup()), (QStringList{"全部", "销售", "退货厂商"}));
    EXPECT_EQ(f.kindGroup()->chosen(), 0);
    EXPECT_EQ(f.kindGroup()->title(), QStringLiteral("出货类型"));

    auto sorted = [](QStringList l) { l.sort(); return l; };
    EXPECT_EQ(sorted(items(f.goodsCodeCombo())), (QStringList{"G01", "G02", "G03"}));
    EXPECT_EQ(sorted(items(f.goodsNameCombo())), sorted({"洗发水", "护发素", "染膏"}));
    EXPECT_EQ(sorted(items(f.companyCodeCombo())), (QStringList{"C1", "C2", "S1"}));
    EXPECT_EQ(sorted(items(f.companyNameCombo())), sorted({"丽人美发", "星光沙龙", "华美化妆品厂"}));
    for (QComboBox* c : {f.goodsCodeCombo(), f.goodsNameCombo(), f.companyCodeCombo(), f.companyNameCombo()})
        EXPECT_TRUE(c->currentText().isEmpty()) << c->objectName().toStdString();
    EXPECT_EQ(qobject_cast<QGroupBox*>(f.goodsCodeCombo()->parentWidget())->title(), QStringLiteral("按商品属性统计"));
    EXPECT_EQ(qobject_cast<QGroupBox*>(f.companyNameCombo()->parentWidget())->title(), QStringLiteral("按客户统计"));

    // The five goods columns carry the shop's captions.
    EXPECT_EQ(titles(f.grid()), (QStringList{"流水号", "公司编码", "公司名称", "货号", "品名", "容量", "款式", "类别",
                                             "单位", "单价", "数量", "小计"}));
    EXPECT_TRUE(f.totalQuantityBox()->text().isEmpty());
    EXPECT_TRUE(f.totalQuantityBox()->isReadOnly());
    EXPECT_TRUE(f.totalAmountBox()->isReadOnly());
}

TEST_F(OutListTest, ListsEveryLineOfTheRangeBothEndsIncludedWithLineAmountsAndTotals)
{
    addStandardDocuments();
    TFrmOutList f;
    show(f);
    find(f, rangeFrom(), rangeTo());

    // B1 holds the same line twice: both are listed and summed.
    EXPECT_EQ(lines(), (QStringList{"B1 G01 2 38.8 77.6", "B1 G01 2 38.8 77.6", "B1 G02 1 25 25",
                                    "B2 G02 6 5 30", "B2 G03 3 60 180", "B3 G01 10 8 80"}));
    EXPECT_EQ(f.totalQuantityBox()->text(), "24");
    EXPECT_EQ(f.totalAmountBox()->text(), "470.2");
    EXPECT_EQ(q().recNo(), 0);

    // Lookups fill the names; the query has no kind, so that column is empty.
    ASSERT_TRUE(q().locate("bill_no", "B3"));
    EXPECT_EQ(q().asString("comp_name"), QStringLiteral("华美化妆品厂"));
    EXPECT_EQ(q().asString("gods_name"), QStringLiteral("洗发水"));
    EXPECT_EQ(q().asString("gods_unit"), QStringLiteral("瓶"));
    const int kindColumn = f.grid()->datasetModel()->columnOf("gods_kind");
    ASSERT_GE(kindColumn, 0);
    EXPECT_TRUE(f.grid()->model()->index(q().recNo(), kindColumn).data().toString().isEmpty());
    const int nameColumn = f.grid()->datasetModel()->columnOf("gods_name");
    EXPECT_EQ(f.grid()->model()->index(q().recNo(), nameColumn).data().toString(), QStringLiteral("洗发水"));
}

TEST_F(OutListTest, TheTypeChoiceSelectsSalesOrReturnsWhateverTheCaseOfTheStoredType)
{
    addStandardDocuments();
    // A sales document written with another case still counts as a sale.
    addDocument("B6", day(3, 6), "C2", "OUT", {{"G03", 1, 60}});
    struct Case {
        const char* kind;
        QStringList bills;
        const char* quantity;
        const char* amount;
    } cases[] = {
        {"全部", {"B1", "B2", "B3", "B6"}, "25", "530.2"},
        {"销售", {"B1", "B2", "B6"}, "15", "450.2"},
        {"退货厂商", {"B3"}, "10", "80"},
    };
    TFrmOutList f;
    show(f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        find(f, rangeFrom(), rangeTo(), QString::fromUtf8(c.kind));
        QStringList bills = column(q(), "bill_no");
        bills.removeDuplicates();
        bills.sort();
        EXPECT_EQ(bills, c.bills);
        EXPECT_EQ(f.totalQuantityBox()->text(), c.quantity);
        EXPECT_EQ(f.totalAmountBox()->text(), c.amount);
    }
}

TEST_F(OutListTest, ChoosingAGoodsCodeShowsItsNameClearsTheCustomerAndListsThatGoodsOnly)
{
    addStandardDocuments();
    TFrmOutList f;
    show(f);
    f.companyCodeCombo()->setText("C2");
    f.companyNameCombo()->setText(QStringLiteral("星光沙龙"));

    chooseWithMouse(f.goodsCodeCombo(), "G01");
    EXPECT_EQ(f.goodsCodeCombo()->currentText(), "G01");
    EXPECT_EQ(f.goodsNameCombo()->currentText(), QStringLiteral("洗发水"));
    EXPECT_TRUE(f.companyCodeCombo()->currentText().isEmpty());
    EXPECT_TRUE(f.companyNameCombo()->currentText().isEmpty());

    find(f, rangeFrom(), rangeTo());
    EXPECT_EQ(lines(), (QStringList{"B1 G01 2 38.8 77.6", "B1 G01 2 38.8 77.6", "B3 G01 10 8 80"}));
    EXPECT_EQ(f.totalQuantityBox()->text(), "14");
    EXPECT_EQ(f.totalAmountBox()->text(), "235.2");
}

TEST_F(OutListTest, TypingAGoodsNameFindsItsCode)
{
    addStandardDocuments();
    TFrmOutList f;
    show(f);
    retype(f.goodsNameCombo(), QStringLiteral("护发素"));
    EXPECT_EQ(f.goodsCodeCombo()->currentText(), "G02");
    find(f, rangeFrom(), rangeTo());
    EXPECT_EQ(lines(), (QStringList{"B1 G02 1 25 25", "B2 G02 6 5 30"}));
    EXPECT_EQ(f.totalQuantityBox()->text(), "7");
}

TEST_F(OutListTest, ChoosingACompanyClearsTheGoodsAndSearchesByCustomerOnly)
{
    addStandardDocuments();
    TFrmOutList f;
    show(f);
    chooseWithMouse(f.goodsCodeCombo(), "G02");
    ASSERT_EQ(f.goodsNameCombo()->currentText(), QStringLiteral("护发素"));

    chooseWithMouse(f.companyNameCombo(), QStringLiteral("丽人美发"));
    EXPECT_EQ(f.companyCodeCombo()->currentText(), "C1");
    EXPECT_TRUE(f.goodsCodeCombo()->currentText().isEmpty());
    EXPECT_TRUE(f.goodsNameCombo()->currentText().isEmpty());

    find(f, rangeFrom(), rangeTo());
    EXPECT_EQ(lines(), (QStringList{"B1 G01 2 38.8 77.6", "B1 G01 2 38.8 77.6", "B1 G02 1 25 25"}));
    EXPECT_EQ(f.totalQuantityBox()->text(), "5");
    EXPECT_EQ(f.totalAmountBox()->text(), "180.2");

    // By code: the name follows.
    chooseWithMouse(f.companyCodeCombo(), "S1");
    EXPECT_EQ(f.companyNameCombo()->currentText(), QStringLiteral("华美化妆品厂"));
}

TEST_F(OutListTest, ANameNoRecordHasListsNothing)
{
    addStandardDocuments();
    TFrmOutList f;
    show(f);
    retype(f.companyNameCombo(), QStringLiteral("无此公司"));
    EXPECT_TRUE(f.companyCodeCombo()->currentText().isEmpty());
    find(f, rangeFrom(), rangeTo());
    EXPECT_EQ(q().recordCount(), 0);
    EXPECT_EQ(f.totalQuantityBox()->text(), "0");
    EXPECT_EQ(f.totalAmountBox()->text(), "0");
}

TEST_F(OutListTest, TypedCriteriaAreValuesNeverSql)
{
    exec("insert into goods (gods_code, gods_name) values ('G''9', '奥''尼尔')");
    exec("insert into company (comp_code, comp_name) values ('K''1', '凯''西')");
    addDocument("B7", day(3, 2), "K'1", "out", {{"G'9", 3, 10}, {"G01", 1, 1}});
    TFrmOutList f;
    show(f);
    retype(f.goodsCodeCombo(), "G'9");
    EXPECT_EQ(f.goodsNameCombo()->currentText(), QStringLiteral("奥'尼尔"));
    find(f, rangeFrom(), rangeTo());
    EXPECT_EQ(lines(), (QStringList{"B7 G'9 3 10 30"}));

    retype(f.companyNameCombo(), QStringLiteral("凯'西"));
    EXPECT_EQ(f.companyCodeCombo()->currentText(), "K'1");
    find(f, rangeFrom(), rangeTo());
    EXPECT_EQ(f.totalQuantityBox()->text(), "4");
    EXPECT_EQ(count("goods"), 4);
}

TEST_F(OutListTest, AReversedRangeListsNothingAndPrintsNothing)
{
    addStandardDocuments();
    TFrmOutList f;
    show(f);
    report::PreviewCapture capture;
    testui::PromptResponder prompts;
    find(f, rangeTo(), rangeFrom());
    EXPECT_EQ(q().recordCount(), 0);
    EXPECT_EQ(f.totalQuantityBox()->text(), "0");
    EXPECT_EQ(f.totalAmountBox()->text(), "0");
    click(f, "cmd_prin");
    EXPECT_EQ(capture.count(), 0);
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(OutListTest, PrintingBeforeAnySearchDoesNothing)
{
    TFrmOutList f;
    show(f);
    report::PreviewCapture capture;
    testui::PromptResponder prompts;
    click(f, "cmd_prin");
    EXPECT_EQ(capture.count(), 0);
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(OutListTest, AFailedSearchIsReportedAndTheTotalsKeepTheirTexts)
{
    addStandardDocuments();
    TFrmOutList f;
    show(f);
    find(f, rangeFrom(), rangeTo());
    ASSERT_EQ(f.totalQuantityBox()->text(), "24");
    exec("drop table outgoods");
    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Error, QStringLiteral("数据库中缺少数据表"));
    click(f, "cmd_find");
    EXPECT_TRUE(prompts.last().details.contains("no such table")) << "the engine's words, for support";
    EXPECT_EQ(f.totalQuantityBox()->text(), "24");
    EXPECT_EQ(f.totalAmountBox()->text(), "470.2");
    EXPECT_FALSE(q().controlsDisabled());
}

TEST_F(OutListTest, PrintsTheListedLinesUnderTheCriteriaWithTheTotals)
{
    addStandardDocuments();
    TFrmOutList f;
    show(f);
    chooseWithMouse(f.companyCodeCombo(), "C2");
    find(f, rangeFrom(), rangeTo(), QStringLiteral("销售"));
    ASSERT_EQ(f.totalQuantityBox()->text(), "9");

    report::PreviewCapture capture;
    click(f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const report::PageModel& m = capture.last();
    EXPECT_EQ(m.paperSize, QSizeF(210, 297));
    EXPECT_EQ(m.margins, QMarginsF(10, 10, 10, 10));
    ASSERT_EQ(m.pageCount(), 1);
    const report::Page& p = m.pages[0];

    const report::TextItem* title = p.findText(QStringLiteral("出货统计"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->align, report::Align::Center);
    EXPECT_NEAR(title->pointSize, 14, 0.5);
    EXPECT_EQ(textAfter(p, QStringLiteral("商品编码")), "");
    EXPECT_EQ(textAfter(p, QStringLiteral("商品名称")), "");
    EXPECT_EQ(textAfter(p, QStringLiteral("客户编号")), "C2");
    EXPECT_EQ(textAfter(p, QStringLiteral("客户")), QStringLiteral("星光沙龙"));
    EXPECT_EQ(textAfter(p, QStringLiteral("日期范围")), "2026-03-01");
    EXPECT_EQ(p.countText("2026-03-10"), 1);
    EXPECT_EQ(p.countText(QStringLiteral("销售出货")), 1);

    EXPECT_EQ(p.textsOf(report::BandKind::ColumnHeader),
              (QStringList{"流水号", "客户", "货号", "品名", "容量", "单位", "单价", "数量", "小计"}));
    std::vector<QStringList> rows = detailRows(p, 9);
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<QStringList>{
                        {"B2", "星光沙龙", "G02", "护发素", "250ml", "瓶", "5", "6", "30"},
                        {"B2", "星光沙龙", "G03", "染膏", "60g", "支", "60", "3", "180"},
                    }));
    EXPECT_EQ(textAfter(p, QStringLiteral("合计数量")), "9");
    EXPECT_EQ(textAfter(p, QStringLiteral("合计金额")), "210");
}

TEST_F(OutListTest, TheGoodsCriteriaArePrintedAndEveryTypeLeavesTheTypeTextEmpty)
{
    addStandardDocuments();
    TFrmOutList f;
    show(f);
    chooseWithMouse(f.goodsCodeCombo(), "G03");
    find(f, rangeFrom(), rangeTo());
    report::PreviewCapture capture;
    click(f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const report::Page& p = capture.last().pages.at(0);
    EXPECT_EQ(textAfter(p, QStringLiteral("商品编码")), "G03");
    EXPECT_EQ(textAfter(p, QStringLiteral("商品名称")), QStringLiteral("染膏"));
    EXPECT_EQ(p.countText(QStringLiteral("销售出货")), 0);
    EXPECT_EQ(p.countText(QStringLiteral("退货厂商")), 0);
    EXPECT_EQ(detailRows(p, 9).size(), 1u);
}

TEST_F(OutListTest, FindAndPrintFollowTheRightsAtPosition25)
{
    struct Case {
        const char* name;
        int findPosition;
        int printPosition;
        bool findOn;
        bool printOn;
    } cases[] = {
        {"both granted", 25, 25, true, true},
        {"find refused", 0, 25, false, true},
        {"print refused", 25, 0, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString find(38, '1'), print(38, '1');
        if (c.findPosition == 0)
            find[24] = '0';
        if (c.printPosition == 0)
            print[24] = '0';
        PowFind = find;
        PowPrin = print;
        TFrmOutList f;
        EXPECT_EQ(button(f, "cmd_find")->isEnabled(), c.findOn);
        EXPECT_EQ(button(f, "cmd_prin")->isEnabled(), c.printOn);
        EXPECT_TRUE(button(f, "cmd_exit")->isEnabled());
    }
    // A neighbour's right does not count.
    PowFind = QString(24, '1') + '0' + QString(13, '1');
    PowPrin = QString(24, '0') + '1';
    TFrmOutList f;
    EXPECT_FALSE(button(f, "cmd_find")->isEnabled());
    EXPECT_TRUE(button(f, "cmd_prin")->isEnabled());
}

TEST_F(OutListTest, TheLineAmountIsComputedOnlyWhileTheFormIsOpen)
{
    addStandardDocuments();
    {
        TFrmOutList f;
        show(f);
        find(f, rangeFrom(), rangeTo(), QStringLiteral("退货厂商"));
        EXPECT_EQ(q().asString("sub_tota"), "80");
    }
    q().close();
    q().open();
    ASSERT_FALSE(q().isEmpty());
    EXPECT_TRUE(q().value("sub_tota").isNull());
}

} // namespace
