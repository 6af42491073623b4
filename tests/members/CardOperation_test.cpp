#include "tests/members/CardOperationFixture_test.h"
#include "tests/members/FormDriving_test.h"

#include "core/DbConfig.h"
#include "members/Uaddcard.h"
#include "members/Ucardpass.h"
#include "members/Udeletecard.h"
#include "members/Unewcard.h"
#include "members/Usavemoney.h"
#include "members/Utakemoney.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/EnterAsTab.h"

#include <QGroupBox>
#include <functional>
#include <memory>

using cardtest::CardOperationTest;

namespace {

struct FamilyRow {
    const char* name;
    std::function<CardOperationForm*()> make;
    const char* objectName;
    const char* caption;
    int position;
    const char* editCaption;
    const char* groupCaption;
};

const FamilyRow kFamily[] = {
    {"issue", [] { return new TFrmNewCard; }, "FrmNewCard", "会员发卡", 9, "发卡&E", "发卡资料"},
    {"replace", [] { return new TFrmAddCard; }, "FrmAddCard", "会员补卡", 10, "补卡&E", "补卡资料"},
    {"return", [] { return new TFrmDeleteCard; }, "FrmDeleteCard", "会员退卡", 11, "退卡&E", "退卡资料"},
    {"deposit", [] { return new TFrmSaveMoney; }, "FrmSaveMoney", "会员存款", 12, "存款&E", "存款资料"},
    {"withdraw", [] { return new TFrmTakeMoney; }, "FrmTakeMoney", "会员取款", 13, "取款&E", "取款资料"},
    {"password", [] { return new TFrmCardPass; }, "FrmCardPass", "会员密码修改", 14, "修改&E", "修改密码"},
};

} // namespace

// ---- the family

TEST_F(CardOperationTest, EachFormHasItsCaptionsAndFollowsItsOwnEditRight)
{
    for (const FamilyRow& row : kFamily) {
        SCOPED_TRACE(row.name);
        PowEdit = QString(38, QLatin1Char('1'));
        PowEdit[row.position - 1] = QLatin1Char('0');
        std::unique_ptr<CardOperationForm> f(row.make());
        EXPECT_EQ(f->objectName(), QString::fromUtf8(row.objectName));
        EXPECT_EQ(f->windowTitle(), QString::fromUtf8(row.caption));
        EXPECT_EQ(f->controls().cmd_edit->text(), QString::fromUtf8(row.editCaption));
        EXPECT_EQ(f->operationGroup()->title(), QString::fromUtf8(row.groupCaption));
        EXPECT_EQ(f->controls().cmd_add, nullptr);
        EXPECT_EQ(f->controls().cmd_dele, nullptr);
        EXPECT_EQ(f->controls().cmd_prin, nullptr);
        EXPECT_FALSE(f->controls().cmd_edit->isEnabled());
        EXPECT_TRUE(f->controls().cmd_exit->isEnabled());
        EXPECT_FALSE(f->controls().cmd_save->isEnabled());
        EXPECT_FALSE(f->operationGroup()->isEnabled());
        EXPECT_FALSE(f->personalGroup()->isEnabled());
        f.reset();

        PowEdit = QString(38, QLatin1Char('0'));
        PowEdit[row.position - 1] = QLatin1Char('1');
        f.reset(row.make());
        EXPECT_TRUE(f->controls().cmd_edit->isEnabled());
    }
}

TEST_F(CardOperationTest, GridListsEveryMemberWithItsColumns)
{
    TFrmSaveMoney f;
    EXPECT_EQ(f.grid()->model()->rowCount(), 5);
    QStringList titles;
    for (int c = 0; c < f.grid()->model()->columnCount(); ++c)
        titles << f.grid()->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, QStringList({"会员编码", "会员卡号", "姓名", "性别", "证件号码", "联系电话", "移动电话", "状态"}));
}

TEST_F(CardOperationTest, QuickFindTriesTheCodeThenTheCardNumber)
{
    TFrmTakeMoney f;
    pick(f, "C004");
    EXPECT_EQ(f.memberCodeBox()->text(), "M04");
    pick(f, " M05 ");
    EXPECT_EQ(f.memberCodeBox()->text(), "M05");
    pick(f, "m03"); // letter case aside, as the database compares codes
    EXPECT_EQ(f.memberCodeBox()->text(), "M03");
    pick(f, "c005");
    EXPECT_EQ(f.memberCodeBox()->text(), "M05");
    f.findBox()->setText("M03");
    press(f.findChild<QPushButton*>("cmd_find"));
    EXPECT_EQ(f.memberCodeBox()->text(), "M03");
}

