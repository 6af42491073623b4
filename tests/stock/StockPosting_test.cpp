#include "stock/StockPosting.h"

#include "tests/support/TestDb.h"

namespace {

TEST(MovingAverageCost, AveragesOverTheStockOnHand)
{
    struct Case {
        const char* name;
        double q, c, s, p;
        double cost;
    };
    const Case cases[] = {
        {"10 at 5, then 10 at 7", 10, 5, 10, 7, 6},
        {"nothing on hand takes the price", 0, 0, 10, 5, 5},
        {"10 at 6.5, then 4 at 8", 10, 6.5, 4, 8, (10 * 6.5 + 4 * 8) / 14.0},
        {"3 short at no cost, then 10 at 4 takes the price", -3, 0, 10, 4, 4},
        {"5 short at 10, then 10 at 4 takes the price", -5, 10, 10, 4, 4},
        {"nothing on hand at a cost takes the price", 0, 10, 10, 4, 4},
        {"a receipt of nothing keeps the cost", 10, 5, 0, 9, 5},
        {"a negative receipt", 10, 5, -4, 2, (50 - 8) / 6.0},
        {"settling a shortage to zero takes the price", -10, 0, 10, 8, 8},
        {"fractions settling to zero take the price", -0.3, 2, 0.1 + 0.2, 8, 8},
        {"a receipt leaving stock below zero takes the price", -10, 0, 5, 4, 4},
        {"below zero from a costed shortage takes the price", -10, 5, 5, 4, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const double cost = MovingAverageCost(c.q, c.c, c.s, c.p);
        EXPECT_TRUE(std::isfinite(cost));
        EXPECT_DOUBLE_EQ(cost, c.cost);
    }
}

class StockBookTest : public TestDb {
protected:
    void put(const char* code, QVariant amount, QVariant cost)
    {
        exec("insert into storemain (gods_code, gods_amou, cost_pric) values (:c, :a, :p)",
             {{"c", QString::fromUtf8(code)}, {"a", amount}, {"p", cost}});
    }
    QVariant amount(const char* code)
    {
        return scalar("select gods_amou from storemain where gods_code=:c", {{"c", QString::fromUtf8(code)}});
    }
    QVariant cost(const char* code)
    {
        return scalar("select cost_pric from storemain where gods_code=:c", {{"c", QString::fromUtf8(code)}});
    }
};

TEST_F(StockBookTest, AReceiptAddsAndAverages)
{
    StockBook book(conn());
    book.receive("G01", 10, 5);
    EXPECT_EQ(amount("G01").toDouble(), 10);
    EXPECT_EQ(cost("G01").toDouble(), 5);
    book.receive("G01", 10, 7);
    EXPECT_EQ(amount("G01").toDouble(), 20);
    EXPECT_DOUBLE_EQ(cost("G01").toDouble(), 6);
    EXPECT_EQ(count("storemain"), 1);
}

TEST_F(StockBookTest, AnEmptyRecordCountsAsNothingAtNoCost)
{
    put("G01", QVariant(), QVariant());
    StockBook(conn()).receive("G01", 4, 2.5);
    EXPECT_EQ(amount("G01").toDouble(), 4);
    EXPECT_EQ(cost("G01").toDouble(), 2.5);
}

TEST_F(StockBookTest, AReceiptThatSettlesAShortageLeavesZeroAtItsPrice)
{
    StockBook book(conn());
    book.issue("G01", 0.1);
    book.issue("G01", 0.2);
    book.receive("G01", 0.3, 8);
    EXPECT_EQ(amount("G01").toDouble(), 0);
    EXPECT_EQ(cost("G01").toDouble(), 8);
    book.receive("G01", 5, 6); // and the next receipt averages as from nothing
    EXPECT_EQ(cost("G01").toDouble(), 6);
}

TEST_F(StockBookTest, AnIssueKeepsTheCostAndMayGoBelowZero)
{
    put("G01", 5.0, 6.0);
    StockBook book(conn());
    book.issue("G01", 8);
    EXPECT_EQ(amount("G01").toDouble(), -3);
    EXPECT_EQ(cost("G01").toDouble(), 6);

    book.issue("G02", 3);
    EXPECT_EQ(amount("G02").toDouble(), -3);
    EXPECT_TRUE(cost("G02").isNull());
    book.receive("G02", 10, 7);
    EXPECT_EQ(amount("G02").toDouble(), 7);
    EXPECT_DOUBLE_EQ(cost("G02").toDouble(), 7); // nothing on hand to average over
}

TEST_F(StockBookTest, TakingBackMovesOnlyTheQuantityOfRecordedGoods)
{
    put("G01", 20.0, 6.5);
    StockBook book(conn());
    book.takeBack("G01", 10, true);
    EXPECT_EQ(amount("G01").toDouble(), 10);
    EXPECT_EQ(cost("G01").toDouble(), 6.5);
    book.takeBack("G01", 4, false);
    EXPECT_EQ(amount("G01").toDouble(), 14);
    book.takeBack("G09", 4, true);
    EXPECT_EQ(count("storemain"), 1);
}

TEST_F(StockBookTest, GoodsCodesCompareAsTheTableDoes)
{
    put("G01", 1.0, 5.0);
    StockBook book(conn());
    book.receive("g01", 1, 7); // the same goods: one record per code, whatever the case
    EXPECT_EQ(count("storemain"), 1);
    EXPECT_EQ(amount("G01").toDouble(), 2);
    EXPECT_EQ(cost("G01").toDouble(), 6);
    book.receive("G0", 1, 1); // no partial match
    EXPECT_EQ(count("storemain"), 2);
    book.receive("O'Neil 染膏", 2, 3); // a quote is just a character
    EXPECT_EQ(amount("O'Neil 染膏").toDouble(), 2);
}

TEST_F(StockBookTest, ABlankCodeNamesNoGoods)
{
    StockBook book(conn());
    book.receive("", 1, 1);
    book.receive("  ", 1, 1);
    book.issue("", 1);
    book.takeBack("", 1, true);
    EXPECT_EQ(count("storemain"), 0);
}

TEST_F(StockBookTest, ChangesBelongToTheCallersTransaction)
{
    put("G01", 10.0, 5.0);
    {
        db::Transaction t(conn());
        StockBook book(conn());
        book.receive("G01", 10, 7);
        book.issue("G02", 1);
    }
    EXPECT_EQ(amount("G01").toDouble(), 10);
    EXPECT_EQ(cost("G01").toDouble(), 5);
    EXPECT_EQ(count("storemain"), 1);
}

} // namespace
