#include "analysis/ServiceRanking.h"

#include "analysis/DateRangeGroup.h"
#include "analysis/ListTotals.h"
#include "analysis/RankingReport.h"
#include "platform/report/Preview.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/Hourglass.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

ServiceRankingForm::ServiceRankingForm(QWidget* owner, Design design)
    : RecordForm(owner, design.objectName, design.caption, design.position), design_(std::move(design))
{
    addButton(QStringLiteral("cmd_find"), QStringLiteral("查询[&F]"), [this] { cmd_findClick(); });
    addButton(QStringLiteral("cmd_prin"), QStringLiteral("打印[&P]"), [this] { cmd_prinClick(); });
    addButton(QStringLiteral("cmd_exit"), QStringLiteral("退出[&X]"), [this] { cmd_exitClick(); });
    toolbar()->addStretch(1);
    controls().gateFind = true;
    controls().gatePrint = true;

    const DateRangeGroup range(this, QStringLiteral("起始日期"), QStringLiteral("截止日期"));
    from_ = range.from;
    to_ = range.to;
    range.row->addStretch(1);
    body()->addWidget(range.group);

    grid_ = ui::DbGrid::rowList(this, design_.query, design_.columns);
    body()->addWidget(grid_, 1);

    auto* totalRow = new QHBoxLayout;
    total_ = new QLineEdit(this);
    total_->setObjectName(QStringLiteral("Edit1"));
    total_->setReadOnly(true);
    totalRow->addStretch(1);
    totalRow->addWidget(new QLabel(QStringLiteral("合计金额"), this));
    totalRow->addWidget(total_);
    body()->addLayout(totalRow);

    resize(820, 560);
    runFormCreate([this] { FormCreate(); });
}

void ServiceRankingForm::FormCreate()
{
    from_->setToday();
    to_->setToday();
    RunRanking();
}

void ServiceRankingForm::cmd_findClick()
{
    RunRanking();
}

void ServiceRankingForm::RunRanking()
{
    ui::Hourglass wait;
    db::Dataset& q = *design_.query;
    const db::ControlsDisabled quiet(q);
    try {
        q.close();
        const QString group = design_.groupColumn;
        // Equal sums come in group order, so a ranking reads the same every time.
        q.setSql({QStringLiteral("select  ") + group + QStringLiteral(",sum(should_gath) as serve_fee from insifee "),
                  QStringLiteral("where bill_date between :date1 and :date2   and gath_type='servefee' "),
                  QStringLiteral("group by ") + group + QStringLiteral(" order by 2 desc, 1")});
        const QDate from = from_->value();
        const QDate to = to_->value();
        q.setParam(QStringLiteral("date1"), from);
        q.setParam(QStringLiteral("date2"), to);
        q.setLockType(db::LockType::Optimistic);
        q.open();
        rankedFrom_ = from;
        rankedTo_ = to;
        SumListTotals();
    } catch (const std::exception&) {
        // the list and the total stay as the failure left them
    }
}

void ServiceRankingForm::SumListTotals()
{
    total_->setText(db::formatAmount(SumColumn(*design_.query, QStringLiteral("serve_fee"))));
}

void ServiceRankingForm::cmd_prinClick()
{
    const std::optional<double> total = db::parseAmount(total_->text());
    if (!total || *total <= 0)
        return;
    std::unique_ptr<RankingReport> report = makeReport(*design_.query);
    // Not the date boxes: they may have been changed since the ranking ran.
    report->fillHeader(rankedFrom_, rankedTo_, total_->text());
    report::preview(*report, this);
}
