#include "stock/PrintedDocument.h"

#include "platform/db/Dataset.h"
#include "platform/report/Columns.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using report::Align;
using report::Band;
using report::TextStyle;

constexpr double kBodyPoints = 10;
constexpr double kTitlePoints = 14;
constexpr double kRowHeight = 6;
constexpr double kHeadingHeight = 7;
// The column widths are laid out for this content width and scaled to the paper's.
constexpr double kDesignWidth = 190;
// Room a caption character takes at the body size.
constexpr double kCaptionCharWidth = 3.8;
// Room the caption of a total takes left of its column.
constexpr double kTotalCaptionRoom = 4 * kCaptionCharWidth + 2;

const TextStyle kBody{kBodyPoints};
const TextStyle kHeading{kBodyPoints, true, Align::Center, true};

// A caption followed by its value, in a share of a row.
struct Slot {
    QString caption;
    double weight;
    std::function<void(Band&, const QRectF&)> addValue;
};

std::function<void(Band&, const QRectF&)> field(db::Dataset& source, const char* name)
{
    return [&source, name](Band& band, const QRectF& at) {
        band.addField(at, QString::fromLatin1(name), kBody, &source);
    };
}

std::function<void(Band&, const QRectF&)> label(const QString& name, const QString& text = {})
{
    return [name, text](Band& band, const QRectF& at) { band.addLabel(name, at, text, kBody); };
}

// Lays the slots side by side across width, each as wide as its weight asks.
void addRow(Band& band, double top, double width, const std::vector<Slot>& row)
{
    double total = 0;
    for (const Slot& s : row)
        total += s.weight;
    double x = 0;
    for (const Slot& s : row) {
        const double slotWidth = width * s.weight / total;
        const double captionWidth = std::min(s.caption.size() * kCaptionCharWidth + 1, slotWidth / 2);
        band.addLabel({}, QRectF(x, top, captionWidth, kRowHeight), s.caption, kBody);
        s.addValue(band, QRectF(x + captionWidth, top, slotWidth - captionWidth, kRowHeight));
        x += slotWidth;
    }
}

struct Column {
    QString title;
    QString titleName;
    double width;  // at the design width
    Align align;
    std::function<void(Band&, const QRectF&, const TextStyle&)> addCell;
};

std::function<void(Band&, const QRectF&, const TextStyle&)> cell(const char* name)
{
    return [name](Band& band, const QRectF& at, const TextStyle& style) {
        band.addField(at, QString::fromLatin1(name), style);
    };
}

// The subtotal of a line, blank on a row without goods: the blank rows that
// fill a sales document's last page print blank in every column.
std::function<void(Band&, const QRectF&, const TextStyle&)> subtotalOfGoods(db::Dataset& lines)
{
    return [&lines](Band& band, const QRectF& at, const TextStyle& style) {
        band.addComputed(
            at,
            [&lines] {
                if (lines.recNo() < 0 || lines.asString(QStringLiteral("gods_code")).trimmed().isEmpty())
                    return QString();
                return lines.displayText(QStringLiteral("sub_tota"));
            },
            style);
    };
}

// The columns under which the summary puts the two totals.
struct TotalColumns {
    report::ColumnSpan quantity, amount;
};

// Lays the columns out across width; returns where the quantity ("数量")
// and subtotal ("小计") columns print.
TotalColumns addColumns(Band& headings, double top, Band& cells, double width, const std::vector<Column>& columns)
{
    double designWidth = 0;
    for (const Column& c : columns)
        designWidth += c.width;
    const double scale = width / designWidth;
    TotalColumns totals;
    double x = 0;
    for (const Column& c : columns) {
        const double w = c.width * scale;
        headings.addLabel(c.titleName, QRectF(x, top, w, kHeadingHeight), c.title, kHeading);
        c.addCell(cells, QRectF(x, 0, w, kRowHeight), TextStyle{kBodyPoints, false, c.align, true});
        if (c.title == QStringLiteral("数量"))
            totals.quantity = {x, w, c.align};
        else if (c.title == QStringLiteral("小计"))
            totals.amount = {x, w, c.align};
        x += w;
    }
    return totals;
}

// The company's own contact person; the header row names the company only.
QString contactOf(db::Dataset& header)
{
    if (!header.isActive() || header.recNo() < 0)
        return {};
    const QString code = header.asString(QStringLiteral("comp_code"));
    if (code.trimmed().isEmpty())
        return {};
    return db::asString(header.connection().scalar(
        QStringLiteral("select rela_name from company where comp_code=:comp_code"), {{QStringLiteral("comp_code"), code}}));
}

