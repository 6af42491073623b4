#include "tests/members/FormDriving_test.h"
#include "tests/support/TestDb.h"

#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"
#include "core/Upublic.h"
#include "members/Ucardtype.h"
#include "platform/ui/EnterAsTab.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class CardTypeTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        exec("delete from cardtype");
        grantAllRights();
    }

    // Five stored levels, as a salon would have set them up.
    void storeFiveLevels()
    {
        exec("insert into cardtype (card_type, type_note, insi_tota, foregift, rebate, list_no) values "
             "('class_a', '普通卡', 0, 0, 100, 1), ('class_b', '银卡', 1000, 100, 95, 2), "
             "('class_c', '金卡', 3000, 200, 90, 3), ('class_d', '白金卡', 6000, 300, 85, 4), "
             "('class_e', '钻石卡', 10000, 500, 80, 5)");
    }
    QVariant stored(const QString& key, const QString& column)
    {
        return scalar(QStringLiteral("select %1 from cardtype where card_type = :k").arg(column), {{"k", key}});
    }
    // card_type of every row in table order.
    QStringList keysInTableOrder()
    {
        QStringList keys;
        for (int n = 1; n <= count("cardtype"); ++n)
            keys << scalar(QStringLiteral("select card_type from cardtype order by rowid limit 1 offset %1").arg(n - 1))
                        .toString();
        return keys;
    }

    static void click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    static void clearAndType(QLineEdit* box, const QString& text)
    {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Backspace);
        testui::typeText(box, text);
    }
};

const QStringList kKeys{"class_a", "class_b", "class_c", "class_d", "class_e"};

} // namespace

TEST_F(CardTypeTest, EmptyTableGetsTheFiveLevelsWithTheirNumbers)
{
    TFrmCardType f;
    EXPECT_EQ(keysInTableOrder(), kKeys);
    const QStringList discounts{"100", "95", "90", "85", "80"};
    for (int level = 1; level <= 5; ++level) {
        SCOPED_TRACE(level);
        EXPECT_EQ(f.level(level).name->text(), "");
        EXPECT_EQ(f.level(level).threshold->text(), "0");
        EXPECT_EQ(f.level(level).deposit->text(), "0");
        EXPECT_EQ(f.level(level).discount->text(), discounts[level - 1]);
        EXPECT_EQ(stored(kKeys[level - 1], "list_no").toInt(), level);
    }
}

TEST_F(CardTypeTest, ControlsCarryTheirNames)
{
    TFrmCardType f;
    EXPECT_EQ(f.objectName(), "FrmCardType");
    EXPECT_EQ(f.level(1).name, f.findChild<QLineEdit*>("Edit1"));
    EXPECT_EQ(f.level(5).name, f.findChild<QLineEdit*>("Edit5"));
    EXPECT_EQ(f.level(2).threshold, f.findChild<QLineEdit*>("MaskEdit4"));
    EXPECT_EQ(f.level(2).deposit, f.findChild<QLineEdit*>("MaskEdit5"));
    EXPECT_EQ(f.level(5).discount, f.findChild<QLineEdit*>("MaskEdit15"));
    EXPECT_EQ(f.findChild<QPushButton*>("cmd_add"), nullptr);
    EXPECT_EQ(f.findChild<QPushButton*>("cmd_dele"), nullptr);
}

TEST_F(CardTypeTest, AShortTableIsCompletedInLevelOrderKeepingItsLevels)
{
    exec("insert into cardtype (card_type, type_note, insi_tota, foregift, rebate) values "
         "('class_c', '金卡', 3000, 200, 88), ('class_a', '普通卡', 0, 0, 100)");
    TFrmCardType f;
    EXPECT_EQ(count("cardtype"), 5);
    EXPECT_EQ(keysInTableOrder(), kKeys);
    for (int level = 1; level <= 5; ++level)
        EXPECT_EQ(stored(kKeys[level - 1], "list_no").toInt(), level);
    EXPECT_EQ(stored("class_c", "type_note").toString(), "金卡");
    EXPECT_EQ(stored("class_c", "rebate").toInt(), 88);
    EXPECT_EQ(stored("class_b", "rebate").toInt(), 95);
    EXPECT_EQ(f.level(3).name->text(), "金卡");
    EXPECT_EQ(f.level(3).threshold->text(), "3000");
    EXPECT_EQ(f.level(3).deposit->text(), "200");
    EXPECT_EQ(f.level(1).name->text(), "普通卡");
    EXPECT_EQ(f.level(2).discount->text(), "95");
}

