#include "analysis/Usalary.h"

#include "analysis/CommissionEngine.h"
#include "tests/analysis/CommissionFixture_test.h"
#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"
#include "tests/support/ReportText.h"

#include "platform/db/Value.h"
#include "platform/report/Preview.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <map>
#include <set>

namespace {

using report::BandKind;

class SalaryFormTest : public CommissionDb {
protected:
    void SetUp() override
    {
        CommissionDb::SetUp();
        grantAllRights();
        SaleCommissionRate = 5;
        addEmployee("E1", QStringLiteral("张三"), 2000, QStringLiteral("男"), QStringLiteral("美发部"));
        addEmployee("E2", QStringLiteral("李四"), 1500.5, QStringLiteral("女"), QStringLiteral("美容部"));
        addEmployee("E3", QStringLiteral("王五"), QVariant(), QStringLiteral("男"), QStringLiteral("美发部"));
        addItem("A1", 150, 15, 10, 5);
        addBill("B1", "2024-03-05", "A1", 120, "E1", "E2", "E3");
        addBill("B2", "2024-04-02", "A1", 120, "E1", "E2", "E3");
        addSale("S1", "2024-03-31", "C01", 400, "E1");
    }

    db::Dataset& salaryQ() { return dataMod().SalaryQ; }

    static QComboBox* combo(QWidget& f, const char* name) { return f.findChild<QComboBox*>(name); }
    static QLineEdit* totalBox(QWidget& f) { return f.findChild<QLineEdit*>("Edit1"); }
    static void setMonth(QWidget& f, const QDate& d) { f.findChild<ui::DbDatePicker*>("DP1")->setDate(d); }

    // Sheet rows as "code: base + commission = subtotal" in grid order.
    QStringList sheet()
    {
        QStringList out;
        db::Dataset& q = salaryQ();
        for (int r = 0; r < q.recordCount(); ++r) {
            auto text = [&](const char* field) { return q.displayText(r, q.fieldIndex(field)); };
            out << QStringLiteral("%1: %2 + %3 = %4").arg(text("empl_code"), text("low_salary"), text("add_fee"),
                                                       text("sub_tota"));
        }
        return out;
    }

    void computeMarch(TFrmSalary& f)
    {
        setMonth(f, QDate(2024, 3, 15));
        click(f, "cmd_find");
    }
};

TEST_F(SalaryFormTest, OpensOnAnEmptySheet)
{
    exec("insert into salary (empl_code, add_fee) values ('OLD', 1)");
    TFrmSalary f;

    EXPECT_EQ(f.objectName(), "FrmSalary");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("薪资统计"));
    EXPECT_EQ(f.size(), QSize(792, 573));
    EXPECT_EQ(count("salary"), 0);
    EXPECT_TRUE(salaryQ().isActive());
    EXPECT_EQ(salaryQ().recordCount(), 0);
    EXPECT_EQ(f.findChild<ui::DbDatePicker*>("DP1")->date(), QDate::currentDate());
    EXPECT_FALSE(f.findChild<QProgressBar*>("PB1")->isVisibleTo(&f));
    EXPECT_TRUE(totalBox(f)->isReadOnly());
    EXPECT_EQ(combo(f, "ComboBox1")->count(), 3);
    EXPECT_EQ(combo(f, "ComboBox2")->itemText(1), QStringLiteral("李四"));
    const std::pair<const char*, const char*> buttons[] = {
        {"cmd_find", "查询[&F]"}, {"cmd_prin", "打印[&P]"}, {"cmd_exit", "退出[&X]"}};
    for (const auto& [name, caption] : buttons) {
        QPushButton* b = button(f, name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), QString::fromUtf8(caption));
    }
    auto* grid = f.findChild<ui::DbGrid*>("DBGrid1");
    ASSERT_NE(grid, nullptr);
    QStringList titles;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        titles << grid->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, (QStringList{"员工编号", "姓名", "性别", "部门", "保障底薪", "提成金额", "小计"}));
}

