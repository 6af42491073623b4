#include "platform/ui/DbGrid.h"

#include "platform/ui/CharacterLimit.h"
#include "platform/ui/Prompt.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>

namespace ui {

CellDelegate::CellDelegate(DbGrid* grid)
    : QStyledItemDelegate(grid), grid_(grid)
{
}

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    limitEditor(editor, index);
    return editor;
}

void CellDelegate::limitEditor(QWidget* editor, const QModelIndex& index) const
{
    auto* edit = qobject_cast<QLineEdit*>(editor);
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        edit = combo->lineEdit();
    const db::Dataset* ds = grid_->dataset();
    if (!edit || !ds)
        return;
    if (const int limit = fieldCharacterLimit(*ds, grid_->datasetModel()->fieldIndex(index.column())); limit > 0)
        limitCharactersShowing(edit, limit, index.data(Qt::EditRole).toString());
}

DbGrid::DbGrid(QWidget* parent)
    : QTableView(parent), model_(new DatasetModel(this))
{
    setModel(model_);
    setItemDelegate(new CellDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setReadOnly(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { followGrid(current); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        applyWidths();
        followDataset();
        updateGeometry(); // the row numbers may take more digits
    });
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& i) {
        emit cellClicked(i.row(), model_->fieldName(i.column()));
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) {
        emit cellDoubleClicked(i.row(), model_->fieldName(i.column()));
    });
}

DbGrid* DbGrid::rowList(QWidget* parent, db::Dataset* dataset, std::vector<GridColumn> columns,
                        const QString& objectName)
{
    auto* grid = new DbGrid(parent);
    grid->setObjectName(objectName);
    grid->setRowSelect(true); // read-only already, as every grid starts
    grid->setDataset(dataset);
    grid->setColumns(std::move(columns));
    return grid;
}

void DbGrid::setDataset(db::Dataset* dataset)
{
    if (this->dataset())
        disconnect(this->dataset(), &db::Dataset::currentChanged, this, nullptr);
    model_->setDataset(dataset);
    if (dataset)
        connect(dataset, &db::Dataset::currentChanged, this, &DbGrid::followDataset);
    followDataset();
}

void DbGrid::setColumns(std::vector<GridColumn> columns)
{
    model_->setColumns(std::move(columns));
}

void DbGrid::setRowSelect(bool on)
{
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void DbGrid::setReadOnly(bool on)
{
    readOnly_ = on;
    setEditTriggers(on ? QAbstractItemView::NoEditTriggers
                       : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setTabKeyNavigation(!on);
}

QSize DbGrid::minimumSizeHint() const
{
    const int frame = 2 * frameWidth();
    const QHeaderView* rowNumbers = verticalHeader();
    const int numbersWidth = rowNumbers->isHidden() ? 0 : rowNumbers->sizeHint().width();
    const int titlesHeight = horizontalHeader()->isHidden() ? 0 : horizontalHeader()->sizeHint().height();
    return {frame + numbersWidth + horizontalHeader()->length() + verticalScrollBar()->sizeHint().width(),
            frame + titlesHeight + kRowsShown * rowNumbers->defaultSectionSize()};
}

QSize DbGrid::sizeHint() const
{
    return minimumSizeHint().expandedTo(QSize(0, QTableView::sizeHint().height()));
}

void DbGrid::applyWidths()
{
    const auto& columns = model_->columns();
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].width > 0)
            setColumnWidth(int(i), columns[i].width);
    updateGeometry();
}

// Selects the dataset's current row, keeping the column the user was in.
void DbGrid::followDataset()
{
    const db::Dataset* ds = dataset();
    if (!ds || ds->controlsDisabled() || syncing_)
        return;
    const int row = ds->recNo();
    if (row < 0 || row >= model_->rowCount()) {
        selectionModel()->clearCurrentIndex();
        return;
    }
    // A reset on the way (an edit cancelled by the move) loses the current
    // cell: the column the user went to is kept.
    const int column = currentIndex().isValid() ? currentIndex().column() : lastColumn_;
    syncing_ = true;
    setCurrentIndex(model_->index(row, column));
    scrollTo(currentIndex());
    syncing_ = false;
}

void DbGrid::followGrid(const QModelIndex& current)
{
    db::Dataset* ds = dataset();
    if (syncing_ || !ds || !current.isValid() || ds->recNo() == current.row())
        return;
    lastColumn_ = current.column();
    syncing_ = true;
    const bool moved = runGuarded(this, [&] { ds->setRecNo(current.row()); });
    syncing_ = false;
    // A refused move (an edit that cannot be posted) leaves the grid on the
    // dataset's row; a move that reset the model (an edit cancelled on the
    // way) leaves the grid without a current cell until it follows again.
    if (!moved || ds->recNo() != current.row() || !currentIndex().isValid())
        QMetaObject::invokeMethod(this, &DbGrid::followDataset, Qt::QueuedConnection);
}

} // namespace ui
