#include "tests/support/TestDb.h"

#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"
#include "core/Upublic.h"
#include "members/Uservefind.h"
#include "members/Uservelog.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EnterAsTab.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

using Kind = testui::PromptResponder::Kind;

// The widgets of an open billing form, found by their names.
struct ServeLogUi {
    explicit ServeLogUi(TFrmServeLog& f)
        : form(f),
          billNo(box(f, "DBEdit2")),
          card(box(f, "DBEdit1")),
          memberName(box(f, "DBEdit3")),
          level(box(f, "DBEdit4")),
          serve(box(f, "DBEdit5")),
          serveName(box(f, "DBEdit6")),
          discount(box(f, "DBEdit7")),
          price(box(f, "DBEdit9")),
          note(box(f, "DBEdit14")),
          balance(box(f, "DBEdit15")),
          due(box(f, "DBEdit17")),
          received(box(f, "DBEdit16")),
          change(box(f, "DBEdit18")),
          date(f.findChild<ui::DbDatePicker*>("DateTimePicker1")),
          stylist(f.findChild<ui::DbComboBox*>("DBComboBox1")),
          picker(button(f, "BitBtn1")),
          grid(f.findChild<ui::DbGrid*>("DBGrid1")),
          findBox(f.findChild<QLineEdit*>("Edit2"))
    {
    }

    static ui::DbLineEdit* box(TFrmServeLog& f, const char* name)
    {
        auto* b = f.findChild<ui::DbLineEdit*>(name);
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    static QPushButton* button(TFrmServeLog& f, const char* name)
    {
        auto* b = f.findChild<QPushButton*>(name);
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    void click(const char* name) { QTest::mouseClick(button(form, name), Qt::LeftButton); }

    // Typed into the card box and finished with Enter (the focus moves on).
    void enterCard(const QString& text)
    {
        card->setFocus();
        QTest::keyClicks(card, text);
        QTest::keyClick(card, Qt::Key_Return);
    }
    // Typed into the service code box, which is then left with Tab.
    void enterService(const QString& code)
    {
        serve->setFocus();
        QTest::keyClicks(serve, code);
        QTest::keyClick(serve, Qt::Key_Tab);
    }
    // Typed into the stylist combo, which is then left with Tab.
    void enterStylist(const QString& code)
    {
        stylist->setFocus();
        QTest::keyClicks(stylist, code);
        QTest::keyClick(stylist, Qt::Key_Tab);
    }
    void enterReceived(const QString& amount)
    {
        received->setFocus();
        received->selectAll();
        QTest::keyClicks(received, amount);
    }

    TFrmServeLog& form;
    ui::DbLineEdit *billNo, *card, *memberName, *level, *serve, *serveName, *discount, *price, *note, *balance,
        *due, *received, *change;
    ui::DbDatePicker* date;
    ui::DbComboBox* stylist;
    QPushButton* picker;
    ui::DbGrid* grid;
    QLineEdit* findBox;
};

class ServeLogTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        grantAllRights();
        // A new database has no levels; the level form would create these.
        exec("insert into cardtype (card_type, type_note, insi_tota, foregift, rebate, list_no) values "
             "('class_a', '普通卡', 0, 0, null, 1), ('class_b', '银卡', 100, 0, 95, 2),"
             "('class_c', '金卡', 300, 0, 90, 3), ('class_d', '白金卡', 600, 0, null, 4),"
             "('class_e', '钻石卡', 1000, 0, null, 5)");
        exec("insert into insider (insi_code, insi_name, card_no, card_type, insi_state, rest_point, insi_tota) values "
             "('M001', '张三', 'C100', '普通卡', '启用', 500, 0),"
             "('M002', '李四', 'C200', '银卡', '启用', 50, 150)");
        exec("insert into serveitem (serve_code, serve_name, serve_type, unit_pric, gage_time) values "
             "('S1', '洗剪吹', '美发', 100, '30'), ('S2', '烫发', '美发', 88, '90'),"
             "('S3', '护理', '美容', 40, '20'), ('S4', '染发', '美发', 400, '60'), ('S5', '造型', '美发', 50, '15')");
        exec("insert into employee (empl_code, empl_name) values ('E1', '托尼')");
        enterAsTab_ = std::make_unique<ui::EnterAsTab>();
    }
    void TearDown() override
    {
        enterAsTab_.reset();
        ResetProgramState();
        TestDb::TearDown();
    }

