#include "analysis/CommissionEngine.h"

#include "tests/analysis/CommissionFixture_test.h"

#include "platform/db/Error.h"

namespace {

const QDate kMarch2024(2024, 3, 15);

class CommissionEngineTest : public CommissionDb {
protected:
    void SetUp() override
    {
        CommissionDb::SetUp();
        SaleCommissionRate = 5;
    }

    bool runMonth(const QString& code, CommissionKinds kinds = CommissionKinds::All)
    {
        return RunCommission(code, CommissionPeriod::monthOf(kMarch2024), kinds);
    }
    bool runDays(const QString& code, const QDate& first, const QDate& last,
                 CommissionKinds kinds = CommissionKinds::All)
    {
        return RunCommission(code, CommissionPeriod::days(first, last), kinds);
    }
    db::Dataset& listTempQ() { return dataMod().ListTempQ; }
};

TEST_F(CommissionEngineTest, BlankCodeLeavesTheLinesAlone)
{
    exec("insert into listtemp (bill_no, empl_code) values ('OLD', 'E9')");
    addItem("A1", 100, 10);
    addBill("B1", "2024-03-05", "A1", 100, "  ");

    EXPECT_FALSE(runMonth("   "));
    EXPECT_FALSE(runMonth(QString()));
    EXPECT_EQ(billNumbers(lines()), QStringList{"OLD"});
}

TEST_F(CommissionEngineTest, EachRoleGivesALineAtItsPercentOnTheListPrice)
{
    addItem("A1", 150, 15, 10, 5);
    addBill("B1", "2024-03-05", "A1", 120, "E1", "E2", "E3");
    addBill("B2", "2024-03-02", "A1", 120, "E2", "E1", "E1");
    addBill("B3", "2024-03-03", "A1", 120, "E1");
    addBill("B4", "2024-03-04", "A1", 120, "E2");

    ASSERT_TRUE(runMonth("E1"));

    const auto ls = lines();
    // Stylist lines by date, then middle-worker, then assistant lines.
    ASSERT_EQ(billNumbers(ls), (QStringList{"B3", "B1", "B2", "B2"}));
    const int rates[] = {15, 15, 10, 5};
    for (size_t i = 0; i < ls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_DOUBLE_EQ(ls[i].base.toDouble(), 150.0);
        EXPECT_EQ(ls[i].rate.toInt(), rates[i]);
        EXPECT_DOUBLE_EQ(ls[i].commission.toDouble(), 150.0 * rates[i] / 100);
        EXPECT_EQ(ls[i].note, QStringLiteral("服务项目"));
        EXPECT_EQ(ls[i].employee, "E1");
        EXPECT_EQ(ls[i].mark.toString(), "ed");
        EXPECT_EQ(ls[i].serveCode, "A1");
    }
    EXPECT_EQ(ls[0].date, "2024-03-03");
    EXPECT_DOUBLE_EQ(SumCommission(), 22.5 + 22.5 + 15 + 7.5);
    EXPECT_EQ(listTempQ().recordCount(), 4);
    EXPECT_EQ(listTempQ().displayText("fact_tota"), "22.5");
}

TEST_F(CommissionEngineTest, BillsOfOtherKindsGiveNoLine)
{
    addItem("A1", 100, 10);
    addBill("B1", "2024-03-05", "A1", 100, "E1");
    addBill("I1", "2024-03-05", "A1", 100, "E1", {}, {}, "income");
    addBill("S1", "2024-03-05", "A1", 100, "E1", {}, {}, "SERVEFEE");

    runMonth("E1");

    EXPECT_EQ(billNumbers(lines()), (QStringList{"B1", "S1"}));
}

TEST_F(CommissionEngineTest, AnUnpricedItemKeepsTheAmountDueWithoutCommission)
{
    addItem("Z0", 0, 30);
    addItem("ZN", QVariant(), 30);
    addBill("B1", "2024-03-01", "NOPE", 80, "E1");
    addBill("B2", "2024-03-02", "Z0", 60, "E1");
    addBill("B3", "2024-03-03", "ZN", 40, "E1");

    runMonth("E1");

    const auto ls = lines();
    ASSERT_EQ(ls.size(), 3u);
    const double dues[] = {80, 60, 40};
    for (size_t i = 0; i < ls.size(); ++i) {
        SCOPED_TRACE(ls[i].billNo.toStdString());
        EXPECT_DOUBLE_EQ(ls[i].base.toDouble(), dues[i]);
        EXPECT_TRUE(isNull(ls[i].rate));
        EXPECT_TRUE(isNull(ls[i].commission));
        EXPECT_EQ(ls[i].mark.toString(), "ed");
    }
    EXPECT_DOUBLE_EQ(SumCommission(), 0.0);
}

TEST_F(CommissionEngineTest, TheFirstPricedItemOfACodeSetsPriceAndPercent)
{
    addItem("D1", 0, 50);
    addItem("D1", 200, 10);
    addItem("D1", 300, 20);
    addBill("B1", "2024-03-01", "D1", 180, "E1");

    runMonth("E1");

    const auto ls = lines();
    ASSERT_EQ(ls.size(), 1u);
    EXPECT_DOUBLE_EQ(ls[0].base.toDouble(), 200.0);
    EXPECT_EQ(ls[0].rate.toInt(), 10);
    EXPECT_DOUBLE_EQ(ls[0].commission.toDouble(), 20.0);
}

TEST_F(CommissionEngineTest, ItemCodesMatchTrimmedWithLetterCaseCounting)
{
    addItem(" C1 ", 100, 10);
    addBill("B1", "2024-03-01", "C1  ", 90, "E1");
    addBill("B2", "2024-03-02", "c1", 90, "E1");

    runMonth("E1");

    const auto ls = lines();
    ASSERT_EQ(ls.size(), 2u);
    EXPECT_DOUBLE_EQ(ls[0].base.toDouble(), 100.0);
    EXPECT_EQ(ls[0].rate.toInt(), 10);
    EXPECT_DOUBLE_EQ(ls[1].base.toDouble(), 90.0);
    EXPECT_TRUE(isNull(ls[1].rate));
}

TEST_F(CommissionEngineTest, AnEmptyRolePercentGivesNoCommission)
{
    addItem("A1", 100, QVariant(), 12);
    addBill("B1", "2024-03-01", "A1", 100, "E1", "E1");

    runMonth("E1");

    const auto ls = lines();
    ASSERT_EQ(ls.size(), 2u);
    EXPECT_EQ(ls[0].rate.toInt(), 0);
    EXPECT_FALSE(isNull(ls[0].rate));
    EXPECT_DOUBLE_EQ(ls[0].commission.toDouble(), 0.0);
    EXPECT_EQ(ls[1].rate.toInt(), 12);
    EXPECT_DOUBLE_EQ(ls[1].commission.toDouble(), 12.0);
}

TEST_F(CommissionEngineTest, WithoutServiceItemsTheServiceLinesAreStillWritten)
{
    addBill("B1", "2024-03-01", "A1", 70, "E1");
    addBill("B2", "2024-03-02", "A1", 50, {}, {}, "E1");

    runMonth("E1", CommissionKinds::ServicesOnly);

    const auto ls = lines();
    ASSERT_EQ(billNumbers(ls), (QStringList{"B1", "B2"}));
    for (const Line& l : ls) {
        EXPECT_TRUE(isNull(l.rate));
        EXPECT_EQ(l.mark.toString(), "ed");
        EXPECT_EQ(l.note, QStringLiteral("服务项目"));
    }
    EXPECT_DOUBLE_EQ(ls[0].base.toDouble(), 70.0);
}

TEST_F(CommissionEngineTest, ASaleGivesOneLineOnItsTotalAtTheSalesPercent)
{
    addItem("A1", 100, 10);
    addBill("B1", "2024-03-20", "A1", 100, "E1");
    addSale("S1", "2024-03-10", "C01", 400, "E1");
    addSale("S2", "2024-03-11", "C02", 300, "E1", "retu");
    addSale("S3", "2024-03-12", "C03", 200, "E2");
    addSale("S4", "2024-03-09", "C04", 100, "E1", "OUT");

    runMonth("E1");

    const auto ls = lines();
    ASSERT_EQ(billNumbers(ls), (QStringList{"B1", "S4", "S1"}));
    const Line& sale = ls[2];
    EXPECT_EQ(sale.serveCode, "C01");
    EXPECT_DOUBLE_EQ(sale.base.toDouble(), 400.0);
    EXPECT_EQ(sale.rate.toInt(), 5);
    EXPECT_DOUBLE_EQ(sale.commission.toDouble(), 20.0);
    EXPECT_EQ(sale.note, QStringLiteral("销售"));
    EXPECT_EQ(sale.employee, "E1");
    EXPECT_TRUE(isNull(sale.mark));
    EXPECT_EQ(ls[0].rate.toInt(), 10); // the service line keeps its own percent
}

TEST_F(CommissionEngineTest, CommissionsAreStoredUnrounded)
{
    SaleCommissionRate = 10;
    addSale("S1", "2024-03-10", "C01", 33.33, "E1");

    runMonth("E1");

    const auto ls = lines();
    ASSERT_EQ(ls.size(), 1u);
    EXPECT_NEAR(ls[0].commission.toDouble(), 3.333, 1e-9);
    EXPECT_EQ(listTempQ().displayText("fact_tota"), "3.33");
    EXPECT_NEAR(SumCommission(), 3.333, 1e-9);
}

TEST_F(CommissionEngineTest, AMonthRunCountsEveryDayOfTheMonthAndNoOther)
{
    addItem("A1", 100, 10);
    const char* const dates[] = {"2024-02-29", "2024-03-01", "2024-03-31 18:45:00", "2024-04-01", "2023-03-15"};
    int n = 0;
    for (const char* d : dates) {
        const QString no = QStringLiteral("B%1").arg(++n);
        addBill(no, d, "A1", 100, "E1");
        addSale(QStringLiteral("S%1").arg(n), d, "C01", 100, "E1");
    }

    runMonth("E1");

    EXPECT_EQ(billNumbers(lines()), (QStringList{"B2", "B3", "S2", "S3"}));
}

TEST_F(CommissionEngineTest, ADecemberRunEndsAtTheLastSecondOfTheYear)
{
    addItem("A1", 100, 10);
    const char* const stamps[] = {"2024-11-30 23:59:59", "2024-12-01 00:00:00", "2024-12-31 23:59:59",
                                  "2025-01-01 00:00:00", "2023-12-15"};
    int n = 0;
    for (const char* stamp : stamps) {
        ++n;
        addBill(QStringLiteral("B%1").arg(n), stamp, "A1", 100, "E1", "E1", "E1");
        addSale(QStringLiteral("S%1").arg(n), stamp, "C01", 100, "E1");
    }

    RunCommission("E1", CommissionPeriod::monthOf(QDate(2024, 12, 9)), CommissionKinds::All);

    EXPECT_EQ(billNumbers(lines()), (QStringList{"B2", "B3", "B2", "B3", "B2", "B3", "S2", "S3"}));
}

TEST_F(CommissionEngineTest, ARangeRunCountsBothEndDays)
{
    addItem("A1", 100, 10);
    const char* const dates[] = {"2024-03-09", "2024-03-10", "2024-03-15", "2024-03-20 18:30:00", "2024-03-21"};
    int n = 0;
    for (const char* d : dates) {
        ++n;
        addBill(QStringLiteral("B%1").arg(n), d, "A1", 100, "E1");
        addBill(QStringLiteral("M%1").arg(n), d, "A1", 100, {}, "E1");
        addBill(QStringLiteral("A%1").arg(n), d, "A1", 100, {}, {}, "E1");
        addSale(QStringLiteral("S%1").arg(n), d, "C01", 100, "E1");
    }

    runDays("E1", QDate(2024, 3, 10), QDate(2024, 3, 20));

    EXPECT_EQ(billNumbers(lines()),
              (QStringList{"B2", "B3", "B4", "M2", "M3", "M4", "A2", "A3", "A4", "S2", "S3", "S4"}));

    runDays("E1", QDate(2024, 3, 15), QDate(2024, 3, 15));
    EXPECT_EQ(billNumbers(lines()), (QStringList{"B3", "M3", "A3", "S3"}));

    runDays("E1", QDate(2024, 3, 20), QDate(2024, 3, 10));
    EXPECT_TRUE(lines().empty());
    EXPECT_EQ(listTempQ().recordCount(), 0);
}

TEST_F(CommissionEngineTest, TheKindsChooseThePasses)
{
    addItem("A1", 100, 10);
    addBill("B1", "2024-03-05", "A1", 100, "E1");
    addSale("S1", "2024-03-05", "C01", 100, "E1");
    const QDate day(2024, 3, 5);

    runDays("E1", day, day, CommissionKinds::ServicesOnly);
    EXPECT_EQ(billNumbers(lines()), QStringList{"B1"});

    runDays("E1", day, day, CommissionKinds::SalesOnly);
    const auto sales = lines();
    ASSERT_EQ(billNumbers(sales), QStringList{"S1"});
    EXPECT_EQ(sales[0].note, QStringLiteral("销售"));

    runDays("E1", day, day, CommissionKinds::All);
    EXPECT_EQ(billNumbers(lines()), (QStringList{"B1", "S1"}));
}

TEST_F(CommissionEngineTest, ARunReplacesTheLinesOfTheRunBefore)
{
    addItem("A1", 100, 10);
    addBill("B1", "2024-03-05", "A1", 100, "E1");
    addBill("B2", "2024-03-06", "A1", 100, "E2");
    runMonth("E1");

    runMonth("E2");

    EXPECT_EQ(billNumbers(lines()), QStringList{"B2"});
    ASSERT_EQ(listTempQ().recordCount(), 1);
    EXPECT_EQ(listTempQ().asString("bill_no"), "B2");
}

TEST_F(CommissionEngineTest, AFailedRunLeavesTheEarlierLines)
{
    addItem("A1", 100, 10);
    addBill("B1", "2024-03-05", "A1", 100, "E1");
    addBill("B2", "2024-03-06", "A1", 100, "E2");
    addSale("S2", "2024-03-06", "C01", 100, "E2");
    runMonth("E1");
    exec("create trigger refuse_sales before update of bill_note on listtemp when new.bill_note='销售' "
         "begin select raise(abort, 'sales refused'); end");

    EXPECT_THROW(runMonth("E2"), db::Error);

    EXPECT_EQ(billNumbers(lines()), QStringList{"B1"});
    EXPECT_EQ(listTempQ().recordCount(), 1);
    EXPECT_EQ(listTempQ().asString("bill_no"), "B1");
    EXPECT_EQ(conn().transactionDepth(), 0);
}

TEST_F(CommissionEngineTest, APeriodOfAMonthCoversItsFirstToLastDay)
{
    const CommissionPeriod leap = CommissionPeriod::monthOf(QDate(2024, 2, 17));
    EXPECT_TRUE(leap.isMonth());
    EXPECT_EQ(leap.year(), 2024);
    EXPECT_EQ(leap.month(), 2);
    EXPECT_EQ(leap.first(), QDate(2024, 2, 1));
    EXPECT_EQ(leap.last(), QDate(2024, 2, 29));
    EXPECT_FALSE(CommissionPeriod::days(QDate(2024, 1, 1), QDate(2024, 1, 2)).isMonth());
}

} // namespace
