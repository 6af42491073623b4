#include "stock/Ureturnout.h"

#include "platform/ui/Prompt.h"

#include <QPushButton>

TFrmReturnout::TFrmReturnout(QWidget* owner)
    : StockDocumentForm(owner, StockDocumentKind::SupplierReturn)
{
    connect(companyButton(), &QPushButton::clicked, this, ui::guarded(this, [this] { BitBtn1Click(); }));
}

void TFrmReturnout::BitBtn1Click()
{
    chooseCompany();
}