    // The form as the main window shows it: visible, active, Enter moving on.
    std::unique_ptr<TFrmServeLog> openForm()
    {
        auto f = std::make_unique<TFrmServeLog>();
        f->show();
        f->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(f.get()));
        return f;
    }

    // A new bill for card and service item, left ready to save.
    static void writeBill(ServeLogUi& ui, const QString& card, const QString& service)
    {
        ui.click("cmd_add");
        ui.enterCard(card);
        ui.enterService(service);
    }

    double memberValue(const char* column, const char* card)
    {
        return scalar(QStringLiteral("select %1 from insider where card_no=:c").arg(QLatin1String(column)),
                      {{"c", QString::fromLatin1(card)}})
            .toDouble();
    }
    QString memberLevel(const char* card)
    {
        return scalar("select card_type from insider where card_no=:c", {{"c", QString::fromLatin1(card)}}).toString();
    }

    static QString today() { return db::toStorageText(QDate::currentDate()); }

    std::unique_ptr<ui::EnterAsTab> enterAsTab_;
};

} // namespace

TEST_F(ServeLogTest, OpensOnTodaysServiceBillsOnly)
{
    exec("insert into insifee (bill_no, bill_date, card_no, serve_code, gath_type, should_gath, serv_fee) values "
         "('B1', :today, 'C100', 'S1', 'servefee', 100, 100), ('B2', '2020-01-01 00:00:00', 'C100', 'S1', 'servefee', 100, 100),"
         "('B3', :today, 'C100', null, 'income', null, 30)",
         {{"today", today()}});
    auto f = openForm();
    ServeLogUi ui(*f);
    EXPECT_EQ(f->objectName(), "FrmServeLog");
    EXPECT_EQ(f->windowTitle(), QStringLiteral("会员服务开单"));
    EXPECT_EQ(ui.grid->datasetModel()->rowCount(), 1);
    EXPECT_EQ(ui.billNo->text(), "B1");
    EXPECT_EQ(ui.memberName->text(), QStringLiteral("张三"));
    EXPECT_EQ(ui.serveName->text(), QStringLiteral("洗剪吹"));
    EXPECT_EQ(ui.date->value(), QDate::currentDate());
    EXPECT_EQ(ui.grid->datasetModel()->headerData(8, Qt::Horizontal).toString(), QStringLiteral("应收款"));
}

