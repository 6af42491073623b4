#pragma once

#include "stock/StockDocument.h"

// Returns to a supplier ("退货厂商", bill_type "retu" in outmain, rights
// position 24): goods go out at valu_in, every line whatever its remark;
// the cost price stays.
class TFrmReturnout : public StockDocumentForm {
    Q_OBJECT
public:
    explicit TFrmReturnout(QWidget* owner = nullptr);

    // "..." beside the company code: the company chooser.
    void BitBtn1Click();
};
