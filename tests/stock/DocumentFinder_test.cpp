#include "stock/DocumentFinder.h"

#include "tests/stock/StockDocumentFixture_test.h"

#include "core/Udatamod.h"
#include "stock/Uin.h"
#include "stock/Uinfind.h"
#include "stock/Uout.h"
#include "stock/Uoutfind.h"
#include "stock/Ureturnin.h"
#include "stock/Ureturnout.h"

namespace {

class DocumentFinderTest : public StockDocumentTest {
protected:
    // A stored document header: side "in" or "out"; no company when comp is null.
    void addDocument(const char* side, const char* billNo, const char* billType, int daysAgo, const char* comp,
                     const char* voucher = nullptr)
    {
        const QString table = side == QLatin1String("in") ? "inmain" : "outmain";
        exec(QStringLiteral("insert into %1 (bill_no, vouc_no, bill_date, comp_code, bill_type, remark) "
                            "values (:b, :v, :d, :c, :t, :r)")
                 .arg(table),
             {{"b", QString::fromLatin1(billNo)},
              {"v", voucher ? QVariant(QString::fromLatin1(voucher)) : QVariant()},
              {"d", db::toStorageText(QDate::currentDate().addDays(-daysAgo))},
              {"c", comp ? QVariant(QString::fromLatin1(comp)) : QVariant()},
              {"t", QString::fromLatin1(billType)},
              {"r", QStringLiteral("备注") + QString::fromLatin1(billNo)}});
    }
    // The bill numbers listed, in bill-number order (the query asks for no order).
    static QStringList listed(DocumentFinder& f)
    {
        QStringList bills = column(f.dataset(), "bill_no");
        bills.sort();
        return bills;
    }
    static int rowOf(DocumentFinder& f, const char* billNo)
    {
        return int(column(f.dataset(), "bill_no").indexOf(QString::fromLatin1(billNo)));
    }
    static QString companyOf(DocumentFinder& f, const char* billNo)
    {
        const db::Dataset& q = f.dataset();
        return db::asString(q.value(rowOf(f, billNo), q.fieldIndex("comp_name")));
    }
    static void search(DocumentFinder& f) { QTest::mouseClick(f.findChild<QPushButton*>("cmd_edit"), Qt::LeftButton); }
};

TEST_F(DocumentFinderTest, ThePurchaseFinderOpensOnTheLast30DaysOfPurchases)
{
    addDocument("in", "P1", "in", 0, "C01", "V1");
    addDocument("in", "P2", "in", 30, "C02");
    addDocument("in", "P3", "in", 31, "C01");
    addDocument("in", "R1", "retu", 0, "C01");
    addDocument("in", "P4", "in", -1, "C01");
    addDocument("in", "P5", "in", 0, "C01");
    exec("update inmain set bill_date=:d where bill_no='P5'",
         {{"d", db::toStorageText(QDateTime(QDate::currentDate(), QTime(18, 30)))}});
    CurBillType = QStringLiteral("in");

    TFrmInFind f;
    EXPECT_EQ(f.objectName(), "FrmInFind");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("单据查询"));
    EXPECT_EQ(&f.dataset(), &dataMod().InFindQ);
    EXPECT_EQ(button(f, "cmd_edit")->text(), QStringLiteral("查询[&E]"));
    EXPECT_EQ(button(f, "cmd_save")->text(), QStringLiteral("选取[&S]"));
    EXPECT_EQ(button(f, "cmd_exit")->text(), QStringLiteral("退出[&X]"));
    EXPECT_EQ(titles(f.grid()), (QStringList{"编号", "日期 ", "凭证号", "公司名称", "备注"}));
    EXPECT_EQ(f.fromPicker()->value(), QDate::currentDate().addDays(-30));
    EXPECT_EQ(f.toPicker()->value(), QDate::currentDate());
    EXPECT_TRUE(f.billNoBox()->text().isEmpty());
    EXPECT_TRUE(f.companyCombo()->text().isEmpty());
    EXPECT_EQ(items(f.companyCombo()), (QStringList{QStringLiteral("华美供应"), QStringLiteral("丽人商行")}));