TEST_F(CardOperationTest, ABlankFindBoxFindsNobody)
{
    TFrmNewCard f;
    pick(f, "M03");
    pick(f, "  "); // not M01, the first member without a card
    EXPECT_EQ(f.memberCodeBox()->text(), "M03");
    f.findBox()->clear();
    press(f.findChild<QPushButton*>("cmd_find"));
    EXPECT_EQ(f.memberCodeBox()->text(), "M03");
}

TEST_F(CardOperationTest, PersonalDatesFollowTheMemberShown)
{
    exec("update insider set insi_birth = '1990-05-06 00:00:00' where insi_code = 'M03'");
    TFrmDeleteCard f;
    pick(f, "M03");
    EXPECT_EQ(f.birthPicker()->value(), QDate(1990, 5, 6));
    pick(f, "M05");
    EXPECT_TRUE(f.birthPicker()->isNull()) << "no date of the member shown before";
    EXPECT_TRUE(f.openPicker()->isNull());
}

TEST_F(CardOperationTest, OperatingLocksTheListAndTheWindow)
{
    TFrmSaveMoney f;
    f.show();
    pick(f, "M03");
    start(f);
    ASSERT_EQ(f.mode(), FormMode::Edit);
    EXPECT_FALSE(f.grid()->isEnabled());
    EXPECT_FALSE(f.controls().cmd_edit->isEnabled());
    EXPECT_FALSE(f.controls().findGroup->isEnabled());
    EXPECT_TRUE(f.operationGroup()->isEnabled());
    EXPECT_FALSE(f.close());
    cancel(f);
    EXPECT_TRUE(f.close());
}

TEST_F(CardOperationTest, PasswordBoxesShowStars)
{
    TFrmTakeMoney f;
    pick(f, "M03");
    start(f);
    fill(f, CardBox::Password, "abc");
    EXPECT_EQ(f.box(CardBox::Password)->displayText(), "***");
}

// ---- issue

TEST_F(CardOperationTest, IssueToAMemberWithACardIsRefused)
{
    TFrmNewCard f;
    pick(f, "M03");
    testui::PromptResponder prompts;
    prompts.expect("会员卡已存在，请执行会员补卡");
    start(f);
    EXPECT_EQ(prompts.last().text, "会员卡已存在，请执行会员补卡");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_FALSE(dataMod().InsiderQ.isEditing());
}

TEST_F(CardOperationTest, IssueWithTheLevelsDepositWritesTheLedgerAndTheCard)
{
    TFrmNewCard f;
    pick(f, "M01");
    start(f);
    ASSERT_EQ(f.mode(), FormMode::Edit);
    EXPECT_EQ(dataMod().InsiderQ.asString("insi_state"), "启用");
    fill(f, CardBox::CardNo, "C001");
    fill(f, CardBox::Deposit, "100");
    fill(f, CardBox::Password, "pw");
    fill(f, CardBox::Confirm, "pw");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(ledgerRow("foregift"), "M01|C001|100|admin|会员押金");
    EXPECT_EQ(count("insifee", "bill_date = :d and typeof(serv_fee) = 'integer' and bill_no is null",
                    {{"d", today()}}),
              1);
    EXPECT_EQ(member("M01", "card_no"), "C001");
    EXPECT_EQ(member("M01", "foregift"), "100");
    EXPECT_EQ(member("M01", "insi_pass"), "pw");
    EXPECT_EQ(member("M01", "insi_state"), "启用");
    EXPECT_EQ(member("M01", "open_date"), today());
    EXPECT_EQ(f.openPicker()->value(), QDate::currentDate());
    EXPECT_EQ(f.memberCodeBox()->text(), "M01");
}

TEST_F(CardOperationTest, IssueOneUnitBelowTheDepositIsRefusedWithTheLevelName)
{
    TFrmNewCard f;
    f.show();
    pick(f, "M01");
    start(f);
    fill(f, CardBox::CardNo, "C001");
    fill(f, CardBox::Deposit, "99");
    fill(f, CardBox::Password, "pw");
    fill(f, CardBox::Confirm, "pw");
    testui::PromptResponder prompts;
    prompts.expect("这点押金可不够申请");
    save(f);
    EXPECT_EQ(prompts.last().text, "这点押金可不够申请普通卡");
    EXPECT_EQ(f.mode(), FormMode::Edit);
    EXPECT_EQ(f.focusWidget(), f.box(CardBox::Deposit));
    EXPECT_EQ(f.box(CardBox::CardNo)->text(), "C001");
    EXPECT_EQ(ledgerRows(), 0);
    EXPECT_EQ(member("M01", "card_no"), "");
}

