#include "stock/DocumentFinder.h"

#include "core/Upublic.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"

#include <QBoxLayout>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

DocumentFinder::DocumentFinder(QWidget* owner, const DocumentFinderDef& def, db::Dataset& documents)
    : ChooserForm(owner, def.objectName, def.caption, documents), def_(def)
{
    addButton(QStringLiteral("cmd_edit"), QStringLiteral("查询[&E]"), [this] { cmd_editClick(); });
    addChooseButton(QStringLiteral("cmd_save"), QStringLiteral("选取[&S]"), [this] { cmd_saveClick(); });
    addExitButton(QStringLiteral("cmd_exit"), QStringLiteral("退出[&X]"), [this] { cmd_exitClick(); });
    criteria()->addWidget(buildFilterGroup(), 1);

    // The grid's company name is looked up by comp_code, whatever other
    // columns the SQL returns.
    documents.setFieldDefs({db::FieldDef::lookup(QStringLiteral("comp_name"), db::FieldType::Text, 50,
                                                 QStringLiteral("comp_code"), QStringLiteral("company"),
                                                 QStringLiteral("comp_code"), QStringLiteral("comp_name"))});
    grid()->setColumns({{QStringLiteral("bill_no"), QStringLiteral("编号"), 120},
                        {QStringLiteral("bill_date"), QStringLiteral("日期 "), 90},
                        {QStringLiteral("vouc_no"), QStringLiteral("凭证号"), 100},
                        {QStringLiteral("comp_name"), QStringLiteral("公司名称"), 180},
                        {QStringLiteral("remark"), QStringLiteral("备注"), 160}});

    runFormCreate([this] { FormCreate(); });
    resize(680, 460);
}

QGroupBox* DocumentFinder::buildFilterGroup()
{
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* g = new QGridLayout(group);
    Edit1 = new QLineEdit(group);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    DateTimePicker1 = new ui::DbDatePicker(group);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker2 = new ui::DbDatePicker(group);
    DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
    ComboBox1 = new ui::DbComboBox(group);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    Edit2 = new QLineEdit(group);
    Edit2->setObjectName(QStringLiteral("Edit2"));

    g->addWidget(new QLabel(QStringLiteral("单号"), group), 0, 0);
    g->addWidget(Edit1, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("日期"), group), 0, 2);
    g->addWidget(DateTimePicker1, 0, 3);
    g->addWidget(new QLabel(QStringLiteral("-"), group), 0, 4);
    g->addWidget(DateTimePicker2, 0, 5);
    g->addWidget(new QLabel(QStringLiteral("公司名称"), group), 1, 0);
    g->addWidget(ComboBox1, 1, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("凭证号"), group), 1, 4);
    g->addWidget(Edit2, 1, 5);
    return group;
}

void DocumentFinder::ClearFindInputs()
{
    Edit1->clear();
    ComboBox1->clear();
    ComboBox1->setEditText(QString());
}

void DocumentFinder::FormCreate()
{
    FixComboAutoComplete(this);
    ClearFindInputs();
    DateTimePicker1->setDate(QDate::currentDate().addDays(-30));
    DateTimePicker2->setDate(QDate::currentDate());
    FillComboDistinctOnUse(QStringLiteral("company"), QStringLiteral("comp_name"), ComboBox1);
    list(def_.openingTerms);
}

void DocumentFinder::list(const QString& terms)
{
    db::Dataset& q = dataset();
    q.close();
    q.setSql(QStringList{def_.tableLine, terms});
    q.setLockType(db::LockType::Optimistic);
    bindDateRange();
    q.setParam(QStringLiteral("billtype"), CurBillType);
    q.open();
}

void DocumentFinder::bindDateRange()
{
    // Bill dates are days; the range takes in the whole of both end days.
    db::Dataset& q = dataset();
    q.setParam(QStringLiteral("date1"), QDateTime(DateTimePicker1->value(), QTime(0, 0)));
    q.setParam(QStringLiteral("date2"), QDateTime(DateTimePicker2->value(), QTime(23, 59, 59)));
}

void DocumentFinder::cmd_editClick()
{
    const QString billNo = Edit1->text().trimmed();
    const QString voucher = Edit2->text().trimmed();
    const QString company = ComboBox1->text().trimmed();
    try {
        db::Dataset& q = dataset();
        q.close();
        q.setSql(QStringList{def_.tableLine, def_.searchTerms});
        if (!billNo.isEmpty())
            q.addSql(QStringLiteral(" and bill_no=:bill_no "));
        if (!voucher.isEmpty())
            q.addSql(QStringLiteral(" and vouc_no=:vouc_no "));
        if (!company.isEmpty())
            q.addSql(QStringLiteral(" and comp_code=:comp_code "));
        q.setLockType(db::LockType::Optimistic);
        bindDateRange();
        q.setParam(QStringLiteral("billtype"), CurBillType);
        if (!billNo.isEmpty())
            q.setParam(QStringLiteral("bill_no"), billNo);
        if (!voucher.isEmpty())
            q.setParam(QStringLiteral("vouc_no"), voucher);
        if (!company.isEmpty()) {
            // No company of that name: NULL, which equals no code, so nothing
            // is listed (an empty code would list the documents without one).
            const QString code =
                LookupField(QStringLiteral("company"), QStringLiteral("comp_name"), company, QStringLiteral("comp_code"))
                    .trimmed();
            q.setParam(QStringLiteral("comp_code"), code.isEmpty() ? QVariant() : QVariant(code));
        }
        q.open();
    } catch (const std::exception&) {
        // the list shows what it last held
    }
}

void DocumentFinder::cmd_saveClick()
{
    choose();
}

void DocumentFinder::cmd_exitClick()
{
    reject();
}
