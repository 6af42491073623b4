#include "members/Udyehair.h"

#include "tests/members/FormDriving_test.h"
#include "tests/support/PromptResponder.h"

#include "members/Uservefind.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"

#include <QGroupBox>
#include <memory>

using namespace formtest;

namespace {

// Items D1 to D3, the salon's dye lists, and dye recipes for D1 and D2.
class DyeHairTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        exec("insert into serveitem (serve_code, serve_name, serve_type) values "
             "('D1', '全头染', '染发'), ('D2', '挑染', '染发'), ('D3', '补染', '美发')");
        exec("insert into baseitem (gods_type_id, gods_type, gods_color_id, gods_color) values "
             "('1', '时尚染', '1', '棕'), ('2', '遮白', '2', '黑')");
        exec("insert into dyehair (serve_code, dye_kind, base_color, end_color, dye_drug, dye_plan) values "
             "('D1', '时尚染', '黑', '棕', '染膏A', '6号+双氧'), ('D2', '遮白', '黑', '黑', '染膏B', null)");
        loadMessageCatalogue(dataMod());
        grantAllRights();
    }

    std::unique_ptr<TFrmDyeHair> openForm()
    {
        auto f = std::make_unique<TFrmDyeHair>();
        show(*f);
        return f;
    }

    static ui::DbComboBox* combo(TFrmDyeHair& f, const char* column)
    {
        auto* c = qobject_cast<ui::DbComboBox*>(f.boxOf(QString::fromLatin1(column)));
        EXPECT_NE(c, nullptr) << column;
        return c;
    }
};

struct Entry {
    const char* column;
    const char* objectName;
    const char* text;
};
const Entry kEntries[] = {
    {"dye_kind", "DBComboBox1", "遮白"},       {"base_color", "DBComboBox2", "黑"},
    {"end_color", "DBComboBox3", "酒红"},      {"do_before", "DBComboBox4", "隔离"},
    {"do_middle", "DBComboBox5", "加热"},      {"do_after", "DBComboBox6", "护色"},
    {"dye_drug", "DBComboBox7", "染膏C"},      {"use_quant", "DBEdit4", "60"},
    {"dye_plan", "DBComboBox8", "7号+6%"},     {"root_plan", "DBComboBox9", "发根先涂"},
    {"mid_plan", "DBComboBox10", "发中后涂"},  {"top_plan", "DBComboBox11", "发梢最后"},
    {"root_time", "DBEdit5", "30"},            {"mid_time", "DBEdit6", "20"},
    {"top_time", "DBEdit7", "10"},             {"dye_note", "DBEdit8", "先做皮试"},
};

} // namespace

TEST_F(DyeHairTest, OpensOnEveryRecipeWithExactlyTheStoredValuesOffered)
{
    auto f = openForm();
    EXPECT_EQ(f->objectName(), "FrmDyeHair");
    EXPECT_EQ(f->windowTitle(), QStringLiteral("染发项目设置"));
    EXPECT_EQ(f->recipeGroup()->title(), QStringLiteral("染发项目"));
    ASSERT_EQ(f->grid()->model()->rowCount(), 2);
    EXPECT_EQ(f->grid()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("服务编号"));
    EXPECT_EQ(f->grid()->model()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("染后颜色"));
    EXPECT_EQ(f->nameBox()->text(), QStringLiteral("全头染"));
    EXPECT_EQ(itemsOf(combo(*f, "dye_kind")), (QStringList{QStringLiteral("时尚染"), QStringLiteral("遮白")}));
    EXPECT_EQ(itemsOf(combo(*f, "base_color")), (QStringList{QStringLiteral("棕"), QStringLiteral("黑")}));
    EXPECT_EQ(itemsOf(combo(*f, "end_color")), (QStringList{QStringLiteral("棕"), QStringLiteral("黑")}));
    EXPECT_EQ(itemsOf(combo(*f, "dye_drug")), (QStringList{QStringLiteral("染膏A"), QStringLiteral("染膏B")}));
    EXPECT_EQ(itemsOf(combo(*f, "dye_plan")), QStringList{QStringLiteral("6号+双氧")});
    EXPECT_EQ(combo(*f, "dye_drug")->text(), QStringLiteral("染膏A")) << "the recipe's own value shows";
}

