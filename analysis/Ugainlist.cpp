#include "analysis/Ugainlist.h"

#include "analysis/DateRangeGroup.h"
#include "analysis/ListTotals.h"
#include "core/Udatamod.h"
#include "core/InsiFeeLedger.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/Hourglass.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kRange = QStringLiteral(" where bill_date between :date1 and :date2 ");

// Lines in the order they are shown; run in the order of kRunOrder.
constexpr std::array<int, 5> kRunOrder{0, 3, 1, 2, 4};
const char* const kSigns[] = {"+", "+", "-", "-", "="};

} // namespace

TFrmGainList::TFrmGainList(QWidget* owner)
    : RecordForm(owner, QStringLiteral("FrmGainList"), QStringLiteral("利润分析"), kPosition)
{
    addButton(QStringLiteral("cmd_add"), QStringLiteral("查询&F"), [this] { cmd_addClick(); });
    addButton(QStringLiteral("cmd_exit"), QStringLiteral("退出&X"), [this] { cmd_exitClick(); });
    toolbar()->addStretch(1);
    // Running follows no right: the rule must leave the button alone.
    controls().cmd_add = nullptr;

    TFrmDataMod& dm = *FrmDataMod;
    lines_ = {{
        {"货品销售收入", &dm.GainOutQ,
         {QStringLiteral("select bill_no,bill_date,shou_tota from outmain"), kRange}, QStringLiteral("shou_tota")},
        {"服务项目收入", &dm.GainServeQ,
         {QStringLiteral("select bill_no,bill_date,should_gath,gath_type from insifee"),
          kRange + QStringLiteral("and gath_type='servefee' ")},
         QStringLiteral("should_gath")},
        {"其他收入", &dm.GainEInQ,
         {QStringLiteral("select bill_no,bill_date,serv_fee,gath_type from insifee "),
          kRange + QStringLiteral("and gath_type='income' ")},
         QStringLiteral("serv_fee")},
        {"采购货品支出", &dm.GainInQ,
         {QStringLiteral("select bill_no,bill_date,shou_tota from inmain"), kRange}, QStringLiteral("shou_tota")},
        {"其他支出", &dm.GainEOutQ,
         {QStringLiteral("select bill_no,bill_date,serv_fee,gath_type from insifee "),
          kRange + QStringLiteral("and gath_type='outlay' ")},
         QStringLiteral("serv_fee")},
    }};

    const DateRangeGroup range(this, QStringLiteral("日期"), QStringLiteral("-"));
    from_ = range.from;
    to_ = range.to;
    range.row->addStretch(1);
    body()->addWidget(range.group);

    // Each line's grid over its box, three lines to a band, the signs
    // between the boxes and the profit after the last one:
    //      [1] + [2] + [3]
    //    - [4] - [5] = 利润结果
    // Slot k of the 6 (5 lines and the profit) stands in band k / 3, with
    // its sign in the column before it.
    constexpr int kPerBand = 3;
    auto column = [](int slot) { return 2 * (slot % kPerBand) + 1; };
    auto groupRow = [](int slot) { return 2 * (slot / kPerBand); };
    auto* table = new QGridLayout;
    for (int i = 0; i < int(lines_.size()); ++i) {
        Line& line = lines_[size_t(i)];
        auto* group = new QGroupBox(QString::fromUtf8(line.caption), this);
        auto* inGroup = new QVBoxLayout(group);
        line.grid = ui::DbGrid::rowList(group, line.query,
                                        {{QStringLiteral("bill_no"), QStringLiteral("单号"), 112},
                                         {line.amountColumn, QStringLiteral("金额"), 72}},
                                        QStringLiteral("DBGrid%1").arg(i + 1));
        inGroup->addWidget(line.grid);
        table->addWidget(group, groupRow(i), column(i));
        line.box = new QLineEdit(this);
        line.box->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        line.box->setReadOnly(true);
        table->addWidget(line.box, groupRow(i) + 1, column(i));
        const int next = i + 1;
        table->addWidget(new QLabel(QString::fromLatin1(kSigns[i]), this), groupRow(next) + 1, column(next) - 1,
                         Qt::AlignCenter);
    }
    const int profitSlot = int(lines_.size());
    table->addWidget(new QLabel(QStringLiteral("利润结果"), this), groupRow(profitSlot), column(profitSlot),
                     Qt::AlignLeft | Qt::AlignBottom);
    profit_ = new QLineEdit(this);
    profit_->setObjectName(QStringLiteral("Edit6"));
    profit_->setReadOnly(true);
    table->addWidget(profit_, groupRow(profitSlot) + 1, column(profitSlot));
    for (int band = 0; band < 2; ++band)
        table->setRowStretch(2 * band, 1);
    body()->addLayout(table, 1);

    resize(760, 660);
    runFormCreate([this] { FormCreate(); });
}

TFrmGainList::~TFrmGainList()
{
    FormDestroy();
}

void TFrmGainList::FormCreate()
{
    from_->setToday();
    to_->setToday();
    OpenEmptyInsiFeeList();
}

void TFrmGainList::FormDestroy()
{
    CloseInsiFeeList();
}

void TFrmGainList::cmd_addClick()
{
    ui::Hourglass wait;
    bool allRan = true;
    for (int i : kRunOrder)
        allRan = runLine(lines_[size_t(i)]) && allRan;
    // A profit beside a missing figure, or from another range's figure, would be wrong.
    if (allRan)
        showProfit();
    else
        profit_->clear();
}

bool TFrmGainList::runLine(Line& line)
{
    db::Dataset& q = *line.query;
    const db::ControlsDisabled quiet(q);
    bool ran = true;
    try {
        q.close();
        q.setSql(line.sql);
        q.setParam(QStringLiteral("date1"), from_->value());
        q.setParam(QStringLiteral("date2"), to_->value());
        q.setLockType(db::LockType::Optimistic);
        q.open();
        line.box->setText(db::formatAmount(SumColumn(q, line.amountColumn)));
    } catch (const std::exception&) {
        line.box->clear();
        ran = false;
    }
    return ran;
}

void TFrmGainList::showProfit()
{
    // From the rounded figures shown, in the order the signs stand.
    double profit = 0;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const std::optional<double> figure = db::parseAmount(lines_[i].box->text());
        if (!figure) {
            profit_->clear();
            return;
        }
        profit = i < 3 ? profit + *figure : profit - *figure;
    }
    profit_->setText(db::formatAmount(profit));
}
