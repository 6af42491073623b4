#pragma once

#include "platform/db/Dataset.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <vector>

namespace ui {

// One column of a grid: the field it shows, its title, its width in pixels
// (0: the view's default) and whether the user may type into it.
struct GridColumn {
    QString field;
    QString title;
    int width = 0;
    bool readOnly = true;
};

// The rows of a dataset as a table. Cells show the field's display text;
// editable cells write through the dataset: the row becomes current, the
// dataset goes into edit (unless it is editing already) and the field is set.
// Posting is left to the dataset's owner. Nothing is announced while the
// dataset's controls are disabled; the dataset resets the model afterwards.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(QObject* parent = nullptr);

    void setDataset(db::Dataset* dataset);
    db::Dataset* dataset() const { return dataset_; }

    // Without columns set, every field of the dataset is shown, titled by its name.
    void setColumns(std::vector<GridColumn> columns);
    const std::vector<GridColumn>& columns() const { return columns_; }
    // The columns as shown now: those set, or one per field of the open dataset.
    const std::vector<GridColumn>& shownColumns() const { return shown_; }
    // The column's field index in the dataset; -1 when it has no such field.
    int fieldIndex(int column) const;
    QString fieldName(int column) const;
    // The column showing the field; -1 when none does.
    int columnOf(const QString& field) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A value the field cannot hold (see fieldRefusal) is refused in the error
    // box after the column's title, and errors of the dataset are shown
    // there too; false then.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    const GridColumn* columnAt(int column) const;
    void resetRows();
    void rowUpdated(int row);
    void syncRowCount();
    void currentRowUpdated();

    QPointer<db::Dataset> dataset_;
    std::vector<GridColumn> columns_;
    std::vector<GridColumn> shown_;  // columns_, or one per field of the dataset
    int rows_ = 0;                   // as last announced to views
    // Each shown column's field index, for the dataset's generation named:
    // views ask for it with every cell they paint.
    mutable std::vector<int> fieldOf_;
    mutable int fieldsGeneration_ = -1;
    QList<QMetaObject::Connection> connections_;
};

} // namespace ui
