#include "tests/analysis/LedgerFixture_test.h"

#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"
#include "analysis/Uincome.h"
#include "analysis/Uoutlay.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbLineEdit.h"

#include <QRadioButton>
#include <memory>

namespace {

using namespace ledgerui;

using Kind = testui::PromptResponder::Kind;

// What tells the two forms apart.
template <class Form>
struct Traits;
template <>
struct Traits<TFrmIncome> {
    static constexpr const char* objectName = "FrmIncome";
    static constexpr const char* caption = "其它收入费用";
    static constexpr const char* stored = "income";
    static constexpr const char* other = "Outlay"; // the twin's kind
    static constexpr const char* defaultNote = "其它收入";
};
template <>
struct Traits<TFrmOutlay> {
    static constexpr const char* objectName = "FrmOutlay";
    static constexpr const char* caption = "其它支出费用";
    static constexpr const char* stored = "Outlay";
    static constexpr const char* other = "income";
    static constexpr const char* defaultNote = "其它支出";
};

const QDate kMar1(2025, 3, 1);
const QDate kMar31(2025, 3, 31);
const QDate kApr1(2025, 4, 1);

template <class Form>
class OtherMoneyTest : public LedgerDb {
protected:
    using T = Traits<Form>;

    void TearDown() override
    {
        SetBillClockForTesting({});
        LedgerDb::TearDown();
    }

    static QString stored() { return QString::fromLatin1(T::stored); }

    std::unique_ptr<Form> openForm()
    {
        auto f = std::make_unique<Form>();
        showActive(*f);
        return f;
    }
    // An entry of this form's kind.
    void addEntry(const QString& billNo, const QDate& date, qlonglong amount, const QString& oper = {})
    {
        addMoney(stored(), date, amount, {}, billNo, oper.isEmpty() ? QVariant() : QVariant(oper));
    }

    static ui::DbGrid* grid(Form& f) { return child<ui::DbGrid>(f, "DBGrid1"); }
    static ui::DbLineEdit* billNoBox(Form& f) { return child<ui::DbLineEdit>(f, "DBEdit1"); }
    static ui::DbLineEdit* amountBox(Form& f) { return child<ui::DbLineEdit>(f, "DBEdit2"); }
    static ui::DbLineEdit* noteBox(Form& f) { return child<ui::DbLineEdit>(f, "DBEdit3"); }
    static ui::DbDatePicker* entryDate(Form& f) { return child<ui::DbDatePicker>(f, "DateTimePicker1"); }
    static ui::DbDatePicker* findDate(Form& f) { return child<ui::DbDatePicker>(f, "DateTimePicker2"); }
    static QLineEdit* findBox(Form& f) { return child<QLineEdit>(f, "Edit2"); }
    static QRadioButton* wholeMonth(Form& f) { return child<QRadioButton>(f, "RadioButton1"); }
    static QRadioButton* wholeDay(Form& f) { return child<QRadioButton>(f, "RadioButton2"); }

