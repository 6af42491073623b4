#include "core/InsiFeeLedger.h"

#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbGrid.h"

#include <QLineEdit>

ui::DbGrid* NewInsiFeeGrid(QWidget* parent, const std::vector<ui::GridColumn>& columns)
{
    return ui::DbGrid::rowList(parent, &FrmDataMod->InsiFeeQ, columns);
}

ui::DbGrid* NewServiceBillGrid(QWidget* parent)
{
    return NewInsiFeeGrid(parent, {{QStringLiteral("bill_no"), QStringLiteral("服务单号"), 130},
                                   {QStringLiteral("bill_date"), QStringLiteral("开单日期"), 90},
                                   {QStringLiteral("card_no"), QStringLiteral("会员卡号"), 90},
                                   {QStringLiteral("insi_name"), QStringLiteral("姓名"), 70},
                                   {QStringLiteral("serve_code"), QStringLiteral("服务项目"), 70},
                                   {QStringLiteral("serve_name"), QStringLiteral("名称"), 140},
                                   {QStringLiteral("serve_type"), QStringLiteral("类型"), 70},
                                   {QStringLiteral("oper_code"), QStringLiteral("开单人"), 70},
                                   {QStringLiteral("should_gath"), QStringLiteral("应收款"), 70},
                                   {QStringLiteral("serv_fee"), QStringLiteral("已收款"), 70}});
}

void StampInsiFeeEntry(ui::DataSource& source, const QLineEdit& noteBox, const QString& defaultNote,
                       const QString& type, const QDate& day)
{
    db::Dataset& q = *source.dataset();
    // Typed values first, so that what is set below is not overwritten by the post.
    source.flush();
    const QString note = noteBox.text().trimmed();
    q.setValue(QStringLiteral("gath_note"), note.isEmpty() ? defaultNote : note);
    q.setValue(QStringLiteral("gath_type"), type);
    q.setValue(QStringLiteral("bill_date"), QDateTime(day, QTime(0, 0)));
    q.setValue(QStringLiteral("oper_code"), CurrentUser);
}

void OpenEmptyInsiFeeList()
{
    db::Dataset& q = FrmDataMod->InsiFeeQ;
    q.close();
    q.setSql(QStringLiteral("select * from insifee where bill_no='***' "));
    q.setLockType(db::LockType::Optimistic);
    q.open();
}

void CloseInsiFeeList()
{
    try {
        FrmDataMod->InsiFeeQ.close();
    } catch (const std::exception&) {
    }
}
