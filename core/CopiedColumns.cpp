#include "core/CopiedColumns.h"

#include "platform/db/Connection.h"
#include "platform/ui/CharacterLimit.h"

#include <QHash>
#include <QRegularExpression>
#include <memory>

namespace {

struct Copied {
    const char* column; // table.column
    const char* copies; // the columns holding copies of its values
};

const Copied kCopied[] = {
    {"employee.empl_code",
     "powers.user_id bespeak.stylist bespeak.assisitant insifee.stylist_code insifee.middle_code "
     "insifee.assis_code inmain.hand_code inmain.chek_code inmain.oper_code inmain.send_code inmain.rece_code "
     "inmain.rela_code outmain.hand_code outmain.chek_code outmain.oper_code outmain.send_code "
     "outmain.rece_code outmain.rela_code listtemp.empl_code salary.empl_code"},
    // The user entering a row is recorded on it.
    {"powers.user_id", "insifee.gath_code insifee.oper_code bespeak.oper_code inmain.oper_code outmain.oper_code"},
    // A sales line's commission is listed under the customer's code.
    {"company.comp_code", "inmain.comp_code outmain.comp_code goods.prod_code goods.supp_code listtemp.serve_code"},
    {"serveitem.serve_code",
     "insifee.serve_code bespeak.serv_code serveflow.serve_code marcel.serve_code dyehair.serve_code "
     "listtemp.serve_code"},
    {"cardtype.type_note", "insider.card_type"},
    {"goods.gods_code", "ingoods.gods_code outgoods.gods_code outtemp.gods_code storemain.gods_code serveflow.gods_code"},
    {"insider.insi_code", "insifee.insi_code"},
    {"insider.card_no", "insifee.card_no bespeak.card_no"},
    {"baseitem.fee_type", "inmain.fee_type outmain.fee_type"},
    {"baseitem.mone_type", "inmain.mone_type outmain.mone_type"},
    {"baseitem.gods_size", "marcel.mar_type"},
    {"baseitem.prod_place", "marcel.mar_kind"},
    {"baseitem.gods_spec", "marcel.curl_tune"},
    {"baseitem.gods_color",
     "marcel.bef_color marcel.mid_color marcel.ear_color marcel.back_color dyehair.base_color dyehair.end_color"},
    {"baseitem.gods_unit", "marcel.bef_sort marcel.mid_sort marcel.ear_sort marcel.back_sort"},
    {"baseitem.gods_type", "dyehair.dye_kind"},
};

db::Connection* g_limited = nullptr;

} // namespace

int ColumnSize(db::Connection& conn, const QString& table, const QString& column)
{
    static const QRegularExpression sized(QStringLiteral("\\(\\s*(\\d+)\\s*\\)"));
    db::Statement st(conn, QStringLiteral("select %1 from %2 where 1=0").arg(column, table));
    const QRegularExpressionMatch m = sized.match(st.columnDeclType(0));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

int CopiedColumnWidth(db::Connection& conn, const QString& table, const QString& column)
{
    const QString name = table + u'.' + column;
    int width = 0;
    for (const Copied& c : kCopied) {
        if (name.compare(QLatin1String(c.column), Qt::CaseInsensitive) != 0)
            continue;
        for (const QString& copy : QString::fromLatin1(c.copies).split(u' ', Qt::SkipEmptyParts)) {
            const int size = ColumnSize(conn, copy.section(u'.', 0, 0), copy.section(u'.', 1));
            if (size > 0 && (width == 0 || size < width))
                width = size;
        }
    }
    return width;
}

void LimitCopiedColumns(db::Connection& conn)
{
    g_limited = &conn;
    // The widths are the schema's, read once per column while connected.
    auto known = std::make_shared<QHash<QString, int>>();
    ui::setColumnLimits([&conn, known](const QString& table, const QString& column) {
        const QString key = (table + u'.' + column).toLower();
        if (const auto it = known->constFind(key); it != known->cend())
            return *it;
        if (!conn.isOpen())
            return 0;
        int width = 0;
        try {
            width = CopiedColumnWidth(conn, table, column);
        } catch (const std::exception&) {
            // a database lacking a copying table limits nothing there
        }
        known->insert(key, width);
        return width;
    });
}

void StopLimitingCopiedColumns(db::Connection& conn)
{
    if (g_limited != &conn)
        return;
    g_limited = nullptr;
    ui::setColumnLimits({});
}