TEST_F(SalaryFormTest, FindAndPrintFollowTheRightsAtPosition34)
{
    struct Case {
        const char* name;
        QString find, print;
        bool findOn, printOn;
    };
    const Case cases[] = {
        {"both granted", rights("34"), rights("34"), true, true},
        {"find only", rights("34"), rights("1,33,35"), true, false},
        {"print only", rights("28,33"), rights("34"), false, true},
        {"neither", rights("1,2,3,33,35,38"), rights("33,35"), false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PowFind = c.find;
        PowPrin = c.print;
        TFrmSalary f;
        EXPECT_EQ(button(f, "cmd_find")->isEnabled(), c.findOn);
        EXPECT_EQ(button(f, "cmd_prin")->isEnabled(), c.printOn);
        EXPECT_TRUE(button(f, "cmd_exit")->isEnabled());
    }
}

TEST_F(SalaryFormTest, TheSheetIsBasePayPlusTheMonthsCommissionPerEmployee)
{
    TFrmSalary f;
    show(f);
    computeMarch(f);

    // E1: stylist 150 × 15% + sale 400 × 5%; E2: middle 150 × 10%; E3: assistant 150 × 5%.
    EXPECT_EQ(sheet(), (QStringList{"E1: 2000 + 42.5 = 2042.5", "E2: 1500.5 + 15 = 1515.5", "E3:  + 7.5 = 7.5"}));
    EXPECT_EQ(count("salary"), 3);
    EXPECT_DOUBLE_EQ(scalar("select add_fee from salary where empl_code='E1'").toDouble(), 42.5);
    EXPECT_EQ(totalBox(f)->text(), "3565.5");
    EXPECT_EQ(salaryQ().recNo(), 0);
    EXPECT_EQ(salaryQ().asString("empl_name"), QStringLiteral("张三"));
    EXPECT_EQ(salaryQ().asString("dept_name"), QStringLiteral("美发部"));
    // The lines left behind are those of the last employee computed.
    EXPECT_EQ(scalar("select distinct empl_code from listtemp").toString(), "E3");
}

TEST_F(SalaryFormTest, EachCommissionIsThatOfTheEmployeesOwnRun)
{
    // Codes on bills compare as the ledger compares them: letters A to Z in
    // either case, every other character exactly.
    addEmployee(QStringLiteral("É4"), QStringLiteral("孙八"), 100);
    addBill("C1", "2024-03-06", "A1", 120, "e1", " E2", "E3 ");
    addBill("C2", "2024-03-07", "A1", 120, QStringLiteral("é4"), "e3", "E1");
    addBill("C3", "2024-03-08", "A1", 120, QStringLiteral("É4"), {}, "e2", "SERVEFEE");
    addBill("C4", "2024-03-31 23:59:59", "NOPE", 90, "E2", "E1", QStringLiteral("É4"));
    addBill("C5", "2024-04-01 00:00:00", "A1", 120, "E1", "E2", "E3");
    addBill("C6", "2024-02-29 23:59:59", "A1", 120, "E1", "E2", "E3");
    TFrmSalary f;
    show(f);
    computeMarch(f);
    std::map<QString, double> sheetCommission;
    for (int r = 0; r < salaryQ().recordCount(); ++r)
        sheetCommission[salaryQ().value(r, salaryQ().fieldIndex("empl_code")).toString()] =
            salaryQ().value(r, salaryQ().fieldIndex("add_fee")).toDouble();
    const auto lastLines = lines();

    ASSERT_EQ(sheetCommission.size(), 4u);
    for (const auto& [code, commission] : sheetCommission) {
        SCOPED_TRACE(code.toStdString());
        ASSERT_TRUE(RunCommission(code, CommissionPeriod::monthOf(QDate(2024, 3, 1)), CommissionKinds::All));
        EXPECT_DOUBLE_EQ(commission, SumCommission());
    }
    // E1: B1 and C1 as stylist, C2 as assistant, C4 as middle worker (no price), the sale S1.
    EXPECT_DOUBLE_EQ(sheetCommission["E1"], 22.5 + 22.5 + 7.5 + 0 + 20);
    EXPECT_DOUBLE_EQ(sheetCommission["E2"], 15 + 7.5 + 0);
    EXPECT_DOUBLE_EQ(sheetCommission["E3"], 7.5 + 15);
    EXPECT_DOUBLE_EQ(sheetCommission[QStringLiteral("É4")], 22.5 + 0);
    // The lines left are those of the last employee on the sheet.
    salaryQ().last();
    RunCommission(salaryQ().asString("empl_code"), CommissionPeriod::monthOf(QDate(2024, 3, 1)), CommissionKinds::All);
    EXPECT_EQ(billNumbers(lines()), billNumbers(lastLines));
}

TEST_F(SalaryFormTest, AnEmployeeWithoutWorkGetsTheBasePay)
{
    addEmployee("E4", QStringLiteral("赵六"), 1000);
    addEmployee("E5", QStringLiteral("钱七"));
    TFrmSalary f;
    show(f);
    computeMarch(f);

    const QStringList rows = sheet();
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows[3], "E4: 1000 + 0 = 1000");
    EXPECT_EQ(rows[4], "E5:  + 0 = 0");
    EXPECT_EQ(totalBox(f)->text(), "4565.5");
}

