#include "stock/OutStatForm.h"

#include "platform/db/Dataset.h"
#include "platform/db/Value.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/Hourglass.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>

namespace outstat {

void addKindCondition(QStringList& sql, OutKind kind, const QString& lead)
{
    switch (kind) {
    case OutKind::Sales:
        sql << lead + QStringLiteral("and bill_type='Out' ");
        break;
    case OutKind::SupplierReturn:
        sql << lead + QStringLiteral("and bill_type='retu' ");
        break;
    case OutKind::All:
        break;
    }
}

ChoiceGroup::ChoiceGroup(const QString& title, const QStringList& choices, QWidget* parent)
    : QGroupBox(title, parent)
{
    auto* row = new QHBoxLayout(this);
    for (const QString& text : choices) {
        auto* b = new QRadioButton(text, this);
        row->addWidget(b);
        buttons_.push_back(b);
    }
    row->addStretch(1);
    // Buttons sharing one parent exclude each other.
    choose(0);
}

int ChoiceGroup::chosen() const
{
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->isChecked())
            return int(i);
    return -1;
}

void ChoiceGroup::choose(int index)
{
    buttons_.at(size_t(index))->setChecked(true);
}

bool hasQuantityToPrint(const QLineEdit* totalQuantityBox)
{
    // Before the first search the box is empty: nothing to print, as after
    // a search that found nothing.
    const auto quantity = db::parseAmount(totalQuantityBox->text());
    return quantity && *quantity > 0;
}

QLineEdit* makeTotalBox(const QString& objectName, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
}

} // namespace outstat

OutStatForm::OutStatForm(QWidget* owner, const QString& objectName, const QString& caption, int position,
                         db::Dataset& found)
    : RecordForm(owner, objectName, caption, position), found_(found)
{
    addStandardButtons({"cmd_find", "cmd_prin", "cmd_exit"}, {"查询[&F]", "打印[&P]", "退出[&X]"});
    controls().gateFind = true;
    controls().gatePrint = true;
    setClosableAnyTime(true);
}

QGroupBox* OutStatForm::makeDateRange(const QString& fromLabel, const QString& toLabel)
{
    auto* dates = new QGroupBox(QStringLiteral("日期范围"), this);
    auto* dateRows = new QFormLayout(dates);
    DateTimePicker1 = new ui::DbDatePicker(dates);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker2 = new ui::DbDatePicker(dates);
    DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
    dateRows->addRow(fromLabel, DateTimePicker1);
    dateRows->addRow(toLabel, DateTimePicker2);
    return dates;
}

void OutStatForm::makeTotalBoxes(QWidget* parent)
{
    Edit1 = outstat::makeTotalBox(QStringLiteral("Edit1"), parent);
    Edit2 = outstat::makeTotalBox(QStringLiteral("Edit2"), parent);
}

void OutStatForm::addResultGrid(std::vector<ui::GridColumn> columns)
{
    DBGrid1 = ui::DbGrid::rowList(this, &found_, std::move(columns));
    body()->addWidget(DBGrid1, 1);
}

void OutStatForm::showTotals(double quantity, double amount)
{
    Edit1->setText(db::formatAmount(quantity));
    Edit2->setText(db::formatAmount(amount));
}

void OutStatForm::search(const QStringList& sql, const QVariantMap& more)
{
    ui::Hourglass wait;
    db::ControlsDisabled suspended(found_);
    found_.close();
    found_.setSql(sql);
    found_.setParam(QStringLiteral("date1"), DateTimePicker1->value());
    found_.setParam(QStringLiteral("date2"), DateTimePicker2->value());
    for (auto it = more.cbegin(); it != more.cend(); ++it)
        found_.setParam(it.key(), it.value());
    found_.open();
    SumListTotals();
    if (!found_.isEmpty())
        found_.first();
}
