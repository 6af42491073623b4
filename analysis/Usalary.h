#pragma once

#include "core/FormFrame.h"

#include <QDate>
#include <QStringList>
#include <memory>

class CommissionEngine;
class EmployeeCombos;
class QLineEdit;
class QProgressBar;
namespace ui {
class DbDatePicker;
class DbGrid;
} // namespace ui

// Salary statistics over SalaryQ: the salary sheet of one calendar month, one
// row per employee code of the staff table with the base pay, the month's
// commission and their sum, and the sheet's total; the printed sheet TQsalary.
//
// A computation empties and refills the work tables salary and listtemp in
// one transaction. An employee whose commission cannot be computed (a code
// too long for the work tables, say) gets no row; every other employee does,
// and a message names who is missing and why. When the sheet itself cannot
// be written, it stays as it was and the error is shown. An empty base pay counts 0
// in the subtotal, so a commission is never left out of the total. The
// printed sheet is dated with the day the sheet was computed for.
// Rights position 34: find follows PowFind, print follows PowPrin.
class TFrmSalary : public RecordForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 34;

    explicit TFrmSalary(QWidget* owner = nullptr);
    ~TFrmSalary() override;

    // Computes the sheet of the month of DP1.
    void cmd_findClick() override;
    // Previews the printed sheet when the total is above 0.
    void cmd_prinClick() override;

private:
    // The employee's commission lines of the engine's month into listtemp and
    // the employee's row into salary, inside the sheet's transaction; a blank
    // code writes nothing and returns false. Errors reach the caller.
    bool CalcEmployeeCommission(CommissionEngine& engine, const QString& emplCode);
    // CalcEmployeeCommission on its own savepoint: a failure undoes only that
    // employee's writes and adds "code name：reason" to missing.
    bool calcEmployeeAlone(CommissionEngine& engine, const QString& emplCode, QStringList& missing);

    void FormCreate();
    void FillEmployeeFindCombos();
    void ComboBox1Change(const QString& text);
    void ComboBox1Click();
    void ComboBox2Click();
    void SalaryQCalcFields(db::Dataset& q);
    void SumSalaryTotal();

    // Employees that get no row are added to missing.
    void computeSheet(QStringList& missing);
    void showProgress(int done, int count);
    void reopenSheet();

    QDate sheetDay_; // DP1 when the sheet shown was computed

    std::unique_ptr<EmployeeCombos> staff_; // ComboBox1, ComboBox2
    ui::DbDatePicker* monthBox_ = nullptr; // DP1
    QLineEdit* totalBox_ = nullptr;       // Edit1
    ui::DbGrid* grid_ = nullptr;          // DBGrid1
    QProgressBar* progress_ = nullptr;    // PB1
};