    static void typeInto(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        testui::typeText(box, text);
    }
    static void find(Form& f, const QString& text)
    {
        findBox(f)->setFocus();
        findBox(f)->selectAll();
        QTest::keyClicks(findBox(f), text);
        QTest::keyClick(findBox(f), Qt::Key_Return);
    }
    static QStringList bills(Form& f) { return column(grid(f), "bill_no"); }
};

using Forms = ::testing::Types<TFrmIncome, TFrmOutlay>;
TYPED_TEST_SUITE(OtherMoneyTest, Forms);

TYPED_TEST(OtherMoneyTest, OpensOnTodaysEntriesOfItsKindOnly)
{
    const QDate today = QDate::currentDate();
    this->addEntry("E1", today, 10);
    this->addEntry("E2", today.addDays(-1), 20);
    this->addMoney(QString::fromLatin1(TestFixture::T::other), today, 30, {}, "X1");
    this->addBill("S1", today, "C1", "S1", 100);
    auto f = this->openForm();
    EXPECT_EQ(f->objectName(), QString::fromLatin1(TestFixture::T::objectName));
    EXPECT_EQ(f->windowTitle(), QString::fromUtf8(TestFixture::T::caption));
    EXPECT_EQ(this->bills(*f), QStringList({"E1"}));
    EXPECT_EQ(headings(this->grid(*f)), QStringList({"收入单号", "开单日期", "开单人", "收入金额", "摘要"}));
    EXPECT_EQ(this->findDate(*f)->value(), today);
    EXPECT_EQ(this->entryDate(*f)->value(), today);
    EXPECT_EQ(f->mode(), FormMode::Null);
}

TYPED_TEST(OtherMoneyTest, AddsAnEntryUnderANewBillNumber)
{
    SetBillClockForTesting([] { return QDateTime(QDate(2026, 3, 5), QTime(9, 30, 0)); });
    auto f = this->openForm();
    click(*f, "cmd_add");
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(this->billNoBox(*f)->text(), "20260305093000");
    EXPECT_EQ(this->entryDate(*f)->value(), QDate::currentDate());
    EXPECT_TRUE(this->amountBox(*f)->hasFocus());
    QTest::keyClicks(this->amountBox(*f), "150");
    this->typeInto(this->noteBox(*f), QStringLiteral("  房租  "));
    this->entryDate(*f)->setDate(kMar31);
    click(*f, "cmd_save");

    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(this->count("insifee"), 1);
    EXPECT_EQ(this->count("insifee",
                    "bill_no='20260305093000' and bill_date='2025-03-31 00:00:00' and serv_fee=150"
                    " and gath_note='房租' and gath_type=:t collate binary and oper_code='admin'"
                    " and insi_code is null and card_no is null and serve_code is null and gath_code is null"
                    " and stylist_code is null and should_gath is null",
                    {{"t", this->stored()}}),
              1);
    EXPECT_EQ(this->bills(*f), QStringList({"20260305093000"})) << "the saved entry stays in the list";
    EXPECT_EQ(this->entryDate(*f)->value(), kMar31);
}

TYPED_TEST(OtherMoneyTest, TheBillNumberMayBeOverwrittenAndTheSummaryLeftEmpty)
{
    auto f = this->openForm();
    click(*f, "cmd_add");
    QTest::keyClicks(this->amountBox(*f), "-25");
    this->billNoBox(*f)->setFocus();
    this->billNoBox(*f)->selectAll();
    QTest::keyClicks(this->billNoBox(*f), "R-001");
    click(*f, "cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(this->count("insifee", "bill_no='R-001' and serv_fee=-25 and gath_note=:n",
                    {{"n", QString::fromUtf8(TestFixture::T::defaultNote)}}),
              1);
}

TYPED_TEST(OtherMoneyTest, AnAmountMustBeAWholeNumber)
{
    auto f = this->openForm();
    click(*f, "cmd_add");
    {
        testui::PromptResponder prompts;
        prompts.expect(Kind::Message, QStringLiteral("无效金额"));
        click(*f, "cmd_save");
    }
    EXPECT_EQ(f->mode(), FormMode::Add);

    QTest::keyClicks(this->amountBox(*f), "-");
    {
        testui::PromptResponder prompts;
        prompts.expect(Kind::Message, QStringLiteral("无效金额"));
        click(*f, "cmd_save");
    }
    this->amountBox(*f)->clear();
    QTest::keyClicks(this->amountBox(*f), "12.5");
    EXPECT_EQ(this->amountBox(*f)->text(), "125") << "the box takes no point";
    this->amountBox(*f)->setText("12.5"); // as a paste past the box's rule would
    {
        testui::PromptResponder prompts;
        prompts.expect(Kind::Message, QStringLiteral("金额只能是整数"));
        click(*f, "cmd_save");
    }
    EXPECT_EQ(f->mode(), FormMode::Add);

    this->amountBox(*f)->clear();
    QTest::keyClicks(this->amountBox(*f), "99999999999999999999"); // past any whole number
    {
        testui::PromptResponder prompts;
        prompts.expect(Kind::Message, QStringLiteral("无效金额"));
        click(*f, "cmd_save");
    }
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(this->count("insifee"), 0);
}

