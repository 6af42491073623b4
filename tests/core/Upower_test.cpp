#include "core/Upower.h"

#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"
#include "tests/support/TestDb.h"

#include "core/FunctionPositions.h"
#include "core/Upublic.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EnterAsTab.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

const QString kTick = QStringLiteral("√");
const char* const kRightsColumns[] = {"pow_use", "pow_add", "pow_edit", "pow_dele", "pow_chek", "pow_find", "pow_prin"};

// A rights string of 38 characters granting exactly the positions given.
QString rightsWith(std::initializer_list<int> granted)
{
    QString s(38, u'0');
    for (int k : granted)
        s[k - 1] = u'1';
    return s;
}

class PowerFormTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        exec("insert into employee (empl_code, empl_name) values ('E1', '张三'), ('E2', '李四'), ('O''K', '王五')");
        grantAllRights();
    }

    db::Dataset& q() { return dataMod().PowerQ; }

    static void show(QWidget& form)
    {
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    static void click(QWidget& form, const char* button)
    {
        auto* b = form.findChild<QPushButton*>(QString::fromLatin1(button));
        ASSERT_NE(b, nullptr) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // Types user E1 with password "abc" from the id box on, Enter after each
    // box, saves and checks what was stored.
    void typeNewUserE1WithEnter(TFrmPower& f)
    {
        for (const char* value : {"E1", "abc", "abc"}) {
            testui::typeAtFocus(value);
            testui::pressAtFocus(Qt::Key_Return);
        }
        click(f, "cmd_save");
        EXPECT_EQ(f.mode(), FormMode::Null);
        EXPECT_EQ(stored("E1", "password"), "abc");
    }
    // A click on cell (column c, row k) of the rights grid.
    static void clickCell(TFrmPower& f, int c, int k)
    {
        QTableWidgetItem* item = f.SGrid->item(k, c);
        f.SGrid->scrollToItem(item);
        QTest::mouseClick(f.SGrid->viewport(), Qt::LeftButton, {}, f.SGrid->visualItemRect(item).center());
    }
    static void clickRow(ui::DbGrid* grid, int row)
    {
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    static void retype(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        testui::typeText(box, text);
    }
    // The rights column c as the grid shows it: "1" for a tick, "0" otherwise.
    static QString shown(TFrmPower& f, int c)
    {
        QString s;
        for (int k = 1; k <= 38; ++k)
            s += f.SGrid->item(k, c)->text() == kTick ? u'1' : u'0';
        return s;
    }
    QString stored(const QString& user, const char* column)
    {
        return scalar(QStringLiteral("select %1 from powers where user_id=:u").arg(QLatin1String(column)), {{"u", user}})
            .toString();
    }
    void insertUser(const QString& id, const QString& password, const QString& use, const QString& find = {})
    {
        exec("insert into powers (user_id, password, pow_use, pow_add, pow_edit, pow_dele, pow_chek, pow_find, pow_prin) "
             "values (:id, :pw, :use, '', '', '', '', :find, '')",
             {{"id", id}, {"pw", password}, {"use", use}, {"find", find}});
    }
    // Starts adding a user: id typed and Enter pressed.
    void startAdding(TFrmPower& f, const QString& id)
    {
        click(f, "cmd_add");
        ASSERT_EQ(f.mode(), FormMode::Add);
        testui::typeText(f.DBEdit1, id);
        QTest::keyClick(f.DBEdit1, Qt::Key_Return);
    }
};

TEST_F(PowerFormTest, OpensOnTheUsersWithTheRightsGridOfTheFunctionTable)
{
    TFrmPower f;
    EXPECT_EQ(f.objectName(), "FrmPower");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("权限设置"));
    EXPECT_EQ(f.mode(), FormMode::Null);
    const std::pair<const char*, const char*> buttons[] = {{"cmd_add", "新增&A"}, {"cmd_edit", "修改&E"},
                                                           {"cmd_dele", "删除&D"}, {"cmd_save", "保存&S"},
                                                           {"cmd_canc", "取消&C"}, {"cmd_exit", "关闭&X"}};
    for (const auto& [name, caption] : buttons) {
        auto* b = f.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->text(), QString::fromUtf8(caption));
    }
    EXPECT_EQ(q().recordCount(), 1);
    EXPECT_EQ(f.DBEdit1->text(), "admin");
    EXPECT_EQ(f.DBEdit2->text(), QStringLiteral("管理员"));

    ASSERT_EQ(f.SGrid->rowCount(), 39);
    ASSERT_EQ(f.SGrid->columnCount(), 8);
    // 100 pixels at the least, and every function's name shows whole.
    EXPECT_GE(f.SGrid->columnWidth(0), 100);
    for (const FunctionPosition& p : FunctionPositions())
        EXPECT_LT(f.SGrid->fontMetrics().horizontalAdvance(p.function), f.SGrid->columnWidth(0) - 6) << p.position;
    EXPECT_EQ(f.SGrid->columnWidth(7), 60);
    EXPECT_EQ(f.SGrid->rowHeight(0), 22);
    const QStringList titles{"使用", "新增", "修改", "删除", "复核", "查询", "打印"};
    for (int c = 1; c <= 7; ++c)
        EXPECT_EQ(f.SGrid->item(0, c)->text(), titles[c - 1]);
    for (const FunctionPosition& p : FunctionPositions())
        EXPECT_EQ(f.SGrid->item(p.position, 0)->text(), p.function);
    EXPECT_EQ(f.SGrid->item(36, 0)->text(), QStringLiteral("权限设置"));

    // admin holds every right.
    for (int c = 1; c <= 7; ++c)
        EXPECT_EQ(shown(f, c), QString(38, u'1')) << c;
}

