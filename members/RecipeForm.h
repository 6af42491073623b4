#pragma once

#include "core/FormFrame.h"
#include "platform/ui/DatasetModel.h"

#include <vector>

class QGridLayout;
class QGroupBox;
class QPushButton;
namespace ui {
class DataSource;
class DbComboBox;
class DbGrid;
class DbLineEdit;
}

// What the perm and the dye recipe forms share: one recipe row per service
// item (found by serve_code) in a batch-optimistic query, a grid of every
// recipe, a group with the item's code ("..." opens the service picker), name
// and category, and below them the recipe's own boxes, which the form adds.
// Added and edited rows wait until the save writes them in one transaction; a
// confirmed deletion is written at once.
class RecipeForm : public RecordForm {
    Q_OBJECT
public:
    // How FillPickLists treats what a combo already offers.
    enum class PickListFill { Merge, Replace };

    struct Design {
        QString objectName;
        QString caption;
        int position;
        db::Dataset* query;
        QString openSql;
        QString groupTitle;
        PickListFill fill;
        bool locateOnCancel;                 // back to the recipe named in the code box
        std::vector<ui::GridColumn> columns; // the recipe grid
    };

    explicit RecipeForm(QWidget* owner, Design design);
    ~RecipeForm() override;

    void cmd_addClick() override;
    void cmd_editClick() override;
    // After the confirmation (messages 1016 and 1017) the recipe leaves the
    // table and the pick lists are filled again.
    void cmd_deleClick() override;
    void cmd_cancClick() override;
    // Moves to the first recipe whose serve_code equals the find box (exact).
    void cmd_findClick() override;
    // Enter in the find box: the find, where the find button may be pressed.
    void Edit1KeyPress();
    // The service picker; on OK the recipe takes the chosen item, whose name
    // and category follow.
    void BitBtn1Click();
    // The stored values each combo offers, in the order the combos were added.
    void FillPickLists();

    ui::DbGrid* grid() const { return DBGrid1; }
    ui::DbLineEdit* codeBox() const { return codeBox_; }
    ui::DbLineEdit* nameBox() const { return nameBox_; }
    ui::DbLineEdit* typeBox() const { return typeBox_; }
    QPushButton* pickerButton() const { return BitBtn1; }
    QLineEdit* findBox() const { return Edit1; }
    QGroupBox* recipeGroup() const { return group_; }
    // The box or combo bound to column; nullptr when there is none.
    QWidget* boxOf(const QString& column) const;

protected:
    // Message 1020 unless the code names a known service item.
    bool checkBeforeSave() override;

    // For the form's own boxes, below the item's code, name and category.
    QGridLayout* recipeLayout() const { return recipeLayout_; }
    // A combo bound to column offering the stored values of listTable.listColumn.
    ui::DbComboBox* pickCombo(const QString& column, const char* objectName, const QString& listTable,
                              const QString& listColumn, QWidget* parent);
    ui::DbLineEdit* textBox(const QString& column, const char* objectName, QWidget* parent);
    // Runs the creation steps; the form calls it once its boxes are built.
    void start();

private:
    struct PickList {
        ui::DbComboBox* combo;
        QString table;
        QString column;
    };

    void buildItemRow();
    void FormCreate();
    void FormDestroy();
    // The boxes show the current record again (a replaced list blanks its combo's text).
    void reloadBoxes();

    Design design_;
    ui::DataSource* source_;
    ui::DbGrid* DBGrid1;
    QGroupBox* group_;
    QGridLayout* recipeLayout_;
    ui::DbLineEdit* codeBox_ = nullptr;
    ui::DbLineEdit* nameBox_ = nullptr;
    ui::DbLineEdit* typeBox_ = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    std::vector<PickList> pickLists_;
    QList<QWidget*> boxes_;
};