TEST_F(ServeLogTest, AmountDueFollowsTheLevelDiscount)
{
    struct Case {
        const char* name;
        QVariant rebate;
        const char* service;
        const char* due;
    };
    const Case cases[] = {
        {"no discount", QVariant(), "S1", "100"},
        {"discount 0", qlonglong(0), "S1", "100"},
        {"discount 100", qlonglong(100), "S1", "100"},
        {"discount above 100", qlonglong(120), "S1", "100"},
        {"95 percent of 40", qlonglong(95), "S3", "38"},
        {"95 percent of 88 rounds up", qlonglong(95), "S2", "84"},
        {"95 percent of 50, a half, rounds away from zero", qlonglong(95), "S5", "48"},
        {"1 percent of 40 rounds down", qlonglong(1), "S3", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec("update cardtype set rebate=:r where list_no=1", {{"r", c.rebate}});
        auto f = openForm();
        ServeLogUi ui(*f);
        writeBill(ui, "C100", c.service);
        EXPECT_EQ(ui.due->text(), QString::fromLatin1(c.due));
        QTest::mouseClick(f->controls().cmd_canc, Qt::LeftButton);
    }
}

TEST_F(ServeLogTest, FractionalDueIsStoredAndChargedAsTheRoundedWhole)
{
    exec("update insider set card_type='银卡' where card_no='C100'"); // 95 percent
    auto f = openForm();
    ServeLogUi ui(*f);
    writeBill(ui, "C100", "S2");
    ui.enterReceived("84");
    ui.click("cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(scalar("select should_gath from insifee").toLongLong(), 84);
    EXPECT_EQ(scalar("select serv_fee from insifee").toLongLong(), 84);
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C100"), 416);
    EXPECT_DOUBLE_EQ(memberValue("insi_tota", "C100"), 84);
}

TEST_F(ServeLogTest, OverpaymentShowsTheChangeAndKeepsTheAmountDue)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    writeBill(ui, "C100", "S1");
    ui.enterReceived("120");
    EXPECT_EQ(ui.change->text(), "20");
    ui.click("cmd_save");

    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(count("insifee"), 1);
    const QString billNo = ui.billNo->text();
    EXPECT_EQ(billNo.size(), 14);
    EXPECT_EQ(count("insifee",
                    "bill_no=:b and card_no='C100' and serve_code='S1' and should_gath=100 and serv_fee=100"
                    " and gath_code='admin' and oper_code='admin' and gath_note='会员消费' and gath_type='servefee'"
                    " and bill_date=:d and insi_code is null",
                    {{"b", billNo}, {"d", today()}}),
              1);
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C100"), 400);
    EXPECT_DOUBLE_EQ(memberValue("insi_tota", "C100"), 100);
    EXPECT_EQ(memberLevel("C100"), QStringLiteral("银卡"));
    EXPECT_EQ(ui.balance->text(), "400") << "the balance box shows the charge";
}

TEST_F(ServeLogTest, CodesTypedInAnyLetterCaseFindTheirRecordsAndAreStoredAsTheRecordsSpellThem)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    writeBill(ui, "c100", "s1");
    ui.enterStylist("e1");
    EXPECT_EQ(ui.memberName->text(), QStringLiteral("张三"));
    EXPECT_EQ(ui.serveName->text(), QStringLiteral("洗剪吹"));
    EXPECT_EQ(ui.due->text(), "100");
    ui.enterReceived("100");
    ui.click("cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Null);
    // As the commission engine's rate table, where letter case counts, finds the item.
    EXPECT_EQ(scalar("select card_no || '|' || serve_code || '|' || stylist_code from insifee").toString(), "C100|S1|E1");
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C100"), 400);
}

TEST_F(ServeLogTest, ReceivedBelowTheAmountDueIsRefused)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    writeBill(ui, "C100", "S1");
    ui.enterReceived("80");
    testui::PromptResponder prompts;
    prompts.expect(Kind::Message, QStringLiteral("实收金额不能小于应收金额"));
    ui.click("cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(count("insifee"), 0);
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C100"), 500);
}

TEST_F(ServeLogTest, AReceivedAmountThatIsNoNumberIsRefusedNamingItsBoxWithTheFocusInIt)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    writeBill(ui, "C100", "S1");
    for (const char* amount : {"99999999999999999999", "-"}) {
        ui.received->clear();
        ui.enterReceived(QString::fromLatin1(amount));
        ui.note->setFocus();
        testui::PromptResponder prompts;
        prompts.expect(Kind::Error, QStringLiteral("实收金额：“%1”不是有效的整数").arg(QString::fromLatin1(amount)));
        ui.click("cmd_save");
        prompts.verify();
        EXPECT_EQ(QApplication::focusWidget(), ui.received);
    }
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(count("insifee"), 0);
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C100"), 500);
}

