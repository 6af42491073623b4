#include "stock/Ustorini.h"

#include "tests/stock/StockFixture_test.h"

#include "core/Upublic.h"
#include "platform/ui/EnterAsTab.h"

#include <QCloseEvent>

namespace {

const QString kImportQuestion = QStringLiteral("本操作将商品资料库中的所有产品添加到库存资料中，\n"
                                               "但不会影响当前库存数量，是否执行?");
const QString kDeleteQuestion = QStringLiteral("此操作将删除本单全部数据，确认删除?");

constexpr int kQuantityColumn = 6;
constexpr int kCostColumn = 7;

class StockInitTest : public StockFormTest {
protected:
    void SetUp() override
    {
        StockFormTest::SetUp();
        exec("insert into goods (gods_code, gods_name, gods_spec, gods_type, gods_kind, gods_unit) values "
             "('G02', '护发素', '250ml', '修护型', '洗护', '瓶'),"
             "('G01', '洗发水', '500ml', '滋润型', '洗护', '瓶'),"
             "('G03', '染膏', '60g', '棕色', '染发', '支')");
        exec("insert into storemain (gods_code, gods_amou, cost_pric) values ('G02', 5, 10)");
    }

    db::Dataset& q() { return dataMod().StoreiniQ; }

    QVariant stored(const QString& code, const QString& column)
    {
        return scalar("select " + column + " from storemain where gods_code=:c", {{"c", code}});
    }
    QStringList storedCodes()
    {
        QStringList out;
        db::Statement st(conn(), QStringLiteral("select gods_code from storemain order by gods_code"));
        while (st.step())
            out << st.value(0).toString();
        return out;
    }
    static int rowOf(ui::DbGrid* grid, const QString& code)
    {
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            if (grid->model()->index(r, 0).data().toString() == code)
                return r;
        return -1;
    }
    // Picks the cell, opens its editor with F2, types the text and confirms
    // with Enter; false when the cell does not open for typing.
    static void pickCell(ui::DbGrid* grid, int row, int column)
    {
        grid->setFocus();
        const QModelIndex target = grid->model()->index(row, column);
        grid->setCurrentIndex(target);
        // Leaving a row whose edit nothing changed redraws the rows, and the
        // grid comes back on the new row's first cell: the user picks the cell again.
        QCoreApplication::processEvents();
        if (grid->currentIndex() != target)
            grid->setCurrentIndex(target);
    }
    static bool typeIntoCell(ui::DbGrid* grid, int row, int column, const QString& text)
    {
        pickCell(grid, row, column);
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        if (!editor)
            return false;
        editor->selectAll();
        testui::typeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The grid commits by a queued call and deletes the editor later.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return true;
    }
    void importAnswering(TFrmStorIni& f, ui::Answer answer)
    {
        testui::PromptResponder prompts;
        prompts.expect(testui::PromptResponder::Kind::Question, kImportQuestion, {answer});
        click(f, "cmd_add");
    }
    static std::vector<bool> enabled(TFrmStorIni& f)
    {
        std::vector<bool> out;
        for (const char* name : {"cmd_add", "cmd_edit", "cmd_dele", "cmd_save", "cmd_canc", "cmd_exit"})
            out.push_back(button(f, name)->isEnabled());
        return out;
    }
};

TEST_F(StockInitTest, OpensOnEveryStockRecordTitledByTheShopsGoodsCaptions)
{
    GoodsCodeCaption = QStringLiteral("货号");
    GoodsNameCaption = QStringLiteral("品名");
    GoodsSpecCaption = QStringLiteral("容量");
    GoodsTypeCaption = QStringLiteral("款式");
    GoodsKindCaption = QStringLiteral("大类");
    exec("insert into storemain (gods_code, gods_amou, cost_pric) values ('G01', 2.5, 3.456)");
    TFrmStorIni f;
    EXPECT_EQ(f.objectName(), "FrmStorIni");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("库存产品初始化"));
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(q().lockType(), db::LockType::BatchOptimistic);
    EXPECT_EQ(titles(f.grid()), (QStringList{"货号", "品名", "容量", "款式", "大类", "单位", "数量", "成本"}));
    const std::pair<const char*, const char*> buttons[] = {{"cmd_add", "导入[&A]"},  {"cmd_edit", "修改[&E]"},
                                                           {"cmd_dele", "删除[&D]"}, {"cmd_save", "保存[&S]"},
                                                           {"cmd_canc", "取消[&C]"}, {"cmd_exit", "退出[&X]"}};
    for (const auto& [name, caption] : buttons)
        EXPECT_EQ(button(f, name)->text(), QString::fromUtf8(caption)) << name;