TEST_F(PowerFormTest, EachCheckBoxSitsOverItsColumn)
{
    TFrmPower f;
    show(f);
    const int gridLeft = f.SGrid->mapTo(&f, QPoint(0, 0)).x();
    for (int n = 1; n <= 7; ++n) {
        QCheckBox* box = f.findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(n));
        ASSERT_NE(box, nullptr) << n;
        EXPECT_EQ(box->mapTo(&f, QPoint(0, 0)).x() - gridLeft, f.SGrid->frameWidth() + f.SGrid->columnWidth(0) + 40 + 60 * (n - 1)) << n;
        EXPECT_LT(box->mapTo(&f, QPoint(0, 0)).y(), f.SGrid->mapTo(&f, QPoint(0, 0)).y());
    }
}

TEST_F(PowerFormTest, ControlsFollowTheModeAndTheRightsAtPosition36)
{
    PowAdd = rightsWith({36});
    PowEdit = rightsWith({1, 2, 35, 37});
    PowDele = rightsWith({36});
    TFrmPower f;
    EXPECT_TRUE(f.findChild<QPushButton*>("cmd_add")->isEnabled());
    EXPECT_FALSE(f.findChild<QPushButton*>("cmd_edit")->isEnabled());
    EXPECT_TRUE(f.findChild<QPushButton*>("cmd_dele")->isEnabled());
    EXPECT_FALSE(f.findChild<QPushButton*>("cmd_save")->isEnabled());
    EXPECT_FALSE(f.GB1->isEnabled());
    for (QCheckBox* box : f.CheckBoxes)
        EXPECT_FALSE(box->isEnabled());

    show(f);
    click(f, "cmd_add");
    EXPECT_TRUE(f.GB1->isEnabled());
    EXPECT_TRUE(f.DBEdit1->isEnabled());
    EXPECT_FALSE(f.DBGrid1->isEnabled());
    EXPECT_FALSE(f.findChild<QPushButton*>("cmd_exit")->isEnabled());
    EXPECT_TRUE(f.findChild<QPushButton*>("cmd_save")->isEnabled());
    for (QCheckBox* box : f.CheckBoxes)
        EXPECT_TRUE(box->isEnabled());
    EXPECT_FALSE(f.FormCloseQuery());
    EXPECT_TRUE(f.DBEdit2->isReadOnly());
}