TEST_F(SalaryFormTest, OneRowPerCodeAndNoneForABlankCode)
{
    addEmployee("E1", QStringLiteral("张三丰"), 999);
    addEmployee("", QStringLiteral("无名"), 500);
    addEmployee("  ", QStringLiteral("空白"), 500);
    TFrmSalary f;
    show(f);
    computeMarch(f);

    EXPECT_EQ(count("salary"), 3);
    EXPECT_EQ(count("salary", "empl_code='E1'"), 1);
}

TEST_F(SalaryFormTest, AnyDayOfTheMonthGivesTheSameSheet)
{
    TFrmSalary f;
    show(f);
    setMonth(f, QDate(2024, 3, 1));
    click(f, "cmd_find");
    const QStringList first = sheet();
    setMonth(f, QDate(2024, 3, 31));
    click(f, "cmd_find");
    EXPECT_EQ(sheet(), first);
    setMonth(f, QDate(2024, 4, 30));
    click(f, "cmd_find");
    EXPECT_EQ(sheet().first(), "E1: 2000 + 22.5 = 2022.5");
}

TEST_F(SalaryFormTest, WithoutStaffTheSheetIsEmptiedToo)
{
    TFrmSalary f;
    show(f);
    computeMarch(f);
    exec("delete from employee");
    click(f, "cmd_find");

    EXPECT_EQ(count("salary"), 0);
    EXPECT_EQ(salaryQ().recordCount(), 0);
    EXPECT_EQ(totalBox(f)->text(), "0");
    EXPECT_FALSE(f.findChild<QProgressBar*>("PB1")->isVisible());
}

TEST_F(SalaryFormTest, TheProgressBarMovesOncePerEmployeeAndHides)
{
    for (int i = 4; i <= 8; ++i)
        addEmployee(QStringLiteral("E%1").arg(i), QStringLiteral("员工%1").arg(i), 100);
    TFrmSalary f;
    show(f);
    auto* bar = f.findChild<QProgressBar*>("PB1");
    std::vector<int> positions;
    std::vector<bool> shown;
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) {
        positions.push_back(v);
        shown.push_back(bar->isVisible());
    });
    computeMarch(f);

    // i / 8 × 100 with halves to the even neighbour.
    EXPECT_EQ(positions, (std::vector<int>{0, 12, 25, 38, 50, 62, 75, 88}));
    EXPECT_EQ(shown, std::vector<bool>(8, true));
    EXPECT_FALSE(bar->isVisible());

    exec("delete from employee where empl_code<>'E1'");
    positions.clear();
    click(f, "cmd_find");
    EXPECT_EQ(positions, std::vector<int>{0});
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(SalaryFormTest, TheCodeBoxNamesTheEmployeeAndFindsTheRow)
{
    TFrmSalary f;
    show(f);
    computeMarch(f);
    QComboBox* code = combo(f, "ComboBox1");
    QComboBox* name = combo(f, "ComboBox2");

    code->setFocus();
    QTest::keyClick(code, Qt::Key_Down); // chooses E1 from the list
    QTest::keyClick(code, Qt::Key_Down); // and then E2
    EXPECT_EQ(code->currentText(), "E2");
    EXPECT_EQ(name->currentText(), QStringLiteral("李四"));
    EXPECT_EQ(salaryQ().asString("empl_code"), "E2");

    code->lineEdit()->selectAll();
    QTest::keyClicks(code->lineEdit(), "E3");
    EXPECT_EQ(name->currentText(), QStringLiteral("王五"));
    EXPECT_EQ(salaryQ().asString("empl_code"), "E2"); // typing finds no row

    code->lineEdit()->selectAll();
    QTest::keyClicks(code->lineEdit(), "X9");
    EXPECT_EQ(name->currentText(), QString());
}

