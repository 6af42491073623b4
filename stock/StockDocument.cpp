#include "stock/StockDocument.h"

#include "core/Chooser.h"
#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/db/Error.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EntryRefusal.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"
#include "stock/DocumentLinesGrid.h"
#include "stock/DocumentPrint.h"
#include "stock/StockPosting.h"
#include "stock/Ucompfind.h"
#include "stock/Ugodsfind.h"
#include "stock/Uinfind.h"
#include "stock/Uoutfind.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <map>

namespace {

const QString kNotStocked = QStringLiteral("不入库");

std::vector<StockDocumentDef> buildDefs()
{
    const QStringList stockRemarks{QStringLiteral("入库"), kNotStocked};
    using K = StockDocumentKind;
    return {
        {K::Purchase, QStringLiteral("FrmIn"), QStringLiteral("进货管理"), 21, QStringLiteral("in"), true, true, false,
         QStringLiteral("select top 1 * from inmain where bill_type='in' "), QStringLiteral(" select * from ingoods "),
         QStringLiteral("valu_in"), QStringLiteral("客户公司"), QStringLiteral("实付金额"), QStringLiteral("DBEdit2"),
         QStringLiteral("BitBtn1"), QString(), {}, false, false},
        {K::CustomerReturn, QStringLiteral("FrmReturnIn"), QStringLiteral("顾客退货单"), 23, QStringLiteral("retu"), true,
         true, true, QStringLiteral("select top 1 * from inmain where bill_type='retu' "),
         QStringLiteral(" select * from ingoods "), QStringLiteral("valu_out"), QStringLiteral("客户名称"),
         QStringLiteral("实付金额"), QStringLiteral("DBEdit2"), QStringLiteral("BitBtn1"), QStringLiteral("DBComboBox8"),
         stockRemarks, false, false},
        {K::Sale, QStringLiteral("FrmOut"), QStringLiteral("销售管理"), 22, QStringLiteral("out"), false, false, false,
         QStringLiteral("select top 1 * from outmain  where bill_type='out' "),
         QStringLiteral(" select * from outgoods "), QStringLiteral("valu_out"), QStringLiteral("公司名称"),
         QStringLiteral("实收金额"), QStringLiteral("DBEdit3"), QStringLiteral("Button1"), QStringLiteral("DBComboBox9"),
         {}, true, true},
        {K::SupplierReturn, QStringLiteral("FrmReturnout"), QStringLiteral("退货厂商"), 24, QStringLiteral("retu"), false,
         false, false, QStringLiteral("select top 1 * from outmain where bill_type='retu' "),
         QStringLiteral(" select * from outgoods "), QStringLiteral("valu_in"), QStringLiteral("客户名称"),
         QStringLiteral("实收金额"), QStringLiteral("DBEdit2"), QStringLiteral("BitBtn1"), QStringLiteral("DBComboBox8"),
         stockRemarks, false, true},
    };
}

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The six employees of a document: caption, code column, name column.
struct StaffRow {
    const char* caption;
    const char* code;
    const char* name;
};
const StaffRow kStaff[] = {
    {"制单人", "oper_code", "oper_name"}, {"经手人", "hand_code", "hand_name"}, {"复核人", "chek_code", "chek_name"},
    {"业务员", "rela_code", "rela_name"}, {"发货人", "send_code", "send_name"}, {"收货人", "rece_code", "rece_name"},
};

// Enter in a combo box, seen before the combo handles it.
class EnterWatcher : public QObject {
public:
    EnterWatcher(QWidget* watched, std::function<void(int)> onKey) : QObject(watched), onKey_(std::move(onKey))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            onKey_(static_cast<QKeyEvent*>(event)->key());
        return false;
    }

private:
    std::function<void(int)> onKey_;
};

ui::DbLineEdit* makeBox(ui::DataSource* source, const char* field, const QString& objectName, QWidget* parent)
{
    auto* box = new ui::DbLineEdit(source, QString::fromLatin1(field), parent);
    box->setObjectName(objectName);
    return box;
}

} // namespace

const StockDocumentDef& stockDocumentDef(StockDocumentKind kind)
{
    static const std::vector<StockDocumentDef> defs = buildDefs();
    for (const StockDocumentDef& d : defs)
        if (d.kind == kind)
            return d;
    return defs.front();
}

