#include "members/Uservefind.h"

#include "core/Udatamod.h"
#include "platform/ui/DbGrid.h"

TFrmServeFind::TFrmServeFind(QWidget* owner)
    : CodeNameChooser(owner, QStringLiteral("FrmServeFind"), QStringLiteral("服务项目查询"), FrmDataMod->ServeFindQ,
                      {QStringLiteral("serveitem"), QStringLiteral("serve_code"), QStringLiteral("serve_name"),
                       QStringLiteral("服务项目编码"), QStringLiteral("项目名称")})
{
    grid()->setColumns({{QStringLiteral("serve_code"), QStringLiteral("项目编码"), 90},
                        {QStringLiteral("serve_name"), QStringLiteral("项目名称"), 160},
                        {QStringLiteral("serve_type"), QStringLiteral("类别"), 90},
                        {QStringLiteral("gage_time"), QStringLiteral("用时"), 60}});

    runFormCreate([this] { FormCreate(); });
    resize(560, 420);
}

void TFrmServeFind::cmd_prinClick()
{
    choose();
}

void TFrmServeFind::cmd_exitClick()
{
    reject();
}

void TFrmServeFind::Edit1Change()
{
    locateCode();
}

void TFrmServeFind::ComboBox1Change()
{
    locateName();
}