TEST_F(CardOperationTest, IssueChecksRunInTheirOrder)
{
    struct Case {
        const char* card;
        const char* deposit;
        const char* pass;
        const char* confirm;
        const char* message;
    } const cases[] = {
        // each case also fails every later check
        {"  ", " ", " ", "x", "卡号不能为空"},
        {"C001", " ", " ", "x", "押金不能为空"},
        {"C001", "1", " ", "x", "密码不能为空"},
        {"C001", "1", "pw", "px", "密码不一致"},
    };
    TFrmNewCard f;
    pick(f, "M01");
    start(f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        fill(f, CardBox::CardNo, c.card);
        fill(f, CardBox::Deposit, c.deposit);
        fill(f, CardBox::Password, c.pass);
        fill(f, CardBox::Confirm, c.confirm);
        testui::PromptResponder prompts;
        prompts.expect(c.message);
        save(f);
        EXPECT_EQ(prompts.last().text, c.message);
        EXPECT_EQ(f.mode(), FormMode::Edit);
    }
    EXPECT_EQ(ledgerRows(), 0);
}

TEST_F(CardOperationTest, PasswordsThatDifferOnlyByBlanksAroundAreTheSame)
{
    TFrmNewCard f;
    pick(f, "M01");
    start(f);
    fill(f, CardBox::CardNo, "C001");
    fill(f, CardBox::Deposit, "300");
    fill(f, CardBox::Password, " pw");
    fill(f, CardBox::Confirm, "pw ");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(member("M01", "insi_pass"), " pw");
}

TEST_F(CardOperationTest, IssueWithoutALevelOwesNoDepositAndZeroWritesNoLedgerRow)
{
    TFrmNewCard f;
    pick(f, "M02");
    start(f);
    fill(f, CardBox::CardNo, "C002");
    fill(f, CardBox::Deposit, "0");
    fill(f, CardBox::Password, "pw");
    fill(f, CardBox::Confirm, "pw");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(ledgerRows(), 0);
    EXPECT_EQ(member("M02", "card_no"), "C002");
    EXPECT_EQ(member("M02", "foregift"), "0");
    EXPECT_EQ(member("M02", "insi_state"), "启用");
}

TEST_F(CardOperationTest, ADepositThatIsNoWholeNumberIsANumberTypeError)
{
    TFrmNewCard f;
    pick(f, "M02");
    start(f);
    fill(f, CardBox::CardNo, "C002");
    fill(f, CardBox::Deposit, "12.5");
    fill(f, CardBox::Password, "pw");
    fill(f, CardBox::Confirm, "pw");
    testui::PromptResponder prompts;
    prompts.expect("数字类型错误");
    save(f);
    EXPECT_EQ(prompts.last().text, "数字类型错误");
    EXPECT_EQ(f.mode(), FormMode::Edit);
    EXPECT_TRUE(dataMod().InsiderQ.isEditing());
    EXPECT_EQ(ledgerRows(), 0);
    EXPECT_EQ(member("M02", "card_no"), "");
}

TEST_F(CardOperationTest, CancellingAnIssueLeavesTheMemberAsItWas)
{
    TFrmNewCard f;
    pick(f, "M01");
    start(f);
    fill(f, CardBox::CardNo, "C001");
    cancel(f);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(dataMod().InsiderQ.asString("card_no"), "");
    EXPECT_EQ(dataMod().InsiderQ.asString("insi_state"), "");
    EXPECT_EQ(f.memberCodeBox()->text(), "M01");
    EXPECT_EQ(member("M01", "card_no"), "");
}

// ---- replace

TEST_F(CardOperationTest, ReplacementWithAFeeWritesItUnderTheNewNumber)
{
    TFrmAddCard f;
    pick(f, "C003");
    start(f);
    fill(f, CardBox::CardNo, "C009");
    QTest::keyClicks(f.box(CardBox::Fee), "x123456"); // digits only, at most 4
    EXPECT_EQ(f.box(CardBox::Fee)->text(), "1234");
    fill(f, CardBox::Fee, "20");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(ledgerRow("addcard"), "M03|C009|20|admin|会员补卡费");
    EXPECT_EQ(member("M03", "card_no"), "C009");
    EXPECT_EQ(f.box(CardBox::Fee)->text(), "");
}

