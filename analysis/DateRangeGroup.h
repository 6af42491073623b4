#pragma once

#include <QGroupBox>
#include <QHBoxLayout>

namespace ui {
class DbDatePicker;
}

// The "日期范围" group of the analysis forms: in one row, the first day DP1
// and the last day DP2, each after its caption.
struct DateRangeGroup {
    // The group and its widgets are created on parent.
    DateRangeGroup(QWidget* parent, const QString& fromCaption, const QString& toCaption);

    QGroupBox* group;
    QHBoxLayout* row;
    ui::DbDatePicker* from;
    ui::DbDatePicker* to;
};
