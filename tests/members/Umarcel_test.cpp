#include "members/Umarcel.h"

#include "tests/members/FormDriving_test.h"
#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"

#include "members/Uservefind.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EnterAsTab.h"

#include <QGroupBox>
#include <memory>

using namespace formtest;

namespace {

// Items S1 to S3, the salon's perm lists, and one perm recipe for S1.
class MarcelTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        exec("insert into serveitem (serve_code, serve_name, serve_type) values "
             "('S1', '冷烫', '美发'), ('S2', '离子烫', '美发'), ('S3', '陶瓷烫', '烫发')");
        exec("insert into baseitem (gods_size_id, gods_size, prod_place_id, prod_place, gods_spec_id, gods_spec,"
             " gods_color_id, gods_color, gods_unit_id, gods_unit) values "
             "('1', '冷烫', '1', '短发造型', '1', '大卷', '1', '红', '1', '横排'),"
             "('2', '热烫', null, null, '2', '小卷', '2', '黑', '2', '竖排')");
        exec("insert into marcel (serve_code, mar_type, mar_kind, curl_tune, mar_mach, do_before, bef_color,"
             " back_sort) values ('S1', '冷烫', '短发造型', '大卷', '药水A', '洗发', '红', '横排')");
        loadMessageCatalogue(dataMod());
        grantAllRights();
    }

    std::unique_ptr<TFrmMarcel> openForm()
    {
        auto f = std::make_unique<TFrmMarcel>();
        show(*f);
        return f;
    }

    static ui::DbComboBox* combo(TFrmMarcel& f, const char* column)
    {
        auto* c = qobject_cast<ui::DbComboBox*>(f.boxOf(QString::fromLatin1(column)));
        EXPECT_NE(c, nullptr) << column;
        return c;
    }

    db::Dataset& q() { return dataMod().MarcelQ; }
};

// Every box of the recipe with what a user types into it.
struct Entry {
    const char* column;
    const char* objectName;
    const char* text;
};
const Entry kEntries[] = {
    {"mar_type", "DBComboBox1", "热烫"},      {"mar_kind", "DBComboBox2", "长发造型"},
    {"curl_tune", "DBComboBox3", "小卷"},     {"mar_mach", "DBComboBox4", "药水B"},
    {"do_before", "DBComboBox5", "护理"},     {"do_middle", "DBComboBox6", "加热"},
    {"do_after", "DBComboBox7", "定型"},      {"bef_color", "DBComboBox8", "红"},
    {"mid_color", "DBComboBox9", "黑"},       {"ear_color", "DBComboBox10", "棕"},
    {"back_color", "DBComboBox11", "金"},     {"bef_sort", "DBComboBox12", "横排"},
    {"mid_sort", "DBComboBox13", "竖排"},     {"ear_sort", "DBComboBox14", "斜排"},
    {"back_sort", "DBComboBox15", "圆排"},    {"first_stay", "DBEdit4", "15"},
    {"sec_stay", "DBEdit5", "10"},            {"first_wash", "DBEdit6", "3"},
    {"sec_wash", "DBEdit7", "2"},             {"mar_note", "DBEdit8", "注意头皮敏感"},
};

} // namespace

TEST_F(MarcelTest, OpensOnEveryRecipeWithTheStoredValuesOffered)
{
    auto f = openForm();
    EXPECT_EQ(f->objectName(), "FrmMarcel");
    EXPECT_EQ(f->windowTitle(), QStringLiteral("烫发项目设置"));
    EXPECT_EQ(f->recipeGroup()->title(), QStringLiteral("烫发项目"));
    EXPECT_EQ(q().lockType(), db::LockType::BatchOptimistic);
    ASSERT_EQ(f->grid()->model()->rowCount(), 1);
    EXPECT_EQ(f->grid()->model()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("选定药水"));
    EXPECT_EQ(f->codeBox()->text(), "S1");
    EXPECT_EQ(f->nameBox()->text(), QStringLiteral("冷烫"));
    EXPECT_EQ(f->typeBox()->text(), QStringLiteral("美发"));
    EXPECT_FALSE(f->controls().cmd_prin->isVisible());

    EXPECT_EQ(itemsOf(combo(*f, "mar_type")), (QStringList{QStringLiteral("冷烫"), QStringLiteral("热烫")}));
    EXPECT_EQ(itemsOf(combo(*f, "mar_kind")), QStringList{QStringLiteral("短发造型")});
    EXPECT_EQ(itemsOf(combo(*f, "curl_tune")), (QStringList{QStringLiteral("大卷"), QStringLiteral("小卷")}));
    EXPECT_EQ(itemsOf(combo(*f, "mar_mach")), QStringList{QStringLiteral("药水A")});
    EXPECT_EQ(itemsOf(combo(*f, "do_before")), QStringList{QStringLiteral("洗发")});
    EXPECT_TRUE(itemsOf(combo(*f, "do_after")).isEmpty());
    for (const char* zone : {"bef_color", "mid_color", "ear_color", "back_color"})
        EXPECT_EQ(itemsOf(combo(*f, zone)), (QStringList{QStringLiteral("红"), QStringLiteral("黑")})) << zone;
    for (const char* zone : {"bef_sort", "mid_sort", "ear_sort", "back_sort"})
        EXPECT_EQ(itemsOf(combo(*f, zone)), (QStringList{QStringLiteral("横排"), QStringLiteral("竖排")})) << zone;
    EXPECT_EQ(combo(*f, "back_sort")->text(), QStringLiteral("横排")) << "the recipe's own value shows";
}