OldLineSnapshot& StockDocumentForm::oldLines(StockDocumentKind kind)
{
    static std::map<StockDocumentKind, OldLineSnapshot> snapshots;
    return snapshots[kind];
}

StockDocumentForm::StockDocumentForm(QWidget* owner, StockDocumentKind kind)
    : RecordForm(owner, stockDocumentDef(kind).objectName, stockDocumentDef(kind).caption,
                 stockDocumentDef(kind).position),
      def_(stockDocumentDef(kind)),
      header_(def_.inSide ? FrmDataMod->InMainQ : FrmDataMod->OutMainQ),
      lines_(def_.inSide ? FrmDataMod->InGoodsQ : FrmDataMod->OutGoodsQ)
{
    addStandardButtons({"cmd_add", "cmd_edit", "cmd_dele", "cmd_find", "cmd_prin", "cmd_save", "cmd_canc", "cmd_exit"},
                       {"新增[&A]", "修改[&E]", "删除[&D]", "查询[&F]", "打印[&P]", "保存[&S]", "取消[&C]", "退出[&X]"});
    controls().gateFind = true;
    controls().gatePrint = true;

    source_ = new ui::DataSource(&header_, this);
    buildHeader();
    buildGrid();
    buildFooter();
    controls().dataGroups = {GB1, GroupBox1};
    setRecord(&header_, DBEdit1, QStringLiteral("bill_no"));
    setFirstEditBox(DBEdit5);

    runFormCreate([this] { FormCreate(); });
    resize(960, 640);
}

StockDocumentForm::~StockDocumentForm()
{
    // The datasets stay open on the document shown; only this form's link
    // between them goes, and nothing left unsaved may reach the tables later.
    lines_.setMaster(nullptr, {}, {});
    try {
        if (lines_.isActive() && (lines_.isEditing() || lines_.hasPendingChanges()))
            lines_.cancelBatch();
        if (header_.isActive() && (header_.isEditing() || header_.hasPendingChanges()))
            header_.cancelBatch();
    } catch (const std::exception&) {
    }
}

void StockDocumentForm::buildHeader()
{
    GB1 = new QGroupBox(this);
    GB1->setObjectName(QStringLiteral("GB1"));
    auto* g = new QGridLayout(GB1);
    auto label = [](const QString& text, QWidget* box) { return ui::labelFor(box, text); };

    DBEdit5 = makeBox(source_, "vouc_no", QStringLiteral("DBEdit5"), GB1);
    DBEdit1 = makeBox(source_, "bill_no", QStringLiteral("DBEdit1"), GB1);
    DBEdit1->setEnabled(false);
    DateTimePicker1 = new ui::DbDatePicker(GB1);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    g->addWidget(label(QStringLiteral("凭 证 号"), DBEdit5), 0, 0);
    g->addWidget(DBEdit5, 0, 1);
    g->addWidget(label(QStringLiteral("单流水号"), DBEdit1), 0, 2);
    g->addWidget(DBEdit1, 0, 3);
    g->addWidget(label(QStringLiteral("开单日期"), DateTimePicker1), 0, 4);
    g->addWidget(DateTimePicker1, 0, 5);

    DBComboBox8 = new ui::DbComboBox(source_, QStringLiteral("fee_type"), GB1);
    DBComboBox8->setObjectName(QStringLiteral("DBComboBox8"));
    companyCode_ = makeBox(source_, "comp_code", def_.companyCodeBox, GB1);
    companyButton_ = NewChooserButton(GB1, def_.companyButton);
    companyButton_->setMaximumWidth(32);
    DBEdit6 = makeBox(source_, "comp_name", QStringLiteral("DBEdit6"), GB1);
    DBEdit6->setEnabled(false);
    auto* code = new QHBoxLayout;
    code->addWidget(companyCode_, 1);
    code->addWidget(companyButton_);
    g->addWidget(label(QStringLiteral("结算方式"), DBComboBox8), 1, 0);
    g->addWidget(DBComboBox8, 1, 1);
    g->addWidget(label(QStringLiteral("客户编码"), companyCode_), 1, 2);
    g->addLayout(code, 1, 3);
    g->addWidget(label(def_.companyCaption, DBEdit6), 1, 4);
    g->addWidget(DBEdit6, 1, 5);

    DBComboBox9 = new ui::DbComboBox(source_, QStringLiteral("mone_type"), GB1);
    DBComboBox9->setObjectName(QStringLiteral("DBComboBox9"));
    DBEdit8 = makeBox(source_, "mone_rate", QStringLiteral("DBEdit8"), GB1);
    DBEdit8->setLocked(true);
    DBEdit8->setEnabled(false);
    g->addWidget(label(QStringLiteral("币种"), DBComboBox9), 2, 0);
    g->addWidget(DBComboBox9, 2, 1);
    g->addWidget(label(QStringLiteral("汇率"), DBEdit8), 2, 2);
    g->addWidget(DBEdit8, 2, 3);
    if (def_.hasContactPhone) {
        auto* phone = makeBox(source_, "rela_phon", QStringLiteral("DBEdit2"), GB1);
        phone->setLocked(true);
        g->addWidget(label(QStringLiteral("联系电话"), phone), 2, 4);
        g->addWidget(phone, 2, 5);
    }
    body()->addWidget(GB1);

    connect(DBComboBox9, &ui::DbComboBox::textTyped, this, ui::guarded(this, [this] { DBComboBox9Change(); }));
    connect(DBComboBox9, &ui::DbComboBox::itemChosen, this, ui::guarded(this, [this] { DBComboBox9Change(); }));
    new EnterWatcher(DBComboBox8, [this](int key) { ui::runGuarded(this, [&] { DBComboBox8KeyPress(key); }); });
    new EnterWatcher(DBComboBox9, [this](int key) { ui::runGuarded(this, [&] { DBComboBox9KeyPress(key); }); });
}