TEST_F(ServeLogTest, AServicePriceWhoseAmountDueTheLedgerCannotHoldIsRefusedNamingThePrice)
{
    // Beyond what the amount received takes, and beyond any whole number.
    exec("insert into serveitem (serve_code, serve_name, unit_pric) values ('S8', '贵宾套餐', 3e9), ('S9', '至尊套餐', 1e20)");
    auto f = openForm();
    ServeLogUi ui(*f);
    for (const auto& [service, price] : {std::pair{"S8", "3000000000"}, {"S9", "100000000000000000000"}}) {
        SCOPED_TRACE(service);
        writeBill(ui, "C100", service);
        EXPECT_EQ(ui.price->text().toStdString(), price);
        testui::PromptResponder prompts;
        prompts.expect(Kind::Error, QStringLiteral("单价：“%1”超出了可存的范围").arg(QString::fromLatin1(price)));
        ui.click("cmd_save");
        prompts.verify();
        EXPECT_EQ(f->mode(), FormMode::Add);
        EXPECT_EQ(count("insifee"), 0);
        QTest::mouseClick(f->controls().cmd_canc, Qt::LeftButton);
    }
}

TEST_F(ServeLogTest, AReceivedAmountRefusedAtASaveFromItsBoxIsTypedOverNotAfter)
{
    struct Case {
        const char* typed;
        Kind kind;
        QString refusal;
    };
    const Case cases[] = {
        {"99999999999999999999", Kind::Error, QStringLiteral("实收金额：“99999999999999999999”不是有效的整数")},
        {"80", Kind::Message, QStringLiteral("实收金额不能小于应收金额")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        auto f = openForm();
        ServeLogUi ui(*f);
        writeBill(ui, "C100", "S1");
        ui.enterReceived(QString::fromLatin1(c.typed));
        testui::PromptResponder prompts;
        prompts.expect(c.kind, c.refusal);
        ASSERT_TRUE(testui::pressMnemonicUntil(Qt::Key_S, [&] { return prompts.count() == 1; }));
        ASSERT_EQ(QApplication::focusWidget(), ui.received);
        testui::typeAtFocus(QStringLiteral("120"));
        EXPECT_EQ(ui.received->text(), "120");
        EXPECT_TRUE(testui::pressMnemonicUntil(Qt::Key_S, [&] { return f->mode() == FormMode::Null; }))
            << prompts.texts().join(u'\n').toStdString();
        exec("delete from insifee");
    }
}

TEST_F(ServeLogTest, ChecksNameTheServiceBeforeTheCard)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    ui.click("cmd_add");
    ui.enterCard("X999");
    EXPECT_EQ(ui.card->text(), "X999") << "a code no member has stays as typed";
    testui::PromptResponder prompts;
    prompts.expect(Kind::Message, QStringLiteral("无效服务项目"));
    ui.click("cmd_save");
    ui.enterService("S1");
    prompts.expect(Kind::Message, QStringLiteral("无效会员卡"));
    ui.click("cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(count("insifee"), 0);
}

TEST_F(ServeLogTest, AmountReceivedWithoutAnAmountDueIsAnError)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    ui.click("cmd_add");
    ui.enterCard("C100");
    ui.enterReceived("50");
    testui::PromptResponder prompts;
    prompts.expect(Kind::Error);
    ui.click("cmd_save");
    EXPECT_NE(QApplication::focusWidget(), ui.due) << "the amount due is the form's to fill, not the user's";
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(count("insifee"), 0);
}

