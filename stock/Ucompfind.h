#pragma once

#include "core/Chooser.h"

#include <optional>

class QGroupBox;
namespace ui {
class DataSource;
}

// The company chooser: every company by code, with the contact data of the
// current one. Openers show it modally (owner: the opening form) and, when it
// closes with QDialog::Accepted, read comp_code and comp_name of
// FrmDataMod->CompanyQ's current row; CompanyQ stays open after the chooser
// is gone. Choosing needs no row: over an empty list the chooser closes with
// OK on an empty code and name. ChooseCompany below does all of it.
class TFrmCompFind : public ChooserForm {
    Q_OBJECT
public:
    explicit TFrmCompFind(QWidget* owner = nullptr);

    // "选择[&O]" and a double-click on the grid: closes with OK, rows or none.
    void BitBtn1Click();
    // "取消[&C]": closes without a choice.
    void BitBtn2Click();

    QGroupBox* detailGroup() const { return detailGroup_; }

private:
    void FormCreate();
    QGroupBox* buildDetailGroup();

    ui::DataSource* source_;
    QGroupBox* detailGroup_ = nullptr;
};

struct ChosenCompany {
    QString code;
    QString name;
};

// Shows the company chooser over owner; the chosen company's code and name,
// nothing when it was closed without a choice or on no company (OK over an
// empty list): the opener keeps the company it had.
std::optional<ChosenCompany> ChooseCompany(QWidget* owner);
