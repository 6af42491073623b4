#include "core/DbConfig.h"
#include "core/Schema.h"
#include "platform/sys/ProgramFolder.h"
#include "tests/support/TestDb.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

// The tables and their columns in order of declaration, in the vocabulary of
// the data model: text(n), text, integer, smallint, float, datetime, boolean,
// auto (the row number).
const std::vector<std::pair<QString, QString>> kTables = {
    {"powers", "user_id:text(10) password:text(10) belo_dept:text(10) pow_use:text(50) pow_add:text(50) "
               "pow_edit:text(50) pow_dele:text(50) pow_chek:text(50) pow_find:text(50) pow_prin:text(50)"},
    {"userinfo", "user_posi:text comp_name:text stad_no:text user_fax:text user_tele:text user_addr:text "
                 "user_mail:text user_www:text bill_bottom:text gods_code:text gods_name:text gods_spec:text "
                 "gods_type:text gods_kind:text sale_value:integer"},
    {"charset", "charno:text gb:text"},
    {"baseitem", "prod_place_id:text prod_place:text mone_code:text mone_type:text mone_rate:float "
                 "fee_code:text fee_type:text gods_unit_id:text gods_unit:text gods_size_id:text gods_size:text "
                 "gods_color_id:text gods_color:text gods_kind_id:text gods_kind:text gods_type_id:text "
                 "gods_type:text gods_spec_id:text gods_spec:text"},
    {"employee", "empl_code:text empl_name:text empl_sex:text id_card:text rela_addr:text mobile:text "
                 "rela_phon:text exig_tele:text exig_rela:text native_place:text regi_place:text "
                 "school_name:text special:text degree:text society_no:text medica_no:text post_code:text "
                 "leave_school:text empl_birth:datetime in_date:datetime dept_name:text tech_class:text "
                 "duty:text low_salary:float class_type:text salary_type:text"},
    {"cardtype", "card_type:text type_note:text insi_tota:float foregift:float rebate:integer list_no:integer"},
    {"insider", "in_id:auto insi_code:text(20) insi_name:text(20) card_no:text(20) insi_sex:text(4) "
                "insi_birth:datetime insi_tele:text(20) mobile:text(20) insi_addr:text(50) post_code:text(10) "
                "id_card:text(20) card_type:text(20) insi_state:text(10) insi_pass:text(12) open_date:datetime "
                "insi_note:text(50) skin1:boolean skin2:boolean skin3:boolean skin4:boolean skin5:boolean "
                "skin6:boolean skin7:boolean skin8:boolean skin_else1:text(30) skin10:boolean skin11:boolean "
                "skin12:boolean skin13:boolean skin14:boolean skin15:boolean skin16:boolean skin17:boolean "
                "skin18:boolean skin19:boolean skin20:boolean skin21:boolean skin22:boolean skin23:boolean "
                "skin24:boolean skin25:boolean skin_else2:text(30) hair1:boolean hair2:boolean hair3:boolean "
                "hair4:boolean hair5:boolean hair6:boolean hair7:boolean hair8:boolean hair9:boolean "
                "hair10:boolean hair11:boolean hair12:boolean hair13:boolean hair14:boolean hair15:boolean "
                "hair16:boolean hair17:boolean hair_else:text(30) foregift:float insi_tota:float rest_point:float"},
    {"insifee", "in_id:auto insi_code:text(20) card_no:text(20) serve_code:text(20) bill_no:text(20) "
                "bill_date:datetime serv_fee:integer gath_code:text(20) gath_note:text(30) gath_type:text(10) "
                "stylist_code:text(20) middle_code:text(20) assis_code:text(20) oper_code:text(20) "
                "should_gath:integer"},
    {"serveitem", "in_id:auto serve_code:text(20) serve_name:text(40) serve_type:text(20) unit_pric:float "
                  "gage_time:text(10) stylist_rate:smallint middle_rate:smallint assis_rate:smallint "
                  "serve_note:text(50) serve_state:text(10)"},
    {"serveflow", "in_id:auto step_no:text(10) gods_code:text(20) dosage:text(20) flow_note:text(30) "
                  "serve_code:text(20) use_time:integer"},
    {"marcel", "in_id:auto serve_code:text(20) mar_type:text(20) mar_kind:text(20) curl_tune:text(30) "
               "mar_mach:text(30) do_before:text(60) do_middle:text(60) do_after:text(60) bef_color:text(20) "
               "bef_sort:text(20) mid_color:text(20) mid_sort:text(20) ear_color:text(20) ear_sort:text(20) "
               "back_color:text(20) back_sort:text(20) first_stay:text(20) first_wash:text(20) "
               "sec_stay:text(20) sec_wash:text(20) mar_note:text(80)"},
    {"dyehair", "in_id:auto serve_code:text(20) dye_kind:text(20) base_color:text(20) end_color:text(20) "
                "do_before:text(50) do_middle:text(50) do_after:text(50) dye_drug:text(30) use_quant:text(20) "
                "dye_plan:text(50) root_plan:text(80) mid_plan:text(80) top_plan:text(80) root_time:text(20) "
                "mid_time:text(20) top_time:text(20) dye_note:text(80)"},
    {"bespeak", "in_id:auto pre_date:datetime pre_time:text(10) stylist:text(10) assisitant:text(10) "
                "bill_no:text(15) bill_date:datetime oper_code:text(10) pre_note:text(50) card_no:text(20) "
                "serv_code:text(10)"},
    {"goods", "in_id:auto gods_code:text(20) gods_name:text(40) gods_spec:text(20) gods_type:text(20) "
              "gods_kind:text(20) gods_unit:text(10) valu_in:float valu_out:float max_amou:float min_amou:float "
              "prod_place:text(30) prod_code:text(20) supp_code:text(20) agent_pric:float touch_code:text(20) "
              "gods_note:text(50)"},
    {"company", "comp_code:text comp_name:text comp_addr:text rela_name:text rela_phon:text head_name:text "
                "head_phon:text bank_no:text comp_type:text belo_coun:text belo_area:text belo_prov:text "
                "post_code:text fax:text e_mail:text comp_note:text"},
    {"inmain", "in_id:auto bill_no:text(14) vouc_no:text(12) bill_date:datetime comp_code:text(10) "
               "mone_type:text(10) mone_rate:float fee_type:text(10) hand_code:text(10) chek_code:text(10) "
               "oper_code:text(10) send_code:text(10) rece_code:text(10) rela_code:text(10) fact_tota:float "
               "shou_tota:float remark:text(50) bill_type:text(10)"},
    {"outmain", "in_id:auto bill_no:text(14) vouc_no:text(12) bill_date:datetime comp_code:text(10) "
                "mone_type:text(10) mone_rate:float fee_type:text(10) hand_code:text(10) chek_code:text(10) "
                "oper_code:text(10) send_code:text(10) rece_code:text(10) rela_code:text(10) fact_tota:float "
                "shou_tota:float remark:text(50) bill_type:text(10)"},
    {"ingoods", "in_id:auto bill_no:text(14) gods_code:text(20) sub_amou:float unit_pric:float remark:text(10)"},
    {"outgoods", "in_id:auto bill_no:text(14) gods_code:text(20) sub_amou:float unit_pric:float remark:text(10)"},
    {"outtemp", "in_id:auto bill_no:text(14) gods_code:text(20) sub_amou:float unit_pric:float remark:text(10)"},
    {"storemain", "gods_code:text(20) gods_amou:float cost_pric:float"},
    {"storchek", "chek_date:datetime gods_code:text"},
    {"listtemp", "in_id:auto bill_no:text(20) bill_date:datetime serve_code:text(20) shou_tota:float "
                 "rate_value:smallint bill_note:text(10) empl_code:text(20) do_with:text(5) fact_tota:float"},
    {"salary", "in_id:auto empl_code:text(30) add_fee:float"},
};

