#include "stock/Ugoods.h"

#include "tests/stock/StockFixture_test.h"

#include "core/Upublic.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EnterAsTab.h"
#include "stock/Ucompfind.h"

#include <QGroupBox>

namespace {

class GoodsFormTest : public StockFormTest {
protected:
    void SetUp() override
    {
        StockFormTest::SetUp();
        exec("insert into company (comp_code, comp_name) values "
             "('P1', '华美化妆品厂'), ('S1', '丽人批发'), ('S2', 'O''Neil Trading')");
        // Stored out of code order: the list shows them by code.
        exec("insert into goods (gods_code, gods_name, gods_spec, gods_type, gods_kind, gods_unit, valu_in, "
             "valu_out, prod_code, supp_code) values "
             "('G02', '护发素', '250ml', '修护型', '洗护', '瓶', 12.5, 25, 'P1', 'S1'),"
             "('G01', '洗发水', '500ml', '滋润型', '洗护', '瓶', 20, 38.8, 'P1', 'NONE'),"
             "('G03', '染膏', '60g', '棕色', '染发', '支', 30, 60, null, 'S2')");
    }

    db::Dataset& q() { return dataMod().GoodsQ; }

    static ui::DbLineEdit* edit(TFrmGoods& f, const char* column)
    {
        auto* box = qobject_cast<ui::DbLineEdit*>(f.boxOf(QString::fromLatin1(column)));
        EXPECT_NE(box, nullptr) << column;
        return box;
    }
    static ui::DbComboBox* combo(TFrmGoods& f, const char* column)
    {
        auto* box = qobject_cast<ui::DbComboBox*>(f.boxOf(QString::fromLatin1(column)));
        EXPECT_NE(box, nullptr) << column;
        return box;
    }
    QString stored(const QString& code, const QString& column)
    {
        return scalar("select " + column + " from goods where gods_code=:c", {{"c", code}}).toString();
    }
    // Picks the company of that code in the chooser the "..." button opens.
    static void pickCompany(TFrmGoods& f, const char* buttonName, const char* code, bool& acted)
    {
        const QString wanted = QString::fromLatin1(code);
        whenModal<TFrmCompFind>([wanted](TFrmCompFind& c) {
            ASSERT_TRUE(c.dataset().locate(QStringLiteral("comp_code"), wanted));
            doubleClickRow(c.grid(), c.dataset().recNo());
        }, acted);
        click(f, buttonName);
    }
};

TEST_F(GoodsFormTest, OpensOnEveryGoodsByCodeWithTheNamedControls)
{
    TFrmGoods f;
    EXPECT_EQ(f.objectName(), "FrmGoods");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("产品资料"));
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(column(q(), "gods_code"), (QStringList{"G01", "G02", "G03"}));
    EXPECT_EQ(q().lockType(), db::LockType::BatchOptimistic);
    const std::pair<const char*, const char*> buttons[] = {{"cmd_add", "新增[&A]"}, {"cmd_edit", "修改[&E]"},
                                                           {"cmd_dele", "删除[&D]"}, {"cmd_save", "保存[&S]"},
                                                           {"cmd_canc", "取消[&C]"}, {"cmd_exit", "退出[&X]"},
                                                           {"cmd_find", "查找"},     {"Button1", "..."},
                                                           {"Button2", "..."}};
    for (const auto& [name, caption] : buttons)
        EXPECT_EQ(button(f, name)->text(), QString::fromUtf8(caption)) << name;
    EXPECT_EQ(qobject_cast<QGroupBox*>(f.findBox()->parentWidget())->title(), QStringLiteral("快速查找"));
    EXPECT_EQ(f.boxOf("gods_note")->objectName(), "DBEdit13");
    EXPECT_EQ(edit(f, "valu_out")->text(), "38.8");
}

