#include "core/Udatamod.h"

#include "core/CopiedColumns.h"

#include <QHash>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>

TFrmDataMod* FrmDataMod = nullptr;

namespace {

using db::FieldDef;
using db::FieldType;
using db::LockType;

const QString kAmount = QStringLiteral("#0.##");

// Column lists of the tables the declared field sets are taken from, in the
// tables' order of declaration: "name:type", where type is auto, text,
// text(n), integer, smallint, float, datetime or boolean, and "name[a-b]"
// stands for the numbered columns namea to nameb.
const char* const kGoodsColumns =
    "in_id:auto gods_code:text(20) gods_name:text(40) gods_spec:text(20) gods_type:text(20)"
    " gods_kind:text(20) gods_unit:text(10) valu_in:float valu_out:float max_amou:float"
    " min_amou:float prod_place:text(30) prod_code:text(20) supp_code:text(20) agent_pric:float"
    " touch_code:text(20) gods_note:text(50)";
const char* const kDocumentColumns = // inmain and outmain
    "in_id:auto bill_no:text(14) vouc_no:text(12) bill_date:datetime comp_code:text(10)"
    " mone_type:text(10) mone_rate:float fee_type:text(10) hand_code:text(10) chek_code:text(10)"
    " oper_code:text(10) send_code:text(10) rece_code:text(10) rela_code:text(10)"
    " fact_tota:float shou_tota:float remark:text(50) bill_type:text(10)";
const char* const kLineColumns = // ingoods, outgoods and outtemp
    "in_id:auto bill_no:text(14) gods_code:text(20) sub_amou:float unit_pric:float remark:text(10)";
const char* const kInsiderColumns =
    "in_id:auto insi_code:text(20) insi_name:text(20) card_no:text(20) insi_sex:text(4)"
    " insi_birth:datetime insi_tele:text(20) mobile:text(20) insi_addr:text(50) post_code:text(10)"
    " id_card:text(20) card_type:text(20) insi_state:text(10) insi_pass:text(12) open_date:datetime"
    " insi_note:text(50) skin[1-8]:boolean skin_else1:text(30) skin[10-25]:boolean"
    " skin_else2:text(30) hair[1-17]:boolean hair_else:text(30) foregift:float insi_tota:float"
    " rest_point:float";
const char* const kInsiFeeColumns =
    "in_id:auto insi_code:text(20) card_no:text(20) serve_code:text(20) bill_no:text(20)"
    " bill_date:datetime serv_fee:integer gath_code:text(20) gath_note:text(30) gath_type:text(10)"
    " stylist_code:text(20) middle_code:text(20) assis_code:text(20) oper_code:text(20)"
    " should_gath:integer";
const char* const kServeItemColumns =
    "in_id:auto serve_code:text(20) serve_name:text(40) serve_type:text(20) unit_pric:float"
    " gage_time:text(10) stylist_rate:smallint middle_rate:smallint assis_rate:smallint"
    " serve_note:text(50) serve_state:text(10)";
const char* const kServeFlowColumns =
    "in_id:auto step_no:text(10) gods_code:text(20) dosage:text(20) flow_note:text(30)"
    " serve_code:text(20) use_time:integer";
const char* const kMarcelColumns =
    "in_id:auto serve_code:text(20) mar_type:text(20) mar_kind:text(20) curl_tune:text(30)"
    " mar_mach:text(30) do_before:text(60) do_middle:text(60) do_after:text(60) bef_color:text(20)"
    " bef_sort:text(20) mid_color:text(20) mid_sort:text(20) ear_color:text(20) ear_sort:text(20)"
    " back_color:text(20) back_sort:text(20) first_stay:text(20) first_wash:text(20)"
    " sec_stay:text(20) sec_wash:text(20) mar_note:text(80)";
const char* const kDyeHairColumns =
    "in_id:auto serve_code:text(20) dye_kind:text(20) base_color:text(20) end_color:text(20)"
    " do_before:text(50) do_middle:text(50) do_after:text(50) dye_drug:text(30) use_quant:text(20)"
    " dye_plan:text(50) root_plan:text(80) mid_plan:text(80) top_plan:text(80) root_time:text(20)"
    " mid_time:text(20) top_time:text(20) dye_note:text(80)";
const char* const kBespeakColumns =
    "in_id:auto pre_date:datetime pre_time:text(10) stylist:text(10) assisitant:text(10)"
    " bill_no:text(15) bill_date:datetime oper_code:text(10) pre_note:text(50) card_no:text(20)"
    " serv_code:text(10)";
const char* const kStoreColumns = "gods_code:text(20) gods_amou:float cost_pric:float";
const char* const kListTempColumns =
    "in_id:auto bill_no:text(20) bill_date:datetime serve_code:text(20) shou_tota:float"
    " rate_value:smallint bill_note:text(10) empl_code:text(20) do_with:text(5) fact_tota:float";
const char* const kSalaryColumns = "in_id:auto empl_code:text(30) add_fee:float";
const char* const kPowersColumns =
    "user_id:text(10) password:text(10) belo_dept:text(10) pow_use:text(50) pow_add:text(50)"
    " pow_edit:text(50) pow_dele:text(50) pow_chek:text(50) pow_find:text(50) pow_prin:text(50)";

QStringList words(const char* text)
{
    return QString::fromUtf8(text).split(u' ', Qt::SkipEmptyParts);
}

struct TypeSpec {
    FieldType type = FieldType::Text;
    int size = 0;
    QString format;
};

// "text(20)", "float#" ("#" asks for the amount format), "integer", ...
TypeSpec parseType(QString token)
{
    TypeSpec spec;
    if (token.endsWith(u'#')) {
        spec.format = kAmount;
        token.chop(1);
    }
    static const QRegularExpression sized(QStringLiteral("^text\\((\\d+)\\)$"));
    if (const auto m = sized.match(token); m.hasMatch()) {
        spec.size = m.captured(1).toInt();
        return spec;
    }
    static const QHash<QString, FieldType> types{
        {QStringLiteral("text"), FieldType::Text},         {QStringLiteral("auto"), FieldType::AutoInc},
        {QStringLiteral("integer"), FieldType::Integer},   {QStringLiteral("smallint"), FieldType::SmallInt},
        {QStringLiteral("float"), FieldType::Float},       {QStringLiteral("datetime"), FieldType::DateTime},
        {QStringLiteral("boolean"), FieldType::Boolean},
    };
    const auto it = types.find(token);
    if (it == types.end())
        throw std::logic_error("unknown field type in the data module: " + token.toStdString());
    spec.type = *it;
    return spec;
}

// Builds one query's declared field set in the order a form sees it: data
// columns, then lookups, then calculated columns.
class Fields {
public:
    Fields() = default;
    // Data columns from a column list (see the table column lists above).
    explicit Fields(const char* columns)
    {
        static const QRegularExpression numbered(QStringLiteral("^(\\w+)\\[(\\d+)-(\\d+)\\]$"));
        for (const QString& word : words(columns)) {
            const QString name = word.section(u':', 0, 0);
            const TypeSpec t = parseType(word.section(u':', 1));
            if (const auto m = numbered.match(name); m.hasMatch()) {
                for (int i = m.captured(2).toInt(); i <= m.captured(3).toInt(); ++i)
                    defs_.push_back(FieldDef::data(m.captured(1) + QString::number(i), t.type, t.size, t.format));
            } else {
                defs_.push_back(FieldDef::data(name, t.type, t.size, t.format));
            }
        }
    }