TEST_F(SalaryFormTest, TypedTextNeverJoinsTheLists)
{
    TFrmSalary f;
    show(f);
    for (const char* name : {"ComboBox1", "ComboBox2"}) {
        SCOPED_TRACE(name);
        QComboBox* box = combo(f, name);
        box->setFocus();
        QTest::keyClicks(box->lineEdit(), "X9");
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(box->count(), 3);
        EXPECT_EQ(box->findText("X9"), -1);
    }
}

TEST_F(SalaryFormTest, ChoosingANameTakesItsCodeAndFindsTheRow)
{
    TFrmSalary f;
    show(f);
    computeMarch(f);
    QComboBox* code = combo(f, "ComboBox1");
    QComboBox* name = combo(f, "ComboBox2");

    testui::typeText(name->lineEdit(), QStringLiteral("李四"));
    EXPECT_EQ(code->currentText(), QString()); // typing a name does nothing
    EXPECT_EQ(salaryQ().recNo(), 0);

    name->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(name, Qt::Key_Down); // down the list to 王五
    EXPECT_EQ(name->currentText(), QStringLiteral("王五"));
    EXPECT_EQ(code->currentText(), "E3");
    EXPECT_EQ(salaryQ().asString("empl_code"), "E3");
}

TEST_F(SalaryFormTest, ThePrintedSheetHoldsEveryEmployeeAndTheTotal)
{
    for (int i = 10; i < 70; ++i)
        addEmployee(QStringLiteral("P%1").arg(i), QStringLiteral("员工%1").arg(i), 100);
    TFrmSalary f;
    show(f);
    const QDate chosen(2024, 3, 17);
    setMonth(f, chosen);
    click(f, "cmd_find");
    ASSERT_EQ(salaryQ().recordCount(), 63);

    report::PreviewCapture capture;
    click(f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const report::PageModel& m = capture.last();
    ASSERT_GE(m.pageCount(), 2);
    EXPECT_EQ(m.paperSize, QSizeF(210, 297));
    EXPECT_EQ(m.margins, QMarginsF(10, 10, 10, 10));

    const QString date = chosen.toString(QStringLiteral("yyyy-MM-dd"));
    std::multiset<QString> printed;
    for (const report::Page& p : m.pages) {
        const QStringList header = p.textsOf(BandKind::PageHeader);
        EXPECT_TRUE(header.contains(QStringLiteral("薪资统计")));
        EXPECT_TRUE(header.contains(QStringLiteral("统计月份")));
        EXPECT_TRUE(header.contains(date));
        for (const char* heading : {"员工编号", "姓名", "性别", "部门", "保障底薪", "提成金额", "小计"})
            EXPECT_TRUE(header.contains(QString::fromUtf8(heading))) << heading;
        const QStringList detail = p.textsOf(BandKind::Detail);
        for (int i = 0; i < detail.size(); i += 7)
            printed.insert(detail[i]);
    }
    std::multiset<QString> codes{"E1", "E2", "E3"};
    for (int i = 10; i < 70; ++i)
        codes.insert(QStringLiteral("P%1").arg(i));
    EXPECT_EQ(printed, codes);

    const QStringList firstRow = m.pages[0].textsOf(BandKind::Detail).mid(0, 7);
    EXPECT_EQ(firstRow, (QStringList{"E1", QStringLiteral("张三"), QStringLiteral("男"), QStringLiteral("美发部"),
                                     "2000", "42.5", "2042.5"}));
    const QStringList summary = m.pages.back().textsOf(BandKind::Summary);
    EXPECT_EQ(summary, (QStringList{QStringLiteral("薪资总额"), "9565.5"}));
    EXPECT_EQ(totalBox(f)->text(), "9565.5");
    for (size_t i = 0; i + 1 < m.pages.size(); ++i)
        EXPECT_TRUE(m.pages[i].textsOf(BandKind::Summary).isEmpty());
}

TEST_F(SalaryFormTest, ThePrintedSheetIsDatedWithTheDayItWasComputedFor)
{
    TFrmSalary f;
    show(f);
    const QDate computed(2024, 3, 17);
    setMonth(f, computed);
    click(f, "cmd_find");
    setMonth(f, QDate(2024, 4, 2)); // moved, not computed

    report::PreviewCapture capture;
    click(f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const QStringList header = capture.last().pages.at(0).textsOf(BandKind::PageHeader);
    EXPECT_TRUE(header.contains(computed.toString(QStringLiteral("yyyy-MM-dd"))));
    EXPECT_FALSE(header.contains(QDate(2024, 4, 2).toString(QStringLiteral("yyyy-MM-dd"))));
    EXPECT_EQ(capture.last().pages.back().textsOf(BandKind::Summary), (QStringList{QStringLiteral("薪资总额"), "3565.5"}));
}

TEST_F(SalaryFormTest, ThePrintedTotalStandsUnderTheSubtotalColumn)
{
    TFrmSalary f;
    show(f);
    setMonth(f, QDate(2024, 3, 17));
    click(f, "cmd_find");
    report::PreviewCapture capture;
    click(f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const report::Page& p = capture.last().pages.at(0);
    EXPECT_TRUE(totalStandsUnder(p, totalBox(f)->text(), BandKind::PageHeader, QStringLiteral("小计")));
}

TEST_F(SalaryFormTest, NothingIsPrintedBeforeASheetOrForATotalOfZero)
{
    TFrmSalary f;
    show(f);
    report::PreviewCapture capture;
    click(f, "cmd_prin");
    EXPECT_EQ(capture.count(), 0);

    exec("update employee set low_salary=null");
    setMonth(f, QDate(2024, 5, 1));
    click(f, "cmd_find");
    EXPECT_EQ(totalBox(f)->text(), "0");
    click(f, "cmd_prin");
    EXPECT_EQ(capture.count(), 0);
}

TEST_F(SalaryFormTest, AnEmployeeWhoseCommissionFailsIsNamedAndEveryOtherGetsTheirRow)
{
    const QString tooLong(31, QLatin1Char('K')); // longer than a salary row's code
    addEmployee(tooLong, QStringLiteral("超长"), 100);
    addEmployee("E4", QStringLiteral("赵六"), 1000);
    TFrmSalary f;
    show(f);

    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Message, tooLong + QStringLiteral(" 超长："));
    computeMarch(f);
    prompts.verify();
    EXPECT_TRUE(prompts.last().text.startsWith(QStringLiteral("以下员工的薪资未能计算")));
    EXPECT_FALSE(prompts.last().text.contains("constraint")) << prompts.last().text.toStdString();

    EXPECT_EQ(sheet(), (QStringList{"E1: 2000 + 42.5 = 2042.5", "E2: 1500.5 + 15 = 1515.5", "E3:  + 7.5 = 7.5",
                                    "E4: 1000 + 0 = 1000"}));
    EXPECT_EQ(count("salary"), 4);
    EXPECT_EQ(totalBox(f)->text(), "4565.5");
    EXPECT_EQ(conn().transactionDepth(), 0);
    EXPECT_FALSE(f.findChild<QProgressBar*>("PB1")->isVisible());
}

TEST_F(SalaryFormTest, ASheetThatCannotBeWrittenKeepsTheEarlierOne)
{
    TFrmSalary f;
    show(f);
    computeMarch(f);
    const QStringList before = sheet();
    exec("create trigger keep_sheet before delete on salary begin select raise(abort, '薪资表被锁定'); end");

    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Error, QStringLiteral("薪资表被锁定"));
    click(f, "cmd_find");
    prompts.verify();

    EXPECT_EQ(count("salary"), 3);
    EXPECT_EQ(sheet(), before);
    EXPECT_EQ(totalBox(f)->text(), "3565.5");
    EXPECT_EQ(conn().transactionDepth(), 0);
    EXPECT_FALSE(f.findChild<QProgressBar*>("PB1")->isVisible());
}

TEST_F(SalaryFormTest, TheSubtotalIsNoLongerComputedOnceTheFormIsGone)
{
    {
        TFrmSalary f;
        show(f);
        computeMarch(f);
    }
    salaryQ().close();
    salaryQ().open();
    ASSERT_EQ(salaryQ().recordCount(), 3);
    EXPECT_EQ(salaryQ().displayText("sub_tota"), QString());
}

} // namespace
