#include "stock/Ustore.h"

#include "tests/stock/StockFixture_test.h"

#include "core/Upublic.h"
#include "platform/report/Preview.h"

#include <QCheckBox>

namespace {

class StockQueryTest : public StockFormTest {
protected:
    void SetUp() override
    {
        StockFormTest::SetUp();
        exec("insert into goods (gods_code, gods_name, gods_spec, gods_type, gods_kind, gods_unit) values "
             "('G02', '护发素', '250ml', '修护型', '洗护', '瓶'),"
             "('G01', '洗发水', '500ml', '滋润型', '洗护', '瓶'),"
             "('G03', '染膏', '60g', '棕色', '染发', '支'),"
             "('O''1', '欧氏发油', '', '', '护理', '瓶')");
        // X99 is stocked but not in the catalogue; the blank code is no goods at all.
        exec("insert into storemain (gods_code, gods_amou, cost_pric) values "
             "('G03', -2, 30), ('G01', 3, 2.5), ('X99', 1, 4), ('G02', 10, 1.234), ('  ', 100, 1)");
    }

    db::Dataset& q() { return dataMod().StoreQ; }

    static QStringList listedCodes(TFrmStore& f)
    {
        QStringList out;
        for (int r = 0; r < f.grid()->model()->rowCount(); ++r)
            out << f.grid()->model()->index(r, 0).data().toString();
        return out;
    }
    static QString cell(TFrmStore& f, int row, const char* field)
    {
        const int c = f.grid()->datasetModel()->columnOf(QString::fromLatin1(field));
        return f.grid()->model()->index(row, c).data().toString();
    }
    static void typeCode(TFrmStore& f, const QString& code)
    {
        f.codeBox()->setFocus();
        f.codeBox()->selectAll();
        QTest::keyClick(f.codeBox(), Qt::Key_Delete);
        testui::typeText(f.codeBox(), code);
    }
    static void choose(QComboBox* combo, const QString& text)
    {
        combo->showPopup();
        const int i = combo->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        QAbstractItemView* list = combo->view();
        ASSERT_TRUE(list->isVisible());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(i, 0)).center());
    }
    static std::pair<QString, QString> totals(TFrmStore& f)
    {
        return {f.totalQuantityBox()->text(), f.totalCostBox()->text()};
    }
};

TEST_F(StockQueryTest, OpensEmptyWithTheNamedControlsAndTheShopsGoodsCaptions)
{
    GoodsCodeCaption = QStringLiteral("货号");
    GoodsNameCaption = QStringLiteral("品名");
    GoodsSpecCaption = QStringLiteral("容量");
    GoodsTypeCaption = QStringLiteral("款式");
    GoodsKindCaption = QStringLiteral("大类");
    // Another form left StoreQ open on its own selection.
    q().setSql(QStringLiteral("select * from storemain where gods_code='G01'"));
    q().open();

    TFrmStore f;
    EXPECT_EQ(f.objectName(), "FrmStore");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("库存查询"));
    EXPECT_EQ(button(f, "cmd_find")->text(), QStringLiteral("查询[&F]"));
    EXPECT_EQ(button(f, "cmd_prin")->text(), QStringLiteral("打印[&P]"));
    EXPECT_EQ(button(f, "cmd_exit")->text(), QStringLiteral("退出[&X]"));
    EXPECT_EQ(titles(f.grid()),
              (QStringList{"货号", "品名", "容量", "款式", "大类", "单位", "数量", "成本", "小计"}));
    EXPECT_EQ(f.allBox()->text(), QStringLiteral("全部"));
    EXPECT_TRUE(f.allBox()->isChecked());
    EXPECT_EQ(f.grid()->model()->rowCount(), 0);
    EXPECT_EQ(f.codeBox()->objectName(), "Edit1");
    EXPECT_EQ(f.nameCombo()->objectName(), "ComboBox1");
    EXPECT_EQ(f.kindCombo()->objectName(), "ComboBox2");
    EXPECT_TRUE(f.totalQuantityBox()->isReadOnly());
    EXPECT_TRUE(f.totalCostBox()->isReadOnly());
    QStringList names = items(f.nameCombo());
    names.sort();
    EXPECT_EQ(names, (QStringList{"护发素", "染膏", "欧氏发油", "洗发水"}));
    QStringList kinds = items(f.kindCombo());
    kinds.sort();
    EXPECT_EQ(kinds, (QStringList{"护理", "染发", "洗护"}));
    EXPECT_EQ(f.nameCombo()->currentText(), QString());
}