TYPED_TEST(OtherMoneyTest, ASignAloneLeftInTheAmountBoxGetsTheFormsMessageOnly)
{
    auto f = this->openForm();
    click(*f, "cmd_add");
    for (const char* typed : {"-", "+"}) {
        SCOPED_TRACE(typed);
        this->typeInto(this->amountBox(*f), QString::fromLatin1(typed));
        testui::PromptResponder prompts;
        prompts.expect(Kind::Message, QStringLiteral("无效金额"));
        QTest::keyClick(this->amountBox(*f), Qt::Key_Tab); // leaves the box
        click(*f, "cmd_save");
        EXPECT_EQ(prompts.count(), 1);
    }
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(this->count("insifee"), 0);
}

TYPED_TEST(OtherMoneyTest, AnAmountPastWhatTheLedgerHoldsIsRefused)
{
    auto f = this->openForm();
    click(*f, "cmd_add");
    for (const char* typed : {"99999999999", "2147483648", "-2147483649"}) {
        SCOPED_TRACE(typed);
        this->typeInto(this->amountBox(*f), QString::fromLatin1(typed));
        testui::PromptResponder prompts;
        prompts.expect(Kind::Message, QStringLiteral("无效金额"));
        click(*f, "cmd_save");
    }
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(this->count("insifee"), 0);

    this->typeInto(this->amountBox(*f), "-2147483648");
    click(*f, "cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(this->count("insifee", "serv_fee=-2147483648"), 1);
}

TYPED_TEST(OtherMoneyTest, AnEntryWithoutABillNumberIsRefused)
{
    auto f = this->openForm();
    click(*f, "cmd_add");
    QTest::keyClicks(this->amountBox(*f), "10");
    this->billNoBox(*f)->setFocus();
    this->billNoBox(*f)->selectAll();
    QTest::keyClick(this->billNoBox(*f), Qt::Key_Delete);
    QTest::keyClicks(this->billNoBox(*f), "  ");
    testui::PromptResponder prompts;
    prompts.expect(Kind::Message, QStringLiteral("单号不能为空"));
    click(*f, "cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(this->count("insifee"), 0);
}

TYPED_TEST(OtherMoneyTest, EditingAnotherUsersEntryMakesItTheCurrentUsers)
{
    const QDate today = QDate::currentDate();
    this->addEntry("E1", today, 20, "zhang");
    this->addEntry("E2", today, 40, "zhang");
    auto f = this->openForm();
    clickRow(this->grid(*f), 1);
    click(*f, "cmd_edit");
    EXPECT_EQ(f->mode(), FormMode::Edit);
    this->typeInto(this->amountBox(*f), "35");
    this->entryDate(*f)->setDate(kMar1);
    click(*f, "cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(this->count("insifee", "bill_no='E2' and serv_fee=35 and oper_code='admin' and bill_date=:d",
                    {{"d", ledgerui::day(kMar1)}}),
              1);
    EXPECT_EQ(this->count("insifee", "bill_no='E1' and serv_fee=20 and oper_code='zhang'"), 1);
    EXPECT_EQ(this->count("insifee"), 2);
}

TYPED_TEST(OtherMoneyTest, EditAndDeleteNeedAnEntry)
{
    auto f = this->openForm();
    ASSERT_EQ(this->grid(*f)->model()->rowCount(), 0);
    click(*f, "cmd_edit");
    EXPECT_EQ(f->mode(), FormMode::Null);
    testui::PromptResponder prompts; // no question may come
    click(*f, "cmd_dele");
    EXPECT_EQ(prompts.count(), 0);
}

TYPED_TEST(OtherMoneyTest, DeleteAsksAndRemovesTheCurrentEntryOnly)
{
    const QDate today = QDate::currentDate();
    this->addEntry("E1", today, 20);
    this->addEntry("E2", today, 40);
    auto f = this->openForm();
    clickRow(this->grid(*f), 1);
    {
        testui::PromptResponder prompts;
        prompts.expect(Kind::Question, QStringLiteral("确认删除?"), {ui::Answer::Cancel});
        click(*f, "cmd_dele");
        EXPECT_EQ(prompts.last().caption, QStringLiteral("提示"));
    }
    EXPECT_EQ(this->count("insifee"), 2);
    {
        testui::PromptResponder prompts;
        prompts.expect(Kind::Question, QStringLiteral("确认删除?"), {ui::Answer::Ok});
        click(*f, "cmd_dele");
    }
    EXPECT_EQ(this->count("insifee"), 1);
    EXPECT_EQ(this->count("insifee", "bill_no='E1'"), 1);
    EXPECT_EQ(this->bills(*f), QStringList({"E1"}));
}

TYPED_TEST(OtherMoneyTest, CancelDropsTheNewEntry)
{
    this->addEntry("E1", QDate::currentDate(), 20);
    auto f = this->openForm();
    click(*f, "cmd_add");
    QTest::keyClicks(this->amountBox(*f), "99");
    click(*f, "cmd_canc");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(this->count("insifee"), 1);
    EXPECT_EQ(this->bills(*f), QStringList({"E1"}));
    EXPECT_EQ(this->billNoBox(*f)->text(), "E1");
}

TYPED_TEST(OtherMoneyTest, WhileAnEntryIsOpenOnlySaveAndCancelWork)
{
    auto f = this->openForm();
    click(*f, "cmd_add");
    for (const char* name : {"cmd_add", "cmd_edit", "cmd_dele", "cmd_exit", "cmd_find"})
        EXPECT_FALSE(child(*f, name)->isEnabled()) << name;
    EXPECT_FALSE(this->grid(*f)->isEnabled());
    EXPECT_FALSE(child<QWidget>(*f, "GroupBox2")->isEnabled()) << "the quick-find panel";
    EXPECT_TRUE(child<QWidget>(*f, "GroupBox1")->isEnabled());
    EXPECT_TRUE(child(*f, "cmd_save")->isEnabled());
    EXPECT_TRUE(child(*f, "cmd_canc")->isEnabled());
    EXPECT_FALSE(f->close());
    EXPECT_TRUE(f->isVisible());
    click(*f, "cmd_canc");
    EXPECT_FALSE(child<QWidget>(*f, "GroupBox1")->isEnabled());
    EXPECT_TRUE(f->close());
}

TYPED_TEST(OtherMoneyTest, FindsEntriesByBillNumber)
{
    this->addEntry("E1", kMar1, 20);
    this->addEntry("E2", QDate::currentDate(), 40);
    this->addMoney(QString::fromLatin1(TestFixture::T::other), kMar1, 30, {}, "E1");
    auto f = this->openForm();
    QTest::mouseClick(this->wholeDay(*f), Qt::LeftButton);
    ASSERT_TRUE(this->wholeDay(*f)->isChecked());
    this->find(*f, "E1");
    EXPECT_FALSE(this->wholeDay(*f)->isChecked()) << "typing a bill number clears the choices";
    EXPECT_FALSE(this->wholeMonth(*f)->isChecked());
    EXPECT_EQ(this->bills(*f), QStringList({"E1"}));
    EXPECT_EQ(this->entryDate(*f)->value(), kMar1);

    this->find(*f, "   ");
    EXPECT_EQ(this->bills(*f), QStringList({"E1"})) << "a blank find does nothing";
    click(*f, "cmd_find");
    EXPECT_EQ(this->bills(*f), QStringList({"E1"}));

    this->find(*f, "NONE");
    EXPECT_EQ(this->bills(*f), QStringList());
}

TYPED_TEST(OtherMoneyTest, ListsAWholeMonthOrAWholeDay)
{
    this->addEntry("E31", kMar31, 31);
    this->addEntry("E01", kMar1, 1);
    this->addEntry("EA1", kApr1, 4);
    this->addEntry("EF", QDate(2024, 3, 15), 9);
    this->addBill("S31", kMar31, "C1", "S1", 100);
    this->addMoney(QString::fromLatin1(TestFixture::T::other), kMar31, 30, {}, "X31");
    auto f = this->openForm();
    QTest::keyClicks(this->findBox(*f), "E9");
    this->findDate(*f)->setDate(QDate(2025, 3, 15));
    QTest::mouseClick(this->wholeMonth(*f), Qt::LeftButton);
    EXPECT_EQ(this->findBox(*f)->text(), "");
    EXPECT_EQ(this->bills(*f), QStringList({"E01", "E31"})) << "in bill number order";

    this->findDate(*f)->setDate(QDate(2025, 4, 10));
    QTest::mouseClick(this->wholeMonth(*f), Qt::LeftButton);
    EXPECT_EQ(this->bills(*f), QStringList({"EA1"}));

    this->addEntry("ED31", QDate(2024, 12, 31), 12);
    this->addEntry("EJ01", QDate(2025, 1, 1), 1);
    this->findDate(*f)->setDate(QDate(2024, 12, 1));
    QTest::mouseClick(this->wholeMonth(*f), Qt::LeftButton);
    EXPECT_EQ(this->bills(*f), QStringList({"ED31"}));
    this->findDate(*f)->setDate(QDate(2025, 1, 31));
    QTest::mouseClick(this->wholeMonth(*f), Qt::LeftButton);
    EXPECT_EQ(this->bills(*f), QStringList({"EJ01"}));

    this->findDate(*f)->setDate(kMar31);
    QTest::mouseClick(this->wholeDay(*f), Qt::LeftButton);
    EXPECT_TRUE(this->wholeDay(*f)->isChecked());
    EXPECT_FALSE(this->wholeMonth(*f)->isChecked());
    EXPECT_EQ(this->bills(*f), QStringList({"E31"}));
}

TYPED_TEST(OtherMoneyTest, TheEntryDateFollowsTheCurrentRow)
{
    this->addEntry("E31", kMar31, 31);
    this->addEntry("E01", kMar1, 1);
    auto f = this->openForm();
    this->findDate(*f)->setDate(kMar1);
    QTest::mouseClick(this->wholeMonth(*f), Qt::LeftButton);
    clickRow(this->grid(*f), 1);
    EXPECT_EQ(this->entryDate(*f)->value(), kMar31);
    EXPECT_EQ(this->amountBox(*f)->text(), "31");
    clickRow(this->grid(*f), 0);
    EXPECT_EQ(this->entryDate(*f)->value(), kMar1);
}

TYPED_TEST(OtherMoneyTest, ButtonsFollowTheRightsOfTheFormsOwnPosition)
{
    this->addEntry("E1", QDate::currentDate(), 20);
    const int own = TypeParam::kPosition;
    const int twin = own == TFrmIncome::kPosition ? TFrmOutlay::kPosition : TFrmIncome::kPosition;
    struct Case {
        QString* rights;
        const char* button;
    };
    const Case cases[] = {{&PowAdd, "cmd_add"}, {&PowEdit, "cmd_edit"}, {&PowDele, "cmd_dele"}, {&PowFind, "cmd_find"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        this->grantAllRights();
        refuseAt(*c.rights, twin);
        auto granted = this->openForm();
        EXPECT_TRUE(child(*granted, c.button)->isEnabled()) << "the twin's position is not this form's";
        granted.reset();

        refuseAt(*c.rights, own);
        auto refused = this->openForm();
        EXPECT_FALSE(child(*refused, c.button)->isEnabled());
        for (const Case& o : cases) {
            if (o.button != c.button) {
                EXPECT_TRUE(child(*refused, o.button)->isEnabled()) << o.button;
            }
        }
    }
}

TYPED_TEST(OtherMoneyTest, EnterInTheFindBoxFindsOnlyWithTheQueryRight)
{
    this->addEntry("E1", kMar1, 20);
    refuseAt(PowFind, TypeParam::kPosition);
    auto f = this->openForm();
    this->find(*f, "E1");
    EXPECT_EQ(this->bills(*f), QStringList()) << "today's list stays";
}

class OutlayTest : public OtherMoneyTest<TFrmOutlay> {};

TEST_F(OutlayTest, TodaysListFindsExpensesStoredInAnyCase)
{
    const QDate today = QDate::currentDate();
    addMoney("Outlay", today, 10, {}, "O1");
    addMoney("OUTLAY", today, 20, {}, "O2");
    addMoney("income", today, 30, {}, "I1");
    auto f = openForm();
    EXPECT_EQ(bills(*f), QStringList({"O1", "O2"}));
}

} // namespace
