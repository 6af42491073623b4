#include "stock/DocumentPrint.h"

#include "core/Upublic.h"
#include "platform/ui/DbLineEdit.h"
#include "stock/StockDocument.h"
#include "stock/rin.h"
#include "stock/rout.h"

#include <QLineEdit>

namespace {

QString documentWord(StockDocumentKind kind)
{
    switch (kind) {
    case StockDocumentKind::Purchase: return QStringLiteral("进货单");
    case StockDocumentKind::CustomerReturn: return QStringLiteral("顾客退货单");
    case StockDocumentKind::Sale: return QStringLiteral("销售单");
    case StockDocumentKind::SupplierReturn: return QStringLiteral("退货厂商单");
    }
    return {};
}

} // namespace

void PrintStockDocument(StockDocumentForm& form)
{
    const StockDocumentDef& def = form.definition();
    PrintedDocumentTexts texts;
    texts.title = BillCompanyName + documentWord(def.kind);
    texts.footer = BillFooter;
    texts.capitals = form.capitalsBox()->text();
    texts.quantity = form.totalQuantityBox()->text();
    texts.amount = form.totalAmountBox()->text();
    texts.goodsTitles = {GoodsCodeCaption, GoodsNameCaption, GoodsSpecCaption, GoodsTypeCaption};
    try {
        if (def.inSide)
            QRin().print(form.header(), form.lines(), texts, &form);
        else
            QRout().print(form.header(), form.billNoBox()->text(), texts,
                          {PageType, PageWidth, PageLength, LinesPerPage}, &form);
    } catch (const std::exception&) {
        // no preview
    }
}
