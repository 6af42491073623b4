#include "stock/rout.h"

#include "core/Udatamod.h"
#include "platform/report/Preview.h"
#include "platform/report/Renderer.h"

#include <algorithm>

namespace {

constexpr double kTolerance = 1e-6;

double bottomOfDetail(const report::Page& page, double none)
{
    double bottom = none;
    for (const report::TextItem& t : page.texts)
        if (t.band == report::BandKind::Detail)
            bottom = std::max(bottom, t.rect.bottom());
    for (const report::FrameItem& f : page.frames)
        if (f.band == report::BandKind::Detail)
            bottom = std::max(bottom, f.rect.bottom());
    return bottom;
}

// Adds the items of from onto page, moved down by dy.
void graft(report::Page& page, const report::Page& from, double dy)
{
    for (report::TextItem t : from.texts) {
        t.rect.translate(0, dy);
        page.texts.push_back(t);
    }
    for (report::LineItem l : from.lines) {
        l.line.translate(0, dy);
        page.lines.push_back(l);
    }
    for (report::FrameItem f : from.frames) {
        f.rect.translate(0, dy);
        page.frames.push_back(f);
    }
}

// The renderer breaks a page only where the paper ends. Whole pages of
// linesPerPage lines come from an empty page footer that takes the room below
// the last of them; the summary, which would not fit above that footer, is
// laid out on its own and put under the last line.
report::PageModel renderWholePages(const report::Report& r, int linesPerPage)
{
    const double top = r.margins().top();
    const double bottom = r.paperSize().height() - r.margins().bottom();
    const double rowsTop = top + r.pageHeader().height() + r.columnHeader().height();
    const double rowsBottom = rowsTop + linesPerPage * r.detail().height();
    if (rowsBottom + r.summary().height() > bottom + kTolerance)
        return report::render(r);

    report::Report pages = r;
    pages.summary() = report::Band();
    pages.pageFooter() = report::Band();
    pages.pageFooter().setHeight(bottom - rowsBottom);
    report::PageModel model = report::render(pages);

    report::Report summaryOnly = r;
    summaryOnly.setDataset(nullptr);
    summaryOnly.title() = report::Band();
    summaryOnly.pageHeader() = report::Band();
    summaryOnly.columnHeader() = report::Band();
    summaryOnly.detail() = report::Band();
    summaryOnly.pageFooter() = report::Band();
    const report::PageModel summary = report::render(summaryOnly);

    report::Page& last = model.pages.back();
    graft(last, summary.pages.front(), bottomOfDetail(last, rowsTop) - top);
    return model;
}

} // namespace

void TQRout::setPaper(const QString& pageType, int widthMm, int lengthMm)
{
    // A size never entered is no paper to print on.
    if (pageType == QStringLiteral("自定义") && widthMm > 0 && lengthMm > 0)
        paper_ = QSizeF(widthMm, lengthMm);
    else if (pageType == QStringLiteral("A4"))
        paper_ = QSizeF(210, 297);
    else
        paper_ = kDefaultPaper;
}

void TQRout::FillPrintLines(const QString& billNo, int linesPerPage)
{
    db::Dataset& temp = FrmDataMod->TempQ;
    db::Dataset& lines = FrmDataMod->OutTempQ;
    try {
        db::Transaction t(FrmDataMod->AdoConn);
        temp.close();
        temp.setSql(QStringLiteral("delete * from outtemp "));
        temp.execute();
        temp.close();
        temp.setSql(QStringLiteral("insert into outtemp  select * from outgoods where bill_no=:bill_no"));
        temp.setParam(QStringLiteral("bill_no"), billNo);
        temp.execute();

        lines.close();
        lines.setSql(QStringLiteral("select * from outtemp "));
        lines.setLockType(db::LockType::Optimistic);
        lines.open();
        if (linesPerPage > 0) {
            const int blanks = linesPerPage - lines.recordCount() % linesPerPage;
            for (int i = 0; i < blanks; ++i) {
                lines.append();
                lines.setValue(QStringLiteral("bill_no"), billNo);
                lines.post();
            }
            lines.refresh();
        }
        t.commit();
    } catch (...) {
        // The rows shown would be those of a rolled-back table.
        lines.close();
        throw;
    }
}

report::Report TQRout::layout(db::Dataset& header, db::Dataset& lines, const PrintedDocumentTexts& texts) const
{
    return PrintedDocumentReport(PrintedDocumentSide::Out, paper_, header, lines, texts);
}

report::PageModel TQRout::render(db::Dataset& header, db::Dataset& lines, const PrintedDocumentTexts& texts,
                                 int linesPerPage) const
{
    const report::Report r = layout(header, lines, texts);
    if (linesPerPage <= 0)
        return report::render(r);
    return renderWholePages(r, linesPerPage);
}

void TQRout::print(db::Dataset& header, const QString& billNo, const PrintedDocumentTexts& texts,
                   const OutPrintSettings& settings, QWidget* parent)
{
    setPaper(settings.pageType, settings.pageWidth, settings.pageLength);
    FillPrintLines(billNo, settings.linesPerPage);
    report::preview(render(header, FrmDataMod->OutTempQ, texts, settings.linesPerPage), parent);
}

TQRout& QRout()
{
    static TQRout layout;
    return layout;
}