TotalColumns buildPageHeader(report::Report& r, PrintedDocumentSide side, db::Dataset& header, db::Dataset& lines,
                             const PrintedDocumentTexts& texts)
{
    const double width = r.contentWidth();
    Band& band = r.pageHeader();
    band.addLabel(QStringLiteral("Title"), QRectF(0, 0, width, 9), texts.title, {kTitlePoints, true, Align::Center});

    addRow(band, 10, width,
           {{QStringLiteral("凭证号"), 1, field(header, "vouc_no")},
            {QStringLiteral("单流水号"), 1.2, field(header, "bill_no")},
            {QStringLiteral("开单日期"), 1, field(header, "bill_date")},
            {QStringLiteral("币种"), 0.8, field(header, "mone_type")}});
    if (side == PrintedDocumentSide::In)
        addRow(band, 16, width,
               {{QStringLiteral("客户名称"), 1, field(header, "comp_code")},
                {QStringLiteral("客户名称"), 2.2, field(header, "comp_name")},
                {QStringLiteral("结算方式"), 0.8, field(header, "fee_type")}});
    else
        addRow(band, 16, width,
               {{QStringLiteral("公司名称"), 1.6, field(header, "comp_name")},
                {QStringLiteral("联系人"), 0.8, label(QStringLiteral("Contact"), contactOf(header))},
                {QStringLiteral("电话"), 0.8, field(header, "rela_phon")},
                {QStringLiteral("结算方式"), 0.8, field(header, "fee_type")}});

    const bool issuing = side == PrintedDocumentSide::Out;
    return addColumns(band, 23, r.detail(), width,
                      {{texts.goodsTitles[0], QStringLiteral("TitleCode"), 24, Align::Left, cell("gods_code")},
                       {texts.goodsTitles[1], QStringLiteral("TitleName"), 36, Align::Left, cell("gods_name")},
                       {texts.goodsTitles[2], QStringLiteral("TitleSpec"), 18, Align::Left, cell("gods_spec")},
                       {texts.goodsTitles[3], QStringLiteral("TitleType"), 18, Align::Left, cell("gods_type")},
                       {QStringLiteral("单位"), {}, 12, Align::Left, cell("gods_unit")},
                       {QStringLiteral("单价"), {}, 18, Align::Right, cell("unit_pric")},
                       {QStringLiteral("数量"), {}, 16, Align::Right, cell("sub_amou")},
                       {QStringLiteral("小计"), {}, 20, Align::Right,
                        issuing ? subtotalOfGoods(lines) : cell("sub_tota")},
                       {QStringLiteral("备注"), {}, 28, Align::Left, cell("remark")}});
}

// Each total stands under its column, with its caption just left of it;
// the two columns are neighbours, so the totals take a line each, beside
// the amount in capitals and beside the remark and the amount paid.
void buildSummary(report::Report& r, PrintedDocumentSide side, db::Dataset& header, const PrintedDocumentTexts& texts,
                  const TotalColumns& totals)
{
    const double width = r.contentWidth();
    Band& band = r.summary();
    // What stands left of a total keeps clear of its caption.
    const double leftOfTotals = totals.quantity.left - kTotalCaptionRoom;
    addRow(band, 1, leftOfTotals,
           {{QStringLiteral("合计金额大写"), 1, label(QStringLiteral("Capitals"), texts.capitals)}});
    report::addTotalUnder(band, 1, totals.quantity, QStringLiteral("合计数量"), QStringLiteral("TotalQuantity"), kBody,
                          kRowHeight)
        .text = texts.quantity;
    addRow(band, 7, leftOfTotals,
           {{QStringLiteral("备注"), 2, field(header, "remark")},
            {side == PrintedDocumentSide::In ? QStringLiteral("付款金额") : QStringLiteral("收款金额"), 1,
             field(header, "fact_tota")}});
    report::addTotalUnder(band, 7, totals.amount, QStringLiteral("合计金额"), QStringLiteral("TotalAmount"), kBody,
                          kRowHeight)
        .text = texts.amount;
    addRow(band, 13, width,
           {{QStringLiteral("制单"), 1, field(header, "oper_name")},
            {QStringLiteral("经手"), 1, field(header, "hand_name")},
            {QStringLiteral("复核"), 1, field(header, "chek_name")},
            {QStringLiteral("业务"), 1, field(header, "rela_name")},
            {QStringLiteral("发货"), 1, field(header, "send_name")},
            {QStringLiteral("收货"), 1, field(header, "rece_name")}});
    band.addLabel(QStringLiteral("Footer"), QRectF(0, 19, width, kRowHeight), texts.footer, kBody);
    band.setHeight(19 + kRowHeight);
}

} // namespace

report::Report PrintedDocumentReport(PrintedDocumentSide side, const QSizeF& paperMm, db::Dataset& header,
                                     db::Dataset& lines, const PrintedDocumentTexts& texts)
{
    report::Report r;
    r.setCustomPaper(paperMm.width(), paperMm.height());
    r.setMargins(QMarginsF(10, 10, 10, 10));
    r.setDataset(&lines);
    r.setDocumentName(texts.title);
    const TotalColumns totals = buildPageHeader(r, side, header, lines, texts);
    r.detail().setHeight(kRowHeight);
    buildSummary(r, side, header, texts, totals);
    return r;
}