void StockDocumentForm::buildGrid()
{
    DBGrid1 = new DocumentLinesGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataset(&lines_);
    DBGrid1->setColumns({{QStringLiteral("gods_code"), QStringLiteral("编码"), 100, false},
                         {QStringLiteral("gods_name"), QStringLiteral("产品名称"), 140},
                         {QStringLiteral("gods_spec"), QStringLiteral("规格"), 70},
                         {QStringLiteral("gods_type"), QStringLiteral("类型"), 70},
                         {QStringLiteral("gods_kind"), QStringLiteral("种类"), 70},
                         {QStringLiteral("gods_unit"), QStringLiteral("单位"), 50},
                         {QStringLiteral("unit_pric"), QStringLiteral("单价"), 70, false},
                         {QStringLiteral("sub_amou"), QStringLiteral("数量"), 70, false},
                         {QStringLiteral("sub_tota"), QStringLiteral("小计"), 80},
                         {QStringLiteral("remark"), QStringLiteral("备注"), 80, false}});
    DBGrid1->setEllipsisField(QStringLiteral("gods_code"));
    if (!def_.remarkPickList.isEmpty())
        DBGrid1->setPickList(QStringLiteral("remark"), def_.remarkPickList);
    body()->addWidget(DBGrid1, 1);

    connect(DBGrid1, &DocumentLinesGrid::keyPressed, this, ui::guarded(this, [this](int key) { DBGrid1KeyPress(key); }));
    connect(DBGrid1, &DocumentLinesGrid::editButtonClicked, this,
            ui::guarded(this, [this] { DBGrid1EditButtonClick(); }));
}

QLineEdit* StockDocumentForm::addPlainBox(const QString& objectName)
{
    auto* box = new QLineEdit(GroupBox1);
    box->setObjectName(objectName);
    box->setReadOnly(true);
    box->setEnabled(false);
    return box;
}

