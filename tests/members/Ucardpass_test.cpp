#include "tests/members/CardOperationFixture_test.h"

#include "members/Ucardpass.h"
#include "members/Utakemoney.h"

using cardtest::CardOperationTest;

namespace {

class CardPassTest : public CardOperationTest {
protected:
    // The message catalogue as the main window loads it.
    void loadCatalogue()
    {
        db::Statement s(conn(), QStringLiteral("select charno, gb from charset"));
        while (s.step()) {
            MsgCatalog[0] << db::asString(s.value(0));
            MsgCatalog[1] << db::asString(s.value(1));
        }
        MsgCatalogCount = int(MsgCatalog[0].size());
    }
};

} // namespace

TEST_F(CardPassTest, StartingEmptiesTheNewPassword)
{
    TFrmCardPass f;
    f.show();
    pick(f, "M03");
    start(f);
    ASSERT_EQ(f.mode(), FormMode::Edit);
    EXPECT_EQ(f.box(CardBox::Password)->text(), "");
    EXPECT_EQ(dataMod().InsiderQ.asString("insi_pass"), "");
    EXPECT_EQ(f.focusWidget(), f.box(CardBox::Password));
}

TEST_F(CardPassTest, EmptyAndDifferingPasswordsShowTheCatalogueTexts)
{
    loadCatalogue();
    TFrmCardPass f;
    pick(f, "M03");
    start(f);
    testui::PromptResponder prompts;
    fill(f, CardBox::Password, "new");
    prompts.expect("密码不能为空！");
    save(f);
    fill(f, CardBox::Password, " ");
    fill(f, CardBox::Confirm, "new");
    prompts.expect("密码不能为空！");
    save(f);
    fill(f, CardBox::Password, "newer");
    prompts.expect("两次输入的密码不一致！");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Edit);
    EXPECT_EQ(member("M03", "insi_pass"), "abc");
}

TEST_F(CardPassTest, AMissingCatalogueRowShows0000)
{
    TFrmCardPass f;
    pick(f, "M03");
    start(f);
    testui::PromptResponder prompts;
    prompts.expect("0000");
    save(f);
    fill(f, CardBox::Password, "a");
    fill(f, CardBox::Confirm, "b");
    prompts.expect("0000");
    save(f);
    EXPECT_EQ(prompts.texts(), QStringList({"0000", "0000"}));
}

TEST_F(CardPassTest, AMemberWithoutACardGetsNoPassword)
{
    TFrmCardPass f;
    pick(f, "M01");
    start(f);
    EXPECT_EQ(f.mode(), FormMode::Edit);
    fill(f, CardBox::Password, "pw");
    fill(f, CardBox::Confirm, "pw");
    testui::PromptResponder prompts;
    prompts.expect("先选择会员");
    save(f);
    EXPECT_EQ(member("M01", "insi_pass"), "");
}

TEST_F(CardPassTest, CancelKeepsTheOldPassword)
{
    TFrmCardPass f;
    pick(f, "M03");
    start(f);
    fill(f, CardBox::Password, "zzz");
    fill(f, CardBox::Confirm, "zzz");
    cancel(f);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(dataMod().InsiderQ.asString("insi_pass"), "abc");
    EXPECT_EQ(member("M03", "insi_pass"), "abc");
}

TEST_F(CardPassTest, APasswordTypedWithATrailingBlankStillOpensTheCard)
{
    {
        TFrmCardPass f;
        pick(f, "M03");
        start(f);
        fill(f, CardBox::Password, "xyz ");
        fill(f, CardBox::Confirm, "xyz");
        save(f);
        EXPECT_EQ(f.mode(), FormMode::Null);
        EXPECT_EQ(member("M03", "insi_pass"), "xyz ");
        EXPECT_EQ(f.box(CardBox::Confirm)->text(), "xyz") << "the confirmation stays between operations";
        EXPECT_EQ(ledgerRows(), 0);
    }
    TFrmTakeMoney take;
    pick(take, "M03");
    start(take);
    fill(take, CardBox::Password, "xyz");
    fill(take, CardBox::Amount, "20");
    save(take);
    EXPECT_EQ(take.mode(), FormMode::Null);
    EXPECT_EQ(member("M03", "rest_point"), "30");
}
