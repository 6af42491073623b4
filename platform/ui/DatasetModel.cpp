#include "platform/ui/DatasetModel.h"

#include "platform/ui/CharacterLimit.h"
#include "platform/ui/EntryRefusal.h"
#include "platform/ui/Prompt.h"

namespace ui {

DatasetModel::DatasetModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void DatasetModel::setDataset(db::Dataset* dataset)
{
    for (const auto& c : connections_)
        disconnect(c);
    connections_.clear();
    dataset_ = dataset;
    if (dataset) {
        connections_ << connect(dataset, &db::Dataset::rowsReset, this, &DatasetModel::resetRows)
                     << connect(dataset, &db::Dataset::stateChanged, this, &DatasetModel::syncRowCount)
                     << connect(dataset, &db::Dataset::currentChanged, this, &DatasetModel::syncRowCount)
                     << connect(dataset, &db::Dataset::rowUpdated, this, &DatasetModel::rowUpdated)
                     << connect(dataset, &db::Dataset::fieldWritten, this, &DatasetModel::currentRowUpdated)
                     << connect(dataset, &QObject::destroyed, this, &DatasetModel::resetRows);
    }
    resetRows();
}

void DatasetModel::setColumns(std::vector<GridColumn> columns)
{
    columns_ = std::move(columns);
    resetRows();
}

const GridColumn* DatasetModel::columnAt(int column) const
{
    return column >= 0 && size_t(column) < shown_.size() ? &shown_[size_t(column)] : nullptr;
}

int DatasetModel::fieldIndex(int column) const
{
    if (!dataset_ || !columnAt(column))
        return -1;
    if (fieldsGeneration_ != dataset_->generation() || fieldOf_.size() != shown_.size()) {
        fieldOf_.clear();
        for (const GridColumn& c : shown_)
            fieldOf_.push_back(dataset_->fieldIndex(c.field));
        fieldsGeneration_ = dataset_->generation();
    }
    return fieldOf_[size_t(column)];
}

QString DatasetModel::fieldName(int column) const
{
    const GridColumn* c = columnAt(column);
    return c ? c->field : QString();
}

int DatasetModel::columnOf(const QString& field) const
{
    for (size_t i = 0; i < shown_.size(); ++i)
        if (shown_[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

void DatasetModel::resetRows()
{
    beginResetModel();
    shown_ = columns_;
    fieldsGeneration_ = -1;
    if (shown_.empty() && dataset_ && dataset_->isActive()) {
        for (const db::FieldDef& f : dataset_->fields())
            shown_.push_back({f.name, f.name, 0, f.readOnly()});
    }
    rows_ = dataset_ && dataset_->isActive() ? dataset_->recordCount() : 0;
    endResetModel();
}

// Appends, inserts, cancels and deletes change the number of rows without a
// reset of their own; the views learn of it through a reset here.
void DatasetModel::syncRowCount()
{
    const int now = dataset_ && dataset_->isActive() ? dataset_->recordCount() : 0;
    if (now != rows_)
        resetRows();
    else
        currentRowUpdated();
}

void DatasetModel::rowUpdated(int row)
{
    if (row < 0 || row >= rows_ || shown_.empty())
        return;
    emit dataChanged(index(row, 0), index(row, int(shown_.size()) - 1));
}

void DatasetModel::currentRowUpdated()
{
    if (dataset_)
        rowUpdated(dataset_->recNo());
}

int DatasetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int DatasetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(shown_.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    if (!dataset_ || !dataset_->isActive() || dataset_->controlsDisabled())
        return {};
    // Rows the views have not yet been told about (or that are gone) show nothing.
    if (index.row() >= rows_ || index.row() >= dataset_->recordCount())
        return {};
    const int fi = fieldIndex(index.column());
    if (fi < 0)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return dataset_->displayText(index.row(), fi);
    case Qt::EditRole:
        return db::asString(dataset_->value(index.row(), fi));
    case Qt::TextAlignmentRole:
        if (db::isNumeric(dataset_->fields()[size_t(fi)].type))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const GridColumn* c = columnAt(section);
    return c ? QVariant(c->title) : QVariant();
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const GridColumn* c = columnAt(index.column());
    const int fi = fieldIndex(index.column());
    if (c && !c->readOnly && fi >= 0 && !dataset_->fields()[size_t(fi)].readOnly())
        f |= Qt::ItemIsEditable;
    return f;
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int row = index.row();
    const QString field = fieldName(index.column());
    // Unchanged text written back would put the row into edit for nothing.
    if (value.toString() == data(index, Qt::EditRole).toString())
        return false;
    const int fi = fieldIndex(index.column());
    const db::FieldDef& def = dataset_->fields()[size_t(fi)];
    if (const auto reason = fieldRefusal(def, value.toString(), fieldCharacterLimit(*dataset_, fi))) {
        showError(nullptr, refusalText(headerData(index.column(), Qt::Horizontal).toString(), *reason));
        return false;
    }
    return runGuarded(nullptr, [&] {
        if (dataset_->recNo() != row)
            dataset_->setRecNo(row);
        if (!dataset_->isEditing())
            dataset_->edit();
        dataset_->setValue(field, value);
    });
}

} // namespace ui
