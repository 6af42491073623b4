#include "core/FormFrame.h"

#include "core/Upublic.h"
#include "platform/db/Error.h"
#include "platform/ui/EntryRefusal.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <stdexcept>

bool IsDatabaseRefusal(const std::exception& error)
{
    const auto* e = dynamic_cast<const db::Error*>(&error);
    return e && e->kind() != db::Error::Kind::Usage;
}

void ShowSaveFailure(QWidget* parent, const std::exception& error, const QString& formText)
{
    if (const auto* refused = dynamic_cast<const ui::RefusedEntry*>(&error)) {
        ui::showRefusal(parent, *refused);
        return;
    }
    if (formText.isEmpty())
        ui::showError(parent, error);
    else
        ui::warn(parent, formText + u'\n' + db::reasonOf(error), db::detailsOf(error));
}

QString modeText(FormMode mode)
{
    switch (mode) {
    case FormMode::Add:
        return QStringLiteral("add");
    case FormMode::Edit:
        return QStringLiteral("edit");
    case FormMode::Null:
        break;
    }
    return QStringLiteral("null");
}

void ApplyControlStates(const StandardControls& c, FormMode mode, int position)
{
    const bool browsing = mode == FormMode::Null;
    auto set = [](QWidget* w, bool on) {
        if (w)
            w->setEnabled(on);
    };
    set(c.grid, browsing);
    set(c.cmd_add, browsing && HasRight(PowAdd, position));
    set(c.cmd_edit, browsing && HasRight(PowEdit, position));
    set(c.cmd_dele, browsing && HasRight(PowDele, position));
    set(c.cmd_prin, browsing && (!c.gatePrint || HasRight(PowPrin, position)));
    set(c.findGroup, browsing);
    set(c.cmd_find, browsing && (!c.gateFind || HasRight(PowFind, position)));
    set(c.cmd_save, !browsing);
    set(c.cmd_canc, !browsing);
    set(c.cmd_exit, browsing);
    for (QWidget* g : c.dataGroups)
        set(g, !browsing);
}

RecordForm::RecordForm(QWidget* owner, const QString& objectName, const QString& caption, int position)
    : QDialog(owner), position_(position)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* outer = new QVBoxLayout(this);
    toolbar_ = new QHBoxLayout;
    outer->addLayout(toolbar_);
    body_ = new QVBoxLayout;
    outer->addLayout(body_, 1);
}

RecordForm::~RecordForm() = default;

void RecordForm::setMode(FormMode mode)
{
    mode_ = mode;
    SetControlStates();
}

void RecordForm::SetControlStates()
{
    ApplyControlStates(controls_, mode_, position_);
}

void RecordForm::setRecord(db::Dataset* dataset, QLineEdit* keyBox, const QString& keyField)
{
    dataset_ = dataset;
    keyBox_ = keyBox;
    keyField_ = keyField;
}

QString RecordForm::keyText() const
{
    return keyBox_ ? keyBox_->text() : QString();
}

void RecordForm::locateKeyBoxRecord()
{
    const QString key = keyText().trimmed();
    if (!dataset_ || keyField_.isEmpty())
        return;
    try {
        // Bill numbers and other keys may repeat: the record just saved is
        // current already, and must not give way to an older one.
        if (!dataset_->isEmpty() && dataset_->asString(keyField_).trimmed() == key)
            return;
        dataset_->locate(keyField_, key);
    } catch (const std::exception&) {
        // nothing to show when the record is gone
    }
}

void RecordForm::cmd_addClick()
{
    dataset_->append();
    setMode(FormMode::Add);
    if (firstEditBox_)
        firstEditBox_->setFocus();
}

void RecordForm::cmd_editClick()
{
    if (keyText().isEmpty())
        return;
    // The record shown is the one edited, never another found by its key,
    // which need not be unique; a record that cannot be edited stays as it is.
    try {
        dataset_->edit();
    } catch (const std::exception&) {
        return;
    }
    setMode(FormMode::Edit);
    if (firstEditBox_)
        firstEditBox_->setFocus();
}

void RecordForm::saveRecord()
{
    db::Transaction t(dataset_->connection());
    dataset_->post();
    if (dataset_->lockType() == db::LockType::BatchOptimistic)
        dataset_->applyBatch();
    t.commit();
}

void RecordForm::cmd_saveClick()
{
    try {
        if (!checkBeforeSave())
            return;
    } catch (const ui::RefusedEntry& refused) {
        ui::showRefusal(this, refused);
        return;
    }
    try {
        saveRecord();
    } catch (const std::exception& e) {
        // The form stays in its mode with what was typed; the record is
        // editable again if the failure came after the post.
        try {
            if (dataset_ && dataset_->isActive() && !dataset_->isEditing() && !dataset_->isEmpty())
                dataset_->edit();
        } catch (const std::exception&) {
        }
        ShowSaveFailure(this, e);
        return;
    }
    setMode(FormMode::Null);
    locateKeyBoxRecord();
}

