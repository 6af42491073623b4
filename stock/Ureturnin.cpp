#include "stock/Ureturnin.h"

#include "platform/ui/Prompt.h"

#include <QPushButton>

TFrmReturnIn::TFrmReturnIn(QWidget* owner)
    : StockDocumentForm(owner, StockDocumentKind::CustomerReturn)
{
    connect(companyButton(), &QPushButton::clicked, this, ui::guarded(this, [this] { BitBtn1Click(); }));
}

void TFrmReturnIn::BitBtn1Click()
{
    chooseCompany();
}