void StockDocumentForm::buildFooter()
{
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* g = new QGridLayout(GroupBox1);
    auto label = [](const QString& text, QWidget* box) { return ui::labelFor(box, text); };

    Edit3 = addPlainBox(QStringLiteral("Edit3"));
    Edit1 = addPlainBox(QStringLiteral("Edit1"));
    Edit2 = addPlainBox(QStringLiteral("Edit2"));
    g->addWidget(label(QStringLiteral("合计金额大写"), Edit3), 0, 0);
    g->addWidget(Edit3, 0, 1, 1, 5);
    g->addWidget(label(QStringLiteral("合计数量"), Edit1), 0, 6);
    g->addWidget(Edit1, 0, 7);
    g->addWidget(label(QStringLiteral("合计金额"), Edit2), 0, 8);
    g->addWidget(Edit2, 0, 9);

    DBEdit4 = makeBox(source_, "remark", QStringLiteral("DBEdit4"), GroupBox1);
    DBEdit10 = makeBox(source_, "fact_tota", QStringLiteral("DBEdit10"), GroupBox1);
    g->addWidget(label(QStringLiteral("备  注"), DBEdit4), 1, 0);
    g->addWidget(DBEdit4, 1, 1, 1, 7);
    g->addWidget(label(def_.factCaption, DBEdit10), 1, 8);
    g->addWidget(DBEdit10, 1, 9);

    int column = 0;
    int number = 1;
    for (const StaffRow& staff : kStaff) {
        auto* combo = new ui::DbComboBox(source_, QString::fromLatin1(staff.code), GroupBox1);
        combo->setObjectName(QStringLiteral("DBComboBox%1").arg(number));
        auto* name = makeBox(source_, staff.name, QStringLiteral("DBEdit%1").arg(10 + number), GroupBox1);
        name->setLocked(true);
        name->setAccessibleName(QString::fromUtf8(staff.caption) + QStringLiteral("姓名"));
        employeeCombos_.push_back(combo);
        g->addWidget(label(QString::fromUtf8(staff.caption), combo), 2, column);
        g->addWidget(combo, 2, column + 1);
        g->addWidget(name, 3, column + 1);
        column += 2;
        ++number;
    }
    body()->addWidget(GroupBox1);
}

void StockDocumentForm::FormCreate()
{
    CurBillType = def_.billType;
    SetGoodsColumnTitles(DBGrid1, QString());
    FillDocCombos();
    openHeader({def_.openingSql, QStringLiteral(" and bill_date=:date1")}, "date1", QDate::currentDate());

    keep(lines_.onNewRecord([this](db::Dataset& q) { SetLineBillNo(q); }));
    keep(lines_.onAfterPost([this](db::Dataset& q) { LinesAfterChange(q); }));
    keep(lines_.onAfterDelete([this](db::Dataset& q) { LinesAfterChange(q); }));
    keep(lines_.onCalcFields([this](db::Dataset& q) { CalcLineTotal(q); }));
    // The lines follow the header's bill_no whenever another header row
    // becomes current in browse state: after an add's post, a cancel, a find
    // and a delete, which are exactly the moves that change the document shown.
    lines_.setMaster(&header_, QStringLiteral("bill_no"), QStringLiteral("bill_no"));
    openLines();

    if (def_.calculatesPrintLines)
        keep(FrmDataMod->OutTempQ.onCalcFields([this](db::Dataset& q) { CalcTempLineTotal(q); }));
    try {
        RecalcTotals();
    } catch (const std::exception&) {
    }
}

void StockDocumentForm::openHeader(const QStringList& sql, const char* param, const QVariant& value)
{
    header_.close();
    header_.setSql(sql);
    header_.setParam(QString::fromLatin1(param), value);
    header_.setLockType(db::LockType::BatchOptimistic);
    header_.open();
    showDocumentDate();
}

void StockDocumentForm::openLines()
{
    lines_.close();
    lines_.setSql(QStringList{def_.linesSql, QStringLiteral(" where bill_no=:bill_no ")});
    lines_.setParam(QStringLiteral("bill_no"), header_.isEmpty() ? QVariant() : header_.value(QStringLiteral("bill_no")));
    lines_.setLockType(db::LockType::BatchOptimistic);
    lines_.open();
}

void StockDocumentForm::showDocumentDate()
{
    if (header_.isEmpty())
        return;
    const QDate date = header_.asDateTime(QStringLiteral("bill_date")).date();
    if (date.isValid())
        DateTimePicker1->setDate(date);
    else
        DateTimePicker1->setNull();
}

