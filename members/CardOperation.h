#pragma once

#include "core/FormFrame.h"

#include <QString>
#include <map>
#include <optional>
#include <vector>

class QGroupBox;
class QLineEdit;
namespace ui {
class DataSource;
class DbDatePicker;
class DbGrid;
} // namespace ui

// The card operations on a member row: five that move money or cards, and
// the password change, which moves none.
enum class CardOperation { Issue, Replace, Deposit, Withdraw, Return, Password };

// The boxes an operation group can hold.
enum class CardBox { CardNo, Deposit, Password, Confirm, Fee, Amount, Remark, Balance, Refund };

// One box of an operation group. A box with a field edits (or, read-only,
// shows) that member column; the others are plain.
struct CardBoxDef {
    CardBox box;
    QString caption = {};
    QString field = {};
    bool secret = false;   // typed characters show as "*"
    bool readOnly = false;
    int digits = 0;        // > 0: digits only, at most this many
};

// One check of a save, run in the order given; the first that fails shows
// its message and stops the save.
struct CardCheck {
    enum class Test {
        Blank,           // box trimmed is empty
        NotAboveZero,    // box read as a whole number is not above 0
        Differs,         // box trimmed differs from `other` trimmed
        WrongPassword,   // box trimmed differs from the stored password trimmed
        BelowDepositDue, // box read as a number is below the level's deposit
        AboveBalance,    // box read as a whole number is above the stored balance
        NoCardNumber,    // the member shown has no card number
        CardNoTaken,     // box trimmed is the card number of another member
    };
    Test test;
    CardBox box = CardBox::CardNo;
    QString message;            // the text, or the catalogue number when fromCatalogue
    bool fromCatalogue = false;
    bool focus = false;         // the focus goes to the box at fault
    CardBox other = CardBox::Confirm;
};

// What tells the members of the family apart.
struct CardOperationDef {
    CardOperation operation;
    QString objectName;
    QString caption;
    int position;                  // rights position of PowEdit
    QString editCaption;           // the operation button
    QString groupCaption;          // the operation group
    std::vector<CardBoxDef> boxes;
    CardBox focusOnStart;
    std::optional<CardBox> amount; // the ledger amount; none: no ledger row
    QString gathType;
    QString note;                  // the ledger note, or the note of an empty remark
    bool noteFromRemark = false;
    std::vector<CardCheck> checks;
    std::vector<CardBox> clearedOnBrowse;
};

const CardOperationDef& cardOperationDef(CardOperation operation);

// A card operation form: the member list, the member's personal data
// read-only, a quick find and one operation group. The operation button puts
// the member row into edit after the operation's precondition; the save runs
// the checks, writes the ledger row (when the amount is above 0) and posts
// the member row in one transaction, so both are written or neither.
class CardOperationForm : public RecordForm {
    Q_OBJECT
public:
    CardOperationForm(QWidget* owner, CardOperation operation);
    ~CardOperationForm() override;

    const CardOperationDef& definition() const { return def_; }
    // The operation group's box; nullptr when this operation has none.
    QLineEdit* box(CardBox which) const;
    QLineEdit* memberCodeBox() const { return keyBox(); }
    QLineEdit* findBox() const { return findBox_; }
    ui::DbGrid* grid() const { return grid_; }
    QGroupBox* personalGroup() const { return personalGroup_; }
    QGroupBox* operationGroup() const { return operationGroup_; }
    ui::DbDatePicker* birthPicker() const { return birthPicker_; }
    ui::DbDatePicker* openPicker() const { return openPicker_; }

    void SetControlStates() override;
    void cmd_editClick() override;
    void cmd_saveClick() override;
    void cmd_findClick() override;
    // Enter in the quick-find box finds.
    void Edit2KeyPress(int key);

protected:
    void FormCreate();
    void FormDestroy();

private:
    // Where a save failed: the ledger row has a message of its own.
    enum class SaveStage { Ledger, Member };

    void buildPersonalGroup(QBoxLayout* into);
    void buildOperationGroup(QBoxLayout* into);
    void buildQuickFind(QBoxLayout* into);
    void showDates();

    bool preconditionHolds();
    void startOperation();
    bool passes(const CardCheck& check);
    // The ledger row and the member row in one transaction; throws when
    // either is refused, with stage telling which.
    void writeLedgerAndMember(SaveStage& stage);
    // Writes the ledger row when the amount is above 0; returns the amount.
    qlonglong writeLedgerRow();
    // The operation's change to the balance and deposit.
    void writeMoney(qlonglong amount);
    // The operation's change to the other columns of the member row.
    void applyChange();
    QString ledgerNote() const;
    // A column of the member row as the database holds it now.
    QVariant storedValue(const QString& field) const;
    bool heldByAnotherMember(const QString& cardNo) const;
    double stored(const QString& field) const;
    // Reads the member shown again from the database.
    void rereadMember();

    const CardOperationDef& def_;
    db::Dataset& members_;
    ui::DataSource* source_ = nullptr;
    ui::DbGrid* grid_ = nullptr;
    QGroupBox* personalGroup_ = nullptr;
    QGroupBox* operationGroup_ = nullptr;
    QLineEdit* personalCardBox_ = nullptr;
    QLineEdit* findBox_ = nullptr;
    ui::DbDatePicker* birthPicker_ = nullptr;
    ui::DbDatePicker* openPicker_ = nullptr;
    std::map<CardBox, QLineEdit*> boxes_;
};
