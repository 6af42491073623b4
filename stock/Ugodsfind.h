#pragma once

#include "core/Chooser.h"

// The goods chooser: every goods by code, found by code or by name. The
// stock documents and the service work steps open it modally and, when it
// closes with QDialog::Accepted, read gods_code (and any other column) of
// FrmDataMod->GoodsFindQ's current row; GoodsFindQ stays open on the chosen
// row after the chooser is gone. Any other result changes nothing:
//
//   if (const auto code = chooseField<TFrmGoodsFind>(this, "gods_code"))
//       ... *code, and FrmDataMod->GoodsFindQ.asString("gods_name") ...
class TFrmGoodsFind : public CodeNameChooser {
    Q_OBJECT
public:
    explicit TFrmGoodsFind(QWidget* owner = nullptr);

    // "选取[&O]" and a double-click on the grid: closes with OK when the list
    // holds a row; with none nothing happens.
    void cmd_prinClick() override;
    // "退出[&X]": closes without a choice.
    void cmd_exitClick() override;
    // The code box changed: the grid moves to the goods with that code
    // (trimmed, case aside); without one it stays.
    void Edit1Change() override;
    // The name combo changed: the grid moves to the first listed goods of
    // that name and the code box shows its code (empty when none has it).
    void ComboBox1Change() override;
};