TEST_F(StockQueryTest, WithoutInputsEveryCodedRecordIsListedInCodeOrderWithTotals)
{
    TFrmStore f;
    show(f);
    click(f, "cmd_find");
    EXPECT_EQ(listedCodes(f), (QStringList{"G01", "G02", "G03", "X99"}));
    EXPECT_EQ(cell(f, 0, "gods_name"), QStringLiteral("洗发水"));
    EXPECT_EQ(cell(f, 0, "gods_kind"), QStringLiteral("洗护"));
    EXPECT_EQ(cell(f, 0, "gods_unit"), QStringLiteral("瓶"));
    // 3 units at 2.5 make 7.5.
    EXPECT_EQ(cell(f, 0, "cost_tota"), "7.5");
    EXPECT_EQ(cell(f, 1, "cost_pric"), "1.23");
    EXPECT_EQ(cell(f, 1, "cost_tota"), "12.34");
    // Negative stock is listed and summed as it stands.
    EXPECT_EQ(cell(f, 2, "gods_amou"), "-2");
    EXPECT_EQ(cell(f, 2, "cost_tota"), "-60");
    // Not in the catalogue: listed with empty attributes.
    EXPECT_EQ(cell(f, 3, "gods_name"), QString());
    EXPECT_EQ(cell(f, 3, "cost_tota"), "4");
    // 3 + 10 - 2 + 1 and 7.5 + 12.34 - 60 + 4.
    EXPECT_EQ(totals(f), (std::pair<QString, QString>{"12", "-36.16"}));
    EXPECT_EQ(q().recNo(), 0);
}

TEST_F(StockQueryTest, ATypedCodeListsThatRecordOnly)
{
    TFrmStore f;
    show(f);
    typeCode(f, "G02");
    EXPECT_FALSE(f.allBox()->isChecked());
    click(f, "cmd_find");
    EXPECT_EQ(listedCodes(f), QStringList{"G02"});
    EXPECT_EQ(totals(f), (std::pair<QString, QString>{"10", "12.34"}));

    // A code with an apostrophe is a code like any other.
    exec("insert into storemain (gods_code, gods_amou, cost_pric) values ('O''1', 2, 3)");
    typeCode(f, "O'1");
    click(f, "cmd_find");
    EXPECT_EQ(listedCodes(f), QStringList{"O'1"});
    EXPECT_EQ(cell(f, 0, "gods_name"), QStringLiteral("欧氏发油"));
    EXPECT_EQ(totals(f), (std::pair<QString, QString>{"2", "6"}));
}

TEST_F(StockQueryTest, ACodeWithoutStockListsNothingAndTotalsZero)
{
    TFrmStore f;
    show(f);
    typeCode(f, "G01' or '1'='1");
    click(f, "cmd_find");
    EXPECT_EQ(f.grid()->model()->rowCount(), 0);
    EXPECT_EQ(totals(f), (std::pair<QString, QString>{"0", "0"}));
}

