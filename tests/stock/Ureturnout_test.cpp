#include "stock/Ureturnout.h"

#include "tests/stock/StockDocumentFixture_test.h"

namespace {

class SupplierReturnTest : public StockDocumentTest {};

TEST_F(SupplierReturnTest, IsAnOutmainDocumentWithAStockPickList)
{
    storeDocument("out", "S1", "out", {{"G01", 2, 8}});
    storeDocument("out", "T1", "retu", {{"G03", 1, 20}});
    auto f = openForm<TFrmReturnout>();
    EXPECT_EQ(f->objectName(), "FrmReturnout");
    EXPECT_EQ(f->windowTitle(), QStringLiteral("退货厂商"));
    EXPECT_EQ(CurBillType, "retu");
    EXPECT_EQ(f->billNoBox()->text(), "T1");
    EXPECT_EQ(f->grid()->pickList("remark"), (QStringList{QStringLiteral("入库"), QStringLiteral("不入库")}));
    EXPECT_EQ(f->findChild<ui::DbLineEdit*>("DBEdit2"), f->companyCodeBox()); // no phone box here

    click(*f, "cmd_add");
    f->currencyCombo()->setFocus();
    QTest::keyClick(f->currencyCombo(), Qt::Key_Return);
    EXPECT_FALSE(f->grid()->hasFocus());
    f->settlementCombo()->setFocus();
    QTest::keyClick(f->settlementCombo(), Qt::Key_Return);
    EXPECT_TRUE(f->grid()->hasFocus());
}

TEST_F(SupplierReturnTest, EveryLineLeavesStockWhateverItsRemark)
{
    setStock("G01", 10.0, 5.0);
    setStock("G02", 10.0, 7.0);
    auto f = openForm<TFrmReturnout>();
    click(*f, "cmd_add");
    typeLine(*f, "G01", "2", {}, QStringLiteral("不入库"));
    newLine(*f);
    typeLine(*f, "G02", "3", {}, QStringLiteral("入库"));
    click(*f, "cmd_save");
    ASSERT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(stock("G01").amount, 8);
    EXPECT_EQ(stock("G02").amount, 7);
    EXPECT_EQ(stock("G01").cost.toDouble(), 5);
    EXPECT_EQ(stock("G02").cost.toDouble(), 7);
    // Returned at the purchase price.
    EXPECT_EQ(count("outgoods", "gods_code='G01' and unit_pric=5"), 1);
    EXPECT_EQ(count("outmain", "bill_type='retu' and shou_tota=31"), 1);

    click(*f, "cmd_edit");
    lineAt(*f, 0);
    enterCell(*f, "sub_amou", "5");
    click(*f, "cmd_save");
    EXPECT_EQ(stock("G01").amount, 5);
    EXPECT_EQ(stock("G02").amount, 7);

    testui::PromptResponder prompts;
    prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Ok});
    click(*f, "cmd_dele");
    EXPECT_EQ(stock("G01").amount, 10);
    EXPECT_EQ(stock("G02").amount, 10);
    EXPECT_EQ(count("outmain"), 0);
    EXPECT_EQ(count("outgoods"), 0);
}

} // namespace