TEST_F(DyeHairTest, AddsARecipeForAnItemPickedWithThePicker)
{
    auto f = openForm();
    click(f->controls().cmd_add);
    ASSERT_TRUE(chooseWith<TFrmServeFind>(f->pickerButton(), "D3"));
    EXPECT_EQ(f->codeBox()->text(), "D3");
    EXPECT_EQ(f->nameBox()->text(), QStringLiteral("补染"));
    EXPECT_EQ(f->typeBox()->text(), QStringLiteral("美发"));
    for (const Entry& e : kEntries) {
        QWidget* box = f->boxOf(QString::fromLatin1(e.column));
        ASSERT_NE(box, nullptr) << e.column;
        EXPECT_EQ(box->objectName(), QString::fromLatin1(e.objectName));
        retype(box, QString::fromUtf8(e.text));
    }
    click(f->controls().cmd_save);
    EXPECT_EQ(f->mode(), FormMode::Null);
    ASSERT_EQ(count("dyehair", "serve_code='D3'"), 1);
    for (const Entry& e : kEntries)
        EXPECT_EQ(scalar(QStringLiteral("select %1 from dyehair where serve_code='D3'").arg(QLatin1String(e.column)))
                      .toString(),
                  QString::fromUtf8(e.text))
            << e.column;
}

TEST_F(DyeHairTest, SaveRefusesAnEmptyCodeWith1020)
{
    auto f = openForm();
    click(f->controls().cmd_add);
    retype(combo(*f, "dye_drug"), QStringLiteral("染膏D"));
    testui::PromptResponder prompts;
    prompts.expect(QStringLiteral("项目编号或名称不能为空！"));
    click(f->controls().cmd_save);
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(count("dyehair"), 2);
}

TEST_F(DyeHairTest, CodesTypedInAnyLetterCaseNameTheirItemAndAreFound)
{
    auto f = openForm();
    click(f->controls().cmd_add);
    retype(f->codeBox(), "d3");
    EXPECT_EQ(f->nameBox()->text(), QStringLiteral("补染"));
    click(f->controls().cmd_save);
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(count("dyehair", "serve_code='D3' collate binary"), 1) << "stored as the item spells it";

    QTest::keyClicks(f->findBox(), "d2");
    QTest::keyClick(f->findBox(), Qt::Key_Return);
    EXPECT_EQ(dataMod().DyeHairQ.asString("serve_code"), "D2");
}

TEST_F(DyeHairTest, DeletionRebuildsTheListsAndTheNextRecipeStillShowsItsValues)
{
    auto f = openForm();
    {
        testui::PromptResponder prompts;
        prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Ok});
        click(f->controls().cmd_dele);
    }
    EXPECT_EQ(count("dyehair"), 1);
    EXPECT_EQ(count("dyehair", "serve_code='D1'"), 0);
    EXPECT_EQ(itemsOf(combo(*f, "dye_drug")), QStringList{QStringLiteral("染膏B")}) << "the deleted value is gone";
    EXPECT_TRUE(itemsOf(combo(*f, "dye_plan")).isEmpty());
    EXPECT_EQ(f->codeBox()->text(), "D2");
    EXPECT_EQ(combo(*f, "dye_drug")->text(), QStringLiteral("染膏B"));
    EXPECT_EQ(combo(*f, "dye_kind")->text(), QStringLiteral("遮白"));
}

TEST_F(DyeHairTest, CancelDropsTheEditAndStaysOnTheRecipe)
{
    auto f = openForm();
    clickRow(f->grid(), 1);
    click(f->controls().cmd_edit);
    retype(combo(*f, "end_color"), QStringLiteral("金"));
    click(f->controls().cmd_canc);
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(f->codeBox()->text(), "D2");
    EXPECT_EQ(combo(*f, "end_color")->text(), QStringLiteral("黑"));
    EXPECT_EQ(scalar("select end_color from dyehair where serve_code='D2'").toString(), QStringLiteral("黑"));
}

TEST_F(DyeHairTest, ControlsFollowTheRightsAtPosition6)
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
        *c.rights = allBut(5);
        {
            auto other = openForm();
            EXPECT_TRUE(other->findChild<QPushButton*>(QString::fromLatin1(c.button))->isEnabled());
        }
        *c.rights = allBut(TFrmDyeHair::kPosition);
        auto f = openForm();
        EXPECT_FALSE(f->findChild<QPushButton*>(QString::fromLatin1(c.button))->isEnabled());
    }
}