void StockDocumentForm::FillDocCombos()
{
    for (ui::DbComboBox* combo : employeeCombos_)
        FillComboDistinct(QStringLiteral("employee"), QStringLiteral("empl_code"), combo);
    FillComboDistinct(QStringLiteral("baseitem"), QStringLiteral("fee_type"), DBComboBox8);
    FillComboDistinct(QStringLiteral("baseitem"), QStringLiteral("mone_type"), DBComboBox9);
}

void StockDocumentForm::SetControlStates()
{
    RecordForm::SetControlStates();
    const bool entering = mode() != FormMode::Null;
    if (entering && controls().cmd_dele)
        controls().cmd_dele->setEnabled(true);
    if (DBGrid1)
        DBGrid1->setReadOnly(!entering);
}

void StockDocumentForm::SetLineBillNo(db::Dataset& q)
{
    try {
        q.setValue(QStringLiteral("bill_no"), DBEdit1->text());
    } catch (const std::exception&) {
    }
}

void StockDocumentForm::CalcLineTotal(db::Dataset& q)
{
    try {
        q.setValue(QStringLiteral("sub_tota"), q.asFloat(QStringLiteral("sub_amou")) * q.asFloat(QStringLiteral("unit_pric")));
    } catch (const std::exception&) {
    }
}

void StockDocumentForm::CalcTempLineTotal(db::Dataset& q)
{
    try {
        // The blank rows that fill a printed page have no goods, and no amount.
        if (q.asString(QStringLiteral("gods_code")).trimmed().isEmpty())
            q.setValue(QStringLiteral("sub_tota"), QVariant());
        else
            CalcLineTotal(q);
    } catch (const std::exception&) {
    }
}

void StockDocumentForm::LinesAfterChange(db::Dataset&)
{
    RecalcTotals();
}

void StockDocumentForm::RecalcTotals()
{
    double quantity = 0;
    double amount = 0;
    if (lines_.isActive()) {
        // Read row by row without moving the cursor: a line being entered stays as it is.
        const int qty = lines_.fieldIndex(QStringLiteral("sub_amou"));
        const int total = lines_.fieldIndex(QStringLiteral("sub_tota"));
        for (int r = 0; r < lines_.recordCount(); ++r) {
            quantity += db::asFloat(lines_.value(r, qty));
            amount += db::asFloat(lines_.value(r, total));
        }
    }
    Edit1->setText(db::formatAmount(quantity));
    Edit2->setText(db::formatAmount(amount));
    Edit3->setText(MoneyToChinese(db::parseAmount(Edit2->text()).value_or(0)));
}

QString StockDocumentForm::unusedBillNo() const
{
    // Bill numbers are the clock to the second: a document entered within
    // the second of a stored one would share its lines. The next free second
    // is taken instead.
    const QString format = QStringLiteral("yyyyMMddHHmmss");
    QString billNo = NewBillNo();
    const QString used = QStringLiteral("select count(*) from %1 where bill_no=:bill_no").arg(def_.headerTable());
    for (int tries = 0; tries < 1000; ++tries) {
        if (db::asInt(header_.connection().scalar(used, {{QStringLiteral("bill_no"), billNo}})) == 0)
            break;
        const QDateTime at = QDateTime::fromString(billNo, format);
        if (!at.isValid())
            break;
        billNo = at.addSecs(1).toString(format);
    }
    return billNo;
}

void StockDocumentForm::cmd_addClick()
{
    try {
        header_.append();
        header_.setValue(QStringLiteral("bill_no"), unusedBillNo());
        header_.post();
        header_.edit();
        lines_.append();
    } catch (const std::exception&) {
    }
    DateTimePicker1->setToday();
    setMode(FormMode::Add);
    Edit1->clear();
    Edit2->clear();
    Edit3->clear();
    DBEdit5->setFocus();
}

