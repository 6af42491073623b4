#pragma once

#include "stock/StockDocument.h"

// Purchases ("进货管理", bill_type "in", rights position 21): goods come in
// at the price of goods column valu_in, and the cost price is re-averaged.
class TFrmIn : public StockDocumentForm {
    Q_OBJECT
public:
    explicit TFrmIn(QWidget* owner = nullptr);

    // "..." beside the company code: the company chooser.
    void BitBtn1Click();
};