// "text(20)" -> "VARCHAR(20)" and so on: the declared type a column must carry.
QString declaredType(const QString& type)
{
    if (type.startsWith(u"text("))
        return QStringLiteral("VARCHAR") + type.mid(4);
    if (type == u"auto")
        return QStringLiteral("INTEGER");
    return type.toUpper();
}

class SchemaTest : public TestDb {};

TEST_F(SchemaTest, HasTheTwentyFourTablesAndNoOthers)
{
    EXPECT_EQ(count("sqlite_master", "type='table' and name<>'sqlite_sequence'"), 24);
    for (const auto& [table, columns] : kTables)
        EXPECT_EQ(count("sqlite_master", "type='table' and name=:n", {{"n", table}}), 1) << table.toStdString();
}

TEST_F(SchemaTest, ColumnsAreDeclaredInOrderWithTheirTypes)
{
    for (const auto& [table, columns] : kTables) {
        SCOPED_TRACE(table.toStdString());
        db::Statement st(conn(), "PRAGMA table_info(" + table + ")");
        const QStringList expected = columns.split(u' ');
        int i = 0;
        while (st.step()) {
            ASSERT_LT(i, expected.size()) << "extra column " << st.value(1).toString().toStdString();
            const QString name = expected[i].section(u':', 0, 0);
            const QString type = expected[i].section(u':', 1);
            EXPECT_EQ(st.value(1).toString(), name);
            EXPECT_EQ(st.value(2).toString(), declaredType(type)) << name.toStdString();
            EXPECT_EQ(st.value(5).toInt() == 1, type == u"auto") << name.toStdString() << " primary key";
            ++i;
        }
        EXPECT_EQ(i, expected.size());
    }
}

