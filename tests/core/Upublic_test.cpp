#include "core/Upublic.h"
#include "tests/support/PromptResponder.h"
#include "tests/support/TestDb.h"

#include "platform/db/Error.h"
#include "platform/sys/IniFile.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbGrid.h"

#include <QComboBox>
#include <QCompleter>
#include <gtest/gtest.h>

namespace {

QStringList items(const QComboBox& combo)
{
    QStringList out;
    for (int i = 0; i < combo.count(); ++i)
        out << combo.itemText(i);
    return out;
}

TEST(MoneyToChinese, WritesEveryPlaceWithItsUnit)
{
    struct Row {
        double amount;
        const char* text;
    };
    const Row rows[] = {
        {0, "零分整"},
        {0.05, "伍分整"},
        {0.5, "伍角零分整"},
        {1, "壹圆零角零分整"},
        {10, "壹拾零圆零角零分整"},
        {100.50, "壹佰零拾零圆伍角零分整"},
        {-5, "负伍圆零角零分整"},
        {12345678.9, "壹仟贰佰叁拾肆万伍仟陆佰柒拾捌圆玖角零分整"},
        {99999999.99, "玖仟玖佰玖拾玖万玖仟玖佰玖拾玖圆玖角玖分整"},
        {100000000, ""},
        {123456789.5, ""},
        {3.456, "叁圆肆角陆分整"},
        {99999999.996, ""}, // rounds up to 100,000,000.00
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.amount);
        EXPECT_EQ(MoneyToChinese(row.amount), QString::fromUtf8(row.text));
    }
}

TEST(HasRight, GrantsOnlyAOneAtThatPosition)
{
    struct Row {
        const char* rights;
        int position;
        bool granted;
    };
    const Row rows[] = {
        {"101", 1, true}, {"101", 2, false}, {"101", 3, true}, {"101", 4, false},
        {"", 1, false},   {"1", 0, false},   {"1", -1, false}, {"2", 1, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.rights) + " @" + std::to_string(row.position));
        EXPECT_EQ(HasRight(QString::fromLatin1(row.rights), row.position), row.granted);
    }
}

TEST(NewBillNo, IsTheClockAsFourteenDigitsOnTheTwentyFourHourClock)
{
    struct Row {
        QDateTime at;
        const char* number;
    };
    const Row rows[] = {
        {QDateTime(QDate(2026, 2, 3), QTime(9, 5, 7)), "20260203090507"},
        {QDateTime(QDate(2025, 12, 31), QTime(21, 59, 0)), "20251231215900"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.number);
        SetBillClockForTesting([&row] { return row.at; });
        EXPECT_EQ(NewBillNo(), QString::fromLatin1(row.number));
    }
    SetBillClockForTesting({});
    EXPECT_EQ(NewBillNo().size(), 14);
}

TEST(FixComboAutoComplete, LeavesCompletionOn)
{
    QWidget form;
    auto* combo = new QComboBox(&form);
    combo->setEditable(true);
    ASSERT_NE(combo->completer(), nullptr);
    FixComboAutoComplete(&form);
    EXPECT_NE(combo->completer(), nullptr);
}

class MessageCatalogue : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramState();
        MsgCatalog = {QStringList{"1016", "1017", "1016", "1019"},
                      QStringList{"  确认删除?  ", "提示", "second 1016", "没有此会员！"}};
        MsgCatalogCount = 3;
    }
    void TearDown() override { ResetProgramState(); }
};

TEST_F(MessageCatalogue, FindsTheFirstEntryOfTheNumberTrimmed)
{
    EXPECT_EQ(GetMsgText("1016"), QStringLiteral("确认删除?"));
    EXPECT_EQ(GetMsgText("1017"), QStringLiteral("提示"));
}

TEST_F(MessageCatalogue, FallsBackToFourZeros)
{
    for (const char* number : {"9999", "", " 1016", "1019" /* beyond the count */}) {
        SCOPED_TRACE(number);
        EXPECT_EQ(GetMsgText(QString::fromLatin1(number)), QStringLiteral("0000"));
    }
    ResetProgramState();
    EXPECT_EQ(GetMsgText("1016"), QStringLiteral("0000"));
}

