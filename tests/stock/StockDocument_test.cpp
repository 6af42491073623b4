#include "stock/StockDocument.h"

#include "tests/stock/StockDocumentFixture_test.h"

#include "stock/Uin.h"
#include "stock/Uout.h"
#include "stock/Ureturnin.h"
#include "stock/Ureturnout.h"

#include "platform/ui/EnterAsTab.h"

namespace {

std::unique_ptr<StockDocumentForm> create(StockDocumentKind kind)
{
    switch (kind) {
    case StockDocumentKind::Purchase:
        return std::make_unique<TFrmIn>();
    case StockDocumentKind::CustomerReturn:
        return std::make_unique<TFrmReturnIn>();
    case StockDocumentKind::Sale:
        return std::make_unique<TFrmOut>();
    case StockDocumentKind::SupplierReturn:
        return std::make_unique<TFrmReturnout>();
    }
    return nullptr;
}

const StockDocumentKind kAllKinds[] = {StockDocumentKind::Purchase, StockDocumentKind::Sale,
                                       StockDocumentKind::CustomerReturn, StockDocumentKind::SupplierReturn};

// The finder and print of a purchase form, as the finder and the printed
// document will plug in.
class HookedPurchase : public TFrmIn {
public:
    std::optional<QString> found;
    int finderShown = 0;
    int printed = 0;

protected:
    std::optional<QString> chooseDocument() override
    {
        ++finderShown;
        return found;
    }
    void printDocument() override { ++printed; }
};

class StockDocumentFamilyTest : public StockDocumentTest {
protected:
    QString rightsAt(int position, QChar c)
    {
        QString s(38, c == '1' ? QChar('0') : QChar('1'));
        s[position - 1] = c;
        return s;
    }
    QStringList enabledButtons(QWidget& f)
    {
        QStringList on;
        for (const char* name : {"cmd_add", "cmd_edit", "cmd_dele", "cmd_find", "cmd_prin", "cmd_save", "cmd_canc", "cmd_exit"})
            if (button(f, name)->isEnabled())
                on << QString::fromLatin1(name);
        return on;
    }
};

TEST_F(StockDocumentFamilyTest, RightsFollowEachFormsPosition)
{
    struct Case {
        StockDocumentKind kind;
        int position;
    };
    const Case cases[] = {{StockDocumentKind::Purchase, 21},
                          {StockDocumentKind::Sale, 22},
                          {StockDocumentKind::CustomerReturn, 23},
                          {StockDocumentKind::SupplierReturn, 24}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        PowAdd = PowEdit = PowDele = PowFind = PowPrin = rightsAt(c.position, '1');
        auto granted = create(c.kind);
        EXPECT_EQ(granted->position(), c.position);
        EXPECT_EQ(enabledButtons(*granted), (QStringList{"cmd_add", "cmd_edit", "cmd_dele", "cmd_find", "cmd_prin", "cmd_exit"}));

        PowAdd = PowEdit = PowDele = PowFind = PowPrin = rightsAt(c.position, '0');
        auto refused = create(c.kind);
        EXPECT_EQ(enabledButtons(*refused), QStringList{"cmd_exit"});
        PowEdit = rightsAt(c.position, '1');
        refused->SetControlStates();
        EXPECT_EQ(enabledButtons(*refused), (QStringList{"cmd_edit", "cmd_exit"}));

        // Entering: delete (of a line), save and cancel, whatever the rights.
        PowAdd = rightsAt(c.position, '1');
        refused->SetControlStates();
        QTest::mouseClick(button(*refused, "cmd_add"), Qt::LeftButton);
        PowAdd = PowEdit = rightsAt(c.position, '0');
        refused->SetControlStates();
        EXPECT_EQ(enabledButtons(*refused), (QStringList{"cmd_dele", "cmd_save", "cmd_canc"}));
        EXPECT_FALSE(refused->grid()->isReadOnly());
        EXPECT_TRUE(refused->headerGroup()->isEnabled());
        EXPECT_TRUE(refused->footerGroup()->isEnabled());
        EXPECT_FALSE(refused->billNoBox()->isEnabled());
        EXPECT_FALSE(refused->companyNameBox()->isEnabled());
        EXPECT_FALSE(refused->rateBox()->isEnabled());
        EXPECT_FALSE(refused->totalQuantityBox()->isEnabled());
        EXPECT_FALSE(refused->capitalsBox()->isEnabled());
        QTest::mouseClick(button(*refused, "cmd_canc"), Qt::LeftButton);
    }
}

TEST_F(StockDocumentFamilyTest, EachFormWritesItsOwnKindOfDocument)
{
    struct Case {
        StockDocumentKind kind;
        const char* table;
        const char* billType;
    };
    const Case cases[] = {{StockDocumentKind::Purchase, "inmain", "in"},
                          {StockDocumentKind::CustomerReturn, "inmain", "retu"},
                          {StockDocumentKind::Sale, "outmain", "out"},
                          {StockDocumentKind::SupplierReturn, "outmain", "retu"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.billType);
        auto f = create(c.kind);
        show(*f);
        EXPECT_EQ(CurBillType, QString::fromLatin1(c.billType));
        click(*f, "cmd_add");
        typeLine(*f, "G01", "1", "3");
        click(*f, "cmd_save");
        const QString bill = f->billNoBox()->text();
        EXPECT_EQ(count(QString::fromLatin1(c.table), "bill_no=:b and bill_type=:t",
                        {{"b", bill}, {"t", QString::fromLatin1(c.billType)}}),
                  1);
        exec(QStringLiteral("delete from %1").arg(QString::fromLatin1(c.table)));
    }
}

TEST_F(StockDocumentFamilyTest, TheSnapshotHoldsTheLinesAsEditingBegan)
{
    storeDocument("in", "P1", "in", {{"G03", 3, 20}, {"G01", 1.5, 5}, {"G02", 2, 7}});
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_edit");
    OldLineSnapshot& old = StockDocumentForm::oldLines(StockDocumentKind::Purchase);
    EXPECT_EQ(old.OldLineCount, 3);
    EXPECT_EQ(old.OldLineCodes, (std::vector<QString>{"G03", "G01", "G02"}));
    EXPECT_EQ(old.OldLineQtys, (std::vector<double>{3, 1.5, 2}));
    click(*f, "cmd_canc");

    // A document without lines: the count says so, the arrays stay.
    f->showDocument("P2");
    storeDocument("in", "P2", "in", {});
    f->showDocument("P2");
    click(*f, "cmd_edit");
    EXPECT_EQ(old.OldLineCount, 0);
    EXPECT_EQ(old.OldLineCodes.size(), 3u);
    // Each kind has its own.
    EXPECT_EQ(StockDocumentForm::oldLines(StockDocumentKind::Sale).OldLineCodes.size(), 0u);
    click(*f, "cmd_canc");
}

TEST_F(StockDocumentFamilyTest, TheFindButtonShowsTheDocumentTheFinderChose)
{
    storeDocument("in", "P1", "in", {{"G01", 2, 5}});
    storeDocument("in", "P7", "in", {{"G02", 4, 7}, {"G03", 1, 20}}, QDate(2024, 5, 6));
    storeDocument("in", "R7", "retu", {{"G03", 1, 35}}, QDate(2024, 5, 6));
    HookedPurchase f;
    show(f);
    ASSERT_EQ(f.billNoBox()->text(), "P1");

    click(f, "cmd_find"); // closed without a choice
    EXPECT_EQ(f.finderShown, 1);
    EXPECT_EQ(f.billNoBox()->text(), "P1");

    exec("insert into employee (empl_code, empl_name) values ('E3', '赵强')");
    f.found = QStringLiteral("P7");
    click(f, "cmd_find");
    EXPECT_EQ(f.billNoBox()->text(), "P7");
    EXPECT_EQ(lineCodes(f), (QStringList{"G02", "G03"}));
    EXPECT_EQ(f.datePicker()->value(), QDate(2024, 5, 6));
    EXPECT_EQ(f.totalQuantityBox()->text(), "5");
    EXPECT_EQ(f.totalAmountBox()->text(), "48");
    EXPECT_EQ(f.mode(), FormMode::Null);
    EXPECT_GE(f.employeeCombos()[0]->findText("E3"), 0); // the lists are filled again

    f.found = QStringLiteral("R7"); // another kind's document is not shown here
    click(f, "cmd_find");
    EXPECT_TRUE(f.billNoBox()->text().isEmpty());
    EXPECT_EQ(f.lines().recordCount(), 0);

    click(f, "cmd_prin");
    EXPECT_EQ(f.printed, 1);
}

TEST_F(StockDocumentFamilyTest, LinesAreAddedByMovingBelowTheLastOne)
{
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    EXPECT_EQ(f->lines().recordCount(), 1);
    newLine(*f); // the new line is untouched: no second one
    EXPECT_EQ(f->lines().recordCount(), 1);
    typeLine(*f, "G01", "1", "5");
    newLine(*f);
    EXPECT_EQ(f->lines().recordCount(), 2);
    EXPECT_EQ(f->lines().recNo(), 1);
    EXPECT_EQ(f->grid()->currentField(), "gods_code");
    EXPECT_EQ(f->lines().asString("bill_no"), f->billNoBox()->text());

    // Tab moves over the editable cells only, and past the last one to a new line.
    typeLine(*f, "G02", "2", "7");
    clickCell(*f, cell(*f, "gods_code"));
    f->grid()->setFocus();
    QStringList visited;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(f->grid(), Qt::Key_Tab);
        visited << f->grid()->currentField();
    }
    EXPECT_EQ(visited, (QStringList{"unit_pric", "sub_amou", "remark", "gods_code"}));
    EXPECT_EQ(f->lines().recordCount(), 3);