TEST_F(GoodsFormTest, TheListKeepsItsOwnTitlesWhateverTheShopCallsTheGoodsColumns)
{
    GoodsCodeCaption = QStringLiteral("货号");
    GoodsNameCaption = QStringLiteral("品名");
    GoodsSpecCaption = QStringLiteral("容量");
    GoodsTypeCaption = QStringLiteral("款式");
    GoodsKindCaption = QStringLiteral("大类");
    TFrmGoods f;
    EXPECT_EQ(titles(f.grid()), (QStringList{"产品编码", "产品名称", "规格", "型号", "类别"}));
    EXPECT_TRUE(f.grid()->rowSelect());
}

TEST_F(GoodsFormTest, ProducerAndSupplierAreShownByName)
{
    TFrmGoods f;
    show(f);
    struct Case {
        int row;
        const char* producer;
        const char* supplier;
    };
    const Case cases[] = {{0, "华美化妆品厂", ""}, {1, "华美化妆品厂", "丽人批发"}, {2, "", "O'Neil Trading"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        clickRow(f.grid(), c.row);
        EXPECT_EQ(edit(f, "prod_name")->text(), QString::fromUtf8(c.producer));
        EXPECT_EQ(edit(f, "supp_name")->text(), QString::fromUtf8(c.supplier));
    }
    // A company renamed elsewhere shows its new name.
    exec("update company set comp_name='丽人批发中心' where comp_code='S1'");
    clickRow(f.grid(), 0);
    clickRow(f.grid(), 1);
    EXPECT_EQ(edit(f, "supp_name")->text(), QStringLiteral("丽人批发中心"));
}

TEST_F(GoodsFormTest, AddingWritesEveryBoxOnlyWhenSaved)
{
    struct Typed {
        const char* column;
        const char* text;
    };
    const Typed texts[] = {
        {"gods_code", "G10"}, {"gods_name", "焗油膏"}, {"prod_place", "广州"}, {"gods_note", "新品"}};
    struct Amount {
        const char* column;
        const char* text;
        double stored;
    };
    const Amount amounts[] = {{"valu_in", "15.5", 15.5},  {"valu_out", "29", 29},     {"max_amou", "100", 100},
                              {"min_amou", "5", 5},       {"agent_pric", "22.25", 22.25}};
    TFrmGoods f;
    show(f);
    click(f, "cmd_add");
    EXPECT_EQ(f.mode(), FormMode::Add);
    EXPECT_EQ(QApplication::focusWidget(), f.codeBox());
    for (const Typed& t : texts)
        testui::typeText(edit(f, t.column), QString::fromUtf8(t.text));
    for (const Amount& a : amounts)
        testui::typeText(edit(f, a.column), QString::fromUtf8(a.text));
    retype(combo(f, "gods_spec"), QStringLiteral("200ml"));
    chooseWithMouse(combo(f, "gods_type"), QStringLiteral("修护型"));
    retype(combo(f, "gods_kind"), QStringLiteral("护理"));
    retype(combo(f, "gods_unit"), QStringLiteral("罐"));
    bool producerChosen = false;
    bool supplierChosen = false;
    pickCompany(f, "Button1", "P1", producerChosen);
    pickCompany(f, "Button2", "S2", supplierChosen);
    ASSERT_TRUE(producerChosen);
    ASSERT_TRUE(supplierChosen);
    EXPECT_EQ(edit(f, "prod_code")->text(), "P1");
    EXPECT_EQ(edit(f, "prod_name")->text(), QStringLiteral("华美化妆品厂"));
    EXPECT_EQ(edit(f, "supp_code")->text(), "S2");
    EXPECT_EQ(edit(f, "supp_name")->text(), "O'Neil Trading");

    // Nothing typed reaches the table before the save.
    f.codeBox()->setFocus();
    EXPECT_EQ(count("goods"), 3);
    click(f, "cmd_save");

    EXPECT_EQ(f.mode(), FormMode::Null);
    ASSERT_EQ(count("goods", "gods_code='G10'"), 1);
    for (const Typed& t : texts) {
        SCOPED_TRACE(t.column);
        EXPECT_EQ(stored("G10", t.column), QString::fromUtf8(t.text));
    }
    for (const Amount& a : amounts) {
        SCOPED_TRACE(a.column);
        EXPECT_DOUBLE_EQ(stored("G10", a.column).toDouble(), a.stored);
    }
    EXPECT_EQ(stored("G10", "gods_spec"), "200ml");
    EXPECT_EQ(stored("G10", "gods_type"), QStringLiteral("修护型"));
    EXPECT_EQ(stored("G10", "gods_kind"), QStringLiteral("护理"));
    EXPECT_EQ(stored("G10", "gods_unit"), QStringLiteral("罐"));
    EXPECT_EQ(stored("G10", "prod_code"), "P1");
    EXPECT_EQ(stored("G10", "supp_code"), "S2");
    EXPECT_EQ(q().asString("gods_code"), "G10");
    EXPECT_FALSE(q().hasPendingChanges());
}

TEST_F(GoodsFormTest, TheListsOfferStoredValuesOnceAndLearnSavedOnes)
{
    exec("insert into goods (gods_code, gods_spec, gods_type, gods_kind, gods_unit) values ('G04', '', '  ', '', null)");
    TFrmGoods f;
    show(f);
    // Blank and empty values are not offered.
    EXPECT_EQ(items(combo(f, "gods_unit")), (QStringList{"瓶", "支"}));
    EXPECT_EQ(items(combo(f, "gods_kind")), (QStringList{"洗护", "染发"}));
    EXPECT_EQ(items(combo(f, "gods_type")).size(), 3);
    EXPECT_EQ(items(combo(f, "gods_spec")).size(), 3);

    click(f, "cmd_add");
    QTest::keyClicks(f.codeBox(), "G20");
    retype(combo(f, "gods_unit"), QStringLiteral("盒"));
    retype(combo(f, "gods_kind"), QStringLiteral("洗护")); // already listed
    click(f, "cmd_save");
    ASSERT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(items(combo(f, "gods_unit")), (QStringList{"瓶", "支", "盒"}));
    EXPECT_EQ(items(combo(f, "gods_kind")).count(QStringLiteral("洗护")), 1);

    click(f, "cmd_add");
    QTest::keyClicks(f.codeBox(), "G21");
    retype(combo(f, "gods_unit"), QStringLiteral("盒"));
    click(f, "cmd_save");
    EXPECT_EQ(items(combo(f, "gods_unit")).count(QStringLiteral("盒")), 1);
}

TEST_F(GoodsFormTest, SavingWithABlankCodeDoesNothing)
{
    TFrmGoods f;
    show(f);
    testui::PromptResponder prompts; // no message either
    for (const char* code : {"", "  "}) {
        SCOPED_TRACE(code);
        click(f, "cmd_add");
        QTest::keyClicks(f.codeBox(), code);
        testui::typeText(edit(f, "gods_name"), QStringLiteral("无编码"));
        click(f, "cmd_save");
        EXPECT_EQ(f.mode(), FormMode::Add);
        EXPECT_EQ(count("goods"), 3);
        click(f, "cmd_canc");
    }
    EXPECT_EQ(count("goods"), 3);
    EXPECT_EQ(q().recordCount(), 3);
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(GoodsFormTest, EditChangesTheGoodsNamedInTheCodeBox)
{
    TFrmGoods f;
    show(f);
    clickRow(f.grid(), 2); // G03
    click(f, "cmd_edit");
    EXPECT_EQ(f.mode(), FormMode::Edit);
    EXPECT_EQ(QApplication::focusWidget(), f.codeBox());
    retype(edit(f, "valu_out"), "66.6");
    bool acted = false;
    pickCompany(f, "Button1", "S1", acted);
    ASSERT_TRUE(acted);
    EXPECT_EQ(edit(f, "prod_name")->text(), QStringLiteral("丽人批发"));
    EXPECT_DOUBLE_EQ(stored("G03", "valu_out").toDouble(), 60);
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_DOUBLE_EQ(stored("G03", "valu_out").toDouble(), 66.6);
    EXPECT_EQ(stored("G03", "prod_code"), "S1");
    EXPECT_EQ(count("goods"), 3);
    EXPECT_EQ(q().asString("gods_code"), "G03");
}

TEST_F(GoodsFormTest, EditChangesTheGoodsShownNotAnotherWithTheSameCode)
{
    exec("insert into goods (gods_code, gods_name, valu_out) values ('G02', '护发素二', 30)");
    TFrmGoods f;
    show(f);
    for (int row = 0; row < q().recordCount(); ++row)
        if (db::asString(q().value(row, q().fieldIndex("gods_name"))) == QStringLiteral("护发素二"))
            clickRow(f.grid(), row);
    click(f, "cmd_edit");
    ASSERT_EQ(f.mode(), FormMode::Edit);
    retype(edit(f, "valu_out"), "77");
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Null);
    auto price = [this](const QString& name) {
        return scalar("select valu_out from goods where gods_name=:n", {{"n", name}}).toDouble();
    };
    EXPECT_DOUBLE_EQ(price(QStringLiteral("护发素二")), 77);
    EXPECT_DOUBLE_EQ(price(QStringLiteral("护发素")), 25);
}

TEST_F(GoodsFormTest, CodesTypedInAnyLetterCaseFindTheGoodsAndTheCompany)
{
    TFrmGoods f;
    show(f);
    QTest::keyClicks(f.findBox(), "g03");
    QTest::keyClick(f.findBox(), Qt::Key_Return);
    ASSERT_EQ(q().asString("gods_code"), "G03");
    click(f, "cmd_edit");
    retype(edit(f, "supp_code"), "s1");
    QTest::keyClick(edit(f, "supp_code"), Qt::Key_Tab);
    EXPECT_EQ(edit(f, "supp_name")->text(), QStringLiteral("丽人批发"));
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(count("goods", "gods_code='G03' and supp_code='S1' collate binary"), 1)
        << "stored as the company spells it";
}

TEST_F(GoodsFormTest, EditAndDeleteWithAnEmptyCodeBoxDoNothing)
{
    exec("delete from goods");
    TFrmGoods f;
    show(f);
    testui::PromptResponder prompts;
    click(f, "cmd_edit");
    EXPECT_EQ(f.mode(), FormMode::Null);
    click(f, "cmd_dele");
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(GoodsFormTest, CancelDropsWhatWasTyped)
{
    TFrmGoods f;
    show(f);
    click(f, "cmd_add");
    QTest::keyClicks(f.codeBox(), "G30");
    click(f, "cmd_canc");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(q().recordCount(), 3);
    EXPECT_FALSE(q().hasPendingChanges());

    clickRow(f.grid(), 0);
    click(f, "cmd_edit");
    retype(edit(f, "gods_name"), QStringLiteral("改名"));
    click(f, "cmd_canc");
    EXPECT_EQ(q().asString("gods_name"), QStringLiteral("洗发水"));
    EXPECT_EQ(edit(f, "gods_name")->text(), QStringLiteral("洗发水"));
    EXPECT_EQ(stored("G01", "gods_name"), QStringLiteral("洗发水"));
    EXPECT_EQ(count("goods"), 3);
}

TEST_F(GoodsFormTest, DeleteAsksAndWritesAtOnce)
{
    TFrmGoods f;
    show(f);
    clickRow(f.grid(), 1); // G02
    testui::PromptResponder prompts;
    prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Cancel});
    click(f, "cmd_dele");
    EXPECT_EQ(prompts.last().caption, QStringLiteral("提示"));
    EXPECT_EQ(prompts.last().buttons, ui::Buttons::OkCancel);
    EXPECT_EQ(prompts.last().icon, ui::Icon::Question);
    EXPECT_EQ(count("goods"), 3);

    prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Ok});
    click(f, "cmd_dele");
    EXPECT_EQ(count("goods"), 2);
    EXPECT_EQ(count("goods", "gods_code='G02'"), 0);
    EXPECT_FALSE(q().hasPendingChanges());
}

