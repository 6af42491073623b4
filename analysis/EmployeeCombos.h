#pragma once

#include <QString>

class QComboBox;
class QWidget;

// The employee code and name combos of the staff lists (ComboBox1 and
// ComboBox2): editable, listing the stored codes and names; what is typed is
// sought, not listed. Either follows the other through the staff table.
class EmployeeCombos {
public:
    // Both combos are created on parent, the code combo first.
    explicit EmployeeCombos(QWidget* parent);

    QComboBox* codeBox() const { return code_; }
    QComboBox* nameBox() const { return name_; }

    // The stored codes and names into the lists.
    void fill();
    // The name box shows the name of the employee with this code (empty when
    // none has it). Nothing happens for an empty code, nor while the code box
    // is being set by the name box.
    void nameFollowsCode(const QString& code);
    // The code box shows the code of the employee with this name; likewise.
    void codeFollowsName(const QString& name);

private:
    // Sets the combo's text without its handlers following it.
    void setText(QComboBox* combo, const QString& text);
    void follow(QComboBox* follower, const QString& key, const QString& keyColumn, const QString& resultColumn);

    QComboBox* code_;
    QComboBox* name_;
    bool setting_ = false;
};
