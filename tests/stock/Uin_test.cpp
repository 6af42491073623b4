#include "stock/Uin.h"

#include "tests/stock/StockDocumentFixture_test.h"

#include "stock/Ucompfind.h"
#include "stock/Ugodsfind.h"
#include "platform/ui/EnterAsTab.h"

#include <QLabel>

namespace {

class PurchaseTest : public StockDocumentTest {
protected:
    // A purchase entered and saved through the form: one line per {code, quantity, price}.
    void purchase(TFrmIn& f, const std::vector<Line>& lines)
    {
        click(f, "cmd_add");
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i > 0)
                newLine(f);
            typeLine(f, QString::fromLatin1(lines[i].code), db::formatAmount(lines[i].quantity),
                     db::formatAmount(lines[i].price));
        }
        click(f, "cmd_save");
        ASSERT_EQ(f.mode(), FormMode::Null);
    }
    QString shownBill(TFrmIn& f) { return f.billNoBox()->text(); }
};

TEST_F(PurchaseTest, OpensOnTheFirstPurchaseOfToday)
{
    storeDocument("in", "P1", "in", {{"G01", 2, 5}, {"G02", 1.5, 7}});
    storeDocument("in", "P2", "in", {{"G03", 1, 20}});
    storeDocument("in", "R1", "retu", {{"G01", 9, 8}});
    storeDocument("in", "P0", "in", {{"G01", 9, 5}}, QDate::currentDate().addDays(-1));
    GoodsCodeCaption = QStringLiteral("货号");
    GoodsNameCaption = QStringLiteral("品名");
    GoodsSpecCaption = QStringLiteral("规格型号");
    GoodsTypeCaption = QStringLiteral("型号");
    GoodsKindCaption = QStringLiteral("类别");

    auto f = openForm<TFrmIn>();
    EXPECT_EQ(f->objectName(), "FrmIn");
    EXPECT_EQ(f->windowTitle(), QStringLiteral("进货管理"));
    EXPECT_EQ(CurBillType, "in");
    EXPECT_EQ(f->header().recordCount(), 1);
    EXPECT_EQ(shownBill(*f), "P1");
    EXPECT_EQ(lineCodes(*f), (QStringList{"G01", "G02"}));
    EXPECT_EQ(f->datePicker()->value(), QDate::currentDate());
    EXPECT_EQ(f->totalQuantityBox()->text(), "3.5");
    EXPECT_EQ(f->totalAmountBox()->text(), "20.5");
    EXPECT_EQ(f->capitalsBox()->text(), QStringLiteral("贰拾零圆伍角零分整"));
    EXPECT_EQ(f->companyNameBox()->text(), QStringLiteral("华美供应"));
    EXPECT_EQ(titles(f->grid()), (QStringList{"货号", "品名", "规格型号", "型号", "类别", "单位", "单价", "数量", "小计", "备注"}));
    EXPECT_EQ(db::asString(f->lines().value(0, f->lines().fieldIndex("gods_name"))), QStringLiteral("洗发水"));

    QStringList buttons;
    for (const char* name : {"cmd_add", "cmd_edit", "cmd_dele", "cmd_find", "cmd_prin", "cmd_save", "cmd_canc", "cmd_exit"})
        buttons << button(*f, name)->text();
    EXPECT_EQ(buttons, (QStringList{"新增[&A]", "修改[&E]", "删除[&D]", "查询[&F]", "打印[&P]", "保存[&S]", "取消[&C]", "退出[&X]"}));
    QStringList labels;
    for (auto* l : f->findChildren<QLabel*>())
        labels << l->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("客户公司")));
    EXPECT_TRUE(labels.contains(QStringLiteral("实付金额")));
    EXPECT_FALSE(labels.contains(QStringLiteral("联系电话")));
    EXPECT_NE(f->findChild<QPushButton*>("BitBtn1"), nullptr);
    EXPECT_EQ(f->companyCodeBox()->objectName(), "DBEdit2");

    // Browsing: the lines can be looked at, not changed.
    EXPECT_TRUE(f->grid()->isReadOnly());
    EXPECT_TRUE(f->grid()->isEnabled());
    EXPECT_FALSE(f->headerGroup()->isEnabled());
    EXPECT_FALSE(f->footerGroup()->isEnabled());
}

