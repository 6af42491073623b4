#pragma once

#include "core/FormFrame.h"

#include <QDate>
#include <memory>

class EmployeeCombos;
class QLineEdit;
class QRadioButton;
namespace ui {
class DbDatePicker;
class DbGrid;
} // namespace ui

// Staff performance detail over ListTempQ: the commission lines of one
// employee from one day to another (service bills, sales documents or both)
// with the totals of their bases and commissions; the printed detail
// TQempllist.
//
// The find recomputes listtemp in one transaction: on an error the lines and
// totals shown stay as they were and the error is shown. The printed heading
// names the employee and days the lines were found for, whatever the boxes
// hold by then.
// Rights position 28: find follows the edit right PowEdit; printing is open
// to every user.
class TFrmEmplList : public RecordForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 28;

    explicit TFrmEmplList(QWidget* owner = nullptr);
    ~TFrmEmplList() override;

    void SetControlStates() override;
    // Computes and shows the lines of the employee in the code box; a blank
    // code does nothing.
    void cmd_findClick() override;
    // Previews the printed detail when there is at least one line.
    void cmd_prinClick() override;

private:
    void FormCreate();
    void FillEmployeeFindCombos();
    void ComboBox1Change(const QString& text);
    void ComboBox2Change(const QString& text);
    void SumPerformanceTotals();

    // Who and which days the lines shown were found for.
    struct Heading {
        QString code, name;
        QDate first, last;
    } shown_;

    std::unique_ptr<EmployeeCombos> staff_; // ComboBox1, ComboBox2
    ui::DbDatePicker* firstDayBox_ = nullptr; // DP1
    ui::DbDatePicker* lastDayBox_ = nullptr;  // DP2
    QRadioButton* allButton_ = nullptr;     // RadioButton1
    QRadioButton* servicesButton_ = nullptr; // RadioButton2
    QRadioButton* salesButton_ = nullptr;   // RadioButton3
    QLineEdit* baseTotalBox_ = nullptr;     // Edit1
    QLineEdit* commissionTotalBox_ = nullptr; // Edit2
    ui::DbGrid* grid_ = nullptr;            // DBGrid1
};
