#pragma once

#include "platform/db/Dataset.h"

#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>

class QBoxLayout;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
namespace ui {
class DbComboBox;
class DbGrid;
}

// The chooser protocol shared by the service picker, the goods and company
// choosers and the document finders: a modal dialog listing the rows of one
// data-module query. Choosing (its choose button, or a double-click on a grid
// row) closes it with QDialog::Accepted; the choice is the query's current
// row, which stays open after the chooser is gone. An opener does:
//
//   TFrmServeFind picker(owner);
//   if (picker.exec() == QDialog::Accepted)
//       code = FrmDataMod->ServeFindQ.asString("serve_code");
//
// or, the same in one call: auto code = chooseField<TFrmServeFind>(owner, "serve_code");
class ChooserForm : public QDialog {
    Q_OBJECT
public:
    ChooserForm(QWidget* owner, const QString& objectName, const QString& caption, db::Dataset& dataset);
    ~ChooserForm() override;

    db::Dataset& dataset() const { return dataset_; }
    ui::DbGrid* grid() const { return grid_; }

    // True when there is a row to choose: the query is open and holds one,
    // or the chooser takes an empty choice.
    bool canChoose() const;
    // Closes with Accepted when canChoose(); otherwise nothing happens.
    void choose();

protected:
    // Criteria boxes go here, above the grid.
    QBoxLayout* criteria() const { return criteria_; }
    // A toolbar button running handler; its errors reach the error box.
    QPushButton* addButton(const QString& name, const QString& caption, std::function<void()> handler);
    // The choose button: handler runs on its click and on a double-click on a
    // grid row; it is expected to end in choose().
    QPushButton* addChooseButton(const QString& name, const QString& caption, std::function<void()> handler);
    // The exit button: handler is expected to end in reject().
    QPushButton* addExitButton(const QString& name, const QString& caption, std::function<void()> handler);
    // For choosers whose choice may be an empty list (the opener then reads nothing).
    void setEmptyChoiceAllowed(bool on) { emptyChoiceAllowed_ = on; }
    // The creation steps under the hourglass; an error in them is swallowed
    // and the chooser opens all the same.
    void runFormCreate(const std::function<void()>& steps);

private:
    db::Dataset& dataset_;
    ui::DbGrid* grid_;
    QBoxLayout* criteria_;
    QHBoxLayout* toolbar_;
    bool emptyChoiceAllowed_ = false;
};

// A chooser over every row of one table, ordered by code, found by code or by
// name: the buttons cmd_prin "选取[&O]" (also a double-click on the grid) and
// cmd_exit "退出[&X]", and the code box Edit1 and the name combo ComboBox1
// above the grid, each under its caption. A form names the four handlers and
// builds them on choose(), reject(), locateCode() and locateName().
class CodeNameChooser : public ChooserForm {
    Q_OBJECT
public:
    struct Lookup {
        QString table;
        QString codeField;
        QString nameField;
        QString codeCaption;
        QString nameCaption;
    };

    virtual void cmd_prinClick() = 0;
    virtual void cmd_exitClick() = 0;
    // Run when the code box's text changes.
    virtual void Edit1Change() = 0;
    // Run when a name is typed into or chosen from the name combo.
    virtual void ComboBox1Change() = 0;

    QLineEdit* codeBox() const { return Edit1; }
    ui::DbComboBox* nameCombo() const { return ComboBox1; }

protected:
    CodeNameChooser(QWidget* owner, const QString& objectName, const QString& caption, db::Dataset& dataset,
                    Lookup lookup);

    // The creation steps: the stored names into the combo, the table into the list.
    void FormCreate();
    // Moves the grid to the row whose code is the code box's (trimmed, case aside);
    // a blank box, a missing code or a closed list leave it where it is.
    void locateCode();
    // Moves the grid to the first listed row whose name is the combo's
    // (trimmed, case aside) and shows that row's code in the code box, empty
    // when no row has the name; the code box's handler does not run.
    void locateName();

private:
    Lookup lookup_;
    QLineEdit* Edit1;
    ui::DbComboBox* ComboBox1;
};

// Shows the chooser modally; true when it closed with a choice.
bool runChooser(QDialog& chooser);

// The "..." button beside a box that opens a chooser: no default button of
// its window, and passed over by Enter, which goes on from the box to the
// next one; Tab still reaches it.
QPushButton* NewChooserButton(QWidget* parent, const QString& objectName);

// Creates Form(owner), shows it modally and gives back the fields of the
// chosen row as text, in the order asked; nothing when closed without a choice.
template <class Form>
std::optional<QStringList> chooseFields(QWidget* owner, const QStringList& fields)
{
    Form chooser(owner);
    if (!runChooser(chooser))
        return std::nullopt;
    QStringList values;
    const db::Dataset& q = chooser.dataset();
    for (const QString& f : fields)
        values << (q.hasField(f) ? q.asString(f) : QString());
    return values;
}

template <class Form>
std::optional<QString> chooseField(QWidget* owner, const QString& field)
{
    const auto values = chooseFields<Form>(owner, QStringList{field});
    if (!values)
        return std::nullopt;
    return values->constFirst();
}