    // Keeps only the named data columns, in the order named.
    Fields& only(const char* names)
    {
        std::vector<FieldDef> picked;
        for (const QString& name : words(names))
            picked.push_back(find(name));
        defs_ = std::move(picked);
        return *this;
    }

    // Shows the named columns with the amount format "#0.##".
    Fields& amounts(const char* names)
    {
        for (const QString& name : words(names))
            find(name).format = kAmount;
        return *this;
    }

    // The value of source "table.result" in the row whose key equals this
    // row's ownColumn (a data column, or a lookup declared before).
    Fields& lookup(const char* name, const char* type, const char* source, const char* key,
                   const char* ownColumn)
    {
        const TypeSpec t = parseType(QString::fromUtf8(type));
        const QString src = QString::fromUtf8(source);
        defs_.push_back(FieldDef::lookup(QString::fromUtf8(name), t.type, t.size, QString::fromUtf8(ownColumn),
                                         src.section(u'.', 0, 0), QString::fromUtf8(key),
                                         src.section(u'.', 1), t.format));
        return *this;
    }

    // Employee names looked up for several code columns: "hand_name=hand_code ...".
    Fields& employeeNames(const char* type, const char* pairs)
    {
        for (const QString& pair : words(pairs)) {
            const QByteArray name = pair.section(u'=', 0, 0).toUtf8();
            const QByteArray code = pair.section(u'=', 1).toUtf8();
            lookup(name.constData(), type, "employee.empl_name", "empl_code", code.constData());
        }
        return *this;
    }

