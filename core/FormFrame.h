#pragma once

#include "platform/db/Dataset.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <exception>
#include <functional>
#include <vector>

class QBoxLayout;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;

// The mode of a record form: browsing, or a record being added or edited.
enum class FormMode { Null, Add, Edit };
QString modeText(FormMode mode); // "null", "add", "edit"

// The standard controls of a record form; a form fills in those it has.
struct StandardControls {
    QPushButton* cmd_add = nullptr;
    QPushButton* cmd_edit = nullptr;
    QPushButton* cmd_dele = nullptr;
    QPushButton* cmd_save = nullptr;
    QPushButton* cmd_canc = nullptr;
    QPushButton* cmd_find = nullptr;
    QPushButton* cmd_prin = nullptr;
    QPushButton* cmd_exit = nullptr;
    QWidget* grid = nullptr;            // the record grid
    QList<QWidget*> dataGroups;         // the data-entry group boxes
    QWidget* findGroup = nullptr;       // the quick-find group
    bool gatePrint = false;             // print follows PowPrin in browsing mode
    bool gateFind = false;              // find follows PowFind in browsing mode
};

// The one rule for enabling the standard controls: in "add" and "edit" only
// save, cancel and the data-entry groups; in "null" the rest, with add, edit
// and delete (and print and find where gated) following the rights at position.
void ApplyControlStates(const StandardControls& controls, FormMode mode, int position);

// True when the database refused a write: a full disk, a write-protected
// file or folder, a row refused or changed by another workstation. A value
// the form could not convert for its column is no refusal.
bool IsDatabaseRefusal(const std::exception& error);
// Tells the user why a save did not reach the database: a value a box could
// not hand to its field after the box's label, with the focus back in the
// box; otherwise the form's own message for the failure, where it has one,
// with the reason in the user's words on the line below, or the reason
// alone. The engine's own words stay behind the box, for support.
void ShowSaveFailure(QWidget* parent, const std::exception& error, const QString& formText = {});

// The frame every business form follows: opened modally, one position in the
// rights table, three modes, the standard handlers, and no closing while a
// record is being added or edited. A form states only what differs: it sets
// its dataset, key box and key field, builds its controls, and overrides the
// handlers or the checks its function needs.
class RecordForm : public QDialog {
    Q_OBJECT
public:
    RecordForm(QWidget* owner, const QString& objectName, const QString& caption, int position);
    ~RecordForm() override;

    FormMode mode() const { return mode_; }
    int position() const { return position_; }
    StandardControls& controls() { return controls_; }

    // Applies the rule to the standard controls; forms extend it.
    virtual void SetControlStates();

    virtual void cmd_addClick();
    virtual void cmd_editClick();
    virtual void cmd_saveClick();
    virtual void cmd_cancClick();
    virtual void cmd_deleClick();
    virtual void cmd_exitClick();
    virtual void cmd_findClick() {}
    virtual void cmd_prinClick() {}
    // True when the form may close now: only while cmd_exit is enabled,
    // unless the form closes at any time.
    virtual bool FormCloseQuery();

protected:
    // Mode changes always go through here, so the controls follow.
    void setMode(FormMode mode);

    // The record the standard handlers work on, the box holding its key and
    // the key's column (located again after save and cancel).
    void setRecord(db::Dataset* dataset, QLineEdit* keyBox, const QString& keyField);
    db::Dataset* dataset() const { return dataset_; }
    QLineEdit* keyBox() const { return keyBox_; }
    // Where the focus goes when adding or editing starts.
    void setFirstEditBox(QWidget* w) { firstEditBox_ = w; }

    // Runs the form's checks before a save; false after showing the message.
    virtual bool checkBeforeSave() { return true; }
    // Posts the record, and applies the batch for batch-optimistic datasets,
    // in one transaction. A failure leaves the form in its mode with what was
    // typed and is shown (ShowSaveFailure).
    virtual void saveRecord();
    // Moves to the record whose key is in the key box (trimmed); quiet when absent.
    void locateKeyBoxRecord();

    // The toolbar row of standard buttons. addButton creates a button with the
    // objectName and caption, runs handler (errors reach the error box) and
    // fills the matching member of controls().
    QHBoxLayout* toolbar() const { return toolbar_; }
    QPushButton* addButton(const QString& name, const QString& caption, std::function<void()> handler);
    // The standard buttons named, in order, each with its frame handler.
    void addStandardButtons(const QStringList& names, const QStringList& captions);
    // The quick-find group "快速查找": a box (objectName boxName) and cmd_find
    // "查找"; Enter in the box runs onEnter (the form's key-press handler),
    // cmd_findClick when none is given.
    QLineEdit* addQuickFind(const QString& boxName, QBoxLayout* into, std::function<void()> onEnter = {});
    // The main area below the toolbar.
    QBoxLayout* body() const { return body_; }

    // The creation steps: hourglass, the form's own steps, mode "null" and
    // the control states; an error in the steps is swallowed and the form
    // opens all the same.
    void runFormCreate(const std::function<void()>& steps);

    // "确认删除?" with caption "提示", OK and Cancel; true unless Cancel.
    bool confirmDelete(const QString& text = QStringLiteral("确认删除?"),
                       const QString& caption = QStringLiteral("提示"));

    // Keeps a dataset handler attached for the form's lifetime.
    void keep(db::Subscription subscription) { subscriptions_.push_back(std::move(subscription)); }
    // For the two forms without a close rule.
    void setClosableAnyTime(bool on) { closableAnyTime_ = on; }

    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QString keyText() const;

    int position_;
    FormMode mode_ = FormMode::Null;
    StandardControls controls_;
    db::Dataset* dataset_ = nullptr;
    QLineEdit* keyBox_ = nullptr;
    QString keyField_;
    QWidget* firstEditBox_ = nullptr;
    QHBoxLayout* toolbar_;
    QBoxLayout* body_;
    std::vector<db::Subscription> subscriptions_;
    bool closableAnyTime_ = false;
};