TEST_F(CardOperationTest, TheNewCardNumberTypedReplacesTheOldOneShown)
{
    ui::EnterAsTab enterAsTab; // as in the program
    TFrmAddCard f;
    startAsShown(f, "M03");
    ASSERT_EQ(QApplication::focusWidget(), f.box(CardBox::CardNo));
    testui::typeAtFocus("C009");
    testui::pressAtFocus(Qt::Key_Return);
    testui::typeAtFocus("20");
    save(f);
    EXPECT_EQ(member("M03", "card_no"), "C009");
    EXPECT_EQ(ledgerRow("addcard"), "M03|C009|20|admin|会员补卡费");
}

TEST_F(CardOperationTest, ReplacementWithFeeZeroChangesOnlyTheCard)
{
    TFrmAddCard f;
    pick(f, "M03");
    start(f);
    fill(f, CardBox::CardNo, "C010");
    fill(f, CardBox::Fee, "0");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(ledgerRows(), 0);
    EXPECT_EQ(member("M03", "card_no"), "C010");
}

TEST_F(CardOperationTest, ReplacementNeedsACardNumberThenAFee)
{
    TFrmAddCard f;
    pick(f, "M03");
    start(f);
    fill(f, CardBox::CardNo, " ");
    testui::PromptResponder prompts;
    prompts.expect("卡号不能为空");
    save(f);
    fill(f, CardBox::CardNo, "C011");
    prompts.expect("补卡费不能为空");
    save(f);
    EXPECT_EQ(prompts.texts(), QStringList({"卡号不能为空", "补卡费不能为空"}));
    EXPECT_EQ(member("M03", "card_no"), "C003");
}

// ---- deposit

TEST_F(CardOperationTest, DepositOfZeroIsRefused)
{
    TFrmSaveMoney f;
    pick(f, "M03");
    start(f);
    testui::PromptResponder prompts;
    prompts.expect("存款金额不能为空");
    save(f);
    fill(f, CardBox::Amount, "000");
    prompts.expect("存款金额不能为0");
    save(f);
    EXPECT_EQ(prompts.texts(), QStringList({"存款金额不能为空", "存款金额不能为0"}));
    EXPECT_EQ(member("M03", "rest_point"), "50");
}

TEST_F(CardOperationTest, DepositRaisesTheBalanceAndWritesSavemoney)
{
    TFrmSaveMoney f;
    pick(f, "M03");
    start(f);
    fill(f, CardBox::Amount, "70");
    fill(f, CardBox::Remark, "   ");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(ledgerRow("savemoney"), "M03|C003|70|admin|会员存款");
    EXPECT_EQ(member("M03", "rest_point"), "120");
    EXPECT_EQ(f.box(CardBox::Amount)->text(), "");
    EXPECT_EQ(f.box(CardBox::Remark)->text(), "");
}

TEST_F(CardOperationTest, AFirstDepositOntoAnEmptyBalanceIsKept)
{
    TFrmSaveMoney f;
    pick(f, "M04");
    start(f);
    fill(f, CardBox::Amount, "100");
    fill(f, CardBox::Remark, QStringLiteral("  生日充值 "));
    save(f);
    EXPECT_EQ(member("M04", "rest_point"), "100");
    EXPECT_EQ(ledgerRow("savemoney"), "M04|C004|100|admin|生日充值");
}

