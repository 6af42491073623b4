#include "analysis/UemplList.h"

#include "analysis/CommissionEngine.h"
#include "analysis/DateRangeGroup.h"
#include "analysis/EmployeeCombos.h"
#include "analysis/ListTotals.h"
#include "analysis/Rempllist.h"
#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/report/Preview.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

db::Dataset& listTempQ()
{
    return FrmDataMod->ListTempQ;
}

} // namespace

TFrmEmplList::TFrmEmplList(QWidget* owner)
    : RecordForm(owner, QStringLiteral("FrmEmplList"), QStringLiteral("个人业绩明细"), kPosition)
{
    addStandardButtons({"cmd_find", "cmd_prin", "cmd_exit"}, {"查询[&F]", "打印[&P]", "退出[&X]"});
    setClosableAnyTime(true);

    auto* top = new QHBoxLayout;

    auto* staffGroup = new QGroupBox(QStringLiteral("员工资料"), this);
    auto* staffGrid = new QGridLayout(staffGroup);
    staff_ = std::make_unique<EmployeeCombos>(staffGroup);
    staffGrid->addWidget(new QLabel(QStringLiteral("员工编号"), staffGroup), 0, 0);
    staffGrid->addWidget(staff_->codeBox(), 0, 1);
    staffGrid->addWidget(new QLabel(QStringLiteral("员工姓名"), staffGroup), 1, 0);
    staffGrid->addWidget(staff_->nameBox(), 1, 1);
    top->addWidget(staffGroup);

    const DateRangeGroup range(this, QStringLiteral("日期"), QStringLiteral("-"));
    firstDayBox_ = range.from;
    lastDayBox_ = range.to;
    top->addWidget(range.group);

    auto* kindGroup = new QGroupBox(QStringLiteral("统计分类"), this);
    auto* kindColumn = new QVBoxLayout(kindGroup);
    auto radio = [&](const char* name, const QString& caption) {
        auto* b = new QRadioButton(caption, kindGroup);
        b->setObjectName(QString::fromLatin1(name));
        kindColumn->addWidget(b);
        return b;
    };
    allButton_ = radio("RadioButton1", QStringLiteral("全部"));
    servicesButton_ = radio("RadioButton2", QStringLiteral("只统计服务项目"));
    salesButton_ = radio("RadioButton3", QStringLiteral("只统计销售"));
    allButton_->setChecked(true);
    top->addWidget(kindGroup);
    body()->addLayout(top);

    auto* totals = new QHBoxLayout;
    auto totalBox = [&](const char* name, const QString& caption) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::ClickFocus);
        totals->addWidget(new QLabel(caption, this));
        totals->addWidget(box);
        return box;
    };
    baseTotalBox_ = totalBox("Edit1", QStringLiteral("服务金额+销售金额"));
    commissionTotalBox_ = totalBox("Edit2", QStringLiteral("提成金额"));
    totals->addStretch(1);
    body()->addLayout(totals);

    grid_ = new ui::DbGrid(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setDataset(&listTempQ());
    grid_->setReadOnly(true);
    grid_->setColumns({
        {QStringLiteral("bill_no"), QStringLiteral("单据编号"), 130},
        {QStringLiteral("bill_date"), QStringLiteral("日期"), 90},
        {QStringLiteral("serve_code"), QStringLiteral("项目编号"), 90},
        {QStringLiteral("shou_tota"), QStringLiteral("项目金额"), 90},
        {QStringLiteral("rate_value"), QStringLiteral("提成比例(%)"), 90},
        {QStringLiteral("fact_tota"), QStringLiteral("提成金额"), 90},
        {QStringLiteral("bill_note"), QStringLiteral("备注"), 90},
    });
    body()->addWidget(grid_, 1);
    controls().grid = grid_;

    connect(staff_->codeBox(), &QComboBox::editTextChanged, this,
            ui::guarded(this, [this](const QString& text) { ComboBox1Change(text); }));
    connect(staff_->nameBox(), &QComboBox::editTextChanged, this,
            ui::guarded(this, [this](const QString& text) { ComboBox2Change(text); }));

    setFixedSize(792, 573);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    runFormCreate([this] { FormCreate(); });
}

