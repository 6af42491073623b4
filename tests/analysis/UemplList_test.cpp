#include "analysis/UemplList.h"

#include "tests/analysis/CommissionFixture_test.h"
#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"

#include "platform/report/Preview.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>

namespace {

using report::BandKind;

class EmplListFormTest : public CommissionDb {
protected:
    void SetUp() override
    {
        CommissionDb::SetUp();
        grantAllRights();
        SaleCommissionRate = 5;
        addEmployee("E1", QStringLiteral("张三"), 2000);
        addEmployee("E2", QStringLiteral("李四"), 1500);
        addItem("A1", 150, 15, 10, 5);
        addBill("B1", "2024-03-05", "A1", 120, "E1", "E2", "E1");
        addBill("B2", "2024-03-08", "NOPE", 80, "E1");
        addBill("B3", "2024-03-25", "A1", 120, "E1");
        addSale("S1", "2024-03-06", "C01", 400, "E1");
    }

    db::Dataset& listTempQ() { return dataMod().ListTempQ; }

    static QComboBox* combo(QWidget& f, const char* name) { return f.findChild<QComboBox*>(name); }
    static QString text(QWidget& f, const char* box) { return f.findChild<QLineEdit*>(box)->text(); }
    static void setRange(QWidget& f, const QDate& first, const QDate& last)
    {
        f.findChild<ui::DbDatePicker*>("DP1")->setDate(first);
        f.findChild<ui::DbDatePicker*>("DP2")->setDate(last);
    }
    static void choose(QWidget& f, const char* radio)
    {
        // On the indicator: a radio button takes clicks on its circle and caption only.
        QRadioButton* b = f.findChild<QRadioButton*>(radio);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    // Types the code as a user would, replacing what the box holds.
    static void typeCode(QWidget& f, const QString& code)
    {
        QLineEdit* edit = combo(f, "ComboBox1")->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, code);
    }

    QStringList shownBills()
    {
        QStringList out;
        for (int r = 0; r < listTempQ().recordCount(); ++r)
            out << listTempQ().displayText(r, listTempQ().fieldIndex("bill_no"));
        return out;
    }

    void findMarchOf(TFrmEmplList& f, const QString& code)
    {
        typeCode(f, code);
        setRange(f, QDate(2024, 3, 1), QDate(2024, 3, 31));
        click(f, "cmd_find");
    }
};

TEST_F(EmplListFormTest, OpensOnNoLines)
{
    exec("insert into listtemp (bill_no, empl_code) values ('OLD', 'E9')");
    TFrmEmplList f;

    EXPECT_EQ(f.objectName(), "FrmEmplList");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("个人业绩明细"));
    EXPECT_EQ(f.size(), QSize(792, 573));
    EXPECT_EQ(count("listtemp"), 0);
    EXPECT_TRUE(listTempQ().isActive());
    EXPECT_EQ(listTempQ().recordCount(), 0);
    EXPECT_EQ(f.findChild<ui::DbDatePicker*>("DP1")->date(), QDate::currentDate());
    EXPECT_EQ(f.findChild<ui::DbDatePicker*>("DP2")->date(), QDate::currentDate());
    EXPECT_TRUE(f.findChild<QRadioButton*>("RadioButton1")->isChecked());
    EXPECT_EQ(f.findChild<QRadioButton*>("RadioButton2")->text(), QStringLiteral("只统计服务项目"));
    EXPECT_EQ(f.findChild<QRadioButton*>("RadioButton3")->text(), QStringLiteral("只统计销售"));
    EXPECT_EQ(combo(f, "ComboBox1")->count(), 2);
    EXPECT_EQ(combo(f, "ComboBox2")->itemText(0), QStringLiteral("张三"));
    EXPECT_TRUE(f.findChild<QLineEdit*>("Edit1")->isReadOnly());
    EXPECT_TRUE(f.findChild<QLineEdit*>("Edit2")->isReadOnly());
    auto* grid = f.findChild<ui::DbGrid*>("DBGrid1");
    ASSERT_NE(grid, nullptr);
    QStringList titles;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        titles << grid->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, (QStringList{"单据编号", "日期", "项目编号", "项目金额", "提成比例(%)", "提成金额", "备注"}));
}