TEST_F(GoodsFormTest, ADeleteTheTableRefusesLeavesTheGoodsForGood)
{
    exec("create trigger keep_goods before delete on goods when old.gods_code = 'G02' "
         "begin select raise(abort, 'refused'); end");
    TFrmGoods f;
    show(f);
    clickRow(f.grid(), 1);
    {
        testui::PromptResponder prompts;
        prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Ok});
        click(f, "cmd_dele");
    }
    EXPECT_EQ(count("goods", "gods_code='G02'"), 1);
    EXPECT_EQ(column(q(), "gods_code"), (QStringList{"G01", "G02", "G03"}));

    // The refused deletion does not ride along with the next save.
    exec("drop trigger keep_goods");
    click(f, "cmd_add");
    QTest::keyClicks(f.codeBox(), "G40");
    click(f, "cmd_save");
    EXPECT_EQ(count("goods", "gods_code='G40'"), 1);
    EXPECT_EQ(count("goods", "gods_code='G02'"), 1);
}

TEST_F(GoodsFormTest, AFailedSaveKeepsTheChangeForAnotherTry)
{
    exec("create trigger refuse_goods before insert on goods when new.gods_code = 'BAD' "
         "begin select raise(abort, 'refused'); end");
    TFrmGoods f;
    show(f);
    click(f, "cmd_add");
    QTest::keyClicks(f.codeBox(), "BAD");
    testui::typeText(edit(f, "gods_name"), QStringLiteral("被拒产品"));
    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Error, "refused");
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Add);
    EXPECT_EQ(f.codeBox()->text(), "BAD");
    EXPECT_EQ(count("goods"), 3);

    retype(f.codeBox(), "G50");
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(stored("G50", "gods_name"), QStringLiteral("被拒产品"));
    EXPECT_EQ(count("goods"), 4);
}

