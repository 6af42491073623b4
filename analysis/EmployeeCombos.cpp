#include "analysis/EmployeeCombos.h"

#include "core/Upublic.h"

#include <QComboBox>

namespace {

QComboBox* soughtCombo(QWidget* parent, const QString& name)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert); // what is typed is sought, not listed
    return combo;
}

} // namespace

EmployeeCombos::EmployeeCombos(QWidget* parent)
    : code_(soughtCombo(parent, QStringLiteral("ComboBox1"))), name_(soughtCombo(parent, QStringLiteral("ComboBox2")))
{
}

void EmployeeCombos::fill()
{
    FillComboDistinct(QStringLiteral("employee"), QStringLiteral("empl_code"), code_);
    FillComboDistinct(QStringLiteral("employee"), QStringLiteral("empl_name"), name_);
}

void EmployeeCombos::nameFollowsCode(const QString& code)
{
    follow(name_, code, QStringLiteral("empl_code"), QStringLiteral("empl_name"));
}

void EmployeeCombos::codeFollowsName(const QString& name)
{
    follow(code_, name, QStringLiteral("empl_name"), QStringLiteral("empl_code"));
}

void EmployeeCombos::follow(QComboBox* follower, const QString& key, const QString& keyColumn,
                            const QString& resultColumn)
{
    if (setting_ || key.isEmpty())
        return;
    setText(follower, QString());
    setText(follower, LookupField(QStringLiteral("employee"), keyColumn, key, resultColumn));
}

void EmployeeCombos::setText(QComboBox* combo, const QString& text)
{
    setting_ = true;
    combo->setEditText(text);
    setting_ = false;
}
