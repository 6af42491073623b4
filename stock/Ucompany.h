#pragma once

#include "core/FormFrame.h"

class QGroupBox;
class QLineEdit;
namespace ui {
class DataSource;
class DbComboBox;
class DbGrid;
class DbLineEdit;
}

// The company register (table company over CompanyQ, each save written at
// once): suppliers, producers and customers alike. Rights position 18; the
// quick find by code is open to everyone.
class TFrmCompany : public RecordForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 18;

    explicit TFrmCompany(QWidget* owner = nullptr);
    ~TFrmCompany() override;

    // Edits the current row unless the code box is blank.
    void cmd_editClick() override;
    // Moves to the company whose code is in the find box (trimmed, exact);
    // quiet when there is none.
    void cmd_findClick() override;
    // Enter in the find box: the find.
    void Edit1KeyPress();
    // The type, country, district and province lists: the stored values, each list refilled.
    void FillCompanyCombos();

    ui::DbGrid* grid() const { return grid_; }
    ui::DbLineEdit* codeBox() const { return codeBox_; }
    QGroupBox* recordGroup() const { return recordGroup_; }
    QLineEdit* findBox() const { return Edit1; }
    // The combo of one of the four listed columns (comp_type, belo_coun, belo_prov, belo_area).
    ui::DbComboBox* comboOf(const QString& column) const;

protected:
    // A blank code stops the save without a message.
    bool checkBeforeSave() override;

private:
    void FormCreate();
    QGroupBox* buildRecordGroup();
    QGroupBox* buildFindGroup();

    ui::DataSource* source_;
    ui::DbGrid* grid_;
    QGroupBox* recordGroup_ = nullptr;
    ui::DbLineEdit* codeBox_ = nullptr;
    QList<ui::DbComboBox*> combos_;
    QLineEdit* Edit1 = nullptr;
};