TEST_F(GoodsFormTest, AnUnreadablePriceStopsTheSave)
{
    TFrmGoods f;
    show(f);
    click(f, "cmd_add");
    QTest::keyClicks(f.codeBox(), "G60");
    testui::typeText(edit(f, "valu_in"), QStringLiteral("很贵"));
    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Error, QStringLiteral("建议进价：“很贵”不是有效的数值"));
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Add);
    EXPECT_EQ(count("goods"), 3);
    EXPECT_EQ(QApplication::focusWidget(), edit(f, "valu_in")) << "to be corrected where it is";
}

TEST_F(GoodsFormTest, FindMovesToTheCodeAndIsQuietWithoutIt)
{
    exec("insert into goods (gods_code, gods_name) values ('L''OR-1', 'Quote')");
    TFrmGoods f;
    show(f);
    testui::PromptResponder prompts;
    QTest::keyClicks(f.findBox(), " G03 ");
    click(f, "cmd_find");
    EXPECT_EQ(q().asString("gods_code"), "G03");
    EXPECT_EQ(f.grid()->currentIndex().row(), q().recNo());

    retype(f.findBox(), "G99");
    QTest::keyClick(f.findBox(), Qt::Key_Return);
    EXPECT_EQ(q().asString("gods_code"), "G03");

    retype(f.findBox(), "L'OR-1");
    QTest::keyClick(f.findBox(), Qt::Key_Return);
    EXPECT_EQ(q().asString("gods_name"), "Quote");
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(GoodsFormTest, EnterInTheNoteGoesToTheSaveButton)
{
    ui::EnterAsTab enterAsTab; // as in the program: Enter elsewhere moves on like Tab
    TFrmGoods f;
    show(f);
    click(f, "cmd_add");
    QTest::keyClicks(f.codeBox(), "G70");
    auto* note = edit(f, "gods_note");
    note->setFocus();
    testui::typeText(note, QStringLiteral("备注"));
    QTest::keyClick(note, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), button(f, "cmd_save"));
    EXPECT_EQ(q().asString("gods_note"), QStringLiteral("备注"));
}

