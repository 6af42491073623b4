#pragma once

#include "core/FormFrame.h"

class QGroupBox;
class QRadioButton;
namespace ui {
class DataSource;
class DbComboBox;
class DbGrid;
class DbLineEdit;
}

// The service catalogue (table serveitem over ServeItemQ, each save written
// at once): price, estimated minutes, the three commission percents (0 to
// 100), category and state of every service the salon sells. Rights
// position 3. The quick find takes one criterion at a time: a code, a name or
// a category, or "全部项目" for the whole list.
class TFrmServeitem : public RecordForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 3;

    explicit TFrmServeitem(QWidget* owner = nullptr);
    ~TFrmServeitem() override;

    void SetControlStates() override;
    void cmd_deleClick() override;
    // Lists the items matching the filled criterion; none filled leaves the list.
    void cmd_findClick() override;

    // Enter in the find code box: moves to the listed item with that code.
    void Edit1KeyPress();
    // Typing a non-blank criterion empties the other two and "全部项目".
    void Edit1Change();
    void ComboBox1Change();
    void ComboBox2Change();
    // A name chosen from the list: moves to the listed item of that name.
    void ComboBox1Click();
    // A category chosen from the list: lists that category at once.
    void ComboBox2Click();
    // "全部项目" selected: the criteria are emptied and every item listed.
    void RadioButton1Click();
    // Adds the stored categories and names not yet offered to the combos.
    void FillFindCombos();

    // The boxes of the current item, and the quick-find controls.
    ui::DbLineEdit* codeBox() const { return codeBox_; }
    ui::DbLineEdit* nameBox() const { return nameBox_; }
    ui::DbComboBox* typeCombo() const { return typeCombo_; }
    ui::DbComboBox* stateCombo() const { return stateCombo_; }
    ui::DbLineEdit* rateBox(int i) const { return rateBoxes_[i]; } // stylist, middle, assistant
    ui::DbGrid* grid() const { return grid_; }
    QLineEdit* findCodeBox() const { return Edit1; }
    ui::DbComboBox* findNameCombo() const { return ComboBox1; }
    ui::DbComboBox* findTypeCombo() const { return ComboBox2; }
    QRadioButton* allItemsButton() const { return RadioButton1; }

protected:
    // The percents within 0 to 100 (message 1021; an empty one is no
    // commission), then code and name filled (message 1020). A percent that
    // is no number throws (the error box, naming the box).
    bool checkBeforeSave() override;

private:
    QGroupBox* buildEditGroup();
    QGroupBox* buildFindGroup();
    void FormCreate();
    // Reopens the list on the items whose column equals value (bound, so any
    // text finds what it names).
    void listWhere(const QString& column, const QString& value);
    void listAll();
    // Empties the criteria other than keep, and "全部项目".
    void clearCriteriaBut(QWidget* keep);
    void uncheckAllItems();

    ui::DataSource* source_;
    ui::DbGrid* grid_;
    ui::DbLineEdit* codeBox_ = nullptr;
    ui::DbLineEdit* nameBox_ = nullptr;
    ui::DbComboBox* typeCombo_ = nullptr;
    ui::DbComboBox* stateCombo_ = nullptr;
    ui::DbLineEdit* rateBoxes_[3] = {};
    QLineEdit* Edit1 = nullptr;
    ui::DbComboBox* ComboBox1 = nullptr;
    ui::DbComboBox* ComboBox2 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
};
