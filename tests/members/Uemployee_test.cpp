#include "members/Uemployee.h"

#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"
#include "tests/support/TestDb.h"

#include "core/Upublic.h"
#include "platform/db/Value.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EnterAsTab.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

namespace {

class EmployeeFormTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        exec("delete from employee");
        exec("insert into employee (empl_code, empl_name, empl_sex, dept_name, empl_birth, in_date) values "
             "('E1', '张三', '男', '美发部', '1990-05-17 00:00:00', '2020-03-01 00:00:00'),"
             "('E2', '李四', '女', '美容部', null, '2021-07-15 00:00:00')");
        grantAllRights();
    }

    db::Dataset& q() { return dataMod().EmployeeQ; }

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
    // The data-aware box of that column.
    template <class Box>
    static Box* boxOf(QWidget& form, const char* column)
    {
        for (Box* b : form.findChildren<Box*>())
            if (b->field() == QLatin1String(column))
                return b;
        ADD_FAILURE() << "no box for " << column;
        return nullptr;
    }
    static void clickRow(ui::DbGrid* grid, int row)
    {
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    QString stored(const QString& code, const QString& column)
    {
        return scalar("select " + column + " from employee where empl_code=:c", {{"c", code}}).toString();
    }
    static QString storedDate(const QDate& d) { return db::toStorageText(d); }
};

TEST_F(EmployeeFormTest, OpensOnEveryEmployeeWithTheNamedButtons)
{
    TFrmEmployee f;
    EXPECT_EQ(f.objectName(), "FrmEmployee");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("员工资料"));
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(q().recordCount(), 2);
    const std::pair<const char*, const char*> buttons[] = {
        {"BitBtn2", "新增&A"}, {"BitBtn7", "修改&E"}, {"BitBtn6", "删除&D"}, {"BitBtn4", "保存&S"},
        {"BitBtn3", "取消&C"}, {"BitBtn5", "打印&P"}, {"BitBtn1", "退出&X"}};
    for (const auto& [name, caption] : buttons) {
        auto* b = f.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->text(), QString::fromUtf8(caption));
    }
    EXPECT_TRUE(f.findChild<QPushButton*>("BitBtn5")->isHidden());
    EXPECT_EQ(f.personalGroup()->title(), QStringLiteral("个人资料"));
    EXPECT_EQ(f.employmentGroup()->title(), QStringLiteral("在职资料"));
}

TEST_F(EmployeeFormTest, ANewEmployeeStartsAsMaleWithTodayInBothPickers)
{
    TFrmEmployee f;
    show(f);
    clickRow(f.grid(), 1); // 李四, 女, no birth date
    ASSERT_TRUE(f.birthPicker()->isNull());
    click(f, "BitBtn2");
    EXPECT_EQ(f.mode(), FormMode::Add);
    EXPECT_EQ(boxOf<ui::DbComboBox>(f, "empl_sex")->text(), QStringLiteral("男"));
    EXPECT_EQ(f.birthPicker()->value(), QDate::currentDate());
    EXPECT_EQ(f.inDatePicker()->value(), QDate::currentDate());
    EXPECT_EQ(QApplication::focusWidget(), f.codeBox());
}