    ASSERT_EQ(f.grid()->model()->rowCount(), 2);
    const int row = rowOf(f.grid(), "G01");
    ASSERT_GE(row, 0);
    QStringList shown;
    for (int c = 0; c < f.grid()->model()->columnCount(); ++c)
        shown << f.grid()->model()->index(row, c).data().toString();
    EXPECT_EQ(shown, (QStringList{"G01", "洗发水", "500ml", "滋润型", "洗护", "瓶", "2.5", "3.46"}));
}

TEST_F(StockInitTest, TheImportAsksFirstAndCancelIsTheSafeDefault)
{
    TFrmStorIni f;
    show(f);
    {
        testui::PromptResponder prompts;
        prompts.expect(testui::PromptResponder::Kind::Question, kImportQuestion, {ui::Answer::Cancel});
        click(f, "cmd_add");
        const ui::PromptRequest asked = prompts.last();
        EXPECT_EQ(asked.caption, QStringLiteral("确认"));
        EXPECT_EQ(asked.text.split('\n'),
                  (QStringList{"本操作将商品资料库中的所有产品添加到库存资料中，", "但不会影响当前库存数量，是否执行?"}));
        EXPECT_EQ(asked.buttons, ui::Buttons::OkCancel);
        EXPECT_EQ(asked.icon, ui::Icon::Question);
        EXPECT_EQ(asked.defaultAnswer, ui::Answer::Cancel);
    }
    EXPECT_EQ(storedCodes(), QStringList{"G02"});
    EXPECT_EQ(f.grid()->model()->rowCount(), 1);
}

TEST_F(StockInitTest, TheImportAddsTheMissingGoodsAndLeavesStoredQuantitiesAlone)
{
    TFrmStorIni f;
    show(f);
    importAnswering(f, ui::Answer::Ok);
    EXPECT_EQ(storedCodes(), (QStringList{"G01", "G02", "G03"}));
    EXPECT_EQ(stored("G02", "gods_amou").toDouble(), 5);
    EXPECT_EQ(stored("G02", "cost_pric").toDouble(), 10);
    for (const char* code : {"G01", "G03"}) {
        EXPECT_TRUE(stored(code, "gods_amou").isNull()) << code;
        EXPECT_TRUE(stored(code, "cost_pric").isNull()) << code;
    }
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(f.grid()->model()->rowCount(), 3);
    EXPECT_EQ(f.grid()->model()->index(rowOf(f.grid(), "G03"), 1).data().toString(), QStringLiteral("染膏"));

    // Once everything has its record, a second import adds nothing.
    exec("update storemain set gods_amou=8, cost_pric=1.5 where gods_code='G01'");
    importAnswering(f, ui::Answer::Ok);
    EXPECT_EQ(count("storemain"), 3);
    EXPECT_EQ(stored("G01", "gods_amou").toDouble(), 8);
    EXPECT_EQ(stored("G01", "cost_pric").toDouble(), 1.5);
}

TEST_F(StockInitTest, TheImportGivesEachCodeOneRecordAndBlankCodesNone)
{
    // The catalogue does not keep codes unique; the stock table does, and it
    // tells codes apart regardless of case.
    exec("insert into goods (gods_code, gods_name) values "
         "('G01', '洗发水(旧)'), ('g03', '染膏小号'), ('  ', '无编码'), (null, '无编码'), ('G04', '发蜡')");
    exec("insert into storemain (gods_code, gods_amou) values ('g01', 4)");
    TFrmStorIni f;
    show(f);
    importAnswering(f, ui::Answer::Ok);
    EXPECT_EQ(storedCodes(), (QStringList{"g01", "G02", "G03", "G04"}));
    EXPECT_EQ(stored("g01", "gods_amou").toDouble(), 4);
    EXPECT_EQ(count("storemain", "gods_code is null or trim(gods_code)=''"), 0);
}