void StockDocumentForm::takeSnapshot()
{
    OldLineSnapshot& s = oldLines(def_.kind);
    const int count = lines_.recordCount();
    s.OldLineCount = count;
    if (count == 0)
        return;
    const bool remarks = def_.passesOverNotStocked;
    s.OldLineCodes.assign(size_t(count), QString());
    s.OldLineQtys.assign(size_t(count), 0.0);
    if (remarks)
        s.OldLineRemarks.assign(size_t(count), QString());
    const int code = lines_.fieldIndex(QStringLiteral("gods_code"));
    const int qty = lines_.fieldIndex(QStringLiteral("sub_amou"));
    const int remark = lines_.fieldIndex(QStringLiteral("remark"));
    for (int i = 0; i < count; ++i) {
        s.OldLineCodes[size_t(i)] = db::asString(lines_.value(i, code));
        s.OldLineQtys[size_t(i)] = db::asFloat(lines_.value(i, qty));
        if (remarks)
            s.OldLineRemarks[size_t(i)] = db::asString(lines_.value(i, remark));
    }
}

void StockDocumentForm::cmd_editClick()
{
    if (DBEdit1->text().trimmed().isEmpty())
        return;
    try {
        takeSnapshot();
    } catch (const std::exception&) {
    }
    try {
        header_.edit();
        lines_.edit();
        setMode(FormMode::Edit);
        DBEdit5->setFocus();
    } catch (const std::exception&) {
    }
}

void StockDocumentForm::cmd_cancClick()
{
    try {
        lines_.cancelBatch();
        header_.cancelBatch();
    } catch (const std::exception&) {
    }
    try {
        RecalcTotals();
        showDocumentDate();
    } catch (const std::exception&) {
    }
    setMode(FormMode::Null);
    if (controls().cmd_add)
        controls().cmd_add->setFocus();
}

bool StockDocumentForm::countsInStock(const QString& remark) const
{
    return !(def_.passesOverNotStocked && remark == kNotStocked);
}

void StockDocumentForm::postPendingLine()
{
    DBGrid1->finishEditing();
    if (lines_.isActive() && lines_.isEditing() && lines_.modified())
        lines_.post();
}

void StockDocumentForm::dropUntouchedLine()
{
    if (lines_.isActive() && lines_.isEditing())
        lines_.cancel();
}

bool StockDocumentForm::quantityIsAboveZero() const
{
    const std::optional<double> total = db::parseAmount(Edit1->text().trimmed());
    return total && *total > 0;
}

void StockDocumentForm::writeDocument()
{
    if (!header_.isEditing())
        header_.edit();
    const QDate date = DateTimePicker1->value();
    header_.setValue(QStringLiteral("bill_date"), date.isValid() ? QVariant(QDateTime(date, QTime(0, 0))) : QVariant());
    const double total = db::parseAmount(Edit2->text()).value_or(0);
    header_.setValue(QStringLiteral("shou_tota"), db::parseAmount(db::formatAmount(total)).value_or(0));
    header_.setValue(QStringLiteral("bill_type"), def_.billType);
    header_.post();
    lines_.applyBatch();
    header_.applyBatch();
}

void StockDocumentForm::takeBackOldLines()
{
    const OldLineSnapshot& s = oldLines(def_.kind);
    StockBook book(header_.connection());
    const size_t count = std::min({size_t(std::max(s.OldLineCount, 0)), s.OldLineCodes.size(), s.OldLineQtys.size()});
    for (size_t i = 0; i < count; ++i) {
        const QString remark = i < s.OldLineRemarks.size() ? s.OldLineRemarks[i] : QString();
        if (countsInStock(remark))
            book.takeBack(s.OldLineCodes[i], s.OldLineQtys[i], def_.receiving);
    }
}

void StockDocumentForm::postLines()
{
    StockBook book(header_.connection());
    const int code = lines_.fieldIndex(QStringLiteral("gods_code"));
    const int qty = lines_.fieldIndex(QStringLiteral("sub_amou"));
    const int price = lines_.fieldIndex(QStringLiteral("unit_pric"));
    const int remark = lines_.fieldIndex(QStringLiteral("remark"));
    for (int r = 0; r < lines_.recordCount(); ++r) {
        if (!countsInStock(db::asString(lines_.value(r, remark))))
            continue;
        const QString goods = db::asString(lines_.value(r, code));
        const double s = db::asFloat(lines_.value(r, qty));
        if (def_.receiving)
            book.receive(goods, s, db::asFloat(lines_.value(r, price)));
        else
            book.issue(goods, s);
    }
}

