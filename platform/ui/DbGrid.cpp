#include "platform/ui/DbGrid.h"

#include "platform/ui/CharacterLimit.h"
#include "platform/ui/Prompt.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <utility>

namespace ui {

namespace {

// The text box of a cell editor: the editor itself, or the one inside a
// combo or spin box.
QLineEdit* textBoxOf(QWidget* editor)
{
    auto* text = qobject_cast<QLineEdit*>(editor);
    return text ? text : editor->findChild<QLineEdit*>();
}

// The room the row numbers of a short list take (a digit), which the grid
// asks for from the start: a list filling with rows, or emptied, keeps its
// size and the window around it.
int shortListNumbersWidth(const QHeaderView* header)
{
    QStyleOptionHeader option;
    option.initFrom(header);
    option.orientation = Qt::Vertical;
    option.text = QStringLiteral("9");
    QFont font = header->font();
    font.setBold(true); // as the header measures its sections
    option.fontMetrics = QFontMetrics(font);
    return header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header).width();
}

} // namespace

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
    QLineEdit* edit = textBoxOf(editor);
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

bool DbGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (state() == EditingState)
        return QTableView::edit(index, trigger, event);
    // A click on the current cell opens its editor a moment later, from a timer.
    const bool clicked = std::exchange(clickedToEdit_, false) && trigger == AllEditTriggers;
    const bool inPlace = clicked || trigger == EditKeyPressed || trigger == DoubleClicked;
    // A typed key goes to the editor once the cell's value is selected, and replaces it.
    const bool typed = trigger == AnyKeyPressed && event;
    if (!QTableView::edit(index, trigger, typed ? nullptr : event))
        return false;
    QWidget* editor = indexWidget(index);
    if (!editor) {
        clickedToEdit_ = trigger == SelectedClicked;
        return true;
    }
    if (QLineEdit* text = textBoxOf(editor)) {
        if (inPlace)
            text->end(false);
        else
            text->selectAll();
    }
    if (typed)
        QCoreApplication::sendEvent(editor->focusProxy() ? editor->focusProxy() : editor, event);
    return true;
}

bool DbGrid::editableColumn(int column) const
{
    if (column < 0 || column >= model()->columnCount())
        return false;
    const int row = std::max(currentIndex().row(), 0);
    return model()->flags(model()->index(row, column)) & Qt::ItemIsEditable;
}

int DbGrid::firstEditableColumn() const
{
    for (int c = 0; c < model()->columnCount(); ++c)
        if (editableColumn(c))
            return c;
    return 0;
}

int DbGrid::lastEditableColumn() const
{
    for (int c = model()->columnCount() - 1; c >= 0; --c)
        if (editableColumn(c))
            return c;
    return -1;
}

bool DbGrid::onFinalCell() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() && i.row() == model()->rowCount() - 1 && i.column() >= lastEditableColumn();
}

bool DbGrid::onUntouchedNewRow() const
{
    const db::Dataset* ds = dataset();
    return ds && ds->state() == db::DatasetState::Insert && !ds->modified();
}

void DbGrid::finishEditing()
{
    if (state() != EditingState)
        return;
    QWidget* editor = indexWidget(currentIndex());
    if (!editor)
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void DbGrid::appendRow()
{
    db::Dataset* ds = dataset();
    finishEditing();
    if (!ds || !ds->isActive() || onUntouchedNewRow())
        return;
    if (!runGuarded(this, [ds] { ds->append(); }))
        return;
    setCurrentIndex(model()->index(ds->recNo(), firstEditableColumn()));
}

void DbGrid::keyPressEvent(QKeyEvent* e)
{
    if (rowEntry_ && !readOnly_ && e->modifiers() == Qt::NoModifier) {
        const bool onFinalRow = currentIndex().row() == model()->rowCount() - 1;
        if ((e->key() == Qt::Key_Down && onFinalRow) || (e->key() == Qt::Key_Tab && onFinalCell())) {
            appendRow();
            e->accept();
            return;
        }
    }
    QTableView::keyPressEvent(e);
}

void DbGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Tab in the editor of the final cell: a new row, or (where rows are not
    // typed in) the cell stays, rather than its editor opening again.
    if (hint == QAbstractItemDelegate::EditNextItem && !readOnly_ && onFinalCell()) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        if (rowEntry_)
            appendRow();
        return;
    }
    QTableView::closeEditor(editor, hint);
}

QModelIndex DbGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (readOnly_ || (action != MoveNext && action != MovePrevious) || !currentIndex().isValid())
        return QTableView::moveCursor(action, modifiers);
    // From one editable cell to the next, row after row; the first and the
    // final cell lead nowhere.
    const int step = action == MoveNext ? 1 : -1;
    const int columns = model()->columnCount();
    const int rows = model()->rowCount();
    int row = currentIndex().row();
    int column = currentIndex().column();
    for (int tried = 0; tried < columns * 2; ++tried) {
        column += step;
        if (column >= columns) {
            column = 0;
            ++row;
        } else if (column < 0) {
            column = columns - 1;
            --row;
        }
        if (row < 0 || row >= rows)
            return currentIndex();
        if (editableColumn(column))
            return model()->index(row, column);
    }
    return currentIndex();
}

QSize DbGrid::minimumSizeHint() const
{
    const int frame = 2 * frameWidth();
    const QHeaderView* rowNumbers = verticalHeader();
    const int numbersWidth =
        rowNumbers->isHidden() ? 0 : std::max(shortListNumbersWidth(rowNumbers), rowNumbers->sizeHint().width());
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