TEST_F(PowerFormTest, MovingInTheUserListShowsThatUsersRights)
{
    insertUser("E1", "1", rightsWith({3, 20}), rightsWith({17}));
    TFrmPower f;
    show(f);
    clickRow(f.DBGrid1, 1);
    EXPECT_EQ(f.DBEdit1->text(), "E1");
    EXPECT_EQ(f.DBEdit2->text(), QStringLiteral("张三"));
    EXPECT_EQ(shown(f, 1), rightsWith({3, 20}));
    EXPECT_EQ(shown(f, 6), rightsWith({17}));
    EXPECT_EQ(shown(f, 2), QString(38, u'0')); // empty string: nothing granted
    clickRow(f.DBGrid1, 0);
    EXPECT_EQ(shown(f, 2), QString(38, u'1'));
}

TEST_F(PowerFormTest, TheNewUsersIdMustBeAnEmployeeWithoutAUser)
{
    TFrmPower f;
    show(f);
    {
        testui::PromptResponder prompts;
        prompts.expect("无此员工编码！");
        startAdding(f, "X9");
        EXPECT_EQ(f.DBEdit1->text(), "");
    }
    {
        testui::PromptResponder prompts;
        prompts.expect("该员工已存在！");
        testui::typeText(f.DBEdit1, "admin");
        QTest::keyClick(f.DBEdit1, Qt::Key_Return);
        EXPECT_EQ(f.DBEdit1->text(), "admin");
    }
    {
        testui::PromptResponder prompts; // no message for a free employee code
        retype(f.DBEdit1, "E1");
        QTest::keyClick(f.DBEdit1, Qt::Key_Return);
        EXPECT_EQ(prompts.count(), 0);
    }
    EXPECT_EQ(f.mode(), FormMode::Add);
}

TEST_F(PowerFormTest, SavingRepeatsTheIdChecksForAUserWhoNeverPressedEnter)
{
    TFrmPower f;
    show(f);
    click(f, "cmd_add");
    testui::typeText(f.DBEdit1, "X9");
    {
        testui::PromptResponder prompts;
        prompts.expect("无此员工编码！");
        click(f, "cmd_save");
    }
    EXPECT_EQ(f.mode(), FormMode::Add);
    retype(f.DBEdit1, "admin");
    {
        testui::PromptResponder prompts;
        prompts.expect("该员工已存在！");
        click(f, "cmd_save");
    }
    EXPECT_EQ(f.mode(), FormMode::Add);
    EXPECT_EQ(count("powers"), 1);
}

TEST_F(PowerFormTest, AnIdTypedInAnyLetterCaseIsThatEmployeeWhoHasOneUserAtMost)
{
    insertUser("E2", "pw", rightsWith({1}));
    TFrmPower f;
    show(f);
    {
        testui::PromptResponder prompts;
        prompts.expect("该员工已存在！");
        startAdding(f, "e2");
    }
    retype(f.DBEdit1, "e2");
    {
        testui::PromptResponder prompts;
        prompts.expect("该员工已存在！");
        click(f, "cmd_save"); // without Enter
    }
    EXPECT_EQ(f.mode(), FormMode::Add);

    retype(f.DBEdit1, "e1");
    QTest::keyClick(f.DBEdit1, Qt::Key_Return);
    EXPECT_EQ(f.DBEdit1->text(), "E1") << "as the employee's record spells it";
    EXPECT_EQ(f.DBEdit2->text(), QStringLiteral("张三"));
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(count("powers", "user_id='E1'"), 1) << "the login compares the id exactly";
    EXPECT_EQ(count("powers", "user_id='E2' collate nocase"), 1);
}