    // Goods attributes of the row's gods_code: "gods_name:text(50) ...".
    Fields& goodsAttributes(const char* namesAndTypes)
    {
        for (const QString& word : words(namesAndTypes)) {
            const QByteArray name = word.section(u':', 0, 0).toUtf8();
            const QByteArray type = word.section(u':', 1).toUtf8();
            const QByteArray source = "goods." + name;
            lookup(name.constData(), type.constData(), source.constData(), "gods_code", "gods_code");
        }
        return *this;
    }

    // A column computed by the handler a form installs; every one is an amount.
    Fields& calculated(const char* name)
    {
        defs_.push_back(FieldDef::calculated(QString::fromUtf8(name), FieldType::Float, kAmount));
        return *this;
    }

    std::vector<FieldDef> defs() const { return defs_; }

private:
    FieldDef& find(const QString& name)
    {
        for (FieldDef& d : defs_)
            if (d.name == name)
                return d;
        throw std::logic_error("no column " + name.toStdString() + " in a data module field set");
    }

    std::vector<FieldDef> defs_;
};

struct QueryDesign {
    QString name;
    QStringList sql;
    LockType lock;
    Fields fields;
};

constexpr LockType Single = LockType::Optimistic;
constexpr LockType Batch = LockType::BatchOptimistic;

QStringList lines(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* t : texts)
        out << QString::fromUtf8(t);
    return out;
}

Fields documentHeader(const char* order)
{
    return Fields(kDocumentColumns).only(order)
        .lookup("comp_name", "text(50)", "company.comp_name", "comp_code", "comp_code");
}

Fields& documentStaff(Fields& f)
{
    return f.employeeNames("text(10)", "hand_name=hand_code chek_name=chek_code oper_name=oper_code "
                                       "send_name=send_code rece_name=rece_code rela_name=rela_code");
}

const char* const kInMainOrder =
    "in_id bill_no vouc_no bill_date comp_code mone_type mone_rate fee_type hand_code chek_code oper_code"
    " send_code rece_code rela_code fact_tota shou_tota remark bill_type";
const char* const kOutMainOrder =
    "in_id bill_no vouc_no bill_date comp_code mone_type mone_rate fee_type shou_tota fact_tota remark"
    " bill_type hand_code chek_code oper_code send_code rece_code rela_code";

Fields inMainFields()
{
    Fields f = documentHeader(kInMainOrder);
    return documentStaff(f);
}

Fields outMainFields()
{
    Fields f = documentHeader(kOutMainOrder);
    f.lookup("rela_phon", "text(20)", "company.rela_phon", "comp_code", "comp_code");
    return documentStaff(f);
}

Fields documentLines(const char* goodsAttributes)
{
    return Fields(kLineColumns).amounts("sub_amou unit_pric").goodsAttributes(goodsAttributes).calculated("sub_tota");
}

Fields serviceOfRecipe(const char* columns)
{
    return Fields(columns)
        .lookup("serve_name", "text(40)", "serveitem.serve_name", "serve_code", "serve_code")
        .lookup("serve_type", "text(20)", "serveitem.serve_type", "serve_code", "serve_code");
}

