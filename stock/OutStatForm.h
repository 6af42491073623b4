#pragma once

#include "core/FormFrame.h"
#include "platform/ui/DatasetModel.h"

#include <QGroupBox>
#include <QStringList>
#include <QVariantMap>
#include <vector>

class QLineEdit;
class QRadioButton;
namespace ui {
class DbDatePicker;
class DbGrid;
} // namespace ui

// Pieces the sales statistics and ranking forms share.
namespace outstat {

// Which documents a search covers, in the order the forms offer the choices
// "全部", "销售", "退货厂商".
enum class OutKind { All, Sales, SupplierReturn };

// Adds the bill_type condition of kind to a search, lead and then
// "and bill_type='Out' " or "and bill_type='retu' "; nothing for every kind.
void addKindCondition(QStringList& sql, OutKind kind, const QString& lead = QString());

// A group box of exclusive choices, one radio button per text; the first is chosen.
class ChoiceGroup : public QGroupBox {
public:
    ChoiceGroup(const QString& title, const QStringList& choices, QWidget* parent = nullptr);

    int chosen() const;
    void choose(int index);
    QRadioButton* button(int index) const { return buttons_.at(size_t(index)); }

private:
    std::vector<QRadioButton*> buttons_;
};

// Whether the total quantity box shows something worth printing (above 0);
// not before the first search, when the box is empty.
bool hasQuantityToPrint(const QLineEdit* totalQuantityBox);

// A read-only box for a total.
QLineEdit* makeTotalBox(const QString& objectName, QWidget* parent);

} // namespace outstat

// The frame of the sales statistics and rankings: "查询[&F]", "打印[&P]" and
// "退出[&X]", find and print following PowFind and PowPrin at the position,
// closable at any time; a date range, the total quantity and amount boxes and
// the grid over what a search finds. Only reads. The form creates these
// pieces in its own order and places them.
class OutStatForm : public RecordForm {
    Q_OBJECT
public:
    // The totals of the rows listed, into the two total boxes.
    virtual void SumListTotals() = 0;

    ui::DbDatePicker* fromPicker() const { return DateTimePicker1; }
    ui::DbDatePicker* toPicker() const { return DateTimePicker2; }
    QLineEdit* totalQuantityBox() const { return Edit1; }
    QLineEdit* totalAmountBox() const { return Edit2; }
    ui::DbGrid* grid() const { return DBGrid1; }

protected:
    OutStatForm(QWidget* owner, const QString& objectName, const QString& caption, int position, db::Dataset& found);

    db::Dataset& found() const { return found_; }

    // The group "日期范围": DateTimePicker1 under fromLabel, DateTimePicker2 under toLabel.
    QGroupBox* makeDateRange(const QString& fromLabel, const QString& toLabel);
    // The read-only total boxes Edit1 (quantity) and Edit2 (amount).
    void makeTotalBoxes(QWidget* parent);
    // DBGrid1 over the rows found, at the foot of the body, taking its spare height.
    void addResultGrid(std::vector<ui::GridColumn> columns);
    void showTotals(double quantity, double amount);

    // Reopens the rows found on sql, the range bound as :date1 and :date2
    // and further values by name; its widgets keep still meanwhile. Then the
    // totals are summed and the first row becomes current.
    void search(const QStringList& sql, const QVariantMap& more = {});

private:
    db::Dataset& found_;
    ui::DbDatePicker* DateTimePicker1 = nullptr;
    ui::DbDatePicker* DateTimePicker2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    ui::DbGrid* DBGrid1 = nullptr;
};
