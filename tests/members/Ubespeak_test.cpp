#include "members/Ubespeak.h"

#include "tests/members/FormDriving_test.h"
#include "tests/support/PromptResponder.h"

#include "members/Uservefind.h"
#include "platform/db/Value.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"

#include <QGroupBox>
#include <memory>

using namespace formtest;

namespace {

// Members M001 (card C100, one appointment B100) and M002 (card C200, one
// appointment B200), items S1 and S2, staff E1 and E2 besides admin.
class BespeakTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        exec("insert into insider (insi_code, insi_name, card_no, insi_sex, insi_state) values "
             "('M001', '张三', 'C100', '男', '启用'), ('M002', '李四', 'C200', '女', '启用')");
        exec("insert into serveitem (serve_code, serve_name, gage_time) values "
             "('S1', '洗剪吹', '30'), ('S2', '烫发', '90')");
        exec("insert into employee (empl_code, empl_name) values ('E1', '托尼'), ('E2', '阿杰')");
        exec("insert into bespeak (bill_no, card_no, pre_date, pre_time, serv_code, stylist, assisitant, bill_date,"
             " oper_code) values "
             "('B100', 'C100', '2026-01-05 00:00:00', '10:00', 'S1', 'E1', 'E2', '2026-01-01 00:00:00', 'admin'),"
             "('B200', 'C200', '2026-01-06 00:00:00', '15:00', 'S2', 'E2', null, '2026-01-01 00:00:00', 'admin')");
        loadMessageCatalogue(dataMod());
        grantAllRights();
    }
    void TearDown() override
    {
        SetBillClockForTesting({});
        TestDb::TearDown();
    }

    std::unique_ptr<TFrmBespeak> openForm()
    {
        auto f = std::make_unique<TFrmBespeak>();
        show(*f);
        return f;
    }

    static void enterInFindBox(TFrmBespeak& f, const QString& text)
    {
        f.findBox()->clear();
        QTest::keyClicks(f.findBox(), text);
        QTest::keyClick(f.findBox(), Qt::Key_Return);
    }
    static QStringList listedBills(TFrmBespeak& f)
    {
        QStringList out;
        auto* model = f.appointmentGrid()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            out << model->index(r, 0).data().toString();
        return out;
    }
    QString stored(const char* column, const char* billNo)
    {
        return scalar(QStringLiteral("select %1 from bespeak where bill_no=:b").arg(QLatin1String(column)),
                      {{"b", QString::fromLatin1(billNo)}})
            .toString();
    }
    static QString today() { return db::toStorageText(QDate::currentDate()); }
};

} // namespace

TEST_F(BespeakTest, OpensOnTheAppointmentsOfTheFirstMember)
{
    auto f = openForm();
    EXPECT_EQ(f->objectName(), "FrmBespeak");
    EXPECT_EQ(f->windowTitle(), QStringLiteral("会员预约时程"));
    EXPECT_EQ(f->findBox()->text(), "C100");
    EXPECT_EQ(f->memberGrid()->model()->rowCount(), 2);
    EXPECT_EQ(f->memberGrid()->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("状态"));
    EXPECT_EQ(listedBills(*f), QStringList{"B100"});
    EXPECT_EQ(f->appointmentGrid()->model()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("预估时间"));
    EXPECT_EQ(f->serviceNameBox()->text(), QStringLiteral("洗剪吹"));
    EXPECT_EQ(f->estimateBox()->text(), "30");
    EXPECT_EQ(f->stylistCombo()->text(), "E1");
    EXPECT_EQ(f->stylistNameBox()->text(), QStringLiteral("托尼"));
    EXPECT_EQ(f->assistantNameBox()->text(), QStringLiteral("阿杰"));
    EXPECT_EQ(f->datePicker()->value(), QDate(2026, 1, 5)) << "the picker shows the appointment's date";
    const QStringList staff{"admin", "E1", "E2"};
    EXPECT_EQ(itemsOf(f->stylistCombo()), staff);
    EXPECT_EQ(itemsOf(f->assistantCombo()), staff);
}