TEST_F(EmployeeFormTest, SavingWritesEveryField)
{
    struct Typed {
        const char* column;
        const char* text;
    };
    const Typed lines[] = {
        {"id_card", "110101199001011234"}, {"leave_school", "2010年7月"}, {"rela_addr", "北京路1号"},
        {"post_code", "510000"},           {"rela_phon", "020-1234567"}, {"mobile", "13800000000"},
        {"exig_rela", "王母"},             {"exig_tele", "13900000000"}, {"society_no", "YL-001"},
        {"medica_no", "YB-002"},           {"low_salary", "2500.5"},
    };
    const Typed lists[] = {
        {"native_place", "广东"}, {"regi_place", "广州"},   {"school_name", "美发学校"}, {"special", "美发"},
        {"degree", "大专"},       {"dept_name", "美发部"},  {"duty", "发型师"},          {"tech_class", "高级"},
        {"class_type", "早班"},   {"salary_type", "月薪"},
    };

    TFrmEmployee f;
    show(f);
    click(f, "BitBtn2");
    testui::typeText(f.codeBox(), QStringLiteral("E100"));
    testui::typeText(f.nameBox(), QStringLiteral("王芳"));
    auto* sex = boxOf<ui::DbComboBox>(f, "empl_sex");
    sex->setFocus();
    QTest::keyClick(sex, Qt::Key_Down); // 男 -> 女
    for (const Typed& t : lines)
        testui::typeText(boxOf<ui::DbLineEdit>(f, t.column), QString::fromUtf8(t.text));
    for (const Typed& t : lists) {
        auto* combo = boxOf<ui::DbComboBox>(f, t.column);
        combo->lineEdit()->clear();
        testui::typeText(combo, QString::fromUtf8(t.text));
    }
    // The year is the section the arrows change first.
    f.birthPicker()->setFocus();
    QTest::keyClick(f.birthPicker(), Qt::Key_Down);
    QTest::keyClick(f.birthPicker(), Qt::Key_Down);
    f.inDatePicker()->setFocus();
    QTest::keyClick(f.inDatePicker(), Qt::Key_Down);
    const QDate birth = QDate::currentDate().addYears(-2);
    const QDate entry = QDate::currentDate().addYears(-1);
    ASSERT_EQ(f.birthPicker()->value(), birth);

    click(f, "BitBtn4");

    EXPECT_EQ(f.mode(), FormMode::Null);
    ASSERT_EQ(count("employee", "empl_code='E100'"), 1);
    EXPECT_EQ(stored("E100", "empl_name"), QStringLiteral("王芳"));
    EXPECT_EQ(stored("E100", "empl_sex"), QStringLiteral("女"));
    for (const Typed& t : lines) {
        SCOPED_TRACE(t.column);
        EXPECT_EQ(stored("E100", t.column), QString::fromUtf8(t.text));
    }
    for (const Typed& t : lists) {
        SCOPED_TRACE(t.column);
        EXPECT_EQ(stored("E100", t.column), QString::fromUtf8(t.text));
    }
    EXPECT_EQ(stored("E100", "empl_birth"), storedDate(birth));
    EXPECT_EQ(stored("E100", "in_date"), storedDate(entry));
    EXPECT_EQ(q().asString("empl_code"), "E100");
}

TEST_F(EmployeeFormTest, ANewEmployeeSavedWithoutTouchingThePickersGetsToday)
{
    TFrmEmployee f;
    click(f, "BitBtn2");
    QTest::keyClicks(f.codeBox(), "E3");
    testui::typeText(f.nameBox(), QStringLiteral("赵六"));
    click(f, "BitBtn4");
    EXPECT_EQ(stored("E3", "empl_birth"), storedDate(QDate::currentDate()));
    EXPECT_EQ(stored("E3", "in_date"), storedDate(QDate::currentDate()));
    EXPECT_EQ(stored("E3", "empl_sex"), QStringLiteral("男"));
}

TEST_F(EmployeeFormTest, CodeAndNameMustNotBeEmpty)
{
    struct Case {
        const char* code;
        const char* name;
    };
    const Case cases[] = {{"", "赵六"}, {"E3", ""}, {"", ""}};
    TFrmEmployee f;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + "/" + c.name);
        testui::PromptResponder prompts;
        prompts.expect(QStringLiteral("员工编号,名称不能为空"));
        click(f, "BitBtn2");
        QTest::keyClicks(f.codeBox(), c.code);
        testui::typeText(f.nameBox(), QString::fromUtf8(c.name));
        click(f, "BitBtn4");
        EXPECT_EQ(f.mode(), FormMode::Add);
        EXPECT_EQ(count("employee"), 2);
        click(f, "BitBtn3");
    }
}

