#include "stock/Ucompany.h"

#include "tests/stock/StockFixture_test.h"

#include "core/Upublic.h"
#include "platform/ui/DbLineEdit.h"

#include <QGroupBox>

namespace {

class CompanyFormTest : public StockFormTest {
protected:
    void SetUp() override
    {
        StockFormTest::SetUp();
        // Stored out of code order: the list shows them by code.
        exec("insert into company (comp_code, comp_name, head_name, comp_type, belo_coun, belo_prov, belo_area) values "
             "('C03', '丽人美发用品', '王经理', '供应商', '中国', '广东', '天河'),"
             "('C01', '华美化妆品', '李总', '生产商', '中国', '上海', '  '),"
             "('C02', 'O''Neil Beauty', 'Tom', '客户', '美国', null, 'Boston ')");
    }

    db::Dataset& q() { return dataMod().CompanyQ; }

    static ui::DbLineEdit* boxOf(TFrmCompany& f, const char* column)
    {
        for (auto* b : f.findChildren<ui::DbLineEdit*>())
            if (b->field() == QLatin1String(column))
                return b;
        ADD_FAILURE() << "no box for " << column;
        return nullptr;
    }
    QString stored(const QString& code, const QString& column)
    {
        return scalar("select " + column + " from company where comp_code=:c", {{"c", code}}).toString();
    }
};

TEST_F(CompanyFormTest, OpensOnEveryCompanyByCodeWithTheNamedControls)
{
    TFrmCompany f;
    EXPECT_EQ(f.objectName(), "FrmCompany");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("公司资料"));
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(column(q(), "comp_code"), (QStringList{"C01", "C02", "C03"}));
    EXPECT_EQ(q().asString("comp_code"), "C01");
    EXPECT_EQ(f.codeBox()->text(), "C01");
    const std::pair<const char*, const char*> buttons[] = {{"cmd_add", "新增[&A]"}, {"cmd_edit", "修改[&E]"},
                                                           {"cmd_dele", "删除[&D]"}, {"cmd_save", "保存[&S]"},
                                                           {"cmd_canc", "取消[&C]"}, {"cmd_exit", "退出[&X]"},
                                                           {"cmd_find", "查找"}};
    for (const auto& [name, caption] : buttons)
        EXPECT_EQ(button(f, name)->text(), QString::fromUtf8(caption)) << name;
    EXPECT_EQ(titles(f.grid()), (QStringList{"公司编码", "客户名称", "负责人名"}));
    EXPECT_TRUE(f.grid()->rowSelect());
    auto* findGroup = f.findBox()->parentWidget();
    EXPECT_EQ(qobject_cast<QGroupBox*>(findGroup)->title(), QStringLiteral("快速查找"));
    EXPECT_EQ(f.findBox()->objectName(), "Edit1");
}

TEST_F(CompanyFormTest, TheFourListsOfferTheStoredValues)
{
    TFrmCompany f;
    struct Case {
        const char* column;
        QStringList values;
    };
    const Case cases[] = {
        {"comp_type", {"供应商", "生产商", "客户"}},
        {"belo_coun", {"中国", "美国"}},
        {"belo_prov", {"广东", "上海"}},
        {"belo_area", {"天河", "Boston "}}, // blanks skipped, others as stored
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        ui::DbComboBox* combo = f.comboOf(QString::fromLatin1(c.column));
        ASSERT_NE(combo, nullptr);
        QStringList listed = items(combo);
        QStringList expected = c.values;
        listed.sort();
        expected.sort();
        EXPECT_EQ(listed, expected);
    }
}