class GoodsTitles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramState();
        GoodsCodeCaption = QStringLiteral("货品编码");
        GoodsNameCaption = QStringLiteral("货品名称");
        GoodsSpecCaption = QStringLiteral("规格");
        GoodsTypeCaption = QStringLiteral("型号");
        GoodsKindCaption = QStringLiteral("种类");
        setPlainColumns();
    }
    // Seven columns f0..f6 titled t0..t6.
    void setPlainColumns()
    {
        std::vector<ui::GridColumn> columns;
        for (int i = 0; i < 7; ++i)
            columns.push_back({QStringLiteral("f%1").arg(i), QStringLiteral("t%1").arg(i), 40 + i, false});
        grid.setColumns(columns);
    }
    void TearDown() override { ResetProgramState(); }

    QStringList titles() const
    {
        QStringList out;
        for (const ui::GridColumn& c : grid.datasetModel()->columns())
            out << c.title;
        return out;
    }

    ui::DbGrid grid;
};

TEST_F(GoodsTitles, TitlesTheColumnsNamedByTheOrder)
{
    struct Row {
        const char* order;
        QStringList titles;
    };
    const Row rows[] = {
        {"23456", {"t0", "t1", "货品编码", "货品名称", "规格", "型号", "种类"}},
        {"01234", {"货品编码", "货品名称", "规格", "型号", "种类", "t5", "t6"}},
        {"", {"货品编码", "货品名称", "规格", "型号", "种类", "t5", "t6"}},
        {"2345", {"货品编码", "货品名称", "规格", "型号", "种类", "t5", "t6"}},
        {"64201", {"型号", "种类", "规格", "t3", "货品名称", "t5", "货品编码"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.order);
        setPlainColumns();
        SetGoodsColumnTitles(&grid, QString::fromLatin1(row.order));
        EXPECT_EQ(titles(), row.titles);
    }
}

TEST_F(GoodsTitles, KeepsFieldsAndWidths)
{
    SetGoodsColumnTitles(&grid, "23456");
    const auto& columns = grid.datasetModel()->columns();
    ASSERT_EQ(columns.size(), 7u);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(columns[size_t(i)].field, QStringLiteral("f%1").arg(i));
        EXPECT_EQ(columns[size_t(i)].width, 40 + i);
        EXPECT_FALSE(columns[size_t(i)].readOnly);
    }
    EXPECT_EQ(grid.datasetModel()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("货品编码"));
}

class GoodsTitlesOnAllFields : public TestDb {};

TEST_F(GoodsTitlesOnAllFields, TitlesAGridShowingEveryFieldOfItsDataset)
{
    ResetProgramState();
    GoodsCodeCaption = QStringLiteral("货品编码");
    GoodsNameCaption = QStringLiteral("货品名称");
    db::Dataset query(conn(), QStringLiteral("GoodsListQ"));
    query.setSql(QStringLiteral("select gods_code, gods_name, gods_spec, gods_type, gods_kind, gods_unit from goods"));
    query.open();
    ui::DbGrid grid;
    grid.setDataset(&query);

    SetGoodsColumnTitles(&grid, QStringLiteral("01234"));

    const ui::DatasetModel& model = *grid.datasetModel();
    ASSERT_EQ(model.columnCount(), 6);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("货品编码"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("货品名称"));
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QString());  // an empty caption
    EXPECT_EQ(model.headerData(5, Qt::Horizontal).toString(), QStringLiteral("gods_unit"));
    EXPECT_EQ(model.fieldName(5), QStringLiteral("gods_unit"));
    ResetProgramState();
}

class PrintSettings : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        BillCompanyName = BillFooter = PageType = QStringLiteral("stale");
        PageWidth = PageLength = LinesPerPage = 99;
    }
    void TearDown() override
    {
        ResetProgramState();
        TestDb::TearDown();
    }
    sys::IniFile ini() const { return sys::IniFile(folder() + QStringLiteral("system.ini")); }
};

TEST_F(PrintSettings, MissingKeysGiveEmptyTextsAndZeros)
{
    ini().writeString("nettype", "datasource", "x");
    LoadPrintSettings();
    EXPECT_EQ(BillCompanyName, QString());
    EXPECT_EQ(BillFooter, QString());
    EXPECT_EQ(PageType, QString());
    EXPECT_EQ(PageWidth, 0);
    EXPECT_EQ(PageLength, 0);
    EXPECT_EQ(LinesPerPage, 0);
}

