#include "analysis/OtherMoneyForm.h"

#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "core/InsiFeeLedger.h"
#include "platform/ui/BoxWidth.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EntryRefusal.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>
#include <optional>

namespace {

db::Dataset& insiFeeQ()
{
    return FrmDataMod->InsiFeeQ;
}

QString entriesOf(const QString& listType)
{
    return QStringLiteral("select * from insifee where gath_type='%1' ").arg(listType);
}

} // namespace

OtherMoneyForm::OtherMoneyForm(QWidget* owner, Kind kind)
    : RecordForm(owner, kind.objectName, kind.caption, kind.position), kind_(std::move(kind))
{
    addStandardButtons({"cmd_add", "cmd_edit", "cmd_dele", "cmd_save", "cmd_canc", "cmd_exit"},
                       {"新增&A", "修改&E", "删除&D", "保存&S", "取消&C", "退出&X"});
    controls().gateFind = true;

    source_ = new ui::DataSource(&insiFeeQ(), this);
    buildGrid();
    auto* lower = new QHBoxLayout;
    body()->addLayout(lower);
    buildEntryPanel(lower);
    buildFindPanel(lower);

    setRecord(&insiFeeQ(), billNoBox_, QStringLiteral("bill_no"));
    setFirstEditBox(amountBox_);

    db::Dataset& q = insiFeeQ();
    keep(q.onAfterScroll([this](db::Dataset&) { InsiFeeQAfterScroll(); }));
    keep(q.onDataChange([this](db::Dataset&, db::DataChange kind, const QString&) {
        if (kind == db::DataChange::Record)
            InsiFeeQAfterScroll();
    }));

    resize(760, 560);
    runFormCreate([this] { FormCreate(); });
}

OtherMoneyForm::~OtherMoneyForm()
{
    FormDestroy();
}

void OtherMoneyForm::buildGrid()
{
    grid_ = NewInsiFeeGrid(this, {{QStringLiteral("bill_no"), QStringLiteral("收入单号"), 130},
                                  {QStringLiteral("bill_date"), QStringLiteral("开单日期"), 90},
                                  {QStringLiteral("oper_code"), QStringLiteral("开单人"), 80},
                                  {QStringLiteral("serv_fee"), QStringLiteral("收入金额"), 80},
                                  {QStringLiteral("gath_note"), QStringLiteral("摘要"), 200}});
    body()->addWidget(grid_, 1);
    controls().grid = grid_;
}

void OtherMoneyForm::buildEntryPanel(QBoxLayout* into)
{
    auto* panel = new QGroupBox(QStringLiteral("服务项目"), this);
    panel->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(panel);
    billNoBox_ = new ui::DbLineEdit(source_, QStringLiteral("bill_no"), panel);
    billNoBox_->setObjectName(QStringLiteral("DBEdit1"));
    ui::keepWideEnoughFor(billNoBox_, NewBillNo());
    entryDate_ = new ui::DbDatePicker(panel);
    entryDate_->setObjectName(QStringLiteral("DateTimePicker1"));
    amountBox_ = new ui::DbLineEdit(source_, QStringLiteral("serv_fee"), panel);
    amountBox_->setObjectName(QStringLiteral("DBEdit2"));
    amountBox_->setCheckedOnSave(true);
    noteBox_ = new ui::DbLineEdit(source_, QStringLiteral("gath_note"), panel);
    noteBox_->setObjectName(QStringLiteral("DBEdit3"));
    auto label = [](const QString& text, QWidget* box) { return ui::labelFor(box, text); };
    grid->addWidget(label(QStringLiteral("收入单号"), billNoBox_), 0, 0);
    grid->addWidget(billNoBox_, 0, 1);
    grid->addWidget(label(QStringLiteral("开单日期"), entryDate_), 0, 2);
    grid->addWidget(entryDate_, 0, 3);
    grid->addWidget(label(QStringLiteral("收入金额"), amountBox_), 1, 0);
    grid->addWidget(amountBox_, 1, 1);
    grid->addWidget(label(QStringLiteral("摘要"), noteBox_), 2, 0);
    grid->addWidget(noteBox_, 2, 1, 1, 3);
    into->addWidget(panel, 3);
    controls().dataGroups = {panel};
}

void OtherMoneyForm::buildFindPanel(QBoxLayout* into)
{
    auto* group = new QGroupBox(QStringLiteral("快速查找"), this);
    group->setObjectName(QStringLiteral("GroupBox2"));
    auto* rows = new QVBoxLayout(group);

    auto* findRow = new QHBoxLayout;
    findBox_ = new QLineEdit(group);
    findBox_->setObjectName(QStringLiteral("Edit2"));
    auto* find = new QPushButton(QStringLiteral("查找"), group);
    find->setObjectName(QStringLiteral("cmd_find"));
    find->setAutoDefault(false);
    findRow->addWidget(new QLabel(QStringLiteral("收入单号"), group));
    findRow->addWidget(findBox_, 1);
    findRow->addWidget(find);
    rows->addLayout(findRow);

    auto* dateRow = new QHBoxLayout;
    findDate_ = new ui::DbDatePicker(group);
    findDate_->setObjectName(QStringLiteral("DateTimePicker2"));
    wholeMonth_ = new QRadioButton(QStringLiteral("当月全部"), group);
    wholeMonth_->setObjectName(QStringLiteral("RadioButton1"));
    wholeDay_ = new QRadioButton(QStringLiteral("当日全部"), group);
    wholeDay_->setObjectName(QStringLiteral("RadioButton2"));
    dateRow->addWidget(new QLabel(QStringLiteral("开单日期"), group));
    dateRow->addWidget(findDate_, 1);
    dateRow->addWidget(wholeMonth_);
    dateRow->addWidget(wholeDay_);
    rows->addLayout(dateRow);
    into->addWidget(group, 2, Qt::AlignTop);

    controls().findGroup = group;
    controls().cmd_find = find;
    connect(find, &QPushButton::clicked, this, ui::guarded(this, [this] { cmd_findClick(); }));
    connect(findBox_, &QLineEdit::returnPressed, this, ui::guarded(this, [this] { Edit2KeyPress(); }));
    connect(findBox_, &QLineEdit::textChanged, this, ui::guarded(this, [this] { Edit2Change(); }));
    connect(wholeMonth_, &QRadioButton::clicked, this, ui::guarded(this, [this] { RadioButton1Click(); }));
    connect(wholeDay_, &QRadioButton::clicked, this, ui::guarded(this, [this] { RadioButton2Click(); }));
}

