#include "members/CardOperation.h"

#include "core/CopiedColumns.h"
#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/ui/CharacterLimit.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EntryRefusal.h"
#include "platform/ui/Prompt.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <stdexcept>

namespace {

using Test = CardCheck::Test;

// A save stopped for a reason the form words itself; thrown inside the
// save's transaction, which then rolls back.
class SaveRefused : public std::runtime_error {
public:
    explicit SaveRefused(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

const QString kStateInUse = QStringLiteral("启用");
const QString kStateDisabled = QStringLiteral("禁用");
const QString kCardNoTaken = QStringLiteral("卡号已被其他会员使用");

std::vector<CardOperationDef> buildDefs()
{
    const CardBoxDef password{CardBox::Password, QStringLiteral("会员密码"), {}, true};
    const CardBoxDef balance{CardBox::Balance, QStringLiteral("会员余额"), QStringLiteral("rest_point"), false, true};
    const CardBoxDef remark{CardBox::Remark, QStringLiteral("备注")};
    return {
        {CardOperation::Issue, QStringLiteral("FrmNewCard"), QStringLiteral("会员发卡"), 9, QStringLiteral("发卡&E"),
         QStringLiteral("发卡资料"),
         {{CardBox::CardNo, QStringLiteral("会员卡号"), QStringLiteral("card_no")},
          {CardBox::Deposit, QStringLiteral("押金"), QStringLiteral("foregift")},
          {CardBox::Password, QStringLiteral("密码"), QStringLiteral("insi_pass"), true},
          {CardBox::Confirm, QStringLiteral("确认密码"), {}, true}},
         CardBox::CardNo, CardBox::Deposit, QStringLiteral("foregift"), QStringLiteral("会员押金"), false,
         {{Test::Blank, CardBox::CardNo, QStringLiteral("卡号不能为空"), false, true},
          {Test::CardNoTaken, CardBox::CardNo, kCardNoTaken, false, true},
          {Test::Blank, CardBox::Deposit, QStringLiteral("押金不能为空"), false, true},
          {Test::Blank, CardBox::Password, QStringLiteral("密码不能为空"), false, true},
          {Test::Differs, CardBox::Password, QStringLiteral("密码不一致"), false, false, CardBox::Confirm},
          {Test::BelowDepositDue, CardBox::Deposit, QStringLiteral("这点押金可不够申请"), false, true}},
         {}},
        {CardOperation::Replace, QStringLiteral("FrmAddCard"), QStringLiteral("会员补卡"), 10, QStringLiteral("补卡&E"),
         QStringLiteral("补卡资料"),
         {{CardBox::CardNo, QStringLiteral("会员卡号"), QStringLiteral("card_no")},
          {CardBox::Fee, QStringLiteral("补 卡 费"), {}, false, false, 4}},
         CardBox::CardNo, CardBox::Fee, QStringLiteral("addcard"), QStringLiteral("会员补卡费"), false,
         {{Test::Blank, CardBox::CardNo, QStringLiteral("卡号不能为空")},
          {Test::CardNoTaken, CardBox::CardNo, kCardNoTaken, false, true},
          {Test::Blank, CardBox::Fee, QStringLiteral("补卡费不能为空")}},
         {CardBox::Fee}},
        {CardOperation::Deposit, QStringLiteral("FrmSaveMoney"), QStringLiteral("会员存款"), 12, QStringLiteral("存款&E"),
         QStringLiteral("存款资料"),
         {{CardBox::Amount, QStringLiteral("存款金额"), {}, false, false, 5}, remark},
         CardBox::Amount, CardBox::Amount, QStringLiteral("savemoney"), QStringLiteral("会员存款"), true,
         {{Test::Blank, CardBox::Amount, QStringLiteral("存款金额不能为空")},
          {Test::NotAboveZero, CardBox::Amount, QStringLiteral("存款金额不能为0")}},
         {CardBox::Amount, CardBox::Remark}},
        {CardOperation::Withdraw, QStringLiteral("FrmTakeMoney"), QStringLiteral("会员取款"), 13, QStringLiteral("取款&E"),
         QStringLiteral("取款资料"),
         {{CardBox::Amount, QStringLiteral("取款金额"), {}, false, false, 5}, password, balance, remark},
         CardBox::Password, CardBox::Amount, QStringLiteral("takemoney"), QStringLiteral("会员取款"), true,
         {{Test::Blank, CardBox::Password, QStringLiteral("密码不能为空")},
          {Test::WrongPassword, CardBox::Password, QStringLiteral("密码错误")},
          {Test::Blank, CardBox::Amount, QStringLiteral("取款金额不能为空")},
          {Test::NotAboveZero, CardBox::Amount, QStringLiteral("取款金额不能为0")},
          {Test::AboveBalance, CardBox::Amount, QStringLiteral("取款金额不能大于存款余额")}},
         {CardBox::Amount, CardBox::Password, CardBox::Remark}},
        {CardOperation::Return, QStringLiteral("FrmDeleteCard"), QStringLiteral("会员退卡"), 11, QStringLiteral("退卡&E"),
         QStringLiteral("退卡资料"),
         {{CardBox::Refund, QStringLiteral("应退金额"), {}, false, true},
          password,
          balance,
          {CardBox::Deposit, QStringLiteral("押金"), QStringLiteral("foregift"), false, true},
          remark},
         CardBox::Password, CardBox::Refund, QStringLiteral("deletecard"), QStringLiteral("会员退卡"), true,
         {{Test::NoCardNumber, CardBox::CardNo, QStringLiteral("先选择会员")},
          {Test::Blank, CardBox::Password, QStringLiteral("密码不能为空")},
          {Test::WrongPassword, CardBox::Password, QStringLiteral("密码错误")}},
         {CardBox::Refund, CardBox::Password, CardBox::Remark}},
        {CardOperation::Password, QStringLiteral("FrmCardPass"), QStringLiteral("会员密码修改"), 14,
         QStringLiteral("修改&E"), QStringLiteral("修改密码"),
         {{CardBox::Password, QStringLiteral("新 密 码"), QStringLiteral("insi_pass"), true},
          {CardBox::Confirm, QStringLiteral("确认密码"), {}, true}},
         CardBox::Password, std::nullopt, {}, {}, false,
         {{Test::NoCardNumber, CardBox::CardNo, QStringLiteral("先选择会员")},
          {Test::Blank, CardBox::Confirm, QStringLiteral("1006"), true},
          {Test::Blank, CardBox::Password, QStringLiteral("1006"), true},
          {Test::Differs, CardBox::Password, QStringLiteral("1004"), true, false, CardBox::Confirm}},
         {}},
    };
}

QString boxObjectName(CardBox box)
{
    switch (box) {
    case CardBox::CardNo:
        return QStringLiteral("CardNoEdit");
    case CardBox::Deposit:
        return QStringLiteral("DepositEdit");
    case CardBox::Password:
        return QStringLiteral("PassEdit");
    case CardBox::Confirm:
        return QStringLiteral("ConfirmEdit");
    case CardBox::Fee:
        return QStringLiteral("FeeEdit");
    case CardBox::Amount:
        return QStringLiteral("AmountEdit");
    case CardBox::Remark:
        return QStringLiteral("RemarkEdit");
    case CardBox::Balance:
        return QStringLiteral("BalanceEdit");
    case CardBox::Refund:
        return QStringLiteral("RefundEdit");
    }
    return {};
}

std::optional<qlonglong> readWholeNumber(const QString& text)
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

// The remark becomes the ledger row's note: it takes no more than that holds.
void limitToLedgerNote(QLineEdit* remark)
{
    try {
        if (const int size = ColumnSize(FrmDataMod->AdoConn, QStringLiteral("insifee"), QStringLiteral("gath_note")))
            ui::limitCharacters(remark, size);
    } catch (const std::exception&) {
        // without the ledger's columns there is no note to fit
    }
}


// The personal group of the member form, shown read-only.
struct PersonalRow {
    const char* caption;
    const char* field;
    enum class Kind { Edit, Combo, Date } kind;
    QStringList items;
};

std::vector<PersonalRow> personalRows(bool levelAsPlainBox)
{
    using K = PersonalRow::Kind;
    std::vector<PersonalRow> rows{
        {"会员编号", "insi_code", K::Edit, {}},
        {"姓名", "insi_name", K::Edit, {}},
        {"会员卡号", "card_no", K::Edit, {}},
        {"性别", "insi_sex", K::Combo, {QStringLiteral("男"), QStringLiteral("女")}},
        {"证件号码", "id_card", K::Edit, {}},
        {"联系地址", "insi_addr", K::Edit, {}},
        {"邮编", "post_code", K::Edit, {}},
        {"电话", "insi_tele", K::Edit, {}},
        {"手机", "mobile", K::Edit, {}},
        {"出生年月", "insi_birth", K::Date, {}},
        {"开户日期", "open_date", K::Date, {}},
        {"会员卡类型", "card_type", levelAsPlainBox ? K::Edit : K::Combo, {}},
        {"状态", "insi_state", K::Combo, {kStateInUse, kStateDisabled}},
        {"备注", "insi_note", K::Edit, {}},
    };
    if (levelAsPlainBox)
        rows.push_back({"须缴押金", "need_gift", K::Edit, {}});
    return rows;
}

} // namespace

const CardOperationDef& cardOperationDef(CardOperation operation)
{
    static const std::vector<CardOperationDef> defs = buildDefs();
    for (const CardOperationDef& s : defs)
        if (s.operation == operation)
            return s;
    return defs.front();
}

CardOperationForm::CardOperationForm(QWidget* owner, CardOperation operation)
    : RecordForm(owner, cardOperationDef(operation).objectName, cardOperationDef(operation).caption,
                 cardOperationDef(operation).position),
      def_(cardOperationDef(operation)),
      members_(FrmDataMod->InsiderQ)
{
    addStandardButtons({QStringLiteral("cmd_edit"), QStringLiteral("cmd_save"), QStringLiteral("cmd_canc"),
                        QStringLiteral("cmd_exit")},
                       {def_.editCaption, QStringLiteral("保存&S"), QStringLiteral("取消&C"), QStringLiteral("退出&X")});
    source_ = new ui::DataSource(&members_, this);

    grid_ = ui::DbGrid::rowList(this, &members_,
                                {{QStringLiteral("insi_code"), QStringLiteral("会员编码"), 80},
                                 {QStringLiteral("card_no"), QStringLiteral("会员卡号"), 100},
                                 {QStringLiteral("insi_name"), QStringLiteral("姓名"), 72},
                                 {QStringLiteral("insi_sex"), QStringLiteral("性别"), 44},
                                 {QStringLiteral("id_card"), QStringLiteral("证件号码"), 150},
                                 {QStringLiteral("insi_tele"), QStringLiteral("联系电话"), 100},
                                 {QStringLiteral("mobile"), QStringLiteral("移动电话"), 100},
                                 {QStringLiteral("insi_state"), QStringLiteral("状态"), 56}});
    body()->addWidget(grid_, 1);

    buildPersonalGroup(body());
    auto* lower = new QHBoxLayout;
    buildOperationGroup(lower);
    buildQuickFind(lower);
    body()->addLayout(lower);

    controls().grid = grid_;
    controls().dataGroups = {operationGroup_};
    setFirstEditBox(box(def_.focusOnStart));
    connect(source_, &ui::DataSource::recordChanged, this, &CardOperationForm::showDates);
    // Tall enough for the member list to be browsed on the smallest screen.
    resize(sizeHint().width(), 680);
    FormCreate();
}

CardOperationForm::~CardOperationForm()
{
    FormDestroy();
}

void CardOperationForm::buildPersonalGroup(QBoxLayout* into)
{
    personalGroup_ = new QGroupBox(QStringLiteral("个人资料"), this);
    personalGroup_->setObjectName(QStringLiteral("PersonalGroup"));
    auto* grid = new QGridLayout(personalGroup_);
    const auto rows = personalRows(def_.operation == CardOperation::Issue);
    for (size_t i = 0; i < rows.size(); ++i) {
        const PersonalRow& r = rows[i];
        const QString field = QString::fromLatin1(r.field);
        QWidget* w = nullptr;
        switch (r.kind) {
        case PersonalRow::Kind::Edit: {
            auto* e = new ui::DbLineEdit(source_, field, personalGroup_);
            if (field == QLatin1String("insi_code")) {
                e->setObjectName(QStringLiteral("DBEdit1"));
                setRecord(&members_, e, QStringLiteral("insi_code"));
            } else if (field == QLatin1String("card_no")) {
                personalCardBox_ = e;
            }
            w = e;
            break;
        }
        case PersonalRow::Kind::Combo: {
            auto* c = new ui::DbComboBox(personalGroup_);
            c->addItems(r.items);
            c->bind(source_, field);
            w = c;
            break;
        }
        case PersonalRow::Kind::Date: {
            auto* d = new ui::DbDatePicker(personalGroup_);
            (field == QLatin1String("insi_birth") ? birthPicker_ : openPicker_) = d;
            w = d;
            break;
        }
        }
        const int row = int(i / 2);
        const int col = int(i % 2) * 2;
        grid->addWidget(ui::labelFor(w, QString::fromUtf8(r.caption), personalGroup_), row, col);
        grid->addWidget(w, row, col + 1);
    }
    // Shown, never edited: no card operation changes the personal data.
    personalGroup_->setEnabled(false);
    into->addWidget(personalGroup_);
}

void CardOperationForm::buildOperationGroup(QBoxLayout* into)
{
    operationGroup_ = new QGroupBox(def_.groupCaption, this);
    operationGroup_->setObjectName(QStringLiteral("OperationGroup"));
    auto* grid = new QGridLayout(operationGroup_);
    int row = 0;
    for (const CardBoxDef& b : def_.boxes) {
        QLineEdit* e = nullptr;
        if (b.field.isEmpty()) {
            e = new QLineEdit(operationGroup_);
            e->setReadOnly(b.readOnly);
        } else {
            auto* bound = new ui::DbLineEdit(source_, b.field, operationGroup_);
            bound->setLocked(b.readOnly);
            e = bound;
        }
        e->setObjectName(boxObjectName(b.box));
        if (b.secret)
            e->setEchoMode(QLineEdit::Password);
        if (b.digits > 0) {
            e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
            e->setMaxLength(b.digits);
        }
        if (b.box == CardBox::Remark)
            limitToLedgerNote(e);
        boxes_[b.box] = e;
        grid->addWidget(ui::labelFor(e, b.caption), row, 0);
        grid->addWidget(e, row, 1);
        ++row;
    }
    into->addWidget(operationGroup_, 1);
}

void CardOperationForm::buildQuickFind(QBoxLayout* into)
{
    auto* group = new QGroupBox(QStringLiteral("快速查找"), this);
    group->setObjectName(QStringLiteral("FindGroup"));
    auto* layout = new QVBoxLayout(group);
    const bool codeOnly = def_.operation == CardOperation::Issue;
    layout->addWidget(new QLabel(codeOnly ? QStringLiteral("会员编号") : QStringLiteral("会员编号、会员卡号"), group));
    findBox_ = new QLineEdit(group);
    findBox_->setObjectName(QStringLiteral("Edit2"));
    auto* find = new QPushButton(QStringLiteral("查找"), group);
    find->setObjectName(QStringLiteral("cmd_find"));
    find->setAutoDefault(false);
    layout->addWidget(findBox_);
    layout->addWidget(find);
    layout->addStretch(1);
    into->addWidget(group);
    controls().findGroup = group;
    controls().cmd_find = find;
    connect(find, &QPushButton::clicked, this, ui::guarded(this, [this] { cmd_findClick(); }));
    connect(findBox_, &QLineEdit::returnPressed, this, ui::guarded(this, [this] { Edit2KeyPress(Qt::Key_Return); }));
}

QLineEdit* CardOperationForm::box(CardBox which) const
{
    const auto it = boxes_.find(which);
    return it == boxes_.end() ? nullptr : it->second;
}

void CardOperationForm::FormCreate()
{
    runFormCreate([this] {
        members_.close();
        members_.setSql(QStringLiteral("select * from insider"));
        members_.setLockType(db::LockType::Optimistic);
        members_.open();
    });
}

void CardOperationForm::FormDestroy()
{
    try {
        members_.close();
    } catch (const std::exception&) {
    }
}

void CardOperationForm::showDates()
{
    auto show = [this](ui::DbDatePicker* picker, const QString& field) {
        const QDateTime when = source_->hasRecord() ? members_.asDateTime(field) : QDateTime();
        if (when.isValid())
            picker->setDate(when.date());
        else
            picker->setNull();
    };
    show(birthPicker_, QStringLiteral("insi_birth"));
    show(openPicker_, QStringLiteral("open_date"));
}

void CardOperationForm::SetControlStates()
{
    RecordForm::SetControlStates();
    if (mode() != FormMode::Null)
        return;
    for (CardBox b : def_.clearedOnBrowse)
        if (QLineEdit* e = box(b))
            e->clear();
}

QVariant CardOperationForm::storedValue(const QString& field) const
{
    // As the database holds it now, not as the list read it: another
    // workstation may have billed the member or paid onto the card since.
    // Read by the row's own key, which no other member shares.
    return FrmDataMod->AdoConn.scalar(QStringLiteral("select %1 from insider where in_id=:in_id").arg(field),
                                      {{QStringLiteral("in_id"), members_.value(QStringLiteral("in_id"))}});
}

bool CardOperationForm::heldByAnotherMember(const QString& cardNo) const
{
    // Billing finds a member by the card number: one number, one member.
    // Compared as codes are, trimmed and without regard to case.
    const QVariant others = FrmDataMod->AdoConn.scalar(
        QStringLiteral("select count(*) from insider where trim(card_no)=:card_no collate nocase and in_id<>:in_id"),
        {{QStringLiteral("card_no"), cardNo}, {QStringLiteral("in_id"), members_.value(QStringLiteral("in_id"))}});
    return db::asInt(others) > 0;
}

double CardOperationForm::stored(const QString& field) const
{
    return db::asFloat(storedValue(field)); // NULL counts as 0
}

void CardOperationForm::rereadMember()
{
    // The boxes and the optimistic check of the post start from the member
    // as stored, whatever another workstation changed since the list was read.
    try {
        if (members_.isActive() && !members_.isEditing())
            members_.refreshCurrentRow();
    } catch (const std::exception&) {
    }
}

bool CardOperationForm::preconditionHolds()
{
    switch (def_.operation) {
    case CardOperation::Issue:
        if (keyBox()->text().trimmed().isEmpty())
            return false;
        if (!members_.asString(QStringLiteral("card_no")).trimmed().isEmpty()) {
            ui::warn(this, QStringLiteral("会员卡已存在，请执行会员补卡"));
            return false;
        }
        box(CardBox::Confirm)->clear();
        return true;
    case CardOperation::Withdraw:
        if (stored(QStringLiteral("rest_point")) <= 0) {
            ui::warn(this, QStringLiteral("余额不足"));
            return false;
        }
        return true;
    case CardOperation::Return: {
        try {
            box(CardBox::Refund)
                ->setText(db::formatAmount(stored(QStringLiteral("foregift")) + stored(QStringLiteral("rest_point"))));
        } catch (const std::exception&) {
        }
        const auto refund = db::parseAmount(box(CardBox::Refund)->text());
        if (!refund || *refund <= 0) {
            ui::warn(this, QStringLiteral("余额不足"));
            return false;
        }
        return true;
    }
    case CardOperation::Replace:
    case CardOperation::Deposit:
    case CardOperation::Password:
        break;
    }
    return true;
}

void CardOperationForm::startOperation()
{
    if (def_.operation == CardOperation::Issue)
        members_.setValue(QStringLiteral("insi_state"), kStateInUse);
    else if (def_.operation == CardOperation::Password)
        members_.setValue(QStringLiteral("insi_pass"), QString());
}

void CardOperationForm::cmd_editClick()
{
    rereadMember();
    if (!preconditionHolds())
        return;
    try {
        if (keyBox()->text().isEmpty())
            return;
        // The member shown is the one operated on: looking the code up again
        // could land on another member with the same code.
        members_.edit();
        startOperation();
        setMode(FormMode::Edit);
        box(def_.focusOnStart)->setFocus();
    } catch (const std::exception&) {
    }
}

bool CardOperationForm::passes(const CardCheck& check)
{
    QLineEdit* e = box(check.box);
    const QString text = e ? e->text().trimmed() : QString();
    QString message = check.fromCatalogue ? GetMsgText(check.message) : check.message;
    bool ok = true;
    switch (check.test) {
    case Test::Blank:
        ok = !text.isEmpty();
        break;
    case Test::NotAboveZero: {
        const auto n = readWholeNumber(text);
        ok = n && *n > 0;
        break;
    }
    case Test::Differs:
        ok = text == box(check.other)->text().trimmed();
        break;
    case Test::WrongPassword:
        // Compared trimmed on both sides: a password saved with blanks around
        // it must still open the card.
        ok = text == db::asString(storedValue(QStringLiteral("insi_pass"))).trimmed();
        break;
    case Test::BelowDepositDue: {
        const auto deposit = db::parseAmount(text);
        if (!deposit) {
            message = QStringLiteral("数字类型错误");
            ok = false;
            break;
        }
        // A member without a level owes no deposit.
        ok = *deposit >= members_.asFloat(QStringLiteral("need_gift"));
        message += members_.asString(QStringLiteral("card_type")).trimmed();
        break;
    }
    case Test::AboveBalance: {
        const auto n = readWholeNumber(text);
        ok = n && double(*n) <= stored(QStringLiteral("rest_point"));
        break;
    }
    case Test::NoCardNumber:
        ok = !personalCardBox_->text().trimmed().isEmpty();
        break;
    case Test::CardNoTaken:
        ok = !heldByAnotherMember(text);
        break;
    }
    if (ok)
        return true;
    ui::warn(this, message);
    if (check.focus && e)
        ui::focusToCorrect(e);
    return false;
}

QString CardOperationForm::ledgerNote() const
{
    if (!def_.noteFromRemark)
        return def_.note;
    const QString remark = box(CardBox::Remark)->text().trimmed();
    return remark.isEmpty() ? def_.note : remark;
}

qlonglong CardOperationForm::writeLedgerRow()
{
    const QString amountText = box(*def_.amount)->text();
    // The bound boxes hold the new card number on issue and replace.
    source_->flush();
    const auto amount = readWholeNumber(amountText);
    if (!amount)
        throw SaveRefused(QStringLiteral("数字类型错误"));
    if (*amount <= 0)
        return *amount;
    db::Dataset& q = FrmDataMod->TempQ;
    q.close();
    q.setSql(QStringList{
        QStringLiteral("insert into insifee (insi_code,card_no,bill_date,serv_fee,gath_code,gath_note,gath_type)"),
        QStringLiteral(" values(:insi_code,:card_no,:bill_date,:serv_fee,:gath_code,:gath_note,:gath_type)")});
    q.setParam(0, keyBox()->text());
    q.setParam(1, members_.asString(QStringLiteral("card_no")));
    q.setParam(2, QDate::currentDate());
    q.setParam(3, *amount);
    q.setParam(4, CurrentUser);
    q.setParam(5, ledgerNote());
    q.setParam(6, def_.gathType);
    q.execute();
    return *amount;
}

void CardOperationForm::writeMoney(qlonglong amount)
{
    // Computed from the row as stored and written by its key: the list's
    // copy of the money may be older than the database's, and posting it
    // would be refused for that.
    const double balance = stored(QStringLiteral("rest_point"));
    db::Params params{{QStringLiteral("in_id"), members_.value(QStringLiteral("in_id"))}};
    QString sql;
    switch (def_.operation) {
    case CardOperation::Deposit:
        sql = QStringLiteral("update insider set rest_point=:rest_point where in_id=:in_id");
        params.set(QStringLiteral("rest_point"), balance + double(amount));
        break;
    case CardOperation::Withdraw:
        if (double(amount) > balance)
            throw SaveRefused(QStringLiteral("取款金额不能大于存款余额"));
        sql = QStringLiteral("update insider set rest_point=:rest_point where in_id=:in_id");
        params.set(QStringLiteral("rest_point"), balance - double(amount));
        break;
    case CardOperation::Return:
        sql = QStringLiteral("update insider set rest_point=0, foregift=0 where in_id=:in_id");
        break;
    case CardOperation::Issue:
    case CardOperation::Replace:
    case CardOperation::Password:
        return;
    }
    if (FrmDataMod->AdoConn.execute(sql, params) != 1)
        throw SaveRefused(QStringLiteral("该会员记录已被删除"));
}

void CardOperationForm::applyChange()
{
    switch (def_.operation) {
    case CardOperation::Issue:
        members_.setValue(QStringLiteral("open_date"), QDate::currentDate());
        break;
    case CardOperation::Return:
        members_.setValue(QStringLiteral("insi_state"), kStateDisabled);
        break;
    case CardOperation::Deposit:
    case CardOperation::Withdraw:
        // the money is written by writeMoney
    case CardOperation::Replace:
    case CardOperation::Password:
        // the new values are already in the bound boxes
        break;
    }
}

void CardOperationForm::writeLedgerAndMember(SaveStage& stage)
{
    db::Transaction both(FrmDataMod->AdoConn);
    // Inside the transaction nothing can come between reading the stored
    // money and writing it.
    if (def_.operation == CardOperation::Return)
        // The refund is what the card holds now.
        box(CardBox::Refund)
            ->setText(db::formatAmount(stored(QStringLiteral("foregift")) + stored(QStringLiteral("rest_point"))));
    qlonglong amount = 0;
    if (def_.amount) {
        stage = SaveStage::Ledger;
        amount = writeLedgerRow();
        stage = SaveStage::Member;
    }
    writeMoney(amount);
    applyChange();
    members_.post();
    both.commit();
}

void CardOperationForm::cmd_saveClick()
{
    for (const CardCheck& check : def_.checks)
        if (!passes(check))
            return;
    SaveStage stage = SaveStage::Member;
    try {
        writeLedgerAndMember(stage);
    } catch (const SaveRefused& refused) {
        // Rolled back; the member row stays in edit with what was typed.
        ui::warn(this, refused.message());
        return;
    } catch (const ui::RefusedEntry& refused) {
        ui::showRefusal(this, refused);
        return;
    } catch (const std::exception& e) {
        if (stage == SaveStage::Member)
            ShowSaveFailure(this, e);
        else if (IsDatabaseRefusal(e))
            ShowSaveFailure(this, e, QStringLiteral("数字类型错误"));
        else
            ui::warn(this, QStringLiteral("数字类型错误"));
        return;
    }
    setMode(FormMode::Null);
    rereadMember();
    locateKeyBoxRecord();
}

void CardOperationForm::cmd_findClick()
{
    const QString key = findBox_->text().trimmed();
    try {
        if (!LocateCode(members_, QStringLiteral("insi_code"), key))
            LocateCode(members_, QStringLiteral("card_no"), key);
    } catch (const std::exception&) {
    }
}

void CardOperationForm::Edit2KeyPress(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        cmd_findClick();
}
