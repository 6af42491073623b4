#include "core/FunctionPositions.h"

#include "platform/ui/Prompt.h"

#include <QDialog>
#include <QMap>
#include <QPointer>
#include <memory>

namespace {

std::vector<FunctionPosition> buildPositions()
{
    struct Row {
        const char* function;
        const char* formClass;
        const char* menuItem;
        const char* menuCaption; // nullptr: the function's caption
    };
    static const Row rows[] = {
        {"员工资料", "TFrmEmployee", "N3", nullptr},
        {"基本设置", "TFrmUser", "N7", nullptr},
        {"服务项目设置", "TFrmServeitem", "N5", nullptr},
        {"服务项目流程", "TFrmServeFlow", "N6", nullptr},
        {"烫发项目设置", "TFrmMarcel", "N8", nullptr},
        {"染发项目设置", "TFrmDyeHair", "N9", nullptr},
        {"会员卡类型", "TFrmCardType", "N4", nullptr},
        {"会员资料", "TFrmInsider", "N10", nullptr},
        {"会员发卡", "TFrmNewCard", "N11", nullptr},
        {"会员补卡", "TFrmAddCard", "N12", nullptr},
        {"会员退卡", "TFrmDeleteCard", "N13", nullptr},
        {"会员存款", "TFrmSaveMoney", "N14", nullptr},
        {"会员取款", "TFrmTakeMoney", "N15", nullptr},
        {"会员修改密码", "TFrmCardPass", "N16", "会员密码修改"},
        {"会员预约时程", "TFrmBespeak", "N17", nullptr},
        {"服务开单", "TFrmServeLog", "N18", nullptr},
        {"货品资料", "TFrmGoods", "N31", nullptr},
        {"公司资料", "TFrmCompany", "N32", nullptr},
        {"库存初始化", "TFrmStorIni", "N53", nullptr},
        {"库存查询", "TFrmStore", "N54", nullptr},
        {"进货管理", "TFrmIn", "N52", nullptr},
        {"出货管理", "TFrmOut", "N33", nullptr},
        {"顾客退货", "TFrmReturnIn", "N34", nullptr},
        {"退货厂商", "TFrmReturnout", "N35", nullptr},
        {"出货统计", "TFrmOutList", "N36", nullptr},
        {"出货排行—按货品", "TFrmOutSortG", "N38", "出货排行-按货品"},
        {"出货排行—按客户", "TFrmOutSortC", "N37", "出货排行-按客户"},
        {"个人业绩明细", "TFrmEmplList", "N39", nullptr},
        {"会员消费明细", "TFrmServeList", "N41", nullptr},
        {"消费排行—按会员", "TFrmServSortI", "N21", "会员消费排行-按会员"},
        {"消费排行—按项目", "TFrmServSortS", "N42", "会员消费排行-按项目"},
        {"其它支出费用", "TFrmOutlay", "N44", nullptr},
        {"其它收入费用", "TFrmIncome", "N20", nullptr},
        {"薪金统计", "TFrmSalary", "N43", nullptr},
        {"利润分析", "TFrmGainList", "N45", nullptr},
        {"权限设置", "TFrmPower", "N57", nullptr},
        {"数据备份", "TFrmBackUp", "N46", nullptr},
        {"数据恢复", "TFrmRestore", "N47", nullptr},
    };
    std::vector<FunctionPosition> out;
    int position = 1;
    for (const Row& r : rows) {
        const QString function = QString::fromUtf8(r.function);
        out.push_back({position++, function, QString::fromLatin1(r.formClass), QString::fromLatin1(r.menuItem),
                       r.menuCaption ? QString::fromUtf8(r.menuCaption) : function});
    }
    return out;
}

QMap<int, FormFactory>& factories()
{
    static QMap<int, FormFactory> map;
    return map;
}

QMap<int, QPointer<QDialog>>& openForms()
{
    static QMap<int, QPointer<QDialog>> map;
    return map;
}

} // namespace

const std::vector<FunctionPosition>& FunctionPositions()
{
    static const std::vector<FunctionPosition> positions = buildPositions();
    return positions;
}

const FunctionPosition& FunctionAt(int position)
{
    return FunctionPositions().at(size_t(position - 1));
}

void RegisterForm(int position, FormFactory factory)
{
    factories()[position] = std::move(factory);
}

bool HasForm(int position)
{
    return factories().contains(position);
}

int OpenFunction(int position, QWidget* owner)
{
    if (!HasForm(position)) {
        ui::inform(owner, QStringLiteral("“%1”功能尚未开放。").arg(FunctionAt(position).function));
        return 0;
    }
    QPointer<QDialog>& open = openForms()[position];
    if (open)
        return 0; // already showing: modal, so this only happens re-entrantly
    std::unique_ptr<QDialog> form(factories()[position](owner));
    open = form.get();
    int result = 0;
    try {
        result = form->exec();
    } catch (...) {
        open = nullptr;
        throw;
    }
    open = nullptr;
    return result;
}
