#pragma once

#include "platform/ui/DatasetModel.h"
#include "stock/OutStatForm.h"

#include <QStringList>
#include <memory>
#include <vector>

class OutRankingReport;

// The design both sales rankings share: the lines of the sales and
// supplier-return documents of a date range summed per group (goods or
// customer), the groups sorted by amount or by quantity, largest first, the
// grand totals, and a printed ranking.
class OutRankingForm : public OutStatForm {
    Q_OBJECT
public:
    // "查询[&F]": the groups of the range, with their totals.
    void cmd_findClick() override;
    // "打印[&P]": previews the ranking when the total quantity is above 0;
    // a total box that is not a number (before the first search) is an error.
    void cmd_prinClick() override;
    // The grand totals of the groups listed.
    void SumListTotals() override;

    outstat::ChoiceGroup* sortGroup() const { return RadioGroup1; }
    outstat::ChoiceGroup* kindGroup() const { return RadioGroup2; }
    db::Dataset& dataset() const { return found(); }

    // What tells the two rankings apart.
    struct Design {
        QString objectName, caption;
        int position = 0;
        QStringList selectLines;   // up to and with the date range line
        QString groupLine;
        QString byAmountLine, byQuantityLine;
        std::vector<ui::GridColumn> columns;
        bool goodsTitles = false;  // the first five columns take the goods captions
    };

protected:
    OutRankingForm(QWidget* owner, db::Dataset& query, Design design);

    // The printed ranking over the dataset, its own texts set.
    virtual std::unique_ptr<OutRankingReport> makeReport() const = 0;

private:
    void FormCreate();
    QStringList searchSql() const;

    Design design_;
    outstat::ChoiceGroup* RadioGroup1;
    outstat::ChoiceGroup* RadioGroup2;
};