TEST_F(GoodsFormTest, ClosingTheCompanyChooserWithoutAChoiceChangesNothing)
{
    TFrmGoods f;
    show(f);
    clickRow(f.grid(), 1); // G02: P1, S1
    click(f, "cmd_edit");
    bool acted = false;
    whenModal<TFrmCompFind>([](TFrmCompFind& c) {
        clickRow(c.grid(), 2);
        QTest::mouseClick(c.findChild<QPushButton*>("BitBtn2"), Qt::LeftButton);
    }, acted);
    click(f, "Button2");
    EXPECT_TRUE(acted);
    EXPECT_EQ(edit(f, "supp_code")->text(), "S1");
    EXPECT_EQ(edit(f, "supp_name")->text(), QStringLiteral("丽人批发"));
}

TEST_F(GoodsFormTest, ASupplierWhoseCodeTheGoodsCannotHoldIsRefused)
{
    exec("insert into company (comp_code, comp_name) values ('S0123456789012345678XY', '远方贸易')");
    TFrmGoods f;
    show(f);
    clickRow(f.grid(), 1); // G02: P1, S1
    click(f, "cmd_edit");
    bool acted = false;
    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Error,
                   QStringLiteral("供应商商编码：“S0123456789012345678XY”超过了 20 个字"));
    pickCompany(f, "Button2", "S0123456789012345678XY", acted);
    prompts.verify();
    EXPECT_TRUE(acted);
    EXPECT_EQ(edit(f, "supp_code")->text(), "S1");
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(stored("G02", "supp_code"), "S1") << "never the code cut to one of no company";
}