TEST_F(SchemaTest, RowNumbersAreAssignedByTheDatabase)
{
    exec("insert into insider (insi_code) values ('M1')");
    exec("insert into insider (insi_code) values ('M2')");
    EXPECT_EQ(scalar("select in_id from insider where insi_code='M2'").toLongLong(),
              scalar("select in_id from insider where insi_code='M1'").toLongLong() + 1);
}

TEST_F(SchemaTest, EveryTableHasRowids)
{
    for (const auto& [table, columns] : kTables)
        EXPECT_NO_THROW(scalar("select rowid from " + table)) << table.toStdString();
}

TEST_F(SchemaTest, TextLongerThanItsSizeIsRefused)
{
    EXPECT_THROW(exec("insert into insider (insi_code) values ('123456789012345678901')"), db::Error);
    EXPECT_THROW(exec("insert into bespeak (bill_no) values ('1234567890123456')"), db::Error);
    // Sizes count characters, so twenty Chinese characters fit text(20).
    exec("insert into insider (insi_name) values (:n)", {{"n", QString(20, QChar(0x7F8E))}});
    EXPECT_EQ(count("insider"), 1);
    exec("insert into bespeak (bill_no) values ('123456789012345')");
    EXPECT_EQ(count("bespeak"), 1);
}

TEST_F(SchemaTest, LedgerAmountsTakeNoFraction)
{
    EXPECT_THROW(exec("insert into insifee (serv_fee) values (12.5)"), db::Error);
    EXPECT_THROW(exec("insert into insifee (should_gath) values (0.01)"), db::Error);
    exec("insert into insifee (serv_fee, should_gath) values (12, -3)");
    EXPECT_EQ(count("insifee", "serv_fee=12 and should_gath=-3"), 1);
}

TEST_F(SchemaTest, SmallIntegersStayInSixteenBits)
{
    EXPECT_THROW(exec("insert into serveitem (stylist_rate) values (32768)"), db::Error);
    EXPECT_THROW(exec("insert into listtemp (rate_value) values (2.5)"), db::Error);
    exec("insert into serveitem (stylist_rate, assis_rate) values (-32768, 32767)");
    EXPECT_EQ(count("serveitem"), 1);
}

TEST_F(SchemaTest, DateTimesAreStoredInOneForm)
{
    EXPECT_THROW(exec("insert into insifee (bill_date) values ('2024-03-01')"), db::Error);
    EXPECT_THROW(exec("insert into insifee (bill_date) values ('01/03/2024 00:00:00')"), db::Error);
    exec("insert into insifee (bill_date) values ('2024-03-01 00:00:00')");
    EXPECT_EQ(count("insifee", "bill_date between '2024-03-01 00:00:00' and '2024-03-31 00:00:00'"), 1);
}

