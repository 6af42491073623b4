#pragma once

#include "core/FormFrame.h"

class QGroupBox;
class QPushButton;
namespace ui {
class DataSource;
class DbComboBox;
class DbDatePicker;
class DbGrid;
class DbLineEdit;
} // namespace ui

// Service billing over InsiFeeQ: one insifee row of type "servefee" per service
// item given to the holder of one member card. It lists today's bills, writes
// new ones, collects the money of a bill saved unpaid and deletes unpaid bills.
//
// Saving a bill with an amount received charges the member's card balance,
// adds the amount due to the member's accumulated spend and raises the card
// level when that spend reaches a higher level; the bill row and these member
// updates are written in one transaction, all or nothing. Amounts are whole
// units. Rights position 16.
class TFrmServeLog : public RecordForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 16;

    explicit TFrmServeLog(QWidget* owner = nullptr);
    ~TFrmServeLog() override;

    // A new bill with a new bill number, dated now; the focus goes to the card box.
    void cmd_addClick() override;
    // "收款&E": puts an unpaid bill into edit for its amount received.
    void cmd_editClick() override;
    // Deletes the current bill after the confirmation, unless it is paid.
    void cmd_deleClick() override;
    // Checks, then writes the bill and, when paid, charges the member.
    void cmd_saveClick() override;
    // "当天记录": the bills dated today again.
    void cmd_prinClick() override;
    // The bill whose number is in the find box: in the list, else reopened alone.
    void cmd_findClick() override;

    // The amount due from the unit price and the discount box: the price when
    // the discount is empty or outside 1 to 99, else price × discount / 100
    // rounded to whole units, halves away from zero. Leaves the box as it was
    // when a value cannot be read.
    void CalcShouldGath();

protected:
    bool checkBeforeSave() override;
    void saveRecord() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildBillGroup(QGroupBox* group);
    void buildPaymentGroup(QGroupBox* group);
    void FormCreate();
    void FormDestroy();
    void FillEmployeeCombos();
    void openBills(const QStringList& sql, const QString& param, const QVariant& value);

    void DBEdit1KeyPress();
    // Enter in the find box finds.
    void Edit2KeyPress(QChar key);
    void DBEdit1Exit();
    void DBEdit5Exit();
    void BitBtn1Click();
    void DBEdit16Change(const QString& text);
    void InsiFeeQAfterScroll(db::Dataset& q);
    void InsiFeeQCalcFields(db::Dataset& q);

    // Card or service code typed but not yet left: taken as if the box was left.
    void finishEntry();
    // Paid: the amount-due and amount-received boxes show the same text.
    bool isPaid() const;
    void fillBillRow();
    void chargeMember(const QString& cardNo, qlonglong due, int oldLevel);
    // Shows the member's balance as the save left it.
    void reloadBoxes();

    ui::DataSource* source_ = nullptr;
    ui::DbLineEdit* billNoBox_ = nullptr;     // DBEdit2
    ui::DbDatePicker* datePicker_ = nullptr;  // DateTimePicker1
    ui::DbLineEdit* cardBox_ = nullptr;       // DBEdit1
    ui::DbLineEdit* memberNameBox_ = nullptr; // DBEdit3
    ui::DbLineEdit* levelBox_ = nullptr;      // DBEdit4
    ui::DbLineEdit* serveBox_ = nullptr;      // DBEdit5
    ui::DbLineEdit* serveNameBox_ = nullptr;  // DBEdit6
    ui::DbLineEdit* discountBox_ = nullptr;   // DBEdit7
    ui::DbLineEdit* priceBox_ = nullptr;      // DBEdit9
    ui::DbComboBox* stylistBox_ = nullptr;    // DBComboBox1
    ui::DbComboBox* middleBox_ = nullptr;     // DBComboBox2
    ui::DbComboBox* assistantBox_ = nullptr;  // DBComboBox3
    ui::DbLineEdit* noteBox_ = nullptr;       // DBEdit14
    ui::DbLineEdit* dueBox_ = nullptr;        // DBEdit17
    ui::DbLineEdit* receivedBox_ = nullptr;   // DBEdit16
    ui::DbLineEdit* changeBox_ = nullptr;     // DBEdit18
    QPushButton* pickerButton_ = nullptr;     // BitBtn1
    ui::DbGrid* grid_ = nullptr;              // DBGrid1
    QLineEdit* findBox_ = nullptr;            // Edit2
};