TFrmEmplList::~TFrmEmplList() = default;

void TFrmEmplList::SetControlStates()
{
    RecordForm::SetControlStates();
    // The find of this function answers to the edit right.
    if (QPushButton* find = controls().cmd_find)
        find->setEnabled(mode() == FormMode::Null && HasRight(PowEdit, kPosition));
}

void TFrmEmplList::FormCreate()
{
    firstDayBox_->setDate(QDate::currentDate());
    lastDayBox_->setDate(QDate::currentDate());
    FillEmployeeFindCombos();
    db::Dataset& temp = FrmDataMod->TempQ;
    temp.close();
    temp.setSql(QStringLiteral("delete * from listtemp "));
    temp.execute();
    db::Dataset& q = listTempQ();
    q.close();
    q.setSql(QStringLiteral("select * from listtemp "));
    q.open();
}

void TFrmEmplList::FillEmployeeFindCombos()
{
    staff_->fill();
}

void TFrmEmplList::ComboBox1Change(const QString& text)
{
    staff_->nameFollowsCode(text);
}

void TFrmEmplList::ComboBox2Change(const QString& text)
{
    staff_->codeFollowsName(text);
}

void TFrmEmplList::SumPerformanceTotals()
{
    double bases = 0;
    double commissions = 0;
    auto show = [&] {
        baseTotalBox_->setText(db::formatAmount(bases));
        commissionTotalBox_->setText(db::formatAmount(commissions));
    };
    try {
        const db::Dataset& q = listTempQ();
        const int base = q.fieldIndex(QStringLiteral("shou_tota"));
        const int commission = q.fieldIndex(QStringLiteral("fact_tota"));
        for (int row = 0; row < q.recordCount(); ++row) {
            bases += db::asFloat(q.value(row, base));
            commissions += db::asFloat(q.value(row, commission));
        }
    } catch (...) {
        show();
        throw;
    }
    show();
}

void TFrmEmplList::cmd_findClick()
{
    const QString typed = staff_->codeBox()->currentText();
    if (typed.trimmed().isEmpty())
        return;
    // Found whatever the letter case typed, and named as the record spells it.
    const QString stored = LookupField(QStringLiteral("employee"), QStringLiteral("empl_code"), typed,
                                       QStringLiteral("empl_code"));
    const QString code = stored.isEmpty() ? typed : stored;
    const CommissionKinds kinds = servicesButton_->isChecked() ? CommissionKinds::ServicesOnly
        : salesButton_->isChecked()                            ? CommissionKinds::SalesOnly
                                                               : CommissionKinds::All;
    const Heading heading{code, staff_->nameBox()->currentText(), firstDayBox_->date(), lastDayBox_->date()};
    ui::Hourglass wait;
    db::ControlsDisabled quiet(listTempQ());
    RunCommission(code, CommissionPeriod::days(heading.first, heading.last), kinds);
    shown_ = heading;
    SumPerformanceTotals();
    if (!listTempQ().isEmpty())
        listTempQ().first();
}

void TFrmEmplList::cmd_prinClick()
{
    if (!listTempQ().isActive() || listTempQ().isEmpty())
        return;
    TQempllist detail(&listTempQ());
    // A code typed or days changed since the find must not head these lines.
    detail.setText(QStringLiteral("empl_code"), shown_.code);
    detail.setText(QStringLiteral("empl_name"), shown_.name);
    detail.setDateRange(shown_.first, shown_.last);
    detail.setText(QStringLiteral("hjje"), baseTotalBox_->text());
    detail.setText(QStringLiteral("tcje"), commissionTotalBox_->text());
    report::preview(detail, this);
}
