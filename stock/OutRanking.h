#pragma once

#include "core/FormFrame.h"
#include "platform/ui/DatasetModel.h"

#include <QStringList>
#include <memory>
#include <vector>

class QLineEdit;
class OutRankingReport;
namespace ui {
class DbDatePicker;
class DbGrid;
} // namespace ui
namespace outstat {
class ChoiceGroup;
}

// The design both sales rankings share: the lines of the sales and
// supplier-return documents of a date range summed per group (goods or
// customer), the groups sorted by amount or by quantity, largest first, the
// grand totals, and a printed ranking. Only reads. Find and print follow
// PowFind and PowPrin at the form's position.
class OutRankingForm : public RecordForm {
    Q_OBJECT
public:
    // "查询[&F]": the groups of the range, with their totals.
    void cmd_findClick() override;
    // "打印[&P]": previews the ranking when the total quantity is above 0;
    // a total box that is not a number (before the first search) is an error.
    void cmd_prinClick() override;
    // The grand totals of the groups listed, into the two total boxes.
    void SumListTotals();

    ui::DbDatePicker* fromPicker() const { return DateTimePicker1; }
    ui::DbDatePicker* toPicker() const { return DateTimePicker2; }
    outstat::ChoiceGroup* sortGroup() const { return RadioGroup1; }
    outstat::ChoiceGroup* kindGroup() const { return RadioGroup2; }
    QLineEdit* totalQuantityBox() const { return Edit1; }
    QLineEdit* totalAmountBox() const { return Edit2; }
    ui::DbGrid* grid() const { return DBGrid1; }
    db::Dataset& dataset() const { return query_; }

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

    db::Dataset& query_;
    Design design_;
    ui::DbDatePicker* DateTimePicker1;
    ui::DbDatePicker* DateTimePicker2;
    outstat::ChoiceGroup* RadioGroup1;
    outstat::ChoiceGroup* RadioGroup2;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    ui::DbGrid* DBGrid1;
};