TEST_F(ServeLogTest, UnpaidBillChargesTheMemberOnlyWhenCollected)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    writeBill(ui, "C100", "S1");
    ui.click("cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(count("insifee", "serv_fee is null and gath_code is null and should_gath=100"), 1);
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C100"), 500);
    EXPECT_DOUBLE_EQ(memberValue("insi_tota", "C100"), 0);

    CurrentUser = QStringLiteral("E1");
    ui.click("cmd_edit");
    EXPECT_EQ(f->mode(), FormMode::Edit);
    ui.enterReceived("100");
    ui.click("cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(count("insifee"), 1);
    EXPECT_EQ(count("insifee", "serv_fee=100 and gath_code='E1' and oper_code='E1'"), 1);
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C100"), 400);
    EXPECT_DOUBLE_EQ(memberValue("insi_tota", "C100"), 100);
}

TEST_F(ServeLogTest, PaidBillCannotBeCollectedOrDeleted)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    writeBill(ui, "C100", "S1");
    ui.enterReceived("100");
    ui.click("cmd_save");

    testui::PromptResponder prompts;
    prompts.expect(Kind::Message, QStringLiteral("该单已收款，不可编辑"));
    ui.click("cmd_edit");
    EXPECT_EQ(f->mode(), FormMode::Null);
    prompts.expect(Kind::Message, QStringLiteral("该单已收款，不可删除"));
    ui.click("cmd_dele");
    EXPECT_EQ(count("insifee"), 1);
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C100"), 400);
}

TEST_F(ServeLogTest, UnpaidBillIsDeletedAfterTheConfirmation)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    writeBill(ui, "C100", "S1");
    ui.click("cmd_save");

    testui::PromptResponder prompts;
    prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Cancel});
    ui.click("cmd_dele");
    EXPECT_EQ(count("insifee"), 1);
    prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Ok});
    ui.click("cmd_dele");
    EXPECT_EQ(prompts.last().caption, QStringLiteral("提示"));
    EXPECT_EQ(count("insifee"), 0);
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C100"), 500);
}

TEST_F(ServeLogTest, CancelDiscardsTheNewBill)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    writeBill(ui, "C100", "S1");
    ui.enterReceived("100");
    ui.click("cmd_canc");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(count("insifee"), 0);
    EXPECT_EQ(ui.grid->datasetModel()->rowCount(), 0);
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C100"), 500);
}

TEST_F(ServeLogTest, SpendPassingTwoThresholdsRaisesTheCardTwoLevels)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    writeBill(ui, "C100", "S4"); // 0 + 400 passes 100 and 300
    ui.enterReceived("400");
    ui.click("cmd_save");
    EXPECT_EQ(memberLevel("C100"), QStringLiteral("金卡"));
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C100"), 100);
}

TEST_F(ServeLogTest, LevelIsNeverLoweredAndBalanceMayGoNegative)
{
    exec("update insider set card_type='白金卡' where card_no='C200'"); // above what 150 spent reaches
    exec("update insider set insi_state='禁用' where card_no='C200'");  // the card's state is no bar
    auto f = openForm();
    ServeLogUi ui(*f);
    writeBill(ui, "C200", "S1");
    ui.enterReceived("100");
    ui.click("cmd_save");
    EXPECT_EQ(memberLevel("C200"), QStringLiteral("白金卡"));
    EXPECT_DOUBLE_EQ(memberValue("insi_tota", "C200"), 250);
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C200"), -50);
}

TEST_F(ServeLogTest, LevelsStoredWithoutNumbersCountByTheirPlace)
{
    exec("update cardtype set list_no=null");
    exec("update insider set card_type='白金卡' where card_no='C200'"); // level 4, above what 150 spent reaches
    auto f = openForm();
    ServeLogUi ui(*f);
    writeBill(ui, "C200", "S1");
    ui.enterReceived("100");
    ui.click("cmd_save");
    ASSERT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(memberLevel("C200"), QStringLiteral("白金卡")) << "250 reaches level 2 only: no lowering";

    writeBill(ui, "C100", "S4"); // level 1; 0 + 400 reaches level 3
    ui.enterReceived("400");
    ui.click("cmd_save");
    EXPECT_EQ(memberLevel("C100"), QStringLiteral("金卡"));
}

TEST_F(ServeLogTest, StaffCodesAndTheTrimmedNoteAreStored)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    writeBill(ui, "C100", "S1");
    ui.enterStylist("E1");
    EXPECT_EQ(f->findChild<ui::DbLineEdit*>("DBEdit11")->text(), QStringLiteral("托尼"));
    ui.note->setFocus();
    testui::typeText(ui.note, QStringLiteral("  烫染套餐 "));
    ui.click("cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(count("insifee", "stylist_code='E1' and middle_code is null and gath_note='烫染套餐'"), 1);
}