TEST_F(PrintSettings, ReadsTheSavedKeys)
{
    sys::IniFile file = ini();
    file.writeString("billdata", "company_name", "丽人美发");
    file.writeString("billdata", "bill_bottom", "谢谢惠顾");
    file.writeString("billdata", "line_count", "12");
    file.writeString("pagesize", "page_type", "自定义");
    file.writeInt("pagesize", "page_width", 218);
    file.writeInt("pagesize", "page_length", 140);
    LoadPrintSettings();
    EXPECT_EQ(BillCompanyName, QStringLiteral("丽人美发"));
    EXPECT_EQ(BillFooter, QStringLiteral("谢谢惠顾"));
    EXPECT_EQ(PageType, QStringLiteral("自定义"));
    EXPECT_EQ(PageWidth, 218);
    EXPECT_EQ(PageLength, 140);
    EXPECT_EQ(LinesPerPage, 12);
}

class ComboFill : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        exec("create table pick (v text)");
        for (const char* v : {"a", "   ", "", "b ", "张三"})
            exec("insert into pick (v) values (:v)", {{"v", QString::fromUtf8(v)}});
        exec("insert into pick (v) values (null)");
        exec("insert into pick (v) values ('a')");
    }
};

TEST_F(ComboFill, ListsNonBlankValuesUntrimmedAndClearsTheCombo)
{
    for (bool editable : {true, false}) {
        SCOPED_TRACE(editable ? "editable" : "list only");
        QComboBox combo;
        combo.setEditable(editable);
        combo.addItems({"old", "older"});
        combo.setCurrentIndex(1);
        FillComboDistinct("pick", "v", &combo);
        EXPECT_EQ(items(combo), (QStringList{"a", "b ", "张三"}));
        EXPECT_EQ(combo.currentText(), QString());
        EXPECT_TRUE(combo.updatesEnabled());
    }
}

TEST_F(ComboFill, FillLetsAnErrorReachTheCaller)
{
    testui::PromptResponder prompts;
    QComboBox combo;
    combo.setEditable(true);
    combo.addItems({"甲", "乙"});
    combo.setEditText(QStringLiteral("typed"));
    EXPECT_THROW(FillComboDistinct("nosuch", "v", &combo), db::Error);
    EXPECT_THROW(MergeComboDistinct("pick", "nosuch", &combo), db::Error);
    EXPECT_TRUE(combo.updatesEnabled());
    EXPECT_EQ(prompts.count(), 0);
    // The query fails before the combo is touched.
    EXPECT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.currentText(), QStringLiteral("typed"));
}

TEST_F(ComboFill, MergeAddsOnlyValuesTheListLacks)
{
    for (bool editable : {true, false}) {
        SCOPED_TRACE(editable ? "editable" : "list only");
        QComboBox combo;
        combo.setEditable(editable);
        combo.addItems({"a", "b"});
        if (editable)
            combo.setEditText(QStringLiteral("typed"));
        else
            combo.setCurrentIndex(1);
        const QString text = combo.currentText();
        MergeComboDistinct("pick", "v", &combo);
        // "b " trims to "b", which the list holds already.
        EXPECT_EQ(items(combo), (QStringList{"a", "b", "张三"}));
        EXPECT_EQ(combo.currentText(), text);
    }
}

TEST_F(ComboFill, MergeIntoAnEmptyListLeavesItsTextEmpty)
{
    for (bool editable : {true, false}) {
        SCOPED_TRACE(editable ? "editable" : "list only");
        QComboBox combo;
        combo.setEditable(editable);
        MergeComboDistinct("pick", "v", &combo);
        EXPECT_EQ(items(combo), (QStringList{"a", "b ", "张三"}));
        EXPECT_EQ(combo.currentText(), QString());
    }
}

TEST_F(ComboFill, MergingTwiceAddsAPaddedValueOnce)
{
    QComboBox combo;
    MergeComboDistinct("pick", "v", &combo);
    MergeComboDistinct("pick", "v", &combo);
    EXPECT_EQ(items(combo), (QStringList{"a", "b ", "张三"}));
}

