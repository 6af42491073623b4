#include "tests/analysis/LedgerFixture_test.h"

#include "tests/support/PromptResponder.h"
#include "analysis/Uservelist.h"
#include "platform/report/Preview.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbLineEdit.h"

#include <QCheckBox>
#include <memory>

namespace {

using namespace ledgerui;

using Kind = testui::PromptResponder::Kind;

const QDate kMar1(2026, 3, 1);
const QDate kMar5(2026, 3, 5);
const QDate kMar10(2026, 3, 10);

class ServeListTest : public LedgerDb {
protected:
    void SetUp() override
    {
        LedgerDb::SetUp();
        addBill("B01", QDate(2026, 2, 28), "C1", "S1", 100);
        addBill("B02", kMar1, "C1", "S1", 100);
        addBill("B03", kMar5, "C2", "S2", 270, 300);
        addBill("B04", kMar10, "C2", "S3", 80);
        addBill("B05", QDate(2026, 3, 11), "C1", "S3", 80);
        // Money of other kinds in the range is never a service bill.
        addMoney("savemoney", kMar5, 1000, "C1");
        addMoney("income", kMar5, 50, {}, "I01");
        addMoney("Outlay", kMar5, 40, {}, "O01");
    }

    std::unique_ptr<TFrmServeList> openForm()
    {
        auto f = std::make_unique<TFrmServeList>();
        showActive(*f);
        range(*f, kMar1, kMar10);
        return f;
    }
    static void range(TFrmServeList& f, const QDate& from, const QDate& to)
    {
        child<ui::DbDatePicker>(f, "DP1")->setDate(from);
        child<ui::DbDatePicker>(f, "DP2")->setDate(to);
    }
    static ui::DbGrid* grid(TFrmServeList& f) { return child<ui::DbGrid>(f, "DBGrid1"); }
    static QString total(TFrmServeList& f) { return child<QLineEdit>(f, "Edit2")->text(); }
};

TEST_F(ServeListTest, OpensEmptyOnTodayWithEveryItemChosen)
{
    TFrmServeList f;
    showActive(f);
    EXPECT_EQ(f.objectName(), "FrmServeList");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("会员消费明细"));
    EXPECT_TRUE(child<QCheckBox>(f, "CheckBox1")->isChecked());
    EXPECT_EQ(child<ui::DbDatePicker>(f, "DP1")->value(), QDate::currentDate());
    EXPECT_EQ(child<ui::DbDatePicker>(f, "DP2")->value(), QDate::currentDate());
    EXPECT_EQ(grid(f)->model()->rowCount(), 0);
    EXPECT_EQ(headings(grid(f)), QStringList({"服务单号", "开单日期", "会员卡号", "姓名", "服务项目", "名称", "类型",
                                              "开单人", "应收款", "已收款"}));
    auto* codes = child<ui::DbComboBox>(f, "ComboBox1");
    EXPECT_EQ(codes->count(), 3);
    EXPECT_GE(codes->findText("S2"), 0);
    auto* types = child<ui::DbComboBox>(f, "ComboBox2");
    EXPECT_EQ(types->count(), 2) << "categories are listed once each";
    EXPECT_EQ(child(f, "cmd_add")->text(), QStringLiteral("查询&F"));
    EXPECT_EQ(child(f, "cmd_prin")->text(), QStringLiteral("打印&P"));
}

TEST_F(ServeListTest, ListsTheServiceBillsOfTheRangeWithTheirTotal)
{
    auto f = openForm();
    click(*f, "cmd_add");
    EXPECT_EQ(column(grid(*f), "bill_no"), QStringList({"B02", "B03", "B04"}))
        << "both ends of the range count; other kinds of money never";
    EXPECT_EQ(column(grid(*f), "insi_name"), QStringList({"张三", "李四", "李四"}));
    EXPECT_EQ(column(grid(*f), "serve_name"), QStringList({"洗剪吹", "烫发", "护理"}));
    EXPECT_EQ(column(grid(*f), "serv_fee"), QStringList({"100", "300", "80"}));
    EXPECT_EQ(total(*f), "450") << "the total adds the amounts due";
}

TEST_F(ServeListTest, ChoosingAnItemCodeListsThatItemOnly)
{
    auto f = openForm();
    auto* codes = child<ui::DbComboBox>(*f, "ComboBox1");
    auto* types = child<ui::DbComboBox>(*f, "ComboBox2");
    types->setText(QStringLiteral("美容"));
    chooseWithMouse(codes, "S1");
    EXPECT_EQ(child<QLineEdit>(*f, "Edit1")->text(), QStringLiteral("洗剪吹"));
    EXPECT_FALSE(child<QCheckBox>(*f, "CheckBox1")->isChecked());
    EXPECT_EQ(types->text(), "");

    range(*f, QDate(2026, 2, 1), QDate(2026, 3, 31));
    click(*f, "cmd_add");
    EXPECT_EQ(column(grid(*f), "bill_no"), QStringList({"B01", "B02"}));
    EXPECT_EQ(total(*f), "200");
}