TEST_F(CardOperationTest, ARemarkTakesNoMoreThanTheLedgersNoteHolds)
{
    const QString thirty = QStringLiteral("生日充值送护理一次").repeated(3) + QStringLiteral("另送");
    ASSERT_EQ(thirty.size(), 29);
    struct Case {
        const char* type;
        std::function<CardOperationForm*()> make;
        std::function<void(CardOperationForm&)> fillIn;
    };
    const Case cases[] = {
        {"savemoney", [] { return new TFrmSaveMoney; }, [](CardOperationForm& f) { fill(f, CardBox::Amount, "10"); }},
        {"takemoney", [] { return new TFrmTakeMoney; },
         [](CardOperationForm& f) {
             fill(f, CardBox::Password, "abc");
             fill(f, CardBox::Amount, "10");
         }},
        {"deletecard", [] { return new TFrmDeleteCard; }, [](CardOperationForm& f) { fill(f, CardBox::Password, "abc"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        std::unique_ptr<CardOperationForm> f(c.make());
        pick(*f, "M03");
        start(*f);
        c.fillIn(*f);
        fill(*f, CardBox::Remark, thirty + QStringLiteral("卡!"));
        EXPECT_EQ(f->box(CardBox::Remark)->text(), thirty + QStringLiteral("卡"));
        testui::PromptResponder prompts;
        save(*f);
        EXPECT_EQ(f->mode(), FormMode::Null);
        EXPECT_EQ(count("insifee", "gath_type=:t and gath_note=:n",
                        {{"t", QString::fromLatin1(c.type)}, {"n", thirty + QStringLiteral("卡")}}),
                  1);
    }
}

TEST_F(CardOperationTest, CancelEmptiesTheAmountAndRemark)
{
    TFrmSaveMoney f;
    pick(f, "M03");
    start(f);
    fill(f, CardBox::Amount, "70");
    fill(f, CardBox::Remark, "x");
    cancel(f);
    EXPECT_EQ(f.box(CardBox::Amount)->text(), "");
    EXPECT_EQ(f.box(CardBox::Remark)->text(), "");
    EXPECT_EQ(ledgerRows(), 0);
}

// ---- the two writes together

TEST_F(CardOperationTest, ARefusedMemberPostLeavesNoLedgerRow)
{
    exec("create trigger refuse_member before update on insider begin select raise(abort, 'refused'); end");
    TFrmSaveMoney f;
    pick(f, "M03");
    start(f);
    fill(f, CardBox::Amount, "30");
    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Error, "refused");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Edit);
    EXPECT_TRUE(dataMod().InsiderQ.isEditing());
    EXPECT_EQ(ledgerRows(), 0);
    EXPECT_EQ(member("M03", "rest_point"), "50");

    exec("drop trigger refuse_member");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(ledgerRows(), 1);
    EXPECT_EQ(member("M03", "rest_point"), "80") << "the retried save counts the deposit once";
}

TEST_F(CardOperationTest, ADepositCountsWhatAnotherWorkstationWroteMeanwhile)
{
    db::Connection other; // another workstation on the same database file
    other.open(databasePath(), databaseKey());
    auto billThere = [&other](int amount) {
        other.execute("update insider set rest_point=rest_point-:a, insi_tota=coalesce(insi_tota,0)+:a"
                      " where insi_code='M03'",
                      {{"a", amount}});
    };
    TFrmSaveMoney f;
    pick(f, "M03");
    billThere(10); // after the form read the member
    start(f);
    fill(f, CardBox::Amount, "70");
    billThere(20); // while the deposit is typed
    save(f);
    ASSERT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(member("M03", "rest_point"), "90");
    EXPECT_EQ(member("M03", "insi_tota"), "30");
    EXPECT_EQ(ledgerRow("savemoney"), "M03|C003|70|admin|会员存款");

    billThere(5); // and the next deposit on the open form
    start(f);
    fill(f, CardBox::Amount, "15");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(member("M03", "rest_point"), "100");
    EXPECT_EQ(count("insifee", "gath_type='savemoney'"), 2);
}

TEST_F(CardOperationTest, WithdrawalAndReturnCountTheMoneyAsStoredAtTheSave)
{
    db::Connection other;
    other.open(databasePath(), databaseKey());
    {
        TFrmTakeMoney f;
        pick(f, "M03");
        start(f);
        fill(f, CardBox::Password, "abc");
        fill(f, CardBox::Amount, "40");
        other.execute("update insider set rest_point=30 where insi_code='M03'"); // billed 20 there
        testui::PromptResponder prompts;
        prompts.expect("取款金额不能大于存款余额");
        save(f);
        EXPECT_EQ(f.mode(), FormMode::Edit);
        fill(f, CardBox::Amount, "30");
        save(f);
        EXPECT_EQ(f.mode(), FormMode::Null);
        EXPECT_EQ(member("M03", "rest_point"), "0");
        EXPECT_EQ(f.box(CardBox::Balance)->text(), "0") << "the form shows the balance as stored";
        EXPECT_EQ(ledgerRow("takemoney"), "M03|C003|30|admin|会员取款");
    }
    TFrmDeleteCard f;
    pick(f, "M03");
    other.execute("update insider set rest_point=20 where insi_code='M03'");
    start(f);
    EXPECT_EQ(f.box(CardBox::Refund)->text(), "120");
    fill(f, CardBox::Password, "abc");
    other.execute("update insider set rest_point=5 where insi_code='M03'");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(ledgerRow("deletecard"), "M03|C003|105|admin|会员退卡") << "the refund is what the card holds";
    EXPECT_EQ(member("M03", "rest_point"), "0");
    EXPECT_EQ(member("M03", "foregift"), "0");
    EXPECT_EQ(member("M03", "insi_state"), "禁用");
}

TEST_F(CardOperationTest, ADepositTheDatabaseCannotTakeSaysWhy)
{
    TFrmSaveMoney f;
    pick(f, "M03");
    start(f);
    fill(f, CardBox::Amount, "70");
    testui::PromptResponder prompts;

    fillDatabase("insifee"); // no room left for the ledger row
    prompts.expect(testui::PromptResponder::Kind::Message, "数字类型错误\n");
    save(f);
    EXPECT_TRUE(prompts.last().text.endsWith(QStringLiteral("\n磁盘已满，请清理数据库所在磁盘的空间后再试")))
        << prompts.last().text.toStdString();
    EXPECT_EQ(prompts.last().details, "database or disk is full");
    EXPECT_EQ(f.mode(), FormMode::Edit);
    exec("pragma max_page_count=1073741823");

    refuseWrites();
    prompts.expect(testui::PromptResponder::Kind::Error, QStringLiteral("数据库文件只读"));
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Edit);
    EXPECT_EQ(member("M03", "rest_point"), "50");
    EXPECT_EQ(count("insifee", "gath_type='savemoney'"), 0);

    exec("pragma query_only=0");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(member("M03", "rest_point"), "120");
    EXPECT_EQ(ledgerRow("savemoney"), "M03|C003|70|admin|会员存款");
}

