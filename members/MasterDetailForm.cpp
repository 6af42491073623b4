#include "members/MasterDetailForm.h"

#include "platform/ui/DbGrid.h"
#include "platform/ui/Prompt.h"

#include <QLineEdit>

MasterDetailForm::MasterDetailForm(QWidget* owner, const QString& objectName, const QString& caption, int position,
                                   Design design)
    : BatchRecordForm(owner, objectName, caption, position, *design.records), design_(std::move(design))
{
    DBGrid1 = makeRowGrid(QStringLiteral("DBGrid1"), design_.master, design_.masterColumns);
    connect(DBGrid1, &ui::DbGrid::cellClicked, this, ui::guarded(this, [this] { DBGrid1CellClick(); }));
    DBGrid2 = makeRowGrid(QStringLiteral("DBGrid2"), design_.records, design_.recordColumns);

    controls().grid = DBGrid1;
    controls().gateFind = true;
}

MasterDetailForm::~MasterDetailForm()
{
    try {
        design_.master->close();
    } catch (const std::exception&) {
    }
}

void MasterDetailForm::addMasterFind(const QString& label, QBoxLayout* into, std::function<void()> onEnter)
{
    Edit2 = addLabelledQuickFind(QStringLiteral("Edit2"), label, into, std::move(onEnter));
}

void MasterDetailForm::SetControlStates()
{
    BatchRecordForm::SetControlStates();
    // The record list is the form's record grid: no moving off the record being entered.
    DBGrid2->setEnabled(mode() == FormMode::Null);
}

void MasterDetailForm::openMaster()
{
    db::Dataset& list = master();
    list.close();
    list.setSql(design_.masterSql);
    list.setLockType(db::LockType::Optimistic);
    list.open();
}

void MasterDetailForm::openRecords(const QString& key, const QString& sql)
{
    db::Dataset& q = *design_.records;
    q.close();
    q.setSql(sql.isEmpty() ? design_.recordsSql : sql);
    q.setParam(design_.key, key);
    q.setLockType(db::LockType::BatchOptimistic);
    q.open();
}

void MasterDetailForm::DBGrid1CellClick()
{
    db::Dataset& list = master();
    if (!list.isActive() || list.isEmpty())
        return;
    Edit2->setText(list.asString(design_.key));
    try {
        openRecords(Edit2->text());
    } catch (const std::exception&) {
    }
}