TEST_F(PowerFormTest, AddingAUserStoresTheTickedRightsAsSevenStringsOf38)
{
    TFrmPower f;
    show(f);
    startAdding(f, "E1");
    // A new user starts with every right refused.
    for (int c = 1; c <= 7; ++c)
        ASSERT_EQ(shown(f, c), QString(38, u'0')) << c;
    testui::typeText(f.DBEdit4, "abc");
    testui::typeText(f.Edit5, "abc");
    EXPECT_EQ(f.DBEdit4->displayText(), "***");
    EXPECT_EQ(f.Edit5->displayText(), "***");
    clickCell(f, 6, 17); // 查询 of 货品资料
    clickCell(f, 1, 1);
    clickCell(f, 1, 38);
    clickCell(f, 7, 22);
    clickCell(f, 7, 22); // twice: back to refused
    QTest::mouseClick(f.CheckBoxes[1], Qt::LeftButton); // the whole 新增 column
    click(f, "cmd_save");

    EXPECT_EQ(f.mode(), FormMode::Null);
    ASSERT_EQ(count("powers", "user_id='E1'"), 1);
    EXPECT_EQ(stored("E1", "password"), "abc");
    EXPECT_EQ(stored("E1", "pow_use"), rightsWith({1, 38}));
    EXPECT_EQ(stored("E1", "pow_add"), QString(38, u'1'));
    EXPECT_EQ(stored("E1", "pow_find"), rightsWith({17}));
    EXPECT_EQ(stored("E1", "pow_prin"), QString(38, u'0'));
    for (const char* column : kRightsColumns)
        EXPECT_EQ(stored("E1", column).size(), 38) << column;
    EXPECT_EQ(f.DBEdit2->text(), QStringLiteral("张三"));
}

TEST_F(PowerFormTest, EnterPassesOverTheNameSoTheTypedPasswordsReachTheirBoxes)
{
    ui::EnterAsTab enterAsTab; // as in the program
    TFrmPower f;
    show(f);
    click(f, "cmd_add");
    typeNewUserE1WithEnter(f);
}

TEST_F(PowerFormTest, AnIdThatIsAUserAlreadyIsTypedOverNotAfter)
{
    ui::EnterAsTab enterAsTab; // as in the program
    TFrmPower f;
    show(f);
    click(f, "cmd_add");
    {
        testui::PromptResponder prompts;
        prompts.expect("该员工已存在！");
        testui::typeAtFocus("admin");
        testui::pressAtFocus(Qt::Key_Return);
    }
    typeNewUserE1WithEnter(f);
}

TEST_F(PowerFormTest, AUserSavedWithTrimmedIdAndPasswordCanLogInAsTyped)
{
    TFrmPower f;
    show(f);
    startAdding(f, " E2 ");
    testui::typeText(f.DBEdit4, " pw ");
    testui::typeText(f.Edit5, "pw");
    click(f, "cmd_save");
    ASSERT_EQ(f.mode(), FormMode::Null);
    // The login trims what is typed before comparing.
    EXPECT_EQ(count("powers", "user_id='E2' and password='pw'"), 1);
}

TEST_F(PowerFormTest, DifferentPasswordAndConfirmationKeepTheNewUserUnsaved)
{
    TFrmPower f;
    show(f);
    startAdding(f, "E1");
    testui::typeText(f.DBEdit4, "abc");
    testui::typeText(f.Edit5, "abd");
    {
        testui::PromptResponder prompts;
        prompts.expect("密码不一致");
        click(f, "cmd_save");
    }
    EXPECT_EQ(f.mode(), FormMode::Add);
    EXPECT_EQ(count("powers", "user_id='E1'"), 0);
}

TEST_F(PowerFormTest, ANewUserWithNoPasswordIsAccepted)
{
    TFrmPower f;
    show(f);
    startAdding(f, "E1");
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(count("powers", "user_id='E1' and coalesce(password,'')=''"), 1);
}

TEST_F(PowerFormTest, EditingChangesThePasswordWithoutConfirmation)
{
    insertUser("E1", "old", rightsWith({5}));
    TFrmPower f;
    show(f);
    clickRow(f.DBGrid1, 1);
    click(f, "cmd_edit");
    ASSERT_EQ(f.mode(), FormMode::Edit);
    EXPECT_FALSE(f.DBEdit1->isEnabled());
    retype(f.DBEdit4, "new1");
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(stored("E1", "password"), "new1");
    EXPECT_EQ(stored("E1", "pow_use"), rightsWith({5}));
    EXPECT_EQ(count("powers"), 2);
}

