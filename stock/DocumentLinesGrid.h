#pragma once

#include "platform/ui/DbGrid.h"

#include <QHash>
#include <QPointer>
#include <QStringList>

// The lines grid of a stock document. Beyond a data grid it has:
//  - an ellipsis button "..." in the cell editor of one column (and
//    Ctrl+Enter on that column), announced by editButtonClicked once the
//    click has unwound, so the handler may open a modal chooser;
//  - pick lists: the cell editor of a column may offer fixed items;
//  - line entry (see DbGrid::setRowEntry);
//  - keyPressed for each key the grid receives; an Enter typed in a cell
//    editor arrives once the typed value has reached the line.
class DocumentLinesGrid : public ui::DbGrid {
    Q_OBJECT
public:
    explicit DocumentLinesGrid(QWidget* parent = nullptr);

    void setEllipsisField(const QString& field) { ellipsisField_ = field; }
    QString ellipsisField() const { return ellipsisField_; }
    void setPickList(const QString& field, const QStringList& items) { pickLists_.insert(field, items); }
    QStringList pickList(const QString& field) const { return pickLists_.value(field); }

    // The field of the current cell; "" when there is none.
    QString currentField() const;
    // The open cell editor, nullptr when none is open.
    QWidget* cellEditor() const { return editor_; }

signals:
    void keyPressed(int key);
    void editButtonClicked();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class DocumentLineDelegate;
    void announceEditButton();

    QString ellipsisField_;
    QHash<QString, QStringList> pickLists_;
    QPointer<QWidget> editor_;
};
