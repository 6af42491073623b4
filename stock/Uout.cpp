#include "stock/Uout.h"

#include "platform/ui/Prompt.h"

#include <QPushButton>

TFrmOut::TFrmOut(QWidget* owner)
    : StockDocumentForm(owner, StockDocumentKind::Sale)
{
    connect(companyButton(), &QPushButton::clicked, this, ui::guarded(this, [this] { Button1Click(); }));
}

void TFrmOut::Button1Click()
{
    chooseCompany();
}