TEST_F(PowerFormTest, EditChangesTheUserShownNotAnotherWithTheSameId)
{
    insertUser("E1", "one", rightsWith({5}));
    insertUser("E1", "two", rightsWith({5}));
    TFrmPower f;
    show(f);
    clickRow(f.DBGrid1, 2); // the second E1
    click(f, "cmd_edit");
    ASSERT_EQ(f.mode(), FormMode::Edit);
    retype(f.DBEdit4, "new2");
    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(count("powers", "user_id='E1' and password='one'"), 1);
    EXPECT_EQ(count("powers", "user_id='E1' and password='new2'"), 1);
}

TEST_F(PowerFormTest, EditNeedsAUserInTheIdBox)
{
    exec("delete from powers");
    TFrmPower f;
    show(f);
    testui::PromptResponder prompts;
    prompts.expect("请先定位员工编码");
    click(f, "cmd_edit");
    EXPECT_EQ(f.mode(), FormMode::Null);
}

TEST_F(PowerFormTest, AShortRightsStringShowsTheRestUntickedAndIsSavedBackWith38)
{
    insertUser("E1", "", "101", "1");
    TFrmPower f;
    show(f);
    clickRow(f.DBGrid1, 1);
    EXPECT_EQ(shown(f, 1), rightsWith({1, 3}));
    EXPECT_EQ(shown(f, 6), rightsWith({1}));
    click(f, "cmd_edit");
    click(f, "cmd_save");
    EXPECT_EQ(stored("E1", "pow_use"), rightsWith({1, 3}));
    EXPECT_EQ(stored("E1", "pow_add"), QString(38, u'0'));
}

TEST_F(PowerFormTest, ClicksInBrowsingModeChangeNothing)
{
    TFrmPower f;
    show(f);
    clickCell(f, 3, 10);
    EXPECT_EQ(f.SGrid->item(10, 3)->text(), kTick);
    clickCell(f, 0, 10); // the function names are fixed
    EXPECT_EQ(f.SGrid->item(10, 0)->text(), QStringLiteral("会员补卡"));
}

TEST_F(PowerFormTest, ClearingCheckBox1RefusesEveryFunction)
{
    TFrmPower f;
    show(f);
    click(f, "cmd_edit");
    ASSERT_EQ(f.mode(), FormMode::Edit);
    QCheckBox* use = f.CheckBoxes[0];
    QTest::mouseClick(use, Qt::LeftButton); // ticked: the column fills
    ASSERT_TRUE(use->isChecked());
    EXPECT_EQ(shown(f, 1), QString(38, u'1'));
    QTest::mouseClick(use, Qt::LeftButton); // cleared: the column empties
    EXPECT_EQ(shown(f, 1), QString(38, u'0'));
    click(f, "cmd_save");
    EXPECT_EQ(stored("admin", "pow_use"), QString(38, u'0'));
    EXPECT_EQ(stored("admin", "pow_edit"), QString(38, u'1'));
}

TEST_F(PowerFormTest, CancelShowsTheStoredRightsAgainSoALaterEditCannotSaveThem)
{
    TFrmPower f;
    show(f);
    click(f, "cmd_edit");
    clickCell(f, 2, 5);
    ASSERT_EQ(f.SGrid->item(5, 2)->text(), "");
    click(f, "cmd_canc");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(f.SGrid->item(5, 2)->text(), kTick);
    click(f, "cmd_edit");
    click(f, "cmd_save");
    EXPECT_EQ(stored("admin", "pow_add"), QString(38, u'1'));
}

TEST_F(PowerFormTest, CancellingANewUserReturnsToTheListedUser)
{
    insertUser("E1", "", rightsWith({2}));
    TFrmPower f;
    show(f);
    clickRow(f.DBGrid1, 1);
    startAdding(f, "E2");
    clickCell(f, 4, 4);
    click(f, "cmd_canc");
    EXPECT_EQ(q().recordCount(), 2);
    EXPECT_EQ(count("powers", "user_id='E2'"), 0);
    EXPECT_EQ(shown(f, 1), rightsWith({2}));
    EXPECT_EQ(shown(f, 4), QString(38, u'0'));
}

