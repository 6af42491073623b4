#include "members/BatchRecordForm.h"

#include "core/Chooser.h"
#include "core/Upublic.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/Prompt.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

BatchRecordForm::BatchRecordForm(QWidget* owner, const QString& objectName, const QString& caption, int position,
                                 db::Dataset& records)
    : RecordForm(owner, objectName, caption, position), records_(records)
{
    addStandardButtons({"cmd_add", "cmd_edit", "cmd_dele", "cmd_save", "cmd_canc", "cmd_prin", "cmd_exit"},
                       {"新增&A", "修改&E", "删除&D", "保存&S", "取消&C", "打印&P", "退出&X"});
    controls().cmd_prin->setVisible(false);
    source_ = new ui::DataSource(&records_, this);
}

BatchRecordForm::~BatchRecordForm()
{
    FormDestroy();
}

void BatchRecordForm::FormDestroy()
{
    // Changes not yet saved go with the closed query.
    try {
        records_.close();
    } catch (const std::exception&) {
    }
}

QLineEdit* BatchRecordForm::addLabelledQuickFind(const QString& boxName, const QString& label, QBoxLayout* into,
                                                 std::function<void()> onEnter)
{
    QLineEdit* box = addQuickFind(boxName, into, std::move(onEnter));
    if (auto* findRow = qobject_cast<QBoxLayout*>(controls().findGroup->layout()))
        findRow->insertWidget(0, new QLabel(label, controls().findGroup));
    return box;
}

ui::DbGrid* BatchRecordForm::makeRowGrid(const QString& objectName, db::Dataset* dataset,
                                         std::vector<ui::GridColumn> columns)
{
    return ui::DbGrid::rowList(this, dataset, std::move(columns), objectName);
}

QPushButton* BatchRecordForm::addPickerButton(const QString& objectName, QWidget* parent,
                                              std::function<void()> onClick)
{
    QPushButton* button = NewChooserButton(parent, objectName);
    button->setFixedWidth(32);
    connect(button, &QPushButton::clicked, this, ui::guarded(this, std::move(onClick)));
    return button;
}

void BatchRecordForm::cmd_deleClick()
{
    deleteShownRecord();
}

bool BatchRecordForm::deleteShownRecord()
{
    if (keyBox()->text().trimmed().isEmpty())
        return false;
    if (!confirmDelete(GetMsgText(QStringLiteral("1016")), GetMsgText(QStringLiteral("1017"))))
        return false;
    try {
        // Confirmed means gone: the deletion does not wait for a later save
        // of another record, nor is it undone by a later cancel.
        db::Transaction t(records_.connection());
        records_.remove();
        records_.applyBatch();
        t.commit();
        return true;
    } catch (const std::exception&) {
        try {
            records_.cancelBatch(); // the record the table kept comes back into the list
        } catch (const std::exception&) {
        }
    }
    return false;
}
