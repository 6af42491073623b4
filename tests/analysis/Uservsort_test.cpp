#include "tests/analysis/LedgerFixture_test.h"

#include "analysis/Uservsorti.h"
#include "analysis/Uservsorts.h"
#include "platform/report/Preview.h"
#include "platform/ui/DbDatePicker.h"
#include "tests/support/ReportText.h"

#include <memory>

namespace {

using namespace ledgerui;

const QDate kFrom(2026, 4, 1);
const QDate kTo(2026, 4, 30);

class ServSortTest : public LedgerDb {
protected:
    void SetUp() override
    {
        LedgerDb::SetUp();
        addBill("B1", kFrom, "C1", "S1", 30);
        addBill("B2", QDate(2026, 4, 15), "C1", "S3", 50);
        addBill("B3", kTo, "C2", "S2", 100); // on the "to" day
        addBill("B4", QDate(2026, 5, 1), "C1", "S2", 1000);
        addBill("B5", QDate(2026, 3, 31), "C2", "S2", 1000);
        for (const char* type : {"savemoney", "takemoney", "foregift", "income", "Outlay"})
            addMoney(QString::fromLatin1(type), QDate(2026, 4, 10), 5000, "C1");
    }

    template <class Form>
    std::unique_ptr<Form> openForm(const QDate& from = kFrom, const QDate& to = kTo)
    {
        auto f = std::make_unique<Form>();
        showActive(*f);
        child<ui::DbDatePicker>(*f, "DP1")->setDate(from);
        child<ui::DbDatePicker>(*f, "DP2")->setDate(to);
        click(*f, "cmd_find");
        return f;
    }
    static ui::DbGrid* grid(QWidget& f) { return child<ui::DbGrid>(f, "DBGrid1"); }
    static QString total(QWidget& f) { return child<QLineEdit>(f, "Edit1")->text(); }
};

TEST_F(ServSortTest, RanksMembersByTheirServiceTakings)
{
    auto f = openForm<TFrmServSortI>();
    EXPECT_EQ(f->objectName(), "FrmServSortI");
    EXPECT_EQ(f->windowTitle(), QStringLiteral("会员消费排行-按会员"));
    EXPECT_EQ(headings(grid(*f)),
              QStringList({"会员卡号", "姓名", "性别", "会员卡类型", "开户日期", "累计消费金额", "本时间段消费额"}));
    EXPECT_EQ(column(grid(*f), "card_no"), QStringList({"C2", "C1"}));
    EXPECT_EQ(column(grid(*f), "serve_fee"), QStringList({"100", "80"}));
    EXPECT_EQ(column(grid(*f), "insi_name"), QStringList({"李四", "张三"}));
    EXPECT_EQ(column(grid(*f), "insi_sex"), QStringList({"女", "男"}));
    EXPECT_EQ(column(grid(*f), "card_type"), QStringList({"银卡", "普通卡"}));
    EXPECT_EQ(column(grid(*f), "open_date"), QStringList({"2024-05-06", "2024-01-02"}));
    EXPECT_EQ(column(grid(*f), "insi_tota"), QStringList({"1200.5", "500"}));
    EXPECT_EQ(total(*f), "180");
}

TEST_F(ServSortTest, RanksItemsByTheirServiceTakings)
{
    addBill("B6", QDate(2026, 4, 20), "C2", "S3", 40);
    auto f = openForm<TFrmServSortS>();
    EXPECT_EQ(f->objectName(), "FrmServSortS");
    EXPECT_EQ(f->windowTitle(), QStringLiteral("会员消费排行-按项目"));
    EXPECT_EQ(headings(grid(*f)), QStringList({"项目编号", "项目名称", "类别", "单价", "预估时间（分钟）", "统计金额"}));
    EXPECT_EQ(column(grid(*f), "serve_code"), QStringList({"S2", "S3", "S1"}));
    EXPECT_EQ(column(grid(*f), "serve_fee"), QStringList({"100", "90", "30"}));
    EXPECT_EQ(column(grid(*f), "serve_name"), QStringList({"烫发", "护理", "洗剪吹"}));
    EXPECT_EQ(column(grid(*f), "serve_type"), QStringList({"美发", "美容", "美发"}));
    EXPECT_EQ(column(grid(*f), "unit_pric"), QStringList({"300", "80", "100"}));
    EXPECT_EQ(column(grid(*f), "gage_time"), QStringList({"90", "40", "30"}));
    EXPECT_EQ(total(*f), "220");
}

TEST_F(ServSortTest, OpensOnTodaysRankingOfServiceBillsOnly)
{
    const QDate today = QDate::currentDate();
    addBill("T1", today, "C1", "S1", 60);
    addMoney("savemoney", today, 9000, "C2");
    addMoney("income", today, 9000, "C2", "I1");
    TFrmServSortI f;
    showActive(f);
    EXPECT_EQ(child<ui::DbDatePicker>(f, "DP1")->value(), today);
    EXPECT_EQ(child<ui::DbDatePicker>(f, "DP2")->value(), today);
    EXPECT_EQ(column(grid(f), "card_no"), QStringList({"C1"}));
    EXPECT_EQ(total(f), "60");
}

TEST_F(ServSortTest, BillsWithoutACardFormOneRowWithoutAMember)
{
    addBill("N1", QDate(2026, 4, 2), {}, "S1", 70);
    addBill("N2", QDate(2026, 4, 3), {}, "S3", 20);
    auto f = openForm<TFrmServSortI>();
    EXPECT_EQ(column(grid(*f), "card_no"), QStringList({"C2", "", "C1"}));
    EXPECT_EQ(column(grid(*f), "serve_fee"), QStringList({"100", "90", "80"}));
    EXPECT_EQ(column(grid(*f), "insi_name"), QStringList({"李四", "", "张三"}));
    EXPECT_EQ(total(*f), "270");
}

TEST_F(ServSortTest, EqualSumsComeInGroupOrder)
{
    addBill("E1", QDate(2026, 4, 2), "C3", "S1", 80);
    addBill("E2", QDate(2026, 4, 2), "C0", "S1", 80);
    auto f = openForm<TFrmServSortI>();
    EXPECT_EQ(column(grid(*f), "card_no"), QStringList({"C2", "C0", "C1", "C3"}));
}

TEST_F(ServSortTest, ARangeEndingBeforeItStartsIsEmpty)
{
    auto f = openForm<TFrmServSortS>(kTo, kFrom);
    EXPECT_EQ(grid(*f)->model()->rowCount(), 0);
    EXPECT_EQ(total(*f), "0");
    report::PreviewCapture capture;
    click(*f, "cmd_prin");
    EXPECT_EQ(capture.count(), 0) << "nothing to print at a total of 0";
}

TEST_F(ServSortTest, QueryAndPrintFollowTheRightsOfEachPosition)
{
    struct Case {
        const char* name;
        int position;
        bool find, print;
    };
    const Case cases[] = {
        {"by member, no query right", TFrmServSortI::kPosition, false, true},
        {"by item, no print right", TFrmServSortS::kPosition, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grantAllRights();
        if (!c.find)
            refuseAt(PowFind, c.position);
        if (!c.print)
            refuseAt(PowPrin, c.position);
        TFrmServSortI byMember;
        TFrmServSortS byItem;
        QWidget& tested = c.position == TFrmServSortI::kPosition ? static_cast<QWidget&>(byMember) : byItem;
        QWidget& other = c.position == TFrmServSortI::kPosition ? static_cast<QWidget&>(byItem) : byMember;
        EXPECT_EQ(child(tested, "cmd_find")->isEnabled(), c.find);
        EXPECT_EQ(child(tested, "cmd_prin")->isEnabled(), c.print);
        EXPECT_TRUE(child(tested, "cmd_exit")->isEnabled());
        EXPECT_TRUE(child(other, "cmd_find")->isEnabled()) << "the other position keeps its rights";
        EXPECT_TRUE(child(other, "cmd_prin")->isEnabled());
    }
}

TEST_F(ServSortTest, PrintsTheMemberRankingWithItsTotal)
{
    auto f = openForm<TFrmServSortI>();
    report::PreviewCapture capture;
    click(*f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    ASSERT_EQ(capture.last().pageCount(), 1);
    const report::Page& page = capture.last().pages[0];
    EXPECT_EQ(page.textsOf(report::BandKind::PageHeader),
              QStringList({"会员消费排行-按会员", "日期范围", "2026-04-01", "至", "2026-04-30", "会员卡号", "姓名",
                           "性别", "会员卡类型", "开户日期", "累计消费金额", "本时间段消费金额"}));
    EXPECT_EQ(page.textsOf(report::BandKind::Detail),
              QStringList({"C2", "李四", "女", "银卡", "2024-05-06", "1200.5", "100", //
                           "C1", "张三", "男", "普通卡", "2024-01-02", "500", "80"}));
    EXPECT_EQ(page.textsOf(report::BandKind::Summary), QStringList({"合计金额", "180"}));
}

TEST_F(ServSortTest, ThePrintedRangeIsThatOfTheRankingShown)
{
    auto f = openForm<TFrmServSortI>();
    child<ui::DbDatePicker>(*f, "DP1")->setDate(QDate(2026, 5, 1)); // changed, not run
    child<ui::DbDatePicker>(*f, "DP2")->setDate(QDate(2026, 5, 31));
    report::PreviewCapture capture;
    click(*f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const QStringList head = capture.last().pages.at(0).textsOf(report::BandKind::PageHeader);
    EXPECT_TRUE(head.contains("2026-04-01"));
    EXPECT_TRUE(head.contains("2026-04-30"));
    EXPECT_FALSE(head.contains("2026-05-01"));
    EXPECT_EQ(capture.last().pages.at(0).textsOf(report::BandKind::Summary), QStringList({"合计金额", "180"}));
}

TEST_F(ServSortTest, PrintsTheItemRankingWithItsTotal)
{
    auto f = openForm<TFrmServSortS>();
    report::PreviewCapture capture;
    click(*f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const report::Page& page = capture.last().pages.at(0);
    EXPECT_EQ(page.textsOf(report::BandKind::PageHeader),
              QStringList({"会员消费排行-按项目", "日期范围", "2026-04-01", "至", "2026-04-30", "项目编号", "项目名称",
                           "类别", "单价", "预估时间/分", "统计金额"}));
    EXPECT_EQ(page.textsOf(report::BandKind::Detail),
              QStringList({"S2", "烫发", "美发", "300", "90", "100", //
                           "S3", "护理", "美容", "80", "40", "50",   //
                           "S1", "洗剪吹", "美发", "100", "30", "30"}));
    EXPECT_EQ(page.textsOf(report::BandKind::Summary), QStringList({"合计金额", "180"}));
}

TEST_F(ServSortTest, ThePrintedTotalStandsUnderTheColumnOfTheSums)
{
    auto f = openForm<TFrmServSortI>();
    report::PreviewCapture capture;
    click(*f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const report::Page& p = capture.last().pages.at(0);
    EXPECT_TRUE(standsUnder(findIn(p, report::BandKind::Summary, "180"),
                            findIn(p, report::BandKind::PageHeader, "本时间段消费金额"), report::Align::Right));
}

} // namespace
