#include "stock/Ugodsfind.h"

#include "core/Udatamod.h"
#include "platform/ui/DbGrid.h"

TFrmGoodsFind::TFrmGoodsFind(QWidget* owner)
    : CodeNameChooser(owner, QStringLiteral("FrmGoodsFind"), QStringLiteral("商品查询"), FrmDataMod->GoodsFindQ,
                      {QStringLiteral("goods"), QStringLiteral("gods_code"), QStringLiteral("gods_name"),
                       QStringLiteral("产品编码"), QStringLiteral("产品名称")})
{
    grid()->setColumns({{QStringLiteral("gods_code"), QStringLiteral("商品编码"), 90},
                        {QStringLiteral("gods_name"), QStringLiteral("商品名称"), 160},
                        {QStringLiteral("gods_spec"), QStringLiteral("规格"), 70},
                        {QStringLiteral("gods_type"), QStringLiteral("类型"), 70},
                        {QStringLiteral("gods_kind"), QStringLiteral("种类"), 70},
                        {QStringLiteral("gods_unit"), QStringLiteral("单位"), 50}});

    runFormCreate([this] { FormCreate(); });
    resize(640, 440);
}

void TFrmGoodsFind::cmd_prinClick()
{
    choose();
}

void TFrmGoodsFind::cmd_exitClick()
{
    reject();
}

void TFrmGoodsFind::Edit1Change()
{
    locateCode();
}

void TFrmGoodsFind::ComboBox1Change()
{
    locateName();
}
