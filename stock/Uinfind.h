#pragma once

#include "stock/DocumentFinder.h"

// "单据查询": the purchases or the customer returns (as CurBillType says)
// stored in inmain, listed on FrmDataMod->InFindQ. The purchase and the
// customer return forms open it from their find button.
class TFrmInFind : public DocumentFinder {
    Q_OBJECT
public:
    explicit TFrmInFind(QWidget* owner = nullptr);
};