TEST_F(CardTypeTest, AFullTableIsLeftAsItIs)
{
    storeFiveLevels();
    exec("update cardtype set list_no = null where card_type = 'class_e'");
    TFrmCardType f;
    EXPECT_EQ(count("cardtype"), 5);
    EXPECT_TRUE(stored("class_e", "list_no").isNull());
    EXPECT_EQ(f.level(4).name->text(), "白金卡");
    EXPECT_EQ(f.level(4).threshold->text(), "6000");
}

TEST_F(CardTypeTest, SaveWritesEveryLevelAndKeepsBlankAmounts)
{
    storeFiveLevels();
    TFrmCardType f;
    click(f.controls().cmd_edit);
    ASSERT_EQ(f.mode(), FormMode::Edit);
    clearAndType(f.level(1).name, "");
    clearAndType(f.level(2).name, "银卡会员");
    clearAndType(f.level(2).threshold, "");
    clearAndType(f.level(2).deposit, "150");
    clearAndType(f.level(3).discount, "75");
    click(f.controls().cmd_save);

    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_TRUE(stored("class_a", "type_note").toString().isEmpty());
    EXPECT_EQ(stored("class_b", "type_note").toString(), "银卡会员");
    EXPECT_DOUBLE_EQ(stored("class_b", "insi_tota").toDouble(), 1000) << "a blank threshold keeps the stored one";
    EXPECT_DOUBLE_EQ(stored("class_b", "foregift").toDouble(), 150);
    EXPECT_EQ(stored("class_c", "rebate").toInt(), 75);
    EXPECT_EQ(stored("class_e", "type_note").toString(), "钻石卡");
    EXPECT_DOUBLE_EQ(stored("class_e", "insi_tota").toDouble(), 10000);
}

TEST_F(CardTypeTest, EditPutsTheFocusInTheFirstBoxSoEachTypedValueLandsInItsBox)
{
    ui::EnterAsTab enterAsTab; // as in the program
    storeFiveLevels();
    TFrmCardType f;
    formtest::show(f);
    click(f.controls().cmd_edit);
    for (const char* value : {"会员卡", "100", "300", "98"}) {
        testui::typeAtFocus(value);
        testui::pressAtFocus(Qt::Key_Return);
    }
    click(f.controls().cmd_save);

    EXPECT_EQ(stored("class_a", "type_note").toString(), "会员卡");
    EXPECT_DOUBLE_EQ(stored("class_a", "insi_tota").toDouble(), 100);
    EXPECT_DOUBLE_EQ(stored("class_a", "foregift").toDouble(), 300);
    EXPECT_EQ(stored("class_a", "rebate").toInt(), 98);
    EXPECT_EQ(stored("class_b", "type_note").toString(), "银卡");
}

TEST_F(CardTypeTest, DiscountBoxesHoldOneHundredOnlyOnLevelOne)
{
    TFrmCardType f;
    click(f.controls().cmd_edit);
    clearAndType(f.level(1).discount, "100");
    EXPECT_EQ(f.level(1).discount->text(), "100");
    for (int level = 2; level <= 5; ++level) {
        clearAndType(f.level(level).discount, "100");
        EXPECT_EQ(f.level(level).discount->text(), "10") << level;
    }
    clearAndType(f.level(1).threshold, "1234567");
    EXPECT_EQ(f.level(1).threshold->text(), "123456");
    clearAndType(f.level(1).deposit, "12a.5");
    EXPECT_EQ(f.level(1).deposit->text(), "125");
    click(f.controls().cmd_save);
    EXPECT_EQ(stored("class_a", "rebate").toInt(), 100);
    EXPECT_EQ(stored("class_b", "rebate").toInt(), 10);
    EXPECT_DOUBLE_EQ(stored("class_a", "insi_tota").toDouble(), 123456);
}

TEST_F(CardTypeTest, AStoredValueLongerThanTheBoxSurvivesASave)
{
    storeFiveLevels();
    exec("update cardtype set insi_tota = 1234567, rebate = 100 where card_type = 'class_b'");
    TFrmCardType f;
    click(f.controls().cmd_edit);
    click(f.controls().cmd_save);
    EXPECT_DOUBLE_EQ(stored("class_b", "insi_tota").toDouble(), 1234567);
    EXPECT_EQ(stored("class_b", "rebate").toInt(), 100);
}