void RecordForm::cmd_cancClick()
{
    try {
        if (dataset_->lockType() == db::LockType::BatchOptimistic)
            dataset_->cancelBatch();
        else
            dataset_->cancel();
    } catch (const std::exception&) {
    }
    setMode(FormMode::Null);
    locateKeyBoxRecord();
}

void RecordForm::cmd_deleClick()
{
    if (keyText().trimmed().isEmpty())
        return;
    if (!confirmDelete())
        return;
    try {
        dataset_->remove();
    } catch (const std::exception&) {
    }
}

void RecordForm::cmd_exitClick()
{
    close();
}

bool RecordForm::FormCloseQuery()
{
    return closableAnyTime_ || !controls_.cmd_exit || controls_.cmd_exit->isEnabled();
}

void RecordForm::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery())
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void RecordForm::reject()
{
    // Escape and the title bar's close box follow the same close rule.
    if (FormCloseQuery())
        QDialog::reject();
}

namespace {

// The standard buttons: where each is kept and which frame handler it runs.
struct StandardButton {
    const char* name;
    QPushButton* StandardControls::*slot;
    void (RecordForm::*handler)();
};

const StandardButton kStandardButtons[] = {
    {"cmd_add", &StandardControls::cmd_add, &RecordForm::cmd_addClick},
    {"cmd_edit", &StandardControls::cmd_edit, &RecordForm::cmd_editClick},
    {"cmd_dele", &StandardControls::cmd_dele, &RecordForm::cmd_deleClick},
    {"cmd_save", &StandardControls::cmd_save, &RecordForm::cmd_saveClick},
    {"cmd_canc", &StandardControls::cmd_canc, &RecordForm::cmd_cancClick},
    {"cmd_find", &StandardControls::cmd_find, &RecordForm::cmd_findClick},
    {"cmd_prin", &StandardControls::cmd_prin, &RecordForm::cmd_prinClick},
    {"cmd_exit", &StandardControls::cmd_exit, &RecordForm::cmd_exitClick},
};

const StandardButton* standardButton(const QString& name)
{
    for (const StandardButton& b : kStandardButtons)
        if (name == QLatin1String(b.name))
            return &b;
    return nullptr;
}

} // namespace

QPushButton* RecordForm::addButton(const QString& name, const QString& caption, std::function<void()> handler)
{
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    toolbar_->addWidget(b);
    connect(b, &QPushButton::clicked, this, ui::guarded(this, [handler] { handler(); }));
    if (const StandardButton* standard = standardButton(name))
        controls_.*(standard->slot) = b;
    return b;
}

void RecordForm::addStandardButtons(const QStringList& names, const QStringList& captions)
{
    for (qsizetype i = 0; i < names.size(); ++i) {
        const StandardButton* standard = standardButton(names[i]);
        if (!standard)
            throw std::invalid_argument("not a standard button: " + names[i].toStdString());
        // Virtual, so a form's own handler runs.
        addButton(names[i], captions.value(i), [this, standard] { (this->*(standard->handler))(); });
    }
    toolbar_->addStretch(1);
}

QLineEdit* RecordForm::addQuickFind(const QString& boxName, QBoxLayout* into, std::function<void()> onEnter)
{
    auto* group = new QGroupBox(QStringLiteral("快速查找"), this);
    auto* row = new QHBoxLayout(group);
    auto* box = new QLineEdit(group);
    box->setObjectName(boxName);
    auto* find = new QPushButton(QStringLiteral("查找"), group);
    find->setObjectName(QStringLiteral("cmd_find"));
    find->setAutoDefault(false);
    row->addWidget(box, 1);
    row->addWidget(find);
    into->addWidget(group);
    controls_.findGroup = group;
    controls_.cmd_find = find;
    connect(find, &QPushButton::clicked, this, ui::guarded(this, [this] { cmd_findClick(); }));
    // Enter finds only where the find button may be pressed (it follows the
    // find right on forms that gate it).
    if (!onEnter)
        onEnter = [this] {
            if (controls_.cmd_find && controls_.cmd_find->isEnabled())
                cmd_findClick();
        };
    connect(box, &QLineEdit::returnPressed, this, ui::guarded(this, std::move(onEnter)));
    return box;
}

void RecordForm::runFormCreate(const std::function<void()>& steps)
{
    ui::Hourglass wait;
    try {
        FixComboAutoComplete(this);
        steps();
    } catch (const std::exception&) {
        // the form opens all the same
    }
    setMode(FormMode::Null);
}

bool RecordForm::confirmDelete(const QString& text, const QString& caption)
{
    return ui::ask(this, text, caption, ui::Buttons::OkCancel) != ui::Answer::Cancel;
}