TEST_F(ServeListTest, ChoosingACategoryListsTheItemsOfThatCategoryNow)
{
    auto f = openForm();
    auto* codes = child<ui::DbComboBox>(*f, "ComboBox1");
    chooseWithMouse(codes, "S2");
    chooseWithMouse(child<ui::DbComboBox>(*f, "ComboBox2"), QStringLiteral("美容"));
    EXPECT_EQ(codes->text(), "");
    EXPECT_EQ(child<QLineEdit>(*f, "Edit1")->text(), "");
    EXPECT_FALSE(child<QCheckBox>(*f, "CheckBox1")->isChecked());

    click(*f, "cmd_add");
    EXPECT_EQ(column(grid(*f), "bill_no"), QStringList({"B04"}));

    // The category is the item's at the time of the query, not the bill's.
    exec("update serveitem set serve_type='美容' where serve_code='S1'");
    click(*f, "cmd_add");
    EXPECT_EQ(column(grid(*f), "bill_no"), QStringList({"B02", "B04"}));
    EXPECT_EQ(total(*f), "180");
}

TEST_F(ServeListTest, AnItemCodeHeldByTwoItemsOfTheCategoryListsItsBillsOnce)
{
    exec("insert into serveitem (serve_code, serve_name, serve_type) values ('S3', '护理二', '美容')");
    auto f = openForm();
    chooseWithMouse(child<ui::DbComboBox>(*f, "ComboBox2"), QStringLiteral("美容"));
    click(*f, "cmd_add");
    EXPECT_EQ(column(grid(*f), "bill_no"), QStringList({"B04"}));
    EXPECT_EQ(total(*f), "80");
}

TEST_F(ServeListTest, TickingAllClearsTheOtherChoices)
{
    auto f = openForm();
    auto* all = child<QCheckBox>(*f, "CheckBox1");
    chooseWithMouse(child<ui::DbComboBox>(*f, "ComboBox1"), "S2");
    QTest::mouseClick(all, Qt::LeftButton);
    EXPECT_TRUE(all->isChecked());
    EXPECT_EQ(child<ui::DbComboBox>(*f, "ComboBox1")->text(), "");
    EXPECT_EQ(child<QLineEdit>(*f, "Edit1")->text(), "");
    click(*f, "cmd_add");
    EXPECT_EQ(grid(*f)->model()->rowCount(), 3);
}

TEST_F(ServeListTest, WithNothingChosenTheQueryAsksForAChoice)
{
    auto f = openForm();
    click(*f, "cmd_add");
    ASSERT_EQ(grid(*f)->model()->rowCount(), 3);
    QTest::mouseClick(child<QCheckBox>(*f, "CheckBox1"), Qt::LeftButton); // untick
    testui::PromptResponder prompts;
    prompts.expect(Kind::Message, QStringLiteral("请选择"));
    click(*f, "cmd_add");
    EXPECT_EQ(grid(*f)->model()->rowCount(), 3) << "the list stays";
}

TEST_F(ServeListTest, ARangeEndingBeforeItStartsIsEmpty)
{
    auto f = openForm();
    click(*f, "cmd_add");
    range(*f, kMar10, kMar1);
    click(*f, "cmd_add");
    EXPECT_EQ(grid(*f)->model()->rowCount(), 0);
    EXPECT_EQ(total(*f), "0");
}

TEST_F(ServeListTest, ABillOfAnUnknownCardShowsNoName)
{
    addBill("B09", kMar5, "C9", "S1", 100);
    auto f = openForm();
    click(*f, "cmd_add");
    const QStringList cards = column(grid(*f), "card_no");
    const QStringList names = column(grid(*f), "insi_name");
    ASSERT_TRUE(cards.contains("C9"));
    EXPECT_EQ(names[cards.indexOf("C9")], "");
}

TEST_F(ServeListTest, TheDetailPanelShowsTheCurrentLine)
{
    auto f = openForm();
    click(*f, "cmd_add");
    EXPECT_FALSE(child<QWidget>(*f, "GroupBox1")->isEnabled());
    clickRow(grid(*f), 1);
    EXPECT_EQ(child<ui::DbLineEdit>(*f, "DBEdit1")->text(), "B03");
    EXPECT_EQ(child<ui::DbDatePicker>(*f, "DateTimePicker1")->value(), kMar5);
    EXPECT_EQ(child<ui::DbLineEdit>(*f, "DBEdit3")->text(), QStringLiteral("李四"));
    EXPECT_EQ(child<ui::DbLineEdit>(*f, "DBEdit7")->text(), "300") << "the item's price";
    EXPECT_EQ(child<ui::DbLineEdit>(*f, "DBEdit10")->text(), QStringLiteral("托尼"));
    EXPECT_EQ(child<ui::DbLineEdit>(*f, "DBEdit16")->text(), "270");
    clickRow(grid(*f), 2);
    EXPECT_EQ(child<ui::DbDatePicker>(*f, "DateTimePicker1")->value(), kMar10);
}

