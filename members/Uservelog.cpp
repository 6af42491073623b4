#include "members/Uservelog.h"

#include "core/Chooser.h"
#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "core/InsiFeeLedger.h"
#include "members/Uservefind.h"
#include "platform/db/Value.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EntryRefusal.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <optional>

namespace {

const QString kBillsOfType = QStringLiteral("select * from insifee where gath_type='servefee' ");

db::Dataset& insiFeeQ()
{
    return FrmDataMod->InsiFeeQ;
}

std::optional<qlonglong> wholeNumber(const QString& text)
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qlonglong>(v) : std::nullopt;
}

// A box's whole number where the save cannot go on without one; the failure
// reaches the error box, naming the box.
qlonglong requireWholeNumber(QLineEdit* box)
{
    const QString text = box->text().trimmed();
    if (const auto v = wholeNumber(text))
        return *v;
    throw ui::RefusedEntry(box, ui::notWholeNumberText(text));
}

// The amount due as a whole number, NULL for an empty price; nothing when the
// price or the discount cannot be read, or the amount is beyond what the
// ledger's amounts hold.
std::optional<QVariant> amountDue(const QString& priceText, const QString& discountText)
{
    const QString price = priceText.trimmed();
    const QString discount = discountText.trimmed();
    qlonglong percent = 100; // the full price
    if (!discount.isEmpty()) {
        const auto read = wholeNumber(discount);
        if (!read)
            return std::nullopt;
        if (*read > 0 && *read < 100)
            percent = *read;
    }
    if (price.isEmpty())
        return percent == 100 ? std::optional<QVariant>(QVariant()) : std::nullopt;
    const auto p = db::parseAmount(price);
    if (!p)
        return std::nullopt;
    const double due = percent == 100 ? *p : *p * double(percent) / 100.0;
    // The ledger holds whole units only; llround takes halves away from zero.
    if (!(std::fabs(due) < 9e18))
        return std::nullopt;
    const qlonglong whole = std::llround(due);
    // As much as the amount received can be typed, so the bill can be paid.
    if (!db::fitsWholeNumberColumn(whole, db::FieldType::Integer))
        return std::nullopt;
    return QVariant(whole);
}

// The member's stored balance or spend; NULL counts as 0.
double storedMemberAmount(const QString& column, const QString& cardNo)
{
    db::Dataset& q = FrmDataMod->TempQ;
    q.close();
    q.setSql(QStringLiteral("select ") + column + QStringLiteral(" from insider where card_no=:card_no"));
    q.setParam(QStringLiteral("card_no"), cardNo);
    q.open();
    return q.isEmpty() ? 0.0 : db::asFloat(q.value(0, 0));
}

void updateMember(const QString& sql, const QString& param, const QVariant& value, const QString& cardNo)
{
    db::Dataset& q = FrmDataMod->TempQ;
    q.close();
    q.setSql(sql);
    q.setParam(param, value);
    q.setParam(QStringLiteral("card_no"), cardNo);
    q.execute();
}

struct BoxRow {
    const char* caption;
    const char* field;
    const char* objectName;
};

} // namespace

TFrmServeLog::TFrmServeLog(QWidget* owner)
    : RecordForm(owner, QStringLiteral("FrmServeLog"), QStringLiteral("会员服务开单"), kPosition)
{
    addStandardButtons({"cmd_add", "cmd_edit", "cmd_dele", "cmd_save", "cmd_canc", "cmd_prin", "cmd_exit"},
                       {"新增&A", "收款&E", "删除&D", "保存&S", "取消&C", "当天记录", "退出&X"});
    controls().gatePrint = true;
    controls().gateFind = true;

    db::Dataset& q = insiFeeQ();
    source_ = new ui::DataSource(&q, this);

    auto* top = new QHBoxLayout;
    auto* billGroup = new QGroupBox(QStringLiteral("服务项目"), this);
    billGroup->setObjectName(QStringLiteral("GroupBox1"));
    buildBillGroup(billGroup);
    top->addWidget(billGroup, 3);

    auto* right = new QVBoxLayout;
    auto* payGroup = new QGroupBox(QStringLiteral("收款资料"), this);
    payGroup->setObjectName(QStringLiteral("GroupBox2"));
    buildPaymentGroup(payGroup);
    right->addWidget(payGroup);
    findBox_ = addQuickFind(QStringLiteral("Edit2"), right, [this] { Edit2KeyPress(QChar(13)); });
    if (auto* findRow = qobject_cast<QBoxLayout*>(controls().findGroup->layout()))
        findRow->insertWidget(0, new QLabel(QStringLiteral("服务单号"), controls().findGroup));
    right->addStretch(1);
    top->addLayout(right, 2);
    body()->addLayout(top);

    grid_ = NewServiceBillGrid(this);
    body()->addWidget(grid_, 1);

    controls().grid = grid_;
    controls().dataGroups = {billGroup, payGroup};
    setRecord(&q, billNoBox_, QStringLiteral("bill_no"));
    setFirstEditBox(cardBox_);

    keep(q.onAfterScroll([this](db::Dataset& ds) { InsiFeeQAfterScroll(ds); }));
    keep(q.onDataChange([this](db::Dataset& ds, db::DataChange kind, const QString&) {
        if (kind == db::DataChange::Record)
            InsiFeeQAfterScroll(ds);
    }));
    keep(q.onCalcFields([this](db::Dataset& ds) { InsiFeeQCalcFields(ds); }));

    resize(960, 680);
    runFormCreate([this] { FormCreate(); });
}

