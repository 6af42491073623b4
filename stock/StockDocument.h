#pragma once

#include "core/FormFrame.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class DocumentLinesGrid;
class QGroupBox;
class QLineEdit;
class QPushButton;
namespace ui {
class DataSource;
class DbComboBox;
class DbDatePicker;
class DbLineEdit;
} // namespace ui

// The four stock documents: one header row (inmain or outmain) and its lines
// (ingoods or outgoods), found by bill_no.
enum class StockDocumentKind { Purchase, CustomerReturn, Sale, SupplierReturn };

// What tells the members of the family apart.
struct StockDocumentDef {
    StockDocumentKind kind;
    QString objectName;
    QString caption;
    int position;               // rights position
    QString billType;           // bill_type written, and CurBillType
    bool inSide;                // inmain/ingoods over InMainQ/InGoodsQ; else the out side
    bool receiving;             // lines add to stock and re-average the cost; else they take away
    bool passesOverNotStocked;  // lines remarked "不入库" move no stock
    QString openingSql;         // first line of the header SQL at opening
    QString linesSql;           // first line of the lines SQL
    QString priceColumn;        // goods column giving a line's unit price
    QString companyCaption;     // caption of the company name box
    QString factCaption;        // caption of fact_tota
    QString companyCodeBox;     // objectName of the company code box
    QString companyButton;      // objectName of the company chooser button
    QString enterToGridFrom;    // objectName of the combo whose Enter goes to the grid; "" none
    QStringList remarkPickList; // offered in the remark column
    bool hasContactPhone;       // the sales form shows the company's phone
    bool calculatesPrintLines;  // installs the line amount on OutTempQ

    QString headerTable() const { return inSide ? QStringLiteral("inmain") : QStringLiteral("outmain"); }
    QString linesTable() const { return inSide ? QStringLiteral("ingoods") : QStringLiteral("outgoods"); }
};

const StockDocumentDef& stockDocumentDef(StockDocumentKind kind);

// The lines of the document shown when editing began, in line order; the
// save takes them back before it posts the lines as they are now. One per
// kind of document, kept for the whole run.
struct OldLineSnapshot {
    int OldLineCount = 0;
    std::vector<QString> OldLineCodes;
    std::vector<double> OldLineQtys;
    std::vector<QString> OldLineRemarks; // customer returns only
};

// A stock document form. It shows one document at a time (at opening the
// first of today of its kind), adds a new one or edits the one shown in a
// header, a lines grid and a footer. Header and lines are batch datasets
// of the data module: nothing reaches the database before the save, which
// writes the header, the lines and every stock record they move in one
// transaction, or nothing at all.
class StockDocumentForm : public RecordForm {
    Q_OBJECT
public:
    StockDocumentForm(QWidget* owner, StockDocumentKind kind);
    ~StockDocumentForm() override;

    const StockDocumentDef& definition() const { return def_; }
    static OldLineSnapshot& oldLines(StockDocumentKind kind);

    // Grid editable and header and footer enabled while adding or editing;
    // delete deletes a line then, the document in browse mode.
    void SetControlStates() override;
    // A new document with a new bill number and an empty line; nothing is
    // written before the save.
    void cmd_addClick() override;
    // Edits the document shown, after the snapshot of its lines.
    void cmd_editClick() override;
    // Writes the document and moves the stock (see StockPosting.h).
    void cmd_saveClick() override;
    // Drops every pending change of lines and header.
    void cmd_cancClick() override;
    // Browse mode: the whole document, stock taken back, unless its month
    // had a stock check. Adding or editing: the current line, after asking.
    void cmd_deleClick() override;
    // Shows the document chosen in the finder (see chooseDocument).
    void cmd_findClick() override;
    // Prints the document shown (see printDocument).
    void cmd_prinClick() override;

    // Line entry: Enter in the code cell of a changed line sets its unit
    // price from the goods; Enter on an empty code cell goes to the remark box.
    void DBGrid1KeyPress(int key);
    // The code cell's "...": the chosen goods code into the current line.
    void DBGrid1EditButtonClick();
    // The currency changed: its rate from the settings.
    void DBComboBox9Change();
    // Enter in the settlement or currency combo: to the grid where the member says so.
    void DBComboBox8KeyPress(int key);
    void DBComboBox9KeyPress(int key);

