#include "tests/support/TestDb.h"

#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"
#include "core/FormFrame.h"
#include "core/Upublic.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

namespace {

constexpr int kPosition = 1; // 员工资料

// The smallest record form: staff code and name over EmployeeQ, batch-saved,
// with every standard button and a quick find on the code.
class StaffForm : public RecordForm {
public:
    explicit StaffForm(db::Dataset& q) : RecordForm(nullptr, QStringLiteral("TFrmStaffTest"), QStringLiteral("员工"), kPosition)
    {
        addStandardButtons({"cmd_add", "cmd_edit", "cmd_dele", "cmd_save", "cmd_canc", "cmd_exit"},
                           {"新增[&A]", "修改[&E]", "删除[&D]", "保存[&S]", "取消[&C]", "退出[&X]"});
        source = new ui::DataSource(&q, this);
        auto* group = new QGroupBox(this);
        auto* rows = new QVBoxLayout(group);
        code = new ui::DbLineEdit(source, QStringLiteral("empl_code"), group);
        code->setObjectName(QStringLiteral("DBEdit1"));
        name = new ui::DbLineEdit(source, QStringLiteral("empl_name"), group);
        rows->addWidget(code);
        rows->addWidget(name);
        grid = new ui::DbGrid(this);
        grid->setDataset(&q);
        body()->addWidget(grid);
        body()->addWidget(group);
        findBox = addQuickFind(QStringLiteral("Edit1"), body());
        controls().grid = grid;
        controls().dataGroups = {group};
        setRecord(&q, code, QStringLiteral("empl_code"));
        setFirstEditBox(code);
        runFormCreate([&q] {
            q.close();
            q.setSql(QStringLiteral("select * from employee order by empl_code"));
            q.setLockType(db::LockType::BatchOptimistic);
            q.open();
        });
    }

    void cmd_findClick() override
    {
        ++finds;
        dataset()->locate(QStringLiteral("empl_code"), findBox->text().trimmed());
    }

    bool checkBeforeSave() override { return !code->text().isEmpty(); }
    void addStandardButtonsForTest(const QStringList& names) { addStandardButtons(names, names); }

    ui::DataSource* source;
    ui::DbLineEdit* code;
    ui::DbLineEdit* name;
    ui::DbGrid* grid;
    QLineEdit* findBox;
    int finds = 0;
};

class FormFrameTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        exec("delete from employee");
        exec("insert into employee (empl_code, empl_name) values ('E1', '张三'), ('E2', '李四')");
        grantAllRights();
    }
    db::Dataset& q() { return dataMod().EmployeeQ; }

    struct States {
        bool add, edit, dele, save, canc, exit, grid, group;
    };
    static States states(StaffForm& f)
    {
        const auto& c = f.controls();
        return {c.cmd_add->isEnabled(), c.cmd_edit->isEnabled(), c.cmd_dele->isEnabled(), c.cmd_save->isEnabled(),
                c.cmd_canc->isEnabled(), c.cmd_exit->isEnabled(), c.grid->isEnabled(), c.dataGroups[0]->isEnabled()};
    }
};

#define EXPECT_STATES(f, a, e, d, s, c, x, g, grp)                                                      \
    do {                                                                                                 \
        const auto st = states(f);                                                                       \
        EXPECT_EQ(st.add, a); EXPECT_EQ(st.edit, e); EXPECT_EQ(st.dele, d); EXPECT_EQ(st.save, s);      \
        EXPECT_EQ(st.canc, c); EXPECT_EQ(st.exit, x); EXPECT_EQ(st.grid, g); EXPECT_EQ(st.group, grp);  \
    } while (0)

} // namespace

TEST_F(FormFrameTest, BrowsingFollowsTheRightsAtTheFormsPosition)
{
    {
        StaffForm f(q());
        EXPECT_EQ(f.mode(), FormMode::Null);
        EXPECT_STATES(f, true, true, true, false, false, true, true, false);
    }
    PowAdd = QStringLiteral("0111");
    PowEdit = QString();
    PowDele = QStringLiteral("1");
    StaffForm f(q());
    EXPECT_STATES(f, false, false, true, false, false, true, true, false);
}

// A browsed record cannot be changed, and reads as plainly as one being
// edited: its boxes stay disabled, their text keeps full contrast.
TEST_F(FormFrameTest, ABrowsedRecordReadsAtFullContrastWithoutTakingInput)
{
    StaffForm f(q());
    f.show();
    ASSERT_EQ(f.mode(), FormMode::Null);
    EXPECT_FALSE(f.name->isEnabled());
    const QColor browsed = f.name->palette().color(QPalette::Text);

    QTest::mouseClick(f.controls().cmd_edit, Qt::LeftButton);
    ASSERT_EQ(f.mode(), FormMode::Edit);
    ASSERT_TRUE(f.name->isEnabled());
    EXPECT_EQ(browsed, f.name->palette().color(QPalette::Active, QPalette::Text));
    QTest::mouseClick(f.controls().cmd_canc, Qt::LeftButton);
}

TEST_F(FormFrameTest, EditingModesAllowOnlySaveCancelAndTheData)
{
    StaffForm f(q());
    QTest::mouseClick(f.controls().cmd_add, Qt::LeftButton);
    EXPECT_EQ(f.mode(), FormMode::Add);
    EXPECT_STATES(f, false, false, false, true, true, false, false, true);
    EXPECT_FALSE(f.controls().findGroup->isEnabled());
    QTest::mouseClick(f.controls().cmd_canc, Qt::LeftButton);
    EXPECT_STATES(f, true, true, true, false, false, true, true, false);
}

