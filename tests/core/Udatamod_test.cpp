#include "core/Udatamod.h"
#include "tests/support/TestDb.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using db::FieldDef;
using db::FieldType;
using db::LockType;

struct Expected {
    const char* name;
    int fields; // declared columns: data, lookup and calculated
    bool batch;
};

// The queries in declaration order, with their declared column counts and locks.
const std::vector<Expected> kQueries = {
    {"TempQ", 0, false},      {"EmployeeQ", 0, true},   {"CompanyQ", 0, false},   {"GoodsQ", 19, true},
    {"GoodsFindQ", 0, false}, {"InFindQ", 0, false},    {"InMainQ", 25, true},    {"InGoodsQ", 12, true},
    {"OutMainQ", 26, true},   {"OutGoodsQ", 12, true},  {"OutFindQ", 0, false},   {"OutListQ", 11, false},
    {"OutSortQ", 9, false},   {"OutSortCQ", 5, false},  {"InsiderQ", 65, true},   {"BespeakQ", 15, true},
    {"ServeItemQ", 11, false}, {"ServeFlowQ", 9, false}, {"UserQ", 0, false},     {"ProdDefiQ", 0, true},
    {"MoneDefQ", 0, true},    {"FeeDefiQ", 0, true},    {"UnitDefiQ", 0, true},   {"SizeDefiQ", 0, true},
    {"ColorDefiQ", 0, true},  {"KindDefiQ", 0, true},   {"TypeDefiQ", 0, true},   {"SpecDefiQ", 0, true},
    {"DyeHairQ", 20, false},  {"MarcelQ", 24, false},   {"ServeFindQ", 0, false}, {"OutTempQ", 12, false},
    {"StoreiniQ", 8, true},   {"StoreQ", 9, false},     {"InsiFeeQ", 27, false},  {"CardTypeQ", 0, false},
    {"EmplListQ", 0, false},  {"ListTempQ", 10, false}, {"ServSortIQ", 7, false}, {"ServSortSQ", 6, false},
    {"SalaryQ", 8, false},    {"GainInQ", 3, false},    {"GainOutQ", 3, false},   {"GainServeQ", 3, false},
    {"GainEInQ", 3, false},   {"GainEOutQ", 3, false},  {"PowerQ", 11, false},
};

const FieldDef* declared(const db::Dataset& q, const QString& name)
{
    for (const FieldDef& f : q.declaredFields())
        if (f.name == name)
            return &f;
    return nullptr;
}

std::vector<const FieldDef*> dataFields(const db::Dataset& q)
{
    std::vector<const FieldDef*> out;
    for (const FieldDef& f : q.declaredFields())
        if (f.kind == FieldDef::Kind::Data)
            out.push_back(&f);
    return out;
}