TFrmServeLog::~TFrmServeLog()
{
    FormDestroy();
}

void TFrmServeLog::buildBillGroup(QGroupBox* group)
{
    auto* grid = new QGridLayout(group);
    auto box = [&](const QString& field, const char* name, bool editable) {
        auto* b = new ui::DbLineEdit(source_, field, group);
        b->setObjectName(QString::fromLatin1(name));
        if (!editable)
            b->setFocusPolicy(Qt::ClickFocus); // Enter and Tab pass over what only shows
        return b;
    };
    auto place = [&](int row, int col, const QString& caption, QWidget* w, const char* unit = nullptr) {
        grid->addWidget(ui::labelFor(w, caption, group), row, col);
        if (!unit) {
            grid->addWidget(w, row, col + 1);
            return;
        }
        auto* line = new QHBoxLayout;
        line->addWidget(w, 1);
        line->addWidget(new QLabel(QString::fromUtf8(unit), group));
        grid->addLayout(line, row, col + 1);
    };

    billNoBox_ = box(QStringLiteral("bill_no"), "DBEdit2", true);
    place(0, 0, QStringLiteral("服务单号"), billNoBox_);
    datePicker_ = new ui::DbDatePicker(group);
    datePicker_->setObjectName(QStringLiteral("DateTimePicker1"));
    place(0, 2, QStringLiteral("开单日期"), datePicker_);

    cardBox_ = box(QStringLiteral("card_no"), "DBEdit1", true);
    place(1, 0, QStringLiteral("会员卡号"), cardBox_);
    memberNameBox_ = box(QStringLiteral("insi_name"), "DBEdit3", false);
    place(1, 2, QStringLiteral("姓名"), memberNameBox_);
    levelBox_ = box(QStringLiteral("card_type"), "DBEdit4", false);
    place(2, 0, QStringLiteral("会员卡类型"), levelBox_);

    serveBox_ = box(QStringLiteral("serve_code"), "DBEdit5", true);
    pickerButton_ = NewChooserButton(group, QStringLiteral("BitBtn1"));
    // Tab reaches the picker (Space opens it), a click leaves the focus where it was.
    pickerButton_->setFocusPolicy(Qt::TabFocus);
    pickerButton_->setFixedWidth(32);
    connect(pickerButton_, &QPushButton::clicked, this, ui::guarded(this, [this] { BitBtn1Click(); }));
    auto* serveLine = new QHBoxLayout;
    serveLine->addWidget(serveBox_, 1);
    serveLine->addWidget(pickerButton_);
    grid->addWidget(ui::labelFor(serveBox_, QStringLiteral("服务项目")), 3, 0);
    grid->addLayout(serveLine, 3, 1);
    serveNameBox_ = box(QStringLiteral("serve_name"), "DBEdit6", false);
    place(3, 2, QStringLiteral("名称"), serveNameBox_);

    discountBox_ = box(QStringLiteral("rebate"), "DBEdit7", false);
    place(4, 0, QStringLiteral("折扣"), discountBox_, "%");
    place(4, 2, QStringLiteral("类别"), box(QStringLiteral("serve_type"), "DBEdit8", false));
    priceBox_ = box(QStringLiteral("unit_pric"), "DBEdit9", false);
    place(5, 0, QStringLiteral("单价"), priceBox_);
    place(5, 2, QStringLiteral("预估时间"), box(QStringLiteral("gate_time"), "DBEdit10", false), "分钟");

    struct Staff {
        const char* caption;
        const char* codeField;
        const char* comboName;
        const char* nameField;
        const char* nameBox;
        ui::DbComboBox** combo;
    };
    const Staff staff[] = {
        {"设 计 师", "stylist_code", "DBComboBox1", "stylist_name", "DBEdit11", &stylistBox_},
        {"中工编码", "middle_code", "DBComboBox2", "middle_name", "DBEdit12", &middleBox_},
        {"助理编码", "assis_code", "DBComboBox3", "assis_name", "DBEdit13", &assistantBox_},
    };
    int row = 6;
    for (const Staff& s : staff) {
        auto* combo = new ui::DbComboBox(source_, QString::fromLatin1(s.codeField), group);
        combo->setObjectName(QString::fromLatin1(s.comboName));
        *s.combo = combo;
        place(row, 0, QString::fromUtf8(s.caption), combo);
        place(row, 2, QStringLiteral("姓名"), box(QString::fromLatin1(s.nameField), s.nameBox, false));
        ++row;
    }
    noteBox_ = box(QStringLiteral("gath_note"), "DBEdit14", true);
    grid->addWidget(ui::labelFor(noteBox_, QStringLiteral("备注")), row, 0);
    grid->addWidget(noteBox_, row, 1, 1, 3);

    cardBox_->installEventFilter(this);
    serveBox_->installEventFilter(this);
    connect(cardBox_, &QLineEdit::returnPressed, this, ui::guarded(this, [this] { DBEdit1KeyPress(); }));
}