TEST_F(StockQueryTest, AKindListsTheStockOfItsGoods)
{
    TFrmStore f;
    show(f);
    typeCode(f, "G03");
    choose(f.kindCombo(), QStringLiteral("洗护"));
    EXPECT_EQ(f.codeBox()->text(), QString());
    EXPECT_FALSE(f.allBox()->isChecked());
    click(f, "cmd_find");
    // X99 has no goods record, so no kind either.
    EXPECT_EQ(listedCodes(f), (QStringList{"G01", "G02"}));
    EXPECT_EQ(totals(f), (std::pair<QString, QString>{"13", "19.84"}));

    // A kind typed with an apostrophe reaches the query as a value.
    f.kindCombo()->setFocus();
    f.kindCombo()->lineEdit()->selectAll();
    QTest::keyClick(f.kindCombo()->lineEdit(), Qt::Key_Delete);
    testui::typeText(f.kindCombo(), QStringLiteral("洗护' or '1'='1"));
    click(f, "cmd_find");
    EXPECT_EQ(f.grid()->model()->rowCount(), 0);
}

TEST_F(StockQueryTest, AGoodsCodeListedTwiceInTheCatalogueIsStillOneStockRecord)
{
    exec("insert into goods (gods_code, gods_name, gods_kind) values ('G01', '洗发水(大)', '洗护')");
    TFrmStore f;
    show(f);
    click(f, "cmd_find");
    EXPECT_EQ(listedCodes(f), (QStringList{"G01", "G02", "G03", "X99"}));
    choose(f.kindCombo(), QStringLiteral("洗护"));
    click(f, "cmd_find");
    EXPECT_EQ(listedCodes(f), (QStringList{"G01", "G02"}));
    EXPECT_EQ(totals(f), (std::pair<QString, QString>{"13", "19.84"}));
}

TEST_F(StockQueryTest, ChoosingANameFillsTheCodeBoxAndFindsThatCode)
{
    TFrmStore f;
    show(f);
    click(f, "cmd_find");
    choose(f.kindCombo(), QStringLiteral("染发"));
    choose(f.nameCombo(), QStringLiteral("染膏"));
    EXPECT_EQ(f.codeBox()->text(), "G03");
    EXPECT_EQ(f.kindCombo()->currentText(), QString());
    EXPECT_FALSE(f.allBox()->isChecked());
    // The listed row of that code became current.
    EXPECT_EQ(q().asString("gods_code"), "G03");
    click(f, "cmd_find");
    EXPECT_EQ(listedCodes(f), QStringList{"G03"});
}

TEST_F(StockQueryTest, TypingACodeMovesToItsListedRecord)
{
    TFrmStore f;
    show(f);
    click(f, "cmd_find");
    typeCode(f, "X99");
    EXPECT_EQ(q().asString("gods_code"), "X99");
    EXPECT_EQ(f.grid()->currentIndex().row(), 3);
    // A code not listed leaves the current record where it was.
    typeCode(f, "Z");
    EXPECT_EQ(q().asString("gods_code"), "X99");
    typeCode(f, "g02"); // letter case aside, as the database compares codes
    EXPECT_EQ(q().asString("gods_code"), "G02");
}

TEST_F(StockQueryTest, TheCodeWinsOverTheKind)
{
    TFrmStore f;
    show(f);
    choose(f.kindCombo(), QStringLiteral("洗护"));
    f.codeBox()->setText("G03");
    click(f, "cmd_find");
    EXPECT_EQ(listedCodes(f), QStringList{"G03"});
}

TEST_F(StockQueryTest, AllEmptiesTheOtherInputs)
{
    TFrmStore f;
    show(f);
    choose(f.nameCombo(), QStringLiteral("洗发水"));
    ASSERT_EQ(f.codeBox()->text(), "G01");
    ASSERT_FALSE(f.allBox()->isChecked());
    QTest::mouseClick(f.allBox(), Qt::LeftButton);
    EXPECT_TRUE(f.allBox()->isChecked());
    EXPECT_EQ(f.codeBox()->text(), QString());
    EXPECT_EQ(f.nameCombo()->currentText(), QString());
    EXPECT_EQ(f.kindCombo()->currentText(), QString());
    EXPECT_EQ(f.nameCombo()->count(), 4);
    click(f, "cmd_find");
    EXPECT_EQ(listedCodes(f).size(), 4);
}