// ---- withdraw

TEST_F(CardOperationTest, WithdrawingExactlyTheBalanceLeavesZero)
{
    TFrmTakeMoney f;
    pick(f, "M03");
    start(f);
    EXPECT_EQ(f.box(CardBox::Balance)->text(), "50");
    fill(f, CardBox::Password, "abc");
    fill(f, CardBox::Amount, "51");
    testui::PromptResponder prompts;
    prompts.expect("取款金额不能大于存款余额");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Edit);
    fill(f, CardBox::Amount, "50");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(member("M03", "rest_point"), "0");
    EXPECT_EQ(ledgerRow("takemoney"), "M03|C003|50|admin|会员取款");
    EXPECT_EQ(f.box(CardBox::Password)->text(), "");
    EXPECT_EQ(f.box(CardBox::Amount)->text(), "");
}

TEST_F(CardOperationTest, AWrongPasswordIsReportedBeforeAnyAmountCheck)
{
    TFrmTakeMoney f;
    pick(f, "M03");
    start(f);
    testui::PromptResponder prompts;
    prompts.expect("密码不能为空");
    save(f);
    fill(f, CardBox::Password, "abd");
    prompts.expect("密码错误");
    save(f);
    fill(f, CardBox::Amount, "0");
    prompts.expect("密码错误");
    save(f);
    fill(f, CardBox::Password, "abc");
    prompts.expect("取款金额不能为0");
    save(f);
    EXPECT_EQ(ledgerRows(), 0);
}

TEST_F(CardOperationTest, WithdrawFromAnEmptyOrZeroBalanceIsRefusedAtTheStart)
{
    TFrmTakeMoney f;
    testui::PromptResponder prompts;
    for (const char* code : {"M04", "M05"}) {
        SCOPED_TRACE(code);
        pick(f, code);
        prompts.expect("余额不足");
        start(f);
        EXPECT_EQ(f.mode(), FormMode::Null);
    }
}

TEST_F(CardOperationTest, APasswordStoredWithBlanksStillOpensTheCard)
{
    exec("update insider set insi_pass = ' abc ' where insi_code = 'M03'");
    TFrmTakeMoney f;
    pick(f, "M03");
    start(f);
    fill(f, CardBox::Password, "abc");
    fill(f, CardBox::Amount, "10");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(member("M03", "rest_point"), "40");
}

// ---- return

TEST_F(CardOperationTest, ReturningACardWithNothingOnItIsRefused)
{
    TFrmDeleteCard f;
    pick(f, "M05");
    testui::PromptResponder prompts;
    prompts.expect("余额不足");
    start(f);
    EXPECT_EQ(prompts.last().text, "余额不足");
    EXPECT_EQ(f.mode(), FormMode::Null);
}

