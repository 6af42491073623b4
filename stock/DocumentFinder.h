#pragma once

#include "core/Chooser.h"

#include <QStringList>

class QGroupBox;
class QLineEdit;
namespace ui {
class DbComboBox;
class DbDatePicker;
} // namespace ui

// What tells the two document finders apart: the table line of the SQL and
// the terms that follow it, as the finder lists on opening and as it searches.
struct DocumentFinderDef {
    QString objectName;
    QString caption;
    QString tableLine;     // "select * from inmain "
    QString openingTerms;  // the date range and bill type, at opening
    QString searchTerms;   // the same, for a search
};

// A finder of stored stock documents of the kind the document form now open
// has set in CurBillType: the documents of a date range (the last 30 days on
// opening), narrowed by bill number, voucher number and company. Choosing
// needs a listed document; the document form then reads bill_no of the
// query's current row (see ChooserForm for the protocol).
class DocumentFinder : public ChooserForm {
    Q_OBJECT
public:
    // "查询[&E]": lists the documents of the kind in the date range (whole
    // days, both ends included) that meet every criterion given; a blank box
    // adds none. A company name that no company has matches no document.
    void cmd_editClick();
    // "选取[&S]" and a double-click on the grid: closes with OK when the list
    // holds a document; with none nothing happens.
    void cmd_saveClick();
    // "退出[&X]": closes without a choice.
    void cmd_exitClick();
    // Empties the bill-number box and the company combo.
    void ClearFindInputs();

    QLineEdit* billNoBox() const { return Edit1; }
    QLineEdit* voucherBox() const { return Edit2; }
    ui::DbDatePicker* fromPicker() const { return DateTimePicker1; }
    ui::DbDatePicker* toPicker() const { return DateTimePicker2; }
    ui::DbComboBox* companyCombo() const { return ComboBox1; }

protected:
    DocumentFinder(QWidget* owner, const DocumentFinderDef& def, db::Dataset& documents);

private:
    void FormCreate();
    QGroupBox* buildFilterGroup();
    void list(const QString& terms);
    void bindDateRange();

    DocumentFinderDef def_;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    ui::DbDatePicker* DateTimePicker1 = nullptr;
    ui::DbDatePicker* DateTimePicker2 = nullptr;
    ui::DbComboBox* ComboBox1 = nullptr;
};