TEST_F(ComboFill, OnUseTheListTakesWhatIsStoredWhenFirstUsed)
{
    testui::PromptResponder prompts;
    ui::DbComboBox filled, merged, unreadable;
    filled.addItem(QStringLiteral("old"));
    filled.setText(QStringLiteral("typed"));
    merged.addItems({"a", "b"});
    FillComboDistinctOnUse("pick", "v", &filled);
    MergeComboDistinctOnUse("pick", "v", &merged);
    FillComboDistinctOnUse("pick", "nosuch", &unreadable);
    EXPECT_EQ(filled.count(), 0);
    EXPECT_EQ(filled.text(), QString());
    exec("insert into pick (v) values ('李四')");
    for (ui::DbComboBox* combo : {&filled, &merged, &unreadable})
        combo->fillNow();
    EXPECT_EQ(items(filled), (QStringList{"a", "b ", "张三", "李四"}));
    EXPECT_EQ(items(merged), (QStringList{"a", "b", "张三", "李四"}));
    EXPECT_EQ(unreadable.count(), 0);
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(ComboFill, MergeOfAStoredValueTheListHoldsAddsNothing)
{
    exec("delete from pick where v <> 'a' or v is null");
    QComboBox combo;
    combo.addItem(QStringLiteral("a"));
    MergeComboDistinct("pick", "v", &combo);
    EXPECT_EQ(items(combo), QStringList{"a"});
}

class Lookups : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        addMember("A001", "李四");
        addMember("card_no", "张三");
        addMember("O'Brien", "奥布莱恩");
        addMember("\"quoted\"", "引号");
        exec("insert into cardtype (card_type, type_note, insi_tota, rebate) values ('金卡', '金', 1234.5, 85)");
    }
    void addMember(const QString& card, const QString& name)
    {
        exec("insert into insider (card_no, insi_name) values (:c, :n)", {{"c", card}, {"n", name}});
    }
};

TEST_F(Lookups, FindsTheRowWhoseKeyEqualsTheValue)
{
    struct Row {
        const char* key;
        const char* name;
    };
    const Row rows[] = {
        {"A001", "李四"},
        {"card_no", "张三"}, // the value is text, not the column of that name
        {"O'Brien", "奥布莱恩"},
        {"\"quoted\"", "引号"},
        {"  A001 ", "李四"}, // the value is trimmed
        {"A00", ""},
        {"", ""},
    };
    testui::PromptResponder prompts;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(LookupField("insider", "card_no", QString::fromUtf8(row.key), "insi_name"),
                  QString::fromUtf8(row.name));
    }
    EXPECT_EQ(LookupField("insider", "insi_name", "张三", "card_no"), QStringLiteral("card_no"));
    EXPECT_EQ(LookupField(" insider ", " card_no ", "A001", " card_no "), QStringLiteral("A001"));
}

TEST_F(Lookups, NumbersReadAsFloatOrInteger)
{
    EXPECT_DOUBLE_EQ(LookupFloat("cardtype", "card_type", "金卡", "insi_tota"), 1234.5);
    EXPECT_EQ(LookupInt("cardtype", "card_type", "金卡", "rebate"), 85);
    EXPECT_EQ(LookupField("cardtype", "card_type", "金卡", "insi_tota"), QStringLiteral("1234.5"));
    EXPECT_DOUBLE_EQ(LookupFloat("cardtype", "card_type", "银卡", "insi_tota"), 0);
    EXPECT_EQ(LookupInt("cardtype", "card_type", "银卡", "rebate"), 0);
}