TEST_F(CardOperationTest, ReturnRefundsDepositAndBalanceAndDisablesTheCard)
{
    TFrmDeleteCard f;
    pick(f, "M03");
    start(f);
    ASSERT_EQ(f.mode(), FormMode::Edit);
    EXPECT_EQ(f.box(CardBox::Refund)->text(), "150");
    EXPECT_EQ(f.box(CardBox::Deposit)->text(), "100");
    fill(f, CardBox::Password, "abd");
    testui::PromptResponder prompts;
    prompts.expect("密码错误");
    save(f);
    fill(f, CardBox::Password, "abc");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(ledgerRow("deletecard"), "M03|C003|150|admin|会员退卡");
    EXPECT_EQ(member("M03", "rest_point"), "0");
    EXPECT_EQ(member("M03", "foregift"), "0");
    EXPECT_EQ(member("M03", "insi_state"), "禁用");
    EXPECT_EQ(member("M03", "card_no"), "C003");
    EXPECT_EQ(f.box(CardBox::Refund)->text(), "");
    EXPECT_EQ(f.box(CardBox::Password)->text(), "");
}

TEST_F(CardOperationTest, AnEmptyDepositCountsAsZeroInTheRefund)
{
    exec("update insider set rest_point = 30 where insi_code = 'M04'");
    TFrmDeleteCard f;
    pick(f, "M04");
    start(f);
    EXPECT_EQ(f.box(CardBox::Refund)->text(), "30");
    fill(f, CardBox::Password, "p4");
    save(f);
    EXPECT_EQ(ledgerRow("deletecard"), "M04|C004|30|admin|会员退卡");
}

TEST_F(CardOperationTest, ReturnNeedsAMemberWithACard)
{
    exec("update insider set foregift = 10 where insi_code = 'M02'");
    TFrmDeleteCard f;
    pick(f, "M02");
    start(f);
    testui::PromptResponder prompts;
    prompts.expect("先选择会员");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Edit);
}

// ---- the member shown is the one operated on

TEST_F(CardOperationTest, EachOperationActsOnTheMemberShownWhereAnotherSharesItsCode)
{
    struct Case {
        const char* name;
        std::function<CardOperationForm*()> make;
        const char* first; // listed before the member shown, with the same code
        const char* shown;
        std::vector<std::pair<CardBox, const char*>> typed;
        const char* column; // what the operation changes on the member
        const char* firstValue;
        const char* shownValue;
        const char* ledger; // the ledger row written, "" for none
    };
    const Case cases[] = {
        {"issue", [] { return new TFrmNewCard; }, "丙", "丁",
         {{CardBox::CardNo, "C071"}, {CardBox::Deposit, "300"}, {CardBox::Password, "x"}, {CardBox::Confirm, "x"}},
         "card_no", "", "C071", "M07|C071|300|admin|会员押金"},
        {"replace", [] { return new TFrmAddCard; }, "甲", "乙", {{CardBox::CardNo, "C069"}, {CardBox::Fee, "5"}},
         "card_no", "C061", "C069", "M06|C069|5|admin|会员补卡费"},
        {"deposit", [] { return new TFrmSaveMoney; }, "甲", "乙", {{CardBox::Amount, "30"}}, "rest_point", "100",
         "230", "M06|C062|30|admin|会员存款"},
        {"withdraw", [] { return new TFrmTakeMoney; }, "甲", "乙",
         {{CardBox::Password, "p"}, {CardBox::Amount, "30"}}, "rest_point", "100", "170", "M06|C062|30|admin|会员取款"},
        {"return", [] { return new TFrmDeleteCard; }, "甲", "乙", {{CardBox::Password, "p"}}, "rest_point", "100", "0",
         "M06|C062|300|admin|会员退卡"},
        {"password", [] { return new TFrmCardPass; }, "甲", "乙", {{CardBox::Password, "n"}, {CardBox::Confirm, "n"}},
         "insi_pass", "p", "n", ""},
    };
    auto named = [this](const char* name, const char* column) {
        return db::asString(scalar(QStringLiteral("select %1 from insider where insi_name = :n").arg(column),
                                   {{QStringLiteral("n"), QString::fromUtf8(name)}}));
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Codes need not be unique: each pair shares one.
        exec("delete from insider where insi_code in ('M06', 'M07')");
        exec("delete from insifee");
        exec("insert into insider (insi_code, insi_name, card_no, card_type, insi_state, insi_pass, rest_point,"
             " foregift) values ('M06', '甲', 'C061', '金卡', '启用', 'p', 100, 100),"
             " ('M06', '乙', 'C062', '金卡', '启用', 'p', 200, 100), ('M07', '丙', null, '金卡', null, null, null, null),"
             " ('M07', '丁', null, '金卡', null, null, null, null)");
        std::unique_ptr<CardOperationForm> f(c.make());
        formtest::show(*f);
        const db::Dataset& list = dataMod().InsiderQ;
        for (int row = 0; row < list.recordCount(); ++row)
            if (db::asString(list.value(row, list.fieldIndex("insi_name"))) == QString::fromUtf8(c.shown))
                formtest::clickRow(f->grid(), row);
        start(*f);
        ASSERT_EQ(f->mode(), FormMode::Edit);
        for (const auto& [box, text] : c.typed)
            fill(*f, box, text);
        save(*f);
        EXPECT_EQ(f->mode(), FormMode::Null);
        EXPECT_EQ(named(c.shown, c.column), c.shownValue);
        EXPECT_EQ(named(c.first, c.column), c.firstValue);
        if (*c.ledger)
            EXPECT_EQ(ledgerRow(f->definition().gathType), c.ledger);
        else
            EXPECT_EQ(ledgerRows(), 0);
        EXPECT_EQ(list.asString("insi_name"), QString::fromUtf8(c.shown)) << "still showing the member operated on";
    }
}

