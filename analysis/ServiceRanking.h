#pragma once

#include "core/FormFrame.h"
#include "platform/ui/DatasetModel.h"

#include <QDate>
#include <memory>
#include <vector>

class QLineEdit;
namespace ui {
class DbDatePicker;
class DbGrid;
} // namespace ui
class RankingReport;

// The consumption ranking the two twin forms share: the amounts due of the
// service bills of a date range summed per group (member card or service
// item), largest first, with the grand total, previewed through the form's
// report, whose heading gives the days the ranking was run for. Changes no
// data. Query follows the query right and print the print right at the
// form's position, set once when the form opens.
class ServiceRankingForm : public RecordForm {
    Q_OBJECT
public:
    // "查询[&F]": ranks DP1 to DP2.
    void cmd_findClick() override;
    // "打印[&P]": previews the report when the total is above 0.
    void cmd_prinClick() override;

protected:
    struct Design {
        QString objectName;
        QString caption;
        int position;
        db::Dataset* query;    // ServSortIQ or ServSortSQ
        QString groupColumn;   // card_no or serve_code
        std::vector<ui::GridColumn> columns;
    };
    explicit ServiceRankingForm(QWidget* owner, Design design);

    // The form's printed ranking over query, its header not yet filled.
    virtual std::unique_ptr<RankingReport> makeReport(db::Dataset& query) const = 0;

private:
    void FormCreate();
    // Sums, per group, the bills dated from DP1 to DP2 (both counted).
    void RunRanking();
    void SumListTotals();

    Design design_;
    QDate rankedFrom_, rankedTo_; // the days of the ranking shown
    ui::DbDatePicker* from_ = nullptr; // DP1
    ui::DbDatePicker* to_ = nullptr;   // DP2
    ui::DbGrid* grid_ = nullptr;       // DBGrid1
    QLineEdit* total_ = nullptr;       // Edit1 "合计金额"
};