TEST_F(CompanyFormTest, AddingWritesEveryBoxAtOnce)
{
    struct Typed {
        const char* column;
        const char* text;
    };
    const Typed boxes[] = {
        {"comp_code", "C10"},        {"comp_name", "美丽佳人有限公司"}, {"comp_addr", "广州市天河路1号"},
        {"rela_name", "陈小姐"},     {"rela_phon", "020-88886666"},    {"head_name", "陈总"},
        {"head_phon", "13900001111"}, {"bank_no", "6222 0000 1111"},  {"post_code", "510000"},
        {"fax", "020-88886667"},     {"e_mail", "chen@example.com"},   {"comp_note", "月结"},
    };
    TFrmCompany f;
    show(f);
    click(f, "cmd_add");
    EXPECT_EQ(f.mode(), FormMode::Add);
    EXPECT_EQ(QApplication::focusWidget(), f.codeBox());
    for (const Typed& t : boxes)
        testui::typeText(boxOf(f, t.column), QString::fromUtf8(t.text));
    chooseWithMouse(f.comboOf("comp_type"), QStringLiteral("客户"));
    retype(f.comboOf("belo_coun"), QStringLiteral("新加坡"));
    retype(f.comboOf("belo_prov"), QStringLiteral("中区"));
    retype(f.comboOf("belo_area"), QStringLiteral("牛车水"));
    click(f, "cmd_save");

    EXPECT_EQ(f.mode(), FormMode::Null);
    ASSERT_EQ(count("company", "comp_code='C10'"), 1);
    for (const Typed& t : boxes) {
        SCOPED_TRACE(t.column);
        EXPECT_EQ(stored("C10", t.column), QString::fromUtf8(t.text));
    }
    EXPECT_EQ(stored("C10", "comp_type"), QStringLiteral("客户"));
    EXPECT_EQ(stored("C10", "belo_coun"), QStringLiteral("新加坡"));
    EXPECT_EQ(stored("C10", "belo_prov"), QStringLiteral("中区"));
    EXPECT_EQ(stored("C10", "belo_area"), QStringLiteral("牛车水"));
    EXPECT_EQ(q().asString("comp_code"), "C10");
    // The lists are not refilled by a save.
    EXPECT_EQ(f.comboOf("belo_coun")->findText(QStringLiteral("新加坡")), -1);
}

TEST_F(CompanyFormTest, SavingWithABlankCodeDoesNothing)
{
    TFrmCompany f;
    show(f);
    testui::PromptResponder prompts; // no message either
    for (const char* code : {"", "   "}) {
        SCOPED_TRACE(code);
        click(f, "cmd_add");
        QTest::keyClicks(f.codeBox(), code);
        testui::typeText(boxOf(f, "comp_name"), QStringLiteral("无编码公司"));
        click(f, "cmd_save");
        EXPECT_EQ(f.mode(), FormMode::Add);
        EXPECT_EQ(count("company"), 3);
        click(f, "cmd_canc");
        EXPECT_EQ(f.mode(), FormMode::Null);
    }
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(CompanyFormTest, EditChangesTheCurrentCompany)
{
    TFrmCompany f;
    show(f);
    clickRow(f.grid(), 2); // C03
    click(f, "cmd_edit");
    EXPECT_EQ(f.mode(), FormMode::Edit);
    EXPECT_EQ(QApplication::focusWidget(), f.codeBox());
    retype(boxOf(f, "comp_name"), QStringLiteral("丽人美发"));
    retype(boxOf(f, "rela_phon"), QStringLiteral("020-1234"));
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(stored("C03", "comp_name"), QStringLiteral("丽人美发"));
    EXPECT_EQ(stored("C03", "rela_phon"), "020-1234");
    EXPECT_EQ(count("company"), 3);
    EXPECT_EQ(q().asString("comp_code"), "C03");
}

TEST_F(CompanyFormTest, EditAndDeleteWithAnEmptyCodeBoxDoNothing)
{
    exec("delete from company");
    TFrmCompany f;
    show(f);
    testui::PromptResponder prompts;
    click(f, "cmd_edit");
    EXPECT_EQ(f.mode(), FormMode::Null);
    click(f, "cmd_dele");
    EXPECT_EQ(prompts.count(), 0);

    // A code of blanks is no code for edit and delete either.
    exec("insert into company (comp_code, comp_name) values ('  ', '空白')");
    TFrmCompany g;
    ASSERT_EQ(g.codeBox()->text(), "  ");
    click(g, "cmd_edit");
    EXPECT_EQ(g.mode(), FormMode::Null);
    click(g, "cmd_dele");
    EXPECT_EQ(prompts.count(), 0);
    EXPECT_EQ(count("company"), 1);
}

TEST_F(CompanyFormTest, DeleteAsksAndWritesAtOnce)
{
    TFrmCompany f;
    show(f);
    clickRow(f.grid(), 1); // C02
    testui::PromptResponder prompts;
    prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Cancel});
    click(f, "cmd_dele");
    EXPECT_EQ(prompts.last().caption, QStringLiteral("提示"));
    EXPECT_EQ(prompts.last().buttons, ui::Buttons::OkCancel);
    EXPECT_EQ(prompts.last().icon, ui::Icon::Question);
    EXPECT_EQ(count("company"), 3);

    prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Ok});
    click(f, "cmd_dele");
    EXPECT_EQ(count("company"), 2);
    EXPECT_EQ(count("company", "comp_code='C02'"), 0);
    EXPECT_EQ(column(q(), "comp_code"), (QStringList{"C01", "C03"}));
}