QueryDesign baseList(const char* name, const char* sql)
{
    return {QString::fromUtf8(name), lines({sql}), Batch, Fields()};
}

// The queries as the data module declares them.
std::vector<QueryDesign> designs()
{
    return {
        {"TempQ", {}, Single, Fields()},
        {"EmployeeQ", lines({"select * from employee"}), Batch, Fields()},
        {"CompanyQ", lines({"select * from company"}), Single, Fields()},
        {"GoodsQ", lines({"select * from goods"}), Batch,
         Fields(kGoodsColumns)
             .amounts("valu_in valu_out max_amou min_amou agent_pric")
             .lookup("prod_name", "text(40)", "company.comp_name", "comp_code", "prod_code")
             .lookup("supp_name", "text(40)", "company.comp_name", "comp_code", "supp_code")},
        {"GoodsFindQ", lines({"select * from goods"}), Single, Fields()},
        {"InFindQ", lines({"select * from inmain"}), Single, Fields()},
        {"InMainQ", lines({"select * from inmain"}), Batch, inMainFields()},
        {"InGoodsQ", lines({"select * from ingoods"}), Batch,
         documentLines("gods_name:text(50) gods_spec:text(30) gods_type:text(30) gods_kind:text(20) "
                       "gods_unit:text(10)")},
        {"OutMainQ", lines({"select top 1 * from outmain"}), Batch, outMainFields()},
        {"OutGoodsQ", lines({"select Top 1 * from outgoods"}), Batch,
         documentLines("gods_name:text(50) gods_spec:text(30) gods_kind:text(20) gods_type:text(20) "
                       "gods_unit:text(10)")},
        {"OutFindQ", lines({"select * from outmain"}), Single, Fields()},
        {"OutListQ",
         lines({"select distinct a.comp_code,b.bill_no,b.gods_code,b.unit_pric,",
                "b.sub_amou from OutMain a inner join OutGoods b ", "on a.bill_no=b.bill_no"}),
         Single,
         Fields("comp_code:text(10) bill_no:text(14) gods_code:text(20) unit_pric:float# sub_amou:float#")
             .lookup("comp_name", "text(50)", "company.comp_name", "comp_code", "comp_code")
             .goodsAttributes("gods_name:text(50) gods_spec:text(30) gods_type:text(20) gods_unit:text(10)")
             .calculated("sub_tota")},
        {"OutSortQ",
         lines({"select distinct b.gods_code,sum(b.sub_amou) as ", "sub_amou,avg(unit_pric) as unit_pric,",
                "sum(b.unit_pric*b.sub_amou) as sub_tota from OutMain a ",
                "inner join OutGoods b on a.bill_no=b.bill_no ", " group by gods_code order by 2"}),
         Single,
         Fields("gods_code:text(20) sub_amou:float# unit_pric:float# sub_tota:float#")
             .goodsAttributes("gods_name:text(50) gods_spec:text(20) gods_type:text(20) gods_kind:text(20) "
                              "gods_unit:text(10)")},
        {"OutSortCQ",
         lines({"select distinct comp_code,sum(b.sub_amou) as sub_amou,",
                "sum(b.unit_pric*b.sub_amou) as sub_tota from OutMain a ",
                "inner join OutGoods b on a.bill_no=b.bill_no ", "group by comp_code order by 2"}),
         Single,
         Fields("comp_code:text(10) sub_amou:float# sub_tota:float#")
             .lookup("comp_name", "text(50)", "company.comp_name", "comp_code", "comp_code")
             .lookup("head_name", "text(20)", "company.head_name", "comp_code", "comp_code")},
        {"InsiderQ", lines({"select * from Insider"}), Batch,
         Fields(kInsiderColumns)
             .amounts("foregift insi_tota rest_point")
             .lookup("need_gift", "float", "cardtype.foregift", "type_note", "card_type")
             .lookup("rebate", "integer", "cardtype.rebate", "type_note", "card_type")},
        {"BespeakQ", lines({"select * from bespeak"}), Batch,
         Fields(kBespeakColumns)
             .lookup("gage_time", "integer", "serveitem.gage_time", "serve_code", "serv_code")
             .lookup("serv_name", "text(40)", "serveitem.serve_name", "serve_code", "serv_code")
             .employeeNames("text(20)", "stylist_name=stylist assis_name=assisitant")},
        {"ServeItemQ", lines({"select * from serveitem"}), Single, Fields(kServeItemColumns)},
        {"ServeFlowQ", lines({"select * from serveflow"}), Single,
         Fields(kServeFlowColumns)
             .lookup("gods_name", "text(30)", "goods.gods_name", "gods_code", "gods_code")
             .lookup("serve_name", "text(30)", "serveitem.serve_name", "serve_code", "serve_code")},
        {"UserQ", lines({"select top 1 * from userinfo"}), Single, Fields()},
        baseList("ProdDefiQ", "select distinct prod_place_id,prod_place from baseitem"),
        baseList("MoneDefQ", "select distinct mone_code,mone_type,mone_rate from baseitem"),
        baseList("FeeDefiQ", "select distinct fee_code,fee_type from baseitem"),
        baseList("UnitDefiQ", "select distinct gods_unit_id,gods_unit from baseitem"),
        baseList("SizeDefiQ", "select distinct gods_size_id,gods_size from baseitem"),
        baseList("ColorDefiQ", "select distinct gods_color_id,gods_color from baseitem"),
        baseList("KindDefiQ", "select distinct gods_kind_id,gods_kind from baseitem"),
        baseList("TypeDefiQ", "select distinct gods_type_id,gods_type from baseitem"),
        baseList("SpecDefiQ", "select distinct gods_spec_id,gods_spec from baseitem"),
        {"DyeHairQ", lines({"select top 1 * from dyehair"}), Single, serviceOfRecipe(kDyeHairColumns)},
        {"MarcelQ", lines({"select top 1 * from marcel"}), Single, serviceOfRecipe(kMarcelColumns)},
        {"ServeFindQ", lines({"select * from serveitem"}), Single, Fields()},
        {"OutTempQ", lines({"select Top 1 * from outgoods"}), Single,
         documentLines("gods_name:text(50) gods_spec:text(30) gods_kind:text(20) gods_type:text(20) "
                       "gods_unit:text(10)")},
        {"StoreiniQ", lines({"select * from storemain"}), Batch,
         Fields(kStoreColumns)
             .amounts("gods_amou cost_pric")
             .goodsAttributes("gods_name:text(20) gods_spec:text(10) gods_type:text(10) gods_kind:text(10) "
                              "gods_unit:text(6)")},
        {"StoreQ", lines({"select * from storemain"}), Single,
         Fields(kStoreColumns)
             .amounts("gods_amou cost_pric")
             .goodsAttributes("gods_name:text(30) gods_spec:text(20) gods_type:text(20) gods_kind:text(20) "
                              "gods_unit:text(10)")
             .calculated("cost_tota")},
        {"InsiFeeQ", lines({"select * from insifee"}), Single,
         Fields(kInsiFeeColumns)
             .amounts("serv_fee should_gath")
             .lookup("insi_name", "text(20)", "insider.insi_name", "card_no", "card_no")
             .lookup("card_type", "text(20)", "insider.card_type", "card_no", "card_no")
             .lookup("rest_point", "integer#", "insider.rest_point", "card_no", "card_no")
             .lookup("serve_name", "text(40)", "serveitem.serve_name", "serve_code", "serve_code")
             .lookup("serve_type", "text(20)", "serveitem.serve_type", "serve_code", "serve_code")
             .lookup("unit_pric", "integer#", "serveitem.unit_pric", "serve_code", "serve_code")
             .lookup("gate_time", "text(20)", "serveitem.gage_time", "serve_code", "serve_code")
             .employeeNames("text(20)", "stylist_name=stylist_code middle_name=middle_code assis_name=assis_code")
             // Keyed on the member's level name looked up just above.
             .lookup("rebate", "integer", "cardtype.rebate", "type_note", "card_type")
             .calculated("change_fee")},
        {"CardTypeQ", lines({"select * from cardtype"}), Single, Fields()},
        {"EmplListQ",
         lines({"select distinct bill_no,bill_date,serve_code,stylist_code,should_gath from insifee "}), Single,
         Fields()},
        {"ListTempQ", lines({"select * from listtemp"}), Single,
         Fields(kListTempColumns).amounts("shou_tota rate_value fact_tota")},
        {"ServSortIQ", lines({"select card_no,sum(should_gath) as serve_fee from insifee ", "group by card_no"}),
         Single,
         Fields("card_no:text(20) serve_fee:float#")
             .lookup("insi_name", "text(10)", "insider.insi_name", "card_no", "card_no")
             .lookup("insi_sex", "text(4)", "insider.insi_sex", "card_no", "card_no")
             .lookup("card_type", "text(20)", "insider.card_type", "card_no", "card_no")
             .lookup("open_date", "datetime", "insider.open_date", "card_no", "card_no")
             .lookup("insi_tota", "float#", "insider.insi_tota", "card_no", "card_no")},
        {"ServSortSQ",
         lines({"select serve_code,sum(should_gath) as serve_fee from insifee ", "group by serve_code"}), Single,
         Fields("serve_code:text(20) serve_fee:float")
             .lookup("serve_name", "text(40)", "serveitem.serve_name", "serve_code", "serve_code")
             .lookup("serve_type", "text(20)", "serveitem.serve_type", "serve_code", "serve_code")
             .lookup("unit_pric", "float#", "serveitem.unit_pric", "serve_code", "serve_code")
             .lookup("gage_time", "integer#", "serveitem.gage_time", "serve_code", "serve_code")},
        {"SalaryQ", lines({"select * from salary"}), Single,
         Fields(kSalaryColumns)
             .amounts("add_fee")
             .lookup("empl_name", "text(10)", "employee.empl_name", "empl_code", "empl_code")
             .lookup("empl_sex", "text(4)", "employee.empl_sex", "empl_code", "empl_code")
             .lookup("dept_name", "text(20)", "employee.dept_name", "empl_code", "empl_code")
             .lookup("low_salary", "float#", "employee.low_salary", "empl_code", "empl_code")
             .calculated("sub_tota")},
        {"GainInQ", lines({"select bill_no,bill_date,shou_tota from inmain"}), Single,
         Fields(kDocumentColumns).only("bill_no bill_date shou_tota").amounts("shou_tota")},
        {"GainOutQ", lines({"select bill_no,bill_date,shou_tota from outmain"}), Single,
         Fields(kDocumentColumns).only("bill_no bill_date shou_tota").amounts("shou_tota")},
        {"GainServeQ", lines({"select bill_no,bill_date,should_gath from insifee"}), Single,
         Fields(kInsiFeeColumns).only("bill_no bill_date should_gath").amounts("should_gath")},
        {"GainEInQ", lines({"select bill_no,bill_date,serv_fee from insifee"}), Single,
         Fields(kInsiFeeColumns).only("bill_no bill_date serv_fee").amounts("serv_fee")},
        {"GainEOutQ", lines({"select bill_no,bill_date,serv_fee from insifee"}), Single,
         Fields(kInsiFeeColumns).only("bill_no bill_date serv_fee").amounts("serv_fee")},
        {"PowerQ", lines({"select * from powers"}), Single,
         Fields(kPowersColumns).lookup("user_name", "text(20)", "employee.empl_name", "empl_code", "user_id")},
    };
}

