#pragma once

#include "stock/DocumentFinder.h"

// "出货单查询": the sales or the supplier returns (as CurBillType says)
// stored in outmain, listed on FrmDataMod->OutFindQ. The sales and the
// supplier return forms open it from their find button.
class TFrmOutFind : public DocumentFinder {
    Q_OBJECT
public:
    explicit TFrmOutFind(QWidget* owner = nullptr);
};
