#include "stock/Ugodsfind.h"

#include "tests/stock/StockFixture_test.h"

#include "core/Upublic.h"

#include <QLineEdit>

namespace {

class GoodsFindTest : public StockFormTest {
protected:
    void SetUp() override
    {
        StockFormTest::SetUp();
        // Stored out of code order: the list shows them by code.
        exec("insert into goods (gods_code, gods_name, gods_spec, gods_type, gods_kind, gods_unit) values "
             "('G03', '洗发水', '500ml', '滋润型', '洗护', '瓶'),"
             "('G01', '护发素', '250ml', '修护型', '洗护', '瓶'),"
             "('G02', '洗发水', '1000ml', '去屑型', '洗护', '桶'),"
             "('G''04', 'L''Oreal 染膏', '60g', '棕色', '染发', '支')");
    }

    db::Dataset& q() { return dataMod().GoodsFindQ; }
};

TEST_F(GoodsFindTest, ListsEveryGoodsByCodeWithTheNamesToChooseFrom)
{
    TFrmGoodsFind f;
    EXPECT_EQ(f.objectName(), "FrmGoodsFind");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("商品查询"));
    EXPECT_EQ(button(f, "cmd_prin")->text(), QStringLiteral("选取[&O]"));
    EXPECT_EQ(button(f, "cmd_exit")->text(), QStringLiteral("退出[&X]"));
    EXPECT_EQ(column(q(), "gods_code"), (QStringList{"G'04", "G01", "G02", "G03"}));
    EXPECT_EQ(items(f.nameCombo()).size(), 3);
    EXPECT_TRUE(f.nameCombo()->text().isEmpty());
    EXPECT_TRUE(f.grid()->rowSelect());
    EXPECT_TRUE(f.grid()->isReadOnly());
    EXPECT_EQ(titles(f.grid()), (QStringList{"商品编码", "商品名称", "规格", "类型", "种类", "单位"}));
}

TEST_F(GoodsFindTest, TheTitlesStayAsTheyAreWhateverTheShopCallsTheGoodsColumns)
{
    GoodsCodeCaption = QStringLiteral("货号");
    GoodsNameCaption = QStringLiteral("品名");
    TFrmGoodsFind f;
    EXPECT_EQ(titles(f.grid()).mid(0, 2), (QStringList{"商品编码", "商品名称"}));
}

TEST_F(GoodsFindTest, TypingACodeMovesToThatGoods)
{
    TFrmGoodsFind f;
    show(f);
    QTest::keyClicks(f.codeBox(), "G03");
    EXPECT_EQ(q().asString("gods_code"), "G03");
    EXPECT_EQ(f.grid()->currentIndex().row(), 3);
    QTest::keyClicks(f.codeBox(), "9"); // no such code: the grid stays
    EXPECT_EQ(q().asString("gods_code"), "G03");

    f.codeBox()->clear();
    QTest::keyClicks(f.codeBox(), " G'04"); // trimmed, and a quote is just a character
    EXPECT_EQ(q().asString("gods_code"), "G'04");
    EXPECT_EQ(f.grid()->currentIndex().row(), 0);
}

TEST_F(GoodsFindTest, ChoosingANameMovesToTheFirstListedGoodsOfThatName)
{
    TFrmGoodsFind f;
    show(f);
    q().last();
    chooseWithMouse(f.nameCombo(), QStringLiteral("洗发水"));
    EXPECT_EQ(q().asString("gods_code"), "G02");
    EXPECT_EQ(f.codeBox()->text(), "G02");
    EXPECT_EQ(f.grid()->currentIndex().row(), 2);

    retype(f.nameCombo(), QStringLiteral("L'Oreal 染膏"));
    EXPECT_EQ(q().asString("gods_code"), "G'04");
    EXPECT_EQ(f.codeBox()->text(), "G'04");

    testui::typeText(f.nameCombo(), QStringLiteral("X")); // a name no goods has
    EXPECT_TRUE(f.codeBox()->text().isEmpty());
    EXPECT_EQ(q().asString("gods_code"), "G'04");
}

TEST_F(GoodsFindTest, TheOpenerReceivesTheChosenCode)
{
    bool acted = false;
    whenModal<TFrmGoodsFind>([](TFrmGoodsFind& f) {
        QTest::keyClicks(f.codeBox(), "G01");
        QTest::mouseClick(f.findChild<QPushButton*>("cmd_prin"), Qt::LeftButton);
    }, acted);
    EXPECT_EQ(chooseField<TFrmGoodsFind>(nullptr, "gods_code"), std::optional<QString>("G01"));
    EXPECT_TRUE(acted);
    EXPECT_TRUE(q().isActive()) << "the choice outlives the chooser";
    EXPECT_EQ(q().asString("gods_name"), QStringLiteral("护发素"));
}

TEST_F(GoodsFindTest, ADoubleClickChooses)
{
    bool acted = false;
    whenModal<TFrmGoodsFind>([](TFrmGoodsFind& f) { doubleClickRow(f.grid(), 2); }, acted);
    EXPECT_EQ(chooseFields<TFrmGoodsFind>(nullptr, {"gods_code", "gods_unit"}), (QStringList{"G02", "桶"}));
    EXPECT_TRUE(acted);
}

TEST_F(GoodsFindTest, ExitChoosesNothing)
{
    bool acted = false;
    whenModal<TFrmGoodsFind>([](TFrmGoodsFind& f) {
        QTest::keyClicks(f.codeBox(), "G02");
        QTest::mouseClick(f.findChild<QPushButton*>("cmd_exit"), Qt::LeftButton);
    }, acted);
    EXPECT_EQ(chooseField<TFrmGoodsFind>(nullptr, "gods_code"), std::nullopt);
    EXPECT_TRUE(acted);
}

TEST_F(GoodsFindTest, AnEmptyListCannotBeChosenFrom)
{
    exec("delete from goods");
    bool acted = false;
    bool stillOpen = false;
    whenModal<TFrmGoodsFind>([&stillOpen](TFrmGoodsFind& f) {
        QTest::mouseClick(f.findChild<QPushButton*>("cmd_prin"), Qt::LeftButton);
        QTest::mouseDClick(f.grid()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        stillOpen = f.isVisible();
        QTest::mouseClick(f.findChild<QPushButton*>("cmd_exit"), Qt::LeftButton);
    }, acted);
    EXPECT_EQ(chooseField<TFrmGoodsFind>(nullptr, "gods_code"), std::nullopt);
    EXPECT_TRUE(acted);
    EXPECT_TRUE(stillOpen);
}

} // namespace
