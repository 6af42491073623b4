#include "core/Chooser.h"

#include "core/Upublic.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/EnterAsTab.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
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
    grid_ = ui::DbGrid::rowList(this, &dataset_, {});
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

CodeNameChooser::CodeNameChooser(QWidget* owner, const QString& objectName, const QString& caption,
                                 db::Dataset& dataset, Lookup lookup)
    : ChooserForm(owner, objectName, caption, dataset), lookup_(std::move(lookup))
{
    addChooseButton(QStringLiteral("cmd_prin"), QStringLiteral("选取[&O]"), [this] { cmd_prinClick(); });
    addExitButton(QStringLiteral("cmd_exit"), QStringLiteral("退出[&X]"), [this] { cmd_exitClick(); });

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    ComboBox1 = new ui::DbComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    criteria()->addWidget(new QLabel(lookup_.codeCaption, this));
    criteria()->addWidget(Edit1, 1);
    criteria()->addWidget(new QLabel(lookup_.nameCaption, this));
    criteria()->addWidget(ComboBox1, 2);

    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(ComboBox1, &ui::DbComboBox::textTyped, this, ui::guarded(this, [this] { ComboBox1Change(); }));
    connect(ComboBox1, &ui::DbComboBox::itemChosen, this, ui::guarded(this, [this] { ComboBox1Change(); }));
}

void CodeNameChooser::FormCreate()
{
    FixComboAutoComplete(this);
    FillComboDistinctOnUse(lookup_.table, lookup_.nameField, ComboBox1);
    db::Dataset& q = dataset();
    q.close();
    q.setSql(QStringLiteral("select * from %1 order by %2").arg(lookup_.table, lookup_.codeField));
    q.setLockType(db::LockType::Optimistic);
    q.open();
}

void CodeNameChooser::locateCode()
{
    const QString code = Edit1->text().trimmed();
    try {
        LocateCode(dataset(), lookup_.codeField, code);
    } catch (const std::exception&) {
        // a list that is not open has nothing to move to
    }
}

void CodeNameChooser::locateName()
{
    db::Dataset& q = dataset();
    const QString name = ComboBox1->text().trimmed();
    // The row is looked up in the list itself, so that of two rows with the
    // same name the first one listed is chosen and that very row becomes
    // current (not another that happens to share its code). Names compare
    // without regard to case, as the stored columns do.
    const bool found = !name.isEmpty() && LocateCode(q, lookup_.nameField, name);
    const QSignalBlocker quiet(Edit1);
    Edit1->setText(found ? q.asString(lookup_.codeField) : QString());
}

bool runChooser(QDialog& chooser)
{
    return chooser.exec() == QDialog::Accepted;
}

QPushButton* NewChooserButton(QWidget* parent, const QString& objectName)
{
    auto* button = new QPushButton(QStringLiteral("..."), parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    ui::EnterAsTab::passOverOnEnter(button);
    return button;
}
