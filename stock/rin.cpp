#include "stock/rin.h"

#include "platform/report/Preview.h"

report::Report TQRin::layout(db::Dataset& header, db::Dataset& lines, const PrintedDocumentTexts& texts) const
{
    return PrintedDocumentReport(PrintedDocumentSide::In, QSizeF(210, 297), header, lines, texts);
}

void TQRin::print(db::Dataset& header, db::Dataset& lines, const PrintedDocumentTexts& texts, QWidget* parent) const
{
    report::preview(layout(header, lines, texts), parent);
}

TQRin& QRin()
{
    static TQRin layout;
    return layout;
}
