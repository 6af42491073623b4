#include "analysis/Usalary.h"

#include "analysis/CommissionEngine.h"
#include "analysis/EmployeeCombos.h"
#include "analysis/Rsalary.h"
#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/db/Error.h"
#include "platform/db/Value.h"
#include "platform/report/Preview.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QScreen>
#include <cmath>

namespace {

db::Dataset& salaryQ()
{
    return FrmDataMod->SalaryQ;
}

void executeOnTempQ(const QString& sql)
{
    db::Dataset& q = FrmDataMod->TempQ;
    q.close();
    q.setSql(sql);
    q.execute();
}

} // namespace

TFrmSalary::TFrmSalary(QWidget* owner)
    : RecordForm(owner, QStringLiteral("FrmSalary"), QStringLiteral("薪资统计"), kPosition)
{
    addStandardButtons({"cmd_find", "cmd_prin", "cmd_exit"}, {"查询[&F]", "打印[&P]", "退出[&X]"});
    controls().gateFind = true;
    controls().gatePrint = true;
    setClosableAnyTime(true);

    auto* row = new QHBoxLayout;
    auto labelled = [&](const QString& caption, QWidget* w) {
        row->addWidget(new QLabel(caption, this));
        row->addWidget(w);
    };
    staff_ = std::make_unique<EmployeeCombos>(this);
    staff_->codeBox()->setMinimumWidth(100);
    labelled(QStringLiteral("员工编号"), staff_->codeBox());
    staff_->nameBox()->setMinimumWidth(100);
    labelled(QStringLiteral("员工姓名"), staff_->nameBox());
    monthBox_ = new ui::DbDatePicker(this);
    monthBox_->setObjectName(QStringLiteral("DP1"));
    labelled(QStringLiteral("统计月份"), monthBox_);
    totalBox_ = new QLineEdit(this);
    totalBox_->setObjectName(QStringLiteral("Edit1"));
    totalBox_->setReadOnly(true);
    totalBox_->setFocusPolicy(Qt::ClickFocus);
    labelled(QStringLiteral("薪金总额"), totalBox_);
    row->addStretch(1);
    body()->addLayout(row);

    grid_ = ui::DbGrid::rowList(this, &salaryQ(),
                                {
                                    {QStringLiteral("empl_code"), QStringLiteral("员工编号"), 90},
                                    {QStringLiteral("empl_name"), QStringLiteral("姓名"), 100},
                                    {QStringLiteral("empl_sex"), QStringLiteral("性别"), 50},
                                    {QStringLiteral("dept_name"), QStringLiteral("部门"), 120},
                                    {QStringLiteral("low_salary"), QStringLiteral("保障底薪"), 100},
                                    {QStringLiteral("add_fee"), QStringLiteral("提成金额"), 100},
                                    {QStringLiteral("sub_tota"), QStringLiteral("小计"), 100},
                                });
    body()->addWidget(grid_, 1);
    controls().grid = grid_;

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("PB1"));
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    progress_->hide();
    body()->addWidget(progress_);

    connect(staff_->codeBox(), &QComboBox::editTextChanged, this,
            ui::guarded(this, [this](const QString& text) { ComboBox1Change(text); }));
    connect(staff_->codeBox(), &QComboBox::activated, this, ui::guarded(this, [this] { ComboBox1Click(); }));
    connect(staff_->nameBox(), &QComboBox::activated, this, ui::guarded(this, [this] { ComboBox2Click(); }));
    keep(salaryQ().onCalcFields([this](db::Dataset& q) { SalaryQCalcFields(q); }));

    setFixedSize(792, 573);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    runFormCreate([this] { FormCreate(); });
}

TFrmSalary::~TFrmSalary() = default;

void TFrmSalary::FormCreate()
{
    monthBox_->setDate(QDate::currentDate());
    FillEmployeeFindCombos();
    executeOnTempQ(QStringLiteral("delete * from salary "));
    reopenSheet();
}

void TFrmSalary::FillEmployeeFindCombos()
{
    staff_->fill();
}

void TFrmSalary::ComboBox1Change(const QString& text)
{
    staff_->nameFollowsCode(text);
}

void TFrmSalary::ComboBox1Click()
{
    const QString code = staff_->codeBox()->currentText();
    LocateCode(salaryQ(), QStringLiteral("empl_code"), code);
}

void TFrmSalary::ComboBox2Click()
{
    staff_->codeFollowsName(staff_->nameBox()->currentText());
    ComboBox1Click();
}

void TFrmSalary::SalaryQCalcFields(db::Dataset& q)
{
    try {
        const QVariant base = q.value(QStringLiteral("low_salary"));
        const QVariant commission = q.value(QStringLiteral("add_fee"));
        if ((!base.isValid() || base.isNull()) && (!commission.isValid() || commission.isNull()))
            return;
        // An employee without a base pay still earns the commission.
        q.setValue(QStringLiteral("sub_tota"), db::asFloat(base) + db::asFloat(commission));
    } catch (const std::exception&) {
        // the subtotal stays empty
    }
}