TEST(DataModule, DeclaresTheFortySevenQueriesInOrder)
{
    TFrmDataMod dm;
    EXPECT_EQ(dm.objectName(), QStringLiteral("FrmDataMod"));
    const QList<db::Dataset*> all = dm.queries();
    ASSERT_EQ(all.size(), int(kQueries.size()));
    ASSERT_EQ(kQueries.size(), 47u);
    for (size_t i = 0; i < kQueries.size(); ++i) {
        const Expected& e = kQueries[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(all[int(i)]->name(), QString::fromUtf8(e.name));
        EXPECT_EQ(dm.query(e.name), all[int(i)]);
        EXPECT_EQ(int(all[int(i)]->declaredFields().size()), e.fields);
        EXPECT_EQ(all[int(i)]->lockType(), e.batch ? LockType::BatchOptimistic : LockType::Optimistic);
    }
    EXPECT_EQ(dm.query("InsiFeeQ"), &dm.InsiFeeQ);
    EXPECT_EQ(dm.query("insifeeq"), nullptr);
    EXPECT_EQ(dm.query("NoSuchQ"), nullptr);
}

TEST(DataModule, StartsClosed)
{
    TFrmDataMod dm;
    EXPECT_FALSE(dm.AdoConn.isOpen());
    for (db::Dataset* q : dm.queries()) {
        EXPECT_FALSE(q->isActive()) << q->name().toStdString();
        EXPECT_TRUE(q->paramNames().isEmpty()) << q->name().toStdString();
    }
}

TEST(DataModule, KeepsTheDesignSqlLineByLine)
{
    TFrmDataMod dm;
    EXPECT_TRUE(dm.TempQ.sqlLines().isEmpty());
    EXPECT_EQ(dm.OutMainQ.sqlLines(), QStringList{"select top 1 * from outmain"});
    EXPECT_EQ(dm.OutGoodsQ.sqlLines(), QStringList{"select Top 1 * from outgoods"});
    EXPECT_EQ(dm.OutSortQ.sqlLines(),
              (QStringList{"select distinct b.gods_code,sum(b.sub_amou) as ", "sub_amou,avg(unit_pric) as unit_pric,",
                           "sum(b.unit_pric*b.sub_amou) as sub_tota from OutMain a ",
                           "inner join OutGoods b on a.bill_no=b.bill_no ", " group by gods_code order by 2"}));
    EXPECT_EQ(dm.ServSortIQ.sqlLines(),
              (QStringList{"select card_no,sum(should_gath) as serve_fee from insifee ", "group by card_no"}));
    EXPECT_EQ(dm.EmplListQ.sqlText(),
              QStringLiteral("select distinct bill_no,bill_date,serve_code,stylist_code,should_gath from insifee "));
}

TEST(DataModule, ClearsTheGlobalWhenDestroyed)
{
    auto dm = std::make_unique<TFrmDataMod>();
    FrmDataMod = dm.get();
    dm.reset();
    EXPECT_EQ(FrmDataMod, nullptr);
}

TEST(DataModule, DeclaresFormatsAndTypesAsTheFormsShowThem)
{
    TFrmDataMod dm;
    const QString amount = QStringLiteral("#0.##");
    for (const char* name : {"valu_in", "valu_out", "max_amou", "min_amou", "agent_pric"})
        EXPECT_EQ(declared(dm.GoodsQ, name)->format, amount) << name;
    EXPECT_EQ(declared(dm.GoodsQ, "gods_code")->format, QString());
    EXPECT_EQ(declared(dm.InMainQ, "shou_tota")->format, QString());
    EXPECT_EQ(declared(dm.ServSortSQ, "serve_fee")->format, QString());
    EXPECT_EQ(declared(dm.ServSortIQ, "serve_fee")->format, amount);
    EXPECT_EQ(declared(dm.InsiFeeQ, "serv_fee")->type, FieldType::Integer);
    EXPECT_EQ(declared(dm.InsiFeeQ, "serv_fee")->format, amount);
    EXPECT_EQ(declared(dm.InsiderQ, "insi_code")->size, 20);
    EXPECT_EQ(declared(dm.InsiderQ, "in_id")->type, FieldType::AutoInc);
    EXPECT_EQ(declared(dm.GainServeQ, "bill_no")->size, 20);
    EXPECT_EQ(declared(dm.GainInQ, "bill_no")->size, 14);

    const FieldDef* sub = declared(dm.InGoodsQ, "sub_tota");
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->kind, FieldDef::Kind::Calculated);
    EXPECT_EQ(sub->format, amount);
    EXPECT_EQ(declared(dm.SalaryQ, "sub_tota")->kind, FieldDef::Kind::Calculated);
    EXPECT_EQ(declared(dm.StoreQ, "cost_tota")->kind, FieldDef::Kind::Calculated);
    EXPECT_EQ(declared(dm.InsiFeeQ, "change_fee")->kind, FieldDef::Kind::Calculated);
}

TEST(DataModule, SalesHeaderColumnsComeInTheirFormOrder)
{
    TFrmDataMod dm;
    QStringList names;
    for (const FieldDef* f : dataFields(dm.OutMainQ))
        names << f->name;
    EXPECT_EQ(names.join(u' '), QStringLiteral("in_id bill_no vouc_no bill_date comp_code mone_type mone_rate "
                                               "fee_type shou_tota fact_tota remark bill_type hand_code chek_code "
                                               "oper_code send_code rece_code rela_code"));
}

