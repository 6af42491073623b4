#include "members/Userveflow.h"

#include "tests/members/FormDriving_test.h"
#include "tests/support/PromptResponder.h"

#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "stock/Ugodsfind.h"

#include <QGroupBox>
#include <memory>

using namespace formtest;

namespace {

// Items S1 (two steps) and S2 (none), goods G1 and G2, every right granted.
class ServeFlowTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        exec("insert into serveitem (serve_code, serve_name, serve_type, unit_pric, gage_time) values "
             "('S1', '洗剪吹', '美发', 30, '30'), ('S2', '烫发', '美发', 200, '90')");
        exec("insert into goods (gods_code, gods_name) values ('G1', '洗发水'), ('G2', '护发素')");
        exec("insert into serveflow (serve_code, step_no, use_time, gods_code, dosage, flow_note) values "
             "('S1', '1', 10, 'G1', '5ml', '洗发'), ('S1', '2', 20, null, null, '修剪')");
        loadMessageCatalogue(dataMod());
        grantAllRights();
    }

    std::unique_ptr<TFrmServeFlow> openForm()
    {
        auto f = std::make_unique<TFrmServeFlow>();
        show(*f);
        return f;
    }

    static ui::DbLineEdit* box(TFrmServeFlow& f, const char* name)
    {
        auto* b = f.findChild<ui::DbLineEdit*>(QString::fromLatin1(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    static QString cell(ui::DbGrid* grid, int row, int column)
    {
        return grid->model()->index(row, column).data().toString();
    }

    db::Dataset& steps() { return dataMod().ServeFlowQ; }
};

} // namespace

TEST_F(ServeFlowTest, OpensOnTheStepsOfTheFirstItem)
{
    auto f = openForm();
    EXPECT_EQ(f->objectName(), "FrmServeFlow");
    EXPECT_EQ(f->windowTitle(), QStringLiteral("服务项目流程"));
    EXPECT_EQ(f->itemGrid()->model()->rowCount(), 2);
    EXPECT_EQ(f->itemGrid()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("类别"));
    ASSERT_EQ(f->stepGrid()->model()->rowCount(), 2);
    EXPECT_EQ(cell(f->stepGrid(), 0, 1), QStringLiteral("洗剪吹")) << "the item's name beside each step";
    EXPECT_EQ(cell(f->stepGrid(), 0, 5), QStringLiteral("洗发水")) << "and the goods' name";
    EXPECT_EQ(f->stepGrid()->model()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("货品用量"));
    EXPECT_EQ(f->codeBox()->text(), "S1");
    EXPECT_EQ(box(*f, "DBEdit2")->text(), QStringLiteral("洗剪吹"));
    EXPECT_FALSE(f->controls().cmd_prin->isVisible());
    EXPECT_EQ(f->mode(), FormMode::Null);
}

TEST_F(ServeFlowTest, ClickingAnItemListsItsStepsEvenWithAQuoteInItsCode)
{
    exec("insert into serveitem (serve_code, serve_name) values ('S''3', '护理')");
    exec("insert into serveflow (serve_code, step_no, use_time) values ('S''3', '1', 5)");
    auto f = openForm();
    clickRow(f->itemGrid(), 1);
    EXPECT_EQ(f->findBox()->text(), "S2");
    EXPECT_EQ(f->stepGrid()->model()->rowCount(), 0);
    clickRow(f->itemGrid(), 2);
    EXPECT_EQ(f->findBox()->text(), "S'3");
    ASSERT_EQ(f->stepGrid()->model()->rowCount(), 1);
    EXPECT_EQ(f->codeBox()->text(), "S'3");
}

TEST_F(ServeFlowTest, AddsAStepWithGoodsChosenInTheGoodsChooser)
{
    auto f = openForm();
    clickRow(f->itemGrid(), 1); // S2
    click(f->controls().cmd_add);
    ASSERT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(f->codeBox()->text(), "S2") << "the step belongs to the item clicked";
    EXPECT_EQ(box(*f, "DBEdit2")->text(), QStringLiteral("烫发"));
    EXPECT_EQ(f->focusWidget(), f->stepNoBox());

    retype(f->stepNoBox(), "1");
    retype(box(*f, "DBEdit4"), "25");
    ASSERT_TRUE(chooseWith<TFrmGoodsFind>(f->goodsButton(), "G2")) << "the goods chooser opened";
    EXPECT_EQ(f->goodsCodeBox()->text(), "G2");
    EXPECT_EQ(f->goodsNameBox()->text(), QStringLiteral("护发素"));
    retype(box(*f, "DBEdit7"), "10ml");
    retype(box(*f, "DBEdit8"), QStringLiteral("涂抹均匀"));
    EXPECT_EQ(count("serveflow", "serve_code='S2'"), 0) << "nothing is written before the save";

    click(f->controls().cmd_save);
    EXPECT_EQ(f->mode(), FormMode::Null);
    ASSERT_EQ(count("serveflow", "serve_code='S2'"), 1);
    EXPECT_EQ(scalar("select step_no from serveflow where serve_code='S2'").toString(), "1");
    EXPECT_EQ(scalar("select use_time from serveflow where serve_code='S2'").toLongLong(), 25);
    EXPECT_EQ(scalar("select gods_code from serveflow where serve_code='S2'").toString(), "G2");
    EXPECT_EQ(scalar("select dosage from serveflow where serve_code='S2'").toString(), "10ml");
    EXPECT_EQ(scalar("select flow_note from serveflow where serve_code='S2'").toString(), QStringLiteral("涂抹均匀"));
    EXPECT_EQ(count("serveflow"), 3);
}

TEST_F(ServeFlowTest, MinutesPastWhatTheColumnHoldsAreRefusedAndTheSaveSaysWhere)
{
    auto f = openForm();
    clickRow(f->itemGrid(), 1); // S2
    click(f->controls().cmd_add);
    retype(f->stepNoBox(), "1");
    testui::PromptResponder prompts;
    const QString refusal = QStringLiteral("所需时间：“9999999999”超出了可存的范围");
    prompts.expect(testui::PromptResponder::Kind::Error, refusal);
    retype(box(*f, "DBEdit4"), "9999999999");
    prompts.expect(testui::PromptResponder::Kind::Error, refusal);
    click(f->controls().cmd_save);
    prompts.verify();
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(count("serveflow", "serve_code='S2'"), 0);
    EXPECT_EQ(QApplication::focusWidget(), box(*f, "DBEdit4"));
}

TEST_F(ServeFlowTest, GoodsChooserClosedWithoutChoiceKeepsTheGoods)
{
    auto f = openForm();
    click(f->controls().cmd_edit);
    ASSERT_TRUE(leaveWithoutChoice<TFrmGoodsFind>(f->goodsButton()));
    EXPECT_EQ(f->goodsCodeBox()->text(), "G1");
    click(f->controls().cmd_save);
    EXPECT_EQ(scalar("select gods_code from serveflow where step_no='1'").toString(), "G1");
}

TEST_F(ServeFlowTest, EditsTheStepShownAndOnlyThatOne)
{
    auto f = openForm();
    clickRow(f->stepGrid(), 1);
    ASSERT_EQ(f->stepNoBox()->text(), "2");
    click(f->controls().cmd_edit);
    ASSERT_EQ(f->mode(), FormMode::Edit);
    EXPECT_EQ(f->focusWidget(), f->stepNoBox());
    EXPECT_FALSE(f->stepGrid()->isEnabled()) << "no moving off the step being edited";
    retype(box(*f, "DBEdit4"), "35");
    ASSERT_TRUE(chooseWith<TFrmGoodsFind>(f->goodsButton(), "G1"));
    click(f->controls().cmd_save);
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(scalar("select use_time from serveflow where step_no='2'").toLongLong(), 35);
    EXPECT_EQ(scalar("select gods_code from serveflow where step_no='2'").toString(), "G1");
    EXPECT_EQ(scalar("select use_time from serveflow where step_no='1'").toLongLong(), 10);
    EXPECT_EQ(f->stepNoBox()->text(), "2") << "the saved step stays shown";
}

TEST_F(ServeFlowTest, CancelDropsWhatWasAddedOrTyped)
{
    auto f = openForm();
    click(f->controls().cmd_add);
    retype(f->stepNoBox(), "3");
    click(f->controls().cmd_canc);
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(f->stepGrid()->model()->rowCount(), 2);

    clickRow(f->stepGrid(), 0);
    click(f->controls().cmd_edit);
    retype(box(*f, "DBEdit7"), "99ml");
    click(f->controls().cmd_canc);
    EXPECT_EQ(box(*f, "DBEdit7")->text(), "5ml");
    EXPECT_EQ(f->stepNoBox()->text(), "1") << "back on the step named in the boxes";
    EXPECT_EQ(count("serveflow"), 2);
    EXPECT_EQ(scalar("select dosage from serveflow where step_no='1'").toString(), "5ml");
}

TEST_F(ServeFlowTest, ConfirmedDeletionIsWrittenAtOnceAndStaysDeleted)
{
    auto f = openForm();
    {
        testui::PromptResponder prompts;
        prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Cancel});
        click(f->controls().cmd_dele);
        EXPECT_EQ(prompts.last().caption, QStringLiteral("提示"));
        EXPECT_EQ(prompts.last().icon, ui::Icon::Question);
    }
    EXPECT_EQ(count("serveflow"), 2);

    {
        testui::PromptResponder prompts;
        prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Ok});
        click(f->controls().cmd_dele);
    }
    EXPECT_EQ(count("serveflow", "step_no='1'"), 0);
    EXPECT_EQ(count("serveflow"), 1);
    EXPECT_EQ(f->stepGrid()->model()->rowCount(), 1);

    // Neither a later cancel nor closing the form brings it back.
    click(f->controls().cmd_add);
    click(f->controls().cmd_canc);
    EXPECT_EQ(f->stepGrid()->model()->rowCount(), 1);
    EXPECT_TRUE(f->close());
    f.reset();
    EXPECT_EQ(count("serveflow"), 1);
}