TEST_F(ServeLogTest, NullBalanceAndSpendCountAsZero)
{
    exec("update insider set rest_point=null, insi_tota=null where card_no='C100'");
    auto f = openForm();
    ServeLogUi ui(*f);
    writeBill(ui, "C100", "S1");
    ui.enterReceived("100");
    ui.click("cmd_save");
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C100"), -100);
    EXPECT_DOUBLE_EQ(memberValue("insi_tota", "C100"), 100);
    EXPECT_EQ(memberLevel("C100"), QStringLiteral("银卡"));
}

TEST_F(ServeLogTest, OnlyTheCardHolderIsCharged)
{
    // Another member's member code equals the card number billed.
    exec("insert into insider (insi_code, insi_name, card_no, card_type, rest_point, insi_tota) "
         "values ('C100', '王五', 'C900', '普通卡', 200, 0)");
    auto f = openForm();
    ServeLogUi ui(*f);
    ui.click("cmd_add");
    ui.card->setFocus();
    QTest::keyClicks(ui.card, "C100"); // left without Enter: stays a card number
    ui.enterService("S1");
    ASSERT_EQ(ui.memberName->text(), QStringLiteral("张三"));
    ui.enterReceived("100");
    ui.click("cmd_save");
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C100"), 400);
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C900"), 200);
    EXPECT_DOUBLE_EQ(memberValue("insi_tota", "C900"), 0);
}