TEST_F(StockQueryTest, TheSubtotalIsComputedOnlyWhileTheFormIsOpen)
{
    {
        TFrmStore f;
        show(f);
        click(f, "cmd_find");
        ASSERT_TRUE(q().locate(QStringLiteral("gods_code"), QStringLiteral("G02")));
        EXPECT_DOUBLE_EQ(q().asFloat("cost_tota"), 12.34);
    }
    // A later user of StoreQ (the document postings) does not run it.
    q().close();
    q().setSql(QStringLiteral("select * from storemain where gods_code='G02'"));
    q().open();
    EXPECT_TRUE(q().value(QStringLiteral("cost_tota")).isNull());
}

TEST_F(StockQueryTest, AFailingQueryIsReportedAndKeepsTheTotals)
{
    TFrmStore f;
    show(f);
    click(f, "cmd_find");
    ASSERT_EQ(totals(f), (std::pair<QString, QString>{"12", "-36.16"}));
    exec("drop table storemain");
    {
        testui::PromptResponder prompts;
        prompts.expect(testui::PromptResponder::Kind::Error, QStringLiteral("storemain"));
        click(f, "cmd_find");
    }
    EXPECT_EQ(totals(f), (std::pair<QString, QString>{"12", "-36.16"}));
    EXPECT_EQ(f.grid()->model()->rowCount(), 0);
    EXPECT_FALSE(q().controlsDisabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(StockQueryTest, ThePrintedReportShowsTheListedRowsWithTheShownTotals)
{
    GoodsCodeCaption = QStringLiteral("货号");
    GoodsNameCaption = QStringLiteral("品名");
    GoodsSpecCaption = QStringLiteral("容量");
    GoodsTypeCaption = QStringLiteral("款式");
    TFrmStore f;
    show(f);
    choose(f.kindCombo(), QStringLiteral("洗护"));
    click(f, "cmd_find");
    clickRow(f.grid(), 1);

    report::PreviewCapture capture;
    click(f, "cmd_prin");
    ASSERT_EQ(capture.count(), 1);
    const report::PageModel& model = capture.last();
    ASSERT_EQ(model.pageCount(), 1);
    const report::Page& page = model.pages[0];
    EXPECT_EQ(page.textsOf(report::BandKind::Title),
              (QStringList{"库存报表", "总数量", "13", "总成本", "19.84", "货号", "品名", "容量", "款式", "单位",
                           "数量", "成本", "小计"}));
    EXPECT_EQ(page.textsOf(report::BandKind::Detail),
              (QStringList{"G01", "洗发水", "500ml", "滋润型", "瓶", "3", "2.5", "7.5",   //
                           "G02", "护发素", "250ml", "修护型", "瓶", "10", "1.23", "12.34"}));
    // The list stays on the row the user chose.
    EXPECT_EQ(q().recNo(), 1);
    EXPECT_EQ(f.grid()->currentIndex().row(), 1);
}

TEST_F(StockQueryTest, FindAndPrintFollowTheRightsAtPosition20)
{
    QString refused(38, QLatin1Char('1'));
    refused[19] = QLatin1Char('0');
    PowFind = PowPrin = refused;
    {
        TFrmStore f;
        EXPECT_FALSE(button(f, "cmd_find")->isEnabled());
        EXPECT_FALSE(button(f, "cmd_prin")->isEnabled());
        EXPECT_TRUE(button(f, "cmd_exit")->isEnabled());
    }
    QString only(38, QLatin1Char('0'));
    only[19] = QLatin1Char('1');
    PowFind = only;
    PowPrin = refused;
    {
        TFrmStore f;
        EXPECT_TRUE(button(f, "cmd_find")->isEnabled());
        EXPECT_FALSE(button(f, "cmd_prin")->isEnabled());
    }
    PowFind = refused;
    PowPrin = only;
    {
        TFrmStore f;
        EXPECT_FALSE(button(f, "cmd_find")->isEnabled());
        EXPECT_TRUE(button(f, "cmd_prin")->isEnabled());
    }
}

} // namespace