// The code fields a user types or chooses, by query. Each is the key of a
// lookup of its query, which names the records the code stands for.
const char* const kTypedCodes[][2] = {
    {"GoodsQ", "prod_code supp_code"},
    {"InMainQ", "comp_code hand_code chek_code oper_code send_code rece_code rela_code"},
    {"InGoodsQ", "gods_code"},
    {"OutMainQ", "comp_code hand_code chek_code oper_code send_code rece_code rela_code"},
    {"OutGoodsQ", "gods_code"},
    {"BespeakQ", "serv_code stylist assisitant"},
    {"ServeFlowQ", "gods_code"},
    {"DyeHairQ", "serve_code"},
    {"MarcelQ", "serve_code"},
    {"InsiFeeQ", "card_no serve_code stylist_code middle_code assis_code"},
    {"PowerQ", "user_id"},
};

// The spelling under which table.column holds a code typed in any letter
// case (the database compares codes without regard to case): the typed code,
// trimmed, where a record spells it so, else the first record's spelling;
// nothing when no record holds it.
std::optional<QString> storedSpelling(db::Connection& conn, const QString& table, const QString& column,
                                      const QString& typed)
{
    const QString code = typed.trimmed();
    if (code.isEmpty())
        return std::nullopt;
    db::Statement st(conn, QStringLiteral("select %2 from %1 where %2=:code").arg(table, column));
    st.bind(QStringLiteral("code"), code);
    std::optional<QString> first;
    while (st.step()) {
        const QString stored = db::asString(st.value(0));
        if (stored == code)
            return stored;
        if (!first)
            first = stored;
    }
    return first;
}

} // namespace