TEST_F(PowerFormTest, CancellingTheOnlyNewUserClearsItsTicks)
{
    exec("delete from powers");
    TFrmPower f;
    show(f);
    startAdding(f, "E1");
    clickCell(f, 1, 8);
    click(f, "cmd_canc");
    EXPECT_EQ(q().recordCount(), 0);
    EXPECT_EQ(shown(f, 1), QString(38, u'0'));
}

TEST_F(PowerFormTest, DeleteAsksThenRemovesTheUserFromTableAndList)
{
    insertUser("E1", "", rightsWith({1}));
    TFrmPower f;
    show(f);
    clickRow(f.DBGrid1, 1);
    {
        testui::PromptResponder prompts;
        prompts.expect(ui::PromptRequest::Kind::Question, "确认删除该记录", {ui::Answer::No});
        click(f, "cmd_dele");
        EXPECT_EQ(prompts.last().text, QStringLiteral("确认删除该记录"));
        EXPECT_EQ(prompts.last().caption, QStringLiteral("提示"));
        EXPECT_EQ(prompts.last().buttons, ui::Buttons::YesNo);
    }
    EXPECT_EQ(count("powers", "user_id='E1'"), 1);
    {
        testui::PromptResponder prompts;
        prompts.expect("确认删除该记录", {ui::Answer::Yes});
        click(f, "cmd_dele");
    }
    EXPECT_EQ(count("powers", "user_id='E1'"), 0);
    EXPECT_EQ(count("powers"), 1);
    EXPECT_EQ(q().recordCount(), 1);
    EXPECT_EQ(f.DBEdit1->text(), "admin");
    EXPECT_EQ(shown(f, 1), QString(38, u'1'));
}

TEST_F(PowerFormTest, DeleteRemovesTheUserShownNotAnotherWithTheSameId)
{
    insertUser("E1", "one", "1");
    insertUser("E1", "two", "1");
    TFrmPower f;
    show(f);
    clickRow(f.DBGrid1, 2); // the second E1
    testui::PromptResponder prompts;
    prompts.expect("确认删除该记录", {ui::Answer::Yes});
    click(f, "cmd_dele");
    EXPECT_EQ(count("powers", "user_id='E1' and password='one'"), 1);
    EXPECT_EQ(count("powers", "user_id='E1'"), 1);
    EXPECT_EQ(q().recordCount(), 2);
}

TEST_F(PowerFormTest, DeleteTakesTheIdAsAValueNotAsSql)
{
    insertUser("O'K", "", "1");
    insertUser("K", "", "1");
    TFrmPower f;
    show(f);
    ASSERT_TRUE(q().locate(QStringLiteral("user_id"), QStringLiteral("O'K")));
    testui::PromptResponder prompts;
    prompts.expect("确认删除该记录", {ui::Answer::Yes});
    click(f, "cmd_dele");
    EXPECT_EQ(count("powers", "user_id='O''K'"), 0);
    EXPECT_EQ(count("powers", "user_id='K'"), 1);
}

TEST_F(PowerFormTest, DeletingTheLastUserLeavesAnEmptyForm)
{
    TFrmPower f;
    show(f);
    {
        testui::PromptResponder prompts;
        prompts.expect("确认删除该记录", {ui::Answer::Yes});
        click(f, "cmd_dele");
    }
    EXPECT_EQ(count("powers"), 0);
    EXPECT_EQ(f.DBEdit1->text(), "");
    EXPECT_EQ(shown(f, 1), QString(38, u'0'));
    testui::PromptResponder prompts;
    prompts.expect("请先定位删除员工");
    click(f, "cmd_dele");
}

TEST_F(PowerFormTest, AClosedFormNoLongerFollowsTheUserList)
{
    insertUser("E1", "", "1");
    {
        TFrmPower f;
    }
    db::Dataset& users = q();
    users.setSql(QStringLiteral("select * from powers"));
    users.open();
    users.next(); // would reach the destroyed form's grid if still attached
    EXPECT_EQ(users.asString("user_id"), "E1");
}

} // namespace