TEST_F(BespeakTest, AddsAnAppointmentWithPickedServiceStaffAndANewBillNumber)
{
    SetBillClockForTesting([] { return QDateTime(QDate(2026, 2, 3), QTime(9, 5, 7)); });
    CurrentUser = QStringLiteral("E1");
    auto f = openForm();
    click(f->controls().cmd_add);
    ASSERT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(f->billNoBox()->text(), "20260203090507");
    EXPECT_EQ(f->datePicker()->value(), QDate::currentDate());
    EXPECT_EQ(f->focusWidget(), f->serviceBox());

    ASSERT_TRUE(chooseWith<TFrmServeFind>(f->pickerButton(), "S2")) << "the service picker opened";
    EXPECT_EQ(f->serviceBox()->text(), "S2");
    EXPECT_EQ(f->serviceNameBox()->text(), QStringLiteral("烫发"));
    EXPECT_EQ(f->estimateBox()->text(), "90");
    EXPECT_EQ(f->focusWidget(), f->stylistCombo()) << "the stylist is next";

    retype(f->stylistCombo(), "E2");
    EXPECT_EQ(f->stylistNameBox()->text(), QStringLiteral("阿杰"));
    retype(f->assistantCombo(), "E1");
    EXPECT_EQ(f->assistantNameBox()->text(), QStringLiteral("托尼"));
    retype(f->timeBox(), "14:30");
    f->datePicker()->setDate(QDate(2026, 3, 5));
    retype(f->noteBox(), QStringLiteral("要安静的位置"));
    click(f->controls().cmd_save);

    EXPECT_EQ(f->mode(), FormMode::Null);
    ASSERT_EQ(count("bespeak", "bill_no='20260203090507'"), 1);
    EXPECT_EQ(stored("card_no", "20260203090507"), "C100");
    EXPECT_EQ(stored("pre_date", "20260203090507"), "2026-03-05 00:00:00");
    EXPECT_EQ(stored("pre_time", "20260203090507"), "14:30");
    EXPECT_EQ(stored("serv_code", "20260203090507"), "S2");
    EXPECT_EQ(stored("stylist", "20260203090507"), "E2");
    EXPECT_EQ(stored("assisitant", "20260203090507"), "E1");
    EXPECT_EQ(stored("pre_note", "20260203090507"), QStringLiteral("要安静的位置"));
    EXPECT_EQ(stored("bill_date", "20260203090507"), today());
    EXPECT_EQ(stored("oper_code", "20260203090507"), "E1");
    EXPECT_EQ(listedBills(*f), (QStringList{"20260203090507", "B100"}));
    EXPECT_EQ(f->billNoBox()->text(), "20260203090507") << "the saved appointment stays shown";
}

TEST_F(BespeakTest, AServiceWhoseCodeTheAppointmentCannotHoldIsRefused)
{
    // An item entered before its code was held to what an appointment keeps.
    exec("insert into serveitem (serve_code, serve_name) values ('S0123456789X', '头皮护理')");
    auto f = openForm();
    click(f->controls().cmd_add);
    ASSERT_TRUE(chooseWith<TFrmServeFind>(f->pickerButton(), "S2"));
    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Error, QStringLiteral("服务项目：“S0123456789X”超过了 10 个字"));
    ASSERT_TRUE(chooseWith<TFrmServeFind>(f->pickerButton(), "S0123456789X"));
    prompts.verify();
    EXPECT_EQ(f->serviceBox()->text(), "S2") << "the service kept is the one shown";
    EXPECT_EQ(f->serviceNameBox()->text(), QStringLiteral("烫发"));
}

TEST_F(BespeakTest, AddingWithoutAMemberAsksToLocateTheCardFirst)
{
    auto f = openForm();
    f->findBox()->setText("   ");
    testui::PromptResponder prompts;
    prompts.expect(QStringLiteral("先定位会员卡号"));
    click(f->controls().cmd_add);
    EXPECT_EQ(f->mode(), FormMode::Null);
}

TEST_F(BespeakTest, SaveChecksTheCardTheMemberAndTheServiceInThatOrder)
{
    auto f = openForm();
    enterInFindBox(*f, "X9"); // no member has it
    click(f->controls().cmd_add);
    ASSERT_EQ(f->mode(), FormMode::Add);
    {
        testui::PromptResponder prompts;
        prompts.expect(QStringLiteral("没有此会员！"));
        click(f->controls().cmd_save);
    }
    {
        f->findBox()->setText(" C200 ");
        testui::PromptResponder prompts;
        prompts.expect(QStringLiteral("请选择服务项目！"));
        click(f->controls().cmd_save);
    }
    {
        f->findBox()->clear();
        testui::PromptResponder prompts;
        prompts.expect(QStringLiteral("请输入会员卡号！"));
        click(f->controls().cmd_save);
    }
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(count("bespeak"), 2);
    click(f->controls().cmd_canc);
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(count("bespeak"), 2);
}

