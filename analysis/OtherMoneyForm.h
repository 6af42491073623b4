#pragma once

#include "core/FormFrame.h"

class QBoxLayout;
class QRadioButton;
namespace ui {
class DataSource;
class DbDatePicker;
class DbGrid;
class DbLineEdit;
} // namespace ui

// The record form the other-income and other-expense forms share: each entry
// is one insifee row of the form's own gath_type with a bill number, a date,
// a whole-number amount (serv_fee), a summary and the user who last saved it.
// Rows are posted one by one on InsiFeeQ. The list shows today's entries when
// the form opens, and changes only through the bill-number find and the
// "当月全部" / "当日全部" choices of the quick-find panel.
class OtherMoneyForm : public RecordForm {
    Q_OBJECT
public:
    ~OtherMoneyForm() override;

    // A new entry with a new bill number (which may be overwritten), dated today.
    void cmd_addClick() override;
    void cmd_editClick() override;
    // The entries with the bill number typed in the find box.
    void cmd_findClick() override;

    // Enter in the find box presses "查找".
    void Edit2KeyPress();
    void Edit2Change();
    // "当月全部": the entries of the find date's month.
    void RadioButton1Click();
    // "当日全部": the entries of the find date's day.
    void RadioButton2Click();

protected:
    struct Kind {
        QString objectName;
        QString caption;
        int position;
        QString storedType;   // gath_type written
        QString defaultNote;  // summary of an entry saved without one
        QString todayListType; // the code today's list asks for
        QString findListType;  // the code the find, day and month lists ask for
    };
    OtherMoneyForm(QWidget* owner, Kind kind);

    // The amount must be a whole number, the bill number and the date given.
    bool checkBeforeSave() override;
    // Writes the entry with its kind, date, summary and the current user.
    void saveRecord() override;

private:
    void buildEntryPanel(QBoxLayout* into);
    void buildFindPanel(QBoxLayout* into);
    void buildGrid();
    void FormCreate();
    void FormDestroy();
    void InsiFeeQAfterScroll();
    // Reopens InsiFeeQ on the entries of the find code followed by extra;
    // failures leave the list as they found it.
    void openList(const QString& listType, const QStringList& extra, const db::Params& params);
    void clearRadioButtons();

    Kind kind_;
    ui::DataSource* source_ = nullptr;
    ui::DbGrid* grid_ = nullptr;             // DBGrid1
    ui::DbLineEdit* billNoBox_ = nullptr;    // DBEdit1
    ui::DbDatePicker* entryDate_ = nullptr;  // DateTimePicker1
    ui::DbLineEdit* amountBox_ = nullptr;    // DBEdit2
    ui::DbLineEdit* noteBox_ = nullptr;      // DBEdit3
    QLineEdit* findBox_ = nullptr;           // Edit2
    ui::DbDatePicker* findDate_ = nullptr;   // DateTimePicker2
    QRadioButton* wholeMonth_ = nullptr;     // RadioButton1
    QRadioButton* wholeDay_ = nullptr;       // RadioButton2
};
