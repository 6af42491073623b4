#include "core/Chooser.h"

#include "platform/ui/DbGrid.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

ChooserForm::ChooserForm(QWidget* owner, const QString& objectName, const QString& caption, db::Dataset& dataset)
    : QDialog(owner), dataset_(dataset)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    auto* outer = new QVBoxLayout(this);
    toolbar_ = new QHBoxLayout;
    outer->addLayout(toolbar_);
    criteria_ = new QHBoxLayout;
    outer->addLayout(criteria_);
    grid_ = new ui::DbGrid(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setRowSelect(true);
    grid_->setDataset(&dataset_);
    outer->addWidget(grid_, 1);
}

ChooserForm::~ChooserForm() = default;

bool ChooserForm::canChoose() const
{
    return emptyChoiceAllowed_ || (dataset_.isActive() && !dataset_.isEmpty());
}

void ChooserForm::choose()
{
    if (canChoose())
        accept();
}

QPushButton* ChooserForm::addButton(const QString& name, const QString& caption, std::function<void()> handler)
{
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    // Enter in a criteria box must not choose behind the user's back.
    b->setAutoDefault(false);
    toolbar_->addWidget(b);
    connect(b, &QPushButton::clicked, this, ui::guarded(this, [handler] { handler(); }));
    return b;
}

QPushButton* ChooserForm::addChooseButton(const QString& name, const QString& caption, std::function<void()> handler)
{
    QPushButton* b = addButton(name, caption, handler);
    connect(grid_, &ui::DbGrid::cellDoubleClicked, this, ui::guarded(this, [handler] { handler(); }));
    return b;
}

QPushButton* ChooserForm::addExitButton(const QString& name, const QString& caption, std::function<void()> handler)
{
    QPushButton* b = addButton(name, caption, std::move(handler));
    toolbar_->addStretch(1);
    return b;
}

void ChooserForm::runFormCreate(const std::function<void()>& steps)
{
    ui::Hourglass wait;
    try {
        steps();
    } catch (const std::exception&) {
        // the chooser opens all the same, with whatever was listed
    }
}

bool runChooser(QDialog& chooser)
{
    return chooser.exec() == QDialog::Accepted;
}