TEST_F(EmployeeFormTest, ACodeTakesNoMoreThanEveryRecordNamingTheEmployeeKeeps)
{
    // Users, appointments and stock documents keep a staff code in ten characters.
    TFrmEmployee f;
    click(f, "BitBtn2");
    QTest::keyClicks(f.codeBox(), "E0123456789");
    EXPECT_EQ(f.codeBox()->text(), "E012345678");
    testui::typeText(f.nameBox(), QStringLiteral("赵六"));
    click(f, "BitBtn4");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(stored("E012345678", "empl_name"), QStringLiteral("赵六"));
}

TEST_F(EmployeeFormTest, ABlankCodePassesTheSaveCheckWhileDeleteTrimsIt)
{
    TFrmEmployee f;
    testui::PromptResponder prompts; // neither the save nor the delete may ask anything
    click(f, "BitBtn2");
    QTest::keyClicks(f.codeBox(), "   ");
    QTest::keyClicks(f.nameBox(), "  ");
    click(f, "BitBtn4");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(count("employee", "empl_code='   ' and empl_name='  '"), 1);

    q().locate("empl_code", "   ");
    ASSERT_EQ(f.codeBox()->text(), "   ");
    click(f, "BitBtn6");
    EXPECT_EQ(prompts.count(), 0);
    EXPECT_EQ(count("employee"), 3);

    // Edit looks only at the box untrimmed: the blank-coded row can be edited.
    click(f, "BitBtn7");
    EXPECT_EQ(f.mode(), FormMode::Edit);
    EXPECT_EQ(q().asString("empl_name"), "  ");
}

TEST_F(EmployeeFormTest, EditChangesTheEmployeeShownNotAnotherWithTheSameCode)
{
    exec("insert into employee (empl_code, empl_name) values (' E1 ', '王五'), ('E2', '赵六')");
    TFrmEmployee f;
    show(f);
    for (const QString& name : {QStringLiteral("王五"), QStringLiteral("赵六")}) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(q().locate("empl_name", name));
        clickRow(f.grid(), q().recNo());
        click(f, "BitBtn7");
        EXPECT_EQ(f.mode(), FormMode::Edit);
        auto* nameBox = f.nameBox();
        nameBox->setFocus();
        nameBox->selectAll();
        testui::typeText(nameBox, name + QStringLiteral("改"));
        click(f, "BitBtn4");
        EXPECT_EQ(count("employee", "empl_name=:n", {{"n", name + QStringLiteral("改")}}), 1);
    }
    EXPECT_EQ(count("employee", "empl_name in ('张三', '李四')"), 2) << "the first rows with the codes stay";
}

TEST_F(EmployeeFormTest, EditChangesTheRowAndKeepsAChosenDateUntilTheSave)
{
    TFrmEmployee f;
    show(f);
    clickRow(f.grid(), 0); // E1, born 1990-05-17
    ASSERT_EQ(f.birthPicker()->value(), QDate(1990, 5, 17));
    click(f, "BitBtn7");
    f.birthPicker()->setFocus();
    QTest::keyClick(f.birthPicker(), Qt::Key_Up); // 1991
    auto* name = f.nameBox();
    name->setFocus();
    name->selectAll();
    testui::typeText(name, QStringLiteral("张三丰"));
    boxOf<ui::DbLineEdit>(f, "mobile")->setFocus(); // the name is written into the row
    EXPECT_EQ(f.birthPicker()->value(), QDate(1991, 5, 17));
    click(f, "BitBtn4");
    EXPECT_EQ(stored("E1", "empl_name"), QStringLiteral("张三丰"));
    EXPECT_EQ(stored("E1", "empl_birth"), "1991-05-17 00:00:00");
    EXPECT_EQ(stored("E1", "in_date"), "2020-03-01 00:00:00");
}

