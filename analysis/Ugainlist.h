#pragma once

#include "core/FormFrame.h"

#include <array>

class QLineEdit;
namespace ui {
class DbDatePicker;
class DbGrid;
} // namespace ui

// "利润分析": over a date range, goods sales (every outmain document), service
// takings (amounts due of service bills), other income, less goods purchases
// (every inmain document) and other expenses, each listed and summed in its
// own grid and box (Edit1 to Edit5), and the profit in Edit6 from the rounded
// figures shown. Changes no data; any user who may open it may run it.
// Position 35.
class TFrmGainList : public RecordForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 35;

    explicit TFrmGainList(QWidget* owner = nullptr);
    ~TFrmGainList() override;

    // "查询&F": runs the five lines and the profit. A line that fails shows
    // no figure, and then no profit is shown either; nothing is reported.
    void cmd_addClick() override;

private:
    struct Line {
        const char* caption;
        db::Dataset* query;
        QStringList sql;
        QString amountColumn;
        ui::DbGrid* grid = nullptr;
        QLineEdit* box = nullptr;
    };

    void FormCreate();
    void FormDestroy();
    // Lists and sums one line; false when it failed.
    bool runLine(Line& line);
    void showProfit();

    std::array<Line, 5> lines_;
    ui::DbDatePicker* from_ = nullptr; // DP1
    ui::DbDatePicker* to_ = nullptr;   // DP2
    QLineEdit* profit_ = nullptr;      // Edit6
};