TEST_F(PurchaseTest, WithoutAPurchaseTodayNoDocumentIsShown)
{
    storeDocument("in", "P0", "in", {{"G01", 9, 5}}, QDate::currentDate().addDays(-1));
    auto f = openForm<TFrmIn>();
    EXPECT_TRUE(shownBill(*f).isEmpty());
    EXPECT_EQ(f->lines().recordCount(), 0);
    EXPECT_EQ(f->totalQuantityBox()->text(), "0");
    EXPECT_EQ(f->totalAmountBox()->text(), "0");
    EXPECT_EQ(f->capitalsBox()->text(), QStringLiteral("零分整"));
    click(*f, "cmd_edit"); // nothing to edit
    EXPECT_EQ(f->mode(), FormMode::Null);
}

TEST_F(PurchaseTest, TwoPurchasesAverageTheCostPrice)
{
    testui::PromptResponder prompts;
    auto f = openForm<TFrmIn>();
    purchase(*f, {{"G01", 10, 5}});
    EXPECT_EQ(stock("G01").amount, 10);
    EXPECT_EQ(stock("G01").cost.toDouble(), 5);

    purchase(*f, {{"G01", 10, 7}});
    EXPECT_EQ(stock("G01").amount, 20);
    EXPECT_DOUBLE_EQ(stock("G01").cost.toDouble(), 6);
    EXPECT_EQ(count("storemain"), 1);
    EXPECT_EQ(count("inmain", "bill_type='in' and bill_date=:d", {{"d", db::toStorageText(QDate::currentDate())}}), 2);
    EXPECT_EQ(count("inmain", "shou_tota=50"), 1);
    EXPECT_EQ(count("inmain", "shou_tota=70"), 1);
    // Each line belongs to its own document, and the second is still shown.
    EXPECT_EQ(count("ingoods", "bill_no=:b and sub_amou=10 and unit_pric=7", {{"b", shownBill(*f)}}), 1);
    EXPECT_EQ(count("ingoods"), 2);
    EXPECT_EQ(lineCodes(*f), QStringList{"G01"});
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(PurchaseTest, SeveralLinesOfOneGoodsAverageOneAfterTheOther)
{
    setStock("G01", QVariant(), QVariant()); // an initialised record with nothing in it counts as 0 at 0
    setStock("G02", 4.0, 10.0);
    auto f = openForm<TFrmIn>();
    purchase(*f, {{"G01", 10, 5}, {"G01", 10, 8}, {"G02", 6, 5}, {"G03", 2, 20}});
    EXPECT_EQ(stock("G01").amount, 20);
    EXPECT_DOUBLE_EQ(stock("G01").cost.toDouble(), 6.5);
    EXPECT_EQ(stock("G02").amount, 10);
    EXPECT_DOUBLE_EQ(stock("G02").cost.toDouble(), 7);
    EXPECT_EQ(stock("G03").amount, 2); // goods without a record get one at the line's price
    EXPECT_DOUBLE_EQ(stock("G03").cost.toDouble(), 20);
    EXPECT_EQ(count("storemain"), 3);
    EXPECT_EQ(count("ingoods"), 4);
}

TEST_F(PurchaseTest, EnterInTheCodeCellTakesThePurchasePriceOfAChangedLine)
{
    storeDocument("in", "P1", "in", {{"G01", 2, 9}});
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_edit");
    // The stored line, not changed: Enter in its code cell leaves the price alone.
    clickCell(*f, cell(*f, "gods_code", 0));
    QTest::keyClick(f->grid(), Qt::Key_Return);
    EXPECT_EQ(f->lines().asFloat("unit_pric"), 9);

    enterCell(*f, "gods_code", "G02");
    EXPECT_EQ(f->lines().asString("unit_pric"), "7");
    EXPECT_EQ(f->grid()->model()->data(cell(*f, "unit_pric")).toString(), "7");
    EXPECT_EQ(f->grid()->model()->data(cell(*f, "gods_name")).toString(), QStringLiteral("护发素"));
    enterCell(*f, "gods_code", "G99"); // no such goods: no price
    EXPECT_TRUE(f->lines().value("unit_pric").isNull());
}

TEST_F(PurchaseTest, EnterOnAnEmptyCodeCellGoesToTheDocumentRemark)
{
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    clickCell(*f, cell(*f, "gods_code"));
    QTest::keyClick(f->grid(), Qt::Key_Return);
    EXPECT_TRUE(f->remarkBox()->hasFocus());
}

TEST_F(PurchaseTest, TheEllipsisChoosesGoodsButTakesNoPrice)
{
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    QWidget* editor = openCell(*f, "gods_code");
    ASSERT_NE(editor, nullptr);
    auto* ellipsis = editor->findChild<QToolButton*>("EditButton");
    ASSERT_NE(ellipsis, nullptr);
    QTest::mouseClick(ellipsis, Qt::LeftButton);
    EXPECT_TRUE(actOnModal<TFrmGoodsFind>([](TFrmGoodsFind& d) {
        QTest::keyClicks(d.codeBox(), "G03");
        QTest::mouseClick(d.findChild<QPushButton*>("cmd_prin"), Qt::LeftButton);
    }));
    QCoreApplication::processEvents();
    EXPECT_EQ(f->lines().asString("gods_code"), "G03");
    EXPECT_TRUE(f->lines().value("unit_pric").isNull());
    EXPECT_EQ(f->grid()->model()->data(cell(*f, "gods_name")).toString(), QStringLiteral("染膏"));

    // Closed without a choice: the line keeps its goods.
    f->grid()->setFocus();
    clickCell(*f, cell(*f, "gods_code"));
    QTest::keyClick(f->grid(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(actOnModal<TFrmGoodsFind>([](TFrmGoodsFind& d) { QTest::mouseClick(d.findChild<QPushButton*>("cmd_exit"), Qt::LeftButton); }));
    EXPECT_EQ(f->lines().asString("gods_code"), "G03");
}

TEST_F(PurchaseTest, ADocumentWithoutQuantityIsRefused)
{
    testui::PromptResponder prompts;
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    prompts.expect(QStringLiteral("数量不能为0"));
    click(*f, "cmd_save"); // no lines typed
    EXPECT_EQ(f->mode(), FormMode::Add);

    typeLine(*f, "G01", "3", "5");
    newLine(*f);
    typeLine(*f, "G02", "-3", "7");
    prompts.expect(QStringLiteral("数量不能为0"));
    click(*f, "cmd_save");
    prompts.verify();
    EXPECT_EQ(prompts.last().buttons, ui::Buttons::Ok);
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(count("inmain"), 0);
    EXPECT_EQ(count("ingoods"), 0);
    EXPECT_EQ(count("storemain"), 0);

    // Corrected, the same entry saves.
    enterCell(*f, "sub_amou", "0.5");
    click(*f, "cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(stock("G02").amount, 0.5);
}

TEST_F(PurchaseTest, TheLineStillBeingTypedCountsInTheSave)
{
    testui::PromptResponder prompts;
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    typeLine(*f, "G01", "4", "5");
    EXPECT_TRUE(f->totalQuantityBox()->text().isEmpty()); // the line is not left yet
    click(*f, "cmd_save");
    EXPECT_EQ(prompts.count(), 0);
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(stock("G01").amount, 4);
    EXPECT_EQ(f->totalQuantityBox()->text(), "4");
}

TEST_F(PurchaseTest, EditingALineMovesStockByTheDifferenceAndAveragesAgain)
{
    setStock("G01", 10.0, 5.0);
    auto f = openForm<TFrmIn>();
    purchase(*f, {{"G01", 10, 8}});
    EXPECT_EQ(stock("G01").amount, 20);
    EXPECT_DOUBLE_EQ(stock("G01").cost.toDouble(), 6.5);

    click(*f, "cmd_edit");
    EXPECT_EQ(f->mode(), FormMode::Edit);
    const OldLineSnapshot& old = StockDocumentForm::oldLines(StockDocumentKind::Purchase);
    EXPECT_EQ(old.OldLineCount, 1);
    EXPECT_EQ(old.OldLineCodes, std::vector<QString>{"G01"});
    EXPECT_EQ(old.OldLineQtys, std::vector<double>{10});
    lineAt(*f, 0);
    enterCell(*f, "sub_amou", "4");
    click(*f, "cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(stock("G01").amount, 14);
    // Taking the old line back keeps the cost; the line is averaged in again.
    EXPECT_DOUBLE_EQ(stock("G01").cost.toDouble(), (10 * 6.5 + 4 * 8) / 14.0);
    EXPECT_EQ(count("ingoods"), 1);
    EXPECT_EQ(count("ingoods", "sub_amou=4"), 1);
    EXPECT_EQ(count("inmain", "shou_tota=32"), 1);

    // A later document's save takes nothing back, whatever the snapshot holds.
    purchase(*f, {{"G01", 1, 8}});
    EXPECT_EQ(stock("G01").amount, 15);
}

TEST_F(PurchaseTest, AnEditThatTakesStockBelowZeroCostsTheLineAtItsPrice)
{
    storeDocument("in", "P1", "in", {{"G01", 10, 5}});
    setStock("G01", 3.0, 4.5); // 7 of the 10 sold since
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_edit");
    lineAt(*f, 0);
    enterCell(*f, "sub_amou", "12");
    click(*f, "cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(stock("G01").amount, 5);
    EXPECT_DOUBLE_EQ(stock("G01").cost.toDouble(), 5); // taken back to -7 first: nothing to average with
}

TEST_F(PurchaseTest, ChangingTheGoodsOfALineMovesBothGoods)
{
    auto f = openForm<TFrmIn>();
    purchase(*f, {{"G01", 10, 5}});
    click(*f, "cmd_edit");
    enterCell(*f, "gods_code", "G02");
    click(*f, "cmd_save");
    EXPECT_EQ(stock("G01").amount, 0);
    EXPECT_EQ(stock("G02").amount, 10);
    EXPECT_DOUBLE_EQ(stock("G02").cost.toDouble(), 7); // Enter took the purchase price of G02
}

TEST_F(PurchaseTest, DeletingALineWhileEditingTakesItsStockBackWithTheSave)
{
    testui::PromptResponder prompts;
    auto f = openForm<TFrmIn>();
    purchase(*f, {{"G01", 10, 5}, {"G02", 3, 7}});
    click(*f, "cmd_edit");
    lineAt(*f, 1);
    prompts.expect(QStringLiteral("确认删除本条数据?"), {ui::Answer::Cancel});
    click(*f, "cmd_dele");
    EXPECT_EQ(lineCodes(*f), (QStringList{"G01", "G02"}));
    prompts.expect(QStringLiteral("确认删除本条数据?"), {ui::Answer::Ok});
    click(*f, "cmd_dele");
    prompts.verify();
    EXPECT_EQ(prompts.last().caption, QStringLiteral("提示"));
    EXPECT_EQ(prompts.last().buttons, ui::Buttons::OkCancel);
    EXPECT_EQ(prompts.last().icon, ui::Icon::Question);
    EXPECT_EQ(lineCodes(*f), QStringList{"G01"});
    EXPECT_EQ(f->totalQuantityBox()->text(), "10");
    EXPECT_EQ(f->mode(), FormMode::Edit);
    EXPECT_EQ(count("ingoods"), 2); // not before the save

    click(*f, "cmd_save");
    EXPECT_EQ(count("ingoods"), 1);
    EXPECT_EQ(stock("G01").amount, 10);
    EXPECT_EQ(stock("G02").amount, 0);
}

TEST_F(PurchaseTest, ADeletedLineComesBackWithCancel)
{
    testui::PromptResponder prompts;
    storeDocument("in", "P1", "in", {{"G01", 2, 5}, {"G02", 1, 7}});
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_edit");
    lineAt(*f, 0);
    prompts.expect(QStringLiteral("确认删除本条数据?"), {ui::Answer::Ok});
    click(*f, "cmd_dele");
    EXPECT_EQ(lineCodes(*f), QStringList{"G02"});
    click(*f, "cmd_canc");
    EXPECT_EQ(lineCodes(*f), (QStringList{"G01", "G02"}));
    EXPECT_EQ(f->totalQuantityBox()->text(), "3");
    EXPECT_EQ(count("ingoods"), 2);
}

TEST_F(PurchaseTest, OldLinesOfGoodsWithoutAStockRecordArePassedOver)
{
    storeDocument("in", "P1", "in", {{"G01", 10, 5}}); // stored before any stock record existed
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_edit");
    lineAt(*f, 0);
    enterCell(*f, "sub_amou", "4");
    click(*f, "cmd_save");
    EXPECT_EQ(stock("G01").amount, 4);
    EXPECT_EQ(stock("G01").cost.toDouble(), 5);
}

TEST_F(PurchaseTest, DeletingADocumentTakesItsStockBack)
{
    testui::PromptResponder prompts;
    storeDocument("in", "P1", "in", {{"G01", 10, 5}, {"G02", 2, 7}, {"G09", 1, 1}});
    setStock("G01", 3.0, 4.5);
    setStock("G02", 2.0, 7.0);
    auto f = openForm<TFrmIn>();

    prompts.expect(QStringLiteral("此操作将删除本单全部数据，确认删除?"), {ui::Answer::Cancel});
    click(*f, "cmd_dele");
    EXPECT_EQ(count("inmain"), 1);
    EXPECT_EQ(stock("G01").amount, 3);

    prompts.expect(QStringLiteral("此操作将删除本单全部数据，确认删除?"), {ui::Answer::Ok});
    click(*f, "cmd_dele");
    prompts.verify();
    EXPECT_EQ(prompts.last().caption, QStringLiteral("提示"));
    EXPECT_EQ(prompts.last().buttons, ui::Buttons::OkCancel);
    EXPECT_EQ(count("inmain"), 0);
    EXPECT_EQ(count("ingoods"), 0);
    EXPECT_EQ(stock("G01").amount, -7);
    EXPECT_EQ(stock("G01").cost.toDouble(), 4.5);
    EXPECT_EQ(stock("G02").amount, 0);
    EXPECT_FALSE(stock("G09").found); // goods without a record are passed over
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_TRUE(shownBill(*f).isEmpty());
    EXPECT_EQ(f->lines().recordCount(), 0);
    EXPECT_EQ(f->totalQuantityBox()->text(), "0");
}

TEST_F(PurchaseTest, ADocumentOfAMonthWithAStockCheckCannotBeDeleted)
{
    testui::PromptResponder prompts;
    storeDocument("in", "P1", "in", {{"G01", 10, 5}});
    setStock("G01", 10.0, 5.0);
    const QDate today = QDate::currentDate();
    // A check of any goods in the same month closes it; other months do not.
    const QDate firstOfMonth(today.year(), today.month(), 1);
    exec("insert into storchek (chek_date, gods_code) values (:d, 'G03'), (:other, 'G01'), (:lastYear, 'G01'),"
         " (:lastSecondBefore, 'G01'), (:nextMonth, 'G01')",
         {{"d", db::toStorageText(firstOfMonth)},
          {"other", db::toStorageText(today.addMonths(-1))},
          {"lastYear", db::toStorageText(today.addYears(-1))},
          {"lastSecondBefore", db::toStorageText(QDateTime(firstOfMonth.addDays(-1), QTime(23, 59, 59)))},
          {"nextMonth", db::toStorageText(firstOfMonth.addMonths(1))}});
    auto f = openForm<TFrmIn>();
    prompts.expect(QStringLiteral("本单所在月份已经盘点，不可删除"));
    click(*f, "cmd_dele");
    prompts.verify();
    EXPECT_EQ(prompts.last().buttons, ui::Buttons::Ok);
    EXPECT_EQ(count("inmain"), 1);
    EXPECT_EQ(count("ingoods"), 1);
    EXPECT_EQ(stock("G01").amount, 10);

    exec("delete from storchek where gods_code='G03'");
    prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Ok});
    click(*f, "cmd_dele");
    prompts.verify();
    EXPECT_EQ(count("inmain"), 0);
    EXPECT_EQ(stock("G01").amount, 0);
}

TEST_F(PurchaseTest, CancellingANewDocumentWritesNothing)
{
    storeDocument("in", "P1", "in", {{"G01", 2, 5}}, QDate::currentDate());
    exec("update inmain set bill_date=:d", {{"d", db::toStorageText(QDate::currentDate())}});
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    EXPECT_NE(shownBill(*f), "P1");
    typeLine(*f, "G02", "3", "7");
    newLine(*f);
    typeLine(*f, "G03", "1", "20");
    newLine(*f);
    EXPECT_EQ(f->totalQuantityBox()->text(), "4");
    click(*f, "cmd_canc");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(count("inmain"), 1);
    EXPECT_EQ(count("ingoods"), 1);
    EXPECT_EQ(count("storemain"), 0);
    EXPECT_EQ(shownBill(*f), "P1");
    EXPECT_EQ(lineCodes(*f), QStringList{"G01"});
    EXPECT_EQ(f->totalQuantityBox()->text(), "2");
    EXPECT_EQ(f->totalAmountBox()->text(), "10");
    EXPECT_TRUE(button(*f, "cmd_add")->hasFocus());
}

TEST_F(PurchaseTest, CancellingAnEditBringsTheStoredDocumentBack)
{
    const QDate stored = QDate::currentDate();
    storeDocument("in", "P1", "in", {{"G01", 2, 5}, {"G02", 1, 7}}, stored);
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_edit");
    f->datePicker()->setDate(stored.addDays(-3));
    lineAt(*f, 0);
    enterCell(*f, "sub_amou", "9");
    lineAt(*f, 1);
    EXPECT_EQ(f->totalQuantityBox()->text(), "10");
    click(*f, "cmd_canc");
    EXPECT_EQ(f->totalQuantityBox()->text(), "3");
    EXPECT_EQ(column(f->lines(), "sub_amou"), (QStringList{"2", "1"}));
    EXPECT_EQ(f->datePicker()->value(), stored);
    EXPECT_EQ(count("ingoods", "sub_amou=9"), 0);
}

TEST_F(PurchaseTest, AFailedStockUpdateLeavesNoDocumentBehind)
{
    testui::PromptResponder prompts;
    setStock("G01", 10.0, 5.0);
    exec("create trigger stock_locked before update on storemain begin select raise(abort, '库存记录被锁定'); end");
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    typeLine(*f, "G03", "2", "20"); // a new stock record: written before the failure
    newLine(*f);
    typeLine(*f, "G01", "10", "7");
    prompts.expect(ui::PromptRequest::Kind::Error, QStringLiteral("库存记录被锁定"));
    click(*f, "cmd_save");
    prompts.verify();
    EXPECT_EQ(count("inmain"), 0);
    EXPECT_EQ(count("ingoods"), 0);
    EXPECT_FALSE(stock("G03").found);
    EXPECT_EQ(stock("G01").amount, 10);
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(lineCodes(*f), (QStringList{"G03", "G01"}));

    // Once the records are free again, the same entry saves once.
    exec("drop trigger stock_locked");
    click(*f, "cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(count("inmain"), 1);
    EXPECT_EQ(count("ingoods"), 2);
    EXPECT_EQ(stock("G01").amount, 20);
    EXPECT_DOUBLE_EQ(stock("G01").cost.toDouble(), 6);
    EXPECT_EQ(stock("G03").amount, 2);
}

TEST_F(PurchaseTest, AFailedDeleteKeepsTheDocumentAndItsStock)
{
    testui::PromptResponder prompts;
    storeDocument("in", "P1", "in", {{"G01", 4, 5}});
    setStock("G01", 10.0, 5.0);
    exec("create trigger lines_kept before delete on ingoods begin select raise(abort, '明细不能删除'); end");
    auto f = openForm<TFrmIn>();
    prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Ok});
    prompts.expect(ui::PromptRequest::Kind::Error, QStringLiteral("明细不能删除"));
    click(*f, "cmd_dele");
    prompts.verify();
    EXPECT_EQ(count("inmain"), 1);
    EXPECT_EQ(count("ingoods"), 1);
    EXPECT_EQ(stock("G01").amount, 10);
    EXPECT_EQ(shownBill(*f), "P1");
    EXPECT_EQ(lineCodes(*f), QStringList{"G01"});
}

TEST_F(PurchaseTest, TheAmountIsShownInCapitals)
{
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    typeLine(*f, "G01", "2.5", "3");
    EXPECT_EQ(f->grid()->model()->data(cell(*f, "sub_tota")).toString(), "7.5");
    newLine(*f); // leaving the line totals it
    EXPECT_EQ(f->totalQuantityBox()->text(), "2.5");
    EXPECT_EQ(f->totalAmountBox()->text(), "7.5");
    EXPECT_EQ(f->capitalsBox()->text(), QStringLiteral("柒圆伍角零分整"));
    click(*f, "cmd_save");
    EXPECT_EQ(scalar("select shou_tota from inmain").toDouble(), 7.5);
}

TEST_F(PurchaseTest, HeaderBoxesReachTheStoredDocument)
{
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    EXPECT_TRUE(f->voucherBox()->hasFocus());
    QTest::keyClicks(f->voucherBox(), "V-001");

    bool chose = false;
    whenModal<TFrmCompFind>([](TFrmCompFind& d) {
        clickRow(d.grid(), 1);
        QTest::mouseClick(d.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    }, chose);
    click(*f, "BitBtn1");
    EXPECT_TRUE(chose);
    EXPECT_EQ(f->companyCodeBox()->text(), "C02");
    EXPECT_EQ(f->companyNameBox()->text(), QStringLiteral("丽人商行"));

    chooseWithMouse(f->currencyCombo(), QStringLiteral("美元"));
    EXPECT_EQ(f->rateBox()->text(), "6.8");
    chooseWithMouse(f->settlementCombo(), QStringLiteral("转账"));
    chooseWithMouse(f->employeeCombos()[0], QStringLiteral("E2"));
    EXPECT_EQ(f->findChild<ui::DbLineEdit*>("DBEdit11")->text(), QStringLiteral("李明"));
    testui::typeText(f->remarkBox(), QStringLiteral("月初进货"));
    QTest::keyClicks(f->factBox(), "12.5");
    f->datePicker()->setDate(QDate(2025, 3, 4));

    f->grid()->setFocus();
    typeLine(*f, "G01", "2", "5");
    click(*f, "cmd_save");
    ASSERT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(count("inmain", "vouc_no='V-001' and comp_code='C02' and mone_type=:m and mone_rate=6.8 and fee_type=:fee"
                              " and oper_code='E2' and remark=:r and fact_tota=12.5 and bill_date='2025-03-04 00:00:00'"
                              " and bill_type='in' and shou_tota=10",
                    {{"m", QStringLiteral("美元")}, {"fee", QStringLiteral("转账")}, {"r", QStringLiteral("月初进货")}}),
              1);
    EXPECT_EQ(scalar("select count(*) from ingoods a join inmain b on a.bill_no=b.bill_no").toInt(), 1);
}

TEST_F(PurchaseTest, CodesTypedInAnyLetterCaseAreStoredAsTheirRecordsSpellThem)
{
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    retype(f->companyCodeBox(), "c02");
    QTest::keyClick(f->companyCodeBox(), Qt::Key_Tab);
    EXPECT_EQ(f->companyNameBox()->text(), QStringLiteral("丽人商行"));
    retype(f->employeeCombos()[0], "e2");
    QTest::keyClick(f->employeeCombos()[0], Qt::Key_Tab);
    EXPECT_EQ(f->findChild<ui::DbLineEdit*>("DBEdit11")->text(), QStringLiteral("李明"));
    f->grid()->setFocus();
    typeLine(*f, "g01", "2", "5");
    EXPECT_EQ(cell(*f, "gods_name").data().toString(), QStringLiteral("洗发水"));
    click(*f, "cmd_save");
    ASSERT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(count("inmain", "comp_code='C02' collate binary and oper_code='E2' collate binary"), 1);
    EXPECT_EQ(count("ingoods", "gods_code='G01' collate binary"), 1);
    EXPECT_DOUBLE_EQ(stock("G01").amount, 2);
}

TEST_F(PurchaseTest, ACompanyWhoseCodeTheDocumentCannotHoldIsRefused)
{
    // A company entered before its code was held to what a document keeps.
    exec("insert into company (comp_code, comp_name) values ('C0123456789X', '远方贸易')");
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    bool chose = false;
    whenModal<TFrmCompFind>([](TFrmCompFind& d) {
        d.dataset().locate("comp_code", "C0123456789X");
        QTest::mouseClick(d.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    }, chose);
    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Error, QStringLiteral("客户编码：“C0123456789X”超过了 10 个字"));
    click(*f, "BitBtn1");
    prompts.verify();
    EXPECT_TRUE(chose);
    EXPECT_EQ(f->companyCodeBox()->text(), QString()) << "never the code cut to one of no company";

    f->grid()->setFocus();
    typeLine(*f, "G01", "2", "5");
    click(*f, "cmd_save");
    ASSERT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(count("inmain", "comp_code is not null"), 0);
}

TEST_F(PurchaseTest, AnAmountThatIsNoNumberStopsTheSaveNamingItsBox)
{
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    testui::PromptResponder prompts;
    prompts.expect(testui::PromptResponder::Kind::Error, QStringLiteral("实付金额：“abc”不是有效的数值"));
    f->factBox()->setFocus();
    QTest::keyClicks(f->factBox(), "abc");
    f->grid()->setFocus();
    typeLine(*f, "G01", "2", "5");
    prompts.verify();

    prompts.expect(testui::PromptResponder::Kind::Error, QStringLiteral("实付金额：“abc”不是有效的数值"));
    click(*f, "cmd_save");
    prompts.verify();
    EXPECT_EQ(f->mode(), FormMode::Add);
    EXPECT_EQ(QApplication::focusWidget(), f->factBox());
    EXPECT_EQ(count("inmain"), 0);
    EXPECT_EQ(count("ingoods"), 0);
    EXPECT_FALSE(stock("G01").found);

    QTest::keyClick(f->factBox(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(f->factBox(), "10");
    click(*f, "cmd_save");
    EXPECT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(count("inmain", "fact_tota=10"), 1);
}

TEST_F(PurchaseTest, ADocumentWhoseTotalsAreBeyondAnyNumberIsRefusedNamingTheTotal)
{
    struct Case {
        const char* name;
        const char* quantity;
        const char* price;
        const char* message;
        const char* mended; // the cell of the second line typed again
    };
    const Case cases[] = {
        {"amount", "1", "1e308", "合计金额：超出了可存的范围", "unit_pric"},
        {"quantity", "1e308", "0", "合计数量：超出了可存的范围", "sub_amou"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto f = openForm<TFrmIn>();
        click(*f, "cmd_add");
        typeLine(*f, "G01", QString::fromLatin1(c.quantity), QString::fromLatin1(c.price));
        newLine(*f);
        typeLine(*f, "G02", QString::fromLatin1(c.quantity), QString::fromLatin1(c.price));
        testui::PromptResponder prompts;
        prompts.expect(testui::PromptResponder::Kind::Error, QString::fromUtf8(c.message));
        click(*f, "cmd_save");
        prompts.verify();
        EXPECT_EQ(f->mode(), FormMode::Add);
        EXPECT_EQ(count("inmain"), 0);
        EXPECT_EQ(count("ingoods"), 0);
        EXPECT_FALSE(stock("G01").found);

        enterCell(*f, c.mended, "5");
        click(*f, "cmd_save");
        EXPECT_EQ(f->mode(), FormMode::Null);
        EXPECT_EQ(count("inmain"), 1);
        exec("delete from inmain");
        exec("delete from ingoods");
        exec("delete from storemain");
    }
}

TEST_F(PurchaseTest, EnterThroughTheHeaderPutsEachTypedValueInItsBox)
{
    ui::EnterAsTab enterAsTab; // as in the program
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    f->datePicker()->setDate(QDate(2026, 12, 9));
    // Voucher, date (left at once), settlement, company code (its chooser
    // button passed over), currency.
    for (const char* value : {"V-002", "", "转账", "C02", "美元"}) {
        testui::typeAtFocus(QString::fromUtf8(value));
        testui::pressAtFocus(Qt::Key_Return);
    }
    f->grid()->setFocus();
    typeLine(*f, "G01", "2", "5");
    click(*f, "cmd_save");
    ASSERT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(count("inmain", "vouc_no='V-002' and bill_date='2026-12-09 00:00:00' and fee_type=:fee"
                              " and comp_code='C02' and mone_type=:m",
                    {{"fee", QStringLiteral("转账")}, {"m", QStringLiteral("美元")}}),
              1);
}

TEST_F(PurchaseTest, KeysMeantForTheBoxAfterADateLeaveTheDateAlone)
{
    ui::EnterAsTab enterAsTab; // as in the program
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    f->datePicker()->setDate(QDate(2026, 12, 9));
    f->datePicker()->setFocus(Qt::TabFocusReason);
    testui::pressAtFocus(Qt::Key_Return);
    testui::pressAtFocus(Qt::Key_Down);
    testui::typeAtFocus("2025");
    EXPECT_EQ(f->datePicker()->date(), QDate(2026, 12, 9));
    click(*f, "cmd_canc");
}

TEST_F(PurchaseTest, EnterInTheHeaderCombosStaysThere)
{
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    for (ui::DbComboBox* combo : {f->settlementCombo(), f->currencyCombo()}) {
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Return);
        EXPECT_FALSE(f->grid()->hasFocus()) << combo->objectName().toStdString();
    }
}

TEST_F(PurchaseTest, ClosingIsRefusedWhileADocumentIsEntered)
{
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    f->close();
    EXPECT_TRUE(f->isVisible());
    click(*f, "cmd_canc");
    click(*f, "cmd_exit");
    EXPECT_FALSE(f->isVisible());
}

TEST_F(PurchaseTest, ANewDocumentNeverTakesTheNumberOfAStoredOne)
{
    const QDateTime at(QDate(2026, 2, 3), QTime(9, 5, 7));
    SetBillClockForTesting([at] { return at; });
    storeDocument("in", "20260203090507", "retu", {});
    storeDocument("out", "20260203090508", "out", {}); // the other side's numbers are another series
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    EXPECT_EQ(shownBill(*f), "20260203090508");
    click(*f, "cmd_canc");
    SetBillClockForTesting({});
}

} // namespace