TEST_F(StockInitTest, GoodsCodesTheDatabaseTellsApartEachGetARecord)
{
    exec("insert into goods (gods_code, gods_name) values ('Ａ1', '发蜡'), ('ａ1', '发胶'), ('a1', '发泥')");
    TFrmStorIni f;
    show(f);
    importAnswering(f, ui::Answer::Ok);
    EXPECT_EQ(count("storemain", "gods_code in ('Ａ1', 'ａ1', 'a1')"), 3);
}

TEST_F(StockInitTest, AnImportThatFailsPartWayWritesNothing)
{
    conn().executeScript(QStringLiteral(
        "create trigger refuse_g03 before insert on storemain when new.gods_code='G03' "
        "begin select raise(abort, 'refused'); end"));
    TFrmStorIni f;
    show(f);
    {
        testui::PromptResponder prompts;
        prompts.expect(testui::PromptResponder::Kind::Question, kImportQuestion, {ui::Answer::Ok});
        prompts.expect(testui::PromptResponder::Kind::Error, "refused");
        click(f, "cmd_add");
    }
    EXPECT_EQ(storedCodes(), QStringList{"G02"});
    EXPECT_EQ(f.grid()->model()->rowCount(), 1);
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_TRUE(button(f, "cmd_add")->isEnabled());
}

TEST_F(StockInitTest, OpeningQuantitiesAndCostsAreWrittenOnlyBySave)
{
    exec("insert into storemain (gods_code) values ('G01'), ('G03')");
    TFrmStorIni f;
    show(f);
    // Browsing: nothing can be typed.
    EXPECT_FALSE(typeIntoCell(f.grid(), rowOf(f.grid(), "G01"), kQuantityColumn, "1"));

    click(f, "cmd_edit");
    EXPECT_EQ(f.mode(), FormMode::Edit);
    // Only quantity and cost take typing.
    EXPECT_FALSE(typeIntoCell(f.grid(), rowOf(f.grid(), "G01"), 0, "X1"));
    EXPECT_FALSE(typeIntoCell(f.grid(), rowOf(f.grid(), "G01"), 5, "箱"));
    ASSERT_TRUE(typeIntoCell(f.grid(), rowOf(f.grid(), "G01"), kQuantityColumn, "12.5"));
    ASSERT_TRUE(typeIntoCell(f.grid(), rowOf(f.grid(), "G01"), kCostColumn, "3"));
    ASSERT_TRUE(typeIntoCell(f.grid(), rowOf(f.grid(), "G02"), kQuantityColumn, "7"));
    ASSERT_TRUE(typeIntoCell(f.grid(), rowOf(f.grid(), "G03"), kCostColumn, "0.8"));
    EXPECT_TRUE(stored("G01", "gods_amou").isNull());
    EXPECT_EQ(stored("G02", "gods_amou").toDouble(), 5);

    click(f, "cmd_save");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(stored("G01", "gods_amou").toDouble(), 12.5);
    EXPECT_EQ(stored("G01", "cost_pric").toDouble(), 3);
    EXPECT_EQ(stored("G02", "gods_amou").toDouble(), 7);
    EXPECT_EQ(stored("G02", "cost_pric").toDouble(), 10);
    EXPECT_TRUE(stored("G03", "gods_amou").isNull());
    EXPECT_EQ(stored("G03", "cost_pric").toDouble(), 0.8);
    EXPECT_EQ(count("storemain"), 3);
    EXPECT_FALSE(q().hasPendingChanges());
}

TEST_F(StockInitTest, EditStartsOnTheFirstCellThatTakesTyping)
{
    ui::EnterAsTab enterAsTab; // as in the program
    TFrmStorIni f;
    show(f);
    ASSERT_EQ(f.grid()->currentIndex().column(), 0); // the goods code, only shown
    click(f, "cmd_edit");
    testui::typeAtFocus("12");
    testui::pressAtFocus(Qt::Key_Return);
    click(f, "cmd_save");
    EXPECT_EQ(stored("G02", "gods_amou").toDouble(), 12);
}