TEST_F(BespeakTest, EnterTurnsAMemberCodeIntoItsCardAndListsItsAppointments)
{
    auto f = openForm();
    enterInFindBox(*f, "M002");
    EXPECT_EQ(f->findBox()->text(), "C200");
    EXPECT_EQ(listedBills(*f), QStringList{"B200"});
    EXPECT_EQ(dataMod().InsiderQ.asString("insi_code"), "M002");

    enterInFindBox(*f, "Z9");
    EXPECT_EQ(f->findBox()->text(), "Z9") << "a code of no member keeps the typed text";
    EXPECT_TRUE(listedBills(*f).isEmpty());

    enterInFindBox(*f, "C100");
    EXPECT_EQ(listedBills(*f), QStringList{"B100"});
}

TEST_F(BespeakTest, AMemberCodeFoundWithTheButtonStandsForTheMembersCard)
{
    SetBillClockForTesting([] { return QDateTime(QDate(2026, 2, 3), QTime(10, 0, 0)); });
    auto f = openForm();
    f->findBox()->clear();
    QTest::keyClicks(f->findBox(), "M002");
    click(f->controls().cmd_find);
    EXPECT_EQ(dataMod().InsiderQ.asString("insi_code"), "M002");
    EXPECT_EQ(listedBills(*f), QStringList{"B200"}) << "the member's appointments, under the card";

    click(f->controls().cmd_add);
    ASSERT_TRUE(chooseWith<TFrmServeFind>(f->pickerButton(), "S1"));
    click(f->controls().cmd_save);
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(stored("card_no", "20260203100000"), "C200") << "kept under the card, not the member code";
    EXPECT_EQ(count("bespeak", "card_no='M002'"), 0);
}