void TFrmSalary::SumSalaryTotal()
{
    double sum = 0;
    try {
        const db::Dataset& q = salaryQ();
        const int subtotal = q.fieldIndex(QStringLiteral("sub_tota"));
        for (int row = 0; row < q.recordCount(); ++row)
            sum += db::asFloat(q.value(row, subtotal));
    } catch (...) {
        totalBox_->setText(db::formatAmount(sum));
        throw;
    }
    totalBox_->setText(db::formatAmount(sum));
}

bool TFrmSalary::CalcEmployeeCommission(CommissionEngine& engine, const QString& emplCode)
{
    if (!engine.run(emplCode))
        return false;
    db::Dataset& q = FrmDataMod->TempQ;
    q.close();
    q.setSql(QStringList{QStringLiteral("insert into salary (empl_code,add_fee) "),
                         QStringLiteral("values (:empl_code,:add_fee)")});
    q.setParam(QStringLiteral("empl_code"), emplCode);
    q.setParam(QStringLiteral("add_fee"), engine.commission());
    q.execute();
    return true;
}

bool TFrmSalary::calcEmployeeAlone(CommissionEngine& engine, const QString& emplCode, QStringList& missing)
{
    try {
        db::Transaction one(FrmDataMod->AdoConn);
        const bool computed = CalcEmployeeCommission(engine, emplCode);
        one.commit();
        return computed;
    } catch (const std::exception& e) {
        const QString name = LookupField(QStringLiteral("employee"), QStringLiteral("empl_code"), emplCode,
                                         QStringLiteral("empl_name"));
        const QString who = name.isEmpty() ? emplCode : emplCode + u' ' + name;
        missing << who + QStringLiteral("：") + db::reasonOf(e);
        return false;
    }
}

void TFrmSalary::showProgress(int done, int count)
{
    // Halves go to the even neighbour, as the bar's position always has.
    progress_->setValue(int(std::nearbyint(1.0 / count * done * 100)));
}

void TFrmSalary::reopenSheet()
{
    db::Dataset& q = salaryQ();
    q.close();
    q.setSql(QStringLiteral("select * from salary "));
    q.open();
}

void TFrmSalary::computeSheet(QStringList& missing)
{
    db::Transaction t(FrmDataMod->AdoConn);
    executeOnTempQ(QStringLiteral("delete * from salary "));
    db::Dataset& temp = FrmDataMod->TempQ;
    temp.close();
    temp.setSql(QStringLiteral("select distinct empl_code from employee"));
    temp.open();
    QStringList codes;
    for (int row = 0; row < temp.recordCount(); ++row)
        codes << db::asString(temp.value(row, 0));
    const int n = int(codes.size());
    if (n > 0) {
        progress_->reset();
        progress_->show();
        struct HideAfter {
            QProgressBar* bar;
            ~HideAfter() { bar->hide(); }
        } hide{progress_};
        CommissionEngine engine(CommissionPeriod::monthOf(monthBox_->date()), CommissionKinds::All,
                                CommissionEngine::BillReading::OncePerPeriod);
        bool computed = false;
        for (int i = 0; i < n; ++i) {
            computed = calcEmployeeAlone(engine, codes[i], missing) || computed;
            showProgress(i, n);
        }
        // Shown once, on the lines of the last employee computed.
        if (computed)
            ReopenCommissionLines();
    }
    t.commit();
}

void TFrmSalary::cmd_findClick()
{
    const QDate day = monthBox_->date();
    QStringList missing;
    {
        ui::Hourglass wait;
        db::ControlsDisabled quiet(salaryQ());
        try {
            computeSheet(missing);
        } catch (...) {
            // The tables are as they were: so must the grid and the lines be.
            try {
                reopenSheet();
                ReopenCommissionLines();
            } catch (const std::exception&) {
            }
            throw;
        }
        sheetDay_ = day;
        reopenSheet();
        SumSalaryTotal();
        if (!salaryQ().isEmpty())
            salaryQ().first();
    }
    if (!missing.isEmpty())
        ui::warn(this, QStringLiteral("以下员工的薪资未能计算，薪资表中没有他们：\n") + missing.join(u'\n'));
}

void TFrmSalary::cmd_prinClick()
{
    const auto total = db::parseAmount(totalBox_->text());
    if (!total || *total <= 0)
        return;
    TQsalary sheet(&salaryQ());
    // Not the month box: it may have been moved to another month since.
    sheet.setText(QStringLiteral("datea"), db::dateText(sheetDay_));
    sheet.setText(QStringLiteral("hjje"), totalBox_->text());
    report::preview(sheet, this);
}
