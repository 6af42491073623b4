#include "stock/Rstore.h"

#include "tests/support/TestDb.h"

#include "platform/report/Renderer.h"

namespace {

class StockReportTest : public TestDb {
protected:
    db::Dataset& q() { return dataMod().StoreQ; }

    void stockRows(int n)
    {
        for (int i = 1; i <= n; ++i)
            exec("insert into storemain (gods_code, gods_amou, cost_pric) values (:c, :a, 2)",
                 {{"c", QStringLiteral("S%1").arg(i, 3, 10, QChar('0'))}, {"a", double(i)}});
        q().close();
        q().setSql(QStringLiteral("select * from storemain order by gods_code"));
        q().open();
    }
};

TEST_F(StockReportTest, APortraitA4PageWithTenMillimetreMargins)
{
    TRptstore r(&q());
    EXPECT_EQ(r.layout().paperSize(), QSizeF(210, 297));
    EXPECT_EQ(r.layout().margins(), QMarginsF(10, 10, 10, 10));
    EXPECT_EQ(r.layout().title().find(QStringLiteral("Title"))->style.pointSize, 12);
}

TEST_F(StockReportTest, EveryRowPrintsOnceAndTheTitlesOnlyOnTheFirstPage)
{
    stockRows(70);
    TRptstore r(&q());
    r.setGoodsTitles(QStringLiteral("货号"), QStringLiteral("品名"), QStringLiteral("容量"), QStringLiteral("款式"));
    r.setTotals(QStringLiteral("2485"), QStringLiteral("4970"));
    const report::PageModel model = report::render(r.layout());
    ASSERT_GE(model.pageCount(), 2);

    QStringList codes;
    for (int p = 0; p < model.pageCount(); ++p) {
        const QStringList detail = model.pages[size_t(p)].textsOf(report::BandKind::Detail);
        for (const QString& text : detail)
            if (text.startsWith('S'))
                codes << text;
        EXPECT_EQ(model.pages[size_t(p)].textsOf(report::BandKind::Title).isEmpty(), p > 0) << p;
    }
    ASSERT_EQ(codes.size(), 70);
    EXPECT_EQ(codes.first(), "S001");
    EXPECT_EQ(codes.last(), "S070");
    EXPECT_EQ(model.pages[0].countText(QStringLiteral("货号")), 1);
    EXPECT_EQ(model.pages[0].countText(QStringLiteral("2485")), 1);
    EXPECT_EQ(model.pages[0].countText(QStringLiteral("商品编码")), 0);
}

TEST_F(StockReportTest, BeforeAnyQueryTheReportHasNoRows)
{
    q().close();
    TRptstore r(&q());
    const report::PageModel model = report::render(r.layout());
    ASSERT_EQ(model.pageCount(), 1);
    EXPECT_TRUE(model.pages[0].textsOf(report::BandKind::Detail).isEmpty());
    // Titles as designed until the form sets the shop's captions.
    EXPECT_EQ(model.pages[0].textsOf(report::BandKind::Title).mid(5, 4),
              (QStringList{"商品编码", "商品名称", "规格", "型号"}));
}

} // namespace