TEST_F(SchemaTest, BooleansAreZeroOrOne)
{
    EXPECT_THROW(exec("insert into insider (skin1) values (2)"), db::Error);
    exec("insert into insider (skin1, hair17) values (1, 0)");
    EXPECT_EQ(count("insider", "skin1=1 and hair17=0"), 1);
}

TEST_F(SchemaTest, CodesCompareWithoutCase)
{
    exec("insert into insifee (gath_type, serv_fee) values ('Outlay', 30)");
    exec("insert into outmain (bill_no, bill_type) values ('20240301000000', 'out')");
    EXPECT_EQ(count("insifee", "gath_type='outlay'"), 1);
    EXPECT_EQ(count("outmain", "bill_type='Out'"), 1);
    EXPECT_EQ(count("insifee", "gath_type in ('income', 'outlay')"), 1);
}

TEST_F(SchemaTest, LoginColumnsCompareExactly)
{
    exec("insert into powers (user_id, password) values ('Boss', 'Secret')");
    EXPECT_EQ(count("powers", "user_id='boss'"), 0);
    EXPECT_EQ(count("powers", "user_id='Boss' and password='secret'"), 0);
    EXPECT_EQ(count("powers", "user_id='Boss' and password='Secret'"), 1);
}

TEST_F(SchemaTest, PrintScratchTableTakesDocumentLinesUnchanged)
{
    exec("insert into outgoods (bill_no, gods_code, sub_amou, unit_pric, remark) "
         "values ('20240301120000', 'G1', 2.5, 10, '入库')");
    exec("insert into outgoods (bill_no, gods_code, sub_amou, unit_pric, remark) "
         "values ('20240301120000', 'G2', 1, 3.25, null)");
    exec("insert into outgoods (bill_no, gods_code) values ('20240302120000', 'G3')");
    exec("delete * from outtemp ");
    exec("insert into outtemp  select * from outgoods where bill_no='20240301120000'");
    EXPECT_EQ(count("outtemp"), 2);
    EXPECT_EQ(count("outtemp t", "exists (select 1 from outgoods g where g.in_id=t.in_id and "
                                 "g.gods_code=t.gods_code and g.sub_amou=t.sub_amou and g.unit_pric=t.unit_pric "
                                 "and g.remark is t.remark)"),
              2);
    // Padding rows to a full page still numbers them.
    exec("insert into outtemp (bill_no) values ('20240301120000')");
    EXPECT_EQ(count("outtemp"), 3);
}

TEST_F(SchemaTest, StockHasOneRowPerGoodsCode)
{
    exec("insert into storemain (gods_code, gods_amou) values ('G1', 5)");
    EXPECT_THROW(exec("insert into storemain (gods_code, gods_amou) values ('G1', 1)"), db::Error);
}

TEST_F(SchemaTest, FiltersAndJoinsUseIndexes)
{
    const std::vector<std::pair<QString, QString>> lookups = {
        {"insifee", "card_no"},   {"insifee", "bill_no"},   {"insifee", "bill_date"}, {"insifee", "gath_type"},
        {"insifee", "serve_code"}, {"insider", "insi_code"}, {"insider", "card_no"},   {"serveitem", "serve_code"},
        {"employee", "empl_code"}, {"goods", "gods_code"},   {"company", "comp_code"}, {"outmain", "bill_no"},
        {"outgoods", "bill_no"},  {"inmain", "bill_date"},  {"powers", "user_id"},    {"charset", "charno"},
        {"storemain", "gods_code"},
    };
    for (const auto& [table, column] : lookups) {
        db::Statement plan(conn(), "explain query plan select * from " + table + " where " + column + "='x'");
        ASSERT_TRUE(plan.step());
        EXPECT_TRUE(plan.value(3).toString().contains(u"INDEX")) << (table + "." + column).toStdString();
    }
}

