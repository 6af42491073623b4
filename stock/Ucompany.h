#pragma once

#include "stock/CodeRegisterForm.h"

namespace ui {
class DbComboBox;
}

// The company register (table company over CompanyQ, each save written at
// once): suppliers, producers and customers alike. Rights position 18; the
// quick find by code is open to everyone.
class TFrmCompany : public CodeRegisterForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 18;

    explicit TFrmCompany(QWidget* owner = nullptr);
    ~TFrmCompany() override;

    // The type, country, district and province lists: the stored values, each list refilled.
    void FillCompanyCombos();

    // The combo of one of the four listed columns (comp_type, belo_coun, belo_prov, belo_area).
    ui::DbComboBox* comboOf(const QString& column) const;

private:
    void FormCreate();
    QGroupBox* buildRecordGroup();

    QList<ui::DbComboBox*> combos_;
};