void OtherMoneyForm::FormCreate()
{
    findDate_->setToday();
    openList(kind_.todayListType, {QStringLiteral("and bill_date=:bill_date ")},
             {{QStringLiteral("bill_date"), QDate::currentDate()}});
}

void OtherMoneyForm::FormDestroy()
{
    CloseInsiFeeList();
}

void OtherMoneyForm::openList(const QString& listType, const QStringList& extra, const db::Params& params)
{
    ui::Hourglass wait;
    try {
        db::Dataset& q = insiFeeQ();
        q.close();
        q.setSql(QStringList{entriesOf(listType)} + extra);
        for (const auto& [name, value] : params.items())
            q.setParam(name, value);
        q.setLockType(db::LockType::Optimistic);
        q.open();
    } catch (const std::exception&) {
        // the list stays as the failure left it
    }
}

void OtherMoneyForm::InsiFeeQAfterScroll()
{
    db::Dataset& q = insiFeeQ();
    const QDateTime date = q.isActive() && !q.isEmpty() ? q.asDateTime(QStringLiteral("bill_date")) : QDateTime();
    if (date.isValid())
        entryDate_->setDate(date.date());
}

void OtherMoneyForm::cmd_addClick()
{
    try {
        db::Dataset& q = insiFeeQ();
        q.append();
        q.setValue(QStringLiteral("bill_no"), NewBillNo());
    } catch (const std::exception&) {
        return;
    }
    entryDate_->setToday();
    setMode(FormMode::Add);
    amountBox_->setFocus();
}

void OtherMoneyForm::cmd_editClick()
{
    if (billNoBox_->text().trimmed().isEmpty())
        return;
    try {
        insiFeeQ().edit();
    } catch (const std::exception&) {
        return;
    }
    setMode(FormMode::Edit);
    amountBox_->setFocus();
}

bool OtherMoneyForm::checkBeforeSave()
{
    const QString amount = amountBox_->text().trimmed();
    bool whole = false;
    const qlonglong value = amount.toLongLong(&whole);
    if (!whole || !db::fitsWholeNumberColumn(value, insiFeeQ().field(QStringLiteral("serv_fee")).type)) {
        // The box takes digits and a sign only; a fraction is refused, never
        // rounded. Digits too many for the amount column are no valid amount.
        const std::optional<double> number = db::parseAmount(amount);
        const bool fraction = number && *number != std::trunc(*number);
        ui::warn(this, fraction ? QStringLiteral("金额只能是整数") : QStringLiteral("无效金额"));
        return false;
    }
    if (billNoBox_->text().trimmed().isEmpty()) {
        ui::warn(this, QStringLiteral("单号不能为空"));
        return false;
    }
    if (!entryDate_->value().isValid()) {
        ui::warn(this, QStringLiteral("无效日期"));
        return false;
    }
    return true;
}

void OtherMoneyForm::saveRecord()
{
    ui::Hourglass wait;
    StampInsiFeeEntry(*source_, *noteBox_, kind_.defaultNote, kind_.storedType, entryDate_->value());
    RecordForm::saveRecord();
}

void OtherMoneyForm::cmd_findClick()
{
    if (findBox_->text().trimmed().isEmpty())
        return;
    openList(kind_.findListType, {QStringLiteral("and bill_no=:bill_no ")},
             {{QStringLiteral("bill_no"), findBox_->text()}});
}

void OtherMoneyForm::Edit2KeyPress()
{
    // As the button would: not while it is disabled (no query right).
    controls().cmd_find->click();
}

void OtherMoneyForm::Edit2Change()
{
    if (!findBox_->text().trimmed().isEmpty())
        clearRadioButtons();
}

void OtherMoneyForm::clearRadioButtons()
{
    // Exclusive radio buttons cannot all be cleared.
    for (QRadioButton* b : {wholeMonth_, wholeDay_}) {
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
}

void OtherMoneyForm::RadioButton1Click()
{
    findBox_->clear();
    const MonthRange month = MonthOf(findDate_->value());
    openList(kind_.findListType,
             {QStringLiteral("and bill_date>=:first "), QStringLiteral("and bill_date<:next "),
              QStringLiteral("order by bill_no ")},
             {{QStringLiteral("first"), month.first}, {QStringLiteral("next"), month.next}});
}

void OtherMoneyForm::RadioButton2Click()
{
    findBox_->clear();
    openList(kind_.findListType, {QStringLiteral("and bill_date=:bill_date "), QStringLiteral("order by bill_no ")},
             {{QStringLiteral("bill_date"), findDate_->value()}});
}
