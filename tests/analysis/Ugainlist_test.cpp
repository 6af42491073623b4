#include "tests/analysis/LedgerFixture_test.h"

#include "analysis/Ugainlist.h"
#include "platform/ui/DbDatePicker.h"

#include <memory>

namespace {

using namespace ledgerui;

const QDate kDay(2026, 6, 15);

class GainListTest : public LedgerDb {
protected:
    std::unique_ptr<TFrmGainList> openForm()
    {
        auto f = std::make_unique<TFrmGainList>();
        showActive(*f);
        range(*f, kDay, kDay);
        return f;
    }
    static void range(TFrmGainList& f, const QDate& from, const QDate& to)
    {
        child<ui::DbDatePicker>(f, "DP1")->setDate(from);
        child<ui::DbDatePicker>(f, "DP2")->setDate(to);
    }
    // Edit1 to Edit6: sales, services, other income, purchases, other expenses, profit.
    static QStringList figures(TFrmGainList& f)
    {
        QStringList out;
        for (int i = 1; i <= 6; ++i)
            out << child<QLineEdit>(f, QStringLiteral("Edit%1").arg(i).toLatin1().constData())->text();
        return out;
    }
    static ui::DbGrid* grid(TFrmGainList& f, int line)
    {
        return child<ui::DbGrid>(f, QStringLiteral("DBGrid%1").arg(line).toLatin1().constData());
    }
    // One entry on every line of the day.
    void fillTheDay()
    {
        addDocument("outmain", "OUT1", kDay, 100.5, "out");
        addBill("SRV1", kDay, "C1", "S1", 80, QVariant()); // due, not yet paid
        addMoney("income", kDay, 20, {}, "INC1");
        addDocument("inmain", "IN1", kDay, 50.25, "in");
        addMoney("Outlay", kDay, 30, {}, "OUT9");
    }
};

TEST_F(GainListTest, OpensOnTodayWithNothingRun)
{
    TFrmGainList f;
    showActive(f);
    EXPECT_EQ(f.objectName(), "FrmGainList");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("利润分析"));
    EXPECT_EQ(child<ui::DbDatePicker>(f, "DP1")->value(), QDate::currentDate());
    EXPECT_EQ(child<ui::DbDatePicker>(f, "DP2")->value(), QDate::currentDate());
    EXPECT_EQ(figures(f), QStringList({"", "", "", "", "", ""}));
    for (int line = 1; line <= 5; ++line)
        EXPECT_EQ(headings(grid(f, line)), QStringList({"单号", "金额"})) << line;
}

TEST_F(GainListTest, ProfitIsTakingsLessSpendings)
{
    fillTheDay();
    auto f = openForm();
    click(*f, "cmd_add");
    EXPECT_EQ(figures(*f), QStringList({"100.5", "80", "20", "50.25", "30", "120.25"}));
    EXPECT_EQ(column(grid(*f, 1), "bill_no"), QStringList({"OUT1"}));
    EXPECT_EQ(column(grid(*f, 1), "shou_tota"), QStringList({"100.5"}));
    EXPECT_EQ(column(grid(*f, 2), "bill_no"), QStringList({"SRV1"}));
    EXPECT_EQ(column(grid(*f, 2), "should_gath"), QStringList({"80"})) << "the amount due, not the amount received";
    EXPECT_EQ(column(grid(*f, 3), "bill_no"), QStringList({"INC1"}));
    EXPECT_EQ(column(grid(*f, 4), "bill_no"), QStringList({"IN1"}));
    EXPECT_EQ(column(grid(*f, 5), "bill_no"), QStringList({"OUT9"})) << "an expense stored as Outlay counts";
}