TEST(DataModule, LookupsNameTheirSourceAndKeys)
{
    TFrmDataMod dm;
    const FieldDef* rebate = declared(dm.InsiFeeQ, "rebate");
    ASSERT_NE(rebate, nullptr);
    EXPECT_EQ(rebate->kind, FieldDef::Kind::Lookup);
    EXPECT_EQ(rebate->lookupTable, QStringLiteral("cardtype"));
    EXPECT_EQ(rebate->lookupKey, QStringLiteral("type_note"));
    EXPECT_EQ(rebate->lookupResult, QStringLiteral("rebate"));
    EXPECT_EQ(rebate->keyField, QStringLiteral("card_type"));
    // The chained key is itself a lookup declared before it.
    const FieldDef* cardType = declared(dm.InsiFeeQ, "card_type");
    ASSERT_NE(cardType, nullptr);
    EXPECT_EQ(cardType->kind, FieldDef::Kind::Lookup);
    EXPECT_LT(cardType - dm.InsiFeeQ.declaredFields().data(), rebate - dm.InsiFeeQ.declaredFields().data());

    const FieldDef* gate = declared(dm.InsiFeeQ, "gate_time");
    ASSERT_NE(gate, nullptr);
    EXPECT_EQ(gate->lookupResult, QStringLiteral("gage_time"));
    const FieldDef* user = declared(dm.PowerQ, "user_name");
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->lookupTable, QStringLiteral("employee"));
    EXPECT_EQ(user->keyField, QStringLiteral("user_id"));
    const FieldDef* rela = declared(dm.InMainQ, "rela_name");
    ASSERT_NE(rela, nullptr);
    EXPECT_EQ(rela->keyField, QStringLiteral("rela_code"));
    EXPECT_EQ(rela->lookupResult, QStringLiteral("empl_name"));
    EXPECT_EQ(declared(dm.InMainQ, "rela_phon"), nullptr);
    EXPECT_NE(declared(dm.OutMainQ, "rela_phon"), nullptr);
}

class DataModuleOnDatabase : public TestDb {
protected:
    // Declared type of a table column as the data layer types it.
    static std::pair<FieldType, int> fieldTypeOf(const QString& declType, bool primaryKey)
    {
        static const QRegularExpression sized(QStringLiteral("^VARCHAR\\((\\d+)\\)$"));
        if (const auto m = sized.match(declType); m.hasMatch())
            return {FieldType::Text, m.captured(1).toInt()};
        if (declType == u"INTEGER")
            return {primaryKey ? FieldType::AutoInc : FieldType::Integer, 0};
        if (declType == u"SMALLINT")
            return {FieldType::SmallInt, 0};
        if (declType == u"FLOAT")
            return {FieldType::Float, 0};
        if (declType == u"DATETIME")
            return {FieldType::DateTime, 0};
        if (declType == u"BOOLEAN")
            return {FieldType::Boolean, 0};
        return {FieldType::Text, 0};
    }
};

TEST_F(DataModuleOnDatabase, DeclaredColumnsMatchTheirTables)
{
    static const QRegularExpression wholeTable(QStringLiteral("^select (top 1 )?\\* from (\\w+)$"),
                                               QRegularExpression::CaseInsensitiveOption);
    int checked = 0;
    for (db::Dataset* q : dataMod().queries()) {
        const auto data = dataFields(*q);
        const auto m = wholeTable.match(q->sqlText());
        if (data.empty() || !m.hasMatch())
            continue;
        SCOPED_TRACE(q->name().toStdString());
        ++checked;
        std::map<QString, std::pair<FieldType, int>> table;
        QStringList order;
        db::Statement info(conn(), "PRAGMA table_info(" + m.captured(2) + ")");
        while (info.step()) {
            table[info.value(1).toString()] = fieldTypeOf(info.value(2).toString(), info.value(5).toInt() == 1);
            order << info.value(1).toString();
        }
        QStringList names;
        for (const FieldDef* f : data) {
            names << f->name;
            ASSERT_TRUE(table.count(f->name)) << f->name.toStdString();
            EXPECT_EQ(f->type, table[f->name].first) << f->name.toStdString();
            EXPECT_EQ(f->size, table[f->name].second) << f->name.toStdString();
        }
        if (q != &dataMod().OutMainQ) {
            EXPECT_EQ(names, order);
        }
        EXPECT_EQ(names.size(), order.size());
    }
    EXPECT_EQ(checked, 18);
}

TEST_F(DataModuleOnDatabase, EveryDesignQueryOpensOnANewDatabase)
{
    for (db::Dataset* q : dataMod().queries()) {
        if (q->sqlLines().isEmpty())
            continue;
        SCOPED_TRACE(q->name().toStdString());
        ASSERT_NO_THROW(q->open());
        EXPECT_TRUE(q->isActive());
        if (!dataFields(*q).empty()) {
            EXPECT_EQ(q->fieldCount(), int(q->declaredFields().size()));
        }
        q->close();
    }
}

