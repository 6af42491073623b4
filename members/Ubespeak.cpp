#include "members/Ubespeak.h"

#include "core/Chooser.h"
#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "members/Uservefind.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/Prompt.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

db::Dataset& members()
{
    return FrmDataMod->InsiderQ;
}

db::Dataset& appointments()
{
    return FrmDataMod->BespeakQ;
}

QDateTime dayOf(const QDate& date)
{
    return QDateTime(date, QTime(0, 0));
}

} // namespace

TFrmBespeak::TFrmBespeak(QWidget* owner)
    : RecordForm(owner, QStringLiteral("FrmBespeak"), QStringLiteral("会员预约时程"), kPosition)
{
    addStandardButtons({"cmd_add", "cmd_edit", "cmd_dele", "cmd_save", "cmd_canc", "cmd_prin", "cmd_exit"},
                       {"新增&A", "修改&E", "删除&D", "保存&S", "取消&C", "打印&P", "退出&X"});
    controls().cmd_prin->setVisible(false);

    source_ = new ui::DataSource(&appointments(), this);

    DBGrid1 = new ui::DbGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setRowSelect(true);
    DBGrid1->setDataset(&members());
    DBGrid1->setColumns({{QStringLiteral("card_no"), QStringLiteral("会员卡号"), 90},
                         {QStringLiteral("insi_name"), QStringLiteral("姓名"), 80},
                         {QStringLiteral("insi_sex"), QStringLiteral("性别"), 40},
                         {QStringLiteral("insi_state"), QStringLiteral("状态"), 50}});
    connect(DBGrid1, &ui::DbGrid::cellClicked, this, ui::guarded(this, [this] { DBGrid1CellClick(); }));

    DBGrid2 = new ui::DbGrid(this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setRowSelect(true);
    DBGrid2->setDataset(&appointments());
    DBGrid2->setColumns({{QStringLiteral("bill_no"), QStringLiteral("流水编号"), 120},
                         {QStringLiteral("card_no"), QStringLiteral("会员卡号"), 90},
                         {QStringLiteral("pre_date"), QStringLiteral("预约日期"), 90},
                         {QStringLiteral("pre_time"), QStringLiteral("预约时间"), 70},
                         {QStringLiteral("serv_code"), QStringLiteral("服务项目"), 70},
                         {QStringLiteral("serv_name"), QStringLiteral("服务名称"), 110},
                         {QStringLiteral("gage_time"), QStringLiteral("预估时间"), 60},
                         {QStringLiteral("stylist"), QStringLiteral("设计师"), 70},
                         {QStringLiteral("bill_date"), QStringLiteral("开单日期"), 90}});

    auto* upper = new QHBoxLayout;
    upper->addWidget(DBGrid1, 2);
    auto* side = new QVBoxLayout;
    Edit2 = addQuickFind(QStringLiteral("Edit2"), side, [this] { Edit2KeyPress(); });
    if (auto* findRow = qobject_cast<QBoxLayout*>(controls().findGroup->layout()))
        findRow->insertWidget(0, new QLabel(QStringLiteral("会员卡号"), controls().findGroup));
    QGroupBox* group = buildAppointmentGroup();
    side->addWidget(group);
    side->addStretch(1);
    upper->addLayout(side, 3);
    body()->addLayout(upper, 3);
    body()->addWidget(DBGrid2, 2);

    controls().grid = DBGrid1;
    controls().dataGroups = {group};
    controls().gateFind = true;
    setRecord(&appointments(), billNoBox_, QStringLiteral("bill_no"));
    setFirstEditBox(serviceBox_);

    keep(appointments().onDataChange([this](db::Dataset&, db::DataChange kind, const QString&) {
        if (kind == db::DataChange::Record)
            showAppointmentDate();
    }));

    runFormCreate([this] { FormCreate(); });
    resize(900, 640);
}

TFrmBespeak::~TFrmBespeak()
{
    FormDestroy();
}

QGroupBox* TFrmBespeak::buildAppointmentGroup()
{
    auto* group = new QGroupBox(QStringLiteral("预约资料"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(group);
    auto box = [&](const char* field, const char* name) {
        auto* b = new ui::DbLineEdit(source_, QString::fromLatin1(field), group);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    auto place = [&](int row, int col, const char* caption, QWidget* w, const char* unit = nullptr,
                     QWidget* after = nullptr) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption), group), row, col);
        auto* cell = new QHBoxLayout;
        cell->addWidget(w, 1);
        if (after)
            cell->addWidget(after);
        if (unit)
            cell->addWidget(new QLabel(QString::fromUtf8(unit), group));
        grid->addLayout(cell, row, col + 1);
    };

    billNoBox_ = box("bill_no", "DBEdit1");
    place(0, 0, "流水编号", billNoBox_);
    datePicker_ = new ui::DbDatePicker(group);
    datePicker_->setObjectName(QStringLiteral("DateTimePicker1"));
    place(0, 2, "预约日期", datePicker_);
    timeBox_ = box("pre_time", "DBEdit2");
    place(1, 0, "时间", timeBox_);

    serviceBox_ = box("serv_code", "DBEdit3");
    Button1 = new QPushButton(QStringLiteral("..."), group);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button1->setFixedWidth(32);
    connect(Button1, &QPushButton::clicked, this, ui::guarded(this, [this] { Button1Click(); }));
    place(2, 0, "服务项目", serviceBox_, nullptr, Button1);
    serviceNameBox_ = box("serv_name", "DBEdit4");
    place(2, 2, "服务名称", serviceNameBox_);
    estimateBox_ = box("gage_time", "DBEdit5");
    place(3, 0, "估时", estimateBox_, "分钟");

    stylistCombo_ = new ui::DbComboBox(source_, QStringLiteral("stylist"), group);
    stylistCombo_->setObjectName(QStringLiteral("DBComboBox1"));
    place(4, 0, "设计师", stylistCombo_);
    stylistNameBox_ = box("stylist_name", "DBEdit6");
    place(4, 2, "姓名", stylistNameBox_);
    assistantCombo_ = new ui::DbComboBox(source_, QStringLiteral("assisitant"), group);
    assistantCombo_->setObjectName(QStringLiteral("DBComboBox2"));
    place(5, 0, "助理", assistantCombo_);
    assistantNameBox_ = box("assis_name", "DBEdit7");
    place(5, 2, "姓名", assistantNameBox_);

    noteBox_ = box("pre_note", "DBEdit8");
    grid->addWidget(new QLabel(QStringLiteral("备注"), group), 6, 0);
    grid->addWidget(noteBox_, 6, 1, 1, 3);
    return group;
}