TEST_F(EmployeeFormTest, EnterLeavesABlankBirthDateSoTheIdCardTypedNextReachesItsBox)
{
    ui::EnterAsTab enterAsTab; // as in the program
    TFrmEmployee f;
    show(f);
    clickRow(f.grid(), 1); // E2, no birth date
    click(f, "BitBtn7");
    f.codeBox()->setFocus();
    for (int box = 0; box < 3; ++box) // code, name, sex
        testui::pressAtFocus(Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), f.birthPicker());
    testui::pressAtFocus(Qt::Key_Return);
    testui::typeAtFocus(QStringLiteral("440106199001010011"));
    testui::pressAtFocus(Qt::Key_Return);
    click(f, "BitBtn4");
    EXPECT_EQ(stored("E2", "id_card"), QStringLiteral("440106199001010011"));
    EXPECT_EQ(stored("E2", "empl_birth"), QString());
}

TEST_F(EmployeeFormTest, ABirthDateTypedAsItIsWrittenIsStoredAsTyped)
{
    ui::EnterAsTab enterAsTab; // as in the program
    for (const char* code : {"E1", "E2"}) { // born 1990-05-17; no birth date
        SCOPED_TRACE(code);
        TFrmEmployee f;
        show(f);
        clickRow(f.grid(), code == QLatin1String("E1") ? 0 : 1);
        click(f, "BitBtn7");
        f.birthPicker()->setFocus(Qt::TabFocusReason);
        testui::typeAtFocus(QStringLiteral("1985-03-09"));
        testui::pressAtFocus(Qt::Key_Return);
        testui::typeAtFocus(QStringLiteral("440106198503090011"));
        click(f, "BitBtn4");
        EXPECT_EQ(stored(code, "empl_birth"), "1985-03-09 00:00:00");
        EXPECT_EQ(stored(code, "id_card"), QStringLiteral("440106198503090011"));
    }
}

TEST_F(EmployeeFormTest, ThePickersFollowTheCurrentRow)
{
    TFrmEmployee f;
    show(f);
    clickRow(f.grid(), 1);
    EXPECT_TRUE(f.birthPicker()->isNull());
    EXPECT_EQ(f.inDatePicker()->value(), QDate(2021, 7, 15));
    clickRow(f.grid(), 0);
    EXPECT_EQ(f.birthPicker()->value(), QDate(1990, 5, 17));
    EXPECT_EQ(f.inDatePicker()->value(), QDate(2020, 3, 1));
}

TEST_F(EmployeeFormTest, CancelDropsTheTypedDatesAndValues)
{
    TFrmEmployee f;
    show(f);
    clickRow(f.grid(), 0);
    click(f, "BitBtn7");
    f.birthPicker()->setFocus();
    QTest::keyClick(f.birthPicker(), Qt::Key_Up);
    click(f, "BitBtn3");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(f.birthPicker()->value(), QDate(1990, 5, 17));
    EXPECT_EQ(stored("E1", "empl_birth"), "1990-05-17 00:00:00");
}

TEST_F(EmployeeFormTest, DeleteAsksAndWritesAtOnce)
{
    TFrmEmployee f;
    show(f);
    clickRow(f.grid(), 1);
    testui::PromptResponder prompts;
    prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Cancel});
    click(f, "BitBtn6");
    EXPECT_EQ(prompts.last().caption, QStringLiteral("提示"));
    EXPECT_EQ(prompts.last().buttons, ui::Buttons::OkCancel);
    EXPECT_EQ(prompts.last().icon, ui::Icon::Question);
    EXPECT_EQ(count("employee"), 2);

    prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Ok});
    click(f, "BitBtn6");
    EXPECT_EQ(count("employee"), 1);
    EXPECT_EQ(count("employee", "empl_code='E2'"), 0);
}