TEST_F(SchemaTest, NewDatabaseCarriesTheMessageCatalogue)
{
    const QStringList numbers = {"1004", "1006", "1015", "1016", "1017", "1018", "1019", "1020",
                                 "1021", "1022", "2004", "2005", "2006", "2007", "2008", "2009"};
    EXPECT_EQ(count("charset"), numbers.size());
    for (const QString& n : numbers)
        EXPECT_EQ(count("charset", "charno=:n and trim(gb)<>''", {{"n", n}}), 1) << n.toStdString();
    EXPECT_EQ(scalar("select gb from charset where charno='1004'").toString(), QStringLiteral("两次输入的密码不一致！"));
}

TEST_F(SchemaTest, NewDatabaseCarriesShopSettings)
{
    EXPECT_EQ(count("userinfo"), 1);
    db::Statement st(conn(), "select gods_code, gods_name, gods_spec, gods_type, gods_kind, sale_value, comp_name "
                             "from userinfo");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.value(0).toString(), QStringLiteral("货品编码"));
    EXPECT_EQ(st.value(1).toString(), QStringLiteral("货品名称"));
    EXPECT_EQ(st.value(2).toString(), QStringLiteral("规格"));
    EXPECT_EQ(st.value(3).toString(), QStringLiteral("型号"));
    EXPECT_EQ(st.value(4).toString(), QStringLiteral("种类"));
    EXPECT_EQ(st.value(5).toLongLong(), 0);
    EXPECT_TRUE(st.value(6).isNull());
}

TEST_F(SchemaTest, FirstUserIsAnEmployeeWithEveryRight)
{
    EXPECT_EQ(count("powers"), 1);
    EXPECT_EQ(count("powers", "user_id='admin' and password='admin'"), 1);
    EXPECT_EQ(scalar("select empl_name from employee where empl_code='admin'").toString(), QStringLiteral("管理员"));
    const QString all(38, u'1');
    for (const char* column : {"pow_use", "pow_add", "pow_edit", "pow_dele", "pow_chek", "pow_find", "pow_prin"})
        EXPECT_EQ(scalar(QStringLiteral("select %1 from powers").arg(column)).toString(), all) << column;
}

TEST_F(SchemaTest, TheDatabaseLivesInTheProgramFoldersDataFolder)
{
    EXPECT_EQ(sys::programFolder(), folder());
    EXPECT_EQ(databasePath(), folder() + "data/orbenta.db");
    EXPECT_TRUE(QFile::exists(databasePath()));
}

class CreateDatabaseTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder() const { return dir.path() + u'/'; }
};

TEST_F(CreateDatabaseTest, FileIsUnreadableWithoutTheKey)
{
    createDatabase(folder());
    const QString path = localDatabasePath(folder());

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.read(16).startsWith("SQLite format 3"));
    file.close();

    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    const int rc = sqlite3_exec(raw, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    EXPECT_EQ(rc, SQLITE_NOTADB);

    db::Connection wrong;
    try {
        wrong.open(path, QByteArray("0000000000000000000"));
        ADD_FAILURE() << "opened with a wrong key";
    } catch (const db::Error& e) {
        EXPECT_EQ(e.kind(), db::Error::Kind::WrongKey);
    }

    db::Connection right;
    right.open(path, databaseKey());
    EXPECT_EQ(right.scalar("select count(*) from powers").toLongLong(), 1);
}

TEST_F(CreateDatabaseTest, RefusesAnExistingFileAndLeavesItAlone)
{
    createDatabase(folder());
    {
        db::Connection conn;
        conn.open(localDatabasePath(folder()), databaseKey());
        conn.execute("insert into goods (gods_code) values ('KEEP')");
    }
    EXPECT_THROW(createDatabase(folder()), db::Error);

    db::Connection conn;
    conn.open(localDatabasePath(folder()), databaseKey());
    EXPECT_EQ(conn.scalar("select count(*) from goods where gods_code='KEEP'").toLongLong(), 1);
}

TEST_F(CreateDatabaseTest, AcceptsAFolderWithoutItsTrailingSeparator)
{
    createDatabase(dir.path());
    EXPECT_TRUE(QFile::exists(dir.path() + "/data/orbenta.db"));
}

TEST(SchemaResources, ScriptsAreCompiledIn)
{
    EXPECT_TRUE(schemaSql().contains("CREATE TABLE outtemp"));
    EXPECT_TRUE(seedSql().contains("INSERT INTO charset"));
}

} // namespace
