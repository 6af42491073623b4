#pragma once

#include "core/Chooser.h"

// The service picker: every service item by code, found by code or by name.
// Billing, appointments and the recipe forms open it modally and, when it
// closes with QDialog::Accepted, read serve_code of FrmDataMod->ServeFindQ's
// current row (see ChooserForm for the protocol). ServeFindQ stays open
// after the picker is gone.
class TFrmServeFind : public CodeNameChooser {
    Q_OBJECT
public:
    explicit TFrmServeFind(QWidget* owner = nullptr);

    // "选取[&O]" and a double-click on the grid: closes with OK when the list
    // holds a row; with none nothing happens.
    void cmd_prinClick() override;
    // "退出[&X]": closes without a choice.
    void cmd_exitClick() override;
    // The code box changed: the grid moves to the item with that code.
    void Edit1Change() override;
    // The name combo changed: the grid moves to the first listed item of
    // that name and the code box shows its code (empty when none has it).
    void ComboBox1Change() override;
};
