#include "stock/OutStatForm.h"

#include "platform/db/Dataset.h"
#include "platform/db/Error.h"
#include "platform/db/Value.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>

namespace outstat {

ChoiceGroup::ChoiceGroup(const QString& title, const QStringList& choices, QWidget* parent)
    : QGroupBox(title, parent)
{
    auto* row = new QHBoxLayout(this);
    for (const QString& text : choices) {
        auto* b = new QRadioButton(text, this);
        row->addWidget(b);
        buttons_.push_back(b);
    }
    row->addStretch(1);
    // Buttons sharing one parent exclude each other.
    choose(0);
}

int ChoiceGroup::chosen() const
{
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->isChecked())
            return int(i);
    return -1;
}

void ChoiceGroup::choose(int index)
{
    buttons_.at(size_t(index))->setChecked(true);
}

ControlsSuspended::ControlsSuspended(db::Dataset& q) : q_(q)
{
    q_.disableControls();
}

ControlsSuspended::~ControlsSuspended()
{
    q_.enableControls();
}

bool hasQuantityToPrint(const QLineEdit* totalQuantityBox)
{
    const QString text = totalQuantityBox->text();
    const auto quantity = db::parseAmount(text);
    if (!quantity)
        throw db::Error(db::Error::Kind::Usage, QStringLiteral("“%1”不是有效的数值").arg(text));
    return *quantity > 0;
}

QLineEdit* makeTotalBox(const QString& objectName, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
}

} // namespace outstat