TEST_F(ServeFlowTest, FindMovesTheItemGridAndANewStepTakesTheFoundItem)
{
    auto f = openForm();
    QTest::keyClicks(f->findBox(), "S2");
    QTest::keyClick(f->findBox(), Qt::Key_Return);
    EXPECT_EQ(dataMod().ServeItemQ.asString("serve_code"), "S2");
    EXPECT_EQ(f->stepGrid()->model()->rowCount(), 2) << "the steps shown stay those of S1";

    click(f->controls().cmd_add);
    EXPECT_EQ(f->codeBox()->text(), "S2");
    retype(f->stepNoBox(), "1");
    click(f->controls().cmd_save);
    EXPECT_EQ(count("serveflow", "serve_code='S2' and step_no='1'"), 1);

    f->findBox()->setText(" S9 ");
    click(f->controls().cmd_find);
    EXPECT_EQ(dataMod().ServeItemQ.asString("serve_code"), "S2") << "no such item: the grid stays";
}

TEST_F(ServeFlowTest, ItemAndGoodsCodesTypedInAnyLetterCaseFindTheirRecords)
{
    auto f = openForm();
    QTest::keyClicks(f->findBox(), "s2");
    QTest::keyClick(f->findBox(), Qt::Key_Return);
    EXPECT_EQ(dataMod().ServeItemQ.asString("serve_code"), "S2");

    click(f->controls().cmd_add);
    retype(f->stepNoBox(), "1");
    retype(f->goodsCodeBox(), "g2");
    EXPECT_EQ(f->goodsNameBox()->text(), QStringLiteral("护发素"));
    click(f->controls().cmd_save);
    EXPECT_EQ(scalar("select gods_code from serveflow where serve_code='S2'").toString(), "G2")
        << "stored as the goods spells it";
}