TEST_F(EmployeeFormTest, PickListsOfferTheStoredValuesOnce)
{
    const char* const columns[] = {"native_place", "regi_place", "school_name", "special",   "degree",
                                   "dept_name",    "tech_class", "duty",        "class_type", "salary_type"};
    for (const char* column : columns)
        exec(QStringLiteral("insert into employee (empl_code, %1) values ('X', :v), ('Y', :v), ('Z', '  ')")
                 .arg(QLatin1String(column)),
             {{"v", QStringLiteral("值-") + QLatin1String(column)}});
    exec("insert into employee (empl_code, dept_name) values ('W', '美发部 ')");

    TFrmEmployee f;
    for (const char* column : columns) {
        SCOPED_TRACE(column);
        auto* combo = boxOf<ui::DbComboBox>(f, column);
        EXPECT_GE(combo->findText(QStringLiteral("值-") + QLatin1String(column)), 0);
        EXPECT_EQ(combo->findText(QStringLiteral("  ")), -1);
        QStringList seen;
        for (int i = 0; i < combo->count(); ++i)
            seen << combo->itemText(i).trimmed();
        EXPECT_EQ(seen.removeDuplicates(), 0);
    }
    auto* dept = boxOf<ui::DbComboBox>(f, "dept_name");
    EXPECT_GE(dept->findText(QStringLiteral("美发部")), 0);
    EXPECT_GE(dept->findText(QStringLiteral("美容部")), 0);
    EXPECT_EQ(dept->count(), 3);
    auto* sex = boxOf<ui::DbComboBox>(f, "empl_sex");
    EXPECT_EQ(sex->count(), 2);
}

TEST_F(EmployeeFormTest, ControlsFollowTheModeAndTheRightsAtPositionOne)
{
    {
        TFrmEmployee f;
        show(f);
        click(f, "BitBtn2");
        for (const char* off : {"BitBtn2", "BitBtn7", "BitBtn6", "BitBtn1"})
            EXPECT_FALSE(f.findChild<QPushButton*>(off)->isEnabled()) << off;
        for (const char* on : {"BitBtn4", "BitBtn3"})
            EXPECT_TRUE(f.findChild<QPushButton*>(on)->isEnabled()) << on;
        EXPECT_FALSE(f.grid()->isEnabled());
        EXPECT_TRUE(f.personalGroup()->isEnabled());
        EXPECT_TRUE(f.employmentGroup()->isEnabled());
        EXPECT_FALSE(f.close());
        click(f, "BitBtn3");
        EXPECT_FALSE(f.personalGroup()->isEnabled());
        EXPECT_TRUE(f.close());
    }
    PowAdd = QStringLiteral("0111");
    PowEdit = QStringLiteral("1");
    PowDele = QStringLiteral("01");
    TFrmEmployee f;
    EXPECT_FALSE(f.findChild<QPushButton*>("BitBtn2")->isEnabled());
    EXPECT_TRUE(f.findChild<QPushButton*>("BitBtn7")->isEnabled());
    EXPECT_FALSE(f.findChild<QPushButton*>("BitBtn6")->isEnabled());
    EXPECT_FALSE(f.findChild<QPushButton*>("BitBtn4")->isEnabled());
    EXPECT_TRUE(f.findChild<QPushButton*>("BitBtn1")->isEnabled());
}

TEST_F(EmployeeFormTest, AFailedSaveKeepsTheModeAndWhatWasTyped)
{
    TFrmEmployee f;
    click(f, "BitBtn2");
    QTest::keyClicks(f.codeBox(), "E9");
    QTest::keyClicks(f.nameBox(), "x");
    testui::typeText(boxOf<ui::DbLineEdit>(f, "low_salary"), QStringLiteral("很多"));
    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Error, QStringLiteral("保障底薪：“很多”不是有效的数值"));
    click(f, "BitBtn4");
    EXPECT_EQ(f.mode(), FormMode::Add);
    EXPECT_EQ(f.codeBox()->text(), "E9");
    EXPECT_EQ(count("employee"), 2);
}

TEST_F(EmployeeFormTest, ClosingTheFormClosesItsQuery)
{
    {
        TFrmEmployee f;
        ASSERT_TRUE(q().isActive());
    }
    EXPECT_FALSE(q().isActive());
}

} // namespace
