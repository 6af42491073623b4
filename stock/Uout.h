#pragma once

#include "stock/StockDocument.h"

// Sales ("销售管理", bill_type "out", rights position 22): goods go out at
// valu_out; the cost price stays. Shows the company's contact phone.
class TFrmOut : public StockDocumentForm {
    Q_OBJECT
public:
    explicit TFrmOut(QWidget* owner = nullptr);

    // "..." beside the company code: the company chooser.
    void Button1Click();
};
