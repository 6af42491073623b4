#pragma once

#include "platform/report/PageModel.h"
#include "stock/PrintedDocument.h"

class QWidget;

// The print settings the sales-side document follows (see LinesPerPage and
// PageType in core/Upublic.h).
struct OutPrintSettings {
    QString pageType;      // "自定义", "A4", or anything else: TQRout::kDefaultPaper
    int pageWidth = 0;     // mm, custom paper
    int pageLength = 0;    // mm, custom paper
    int linesPerPage = 0;  // lines per printed page; 0: no blank rows
};

// The printed sales and supplier return document, with the bands of
// PrintedDocumentReport on the issuing side. Its lines are the document's
// lines stored in outgoods, copied into the scratch table outtemp and read
// through FrmDataMod->OutTempQ, filled up with blank rows to whole pages.
class TQRout {
public:
    // The document's own paper, whenever the settings name no other.
    static constexpr QSizeF kDefaultPaper{218, 140};

    // The paper of the last print (kDefaultPaper before any).
    QSizeF paperSize() const { return paper_; }
    // "自定义": custom paper of widthMm x lengthMm (when both are above 0);
    // "A4": A4 portrait; any other type, or a custom paper without a size:
    // kDefaultPaper. An earlier print's paper never carries over.
    void setPaper(const QString& pageType, int widthMm, int lengthMm);

    // outtemp := the lines of bill billNo in outgoods, then, when linesPerPage
    // is above 0, linesPerPage - (lines mod linesPerPage) blank rows carrying
    // only the bill number (a whole page of them when the lines already fill
    // whole pages); OutTempQ reopened on outtemp in table order. All of it or
    // nothing: on an error outtemp is as it was and OutTempQ is closed.
    static void FillPrintLines(const QString& billNo, int linesPerPage);

    report::Report layout(db::Dataset& header, db::Dataset& lines, const PrintedDocumentTexts& texts) const;
    // The pages. With linesPerPage above 0 every page holds that many lines
    // and the summary follows the last line, as long as the paper has room
    // for them; otherwise the pages break where the paper ends.
    report::PageModel render(db::Dataset& header, db::Dataset& lines, const PrintedDocumentTexts& texts,
                             int linesPerPage) const;

    // Sets the paper, fills outtemp with the lines of billNo and shows the
    // document in the preview, from which the user prints.
    void print(db::Dataset& header, const QString& billNo, const PrintedDocumentTexts& texts,
               const OutPrintSettings& settings, QWidget* parent);

private:
    QSizeF paper_ = kDefaultPaper;
};

// The layout kept for the whole run (a new run, or a test: QRout() = TQRout()).
TQRout& QRout();