    // Both end days count whole, whatever the time of day; tomorrow is out of range.
    EXPECT_EQ(listed(f), (QStringList{"P1", "P2", "P5"}));
    EXPECT_EQ(companyOf(f, "P1"), QStringLiteral("华美供应"));
    EXPECT_EQ(companyOf(f, "P2"), QStringLiteral("丽人商行"));
    EXPECT_EQ(db::asString(f.dataset().value(rowOf(f, "P1"), f.dataset().fieldIndex("vouc_no"))), "V1");
    EXPECT_EQ(f.dataset().sqlText(),
              "select * from inmain \n where bill_date between :date1 and :date2 and bill_type=:billtype");
}

TEST_F(DocumentFinderTest, ASearchWithoutCriteriaListsTheKindInTheDatesChosen)
{
    addDocument("in", "P1", "in", 0, "C01");
    addDocument("in", "P2", "in", 3, "C02");
    addDocument("in", "P3", "in", 5, "C01");
    addDocument("in", "R2", "retu", 3, "C01");
    CurBillType = QStringLiteral("in");
    TFrmInFind f;
    show(f);
    f.fromPicker()->setDate(QDate::currentDate().addDays(-5));
    f.toPicker()->setDate(QDate::currentDate().addDays(-3));
    search(f);
    EXPECT_EQ(listed(f), (QStringList{"P2", "P3"}));

    // The customer return form's finder lists its own kind from the same table.
    CurBillType = QStringLiteral("retu");
    TFrmInFind returns;
    EXPECT_EQ(listed(returns), QStringList{"R2"});
}

TEST_F(DocumentFinderTest, TheBillNumberIsTrimmedAndMatchedWhole)
{
    addDocument("in", "P1", "in", 0, "C01", "V1");
    addDocument("in", "P12", "in", 1, "C01", "V2");
    addDocument("in", "P'3", "in", 2, "C02", "V3");
    CurBillType = QStringLiteral("in");
    TFrmInFind f;
    show(f);

    QTest::keyClicks(f.billNoBox(), "  P1  ");
    search(f);
    EXPECT_EQ(listed(f), QStringList{"P1"});

    retype(f.billNoBox(), QStringLiteral("P'3"));
    search(f);
    EXPECT_EQ(listed(f), QStringList{"P'3"});

    // Voucher and bill number together: both must hold.
    retype(f.billNoBox(), QStringLiteral("P12"));
    QTest::keyClicks(f.voucherBox(), " V1 ");
    search(f);
    EXPECT_TRUE(listed(f).isEmpty());
    f.billNoBox()->clear();
    search(f);
    EXPECT_EQ(listed(f), QStringList{"P1"});
}

TEST_F(DocumentFinderTest, ACompanyChosenFromTheListNarrowsToItsDocuments)
{
    addDocument("in", "P1", "in", 0, "C01");
    addDocument("in", "P2", "in", 1, "C02");
    addDocument("in", "P3", "in", 2, "C02");
    addDocument("in", "R1", "retu", 2, "C02");
    addDocument("in", "P4", "in", 2, nullptr);
    exec("update inmain set comp_code='' where bill_no='P4'");
    CurBillType = QStringLiteral("in");
    TFrmInFind f;
    show(f);
    ASSERT_EQ(listed(f).size(), 4);

    chooseWithMouse(f.companyCombo(), QStringLiteral("丽人商行"));
    search(f);
    EXPECT_EQ(listed(f), (QStringList{"P2", "P3"}));

    // A name no company has: no document, not even those without a company.
    retype(f.companyCombo(), QStringLiteral("无名公司"));
    search(f);
    EXPECT_TRUE(listed(f).isEmpty());
}