TEST_F(CardTypeTest, ANameTakesNoMoreThanAMembersRecordKeepsOfIt)
{
    storeFiveLevels();
    const QString longName = QStringLiteral("贵宾").repeated(11); // 22 characters
    exec("update cardtype set type_note=:n where card_type='class_e'", {{"n", longName}});
    TFrmCardType f;
    EXPECT_EQ(f.level(5).name->text(), longName) << "a name stored before shows whole";
    click(f.controls().cmd_edit);
    clearAndType(f.level(2).name, QStringLiteral("至尊").repeated(11));
    EXPECT_EQ(f.level(2).name->text(), QStringLiteral("至尊").repeated(10));
    click(f.controls().cmd_save);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(stored("class_b", "type_note").toString(), QStringLiteral("至尊").repeated(10));
    EXPECT_EQ(stored("class_e", "type_note").toString(), longName);
}

TEST_F(CardTypeTest, ModesEnableTheirButtonsAndTheLevels)
{
    TFrmCardType f;
    const auto& c = f.controls();
    EXPECT_TRUE(c.cmd_edit->isEnabled());
    EXPECT_FALSE(c.cmd_save->isEnabled());
    EXPECT_FALSE(c.cmd_canc->isEnabled());
    EXPECT_TRUE(c.cmd_exit->isEnabled());
    EXPECT_FALSE(f.levelGroup()->isEnabled());
    click(c.cmd_edit);
    EXPECT_FALSE(c.cmd_edit->isEnabled());
    EXPECT_TRUE(c.cmd_save->isEnabled());
    EXPECT_TRUE(c.cmd_canc->isEnabled());
    EXPECT_FALSE(c.cmd_exit->isEnabled());
    EXPECT_TRUE(f.levelGroup()->isEnabled());
}

TEST_F(CardTypeTest, WithoutTheEditRightTheLevelsCannotBeEdited)
{
    PowEdit = QStringLiteral("1111110111");
    TFrmCardType f;
    EXPECT_FALSE(f.controls().cmd_edit->isEnabled());
    click(f.controls().cmd_edit);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_FALSE(f.levelGroup()->isEnabled());
    EXPECT_EQ(f.level(2).discount->text(), "95") << "the levels are shown all the same";
}

TEST_F(CardTypeTest, AFailureDuringTheSaveChangesNoLevel)
{
    storeFiveLevels();
    exec("create trigger t before update on cardtype when new.card_type='class_c' "
         "begin select raise(abort,'x'); end;");
    TFrmCardType f;
    click(f.controls().cmd_edit);
    for (int level = 1; level <= 5; ++level)
        clearAndType(f.level(level).name, QStringLiteral("新%1").arg(level));
    clearAndType(f.level(1).threshold, "50");
    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Error, "x");
    click(f.controls().cmd_save);

    EXPECT_EQ(f.mode(), FormMode::Edit);
    EXPECT_EQ(count("cardtype", "type_note like '新%'"), 0);
    EXPECT_DOUBLE_EQ(stored("class_a", "insi_tota").toDouble(), 0);
    EXPECT_EQ(f.level(1).name->text(), "新1") << "the typing stays for another try";

    exec("drop trigger t");
    click(f.controls().cmd_save);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(count("cardtype", "type_note like '新%'"), 5);
    EXPECT_EQ(count("cardtype"), 5);
    EXPECT_DOUBLE_EQ(stored("class_a", "insi_tota").toDouble(), 50);
}

TEST_F(CardTypeTest, CancelWritesNothingAndKeepsTheTyping)
{
    storeFiveLevels();
    TFrmCardType f;
    click(f.controls().cmd_edit);
    clearAndType(f.level(4).name, "改名");
    click(f.controls().cmd_canc);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(stored("class_d", "type_note").toString(), "白金卡");
    EXPECT_EQ(f.level(4).name->text(), "改名");
}

TEST_F(CardTypeTest, ClosesWhileEditingWithoutSaving)
{
    storeFiveLevels();
    TFrmCardType f;
    f.show();
    click(f.controls().cmd_edit);
    clearAndType(f.level(1).name, "x");
    EXPECT_TRUE(f.close());
    EXPECT_EQ(stored("class_a", "type_note").toString(), "普通卡");
}