TEST_F(StockInitTest, KeysTypedOnACellReplaceItsValueAndEnterFromTheFinalCellLeavesTheGrid)
{
    ui::EnterAsTab enterAsTab; // as in the program
    exec("insert into storemain (gods_code, gods_amou, cost_pric) values ('G03', 10, 2)");
    TFrmStorIni f;
    show(f);
    click(f, "cmd_edit");
    const int last = f.grid()->model()->rowCount() - 1;
    ASSERT_EQ(rowOf(f.grid(), "G03"), last);
    pickCell(f.grid(), last, kQuantityColumn);
    testui::typeAtFocus("12");
    testui::pressAtFocus(Qt::Key_Return);
    testui::typeAtFocus("3");
    testui::pressAtFocus(Qt::Key_Return);
    // From the final cell the focus moves on: no new stock record, and
    // nothing typed next lands on the first one.
    EXPECT_EQ(f.grid()->currentIndex(), f.grid()->model()->index(last, kCostColumn));
    testui::typeAtFocus("4");
    click(f, "cmd_save");

    EXPECT_EQ(stored("G03", "gods_amou").toDouble(), 12);
    EXPECT_EQ(stored("G03", "cost_pric").toDouble(), 3);
    EXPECT_EQ(stored("G02", "gods_amou").toDouble(), 5);
    EXPECT_EQ(stored("G02", "cost_pric").toDouble(), 10);
    EXPECT_EQ(count("storemain"), 2);
}

TEST_F(StockInitTest, CancelDropsEveryTypedValue)
{
    exec("insert into storemain (gods_code, gods_amou, cost_pric) values ('G01', 1, 2)");
    TFrmStorIni f;
    show(f);
    click(f, "cmd_edit");
    ASSERT_TRUE(typeIntoCell(f.grid(), rowOf(f.grid(), "G01"), kQuantityColumn, "40"));
    ASSERT_TRUE(typeIntoCell(f.grid(), rowOf(f.grid(), "G02"), kQuantityColumn, "50"));
    ASSERT_TRUE(typeIntoCell(f.grid(), rowOf(f.grid(), "G02"), kCostColumn, "60"));
    click(f, "cmd_canc");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_EQ(f.grid()->model()->index(rowOf(f.grid(), "G01"), kQuantityColumn).data().toString(), "1");
    EXPECT_EQ(f.grid()->model()->index(rowOf(f.grid(), "G02"), kQuantityColumn).data().toString(), "5");
    EXPECT_EQ(f.grid()->model()->index(rowOf(f.grid(), "G02"), kCostColumn).data().toString(), "10");
    EXPECT_FALSE(q().hasPendingChanges());
    EXPECT_EQ(stored("G02", "gods_amou").toDouble(), 5);
}

TEST_F(StockInitTest, EditOnAnEmptyTableGivesARowToTypeInto)
{
    exec("delete from storemain");
    TFrmStorIni f;
    show(f);
    ASSERT_EQ(f.grid()->model()->rowCount(), 0);
    click(f, "cmd_edit");
    EXPECT_EQ(f.mode(), FormMode::Edit);
    EXPECT_EQ(f.grid()->model()->rowCount(), 1);
    EXPECT_TRUE(q().isEditing());
    click(f, "cmd_canc");
    EXPECT_EQ(f.grid()->model()->rowCount(), 0);
    EXPECT_EQ(count("storemain"), 0);
}

TEST_F(StockInitTest, DeleteAsksAndWritesTheDeletionAtOnce)
{
    exec("insert into storemain (gods_code, gods_amou) values ('G01', 1)");
    TFrmStorIni f;
    show(f);
    clickRow(f.grid(), rowOf(f.grid(), "G02"));
    {
        testui::PromptResponder prompts;
        prompts.expect(kDeleteQuestion, {ui::Answer::Cancel});
        click(f, "cmd_dele");
        EXPECT_EQ(prompts.last().caption, QStringLiteral("提示"));
        EXPECT_EQ(prompts.last().buttons, ui::Buttons::OkCancel);
        EXPECT_EQ(prompts.last().icon, ui::Icon::Question);
    }
    EXPECT_EQ(count("storemain"), 2);
    {
        testui::PromptResponder prompts;
        prompts.expect(kDeleteQuestion, {ui::Answer::Ok});
        click(f, "cmd_dele");
    }
    EXPECT_EQ(storedCodes(), QStringList{"G01"});
    EXPECT_FALSE(q().hasPendingChanges());
    EXPECT_EQ(f.mode(), FormMode::Null);
}

