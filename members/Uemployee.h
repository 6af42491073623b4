#pragma once

#include "core/FormFrame.h"

class QGroupBox;
class QPushButton;
namespace ui {
class DataSource;
class DbComboBox;
class DbDatePicker;
class DbGrid;
class DbLineEdit;
}

// The staff register (table employee over EmployeeQ, each save written at
// once): personal and employment data of every employee. The employee code
// is what bills, documents, users and the salary sheet record. Rights
// position 1. Birth and entry dates are edited in two pickers that follow
// the current row and are copied into it, as dates, when it is saved.
class TFrmEmployee : public RecordForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 1;

    explicit TFrmEmployee(QWidget* owner = nullptr);
    ~TFrmEmployee() override;

    // 新增: a new row, "男", both pickers today.
    void BitBtn2Click();
    // 修改: edits the row shown, unless the code box is empty.
    void BitBtn7Click();
    // 删除: asks, then deletes the current row, unless the code box is blank.
    void BitBtn6Click();
    // 保存: code and name must not be empty (blanks pass); the dates are
    // copied in and the row written.
    void BitBtn4Click();
    // 取消: drops what was typed and returns to the row named in the code box.
    void BitBtn3Click();
    // 打印: hidden, nothing to print.
    void BitBtn5Click() {}
    void BitBtn1Click();

    // Adds the values stored in employee to the pick lists that lack them.
    void FillPickLists();
    // The pickers' dates, without time of day, into the current row.
    void WriteEmployeeDates();
    // Another row became current (or the list was reread): the pickers show its dates.
    void DataSource1DataChange();

    ui::DbGrid* grid() const { return grid_; }
    ui::DbLineEdit* codeBox() const { return codeBox_; }
    ui::DbLineEdit* nameBox() const { return nameBox_; }
    ui::DbDatePicker* birthPicker() const { return birthPicker_; }
    ui::DbDatePicker* inDatePicker() const { return inDatePicker_; }
    QGroupBox* personalGroup() const { return personalGroup_; }
    QGroupBox* employmentGroup() const { return employmentGroup_; }

protected:
    bool checkBeforeSave() override;
    void saveRecord() override;

private:
    struct BoxRow;
    void FormCreate();
    void buildToolbar();
    QGroupBox* buildGroup(const QString& title, const QString& objectName, const BoxRow* rows, int count);

    ui::DataSource* source_;
    ui::DbGrid* grid_;
    ui::DbLineEdit* codeBox_ = nullptr;
    ui::DbLineEdit* nameBox_ = nullptr;
    ui::DbComboBox* sexCombo_ = nullptr;
    ui::DbDatePicker* birthPicker_ = nullptr;
    ui::DbDatePicker* inDatePicker_ = nullptr;
    QGroupBox* personalGroup_ = nullptr;
    QGroupBox* employmentGroup_ = nullptr;
    QList<ui::DbComboBox*> pickLists_; // the combos offering stored values
};
