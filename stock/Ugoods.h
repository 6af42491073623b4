#pragma once

#include "core/FormFrame.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
namespace ui {
class DataSource;
class DbComboBox;
class DbGrid;
class DbLineEdit;
}

// The goods catalogue (table goods over GoodsQ, batch-optimistic): what is
// typed stays in GoodsQ until the save writes it, or the cancel drops it;
// a delete is written at once. Producer and supplier are companies, chosen
// with the company chooser and shown by name. Rights position 17, the quick
// find by code gated by the find right.
class TFrmGoods : public RecordForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 17;

    explicit TFrmGoods(QWidget* owner = nullptr);
    ~TFrmGoods() override;

    // Edits the goods whose code is in the code box (trimmed); a blank box does nothing.
    void cmd_editClick() override;
    // Asks, then deletes the current goods from the table at once.
    void cmd_deleClick() override;
    // Drops every pending change.
    void cmd_cancClick() override;
    // Moves to the goods whose code is in the find box (trimmed, exact);
    // quiet when there is none.
    void cmd_findClick() override;
    // Enter in the find box: the find.
    void Edit1KeyPress();
    // Enter in the note box: the focus goes to the save button.
    void DBEdit13KeyPress();
    // "..." of the producer and of the supplier: the chosen company's code
    // into the box, its name beside it.
    void Button1Click();
    void Button2Click();
    // Adds the stored specs, types, kinds and units missing from the four lists.
    void FillGoodsCombos();

    ui::DbGrid* grid() const { return grid_; }
    QGroupBox* recordGroup() const { return recordGroup_; }
    QLineEdit* findBox() const { return Edit1; }
    // The bound box (line edit or combo) of a column of GoodsQ, or nullptr.
    QWidget* boxOf(const QString& column) const;
    ui::DbLineEdit* codeBox() const { return codeBox_; }

protected:
    // A blank code stops the save without a message.
    bool checkBeforeSave() override;
    // Writes the batch in one transaction, then offers the new list values.
    void saveRecord() override;

private:
    struct Entry;
    void FormCreate();
    QGroupBox* buildRecordGroup();
    QGroupBox* buildFindGroup();
    QWidget* buildBox(const Entry& entry, QWidget* parent);
    void chooseCompanyInto(const QString& codeColumn);

    ui::DataSource* source_;
    ui::DbGrid* grid_;
    QGroupBox* recordGroup_ = nullptr;
    ui::DbLineEdit* codeBox_ = nullptr;
    QList<QWidget*> boxes_;
    QList<ui::DbComboBox*> combos_;
    QLineEdit* Edit1 = nullptr;
};