TEST_F(Lookups, FailuresGiveEmptyOrZeroWithoutAMessage)
{
    testui::PromptResponder prompts;
    EXPECT_EQ(LookupField("nosuch", "card_no", "A001", "insi_name"), QString());
    EXPECT_EQ(LookupField("insider", "nosuch", "A001", "insi_name"), QString());
    EXPECT_EQ(LookupField("insider", "card_no", "A001", "nosuch"), QString());
    EXPECT_EQ(LookupFloat("nosuch", "a", "b", "c"), 0);
    EXPECT_EQ(LookupInt("nosuch", "a", "b", "c"), 0);
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(Lookups, ACodeIsLocatedInAListExactlyWhenTheDatabaseFindsIt)
{
    // The database folds A to Z only; other letters with a case it tells apart.
    const char* const stored[] = {"Ａ01", "ÉCOLE", "Ωb"};
    for (const char* code : stored)
        addMember(QString::fromUtf8(code), QStringLiteral("某"));
    db::Dataset& list = dataMod().InsiderQ;
    list.close();
    list.setSql(QStringLiteral("select * from insider order by in_id"));
    list.open();
    for (const char* typed : {"a001", "A001", "ａ01", "Ａ01", "école", "ÉCOLE", "Écolé", "Ωb", "ωB", "ΩB"}) {
        const QString code = QString::fromUtf8(typed);
        SCOPED_TRACE(typed);
        const bool databaseFinds = count("insider", "card_no=:c", {{"c", code}}) > 0;
        list.first();
        EXPECT_EQ(LocateCode(list, QStringLiteral("card_no"), code), databaseFinds);
        if (databaseFinds) {
            EXPECT_EQ(count("insider", "in_id=:id and card_no=:c", {{"id", list.value("in_id")}, {"c", code}}), 1);
        }
    }
}

class CardBands : public TestDb {
protected:
    void addBands(std::initializer_list<double> thresholds)
    {
        const QStringList names = {"普通卡", "银卡", "金卡", "白金卡", "钻石卡", "第六"};
        int k = 0;
        for (double t : thresholds) {
            exec("insert into cardtype (card_type, type_note, insi_tota) values (:c, :n, :t)",
                 {{"c", QString::number(k)}, {"n", names[k]}, {"t", t}});
            ++k;
        }
    }
    void expectLevel(double total, int level, const QString& note)
    {
        SCOPED_TRACE(total);
        EXPECT_EQ(CardLevelByTotal(total), level);
        QString got = QStringLiteral("原来的");
        CardNoteByTotal(got, total);
        EXPECT_EQ(got, note);
    }
};

TEST_F(CardBands, RisingThresholdsGiveTheBandReached)
{
    addBands({0, 1000, 3000, 6000, 10000});
    struct Row {
        double total;
        int level;
        const char* note;
    };
    const Row rows[] = {
        {0, 1, "普通卡"},     {999.99, 1, "普通卡"}, {1000, 2, "银卡"},   {2999.99, 2, "银卡"},
        {3000, 3, "金卡"},    {6000, 4, "白金卡"},   {9999, 4, "白金卡"}, {10000, 5, "钻石卡"},
        {25000, 5, "钻石卡"}, {-1, 0, "原来的"},
    };
    for (const Row& row : rows)
        expectLevel(row.total, row.level, QString::fromUtf8(row.note));
}

TEST_F(CardBands, BelowTheLowestThresholdLeavesTheNote)
{
    addBands({500, 1000, 3000, 6000, 10000});
    expectLevel(100, 0, QStringLiteral("原来的"));
    expectLevel(500, 1, QStringLiteral("普通卡"));
}

TEST_F(CardBands, RowsCountInTableOrderAndALaterMatchWins)
{
    // Not rising: 2000 lies in band 1 (0..3000) and in band 3 (1000..6000).
    addBands({0, 3000, 1000, 6000, 10000});
    expectLevel(2000, 3, QStringLiteral("金卡"));
}

TEST_F(CardBands, OnlyTheFirstFiveRowsAreLevels)
{
    addBands({0, 1000, 3000, 6000, 10000, 20000});
    expectLevel(30000, 5, QStringLiteral("钻石卡"));
}

TEST_F(CardBands, FewerRowsMakeTheLastOneTheTopLevel)
{
    addBands({0, 1000, 3000});
    expectLevel(5000, 3, QStringLiteral("金卡"));
    expectLevel(1500, 2, QStringLiteral("银卡"));
}

TEST_F(CardBands, NoRowsOrNoTableGiveNoLevel)
{
    expectLevel(100, 0, QStringLiteral("原来的"));
    exec("drop table cardtype");
    testui::PromptResponder prompts;
    expectLevel(100, 0, QStringLiteral("原来的"));
    EXPECT_EQ(prompts.count(), 0);
}

} // namespace
