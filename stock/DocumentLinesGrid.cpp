#include "stock/DocumentLinesGrid.h"

#include "platform/ui/Prompt.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <QToolButton>

namespace {

// A line edit shows an action's icon only; the ellipsis is drawn as one.
QIcon ellipsisIcon(const QWidget* like)
{
    const int side = like->fontMetrics().height();
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setFont(like->font());
    painter.setPen(like->palette().color(QPalette::ButtonText));
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("..."));
    return QIcon(pixmap);
}

} // namespace

// Cell editors: the ellipsis column gets a line edit with the button, a
// column with a pick list an editable combo of its items, text columns a
// limit of their size.
class DocumentLineDelegate : public ui::CellDelegate {
public:
    explicit DocumentLineDelegate(DocumentLinesGrid* grid) : ui::CellDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QString field = grid_->datasetModel()->fieldName(index.column());
        QWidget* editor = nullptr;
        if (const QStringList items = grid_->pickList(field); !items.isEmpty()) {
            auto* combo = new QComboBox(parent);
            combo->setEditable(true);
            combo->setFrame(false);
            combo->addItems(items);
            editor = combo;
        } else {
            editor = QStyledItemDelegate::createEditor(parent, option, index);
        }
        limitEditor(editor, index);
        if (auto* edit = qobject_cast<QLineEdit*>(editor); edit && field == grid_->ellipsisField())
            addEllipsis(edit);
        grid_->editor_ = editor;
        return editor;
    }

private:
    void addEllipsis(QLineEdit* edit) const
    {
        QAction* action = edit->addAction(ellipsisIcon(edit), QLineEdit::TrailingPosition);
        action->setText(QStringLiteral("..."));
        if (auto* button = edit->findChild<QToolButton*>())
            button->setObjectName(QStringLiteral("EditButton"));
        QObject::connect(action, &QAction::triggered, grid_, [grid = grid_] { grid->announceEditButton(); });
    }

    DocumentLinesGrid* grid_;
};

DocumentLinesGrid::DocumentLinesGrid(QWidget* parent)
    : ui::DbGrid(parent)
{
    setItemDelegate(new DocumentLineDelegate(this));
}

QString DocumentLinesGrid::currentField() const
{
    return currentIndex().isValid() ? datasetModel()->fieldName(currentIndex().column()) : QString();
}

void DocumentLinesGrid::announceEditButton()
{
    // Queued: the button that was clicked lives in the cell editor, which a
    // modal chooser closes (and deletes) while it is shown.
    QMetaObject::invokeMethod(this, [this] { emit editButtonClicked(); }, Qt::QueuedConnection);
}

bool DocumentLinesGrid::editableColumn(int column) const
{
    if (column < 0 || column >= model()->columnCount())
        return false;
    const int row = std::max(currentIndex().row(), 0);
    return model()->flags(model()->index(row, column)) & Qt::ItemIsEditable;
}

int DocumentLinesGrid::lastEditableColumn() const
{
    for (int c = model()->columnCount() - 1; c >= 0; --c)
        if (editableColumn(c))
            return c;
    return -1;
}

bool DocumentLinesGrid::onFinalCell() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() && i.row() == model()->rowCount() - 1 && i.column() >= lastEditableColumn();
}

bool DocumentLinesGrid::onUntouchedNewLine() const
{
    const db::Dataset* ds = dataset();
    return ds && ds->state() == db::DatasetState::Insert && !ds->modified();
}

void DocumentLinesGrid::finishEditing()
{
    if (state() != EditingState || !editor_)
        return;
    QWidget* editor = editor_;
    editor_ = nullptr;
    commitData(editor);
    DbGrid::closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void DocumentLinesGrid::appendLine()
{
    db::Dataset* ds = dataset();
    finishEditing();
    if (!ds || !ds->isActive() || onUntouchedNewLine())
        return;
    if (!ui::runGuarded(this, [ds] { ds->append(); }))
        return;
    const int column = std::max(datasetModel()->columnOf(ellipsisField_), 0);
    setCurrentIndex(model()->index(ds->recNo(), column));
}

void DocumentLinesGrid::keyPressEvent(QKeyEvent* e)
{
    const int key = e->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter && (e->modifiers() & Qt::ControlModifier)) {
        if (!isReadOnly() && !ellipsisField_.isEmpty() && currentField() == ellipsisField_)
            announceEditButton();
        e->accept();
        return;
    }
    if (enter && state() == EditingState) {
        // The editor hands its value over by a queued call; the handler comes after it.
        QMetaObject::invokeMethod(this, [this, key] { emit keyPressed(key); }, Qt::QueuedConnection);
    } else {
        emit keyPressed(key);
    }
    if (!isReadOnly() && e->modifiers() == Qt::NoModifier) {
        const bool onFinalLine = currentIndex().row() == model()->rowCount() - 1;
        if ((key == Qt::Key_Down && onFinalLine) || (key == Qt::Key_Tab && onFinalCell())) {
            appendLine();
            e->accept();
            return;
        }
    }
    DbGrid::keyPressEvent(e);
}

void DocumentLinesGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == editor_)
        editor_ = nullptr;
    if (hint == QAbstractItemDelegate::EditNextItem && !isReadOnly() && onFinalCell()) {
        DbGrid::closeEditor(editor, QAbstractItemDelegate::NoHint);
        appendLine();
        return;
    }
    DbGrid::closeEditor(editor, hint);
}

QModelIndex DocumentLinesGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (isReadOnly() || (action != MoveNext && action != MovePrevious) || !currentIndex().isValid())
        return DbGrid::moveCursor(action, modifiers);
    // Tab goes from one editable cell to the next, line after line.
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