// A code written into one of the fields of a query is written as the record
// it names spells it: the lookups of the query, which compare exactly, then
// show that record, and the row stores the code as everything else that
// reads it spells it.
struct TFrmDataMod::CodeSpelling {
    struct Source {
        QString table, column;
    };

    CodeSpelling(db::Dataset& q, const QStringList& fields)
    {
        const auto& defs = q.declaredFields();
        for (const QString& field : fields) {
            const auto lookup = std::find_if(defs.begin(), defs.end(), [&](const FieldDef& d) {
                return d.kind == FieldDef::Kind::Lookup && d.keyField.compare(field, Qt::CaseInsensitive) == 0;
            });
            if (lookup == defs.end())
                throw std::logic_error("no lookup of " + q.name().toStdString() + " is keyed on "
                                       + field.toStdString());
            sources.insert(field.toLower(), {lookup->lookupTable, lookup->lookupKey});
        }
        subscription = q.onDataChange([this](db::Dataset& ds, db::DataChange kind, const QString& field) {
            if (kind == db::DataChange::Field && !rewriting)
                respell(ds, field);
        });
    }

    void respell(db::Dataset& ds, const QString& field)
    {
        const auto source = sources.constFind(field.toLower());
        if (source == sources.constEnd())
            return;
        try {
            const QString typed = ds.asString(field);
            const std::optional<QString> stored = storedSpelling(ds.connection(), source->table, source->column, typed);
            if (!stored || *stored == typed)
                return;
            const QScopedValueRollback<bool> once(rewriting, true);
            ds.setValue(field, *stored);
        } catch (const std::exception&) {
            // the code stays as typed
        }
    }