void StockDocumentForm::cmd_saveClick()
{
    ui::Hourglass wait;
    // The line still being entered counts: its quantity is part of the total
    // checked. An empty new line stays for typing into until the check passes.
    postPendingLine();
    // Lines of huge numbers add up beyond any number: neither stored as 0
    // nor taken for no quantity.
    for (QLineEdit* total : {Edit1, Edit2})
        if (!total->text().trimmed().isEmpty() && !db::parseAmount(total->text())) {
            ui::showRefusal(this, ui::RefusedEntry(total, QStringLiteral("超出了可存的范围")));
            return;
        }
    if (!quantityIsAboveZero()) {
        ui::warn(this, QStringLiteral("数量不能为0"));
        return;
    }
    dropUntouchedLine();
    const bool editing = mode() == FormMode::Edit;
    try {
        db::Transaction t(header_.connection());
        writeDocument();
        if (editing)
            takeBackOldLines();
        postLines();
        t.commit();
    } catch (const ui::RefusedEntry& refused) {
        // A header box's value the document cannot hold: nothing was written.
        reopenHeaderForEditing();
        ui::showRefusal(this, refused);
        return;
    } catch (const std::exception& e) {
        // Nothing was written; the document stays on the screen as typed.
        reopenHeaderForEditing();
        ui::showError(this, QStringLiteral("单据没有保存：%1").arg(db::reasonOf(e)), db::detailsOf(e));
        return;
    }
    setMode(FormMode::Null);
    locateKeyBoxRecord();
    if (controls().cmd_add)
        controls().cmd_add->setFocus();
}

void StockDocumentForm::reopenHeaderForEditing()
{
    try {
        if (header_.isActive() && !header_.isEditing() && !header_.isEmpty())
            header_.edit();
    } catch (const std::exception&) {
    }
}

bool StockDocumentForm::monthWasChecked() const
{
    const MonthRange month = MonthOf(DateTimePicker1->value());
    db::Dataset& q = FrmDataMod->TempQ;
    q.close();
    q.setSql(QStringList{QStringLiteral(" select top 1 * from storchek "), QStringLiteral("where chek_date>=:first and "),
                         QStringLiteral("chek_date<:next "), QStringLiteral("order by gods_code ")});
    q.setParam(QStringLiteral("first"), month.first);
    q.setParam(QStringLiteral("next"), month.next);
    q.open();
    return !q.isEmpty();
}

void StockDocumentForm::deleteDocument()
{
    if (monthWasChecked()) {
        ui::warn(this, QStringLiteral("本单所在月份已经盘点，不可删除"));
        return;
    }
    if (!confirmDelete(QStringLiteral("此操作将删除本单全部数据，确认删除?")))
        return;
    const QString billNo = DBEdit1->text().trimmed();
    try {
        db::Transaction t(header_.connection());
        StockBook book(header_.connection());
        const int code = lines_.fieldIndex(QStringLiteral("gods_code"));
        const int qty = lines_.fieldIndex(QStringLiteral("sub_amou"));
        const int remark = lines_.fieldIndex(QStringLiteral("remark"));
        for (int r = 0; r < lines_.recordCount(); ++r)
            if (countsInStock(db::asString(lines_.value(r, remark))))
                book.takeBack(db::asString(lines_.value(r, code)), db::asFloat(lines_.value(r, qty)), def_.receiving);
        header_.remove();
        header_.applyBatch();
        db::Dataset& q = FrmDataMod->TempQ;
        q.close();
        q.setSql(QStringLiteral("delete from %1 where bill_no=:bill_no").arg(def_.linesTable()));
        q.setParam(QStringLiteral("bill_no"), billNo);
        q.execute();
        t.commit();
    } catch (const std::exception& e) {
        // Nothing was deleted: the document comes back.
        try {
            header_.cancelBatch();
        } catch (const std::exception&) {
        }
        ui::showError(this, QStringLiteral("单据没有删除：%1").arg(db::reasonOf(e)), db::detailsOf(e));
    }
    try {
        RecalcTotals();
        showDocumentDate();
    } catch (const std::exception&) {
    }
}

