#pragma once

#include "core/FormFrame.h"

namespace ui {
class DbGrid;
}

// The stock records before documents move stock (storemain over StoreiniQ,
// batch-optimistic): the import gives every goods code without a stock record
// one, and the user types the opening quantity and cost of each. Only those
// two columns can be typed; they stay in StoreiniQ until the save writes them
// or the cancel drops them. Rights position 19.
class TFrmStorIni : public RecordForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 19;

    explicit TFrmStorIni(QWidget* owner = nullptr);
    ~TFrmStorIni() override;

    // The grid is always usable; its quantity and cost take typing in "edit"
    // only, and delete stays usable while editing.
    void SetControlStates() override;

    // "导入": after the confirmation, a stock record (with its code only) for
    // every goods code that has none, written at once and all or nothing;
    // existing records are left as they are.
    void cmd_addClick() override;
    // Puts the current row into edit (an empty list gets a row to type into).
    void cmd_editClick() override;
    // After the confirmation, deletes the current stock record and writes it
    // with every pending change.
    void cmd_deleClick() override;

    ui::DbGrid* grid() const { return grid_; }

protected:
    // Posts the row being edited and writes the batch in one transaction.
    void saveRecord() override;

private:
    void FormCreate();
    void openStockRecords();
    void importMissingGoods();

    ui::DbGrid* grid_ = nullptr;
};