void TFrmServeLog::buildPaymentGroup(QGroupBox* group)
{
    QFont large = group->font();
    large.setPixelSize(20);
    group->setFont(large);
    auto* grid = new QGridLayout(group);
    const BoxRow rows[] = {
        {"会员余额", "rest_point", "DBEdit15"},
        {"应收金额", "should_gath", "DBEdit17"},
        {"实收金额", "serv_fee", "DBEdit16"},
        {"找回金额", "change_fee", "DBEdit18"},
    };
    std::vector<ui::DbLineEdit*> boxes;
    int row = 0;
    for (const BoxRow& r : rows) {
        auto* b = new ui::DbLineEdit(source_, QString::fromLatin1(r.field), group);
        b->setObjectName(QString::fromLatin1(r.objectName));
        grid->addWidget(ui::labelFor(b, QString::fromUtf8(r.caption)), row, 0);
        grid->addWidget(b, row, 1);
        boxes.push_back(b);
        ++row;
    }
    boxes[0]->setFocusPolicy(Qt::ClickFocus);
    dueBox_ = boxes[1];
    receivedBox_ = boxes[2];
    receivedBox_->setCheckedOnSave(true);
    changeBox_ = boxes[3];
    // The amount due is the form's to set, and the change is only shown.
    dueBox_->setLocked(true);
    dueBox_->setFocusPolicy(Qt::ClickFocus);
    changeBox_->setLocked(true);
    changeBox_->setFocusPolicy(Qt::ClickFocus);
    connect(receivedBox_, &QLineEdit::textChanged, this,
            ui::guarded(this, [this](const QString& text) { DBEdit16Change(text); }));
}

void TFrmServeLog::FormCreate()
{
    FillEmployeeCombos();
    openBills({kBillsOfType, QStringLiteral("and bill_date=:bill_date")}, QStringLiteral("bill_date"),
              QDate::currentDate());
}

void TFrmServeLog::FormDestroy()
{
    cardBox_->removeEventFilter(this);
    serveBox_->removeEventFilter(this);
    CloseInsiFeeList();
}

void TFrmServeLog::FillEmployeeCombos()
{
    for (ui::DbComboBox* combo : {stylistBox_, middleBox_, assistantBox_})
        FillComboDistinct(QStringLiteral("employee"), QStringLiteral("empl_code"), combo);
}

void TFrmServeLog::openBills(const QStringList& sql, const QString& param, const QVariant& value)
{
    db::Dataset& q = insiFeeQ();
    q.close();
    q.setSql(sql);
    q.setParam(param, value);
    q.setLockType(db::LockType::Optimistic);
    q.open();
}

void TFrmServeLog::cmd_addClick()
{
    db::Dataset& q = insiFeeQ();
    q.append();
    q.setValue(QStringLiteral("bill_no"), NewBillNo());
    datePicker_->setDate(QDate::currentDate());
    setMode(FormMode::Add);
    cardBox_->setFocus();
}

