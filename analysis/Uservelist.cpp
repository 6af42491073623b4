#include "analysis/Uservelist.h"

#include "analysis/DateRangeGroup.h"
#include "analysis/ListTotals.h"
#include "analysis/Rservelist.h"
#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "core/InsiFeeLedger.h"
#include "platform/report/Preview.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EntryRefusal.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kRange = QStringLiteral("bill_date between :date1 and :date2  and gath_type='servefee' ");

db::Dataset& insiFeeQ()
{
    return FrmDataMod->InsiFeeQ;
}

} // namespace

TFrmServeList::TFrmServeList(QWidget* owner)
    : RecordForm(owner, QStringLiteral("FrmServeList"), QStringLiteral("会员消费明细"), kPosition)
{
    addButton(QStringLiteral("cmd_add"), QStringLiteral("查询&F"), [this] { cmd_addClick(); });
    addButton(QStringLiteral("cmd_prin"), QStringLiteral("打印&P"), [this] { cmd_prinClick(); });
    addButton(QStringLiteral("cmd_exit"), QStringLiteral("退出&X"), [this] { cmd_exitClick(); });
    toolbar()->addStretch(1);
    // Query and print follow no right here: the rule must leave the query
    // button alone, and print is not gated.
    controls().cmd_add = nullptr;

    source_ = new ui::DataSource(&insiFeeQ(), this);
    source_->setObjectName(QStringLiteral("DataSource1"));
    buildSelection();
    grid_ = NewServiceBillGrid(this);
    body()->addWidget(grid_, 1);
    buildDetailPanel();

    keep(insiFeeQ().onDataChange([this](db::Dataset&, db::DataChange kind, const QString&) {
        if (kind == db::DataChange::Record)
            DataSource1DataChange();
    }));

    resize(980, 680);
    runFormCreate([this] { FormCreate(); });
}

TFrmServeList::~TFrmServeList()
{
    FormDestroy();
}

void TFrmServeList::buildSelection()
{
    auto* row = new QHBoxLayout;

    allItems_ = new QCheckBox(QStringLiteral("全部"), this);
    allItems_->setObjectName(QStringLiteral("CheckBox1"));
    allItems_->setChecked(true);
    row->addWidget(allItems_);

    auto* itemGroup = new QGroupBox(QStringLiteral("项目名称"), this);
    auto* itemRow = new QHBoxLayout(itemGroup);
    itemCode_ = new ui::DbComboBox(itemGroup);
    itemCode_->setObjectName(QStringLiteral("ComboBox1"));
    itemName_ = new QLineEdit(itemGroup);
    itemName_->setObjectName(QStringLiteral("Edit1"));
    itemName_->setReadOnly(true);
    itemRow->addWidget(new QLabel(QStringLiteral("项目编号"), itemGroup));
    itemRow->addWidget(itemCode_, 1);
    itemRow->addWidget(new QLabel(QStringLiteral("项目名称"), itemGroup));
    itemRow->addWidget(itemName_, 1);
    row->addWidget(itemGroup, 3);

    category_ = new ui::DbComboBox(this);
    category_->setObjectName(QStringLiteral("ComboBox2"));
    row->addWidget(new QLabel(QStringLiteral("项目类别"), this));
    row->addWidget(category_, 1);

    const DateRangeGroup range(this, QStringLiteral("日期"), QStringLiteral("-"));
    from_ = range.from;
    to_ = range.to;
    row->addWidget(range.group, 2);

    body()->addLayout(row);

    connect(allItems_, &QCheckBox::clicked, this, ui::guarded(this, [this] { CheckBox1Click(); }));
    connect(itemCode_, &ui::DbComboBox::itemChosen, this, ui::guarded(this, [this] { ComboBox1Click(); }));
    connect(category_, &ui::DbComboBox::itemChosen, this, ui::guarded(this, [this] { ComboBox2Click(); }));
}

