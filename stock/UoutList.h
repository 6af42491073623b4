#pragma once

#include "stock/OutStatForm.h"

namespace ui {
class DbComboBox;
}

// "出货统计": the lines of the sales and supplier-return documents of a date
// range over OutListQ, optionally for one goods or for one customer (the two
// exclude each other), with the total quantity and amount, and the printed
// list. Rights position 25. Every line of a document is listed and summed,
// also two lines alike.
class TFrmOutList : public OutStatForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 25;

    explicit TFrmOutList(QWidget* owner = nullptr);

    // "查询[&F]": the lines of the range and criteria, with their totals.
    void cmd_findClick() override;
    // "打印[&P]": previews the list when the total quantity is above 0; a
    // total box that is not a number (before the first search) is an error.
    void cmd_prinClick() override;

    // A goods code, goods name, company code or company name chosen or typed
    // (not empty): the other combos are emptied and the partner of the
    // changed one shows the looked-up code or name.
    void ComboBox1Change();
    void ComboBox2Change();
    void ComboBox3Change();
    void ComboBox4Change();

    // The four combos' lists: every distinct goods code and name, company code and name.
    void FillListCombos();
    // Total quantity and amount of the lines listed.
    void SumListTotals() override;

    ui::DbComboBox* goodsCodeCombo() const { return ComboBox1; }
    ui::DbComboBox* goodsNameCombo() const { return ComboBox2; }
    ui::DbComboBox* companyCodeCombo() const { return ComboBox3; }
    ui::DbComboBox* companyNameCombo() const { return ComboBox4; }
    outstat::ChoiceGroup* kindGroup() const { return RadioGroup1; }

private:
    void FormCreate();
    // sub_tota := sub_amou × unit_pric, for OutListQ while the form is open.
    void CalcLineTotal(db::Dataset& q);
    QStringList searchSql() const;
    // Empties every combo but keep, quietly.
    void clearCombosBut(const ui::DbComboBox* keep);
    // The combo changed (when not empty) shows its partner's looked-up value.
    void pairChanged(ui::DbComboBox* changed, ui::DbComboBox* partner, const QString& table,
                     const QString& keyColumn, const QString& resultColumn);

    ui::DbComboBox* ComboBox1;
    ui::DbComboBox* ComboBox2;
    ui::DbComboBox* ComboBox3;
    ui::DbComboBox* ComboBox4;
    outstat::ChoiceGroup* RadioGroup1;
};