    // Leaving the untouched line drops it.
    lineAt(*f, 0);
    EXPECT_EQ(f->lines().recordCount(), 2);
    click(*f, "cmd_save");
    EXPECT_EQ(count("ingoods", "bill_no=:b", {{"b", f->billNoBox()->text()}}), 2);
}

TEST_F(StockDocumentFamilyTest, WithEnterAsTabALineIsTypedCellAfterCell)
{
    ui::EnterAsTab enterAsTab; // as in the program
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    QWidget* editor = openCell(*f, "gods_code");
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "G02");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    // The price was looked up before Enter moved on to it.
    EXPECT_EQ(f->lines().asString("gods_code"), "G02");
    EXPECT_EQ(f->lines().asString("unit_pric"), "7");
    EXPECT_EQ(f->grid()->currentField(), "unit_pric");

    // On an empty code cell Enter leaves the grid for the footer.
    newLine(*f);
    ASSERT_EQ(f->lines().recNo(), 1);
    f->grid()->setFocus();
    QTest::keyClick(f->grid(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_FALSE(f->grid()->hasFocus());
    EXPECT_TRUE(f->footerGroup()->isAncestorOf(QApplication::focusWidget()));
    click(*f, "cmd_canc");
}

TEST_F(StockDocumentFamilyTest, KeysTypedOnACellReplaceItsValueInEveryDocument)
{
    ui::EnterAsTab enterAsTab; // as in the program
    for (StockDocumentKind kind : kAllKinds) {
        const StockDocumentDef& def = stockDocumentDef(kind);
        SCOPED_TRACE(def.caption.toStdString());
        auto f = create(kind);
        show(*f);
        click(*f, "cmd_add");
        f->grid()->setCurrentIndex(cell(*f, "gods_code"));
        f->grid()->setFocus();
        testui::typeAtFocus("G02");
        testui::pressAtFocus(Qt::Key_Return);
        ASSERT_EQ(f->grid()->currentField(), "unit_pric");
        ASSERT_FALSE(f->lines().asString("unit_pric").isEmpty()) << "the goods' price, looked up";
        testui::typeAtFocus("15");
        testui::pressAtFocus(Qt::Key_Return);
        testui::typeAtFocus("2");
        testui::pressAtFocus(Qt::Key_Return);
        click(*f, "cmd_save");

        const QString bill = f->billNoBox()->text();
        const db::Params p{{"b", bill}};
        EXPECT_EQ(scalar(QStringLiteral("select unit_pric from %1 where bill_no=:b").arg(def.linesTable()), p).toDouble(), 15);
        EXPECT_EQ(scalar(QStringLiteral("select sub_amou from %1 where bill_no=:b").arg(def.linesTable()), p).toDouble(), 2);
        EXPECT_EQ(scalar(QStringLiteral("select shou_tota from %1 where bill_no=:b").arg(def.headerTable()), p).toDouble(), 30);
    }
}

TEST_F(StockDocumentFamilyTest, DeleteDoesNothingWithoutADocument)
{
    testui::PromptResponder prompts; // any box would fail the test
    auto f = openForm<TFrmIn>();
    ASSERT_TRUE(f->billNoBox()->text().isEmpty());
    click(*f, "cmd_dele");
    EXPECT_EQ(prompts.count(), 0);

    // Entering, only the blank line offered to type into: nothing to ask about either.
    click(*f, "cmd_add");
    click(*f, "cmd_dele");
    EXPECT_EQ(f->lines().recordCount(), 1);
    EXPECT_EQ(prompts.count(), 0);
    click(*f, "cmd_canc");
}

TEST_F(StockDocumentFamilyTest, DeletingTheOnlyLineOffersANewOneToTypeInto)
{
    auto f = openForm<TFrmIn>();
    click(*f, "cmd_add");
    typeLine(*f, "G01", "1", "3");
    {
        testui::PromptResponder prompts;
        prompts.expect(QStringLiteral("确认删除本条数据?"), {ui::Answer::Ok});
        click(*f, "cmd_dele");
    }
    ASSERT_EQ(f->lines().recordCount(), 1);
    typeLine(*f, "G02", "2", "7");
    click(*f, "cmd_save");
    ASSERT_EQ(f->mode(), FormMode::Null);
    EXPECT_EQ(lineCodes(*f), QStringList{"G02"});
    EXPECT_EQ(count("ingoods", "bill_no=:b and gods_code='G02' and sub_amou=2", {{"b", f->billNoBox()->text()}}), 1);
}

TEST_F(StockDocumentFamilyTest, TheLinesFollowTheHeaderOnlyWhileTheFormIsOpen)
{
    storeDocument("in", "P1", "in", {{"G01", 2, 5}});
    storeDocument("in", "P2", "in", {{"G02", 1, 7}, {"G03", 1, 20}});
    db::Dataset& header = dataMod().InMainQ;
    db::Dataset& lines = dataMod().InGoodsQ;
    {
        auto f = openForm<TFrmIn>();
        f->showDocument("P2");
        EXPECT_EQ(lines.recordCount(), 2);
    }
    // The datasets stay on the document shown at closing.
    EXPECT_EQ(header.asString("bill_no"), "P2");
    EXPECT_EQ(lines.recordCount(), 2);
    header.close();
    header.setSql(QStringLiteral("select * from inmain where bill_no='P1'"));
    header.open();
    EXPECT_EQ(lines.recordCount(), 2);

    // Nor does any other handler of the closed form run: no line amount, no bill number for a new line.
    lines.close();
    lines.open();
    EXPECT_TRUE(lines.value("sub_tota").isNull());
    lines.append();
    EXPECT_TRUE(lines.value("bill_no").isNull());
    lines.cancel();
}

} // namespace