TEST_F(ServeListTest, QueryAndPrintNeedNoRight)
{
    revokeAllRights();
    auto f = openForm();
    EXPECT_TRUE(child(*f, "cmd_add")->isEnabled());
    EXPECT_TRUE(child(*f, "cmd_prin")->isEnabled());
    EXPECT_TRUE(child(*f, "cmd_exit")->isEnabled());
    click(*f, "cmd_add");
    EXPECT_EQ(grid(*f)->model()->rowCount(), 3);
}

TEST_F(ServeListTest, AnEmptyListIsNotPrinted)
{
    auto f = openForm();
    report::PreviewCapture capture;
    click(*f, "cmd_prin");
    range(*f, kMar10, kMar1);
    click(*f, "cmd_add");
    click(*f, "cmd_prin");
    EXPECT_EQ(capture.count(), 0);
}

TEST_F(ServeListTest, PrintsTheListWithItsHeading)
{
    auto f = openForm();
    chooseWithMouse(child<ui::DbComboBox>(*f, "ComboBox1"), "S1");
    range(*f, QDate(2026, 2, 1), QDate(2026, 3, 31));
    click(*f, "cmd_add");
    clickRow(grid(*f), 1);

    report::PreviewCapture capture;
    click(*f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const report::PageModel& model = capture.last();
    EXPECT_EQ(model.paperSize, QSizeF(210, 297));
    ASSERT_EQ(model.pageCount(), 1);
    const report::Page& page = model.pages[0];
    const QStringList head = page.textsOf(report::BandKind::PageHeader);
    for (const char* text : {"会员消费明细", "项目编号", "S1", "项目名称", "洗剪吹", "日期范围", "2026-02-01",
                             "2026-03-31", "消费金额", "200", "服务单号", "开单日期", "会员卡号", "姓名", "服务项目",
                             "名称", "类型", "应收款", "已收款"})
        EXPECT_TRUE(head.contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(page.textsOf(report::BandKind::Detail),
              QStringList({"B01", "2026-02-28", "C1", "张三", "S1", "洗剪吹", "美发", "100", "100", //
                           "B02", "2026-03-01", "C1", "张三", "S1", "洗剪吹", "美发", "100", "100"}));
    EXPECT_EQ(page.textsOf(report::BandKind::Summary), QStringList());
    EXPECT_EQ(child<ui::DbLineEdit>(*f, "DBEdit1")->text(), "B02") << "printing leaves the current line";
}

TEST_F(ServeListTest, ThePrintedHeadingIsThatOfTheListNotOfLaterChoices)
{
    auto f = openForm();
    chooseWithMouse(child<ui::DbComboBox>(*f, "ComboBox1"), "S1");
    range(*f, QDate(2026, 2, 1), QDate(2026, 3, 31));
    click(*f, "cmd_add");
    // Another item and other days chosen, but not queried.
    chooseWithMouse(child<ui::DbComboBox>(*f, "ComboBox1"), "S2");
    ASSERT_EQ(child<QLineEdit>(*f, "Edit1")->text(), QStringLiteral("烫发"));
    range(*f, QDate(2026, 4, 1), QDate(2026, 4, 30));

    report::PreviewCapture capture;
    click(*f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const QStringList head = capture.last().pages.at(0).textsOf(report::BandKind::PageHeader);
    for (const char* text : {"S1", "洗剪吹", "2026-02-01", "2026-03-31", "200"})
        EXPECT_TRUE(head.contains(QString::fromUtf8(text))) << text;
    for (const char* text : {"S2", "烫发", "2026-04-01", "2026-04-30"})
        EXPECT_FALSE(head.contains(QString::fromUtf8(text))) << text;

    // A list of every item names no item, whatever was chosen before.
    QTest::mouseClick(child<QCheckBox>(*f, "CheckBox1"), Qt::LeftButton);
    range(*f, kMar1, kMar10);
    click(*f, "cmd_add");
    chooseWithMouse(child<ui::DbComboBox>(*f, "ComboBox1"), "S3");
    click(*f, "cmd_prin");
    ASSERT_EQ(capture.count(), 2);
    const QStringList allHead = capture.last().pages.at(0).textsOf(report::BandKind::PageHeader);
    EXPECT_FALSE(allHead.contains("S3"));
    EXPECT_FALSE(allHead.contains(QStringLiteral("护理")));
    EXPECT_TRUE(allHead.contains("2026-03-01"));
}

TEST_F(ServeListTest, ALongListRunsOnWithTheHeadingOnEveryPage)
{
    for (int i = 0; i < 60; ++i)
        addBill(QStringLiteral("L%1").arg(i, 2, 10, QLatin1Char('0')), kMar5, "C1", "S3", 10);
    auto f = openForm();
    click(*f, "cmd_add");
    report::PreviewCapture capture;
    click(*f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const report::PageModel& model = capture.last();
    ASSERT_GE(model.pageCount(), 2);
    int lines = 0;
    for (const report::Page& page : model.pages) {
        EXPECT_EQ(page.countText(QStringLiteral("会员消费明细")), 1);
        EXPECT_EQ(page.countText(QStringLiteral("已收款")), 1);
        lines += page.textsOf(report::BandKind::Detail).size() / 9;
    }
    EXPECT_EQ(lines, 63);
}

} // namespace
