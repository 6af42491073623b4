#include "stock/Uin.h"

#include "platform/ui/Prompt.h"

#include <QPushButton>

TFrmIn::TFrmIn(QWidget* owner)
    : StockDocumentForm(owner, StockDocumentKind::Purchase)
{
    connect(companyButton(), &QPushButton::clicked, this, ui::guarded(this, [this] { BitBtn1Click(); }));
}

void TFrmIn::BitBtn1Click()
{
    chooseCompany();
}