TEST_F(GainListTest, OnlyTheRangeCountsAndCardMoneyNever)
{
    fillTheDay();
    addDocument("outmain", "OUT0", kDay.addDays(-1), 1000, "out");
    addDocument("inmain", "IN0", kDay.addDays(1), 1000, "in");
    addBill("SRV0", kDay.addDays(1), "C1", "S1", 1000);
    for (const char* type : {"foregift", "addcard", "savemoney", "takemoney", "deletecard"})
        addMoney(QString::fromLatin1(type), kDay, 700, "C1");
    auto f = openForm();
    click(*f, "cmd_add");
    EXPECT_EQ(figures(*f), QStringList({"100.5", "80", "20", "50.25", "30", "120.25"}));

    range(*f, kDay.addDays(-1), kDay.addDays(1));
    click(*f, "cmd_add");
    EXPECT_EQ(figures(*f), QStringList({"1100.5", "1080", "20", "1050.25", "30", "1120.25"}));
}

TEST_F(GainListTest, ReturnsCountWithTheirDocumentTable)
{
    addDocument("outmain", "OUT1", kDay, 100, "out");
    addDocument("outmain", "RET1", kDay, 40, "retu"); // back to a supplier
    addDocument("inmain", "IN1", kDay, 60, "in");
    addDocument("inmain", "RET2", kDay, 15, "retu"); // from a customer
    auto f = openForm();
    click(*f, "cmd_add");
    EXPECT_EQ(figures(*f), QStringList({"140", "0", "0", "75", "0", "65"}));
}

TEST_F(GainListTest, ProfitComesFromTheRoundedFigures)
{
    addDocument("outmain", "OUT1", kDay, 10.004, "out");
    addDocument("inmain", "IN1", kDay, 2.004, "in");
    addDocument("inmain", "IN2", kDay, 2.004, "in");
    auto f = openForm();
    click(*f, "cmd_add");
    EXPECT_EQ(figures(*f), QStringList({"10", "0", "0", "4.01", "0", "5.99"}));
}

TEST_F(GainListTest, AnEmptyAmountCountsZero)
{
    fillTheDay();
    exec("insert into outmain (bill_no, bill_date, bill_type) values ('OUTN', :d, 'out')", {{"d", day(kDay)}});
    exec("insert into inmain (bill_no, bill_date, bill_type) values ('INN', :d, 'in')", {{"d", day(kDay)}});
    exec("insert into insifee (bill_no, bill_date, gath_type) values ('SRVN', :d, 'servefee'), ('INCN', :d, 'income'),"
         " ('OUTN', :d, 'Outlay')",
         {{"d", day(kDay)}});
    auto f = openForm();
    click(*f, "cmd_add");
    EXPECT_EQ(figures(*f), QStringList({"100.5", "80", "20", "50.25", "30", "120.25"}));
    EXPECT_EQ(column(grid(*f, 1), "bill_no"), QStringList({"OUT1", "OUTN"}));
}

TEST_F(GainListTest, ARangeEndingBeforeItStartsGivesZeros)
{
    fillTheDay();
    auto f = openForm();
    range(*f, kDay.addDays(1), kDay);
    click(*f, "cmd_add");
    EXPECT_EQ(figures(*f), QStringList({"0", "0", "0", "0", "0", "0"}));
}

TEST_F(GainListTest, AFailingLineShowsNoFigureAndNoProfit)
{
    fillTheDay();
    auto f = openForm();
    click(*f, "cmd_add");
    ASSERT_EQ(figures(*f).last(), "120.25");

    exec("drop table inmain");
    addDocument("outmain", "OUT2", kDay, 9.5, "out");
    click(*f, "cmd_add");
    EXPECT_EQ(figures(*f), QStringList({"110", "80", "20", "", "30", ""}))
        << "the purchases of the earlier run must not stand beside this run's figures";
}

TEST_F(GainListTest, RunningNeedsNoRight)
{
    revokeAllRights();
    fillTheDay();
    auto f = openForm();
    EXPECT_TRUE(child(*f, "cmd_add")->isEnabled());
    EXPECT_TRUE(child(*f, "cmd_exit")->isEnabled());
    click(*f, "cmd_add");
    EXPECT_EQ(figures(*f).last(), "120.25");
}

} // namespace