TEST_F(ServeFlowTest, EmptyCatalogueLeavesTheStepsClosedAndAddShows2005)
{
    exec("delete from serveitem");
    auto f = openForm();
    EXPECT_FALSE(steps().isActive());
    testui::PromptResponder prompts;
    prompts.expect(QStringLiteral("没有可添加流程的服务项目！"));
    click(f->controls().cmd_add);
    EXPECT_EQ(f->mode(), FormMode::Null);
}

TEST_F(ServeFlowTest, EditWithoutAStepShows2004)
{
    auto f = openForm();
    clickRow(f->itemGrid(), 1); // S2 has no steps
    testui::PromptResponder prompts;
    prompts.expect(QStringLiteral("请先选择要修改的流程！"));
    click(f->controls().cmd_edit);
    EXPECT_EQ(f->mode(), FormMode::Null);
}

TEST_F(ServeFlowTest, SaveWithoutAnItemCodeShows1022AndWritesNothing)
{
    // An item stored without a code gives its new step no code either.
    exec("delete from serveitem");
    exec("insert into serveitem (serve_code, serve_name) values (null, '无编号')");
    auto f = openForm();
    click(f->controls().cmd_add);
    ASSERT_EQ(f->mode(), FormMode::Add);
    retype(f->stepNoBox(), "1");
    testui::PromptResponder prompts;
    prompts.expect(QStringLiteral("项目编号不能为空！"));
    click(f->controls().cmd_save);
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(count("serveflow", "step_no='1' and serve_code is null"), 0);
}

TEST_F(ServeFlowTest, ControlsFollowTheModeAndTheRightsAtPosition4)
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
        *c.rights = allBut(3);
        {
            auto f = openForm();
            EXPECT_TRUE(f->findChild<QPushButton*>(QString::fromLatin1(c.button))->isEnabled())
                << "another position's right does not count";
        }
        *c.rights = allBut(TFrmServeFlow::kPosition);
        auto f = openForm();
        EXPECT_FALSE(f->findChild<QPushButton*>(QString::fromLatin1(c.button))->isEnabled());
    }

    grantAllRights();
    auto f = openForm();
    auto& c = f->controls();
    EXPECT_FALSE(c.dataGroups.front()->isEnabled());
    click(c.cmd_add);
    EXPECT_FALSE(f->itemGrid()->isEnabled());
    EXPECT_FALSE(f->stepGrid()->isEnabled());
    EXPECT_FALSE(c.cmd_add->isEnabled());
    EXPECT_FALSE(c.cmd_exit->isEnabled());
    EXPECT_FALSE(c.findGroup->isEnabled());
    EXPECT_TRUE(c.cmd_save->isEnabled());
    EXPECT_TRUE(c.dataGroups.front()->isEnabled());
    EXPECT_FALSE(f->close()) << "no closing while a step is entered";
    click(c.cmd_canc);
    EXPECT_TRUE(f->itemGrid()->isEnabled());
    EXPECT_TRUE(f->close());
}

TEST_F(ServeFlowTest, EnterInTheFindBoxFindsNothingWithoutTheFindRight)
{
    PowFind = allBut(TFrmServeFlow::kPosition);
    auto f = openForm();
    QTest::keyClicks(f->findBox(), "S2");
    QTest::keyClick(f->findBox(), Qt::Key_Return);
    EXPECT_EQ(dataMod().ServeItemQ.asString("serve_code"), "S1");
}