TEST_F(MarcelTest, AddsARecipeForAnItemPickedWithThePicker)
{
    auto f = openForm();
    click(f->controls().cmd_add);
    ASSERT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(f->focusWidget(), f->codeBox());

    ASSERT_TRUE(chooseWith<TFrmServeFind>(f->pickerButton(), "S2")) << "the service picker opened";
    EXPECT_EQ(f->codeBox()->text(), "S2");
    EXPECT_EQ(f->nameBox()->text(), QStringLiteral("离子烫")) << "code, name and category at once";
    EXPECT_EQ(f->typeBox()->text(), QStringLiteral("美发"));

    for (const Entry& e : kEntries) {
        QWidget* box = f->boxOf(QString::fromLatin1(e.column));
        ASSERT_NE(box, nullptr) << e.column;
        EXPECT_EQ(box->objectName(), QString::fromLatin1(e.objectName));
        retype(box, QString::fromUtf8(e.text));
    }
    EXPECT_EQ(count("marcel"), 1) << "nothing is written before the save";
    click(f->controls().cmd_save);
    EXPECT_EQ(f->mode(), FormMode::Null);

    ASSERT_EQ(count("marcel", "serve_code='S2'"), 1);
    for (const Entry& e : kEntries)
        EXPECT_EQ(scalar(QStringLiteral("select %1 from marcel where serve_code='S2'").arg(QLatin1String(e.column)))
                      .toString(),
                  QString::fromUtf8(e.text))
            << e.column;
    EXPECT_EQ(f->grid()->model()->rowCount(), 2);
}

TEST_F(MarcelTest, EnterFromTheCodeGoesOnToTheFirstRecipeBoxPastThePicker)
{
    ui::EnterAsTab enterAsTab; // as in the program
    auto f = openForm();
    click(f->controls().cmd_add);
    for (const char* value : {"S2", "热烫"}) {
        testui::typeAtFocus(QString::fromUtf8(value));
        testui::pressAtFocus(Qt::Key_Return);
    }
    click(f->controls().cmd_save);
    EXPECT_EQ(scalar("select mar_type from marcel where serve_code='S2'").toString(), QStringLiteral("热烫"));
}

TEST_F(MarcelTest, PickerClosedWithoutChoiceKeepsTheCode)
{
    auto f = openForm();
    click(f->controls().cmd_edit);
    ASSERT_TRUE(leaveWithoutChoice<TFrmServeFind>(f->pickerButton()));
    EXPECT_EQ(f->codeBox()->text(), "S1");
}

TEST_F(MarcelTest, SaveRefusesACodeOfNoItemWith1020)
{
    auto f = openForm();
    click(f->controls().cmd_add);
    retype(f->codeBox(), "X9");
    EXPECT_TRUE(f->nameBox()->text().isEmpty()) << "no item has that code";
    {
        testui::PromptResponder prompts;
        prompts.expect(QStringLiteral("项目编号或名称不能为空！"));
        click(f->controls().cmd_save);
    }
    EXPECT_EQ(f->mode(), FormMode::Add);

    // Typed and saved with Alt+S without leaving the box: the code is still looked up.
    f->codeBox()->setFocus();
    f->codeBox()->selectAll();
    QTest::keyClicks(f->codeBox(), "S3");
    QTest::keyClick(f->codeBox(), Qt::Key_S, Qt::AltModifier);
    // A mnemonic presses its button briefly before it clicks.
    EXPECT_TRUE(QTest::qWaitFor([&] { return f->mode() == FormMode::Null; }, 5000));
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(count("marcel", "serve_code='X9'"), 0);
    EXPECT_EQ(count("marcel", "serve_code='S3'"), 1);
}

TEST_F(MarcelTest, EditSavesAndCancelRestores)
{
    auto f = openForm();
    click(f->controls().cmd_edit);
    ASSERT_EQ(f->mode(), FormMode::Edit);
    retype(combo(*f, "mar_mach"), QStringLiteral("药水C"));
    click(f->controls().cmd_canc);
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(combo(*f, "mar_mach")->text(), QStringLiteral("药水A"));
    EXPECT_EQ(f->codeBox()->text(), "S1");

    click(f->controls().cmd_edit);
    retype(combo(*f, "back_color"), QStringLiteral("黑"));
    retype(combo(*f, "back_sort"), QStringLiteral("竖排"));
    click(f->controls().cmd_save);
    EXPECT_EQ(scalar("select back_color from marcel").toString(), QStringLiteral("黑"));
    EXPECT_EQ(scalar("select back_sort from marcel").toString(), QStringLiteral("竖排"));
    EXPECT_EQ(scalar("select bef_color from marcel").toString(), QStringLiteral("红")) << "the front zone keeps its own";
    EXPECT_EQ(scalar("select bef_sort from marcel").toString(), QString());
    EXPECT_EQ(count("marcel"), 1);
}

