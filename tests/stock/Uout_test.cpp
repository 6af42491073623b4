#include "stock/Uout.h"

#include "tests/stock/StockDocumentFixture_test.h"

#include "stock/Uin.h"

#include <QLabel>

namespace {

class SaleTest : public StockDocumentTest {
protected:
    // A sale entered through the form; the price comes from the goods with Enter.
    void sell(TFrmOut& f, const std::vector<std::pair<const char*, const char*>>& lines)
    {
        click(f, "cmd_add");
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i > 0)
                newLine(f);
            typeLine(f, QString::fromLatin1(lines[i].first), QString::fromLatin1(lines[i].second));
        }
        click(f, "cmd_save");
        ASSERT_EQ(f.mode(), FormMode::Null);
    }
};

TEST_F(SaleTest, OpensOnTheFirstSaleOfTodayWithTheCompanysPhone)
{
    storeDocument("out", "S1", "out", {{"G01", 2, 8}});
    storeDocument("out", "T1", "retu", {{"G01", 9, 5}});
    auto f = openForm<TFrmOut>();
    EXPECT_EQ(f->objectName(), "FrmOut");
    EXPECT_EQ(f->windowTitle(), QStringLiteral("销售管理"));
    EXPECT_EQ(CurBillType, "out");
    EXPECT_EQ(f->billNoBox()->text(), "S1");
    EXPECT_EQ(f->totalAmountBox()->text(), "16");
    EXPECT_EQ(f->companyCodeBox()->objectName(), "DBEdit3");
    EXPECT_EQ(f->companyCodeBox()->text(), "C01");
    auto* phone = f->findChild<ui::DbLineEdit*>("DBEdit2");
    ASSERT_NE(phone, nullptr);
    EXPECT_EQ(phone->text(), "020-1234");
    EXPECT_NE(f->findChild<QPushButton*>("Button1"), nullptr);
    EXPECT_EQ(f->findChild<QPushButton*>("BitBtn1"), nullptr);
    QStringList labels;
    for (auto* l : f->findChildren<QLabel*>())
        labels << l->text();
    for (const char* caption : {"公司名称", "实收金额", "联系电话"})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(caption))) << caption;
}

TEST_F(SaleTest, ASaleLowersStockAndKeepsTheCost)
{
    setStock("G01", 20.0, 6.0);
    auto f = openForm<TFrmOut>();
    sell(*f, {{"G01", "5"}});
    EXPECT_EQ(stock("G01").amount, 15);
    EXPECT_EQ(stock("G01").cost.toDouble(), 6);
    // Enter in the code cell took the sales price.
    EXPECT_EQ(count("outgoods", "gods_code='G01' and sub_amou=5 and unit_pric=8"), 1);
    EXPECT_EQ(count("outmain", "bill_type='out' and shou_tota=40"), 1);
    EXPECT_EQ(count("inmain"), 0);
}

TEST_F(SaleTest, SellingGoodsWithoutAStockRecordLeavesAShortage)
{
    auto f = openForm<TFrmOut>();
    sell(*f, {{"G02", "3"}});
    EXPECT_EQ(stock("G02").amount, -3);
    EXPECT_TRUE(stock("G02").cost.isNull());
    f.reset();

    auto in = openForm<TFrmIn>();
    click(*in, "cmd_add");
    typeLine(*in, "G02", "10", "7");
    click(*in, "cmd_save");
    EXPECT_EQ(stock("G02").amount, 7);
    EXPECT_DOUBLE_EQ(stock("G02").cost.toDouble(), 7); // the shortage had nothing to average with
}

TEST_F(SaleTest, APurchaseOntoAShortageIsCostedAtItsPrice)
{
    auto in = openForm<TFrmIn>();
    click(*in, "cmd_add");
    typeLine(*in, "G01", "5", "10");
    click(*in, "cmd_save");
    auto out = openForm<TFrmOut>();
    sell(*out, {{"G01", "10"}});
    EXPECT_EQ(stock("G01").amount, -5);
    EXPECT_EQ(stock("G01").cost.toDouble(), 10);

    click(*in, "cmd_add");
    typeLine(*in, "G01", "10", "4");
    click(*in, "cmd_save");
    EXPECT_EQ(in->mode(), FormMode::Null);
    EXPECT_EQ(stock("G01").amount, 5);
    EXPECT_DOUBLE_EQ(stock("G01").cost.toDouble(), 4);
}

TEST_F(SaleTest, EditingASaleMovesStockByTheDifference)
{
    setStock("G01", 20.0, 6.0);
    auto f = openForm<TFrmOut>();
    sell(*f, {{"G01", "5"}, {"G02", "1"}});
    EXPECT_EQ(stock("G01").amount, 15);
    click(*f, "cmd_edit");
    EXPECT_EQ(StockDocumentForm::oldLines(StockDocumentKind::Sale).OldLineCodes, (std::vector<QString>{"G01", "G02"}));
    lineAt(*f, 0);
    enterCell(*f, "sub_amou", "8");
    click(*f, "cmd_save");
    EXPECT_EQ(stock("G01").amount, 12);
    EXPECT_EQ(stock("G01").cost.toDouble(), 6);
    EXPECT_EQ(stock("G02").amount, -1);
}

TEST_F(SaleTest, DeletingASaleBringsItsGoodsBack)
{
    testui::PromptResponder prompts;
    storeDocument("out", "S1", "out", {{"G01", 5, 8}, {"G01", 1, 8}});
    setStock("G01", 10.0, 6.0);
    auto f = openForm<TFrmOut>();
    prompts.expect(QStringLiteral("此操作将删除本单全部数据，确认删除?"), {ui::Answer::Ok});
    click(*f, "cmd_dele");
    EXPECT_EQ(stock("G01").amount, 16);
    EXPECT_EQ(stock("G01").cost.toDouble(), 6);
    EXPECT_EQ(count("outmain"), 0);
    EXPECT_EQ(count("outgoods"), 0);
}

TEST_F(SaleTest, EnterInTheCurrencyComboGoesToTheGrid)
{
    auto f = openForm<TFrmOut>();
    click(*f, "cmd_add");
    f->settlementCombo()->setFocus();
    QTest::keyClick(f->settlementCombo(), Qt::Key_Return);
    EXPECT_FALSE(f->grid()->hasFocus());
    f->currencyCombo()->setFocus();
    QTest::keyClick(f->currencyCombo(), Qt::Key_Return);
    EXPECT_TRUE(f->grid()->hasFocus());
}

TEST_F(SaleTest, PrintLinesGetTheirAmountWhileTheFormIsOpen)
{
    exec("insert into outtemp (bill_no, gods_code, sub_amou, unit_pric) values ('S1', 'G01', 2.5, 4)");
    db::Dataset& temp = dataMod().OutTempQ;
    auto reopen = [&temp] {
        temp.close();
        temp.setSql(QStringLiteral("select * from outtemp"));
        temp.open();
    };
    {
        auto f = openForm<TFrmOut>();
        reopen();
        EXPECT_EQ(temp.displayText("sub_tota"), "10");
    }
    reopen();
    EXPECT_TRUE(temp.value("sub_tota").isNull());
}

} // namespace
