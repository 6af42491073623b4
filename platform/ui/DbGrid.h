#pragma once

#include "platform/ui/DatasetModel.h"

#include <QStyledItemDelegate>
#include <QTableView>

namespace ui {

class DbGrid;

// The cell editors of a grid: a text cell takes no more characters than its
// field (see fieldCharacterLimit), as a bound text box does.
class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(DbGrid* grid);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

protected:
    // Limits editor (a line edit, or an editable combo's) to the field of index's column.
    void limitEditor(QWidget* editor, const QModelIndex& index) const;

private:
    DbGrid* grid_;
};

// A grid over a dataset whose current row and the dataset's cursor follow
// each other: choosing a row makes it the dataset's current record, and a move
// of the dataset selects its row in the grid. Clicks on cells are announced
// apart from row changes (a click on the current row changes no row).
// Read-only by default; columns marked editable take typed values once the
// grid is made editable, each cell within its field (see CellDelegate), and a
// value its field refuses is named after its column's title. As in a
// spreadsheet, a key typed on a cell starts a new value; F2, a double click or
// a click on the current cell edit the value in place. Tab (and Enter, which
// presses it) goes from one editable cell to the next, row after row, and
// never wraps round to the top.
class DbGrid : public QTableView {
    Q_OBJECT
public:
    explicit DbGrid(QWidget* parent = nullptr);
    // A read-only grid listing dataset's records a whole row at a time;
    // no columns shows every field of the dataset.
    static DbGrid* rowList(QWidget* parent, db::Dataset* dataset, std::vector<GridColumn> columns,
                           const QString& objectName = QStringLiteral("DBGrid1"));

    void setDataset(db::Dataset* dataset);
    db::Dataset* dataset() const { return model_->dataset(); }
    // Sets titles and widths too.
    void setColumns(std::vector<GridColumn> columns);
    DatasetModel* datasetModel() const { return model_; }

    // Whole-row selection, as record lists want.
    void setRowSelect(bool on);
    bool rowSelect() const { return selectionBehavior() == QAbstractItemView::SelectRows; }
    // Editable grids let Tab move between cells; read-only ones pass the focus on.
    void setReadOnly(bool on);
    bool isReadOnly() const { return readOnly_; }
    // Rows typed one after another (document lines, lookup lists): while
    // editable, Down on the final row, or Tab past its final editable cell,
    // appends a row. A new row left untouched is dropped by the dataset when
    // the user moves on, so there is one at a time.
    void setRowEntry(bool on) { rowEntry_ = on; }
    // Hands an open cell editor's text to the dataset and closes the editor.
    void finishEditing();

    // Rows a list shows at the least.
    static constexpr int kRowsShown = 5;
    // Wide enough for every column beside a vertical scroll bar and the row
    // numbers (those of a short list while there are fewer rows), high enough
    // for kRowsShown rows: a layout gives a list room to be read without
    // scrolling sideways.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

signals:
    void cellClicked(int row, const QString& field);
    void cellDoubleClicked(int row, const QString& field);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    // Reached by the keyboard while editable, or made editable while it has
    // the focus, the grid stands on a cell that takes typing.
    void focusInEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    bool editableColumn(int column) const;
    int firstEditableColumn() const;
    int lastEditableColumn() const;
    bool onFinalCell() const;
    bool onUntouchedNewRow() const;
    // While editable: the first editable cell of the row where the current
    // cell takes no typing.
    void standOnEditableCell();
    // A new row at the end, its first editable cell current.
    void appendRow();
    void applyWidths();
    void followDataset();
    void followGrid(const QModelIndex& current);

    DatasetModel* model_;
    bool readOnly_ = true;
    bool rowEntry_ = false;
    bool clickedToEdit_ = false; // a click on the current cell asked for its editor
    bool syncing_ = false;
    int lastColumn_ = 0;     // the column last chosen in the grid
};

} // namespace ui