TEST_F(CompanyFormTest, CancelDropsTheNewCompanyAndReturnsToTheNamedOne)
{
    TFrmCompany f;
    show(f);
    clickRow(f.grid(), 1); // C02
    click(f, "cmd_add");
    QTest::keyClicks(f.codeBox(), "C03");
    click(f, "cmd_canc");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(count("company"), 3);
    EXPECT_EQ(q().recordCount(), 3);
    // The code box now shows the row the cursor fell back to, and that one is located.
    EXPECT_EQ(q().asString("comp_code"), f.codeBox()->text().trimmed());

    click(f, "cmd_edit");
    retype(boxOf(f, "comp_name"), QStringLiteral("改了又取消"));
    const QString code = q().asString("comp_code");
    click(f, "cmd_canc");
    EXPECT_NE(stored(code, "comp_name"), QStringLiteral("改了又取消"));
    EXPECT_NE(q().asString("comp_name"), QStringLiteral("改了又取消"));
}

TEST_F(CompanyFormTest, FindMovesToTheCodeAndIsQuietWithoutIt)
{
    TFrmCompany f;
    show(f);
    testui::PromptResponder prompts;
    QTest::keyClicks(f.findBox(), " C03 ");
    click(f, "cmd_find");
    EXPECT_EQ(q().asString("comp_code"), "C03");
    EXPECT_EQ(f.grid()->currentIndex().row(), 2);

    f.findBox()->clear();
    QTest::keyClicks(f.findBox(), "C99");
    QTest::keyClick(f.findBox(), Qt::Key_Return);
    EXPECT_EQ(q().asString("comp_code"), "C03");
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(CompanyFormTest, EnterInTheFindBoxFindsACodeWithAnApostrophe)
{
    exec("insert into company (comp_code, comp_name) values ('O''K-1', 'Quote Ltd')");
    TFrmCompany f;
    show(f);
    QTest::keyClicks(f.findBox(), "O'K-1");
    QTest::keyClick(f.findBox(), Qt::Key_Return);
    EXPECT_EQ(q().asString("comp_name"), "Quote Ltd");
}

TEST_F(CompanyFormTest, AFailedSaveKeepsTheModeAndWhatWasTyped)
{
    exec("create trigger refuse_company before insert on company when new.comp_code = 'BAD' "
         "begin select raise(abort, 'refused'); end");
    TFrmCompany f;
    show(f);
    click(f, "cmd_add");
    QTest::keyClicks(f.codeBox(), "BAD");
    testui::typeText(boxOf(f, "comp_name"), QStringLiteral("被拒公司"));
    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Error, "refused");
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Add);
    EXPECT_EQ(f.codeBox()->text(), "BAD");
    EXPECT_EQ(count("company"), 3);

    retype(f.codeBox(), "C04");
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(stored("C04", "comp_name"), QStringLiteral("被拒公司"));
}

TEST_F(CompanyFormTest, ControlsFollowTheModeAndTheRightsAtPositionEighteen)
{
    {
        TFrmCompany f;
        show(f);
        EXPECT_FALSE(f.recordGroup()->isEnabled());
        click(f, "cmd_add");
        for (const char* off : {"cmd_add", "cmd_edit", "cmd_dele", "cmd_exit", "cmd_find"})
            EXPECT_FALSE(button(f, off)->isEnabled()) << off;
        for (const char* on : {"cmd_save", "cmd_canc"})
            EXPECT_TRUE(button(f, on)->isEnabled()) << on;
        EXPECT_FALSE(f.grid()->isEnabled());
        EXPECT_FALSE(f.findBox()->isEnabled());
        EXPECT_TRUE(f.recordGroup()->isEnabled());
        EXPECT_FALSE(f.close());
        click(f, "cmd_canc");
        EXPECT_TRUE(f.close());
    }
    const QString only18 = QString(17, QLatin1Char('0')) + QLatin1Char('1');
    const QString all_but18 = QString(17, QLatin1Char('1')) + QLatin1Char('0') + QString(20, QLatin1Char('1'));
    PowAdd = only18;
    PowEdit = all_but18;
    PowDele = QString(17, QLatin1Char('1')); // too short for position 18
    PowFind = QString(38, QLatin1Char('0'));
    TFrmCompany f;
    EXPECT_TRUE(button(f, "cmd_add")->isEnabled());
    EXPECT_FALSE(button(f, "cmd_edit")->isEnabled());
    EXPECT_FALSE(button(f, "cmd_dele")->isEnabled());
    EXPECT_FALSE(button(f, "cmd_save")->isEnabled());
    EXPECT_TRUE(button(f, "cmd_exit")->isEnabled());
    EXPECT_TRUE(button(f, "cmd_find")->isEnabled()) << "finding needs no right";
    EXPECT_TRUE(f.findBox()->isEnabled());
}

} // namespace
