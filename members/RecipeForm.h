#pragma once

#include "members/BatchRecordForm.h"
#include "platform/ui/DatasetModel.h"

#include <span>
#include <vector>

class QGridLayout;
class QGroupBox;
class QPushButton;
namespace ui {
class DbComboBox;
class DbGrid;
class DbLineEdit;
}

// What the perm and the dye recipe forms share: one recipe row per service
// item (found by serve_code) in a batch-optimistic query, a grid of every
// recipe, a group with the item's code ("..." opens the service picker), name
// and category, and below them the recipe's own boxes, which the form adds.
class RecipeForm : public BatchRecordForm {
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

    // A combo of the recipe and where the values it offers are stored.
    struct ComboRow {
        const char* label;
        const char* column;
        const char* objectName;
        const char* listTable;
        const char* listColumn;
    };

    explicit RecipeForm(QWidget* owner, Design design);

    void cmd_addClick() override;
    // After the confirmation (messages 1016 and 1017) the recipe leaves the
    // table and the pick lists are filled again.
    void cmd_deleClick() override;
    void cmd_cancClick() override;
    // Moves to the first recipe whose serve_code equals the find box (case aside).
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

    // For the form's own boxes, below the item's code, name and category:
    // six columns, a label and its box three times over.
    QGridLayout* recipeLayout() const { return recipeLayout_; }
    // A combo bound to column offering the stored values of listTable.listColumn.
    ui::DbComboBox* pickCombo(const QString& column, const char* objectName, const QString& listTable,
                              const QString& listColumn, QWidget* parent);
    ui::DbComboBox* pickCombo(const ComboRow& row, QWidget* parent);
    ui::DbLineEdit* textBox(const QString& column, const char* objectName, QWidget* parent);
    // The combos of rows side by side on line of the recipe layout, each after its label.
    void addCombosSideBySide(std::span<const ComboRow> rows, int line);
    // The combo of row after its label, over columnSpan columns of line.
    void addWideCombo(const ComboRow& row, int line, int columnSpan = 5);
    // "备注" and a text box for column across line.
    void addNoteLine(const QString& column, const char* objectName, int line);
    // Runs the creation steps and sizes the form; the form calls it once its boxes are built.
    void start();

private:
    struct PickList {
        ui::DbComboBox* combo;
        QString table;
        QString column;
    };

    void buildItemRow();
    void FormCreate();
    // The boxes show the current record again (a replaced list blanks its combo's text).
    void reloadBoxes();

    Design design_;
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