TEST_F(StockInitTest, DeleteWhileEditingWritesTheOtherPendingEditsToo)
{
    exec("insert into storemain (gods_code, gods_amou) values ('G01', 1), ('G03', 3)");
    TFrmStorIni f;
    show(f);
    click(f, "cmd_edit");
    ASSERT_TRUE(typeIntoCell(f.grid(), rowOf(f.grid(), "G01"), kQuantityColumn, "11"));
    ASSERT_TRUE(typeIntoCell(f.grid(), rowOf(f.grid(), "G03"), kQuantityColumn, "33"));
    // The row being deleted loses what was typed into it.
    ASSERT_TRUE(typeIntoCell(f.grid(), rowOf(f.grid(), "G02"), kQuantityColumn, "22"));
    EXPECT_TRUE(button(f, "cmd_dele")->isEnabled());
    {
        testui::PromptResponder prompts;
        prompts.expect(kDeleteQuestion, {ui::Answer::Ok});
        click(f, "cmd_dele");
    }
    EXPECT_EQ(storedCodes(), (QStringList{"G01", "G03"}));
    EXPECT_EQ(stored("G01", "gods_amou").toDouble(), 11);
    EXPECT_EQ(stored("G03", "gods_amou").toDouble(), 33);
    EXPECT_FALSE(q().hasPendingChanges());
}

TEST_F(StockInitTest, ADeletionTheTableRefusesDoesNotWaitForALaterSave)
{
    exec("insert into storemain (gods_code, gods_amou) values ('G01', 1)");
    conn().executeScript(QStringLiteral(
        "create trigger keep_g02 before delete on storemain when old.gods_code='G02' "
        "begin select raise(abort, 'refused'); end"));
    TFrmStorIni f;
    show(f);
    clickRow(f.grid(), rowOf(f.grid(), "G02"));
    {
        testui::PromptResponder prompts;
        prompts.expect(kDeleteQuestion, {ui::Answer::Ok});
        click(f, "cmd_dele");
    }
    EXPECT_EQ(count("storemain"), 2);
    EXPECT_GE(rowOf(f.grid(), "G02"), 0);
    EXPECT_FALSE(q().hasPendingChanges());

    click(f, "cmd_edit");
    ASSERT_TRUE(typeIntoCell(f.grid(), rowOf(f.grid(), "G01"), kQuantityColumn, "9"));
    click(f, "cmd_save");
    EXPECT_EQ(stored("G01", "gods_amou").toDouble(), 9);
    EXPECT_EQ(count("storemain"), 2);
}

TEST_F(StockInitTest, StockOfGoodsGoneFromTheCatalogueStaysWithEmptyNames)
{
    exec("delete from goods where gods_code='G02'");
    TFrmStorIni f;
    const int row = rowOf(f.grid(), "G02");
    ASSERT_GE(row, 0);
    for (int c = 1; c <= 5; ++c)
        EXPECT_EQ(f.grid()->model()->index(row, c).data().toString(), QString()) << c;
    EXPECT_EQ(f.grid()->model()->index(row, kQuantityColumn).data().toString(), "5");
}

TEST_F(StockInitTest, ButtonsFollowTheModeAndTheRightsAtPosition19)
{
    {
        TFrmStorIni f;
        show(f);
        EXPECT_EQ(enabled(f), (std::vector<bool>{true, true, true, false, false, true}));
        click(f, "cmd_edit");
        EXPECT_EQ(enabled(f), (std::vector<bool>{false, false, true, true, true, false}));
        EXPECT_TRUE(f.grid()->isEnabled());
        // No closing while editing.
        f.close();
        EXPECT_TRUE(f.isVisible());
        click(f, "cmd_canc");
        click(f, "cmd_exit");
        EXPECT_FALSE(f.isVisible());
    }

    // Rights held at every position but 19.
    QString refused(38, QLatin1Char('1'));
    refused[18] = QLatin1Char('0');
    PowAdd = PowEdit = PowDele = refused;
    {
        TFrmStorIni f;
        EXPECT_EQ(enabled(f), (std::vector<bool>{false, false, false, false, false, true}));
    }
    // Rights held at 19 only.
    QString only(38, QLatin1Char('0'));
    only[18] = QLatin1Char('1');
    PowAdd = PowEdit = PowDele = only;
    {
        TFrmStorIni f;
        EXPECT_EQ(enabled(f), (std::vector<bool>{true, true, true, false, false, true}));
    }
}

} // namespace
