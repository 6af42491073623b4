#pragma once

#include "core/FormFrame.h"
#include "stock/Rstore.h"

class QCheckBox;
class QComboBox;
namespace ui {
class DbComboBox;
}
class QLineEdit;
namespace ui {
class DbGrid;
}

// The stock query: the stock records (storemain over StoreQ) of one goods
// code, of one goods kind or all of them, in code order, with their total
// quantity and total cost, and the printed stock report over the rows listed.
// The form only reads. The inputs select one filter at a time: a code (typed,
// or taken from a chosen name), else a kind, else everything. Rights position
// 20: the query follows the find right, printing the print right.
class TFrmStore : public RecordForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 20;

    explicit TFrmStore(QWidget* owner = nullptr);

    // Lists the records the inputs select and totals them. A failing query
    // reaches the error box; the totals then keep what they showed.
    void cmd_findClick() override;
    // Previews the stock report over the rows listed, with the shown totals.
    void cmd_prinClick() override;

    // Code box typed in: the listed record of that code becomes current, and
    // the kind and "全部" give way.
    void Edit1Change();
    // A name chosen or typed: its goods code goes into the code box, as if typed.
    void ComboBox1Change();
    // A kind chosen or typed: the code and the name give way.
    void ComboBox2Change();
    // "全部" clicked: code, name and kind are emptied.
    void CheckBox1Click();
    // cost_tota of the row: quantity × cost.
    void CalcStockCost(db::Dataset& q);

    ui::DbGrid* grid() const { return grid_; }
    QLineEdit* codeBox() const { return Edit1; }
    ui::DbComboBox* nameCombo() const { return ComboBox1; }
    ui::DbComboBox* kindCombo() const { return ComboBox2; }
    QCheckBox* allBox() const { return CheckBox1; }
    QLineEdit* totalQuantityBox() const { return Edit2; }
    QLineEdit* totalCostBox() const { return Edit3; }
    const TRptstore& stockReport() const { return Rptstore; }

private:
    void FormCreate();
    QWidget* buildInputs();
    void locateCode(const QString& code);
    static void empty(QComboBox* combo);

    QLineEdit* Edit1 = nullptr;
    ui::DbComboBox* ComboBox1 = nullptr;
    ui::DbComboBox* ComboBox2 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    ui::DbGrid* grid_ = nullptr;
    TRptstore Rptstore;
};
