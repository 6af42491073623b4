#pragma once

#include "core/FormFrame.h"

#include <array>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QTableWidget;
namespace ui {
class DataSource;
class DbGrid;
class DbLineEdit;
}

// The program's users (table powers over PowerQ, each save written at once):
// login name (an employee code), plain-text password and the seven rights
// strings of 38 characters, edited in a grid of functions by rights where
// "√" grants. Rights position 36. Changes take effect at the next login.
class TFrmPower : public RecordForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 36;
    static constexpr int kRightsColumns = 7;

    explicit TFrmPower(QWidget* owner = nullptr);
    ~TFrmPower() override;

    void SetControlStates() override;
    // A new row with every right refused; the id box takes the focus.
    void cmd_addClick() override;
    // Edits the user shown; the id itself stays fixed.
    void cmd_editClick() override;
    // After "确认删除该记录": the user shown leaves powers.
    void cmd_deleClick() override;
    // Back to browsing; the rights grid shows the stored rights again.
    void cmd_cancClick() override;

    // Column 0 of the rights grid: the functions of positions 1 to 38.
    void FillPowerRowNames();
    // The current user's seven strings into the grid; a missing character is unticked.
    void LoadPowerGrid();
    // The grid into the current row as seven strings of 38 "0"/"1".
    void SavePowerGrid();
    // A click on a rights cell toggles "√" while adding or editing.
    void SGridClick(int row, int column);
    // Enter in the id box: the id must be an employee without a user row.
    void DBEdit1KeyPress(QChar key);
    // Check box n (1 to 7) ticks or clears its whole column while adding or editing.
    void CheckBoxClick(int n);
    void CheckBox1Click() { CheckBoxClick(1); }
    void CheckBox2Click() { CheckBoxClick(2); }
    void CheckBox3Click() { CheckBoxClick(3); }
    void CheckBox4Click() { CheckBoxClick(4); }
    void CheckBox5Click() { CheckBoxClick(5); }
    void CheckBox6Click() { CheckBoxClick(6); }
    void CheckBox7Click() { CheckBoxClick(7); }

    // The rights string name shown in grid column c (1 to 7): "pow_use" ...
    static QString rightsColumn(int c);

    ui::DbGrid* DBGrid1 = nullptr;
    QGroupBox* GB1 = nullptr;
    ui::DbLineEdit* DBEdit1 = nullptr;  // user_id
    ui::DbLineEdit* DBEdit2 = nullptr;  // user_name, never editable
    ui::DbLineEdit* DBEdit4 = nullptr;  // password
    QLineEdit* Edit5 = nullptr;         // password confirmation, not stored
    QTableWidget* SGrid = nullptr;      // 8 columns by 39 rows, row 0 and column 0 fixed
    std::array<QCheckBox*, kRightsColumns> CheckBoxes{};

protected:
    // New users only: the id must still be a free employee code (the Enter
    // checks are skipped by a user who never presses Enter), and the password
    // must match its confirmation.
    bool checkBeforeSave() override;
    // The id and password trimmed (the login compares trimmed text), the grid
    // into the seven strings, then the post.
    void saveRecord() override;

private:
    void FormCreate();
    void buildEntryGroup();
    void buildRightsGrid();
    void placeCheckBoxes();
    int nameColumnWidth() const;
    // Empties the confirmation and every rights cell, keeping the row names.
    void clearForm();
    // The grid after the list moved without an after-scroll (cancel, delete).
    void showCurrentRights();
    // Shows its message and returns false when the id cannot become a new user.
    bool checkNewUserId();
    bool editing() const { return mode() != FormMode::Null; }

    ui::DataSource* source_ = nullptr;
    QWidget* checkBoxRow_ = nullptr;
};
