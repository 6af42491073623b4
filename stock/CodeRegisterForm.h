#pragma once

#include "core/FormFrame.h"

class QGroupBox;
class QLineEdit;
namespace ui {
class DataSource;
class DbGrid;
class DbLineEdit;
}

// The frame of a register of one table keyed by a code (the companies, the
// goods): the buttons add, edit, delete, save, cancel and exit; the grid
// DBGrid1 on the left; on the right the form's record group over its bound
// boxes and, under it, the quick find by code "快速查找" (GroupBox2: a
// caption, the find box Edit1 and cmd_find). A blank code box stops a save
// without a message.
class CodeRegisterForm : public RecordForm {
    Q_OBJECT
public:
    // Moves to the row whose code is in the find box (trimmed, case aside); quiet
    // when there is none.
    void cmd_findClick() override;
    // Enter in the find box: the find.
    void Edit1KeyPress();
    // Edits the row shown, not the first with its code; a blank code box
    // does nothing.
    void cmd_editClick() override;

    ui::DbGrid* grid() const { return grid_; }
    ui::DbLineEdit* codeBox() const { return codeBox_; }
    QGroupBox* recordGroup() const { return recordGroup_; }
    QLineEdit* findBox() const { return Edit1; }

protected:
    // The table is listed whole, ordered by codeField, in dataset.
    CodeRegisterForm(QWidget* owner, const QString& objectName, const QString& caption, int position,
                     db::Dataset& dataset, QString table, QString codeField);

    // What the record group's boxes are bound to.
    ui::DataSource* source() const { return source_; }
    // Places the record group beside the grid with the find group, captioned
    // findCaption, under it. The group's box bound to the code holds the key
    // and takes the focus when adding or editing starts.
    void placeRecordGroup(QGroupBox* group, const QString& findCaption);
    // Reopens the dataset on the whole table.
    void openTable(db::LockType lockType);

    bool checkBeforeSave() override;

private:
    db::Dataset& dataset_;
    QString table_;
    QString codeField_;
    ui::DataSource* source_;
    ui::DbGrid* grid_;
    QGroupBox* recordGroup_ = nullptr;
    ui::DbLineEdit* codeBox_ = nullptr;
    QLineEdit* Edit1 = nullptr;
};
