#pragma once

#include "stock/CodeRegisterForm.h"

namespace ui {
class DbComboBox;
}

// The goods catalogue (table goods over GoodsQ, batch-optimistic): what is
// typed stays in GoodsQ until the save writes it, or the cancel drops it;
// a delete is written at once. Producer and supplier are companies, chosen
// with the company chooser and shown by name. Rights position 17, the quick
// find by code gated by the find right.
class TFrmGoods : public CodeRegisterForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 17;

    explicit TFrmGoods(QWidget* owner = nullptr);
    ~TFrmGoods() override;

    // Asks, then deletes the current goods from the table at once.
    void cmd_deleClick() override;
    // Drops every pending change.
    void cmd_cancClick() override;
    // Enter in the note box: the focus goes to the save button.
    void DBEdit13KeyPress();
    // "..." of the producer and of the supplier: the chosen company's code
    // into the box, its name beside it.
    void Button1Click();
    void Button2Click();
    // Adds the stored specs, types, kinds and units missing from the four
    // lists, each when it is next used.
    void FillGoodsCombos();

    // The bound box (line edit or combo) of a column of GoodsQ, or nullptr.
    QWidget* boxOf(const QString& column) const;

protected:
    // Writes the batch in one transaction, then offers the new list values.
    void saveRecord() override;

private:
    struct Entry;
    void FormCreate();
    QGroupBox* buildRecordGroup();
    QWidget* buildBox(const Entry& entry, QWidget* parent);
    void chooseCompanyInto(const QString& codeColumn);

    QList<QWidget*> boxes_;
    QList<ui::DbComboBox*> combos_;
};
