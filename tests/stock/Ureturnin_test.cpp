#include "stock/Ureturnin.h"

#include "tests/stock/StockDocumentFixture_test.h"

namespace {

const QString kStocked = QStringLiteral("入库");
const QString kNotStocked = QStringLiteral("不入库");

class CustomerReturnTest : public StockDocumentTest {
protected:
    // G01 back into stock at its sales price, G02 kept out of it.
    void returnTwoLines(TFrmReturnIn& f)
    {
        click(f, "cmd_add");
        typeLine(f, "G01", "2", {}, kStocked);
        newLine(f);
        typeLine(f, "G02", "3", {}, kNotStocked);
        click(f, "cmd_save");
        ASSERT_EQ(f.mode(), FormMode::Null);
    }
};

TEST_F(CustomerReturnTest, IsAnInmainDocumentWithAStockPickList)
{
    storeDocument("in", "P1", "in", {{"G01", 2, 5}});
    storeDocument("in", "R1", "retu", {{"G03", 1, 35}});
    auto f = openForm<TFrmReturnIn>();
    EXPECT_EQ(f->objectName(), "FrmReturnIn");
    EXPECT_EQ(f->windowTitle(), QStringLiteral("顾客退货单"));
    EXPECT_EQ(CurBillType, "retu");
    EXPECT_EQ(f->billNoBox()->text(), "R1");
    EXPECT_EQ(f->grid()->pickList("remark"), (QStringList{kStocked, kNotStocked}));

    click(*f, "cmd_add");
    QWidget* editor = openCell(*f, "remark");
    auto* pick = qobject_cast<QComboBox*>(editor);
    ASSERT_NE(pick, nullptr);
    EXPECT_EQ(items(pick), (QStringList{kStocked, kNotStocked}));

    f->settlementCombo()->setFocus();
    QTest::keyClick(f->settlementCombo(), Qt::Key_Return);
    EXPECT_TRUE(f->grid()->hasFocus());
}

TEST_F(CustomerReturnTest, LinesMarkedNotStockedMoveNoStock)
{
    setStock("G01", 10.0, 5.0);
    auto f = openForm<TFrmReturnIn>();
    returnTwoLines(*f);
    EXPECT_EQ(stock("G01").amount, 12);
    EXPECT_DOUBLE_EQ(stock("G01").cost.toDouble(), (10 * 5 + 2 * 8) / 12.0); // back at the sales price
    EXPECT_FALSE(stock("G02").found);
    EXPECT_EQ(count("inmain", "bill_type='retu'"), 1);
    EXPECT_EQ(count("ingoods", "gods_code='G02' and remark=:r and unit_pric=12", {{"r", kNotStocked}}), 1);
    EXPECT_EQ(count("ingoods", "gods_code='G01' and remark=:r", {{"r", kStocked}}), 1);
}

TEST_F(CustomerReturnTest, AReturnOntoAShortageIsCostedAtItsPrice)
{
    setStock("G01", -5.0, 10.0);
    auto f = openForm<TFrmReturnIn>();
    click(*f, "cmd_add");
    typeLine(*f, "G01", "10", {}, kStocked);
    click(*f, "cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(stock("G01").amount, 5);
    EXPECT_DOUBLE_EQ(stock("G01").cost.toDouble(), 8); // the sales price the line took
}

TEST_F(CustomerReturnTest, EditingKeepsLinesMarkedNotStockedOutOfStock)
{
    setStock("G01", 10.0, 5.0);
    auto f = openForm<TFrmReturnIn>();
    returnTwoLines(*f);
    const double costAfterReturn = stock("G01").cost.toDouble();

    click(*f, "cmd_edit");
    const OldLineSnapshot& old = StockDocumentForm::oldLines(StockDocumentKind::CustomerReturn);
    EXPECT_EQ(old.OldLineCount, 2);
    EXPECT_EQ(old.OldLineRemarks, (std::vector<QString>{kStocked, kNotStocked}));
    lineAt(*f, 0);
    enterCell(*f, "sub_amou", "4");
    lineAt(*f, 1);
    enterCell(*f, "sub_amou", "5");
    click(*f, "cmd_save");
    EXPECT_EQ(stock("G01").amount, 14);
    EXPECT_DOUBLE_EQ(stock("G01").cost.toDouble(), (10 * costAfterReturn + 4 * 8) / 14.0);
    EXPECT_FALSE(stock("G02").found);

    // A line put into stock on a later edit counts from then on.
    click(*f, "cmd_edit");
    lineAt(*f, 1);
    enterCell(*f, "remark", kStocked);
    click(*f, "cmd_save");
    EXPECT_EQ(stock("G02").amount, 5);
    EXPECT_EQ(stock("G01").amount, 14);
}

TEST_F(CustomerReturnTest, DeletingAReturnLeavesLinesMarkedNotStockedAlone)
{
    testui::PromptResponder prompts;
    storeDocument("in", "R1", "retu", {{"G01", 2, 8, "入库"}, {"G02", 3, 12, "不入库"}, {"G03", 1, 35}});
    setStock("G01", 12.0, 5.5);
    setStock("G02", 7.0, 7.0);
    setStock("G03", 1.0, 20.0);
    auto f = openForm<TFrmReturnIn>();
    prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Ok});
    click(*f, "cmd_dele");
    EXPECT_EQ(stock("G01").amount, 10);
    EXPECT_EQ(stock("G02").amount, 7);
    EXPECT_EQ(stock("G03").amount, 0);
    EXPECT_EQ(count("inmain"), 0);
    EXPECT_EQ(count("ingoods"), 0);
}

} // namespace