TEST_F(GoodsFormTest, OkOverAnEmptyCompanyListKeepsTheProducerAndTheSaveStoresIt)
{
    TFrmGoods f;
    show(f);
    clickRow(f.grid(), 1); // G02: P1, S1
    click(f, "cmd_edit");
    exec("delete from company");
    bool acted = false;
    whenModal<TFrmCompFind>([](TFrmCompFind& c) {
        QTest::mouseClick(c.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    }, acted);
    click(f, "Button1");
    EXPECT_TRUE(acted);
    EXPECT_EQ(edit(f, "prod_code")->text(), "P1");
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(stored("G02", "prod_code"), "P1");
}

TEST_F(GoodsFormTest, ControlsFollowTheModeAndTheRightsAtPositionSeventeen)
{
    {
        TFrmGoods f;
        show(f);
        EXPECT_FALSE(f.recordGroup()->isEnabled());
        EXPECT_FALSE(button(f, "Button1")->isEnabled());
        click(f, "cmd_add");
        for (const char* off : {"cmd_add", "cmd_edit", "cmd_dele", "cmd_exit", "cmd_find"})
            EXPECT_FALSE(button(f, off)->isEnabled()) << off;
        for (const char* on : {"cmd_save", "cmd_canc", "Button1", "Button2"})
            EXPECT_TRUE(button(f, on)->isEnabled()) << on;
        EXPECT_FALSE(f.grid()->isEnabled());
        EXPECT_FALSE(f.findBox()->isEnabled());
        EXPECT_FALSE(f.close());
        click(f, "cmd_canc");
        EXPECT_FALSE(button(f, "Button1")->isEnabled());
        EXPECT_TRUE(f.close());
    }
    const QString only17 = QString(16, QLatin1Char('0')) + QLatin1Char('1');
    const QString allBut17 = QString(16, QLatin1Char('1')) + QLatin1Char('0') + QString(21, QLatin1Char('1'));
    PowAdd = allBut17;
    PowEdit = only17;
    PowDele = QString(16, QLatin1Char('1')); // too short for position 17
    PowFind = allBut17;
    {
        TFrmGoods f;
        EXPECT_FALSE(button(f, "cmd_add")->isEnabled());
        EXPECT_TRUE(button(f, "cmd_edit")->isEnabled());
        EXPECT_FALSE(button(f, "cmd_dele")->isEnabled());
        EXPECT_FALSE(button(f, "cmd_find")->isEnabled());
        EXPECT_TRUE(f.findBox()->isEnabled());
        EXPECT_TRUE(button(f, "cmd_exit")->isEnabled());
    }
    PowFind = only17;
    TFrmGoods f;
    EXPECT_TRUE(button(f, "cmd_find")->isEnabled());
}

} // namespace