    QHash<QString, Source> sources; // by field name in lower case
    bool rewriting = false;
    db::Subscription subscription;
};

TFrmDataMod::TFrmDataMod(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("FrmDataMod"));
    LimitCopiedColumns(AdoConn);
    const std::vector<QueryDesign> all = designs();
    for (const QueryDesign& design : all) {
        db::Dataset* q = query(design.name);
        if (!q)
            throw std::logic_error("the data module has no query " + design.name.toStdString());
        q->setSql(design.sql);
        q->setLockType(design.lock);
        q->setFieldDefs(design.fields.defs());
    }
    if (all.size() != size_t(queries().size()))
        throw std::logic_error("a query of the data module has no design");
    for (const auto& [name, fields] : kTypedCodes)
        codeSpellings_.push_back(std::make_unique<CodeSpelling>(*query(QString::fromLatin1(name)), words(fields)));
}

TFrmDataMod::~TFrmDataMod()
{
    StopLimitingCopiedColumns(AdoConn);
    if (FrmDataMod == this)
        FrmDataMod = nullptr;
}

db::Dataset* TFrmDataMod::query(const QString& name) const
{
    return findChild<db::Dataset*>(name, Qt::FindDirectChildrenOnly);
}

QList<db::Dataset*> TFrmDataMod::queries() const
{
    return findChildren<db::Dataset*>(QString(), Qt::FindDirectChildrenOnly);
}