TEST_F(ServeLogTest, FailedMemberUpdateLeavesNoBill)
{
    exec("create trigger refuse_spend before update of insi_tota on insider "
         "begin select raise(abort, 'spend refused'); end");
    auto f = openForm();
    ServeLogUi ui(*f);
    writeBill(ui, "C100", "S1");
    ui.enterReceived("100");
    testui::PromptResponder prompts;
    prompts.expect(Kind::Error, QStringLiteral("spend refused"));
    ui.click("cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_TRUE(f->controls().cmd_save->isEnabled());
    EXPECT_EQ(count("insifee"), 0);
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C100"), 500) << "the balance went back with the bill";

    exec("drop trigger refuse_spend");
    ui.click("cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(count("insifee", "card_no='C100' and serv_fee=100"), 1);
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C100"), 400);
    EXPECT_DOUBLE_EQ(memberValue("insi_tota", "C100"), 100);
}

TEST_F(ServeLogTest, ABillTheDatabaseCannotTakeSaysWhy)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    writeBill(ui, "C100", "S1");
    ui.enterReceived("100");
    testui::PromptResponder prompts;

    fillDatabase("insifee"); // no room left for the bill
    prompts.expect(Kind::Error, QStringLiteral("磁盘已满"));
    ui.click("cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Add);
    exec("pragma max_page_count=1073741823");

    refuseWrites();
    prompts.expect(Kind::Error, QStringLiteral("数据库文件只读"));
    ui.click("cmd_save");
    EXPECT_EQ(prompts.last().details, "attempt to write a readonly database");
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(count("insifee", "gath_type='servefee'"), 0);
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C100"), 500);

    exec("pragma query_only=0");
    ui.click("cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(count("insifee", "gath_type='servefee' and serv_fee=100"), 1);
    EXPECT_DOUBLE_EQ(memberValue("rest_point", "C100"), 400);
}

TEST_F(ServeLogTest, MemberCodeInTheCardBoxBecomesTheCardNumberOnEnter)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    ui.click("cmd_add");
    ui.enterService("S2");
    EXPECT_EQ(ui.due->text(), "88");
    ui.enterCard("M002"); // 李四, 银卡 at 95 percent
    EXPECT_EQ(ui.card->text(), "C200");
    EXPECT_EQ(ui.memberName->text(), QStringLiteral("李四"));
    EXPECT_EQ(ui.level->text(), QStringLiteral("银卡"));
    EXPECT_EQ(ui.discount->text(), "95");
    EXPECT_EQ(ui.due->text(), "84") << "the amount due is computed for the card number";
    ui.click("cmd_save");
    EXPECT_EQ(count("insifee", "card_no='C200' and should_gath=84 and serv_fee is null"), 1);
}

TEST_F(ServeLogTest, FindsABillOfAnotherDayByNumberWithBlanksAround)
{
    exec("insert into insifee (bill_no, bill_date, card_no, serve_code, gath_type, should_gath, serv_fee) values "
         "('20200101120000', '2020-01-01 00:00:00', 'C200', 'S2', 'servefee', 84, 84),"
         "('20200102120000', '2020-01-02 00:00:00', null, null, 'income', null, 30),"
         "('B1', :today, 'C100', 'S1', 'servefee', 100, 100), ('B2', :today, 'C100', 'S3', 'servefee', 40, 40)",
         {{"today", today()}});
    auto f = openForm();
    ServeLogUi ui(*f);
    ASSERT_EQ(ui.grid->datasetModel()->rowCount(), 2);

    QTest::keyClicks(ui.findBox, "  B2 ");
    ui.click("cmd_find");
    EXPECT_EQ(ui.billNo->text(), "B2") << "found in the list";
    EXPECT_EQ(ui.grid->datasetModel()->rowCount(), 2);

    ui.findBox->clear();
    QTest::keyClicks(ui.findBox, "  20200101120000  ");
    QTest::keyClick(ui.findBox, Qt::Key_Return);
    EXPECT_EQ(ui.grid->datasetModel()->rowCount(), 1);
    EXPECT_EQ(ui.billNo->text(), "20200101120000");
    EXPECT_EQ(ui.memberName->text(), QStringLiteral("李四"));
    EXPECT_EQ(ui.date->value(), QDate(2020, 1, 1)) << "the date picker follows the bill";

    ui.findBox->clear();
    QTest::keyClicks(ui.findBox, "NOPE");
    ui.click("cmd_find");
    EXPECT_EQ(ui.billNo->text(), "20200101120000") << "an unknown number leaves the list";

    ui.findBox->clear();
    QTest::keyClicks(ui.findBox, "20200102120000");
    ui.click("cmd_find");
    EXPECT_EQ(ui.grid->datasetModel()->rowCount(), 0) << "an income entry is no service bill";

    ui.click("cmd_prin");
    EXPECT_EQ(ui.grid->datasetModel()->rowCount(), 2) << "当天记录 lists today's bills again";
    EXPECT_EQ(f->mode(), FormMode::Null);
}

TEST_F(ServeLogTest, BillDatedAnotherDayKeepsThatDateWithoutTime)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    writeBill(ui, "C100", "S1");
    const QDate yesterday = QDate::currentDate().addDays(-1);
    ui.date->setDate(yesterday);
    ui.click("cmd_save");
    EXPECT_EQ(count("insifee", "bill_date=:d", {{"d", db::toStorageText(yesterday)}}), 1);
    EXPECT_EQ(ui.grid->datasetModel()->rowCount(), 1) << "stays listed until the list is reopened";
    ui.click("cmd_prin");
    EXPECT_EQ(ui.grid->datasetModel()->rowCount(), 0);
}

TEST_F(ServeLogTest, ServicePickerFillsTheServiceAndTheAmountDue)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    ui.click("cmd_add");
    ui.enterCard("C200"); // 95 percent

    bool picked = false;
    QTimer::singleShot(0, [&picked] {
        auto* picker = qobject_cast<TFrmServeFind*>(QApplication::activeModalWidget());
        if (!picker)
            return;
        QTest::keyClicks(picker->codeBox(), "S3");
        auto* choose = picker->findChild<QPushButton*>("cmd_prin");
        if (!choose)
            return;
        QTest::mouseClick(choose, Qt::LeftButton);
        picked = true;
    });
    QTest::mouseClick(ui.picker, Qt::LeftButton);
    ASSERT_TRUE(picked) << "the picker opened and was driven";
    EXPECT_EQ(ui.serve->text(), "S3");
    EXPECT_EQ(ui.serveName->text(), QStringLiteral("护理"));
    EXPECT_EQ(ui.price->text(), "40");
    EXPECT_EQ(ui.due->text(), "38");
    EXPECT_EQ(f->focusWidget(), ui.stylist) << "the focus goes on to the stylist";
}