TEST_F(DocumentFinderTest, TheSalesFinderListsSalesOnly)
{
    addDocument("out", "S1", "out", 0, "C01");
    addDocument("out", "T1", "retu", 0, "C02");
    addDocument("out", "S2", "out", 10, "C02");
    addDocument("in", "P1", "out", 0, "C01");
    CurBillType = QStringLiteral("out");
    TFrmOutFind f;
    show(f);
    EXPECT_EQ(f.objectName(), "FrmOutFind");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("出货单查询"));
    EXPECT_EQ(&f.dataset(), &dataMod().OutFindQ);
    EXPECT_EQ(listed(f), (QStringList{"S1", "S2"}));
    EXPECT_EQ(companyOf(f, "S1"), QStringLiteral("华美供应"));
    EXPECT_EQ(companyOf(f, "S2"), QStringLiteral("丽人商行"));
    EXPECT_EQ(f.dataset().sqlText(),
              "select * from outmain \n where bill_date between :date1 and :date2 and bill_type=:billtype");

    QTest::keyClicks(f.billNoBox(), "S2");
    search(f);
    EXPECT_EQ(listed(f), QStringList{"S2"});
    EXPECT_EQ(f.dataset().sqlText(), "select * from outmain \n where bill_date between :date1 and :date2  and "
                                     "bill_type=:billtype \n and bill_no=:bill_no ");

    CurBillType = QStringLiteral("retu");
    TFrmOutFind returns;
    EXPECT_EQ(listed(returns), QStringList{"T1"});
}

TEST_F(DocumentFinderTest, ThePurchaseFormShowsTheDocumentChosenWithTheButton)
{
    storeDocument("in", "P1", "in", {{"G01", 2, 5}});
    storeDocument("in", "P2", "in", {{"G02", 4, 7}, {"G03", 1, 20}}, QDate::currentDate().addDays(-3));
    storeDocument("in", "R1", "retu", {{"G03", 9, 35}});
    auto f = openForm<TFrmIn>();
    ASSERT_EQ(f->billNoBox()->text(), "P1");

    bool chose = false;
    QStringList offered;
    whenModal<TFrmInFind>([&offered](TFrmInFind& d) {
        offered = listed(d);
        clickRow(d.grid(), rowOf(d, "P2"));
        QTest::mouseClick(d.findChild<QPushButton*>("cmd_save"), Qt::LeftButton);
    }, chose);
    click(*f, "cmd_find");
    ASSERT_TRUE(chose);
    EXPECT_EQ(offered, (QStringList{"P1", "P2"}));
    EXPECT_EQ(f->billNoBox()->text(), "P2");
    EXPECT_EQ(lineCodes(*f), (QStringList{"G02", "G03"}));
    EXPECT_EQ(f->datePicker()->value(), QDate::currentDate().addDays(-3));
    EXPECT_EQ(f->totalQuantityBox()->text(), "5");
    EXPECT_EQ(f->totalAmountBox()->text(), "48");
    EXPECT_EQ(f->capitalsBox()->text(), QStringLiteral("肆拾捌圆零角零分整"));
    EXPECT_EQ(f->mode(), FormMode::Null);
    int findersLeft = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        findersLeft += qobject_cast<TFrmInFind*>(w) ? 1 : 0;
    EXPECT_EQ(findersLeft, 0);
}

TEST_F(DocumentFinderTest, TheSalesFormShowsTheDocumentDoubleClicked)
{
    storeDocument("out", "S1", "out", {{"G01", 1, 8}});
    storeDocument("out", "S2", "out", {{"G03", 2, 35}}, QDate::currentDate().addDays(-1));
    storeDocument("out", "T1", "retu", {{"G02", 3, 7}});
    auto f = openForm<TFrmOut>();
    ASSERT_EQ(f->billNoBox()->text(), "S1");

    bool chose = false;
    QStringList offered;
    whenModal<TFrmOutFind>([&offered](TFrmOutFind& d) {
        offered = listed(d);
        doubleClickRow(d.grid(), rowOf(d, "S2"));
    }, chose);
    click(*f, "cmd_find");
    ASSERT_TRUE(chose);
    EXPECT_EQ(offered, (QStringList{"S1", "S2"}));
    EXPECT_EQ(f->billNoBox()->text(), "S2");
    EXPECT_EQ(lineCodes(*f), QStringList{"G03"});
    EXPECT_EQ(f->totalQuantityBox()->text(), "2");
    EXPECT_EQ(f->totalAmountBox()->text(), "70");
}