void StockDocumentForm::deleteLine()
{
    if (!lines_.isActive() || lines_.isEmpty())
        return;
    // The blank line offered to a document without lines has nothing to delete.
    const bool onlyBlankLine =
        lines_.recordCount() == 1 && lines_.state() == db::DatasetState::Insert && !lines_.modified();
    if (onlyBlankLine || !confirmDelete(QStringLiteral("确认删除本条数据?")))
        return;
    try {
        lines_.remove();
        // As at the start of a document: a line to type into.
        if (lines_.isEmpty())
            lines_.append();
    } catch (const std::exception&) {
    }
}

void StockDocumentForm::cmd_deleClick()
{
    if (DBEdit1->text().trimmed().isEmpty())
        return;
    if (mode() == FormMode::Null)
        deleteDocument();
    else
        deleteLine();
}

std::optional<QString> StockDocumentForm::chooseDocument()
{
    const QString billNo = QStringLiteral("bill_no");
    return def_.inSide ? chooseField<TFrmInFind>(this, billNo) : chooseField<TFrmOutFind>(this, billNo);
}

void StockDocumentForm::printDocument()
{
    PrintStockDocument(*this);
}

void StockDocumentForm::cmd_findClick()
{
    const std::optional<QString> billNo = chooseDocument();
    if (!billNo)
        return;
    try {
        showDocument(*billNo);
    } catch (const std::exception&) {
    }
}

void StockDocumentForm::cmd_prinClick()
{
    printDocument();
}

void StockDocumentForm::showDocument(const QString& billNo)
{
    FillDocCombos();
    openHeader({QStringLiteral("select  * from %1 where bill_no=:bill_no and bill_type='%2' ")
                    .arg(def_.headerTable(), def_.billType)},
               "bill_no", billNo);
    openLines();
    RecalcTotals();
}

void StockDocumentForm::DBGrid1KeyPress(int key)
{
    if (!isEnter(key) || DBGrid1->currentField() != QLatin1String("gods_code"))
        return;
    QString code;
    try {
        code = lines_.asString(QStringLiteral("gods_code")).trimmed();
        if (!code.isEmpty() && mode() != FormMode::Null && lines_.isEditing() && lines_.modified())
            lines_.setValue(QStringLiteral("unit_pric"),
                            LookupField(QStringLiteral("goods"), QStringLiteral("gods_code"), code, def_.priceColumn));
    } catch (const std::exception&) {
    }
    if (code.isEmpty())
        DBEdit4->setFocus();
}

void StockDocumentForm::DBGrid1EditButtonClick()
{
    if (!controls().cmd_save || !controls().cmd_save->isEnabled())
        return;
    const std::optional<QString> code = chooseField<TFrmGoodsFind>(this, QStringLiteral("gods_code"));
    if (!code)
        return;
    try {
        lines_.edit(); // on no lines: a new one
    } catch (const std::exception&) {
    }
    try {
        lines_.setValue(QStringLiteral("gods_code"), *code);
    } catch (const std::exception&) {
    }
}

void StockDocumentForm::chooseCompany()
{
    if (const std::optional<ChosenCompany> chosen = ChooseCompany(this))
        companyCode_->putChosen(chosen->code);
}

void StockDocumentForm::DBComboBox9Change()
{
    try {
        const QString rate = LookupField(QStringLiteral("baseitem"), QStringLiteral("mone_type"), DBComboBox9->text(),
                                         QStringLiteral("mone_rate"));
        if (header_.isEditing())
            header_.setValue(QStringLiteral("mone_rate"), rate);
    } catch (const std::exception&) {
    }
}

void StockDocumentForm::enterToGrid(const QString& fromCombo, int key)
{
    if (!isEnter(key) || def_.enterToGridFrom != fromCombo)
        return;
    DBGrid1->setFocus();
    // The line is typed from its goods code on, whichever cell was current before.
    if (lines_.recNo() >= 0)
        DBGrid1->setCurrentIndex(DBGrid1->model()->index(lines_.recNo(), 0));
}

void StockDocumentForm::DBComboBox8KeyPress(int key)
{
    enterToGrid(QStringLiteral("DBComboBox8"), key);
}

void StockDocumentForm::DBComboBox9KeyPress(int key)
{
    enterToGrid(QStringLiteral("DBComboBox9"), key);
}