bool TFrmServeLog::isPaid() const
{
    return dueBox_->text() == receivedBox_->text();
}

void TFrmServeLog::cmd_editClick()
{
    if (billNoBox_->text().trimmed().isEmpty())
        return;
    if (isPaid()) {
        ui::warn(this, QStringLiteral("该单已收款，不可编辑"));
        return;
    }
    try {
        insiFeeQ().edit();
        setMode(FormMode::Edit);
    } catch (const std::exception&) {
        return;
    }
    receivedBox_->setFocus();
}

void TFrmServeLog::cmd_deleClick()
{
    if (billNoBox_->text().trimmed().isEmpty())
        return;
    if (isPaid()) {
        ui::warn(this, QStringLiteral("该单已收款，不可删除"));
        return;
    }
    if (!confirmDelete())
        return;
    try {
        insiFeeQ().remove(); // an unpaid bill never charged the member
    } catch (const std::exception&) {
    }
}

void TFrmServeLog::cmd_saveClick()
{
    RecordForm::cmd_saveClick();
    if (mode() == FormMode::Null)
        reloadBoxes();
}

bool TFrmServeLog::checkBeforeSave()
{
    finishEntry();
    const QString price = priceBox_->text().trimmed();
    if (!price.isEmpty() && !amountDue(price, discountBox_->text()))
        throw ui::RefusedEntry(priceBox_, ui::outOfRangeText(price));
    const QString received = receivedBox_->text().trimmed();
    if (!received.isEmpty()
        && requireWholeNumber(receivedBox_) < requireWholeNumber(dueBox_)) {
        ui::warn(this, QStringLiteral("实收金额不能小于应收金额"));
        ui::focusToCorrect(receivedBox_);
        return false;
    }
    if (serveNameBox_->text().trimmed().isEmpty()) {
        ui::warn(this, QStringLiteral("无效服务项目"));
        return false;
    }
    if (memberNameBox_->text().trimmed().isEmpty()) {
        ui::warn(this, QStringLiteral("无效会员卡"));
        return false;
    }
    return true;
}

void TFrmServeLog::saveRecord()
{
    const int oldLevel = CardLevelByNote(levelBox_->text());
    ui::Hourglass wait;
    db::Dataset& q = insiFeeQ();
    // The bill and the member's charge stand or fall together.
    db::Transaction t(q.connection());
    fillBillRow();
    const QString cardNo = cardBox_->text().trimmed();
    const bool paid = !receivedBox_->text().trimmed().isEmpty();
    const qlonglong due = q.asInt(QStringLiteral("should_gath"));
    q.post();
    if (paid)
        chargeMember(cardNo, due, oldLevel);
    t.commit();
}

void TFrmServeLog::fillBillRow()
{
    StampInsiFeeEntry(*source_, *noteBox_, QStringLiteral("会员消费"), QStringLiteral("servefee"),
                      datePicker_->value());
    if (receivedBox_->text().trimmed().isEmpty())
        return;
    db::Dataset& q = insiFeeQ();
    // An overpayment keeps the amount due; the difference went back as change.
    if (q.asInt(QStringLiteral("serv_fee")) > q.asInt(QStringLiteral("should_gath")))
        q.setValue(QStringLiteral("serv_fee"), q.asInt(QStringLiteral("should_gath")));
    q.setValue(QStringLiteral("gath_code"), CurrentUser);
}

void TFrmServeLog::chargeMember(const QString& cardNo, qlonglong due, int oldLevel)
{
    // Only the member holding this card: a member code equal to the card
    // number belongs to someone else.
    updateMember(QStringLiteral("update insider set rest_point=:rest_point where card_no=:card_no"),
                 QStringLiteral("rest_point"), storedMemberAmount(QStringLiteral("rest_point"), cardNo) - double(due),
                 cardNo);
    updateMember(QStringLiteral("update insider set insi_tota=:insi_tota where card_no=:card_no"),
                 QStringLiteral("insi_tota"), storedMemberAmount(QStringLiteral("insi_tota"), cardNo) + double(due),
                 cardNo);
    const double total = storedMemberAmount(QStringLiteral("insi_tota"), cardNo);
    if (CardLevelByTotal(total) <= oldLevel)
        return; // a level is never lowered here
    QString name = levelBox_->text();
    CardNoteByTotal(name, total);
    updateMember(QStringLiteral("update insider set card_type=:card_type where card_no=:card_no"),
                 QStringLiteral("card_type"), name, cardNo);
}

