#pragma once

#include "stock/StockDocument.h"

// Customer returns ("顾客退货单", bill_type "retu" in inmain, rights position 23):
// goods come back at valu_out and the cost is re-averaged, except lines
// remarked "不入库", which are kept with the document and move no stock.
class TFrmReturnIn : public StockDocumentForm {
    Q_OBJECT
public:
    explicit TFrmReturnIn(QWidget* owner = nullptr);

    // "..." beside the company code: the company chooser.
    void BitBtn1Click();
};