TEST_F(EmplListFormTest, FindFollowsTheEditRightAtPosition28AndPrintIsOpenToAll)
{
    struct Case {
        const char* name;
        QString edit, find;
        bool findOn;
    };
    const Case cases[] = {
        {"edit right", rights("28"), rights(""), true},
        {"find right only", rights("27,29"), rights("28"), false},
        {"nothing", rights(""), rights(""), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PowEdit = c.edit;
        PowFind = c.find;
        PowPrin = rights("");
        TFrmEmplList f;
        EXPECT_EQ(button(f, "cmd_find")->isEnabled(), c.findOn);
        EXPECT_TRUE(button(f, "cmd_prin")->isEnabled());
        EXPECT_TRUE(button(f, "cmd_exit")->isEnabled());
    }
}

TEST_F(EmplListFormTest, FindShowsTheLinesAndTheirTotals)
{
    TFrmEmplList f;
    show(f);
    findMarchOf(f, "E1");

    // Stylist B1, B2, B3; assistant B1; the sale.
    EXPECT_EQ(shownBills(), (QStringList{"B1", "B2", "B3", "B1", "S1"}));
    EXPECT_EQ(listTempQ().recNo(), 0);
    // Bases 150 + 80 + 150 + 150 + 400; commissions 22.5 + 22.5 + 7.5 + 20, B2 having none.
    EXPECT_EQ(text(f, "Edit1"), "930");
    EXPECT_EQ(text(f, "Edit2"), "72.5");
    EXPECT_EQ(listTempQ().displayText(1, listTempQ().fieldIndex("rate_value")), QString());
}

TEST_F(EmplListFormTest, TheChoiceOfKindsDecidesWhichLinesComeOut)
{
    TFrmEmplList f;
    show(f);
    choose(f, "RadioButton2");
    findMarchOf(f, "E1");
    EXPECT_EQ(shownBills(), (QStringList{"B1", "B2", "B3", "B1"}));
    EXPECT_EQ(text(f, "Edit2"), "52.5");

    choose(f, "RadioButton3");
    ASSERT_TRUE(f.findChild<QRadioButton*>("RadioButton3")->isChecked());
    click(f, "cmd_find");
    EXPECT_EQ(shownBills(), QStringList{"S1"});
    EXPECT_EQ(text(f, "Edit1"), "400");
    EXPECT_EQ(text(f, "Edit2"), "20");

    typeCode(f, "E2");
    click(f, "cmd_find");
    EXPECT_TRUE(shownBills().isEmpty());
    EXPECT_EQ(text(f, "Edit1"), "0");
    EXPECT_EQ(text(f, "Edit2"), "0");
}

TEST_F(EmplListFormTest, ABlankCodeFindsNothingAndKeepsWhatIsShown)
{
    TFrmEmplList f;
    show(f);
    findMarchOf(f, "E1");
    typeCode(f, "   ");
    click(f, "cmd_find");

    EXPECT_EQ(shownBills().size(), 5);
    EXPECT_EQ(count("listtemp"), 5);
    EXPECT_EQ(text(f, "Edit1"), "930");
}

TEST_F(EmplListFormTest, RangesCountTheirEndDaysAndAReversedRangeNothing)
{
    TFrmEmplList f;
    show(f);
    typeCode(f, "E1");
    setRange(f, QDate(2024, 3, 5), QDate(2024, 3, 5));
    click(f, "cmd_find");
    EXPECT_EQ(shownBills(), (QStringList{"B1", "B1"}));

    setRange(f, QDate(2024, 3, 6), QDate(2024, 3, 25));
    click(f, "cmd_find");
    EXPECT_EQ(shownBills(), (QStringList{"B2", "B3", "S1"}));

    setRange(f, QDate(2024, 3, 31), QDate(2024, 3, 1));
    click(f, "cmd_find");
    EXPECT_TRUE(shownBills().isEmpty());
    EXPECT_EQ(text(f, "Edit1"), "0");
    EXPECT_EQ(text(f, "Edit2"), "0");
}

TEST_F(EmplListFormTest, CodeAndNameBoxesFillEachOther)
{
    TFrmEmplList f;
    show(f);
    QComboBox* code = combo(f, "ComboBox1");
    QComboBox* name = combo(f, "ComboBox2");

    typeCode(f, "E2");
    EXPECT_EQ(name->currentText(), QStringLiteral("李四"));

    name->lineEdit()->selectAll();
    testui::typeText(name->lineEdit(), QStringLiteral("张三"));
    EXPECT_EQ(code->currentText(), "E1");
    EXPECT_EQ(name->currentText(), QStringLiteral("张三"));

    name->lineEdit()->selectAll();
    testui::typeText(name->lineEdit(), QStringLiteral("无此人"));
    EXPECT_EQ(code->currentText(), QString());
}

TEST_F(EmplListFormTest, ThePrintedDetailCarriesTheBoxesOnEveryPage)
{
    for (int i = 10; i < 70; ++i)
        addBill(QStringLiteral("X%1").arg(i), "2024-03-20", "A1", 120, "E1");
    TFrmEmplList f;
    show(f);
    findMarchOf(f, "E1");
    ASSERT_EQ(listTempQ().recordCount(), 65);
    const QString base = text(f, "Edit1");
    const QString commission = text(f, "Edit2");

    report::PreviewCapture capture;
    click(f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const report::PageModel& m = capture.last();
    ASSERT_GE(m.pageCount(), 2);
    int rows = 0;
    for (const report::Page& p : m.pages) {
        const QStringList header = p.textsOf(BandKind::PageHeader);
        for (const QString& expected :
             {QStringLiteral("个人业绩明细"), QStringLiteral("E1"), QStringLiteral("张三"),
              QDate(2024, 3, 1).toString(QStringLiteral("yyyy-MM-dd")),
              QDate(2024, 3, 31).toString(QStringLiteral("yyyy-MM-dd")), base, commission,
              QStringLiteral("提成比例（%）"), QStringLiteral("单据号")})
            EXPECT_TRUE(header.contains(expected)) << expected.toStdString();
        rows += int(p.textsOf(BandKind::Detail).size()) / 7;
    }
    EXPECT_EQ(rows, 65);
    const QStringList lastPage = m.pages.back().textsOf(BandKind::Detail);
    const QStringList sale = lastPage.mid(lastPage.size() - 7);
    EXPECT_EQ(sale.at(0), "S1");
    EXPECT_EQ(sale.at(2), "C01");
    EXPECT_EQ(sale.at(3), "400");
    EXPECT_EQ(sale.at(4), "5");
    EXPECT_EQ(sale.at(5), "20");
    EXPECT_EQ(sale.at(6), QStringLiteral("销售"));
}

TEST_F(EmplListFormTest, TypedTextNeverJoinsTheLists)
{
    TFrmEmplList f;
    show(f);
    for (const char* name : {"ComboBox1", "ComboBox2"}) {
        SCOPED_TRACE(name);
        QComboBox* box = combo(f, name);
        box->setFocus();
        QTest::keyClicks(box->lineEdit(), "X9");
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(box->count(), 2);
        EXPECT_EQ(box->findText("X9"), -1);
    }
}

TEST_F(EmplListFormTest, ThePrintedHeadingNamesWhomAndWhenTheLinesWereFoundFor)
{
    TFrmEmplList f;
    show(f);
    findMarchOf(f, "E1");
    // Another employee and other days chosen, but not found.
    typeCode(f, "E2");
    ASSERT_EQ(combo(f, "ComboBox2")->currentText(), QStringLiteral("李四"));
    setRange(f, QDate(2024, 4, 1), QDate(2024, 4, 30));

    report::PreviewCapture capture;
    click(f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const QStringList header = capture.last().pages.at(0).textsOf(BandKind::PageHeader);
    for (const QString& expected :
         {QStringLiteral("E1"), QStringLiteral("张三"), QDate(2024, 3, 1).toString(QStringLiteral("yyyy-MM-dd")),
          QDate(2024, 3, 31).toString(QStringLiteral("yyyy-MM-dd")), QStringLiteral("930"), QStringLiteral("72.5")})
        EXPECT_TRUE(header.contains(expected)) << expected.toStdString();
    for (const QString& unexpected : {QStringLiteral("E2"), QStringLiteral("李四"),
                                      QDate(2024, 4, 1).toString(QStringLiteral("yyyy-MM-dd"))})
        EXPECT_FALSE(header.contains(unexpected)) << unexpected.toStdString();
}

TEST_F(EmplListFormTest, ACodeTypedInAnyLetterCaseHeadsThePrintAsTheStaffRecordSpellsIt)
{
    addEmployee("Ab3", QStringLiteral("王五"), 1000);
    addBill("B9", "2024-03-09", "A1", 120, "Ab3");
    TFrmEmplList f;
    show(f);
    findMarchOf(f, "aB3");
    ASSERT_EQ(shownBills(), QStringList{"B9"});
    report::PreviewCapture capture;
    click(f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const QStringList header = capture.last().pages.at(0).textsOf(BandKind::PageHeader);
    EXPECT_TRUE(header.contains(QStringLiteral("Ab3")));
    EXPECT_FALSE(header.contains(QStringLiteral("aB3")));
}

TEST_F(EmplListFormTest, NothingIsPrintedWithoutLines)
{
    TFrmEmplList f;
    show(f);
    report::PreviewCapture capture;
    click(f, "cmd_prin");
    typeCode(f, "E2");
    setRange(f, QDate(2024, 1, 1), QDate(2024, 1, 31));
    click(f, "cmd_find");
    click(f, "cmd_prin");
    EXPECT_EQ(capture.count(), 0);
}

TEST_F(EmplListFormTest, AFailedFindKeepsTheLinesAndTotalsShown)
{
    TFrmEmplList f;
    show(f);
    findMarchOf(f, "E1");
    exec("create trigger refuse_sales before update of bill_note on listtemp when new.bill_note='销售' "
         "begin select raise(abort, 'sales refused'); end");

    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Error, "sales refused");
    typeCode(f, "E2");
    addSale("S2", "2024-03-07", "C02", 100, "E2");
    click(f, "cmd_find");
    prompts.verify();

    EXPECT_EQ(shownBills(), (QStringList{"B1", "B2", "B3", "B1", "S1"}));
    EXPECT_EQ(count("listtemp", "empl_code='E1'"), 5);
    EXPECT_EQ(text(f, "Edit1"), "930");
    EXPECT_EQ(text(f, "Edit2"), "72.5");
    EXPECT_EQ(conn().transactionDepth(), 0);
}

} // namespace