void TFrmServeList::buildDetailPanel()
{
    auto* panel = new QGroupBox(QStringLiteral("服务项目明细"), this);
    panel->setObjectName(QStringLiteral("GroupBox1"));
    panel->setEnabled(false);
    auto* grid = new QGridLayout(panel);
    int row = 0;
    int col = 0;
    // Caption and box in two cells, three pairs to a row.
    auto place = [&](const QString& caption, QWidget* w, const QString& unit = {}) {
        grid->addWidget(ui::labelFor(w, caption, panel), row, col);
        if (unit.isEmpty()) {
            grid->addWidget(w, row, col + 1);
        } else {
            auto* line = new QHBoxLayout;
            line->addWidget(w, 1);
            line->addWidget(new QLabel(unit, panel));
            grid->addLayout(line, row, col + 1);
        }
        col += 2;
        if (col == 6) {
            col = 0;
            ++row;
        }
    };
    auto box = [&](const char* field, const char* name) {
        auto* b = new ui::DbLineEdit(source_, QString::fromLatin1(field), panel);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    struct Row {
        const char* caption;
        const char* field;
        const char* name;
        const char* unit;
    };
    place(QStringLiteral("服务单号"), box("bill_no", "DBEdit1"));
    lineDate_ = new ui::DbDatePicker(panel);
    lineDate_->setObjectName(QStringLiteral("DateTimePicker1"));
    place(QStringLiteral("开单日期"), lineDate_);
    const Row rows[] = {
        {"会员卡号", "card_no", "DBEdit2", ""},      {"姓名", "insi_name", "DBEdit3", ""},
        {"服务项目", "serve_code", "DBEdit4", ""},   {"名称", "serve_name", "DBEdit5", ""},
        {"类别", "serve_type", "DBEdit6", ""},       {"单价", "unit_pric", "DBEdit7", ""},
        {"折扣", "rebate", "DBEdit8", "%"},          {"设 计 师", "stylist_code", "DBEdit9", ""},
        {"姓名", "stylist_name", "DBEdit10", ""},    {"中工编码", "middle_code", "DBEdit11", ""},
        {"姓名", "middle_name", "DBEdit12", ""},     {"助理编码", "assis_code", "DBEdit13", ""},
        {"姓名", "assis_name", "DBEdit14", ""},      {"备注", "gath_note", "DBEdit15", ""},
        {"应收金额", "should_gath", "DBEdit16", ""}, {"实收金额", "serv_fee", "DBEdit17", ""},
        {"找零", "change_fee", "DBEdit18", ""},
    };
    for (const Row& r : rows)
        place(QString::fromUtf8(r.caption), box(r.field, r.name), QString::fromUtf8(r.unit));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(panel, 1);
    auto* totalRow = new QVBoxLayout;
    total_ = new QLineEdit(this);
    total_->setObjectName(QStringLiteral("Edit2"));
    total_->setReadOnly(true);
    totalRow->addWidget(new QLabel(QStringLiteral("金额"), this));
    totalRow->addWidget(total_);
    totalRow->addStretch(1);
    bottom->addLayout(totalRow);
    body()->addLayout(bottom);
}

void TFrmServeList::FormCreate()
{
    FillServeFindCombos();
    from_->setToday();
    to_->setToday();
    OpenEmptyInsiFeeList();
}

void TFrmServeList::FormDestroy()
{
    CloseInsiFeeList();
}

void TFrmServeList::FillServeFindCombos()
{
    FillComboDistinct(QStringLiteral("serveitem"), QStringLiteral("serve_code"), itemCode_);
    FillComboDistinct(QStringLiteral("serveitem"), QStringLiteral("serve_type"), category_);
}

void TFrmServeList::CheckBox1Click()
{
    if (!allItems_->isChecked())
        return;
    itemCode_->setText({});
    itemName_->clear();
    category_->setText({});
}

void TFrmServeList::ComboBox1Click()
{
    itemName_->setText(LookupField(QStringLiteral("serveitem"), QStringLiteral("serve_code"), itemCode_->text(),
                                   QStringLiteral("serve_name")));
    allItems_->setChecked(false);
    category_->setText({});
}

void TFrmServeList::ComboBox2Click()
{
    allItems_->setChecked(false);
    itemCode_->setText({});
    itemName_->clear();
}

bool TFrmServeList::prepareQuery(Heading& heading)
{
    const QString code = itemCode_->text().trimmed();
    const QString type = category_->text().trimmed();
    db::Dataset& q = insiFeeQ();
    if (allItems_->isChecked()) {
        q.close();
        q.setSql({QStringLiteral("select * from insifee where "), kRange});
    } else if (!code.isEmpty()) {
        q.close();
        q.setSql({QStringLiteral("select * from insifee where "), kRange, QStringLiteral("and serve_code=:serve_code ")});
        q.setParam(QStringLiteral("serve_code"), code);
        heading.itemCode = itemCode_->text();
        heading.itemName = itemName_->text();
    } else if (!type.isEmpty()) {
        q.close();
        // The category is the item's as it stands now; a code held by two
        // items must not list its bills twice.
        q.setSql({QStringLiteral("select * from insifee where "), kRange,
                  QStringLiteral("and serve_code in (select serve_code from serveitem where serve_type=:serve_type) ")});
        q.setParam(QStringLiteral("serve_type"), type);
    } else {
        return false;
    }
    heading.from = from_->value();
    heading.to = to_->value();
    q.setParam(QStringLiteral("date1"), heading.from);
    q.setParam(QStringLiteral("date2"), heading.to);
    return true;
}

void TFrmServeList::cmd_addClick()
{
    ui::Hourglass wait;
    db::Dataset& q = insiFeeQ();
    q.disableControls();
    bool selected = true;
    try {
        Heading heading;
        selected = prepareQuery(heading);
        if (selected) {
            q.open();
            shown_ = heading;
            SumConsumptionTotal();
        }
    } catch (const std::exception&) {
        // the list and the total stay as the failure left them
    }
    q.enableControls();
    if (!selected)
        ui::warn(this, QStringLiteral("请选择全部、项目编号或项目类别"));
}

void TFrmServeList::SumConsumptionTotal()
{
    total_->setText(db::formatAmount(SumColumn(insiFeeQ(), QStringLiteral("should_gath"))));
}

void TFrmServeList::DataSource1DataChange()
{
    db::Dataset& q = insiFeeQ();
    const QDateTime date = q.isActive() && !q.isEmpty() ? q.asDateTime(QStringLiteral("bill_date")) : QDateTime();
    if (date.isValid())
        lineDate_->setDate(date.date());
    else
        lineDate_->setNull();
}

void TFrmServeList::cmd_prinClick()
{
    db::Dataset& q = insiFeeQ();
    if (!q.isActive() || q.isEmpty())
        return;
    TQserveList report(q);
    // Choices made since the query must not head this list.
    report.fillHeader(shown_.itemCode, shown_.itemName, shown_.from, shown_.to, total_->text());
    report::preview(report, this);
}
