#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QLineEdit;
class QRadioButton;
namespace db {
class Dataset;
}

// Pieces the sales statistics and ranking forms share.
namespace outstat {

// Which documents a search covers, in the order the forms offer the choices
// "全部", "销售", "退货厂商".
enum class OutKind { All, Sales, SupplierReturn };

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

// Keeps the widgets of a dataset from following it while a search replaces
// its rows; they show the new rows once the search ends, also when it failed.
class ControlsSuspended {
public:
    explicit ControlsSuspended(db::Dataset& q);
    ~ControlsSuspended();
    ControlsSuspended(const ControlsSuspended&) = delete;
    ControlsSuspended& operator=(const ControlsSuspended&) = delete;

private:
    db::Dataset& q_;
};

// Whether the total quantity box shows something worth printing (above 0).
// Throws db::Error with the number-conversion message when the box does not
// hold a number, as before the first search, when it is empty.
bool hasQuantityToPrint(const QLineEdit* totalQuantityBox);

// A read-only box for a total.
QLineEdit* makeTotalBox(const QString& objectName, QWidget* parent);

} // namespace outstat
