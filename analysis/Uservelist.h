#pragma once

#include "core/FormFrame.h"

#include <QDate>

class QCheckBox;
class QLineEdit;
namespace ui {
class DataSource;
class DbComboBox;
class DbDatePicker;
class DbGrid;
} // namespace ui

// Member consumption detail over InsiFeeQ: the service bills of a date range,
// for every item, for one item code or for one item category, with the total
// of their amounts due, printed through TQserveList. Changes no data and
// tests no rights: whoever may open it may query and print. Position 29.
//
// The selection is one of three and choosing one clears the others: ticking
// "全部", choosing an item code from its list, or a category from its list.
// Text typed into a combo box without choosing stands beside the others; the
// query then takes "全部" first, then the item code, then the category; with
// none of them it asks for a selection. The printed heading names the item
// and days the list was queried for, whatever the boxes hold by then.
class TFrmServeList : public RecordForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 29;

    explicit TFrmServeList(QWidget* owner = nullptr);
    ~TFrmServeList() override;

    // "查询&F": lists the bills of the selection and totals them; a failing
    // query is dropped without a message.
    void cmd_addClick() override;
    // "打印&P": previews the list when it has lines.
    void cmd_prinClick() override;

    void CheckBox1Click();
    void ComboBox1Click();
    void ComboBox2Click();

private:
    void buildSelection();
    void buildDetailPanel();
    void FormCreate();
    void FormDestroy();
    void FillServeFindCombos();
    void DataSource1DataChange();
    void SumConsumptionTotal();

    // The item (none for all items or a category) and days of a list.
    struct Heading {
        QString itemCode, itemName;
        QDate from, to;
    };
    // Closes InsiFeeQ and sets the SQL and parameters of the selection, and
    // what its list is of into heading; false when nothing is selected.
    bool prepareQuery(Heading& heading);

    Heading shown_; // of the list shown

    ui::DataSource* source_ = nullptr;   // DataSource1
    QCheckBox* allItems_ = nullptr;      // CheckBox1 "全部"
    ui::DbComboBox* itemCode_ = nullptr; // ComboBox1
    QLineEdit* itemName_ = nullptr;      // Edit1
    ui::DbComboBox* category_ = nullptr; // ComboBox2
    ui::DbDatePicker* from_ = nullptr;   // DP1
    ui::DbDatePicker* to_ = nullptr;     // DP2
    ui::DbGrid* grid_ = nullptr;         // DBGrid1
    ui::DbDatePicker* lineDate_ = nullptr; // DateTimePicker1
    QLineEdit* total_ = nullptr;         // Edit2 "金额"
};