TEST_F(MarcelTest, ConfirmedDeletionIsWrittenAtOnceAndTheValuesStayOffered)
{
    auto f = openForm();
    {
        testui::PromptResponder prompts;
        prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Cancel});
        click(f->controls().cmd_dele);
    }
    EXPECT_EQ(count("marcel"), 1);
    {
        testui::PromptResponder prompts;
        prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Ok});
        click(f->controls().cmd_dele);
        EXPECT_EQ(prompts.last().caption, QStringLiteral("提示"));
    }
    EXPECT_EQ(count("marcel"), 0);
    EXPECT_EQ(f->grid()->model()->rowCount(), 0);
    EXPECT_EQ(itemsOf(combo(*f, "mar_mach")), QStringList{QStringLiteral("药水A")});
}

TEST_F(MarcelTest, FindGoesToTheFirstRecipeOfTheItemInCodeOrder)
{
    exec("insert into marcel (serve_code, mar_mach) values ('S3', '第一'), ('S2', '乙'), ('S3', '第二')");
    auto f = openForm();
    ASSERT_EQ(q().recordCount(), 4);
    QTest::keyClicks(f->findBox(), "S3");
    QTest::keyClick(f->findBox(), Qt::Key_Return);
    EXPECT_EQ(q().asString("serve_code"), "S3");
    EXPECT_EQ(q().recNo(), 2) << "the first S3 in code order";
    EXPECT_EQ(f->grid()->currentIndex().row(), 2);

    f->findBox()->setText("S2");
    click(f->controls().cmd_find);
    EXPECT_EQ(q().asString("mar_mach"), QStringLiteral("乙"));
}

TEST_F(MarcelTest, CodesTypedInAnyLetterCaseNameTheirItemAndAreFound)
{
    auto f = openForm();
    click(f->controls().cmd_add);
    retype(f->codeBox(), "s2");
    EXPECT_EQ(f->nameBox()->text(), QStringLiteral("离子烫"));
    click(f->controls().cmd_save);
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(scalar("select serve_code from marcel where in_id=(select max(in_id) from marcel)").toString(), "S2")
        << "stored as the item spells it";

    QTest::keyClicks(f->findBox(), "s1");
    QTest::keyClick(f->findBox(), Qt::Key_Return);
    EXPECT_EQ(q().asString("serve_code"), "S1");
}

TEST_F(MarcelTest, ControlsFollowTheModeAndTheRightsAtPosition5)
{
    struct Case {
        const char* name;
        QString* rights;
        const char* button;
    };
    const Case cases[] = {
        {"add", &PowAdd, "cmd_add"},
        {"edit", &PowEdit, "cmd_edit"},
        {"delete", &PowDele, "cmd_dele"},
        {"find", &PowFind, "cmd_find"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grantAllRights();
        *c.rights = allBut(6);
        {
            auto other = openForm();
            EXPECT_TRUE(other->findChild<QPushButton*>(QString::fromLatin1(c.button))->isEnabled());
        }
        *c.rights = allBut(TFrmMarcel::kPosition);
        auto f = openForm();
        EXPECT_FALSE(f->findChild<QPushButton*>(QString::fromLatin1(c.button))->isEnabled());
    }

    grantAllRights();
    auto f = openForm();
    auto& c = f->controls();
    EXPECT_FALSE(f->recipeGroup()->isEnabled());
    click(c.cmd_add);
    EXPECT_TRUE(f->recipeGroup()->isEnabled());
    EXPECT_FALSE(f->grid()->isEnabled());
    EXPECT_FALSE(c.cmd_dele->isEnabled());
    EXPECT_FALSE(c.cmd_prin->isEnabled());
    EXPECT_FALSE(c.findGroup->isEnabled());
    EXPECT_FALSE(f->close());
    click(c.cmd_canc);
    EXPECT_EQ(f->grid()->model()->rowCount(), 1) << "the new row is gone";
    EXPECT_TRUE(f->close());
}

TEST_F(MarcelTest, EnterInTheFindBoxFindsNothingWithoutTheFindRight)
{
    exec("insert into marcel (serve_code, mar_mach) values ('S3', '第一')");
    PowFind = allBut(TFrmMarcel::kPosition);
    auto f = openForm();
    QTest::keyClicks(f->findBox(), "S3");
    QTest::keyClick(f->findBox(), Qt::Key_Return);
    EXPECT_EQ(q().asString("serve_code"), "S1");
}