TEST_F(DataModuleOnDatabase, SelectTopOneReturnsOneRow)
{
    exec("insert into outmain (bill_no, bill_type) values ('20240301000001', 'out')");
    exec("insert into outmain (bill_no, bill_type) values ('20240301000002', 'out')");
    dataMod().OutMainQ.open();
    EXPECT_EQ(dataMod().OutMainQ.recordCount(), 1);
    EXPECT_EQ(dataMod().OutMainQ.asString("bill_type"), QStringLiteral("out"));
}

class LedgerLookups : public DataModuleOnDatabase {
protected:
    void SetUp() override
    {
        DataModuleOnDatabase::SetUp();
        exec("insert into cardtype (card_type, type_note, rebate) values ('class_a', '普通卡', 100)");
        exec("insert into cardtype (card_type, type_note, rebate) values ('class_b', '金卡', 85)");
        exec("insert into insider (insi_code, insi_name, card_no, card_type, rest_point) "
             "values ('M1', '张三', 'C001', '金卡', 12.6)");
        exec("insert into insider (insi_code, insi_name, card_no, card_type) values ('M2', '李四', 'C002', '普通卡')");
        exec("insert into serveitem (serve_code, serve_name, unit_pric, gage_time) values ('S1', '洗剪吹', 38, '45')");
        exec("insert into employee (empl_code, empl_name) values ('E1', '王师傅')");
        exec("insert into insifee (card_no, serve_code, bill_no, gath_type, should_gath, stylist_code) "
             "values ('C001', 'S1', '20240301100000', 'servefee', 38, 'E1')");
        exec("insert into insifee (card_no, serve_code, bill_no, gath_type, should_gath) "
             "values ('C002', 'S1', '20240301100001', 'servefee', 38)");
        exec("insert into insifee (card_no, serve_code, bill_no, gath_type, should_gath) "
             "values ('C999', 'S1', '20240301100002', 'servefee', 38)");
    }

    db::Dataset& fee() { return dataMod().InsiFeeQ; }
    void openFee() { fee().open(); }
    void at(const char* billNo) { ASSERT_TRUE(fee().locate("bill_no", QString::fromUtf8(billNo))); }
};

TEST_F(LedgerLookups, ShowTheMemberServiceAndStylist)
{
    openFee();
    at("20240301100000");
    EXPECT_EQ(fee().asString("insi_name"), QStringLiteral("张三"));
    EXPECT_EQ(fee().asString("card_type"), QStringLiteral("金卡"));
    EXPECT_EQ(fee().asString("serve_name"), QStringLiteral("洗剪吹"));
    EXPECT_EQ(fee().asString("stylist_name"), QStringLiteral("王师傅"));
    EXPECT_EQ(fee().asString("gate_time"), QStringLiteral("45"));
}

TEST_F(LedgerLookups, RebateFollowsTheMembersLevel)
{
    openFee();
    at("20240301100000");
    EXPECT_EQ(fee().asInt("rebate"), 85);
    at("20240301100001");
    EXPECT_EQ(fee().asInt("rebate"), 100);
}

TEST_F(LedgerLookups, UnknownCardShowsNothing)
{
    openFee();
    at("20240301100002");
    EXPECT_EQ(fee().asString("insi_name"), QString());
    EXPECT_EQ(fee().asString("card_type"), QString());
    EXPECT_TRUE(fee().value("rebate").isNull());
}

TEST_F(LedgerLookups, BalanceShowsAsAWholeNumber)
{
    openFee();
    at("20240301100000");
    EXPECT_EQ(fee().displayText("rest_point"), QStringLiteral("13"));
}

TEST_F(LedgerLookups, SearchTheWholeMemberTableWhateverTheMemberFormSelected)
{
    dataMod().InsiderQ.setSql("select * from insider where card_no='C002'");
    dataMod().InsiderQ.open();
    ASSERT_EQ(dataMod().InsiderQ.recordCount(), 1);
    openFee();
    at("20240301100000");
    EXPECT_EQ(fee().asString("insi_name"), QStringLiteral("张三"));
}

TEST_F(DataModuleOnDatabase, UserListShowsTheEmployeeName)
{
    dataMod().PowerQ.open();
    ASSERT_EQ(dataMod().PowerQ.recordCount(), 1);
    EXPECT_EQ(dataMod().PowerQ.asString("user_name"), QStringLiteral("管理员"));
}

} // namespace