    // The six employee combos, the settlement and the currency lists.
    void FillDocCombos();
    // The total quantity, amount and amount in capitals of the lines shown.
    void RecalcTotals();
    // Shows the stored document of this kind with that bill number (none when
    // there is no such document), as after a find.
    void showDocument(const QString& billNo);

    db::Dataset& header() const { return header_; }
    db::Dataset& lines() const { return lines_; }
    DocumentLinesGrid* grid() const { return DBGrid1; }
    ui::DbLineEdit* billNoBox() const { return DBEdit1; }
    ui::DbLineEdit* voucherBox() const { return DBEdit5; }
    ui::DbLineEdit* companyCodeBox() const { return companyCode_; }
    ui::DbLineEdit* companyNameBox() const { return DBEdit6; }
    ui::DbLineEdit* rateBox() const { return DBEdit8; }
    ui::DbLineEdit* remarkBox() const { return DBEdit4; }
    ui::DbLineEdit* factBox() const { return DBEdit10; }
    ui::DbComboBox* settlementCombo() const { return DBComboBox8; }
    ui::DbComboBox* currencyCombo() const { return DBComboBox9; }
    ui::DbDatePicker* datePicker() const { return DateTimePicker1; }
    QLineEdit* totalQuantityBox() const { return Edit1; }
    QLineEdit* totalAmountBox() const { return Edit2; }
    QLineEdit* capitalsBox() const { return Edit3; }
    const std::vector<ui::DbComboBox*>& employeeCombos() const { return employeeCombos_; }
    QGroupBox* headerGroup() const { return GB1; }
    QGroupBox* footerGroup() const { return GroupBox1; }

protected:
    // The document finder of this side (TFrmInFind or TFrmOutFind), shown
    // modally over this form: the bill number of the chosen document, nothing
    // when it closed without a choice.
    virtual std::optional<QString> chooseDocument();
    // The printed document of the one shown, in the preview (see DocumentPrint.h).
    virtual void printDocument();
    // Opens the company chooser; the chosen code into the header. Each
    // member connects companyButton() to its own handler, which calls this.
    void chooseCompany();
    QPushButton* companyButton() const { return companyButton_; }

private:
    void FormCreate();
    void buildHeader();
    void buildGrid();
    void buildFooter();
    QLineEdit* addPlainBox(const QString& objectName);

    void openHeader(const QStringList& sql, const char* param, const QVariant& value);
    void openLines();
    void showDocumentDate();
    void takeSnapshot();
    QString unusedBillNo() const;

    void SetLineBillNo(db::Dataset& lines);
    void CalcLineTotal(db::Dataset& lines);
    void CalcTempLineTotal(db::Dataset& printLines);
    void LinesAfterChange(db::Dataset& lines);

    void postPendingLine();
    void dropUntouchedLine();
    bool quantityIsAboveZero() const;
    void writeDocument();
    void takeBackOldLines();
    void postLines();
    // After a failed save: the header can be typed into again.
    void reopenHeaderForEditing();
    bool countsInStock(const QString& remark) const;
    void deleteDocument();
    void deleteLine();
    bool monthWasChecked() const;
    void enterToGrid(const QString& fromCombo, int key);

    const StockDocumentDef& def_;
    db::Dataset& header_;
    db::Dataset& lines_;
    ui::DataSource* source_ = nullptr;
    QGroupBox* GB1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    ui::DbLineEdit* DBEdit1 = nullptr;
    ui::DbLineEdit* DBEdit4 = nullptr;
    ui::DbLineEdit* DBEdit5 = nullptr;
    ui::DbLineEdit* DBEdit6 = nullptr;
    ui::DbLineEdit* DBEdit8 = nullptr;
    ui::DbLineEdit* DBEdit10 = nullptr;
    ui::DbLineEdit* companyCode_ = nullptr;
    QPushButton* companyButton_ = nullptr;
    ui::DbComboBox* DBComboBox8 = nullptr;
    ui::DbComboBox* DBComboBox9 = nullptr;
    ui::DbDatePicker* DateTimePicker1 = nullptr;
    DocumentLinesGrid* DBGrid1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    std::vector<ui::DbComboBox*> employeeCombos_;
};