TEST_F(FormFrameTest, CannotCloseWhileAdding)
{
    StaffForm f(q());
    f.show();
    QTest::mouseClick(f.controls().cmd_add, Qt::LeftButton);
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(f.isVisible());
    QTest::mouseClick(f.controls().cmd_canc, Qt::LeftButton);
    EXPECT_TRUE(f.close());
}

TEST_F(FormFrameTest, CancelAfterAddRemovesTheNewRecord)
{
    StaffForm f(q());
    q().locate("empl_code", "E2");
    QTest::mouseClick(f.controls().cmd_add, Qt::LeftButton);
    QTest::keyClicks(f.code, "E9");
    QTest::mouseClick(f.controls().cmd_canc, Qt::LeftButton);
    EXPECT_EQ(q().recordCount(), 2);
    EXPECT_EQ(f.code->text(), q().asString("empl_code"));
    EXPECT_EQ(count("employee"), 2);
}

TEST_F(FormFrameTest, SaveWritesTheRecordAndReturnsToIt)
{
    StaffForm f(q());
    f.show();
    QTest::mouseClick(f.controls().cmd_add, Qt::LeftButton);
    QTest::keyClicks(f.code, "E0");
    testui::typeText(f.name, QStringLiteral("王五"));
    QTest::mouseClick(f.controls().cmd_save, Qt::LeftButton);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(count("employee", "empl_code='E0' and empl_name='王五'"), 1);
    EXPECT_EQ(q().asString("empl_code"), "E0");
}

TEST_F(FormFrameTest, FailedSaveStaysInItsModeWithTheTypedValues)
{
    StaffForm f(q());
    f.show();
    QTest::mouseClick(f.controls().cmd_add, Qt::LeftButton);
    QTest::keyClicks(f.code, "E5");
    exec("drop table employee"); // the database refuses the write
    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Error, "employee"); // and says why
    QTest::mouseClick(f.controls().cmd_save, Qt::LeftButton);
    EXPECT_EQ(f.mode(), FormMode::Add);
    EXPECT_TRUE(f.controls().cmd_save->isEnabled());
    EXPECT_EQ(f.code->text(), "E5");
    EXPECT_TRUE(q().isEditing());
}

TEST_F(FormFrameTest, FailedCheckKeepsTheMode)
{
    StaffForm f(q());
    QTest::mouseClick(f.controls().cmd_add, Qt::LeftButton);
    QTest::mouseClick(f.controls().cmd_save, Qt::LeftButton);
    EXPECT_EQ(f.mode(), FormMode::Add);
    EXPECT_EQ(count("employee"), 2);
}

TEST_F(FormFrameTest, DeleteAsksAndCancelKeepsTheRecord)
{
    StaffForm f(q());
    testui::PromptResponder prompts;
    prompts.expect("确认删除?", {ui::Answer::Cancel});
    QTest::mouseClick(f.controls().cmd_dele, Qt::LeftButton);
    EXPECT_EQ(prompts.last().caption, QStringLiteral("提示"));
    EXPECT_EQ(prompts.last().buttons, ui::Buttons::OkCancel);
    EXPECT_EQ(q().recordCount(), 2);

    prompts.expect("确认删除?", {ui::Answer::Ok});
    QTest::mouseClick(f.controls().cmd_dele, Qt::LeftButton);
    EXPECT_EQ(q().recordCount(), 1);
    EXPECT_EQ(count("employee"), 2) << "a batch form writes the deletion with its next save";
}

TEST_F(FormFrameTest, DeleteWithAnEmptyKeyDoesNothing)
{
    exec("delete from employee");
    StaffForm f(q());
    testui::PromptResponder prompts; // any prompt would fail the test
    QTest::mouseClick(f.controls().cmd_dele, Qt::LeftButton);
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(FormFrameTest, EnterInTheQuickFindBoxFinds)
{
    StaffForm f(q());
    f.show();
    f.findBox->setFocus();
    QTest::keyClicks(f.findBox, "E2");
    QTest::keyClick(f.findBox, Qt::Key_Return);
    EXPECT_EQ(f.finds, 1);
    EXPECT_EQ(q().asString("empl_code"), "E2");
}

TEST_F(FormFrameTest, EditNeedsAKey)
{
    exec("delete from employee");
    StaffForm f(q());
    QTest::mouseClick(f.controls().cmd_edit, Qt::LeftButton);
    EXPECT_EQ(f.mode(), FormMode::Null);
}

TEST_F(FormFrameTest, OnlyStandardButtonsAreStandard)
{
    StaffForm f(q());
    EXPECT_THROW(f.addStandardButtonsForTest({"cmd_nosuch"}), std::invalid_argument);
}

TEST_F(FormFrameTest, EnterFindsOnlyWhereTheFindButtonMayBePressed)
{
    StaffForm f(q());
    f.show();
    f.controls().cmd_find->setEnabled(false); // as a form gating find on PowFind does
    f.findBox->setFocus();
    QTest::keyClicks(f.findBox, "E2");
    QTest::keyClick(f.findBox, Qt::Key_Return);
    EXPECT_EQ(f.finds, 0);
}
