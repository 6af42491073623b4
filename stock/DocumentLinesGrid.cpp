#include "stock/DocumentLinesGrid.h"

#include "platform/ui/CharacterLimit.h"
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
    setRowEntry(true);
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
    DbGrid::keyPressEvent(e);
}

void DocumentLinesGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == editor_)
        editor_ = nullptr;
    DbGrid::closeEditor(editor, hint);
}