TEST_F(BespeakTest, AMemberOrCodeTypedInAnyLetterCaseIsFoundAndStoredAsItsRecordSpellsIt)
{
    exec("insert into insider (insi_code, insi_name) values ('M003', '王五')"); // no card
    struct Case {
        const char* typed;
        const char* keptUnder;
        const char* when;
    } const cases[] = {{"c200", "C200", "20260203100000"}, {"m003", "M003", "20260203100100"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        SetBillClockForTesting([when = QString::fromLatin1(c.when)] {
            return QDateTime::fromString(when, QStringLiteral("yyyyMMddHHmmss"));
        });
        auto f = openForm();
        enterInFindBox(*f, c.typed);
        click(f->controls().cmd_add);
        f->serviceBox()->setFocus();
        QTest::keyClicks(f->serviceBox(), "s2");
        QTest::keyClick(f->serviceBox(), Qt::Key_Tab);
        EXPECT_EQ(f->serviceNameBox()->text(), QStringLiteral("烫发"));
        retype(f->stylistCombo(), "e1");
        EXPECT_EQ(f->stylistNameBox()->text(), QStringLiteral("托尼"));
        click(f->controls().cmd_save);
        EXPECT_EQ(f->mode(), FormMode::Null);
        EXPECT_EQ(scalar("select card_no || '|' || serv_code || '|' || stylist from bespeak where bill_no=:b",
                         {{"b", QString::fromLatin1(c.when)}})
                      .toString(),
                  QString::fromLatin1(c.keptUnder) + "|S2|E1");
    }
}

TEST_F(BespeakTest, ClickingAMemberListsTheirAppointments)
{
    auto f = openForm();
    clickRow(f->memberGrid(), 1);
    EXPECT_EQ(f->findBox()->text(), "C200");
    EXPECT_EQ(listedBills(*f), QStringList{"B200"});
    EXPECT_EQ(f->datePicker()->value(), QDate(2026, 1, 6));
}

TEST_F(BespeakTest, EditingKeepsTheStoredDatesAndStampsTheUser)
{
    CurrentUser = QStringLiteral("E2");
    auto f = openForm();
    click(f->controls().cmd_edit);
    ASSERT_EQ(f->mode(), FormMode::Edit);
    EXPECT_EQ(f->focusWidget(), f->serviceBox());
    retype(f->timeBox(), "11:00");
    click(f->controls().cmd_save);
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(stored("pre_time", "B100"), "11:00");
    EXPECT_EQ(stored("pre_date", "B100"), "2026-01-05 00:00:00") << "the date shown was the stored one";
    EXPECT_EQ(stored("bill_date", "B100"), "2026-01-01 00:00:00") << "the day it was entered";
    EXPECT_EQ(stored("oper_code", "B100"), "E2");
    EXPECT_EQ(stored("card_no", "B100"), "C100");

    click(f->controls().cmd_edit);
    f->datePicker()->setDate(QDate(2026, 1, 9));
    click(f->controls().cmd_save);
    EXPECT_EQ(stored("pre_date", "B100"), "2026-01-09 00:00:00");
    EXPECT_EQ(count("bespeak"), 2);
}

// What is typed into the find box and not found chooses no member: the
// appointment edited stays with the member whose appointments are listed.
TEST_F(BespeakTest, AnEditKeepsItsMemberWhateverTheFindBoxHolds)
{
    auto f = openForm();
    for (const char* typed : {"C200", "M002", "X9", ""}) {
        SCOPED_TRACE(typed);
        f->findBox()->clear();
        QTest::keyClicks(f->findBox(), typed);
        click(f->controls().cmd_edit);
        ASSERT_EQ(f->mode(), FormMode::Edit);
        retype(f->timeBox(), QStringLiteral("11:%1").arg(qstrlen(typed)));
        testui::PromptResponder prompts;
        click(f->controls().cmd_save);
        EXPECT_EQ(prompts.count(), 0);
        EXPECT_EQ(f->mode(), FormMode::Null);
        EXPECT_EQ(stored("pre_time", "B100"), QStringLiteral("11:%1").arg(qstrlen(typed)));
        EXPECT_EQ(stored("card_no", "B100"), "C100");
        EXPECT_EQ(stored("card_no", "B200"), "C200");
    }
}

TEST_F(BespeakTest, CancelDropsTheNewAppointment)
{
    auto f = openForm();
    click(f->controls().cmd_add);
    ASSERT_TRUE(chooseWith<TFrmServeFind>(f->pickerButton(), "S1"));
    click(f->controls().cmd_canc);
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(listedBills(*f), QStringList{"B100"});
    EXPECT_EQ(f->billNoBox()->text(), "B100");
    EXPECT_EQ(count("bespeak"), 2);
}

TEST_F(BespeakTest, ConfirmedDeletionIsWrittenAtOnce)
{
    auto f = openForm();
    {
        testui::PromptResponder prompts;
        prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Cancel});
        click(f->controls().cmd_dele);
    }
    EXPECT_EQ(count("bespeak", "bill_no='B100'"), 1);
    {
        testui::PromptResponder prompts;
        prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Ok});
        click(f->controls().cmd_dele);
        EXPECT_EQ(prompts.last().caption, QStringLiteral("提示"));
    }
    EXPECT_EQ(count("bespeak", "bill_no='B100'"), 0);
    EXPECT_EQ(count("bespeak"), 1);
    EXPECT_TRUE(listedBills(*f).isEmpty());
}

TEST_F(BespeakTest, ControlsFollowTheModeAndTheRightsAtPosition15)
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
        *c.rights = allBut(16);
        {
            auto other = openForm();
            EXPECT_TRUE(other->findChild<QPushButton*>(QString::fromLatin1(c.button))->isEnabled());
        }
        *c.rights = allBut(TFrmBespeak::kPosition);
        auto f = openForm();
        EXPECT_FALSE(f->findChild<QPushButton*>(QString::fromLatin1(c.button))->isEnabled());
    }

    grantAllRights();
    auto f = openForm();
    auto& c = f->controls();
    EXPECT_FALSE(c.dataGroups.front()->isEnabled());
    click(c.cmd_edit);
    EXPECT_TRUE(c.dataGroups.front()->isEnabled());
    EXPECT_FALSE(f->memberGrid()->isEnabled());
    EXPECT_FALSE(f->appointmentGrid()->isEnabled());
    EXPECT_FALSE(c.findGroup->isEnabled());
    EXPECT_FALSE(c.cmd_exit->isEnabled());
    EXPECT_FALSE(f->close());
    click(c.cmd_canc);
    EXPECT_TRUE(f->memberGrid()->isEnabled());
    EXPECT_TRUE(f->close());
}

TEST_F(BespeakTest, EnterInTheFindBoxFindsNothingWithoutTheFindRight)
{
    PowFind = allBut(TFrmBespeak::kPosition);
    auto f = openForm();
    enterInFindBox(*f, "M002");
    EXPECT_EQ(f->findBox()->text(), "M002");
    EXPECT_EQ(dataMod().InsiderQ.asString("insi_code"), "M001");
    EXPECT_EQ(listedBills(*f), QStringList{"B100"});
}