void TFrmServeLog::reloadBoxes()
{
    source_->setEnabled(false);
    source_->setEnabled(true);
}

void TFrmServeLog::cmd_prinClick()
{
    ui::Hourglass wait;
    try {
        openBills({kBillsOfType, QStringLiteral("and bill_date=:bill_date ")}, QStringLiteral("bill_date"),
                  QDate::currentDate());
    } catch (const std::exception&) {
    }
    setMode(FormMode::Null);
}

void TFrmServeLog::Edit2KeyPress(QChar key)
{
    // Enter finds only where the find button may be pressed (the find right).
    if (key == QChar(13) && controls().cmd_find->isEnabled())
        cmd_findClick();
}

void TFrmServeLog::cmd_findClick()
{
    ui::Hourglass wait;
    try {
        const QString number = findBox_->text().trimmed();
        db::Dataset& q = insiFeeQ();
        if (q.isActive() && q.locate(QStringLiteral("bill_no"), number))
            return;
        if (LookupField(QStringLiteral("insifee"), QStringLiteral("bill_no"), number, QStringLiteral("bill_no"))
                .trimmed()
                .isEmpty())
            return;
        openBills({kBillsOfType, QStringLiteral("and bill_no=:bill_no")}, QStringLiteral("bill_no"), number);
    } catch (const std::exception&) {
    }
}

bool TFrmServeLog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == cardBox_)
            DBEdit1Exit();
        else if (watched == serveBox_)
            DBEdit5Exit();
    }
    return RecordForm::eventFilter(watched, event);
}

void TFrmServeLog::DBEdit1KeyPress()
{
    // A member code typed here becomes that member's card number; anything
    // else stays as typed.
    const QString kept = cardBox_->text().trimmed();
    const QString cardNo = LookupField(QStringLiteral("insider"), QStringLiteral("insi_code"), kept,
                                       QStringLiteral("card_no"));
    cardBox_->setText(cardNo.trimmed().isEmpty() ? kept : cardNo);
}

void TFrmServeLog::DBEdit1Exit()
{
    // The box writes its text before the amount due reads the member's
    // discount; a refused text is reported by the box itself.
    try {
        cardBox_->commit();
    } catch (const std::exception&) {
    }
    CalcShouldGath();
}

void TFrmServeLog::DBEdit5Exit()
{
    try {
        serveBox_->commit();
    } catch (const std::exception&) {
    }
    CalcShouldGath();
}

void TFrmServeLog::finishEntry()
{
    if (!cardBox_->isDirty() && !serveBox_->isDirty())
        return;
    cardBox_->commit();
    serveBox_->commit();
    CalcShouldGath();
}

void TFrmServeLog::CalcShouldGath()
{
    try {
        const std::optional<QVariant> due = amountDue(priceBox_->text(), discountBox_->text());
        if (due)
            insiFeeQ().setValue(QStringLiteral("should_gath"), *due);
    } catch (const std::exception&) {
        // the amount due stays as it was
    }
}

void TFrmServeLog::BitBtn1Click()
{
    QString code;
    {
        TFrmServeFind picker(this);
        if (picker.exec() != QDialog::Accepted)
            return;
        code = FrmDataMod->ServeFindQ.asString(QStringLiteral("serve_code"));
    }
    if (!serveBox_->putChosen(code))
        return;
    CalcShouldGath();
    stylistBox_->setFocus();
}

void TFrmServeLog::DBEdit16Change(const QString& text)
{
    const std::optional<double> received = db::parseAmount(text);
    const std::optional<double> due = db::parseAmount(dueBox_->text());
    if (!received || !due || *received <= 0)
        return;
    changeBox_->setText(db::formatAmount(*received - *due));
}

void TFrmServeLog::InsiFeeQAfterScroll(db::Dataset& q)
{
    try {
        const QDateTime date = q.asDateTime(QStringLiteral("bill_date"));
        if (date.isValid())
            datePicker_->setDate(date.date());
    } catch (const std::exception&) {
    }
}

void TFrmServeLog::InsiFeeQCalcFields(db::Dataset& q)
{
    const QVariant received = q.value(QStringLiteral("serv_fee"));
    const QVariant due = q.value(QStringLiteral("should_gath"));
    if (!received.isValid() || received.isNull() || !due.isValid() || due.isNull())
        return;
    q.setValue(QStringLiteral("change_fee"), double(db::asInt(received) - db::asInt(due)));
}
