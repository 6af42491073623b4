#pragma once

#include "core/FormFrame.h"

#include <memory>
#include <vector>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QTabWidget;
class QTemporaryFile;
namespace ui {
class DataSource;
class DbGrid;
class DbLineEdit;
}

// "基本设置": the shop's own data and sales commission rate (the one row of
// userinfo, over UserQ), the nine short lists of baseitem that other forms
// offer in their choice boxes (one batch-saved grid each), and the paper and
// line settings of the printed sales documents, kept in "system.ini".
//
// Saving writes the shop row, every list and the file all or nothing, then
// sets the program-wide print settings and commission rate.
// Rights position 2; the form closes at any time, and closing or cancelling
// discards whatever is pending in the shared queries.
class TFrmUser : public RecordForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 2;

    explicit TFrmUser(QWidget* owner = nullptr);
    ~TFrmUser() override;

    // Besides the frame's rule: the nine list grids take typing only while editing.
    void SetControlStates() override;
    // Puts the shop row into edit and gives every empty list a new row.
    void cmd_editClick() override;
    // Checks the paper size and the four numbers before anything is written;
    // a failure of the database or the file shows the error box, writes
    // nothing and stays in "edit".
    void cmd_saveClick() override;
    // Drops what is pending in the shop row and the lists and shows the print
    // settings as the file holds them.
    void cmd_cancClick() override;
    // The paper type chosen: "A4" 210 × 297 and "默认" 218 × 140, both boxes
    // locked; "自定义" frees them, keeping their values.
    void ComboBox1Change();

    void done(int result) override;

    // The boxes of the shop row, by column (user_posi … bill_bottom, sale_value).
    ui::DbLineEdit* shopBox(const QString& column) const;
    QComboBox* paperBox() const { return paperBox_; }
    QLineEdit* widthBox() const { return widthBox_; }
    QLineEdit* lengthBox() const { return lengthBox_; }
    QLineEdit* linesBox() const { return linesBox_; }
    QGroupBox* companyGroup() const { return companyGroup_; }
    QGroupBox* printGroup() const { return printGroup_; }
    QTabWidget* listTabs() const { return listTabs_; }
    // The grid of a list, by its query's name (FeeDefiQ, MoneDefQ, KindDefiQ …).
    ui::DbGrid* listGrid(const QString& queryName) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct ListGrid {
        QString queryName;
        ui::DbGrid* grid;
    };
    // The typed print settings, each a whole number.
    struct PrintNumbers {
        int width = 0, length = 0, lines = 0, commission = 0;
    };

    void buildCompanyGroup();
    void buildPrintGroup();
    QGroupBox* buildCommissionGroup();
    void buildLists();

    void FormCreate();
    void readPrintSettings();
    void showPaperBoxesState();
    // Every entry of the lists has its code: the lists show entries by code,
    // so one without would be saved and never seen again. False after saying
    // which is missing one, with the focus on it.
    bool listEntriesHaveCodes();
    bool checkPaperSize();
    bool readNumbers(PrintNumbers& numbers);
    // The shop row and the lists in the save order, in the caller's transaction.
    void writeDatabase();
    // A copy of "system.ini" beside it with the print settings written in;
    // throws when it cannot be made, leaving the file as it was.
    std::unique_ptr<QTemporaryFile> stagePrintSettings(const PrintNumbers& numbers) const;
    // Renames the staged copy over "system.ini"; false when that fails.
    bool putInPlace(QTemporaryFile& staged) const;
    // The database and the file together: throws with nothing written when
    // either cannot be; false when only the final rename of the file failed.
    bool saveAll(const PrintNumbers& numbers);
    void publishPrintSettings(const PrintNumbers& numbers);
    void discardPending();
    // Ends typing in a list cell, handing what was typed to its query.
    void endCellTyping();
    // Grid keys while a list is writable: Insert adds a row (Down on the
    // last row too, as in every grid rows are typed into), Ctrl+Delete
    // deletes the current one after asking.
    bool listGridKey(ui::DbGrid* grid, int key, Qt::KeyboardModifiers modifiers);

    ui::DataSource* shopSource_;
    std::vector<ui::DbLineEdit*> shopBoxes_;
    QComboBox* paperBox_ = nullptr;
    QLineEdit* widthBox_ = nullptr;
    QLineEdit* lengthBox_ = nullptr;
    QLineEdit* linesBox_ = nullptr;
    QGroupBox* companyGroup_ = nullptr;
    QGroupBox* printGroup_ = nullptr;
    QTabWidget* listTabs_ = nullptr;
    std::vector<ListGrid> lists_;
};