// ---- one card number, one member

TEST_F(CardOperationTest, ACardNumberAnotherMemberHoldsIsRefused)
{
    struct Case {
        const char* name;
        std::function<CardOperationForm*()> make;
        const char* member;
        std::vector<std::pair<CardBox, const char*>> typed;
        const char* cardBefore;
    };
    const Case cases[] = {
        // M03's card in other letters; M05's with blanks around
        {"issue", [] { return new TFrmNewCard; }, "M01",
         {{CardBox::CardNo, "c003"}, {CardBox::Deposit, "100"}, {CardBox::Password, "pw"}, {CardBox::Confirm, "pw"}},
         ""},
        {"replace", [] { return new TFrmAddCard; }, "M04", {{CardBox::CardNo, " C005 "}, {CardBox::Fee, "10"}}, "C004"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CardOperationForm> f(c.make());
        f->show();
        pick(*f, c.member);
        start(*f);
        for (const auto& [box, text] : c.typed)
            fill(*f, box, text);
        testui::PromptResponder prompts;
        prompts.expect("卡号已被其他会员使用");
        save(*f);
        EXPECT_EQ(f->mode(), FormMode::Edit);
        EXPECT_EQ(f->focusWidget(), f->box(CardBox::CardNo));
        EXPECT_EQ(ledgerRows(), 0);
        EXPECT_EQ(member(c.member, "card_no"), c.cardBefore);
    }
}

TEST_F(CardOperationTest, ACardNumberRefusedAtASaveFromItsBoxIsTypedOverNotAfter)
{
    ui::EnterAsTab enterAsTab; // as in the program
    TFrmAddCard f;
    startAsShown(f, "M04");
    testui::typeAtFocus("C005"); // M05's
    testui::PromptResponder prompts;
    prompts.expect("卡号已被其他会员使用");
    ASSERT_TRUE(testui::pressMnemonicUntil(Qt::Key_S, [&] { return prompts.count() == 1; }));
    ASSERT_EQ(QApplication::focusWidget(), f.box(CardBox::CardNo));
    testui::typeAtFocus("C009");
    testui::pressAtFocus(Qt::Key_Return);
    testui::typeAtFocus("10");
    EXPECT_TRUE(testui::pressMnemonicUntil(Qt::Key_S, [&] { return f.mode() == FormMode::Null; }))
        << prompts.texts().join(u'\n').toStdString();
    EXPECT_EQ(member("M04", "card_no"), "C009");
}

TEST_F(CardOperationTest, AReplacementMayKeepTheMembersOwnNumber)
{
    TFrmAddCard f;
    pick(f, "M03");
    start(f);
    fill(f, CardBox::CardNo, "C003");
    fill(f, CardBox::Fee, "10");
    save(f);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(ledgerRow("addcard"), "M03|C003|10|admin|会员补卡费");
}