void TFrmBespeak::FormCreate()
{
    datePicker_->setToday();
    db::Dataset& list = members();
    list.close();
    list.setSql(QStringLiteral("select * from insider"));
    list.setLockType(db::LockType::Optimistic);
    list.open();
    if (!list.isEmpty())
        Edit2->setText(list.asString(QStringLiteral("card_no")));

    // Filled before the appointments show: filling empties a combo's text.
    FillComboDistinct(QStringLiteral("employee"), QStringLiteral("empl_code"), stylistCombo_);
    FillComboDistinct(QStringLiteral("employee"), QStringLiteral("empl_code"), assistantCombo_);

    db::Dataset& q = appointments();
    q.close();
    q.setSql(QStringLiteral("select * from bespeak where card_no=:card_no "));
    q.setParam(QStringLiteral("card_no"), Edit2->text().trimmed());
    q.setLockType(db::LockType::BatchOptimistic);
    q.open();
}

void TFrmBespeak::FormDestroy()
{
    // Changes not yet saved go with the closed query.
    try {
        appointments().close();
        members().close();
    } catch (const std::exception&) {
    }
}

void TFrmBespeak::SetControlStates()
{
    RecordForm::SetControlStates();
    // The appointment list is the form's record grid: no moving off the one being entered.
    DBGrid2->setEnabled(mode() == FormMode::Null);
}

void TFrmBespeak::openAppointments(const QString& cardNo)
{
    db::Dataset& q = appointments();
    q.close();
    q.setSql(QStringLiteral("select * from bespeak where card_no=:card_no"));
    q.setParam(QStringLiteral("card_no"), cardNo);
    q.setLockType(db::LockType::BatchOptimistic);
    q.open();
}

void TFrmBespeak::showAppointmentDate()
{
    // The picker edits the date of the appointment shown, so an edit saves
    // the date it had unless the user changes it.
    db::Dataset& q = appointments();
    QDate date;
    if (q.isActive() && q.recNo() >= 0)
        date = q.asDateTime(QStringLiteral("pre_date")).date();
    if (date.isValid())
        datePicker_->setDate(date);
    else
        datePicker_->setToday();
}

bool TFrmBespeak::locateMember(const QString& code)
{
    db::Dataset& list = members();
    if (code.isEmpty() || !list.isActive())
        return false;
    return list.locate(QStringLiteral("insi_code"), code) || list.locate(QStringLiteral("card_no"), code);
}

void TFrmBespeak::locateShownAppointment()
{
    db::Dataset& q = appointments();
    const QString billNo = billNoBox_->text().trimmed();
    if (billNo.isEmpty() || !q.isActive() || q.isEmpty())
        return;
    if (q.asString(QStringLiteral("bill_no")).trimmed() == billNo)
        return;
    q.locate(QStringLiteral("bill_no"), billNo);
}