TEST_F(DocumentFinderTest, TheReturnFormsFindTheirOwnKind)
{
    storeDocument("in", "P1", "in", {{"G01", 1, 5}});
    storeDocument("in", "R1", "retu", {{"G02", 1, 12}, {"G01", 2, 8}});
    storeDocument("out", "S1", "out", {{"G01", 1, 8}});
    storeDocument("out", "T1", "retu", {{"G03", 2, 20}});

    auto customer = openForm<TFrmReturnIn>();
    bool chose = false;
    QStringList offered;
    whenModal<TFrmInFind>([&offered](TFrmInFind& d) {
        offered = listed(d);
        QTest::mouseClick(d.findChild<QPushButton*>("cmd_save"), Qt::LeftButton);
    }, chose);
    click(*customer, "cmd_find");
    ASSERT_TRUE(chose);
    EXPECT_EQ(offered, QStringList{"R1"});
    EXPECT_EQ(lineCodes(*customer), (QStringList{"G02", "G01"}));
    EXPECT_EQ(customer->totalAmountBox()->text(), "28");
    customer.reset();

    auto supplier = openForm<TFrmReturnout>();
    chose = false;
    whenModal<TFrmOutFind>([&offered](TFrmOutFind& d) {
        offered = listed(d);
        QTest::mouseClick(d.findChild<QPushButton*>("cmd_save"), Qt::LeftButton);
    }, chose);
    click(*supplier, "cmd_find");
    ASSERT_TRUE(chose);
    EXPECT_EQ(offered, QStringList{"T1"});
    EXPECT_EQ(supplier->billNoBox()->text(), "T1");
    EXPECT_EQ(supplier->totalAmountBox()->text(), "40");
}

TEST_F(DocumentFinderTest, ChoosingFromAnEmptyListDoesNothingAndLeavingChangesNothing)
{
    storeDocument("in", "P1", "in", {{"G01", 2, 5}});
    auto f = openForm<TFrmIn>();
    bool chose = false;
    bool stayedOpen = false;
    whenModal<TFrmInFind>([&stayedOpen](TFrmInFind& d) {
        QTest::keyClicks(d.billNoBox(), "NONE");
        search(d);
        QTest::mouseClick(d.findChild<QPushButton*>("cmd_save"), Qt::LeftButton);
        stayedOpen = d.isVisible();
        QTest::mouseClick(d.findChild<QPushButton*>("cmd_exit"), Qt::LeftButton);
    }, chose);
    click(*f, "cmd_find");
    ASSERT_TRUE(chose);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(f->billNoBox()->text(), "P1");
    EXPECT_EQ(lineCodes(*f), QStringList{"G01"});
    EXPECT_EQ(f->totalAmountBox()->text(), "10");

    // Leaving a full list without choosing changes nothing either.
    storeDocument("in", "P2", "in", {{"G02", 1, 7}});
    chose = false;
    whenModal<TFrmInFind>([](TFrmInFind& d) {
        clickRow(d.grid(), rowOf(d, "P2"));
        QTest::mouseClick(d.findChild<QPushButton*>("cmd_exit"), Qt::LeftButton);
    }, chose);
    click(*f, "cmd_find");
    ASSERT_TRUE(chose);
    EXPECT_EQ(f->billNoBox()->text(), "P1");
}

} // namespace