TEST_F(ServeLogTest, ServicePickerIsReachedWithTheKeyboardAndEnterStillGoesOnToTheStylist)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    ui.click("cmd_add");
    ui.serve->setFocus();
    QTest::keyClicks(ui.serve, "S1");
    QTest::keyClick(ui.serve, Qt::Key_Return);
    EXPECT_EQ(f->focusWidget(), ui.stylist) << "Enter passes over the picker";

    ui.serve->setFocus();
    QTest::keyClick(ui.serve, Qt::Key_Tab);
    ASSERT_EQ(f->focusWidget(), ui.picker) << "Tab stops on the picker";
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        auto* picker = qobject_cast<TFrmServeFind*>(QApplication::activeModalWidget());
        if (!picker)
            return;
        opened = true;
        picker->reject();
    });
    QTest::keyClick(ui.picker, Qt::Key_Space);
    EXPECT_TRUE(opened) << "Space opens the picker";
}

TEST_F(ServeLogTest, ServicePickerClosedWithoutChoiceChangesNothing)
{
    auto f = openForm();
    ServeLogUi ui(*f);
    ui.click("cmd_add");
    ui.enterService("S1");

    bool closed = false;
    QTimer::singleShot(0, [&closed] {
        auto* picker = qobject_cast<TFrmServeFind*>(QApplication::activeModalWidget());
        if (!picker)
            return;
        QTest::keyClicks(picker->codeBox(), "S4");
        QTest::mouseClick(picker->findChild<QPushButton*>("cmd_exit"), Qt::LeftButton);
        closed = true;
    });
    QTest::mouseClick(ui.picker, Qt::LeftButton);
    ASSERT_TRUE(closed);
    EXPECT_EQ(ui.serve->text(), "S1");
    EXPECT_EQ(ui.due->text(), "100");
}

TEST_F(ServeLogTest, ControlsFollowTheModeAndTheRightsAtPosition16)
{
    QString rights(38, QLatin1Char('1'));
    rights[15] = QLatin1Char('0');
    PowFind = PowPrin = rights;
    auto f = openForm();
    auto& c = f->controls();
    EXPECT_TRUE(c.cmd_add->isEnabled());
    EXPECT_FALSE(c.cmd_find->isEnabled());
    EXPECT_FALSE(c.cmd_prin->isEnabled());
    EXPECT_TRUE(c.findGroup->isEnabled());
    for (QWidget* g : c.dataGroups)
        EXPECT_FALSE(g->isEnabled());
    ServeLogUi ui(*f);
    const QString shown = ui.billNo->text();
    QTest::keyClicks(ui.findBox, "NOPE");
    QTest::keyClick(ui.findBox, Qt::Key_Return);
    EXPECT_EQ(ui.billNo->text(), shown) << "Enter does not find without the find right";

    QTest::mouseClick(c.cmd_add, Qt::LeftButton);
    EXPECT_FALSE(c.grid->isEnabled());
    EXPECT_FALSE(c.cmd_exit->isEnabled());
    EXPECT_FALSE(c.findGroup->isEnabled());
    EXPECT_TRUE(c.cmd_save->isEnabled());
    for (QWidget* g : c.dataGroups)
        EXPECT_TRUE(g->isEnabled());
    EXPECT_FALSE(f->close()) << "no closing while a bill is entered";
    QTest::mouseClick(c.cmd_canc, Qt::LeftButton);
    EXPECT_TRUE(f->close());
}