void TFrmBespeak::cmd_addClick()
{
    if (Edit2->text().trimmed().isEmpty()) {
        ui::message(this, QStringLiteral("先定位会员卡号"));
        return;
    }
    try {
        db::Dataset& q = appointments();
        if (q.isActive()) {
            q.insert();
            q.setValue(QStringLiteral("bill_no"), NewBillNo());
        }
        setMode(FormMode::Add);
        serviceBox_->setFocus();
    } catch (const std::exception&) {
    }
}

void TFrmBespeak::cmd_editClick()
{
    if (billNoBox_->text().isEmpty())
        return;
    try {
        locateShownAppointment();
        appointments().edit();
        setMode(FormMode::Edit);
        serviceBox_->setFocus();
    } catch (const std::exception&) {
    }
}

void TFrmBespeak::cmd_deleClick()
{
    if (billNoBox_->text().trimmed().isEmpty())
        return;
    if (!confirmDelete(GetMsgText(QStringLiteral("1016")), GetMsgText(QStringLiteral("1017"))))
        return;
    db::Dataset& q = appointments();
    try {
        // Confirmed means gone: the deletion does not wait for a later save
        // of another appointment, nor is it undone by a later cancel.
        db::Transaction t(q.connection());
        q.remove();
        q.applyBatch();
        t.commit();
    } catch (const std::exception&) {
        try {
            q.cancelBatch(); // the appointment the table kept comes back into the list
        } catch (const std::exception&) {
        }
    }
}

bool TFrmBespeak::checkBeforeSave()
{
    const QString member = Edit2->text().trimmed();
    if (member.isEmpty()) {
        ui::message(this, GetMsgText(QStringLiteral("1018")));
        return false;
    }
    if (!locateMember(member)) {
        ui::message(this, GetMsgText(QStringLiteral("1019")));
        return false;
    }
    if (serviceBox_->text().trimmed().isEmpty()) {
        ui::message(this, GetMsgText(QStringLiteral("1015")));
        return false;
    }
    // A member code in the box stands for the member: the appointment is
    // kept under the card, where the lists look for it.
    const QString card = members().asString(QStringLiteral("card_no")).trimmed();
    cardToSave_ = card.isEmpty() ? member : card;
    return true;
}

void TFrmBespeak::SetBespeakDefaults()
{
    db::Dataset& q = appointments();
    q.setValue(QStringLiteral("pre_date"), dayOf(datePicker_->value()));
    q.setValue(QStringLiteral("bill_date"), dayOf(QDate::currentDate()));
    q.setValue(QStringLiteral("oper_code"), CurrentUser);
    q.setValue(QStringLiteral("card_no"), cardToSave_);
}

void TFrmBespeak::saveRecord()
{
    SetBespeakDefaults();
    RecordForm::saveRecord();
}

void TFrmBespeak::cmd_findClick()
{
    const QString text = Edit2->text().trimmed();
    try {
        // The member found stands for their card, whether code or card number was typed.
        QString card = text;
        if (locateMember(text)) {
            const QString memberCard = members().asString(QStringLiteral("card_no")).trimmed();
            if (!memberCard.isEmpty())
                card = memberCard;
        }
        openAppointments(card);
    } catch (const std::exception&) {
    }
}

void TFrmBespeak::Edit2KeyPress()
{
    // Enter stands for the find button: without the find right it finds nothing.
    if (!controls().cmd_find->isEnabled())
        return;
    const QString kept = Edit2->text().trimmed();
    Edit2->setText(LookupField(QStringLiteral("insider"), QStringLiteral("insi_code"), kept,
                               QStringLiteral("card_no")));
    if (Edit2->text().trimmed().isEmpty())
        Edit2->setText(kept);
    if (!Edit2->text().trimmed().isEmpty())
        cmd_findClick();
}

void TFrmBespeak::DBGrid1CellClick()
{
    db::Dataset& list = members();
    if (!list.isActive() || list.isEmpty())
        return;
    Edit2->setText(list.asString(QStringLiteral("card_no")));
    try {
        openAppointments(Edit2->text());
    } catch (const std::exception&) {
    }
}

void TFrmBespeak::Button1Click()
{
    const std::optional<QString> code = chooseField<TFrmServeFind>(this, QStringLiteral("serve_code"));
    if (!code)
        return;
    try {
        // Written into the appointment, so the service name and estimate follow.
        appointments().setValue(QStringLiteral("serv_code"), *code);
    } catch (const std::exception&) {
        return;
    }
    stylistCombo_->setFocus();
}
