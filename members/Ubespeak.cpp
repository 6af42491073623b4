#include "members/Ubespeak.h"

#include "core/Chooser.h"
#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "members/Uservefind.h"
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
    : MasterDetailForm(owner, QStringLiteral("FrmBespeak"), QStringLiteral("会员预约时程"), kPosition,
                       {&members(),
                        QStringLiteral("select * from insider"),
                        &appointments(),
                        QStringLiteral("select * from bespeak where card_no=:card_no"),
                        QStringLiteral("card_no"),
                        {{QStringLiteral("card_no"), QStringLiteral("会员卡号"), 90},
                         {QStringLiteral("insi_name"), QStringLiteral("姓名"), 80},
                         {QStringLiteral("insi_sex"), QStringLiteral("性别"), 40},
                         {QStringLiteral("insi_state"), QStringLiteral("状态"), 50}},
                        {{QStringLiteral("bill_no"), QStringLiteral("流水编号"), 120},
                         {QStringLiteral("card_no"), QStringLiteral("会员卡号"), 90},
                         {QStringLiteral("pre_date"), QStringLiteral("预约日期"), 90},
                         {QStringLiteral("pre_time"), QStringLiteral("预约时间"), 70},
                         {QStringLiteral("serv_code"), QStringLiteral("服务项目"), 70},
                         {QStringLiteral("serv_name"), QStringLiteral("服务名称"), 110},
                         {QStringLiteral("gage_time"), QStringLiteral("预估时间"), 60},
                         {QStringLiteral("stylist"), QStringLiteral("设计师"), 70},
                         {QStringLiteral("bill_date"), QStringLiteral("开单日期"), 90}}})
{
    auto* upper = new QHBoxLayout;
    upper->addWidget(masterGrid(), 2);
    auto* side = new QVBoxLayout;
    addMasterFind(QStringLiteral("会员卡号"), side, [this] { Edit2KeyPress(); });
    QGroupBox* group = buildAppointmentGroup();
    side->addWidget(group);
    side->addStretch(1);
    upper->addLayout(side, 3);
    body()->addLayout(upper, 3);
    body()->addWidget(recordGrid(), 2);

    controls().dataGroups = {group};
    setRecord(&appointments(), billNoBox_, QStringLiteral("bill_no"));
    setFirstEditBox(serviceBox_);

    keep(appointments().onDataChange([this](db::Dataset&, db::DataChange kind, const QString&) {
        if (kind == db::DataChange::Record)
            showAppointmentDate();
    }));

    runFormCreate([this] { FormCreate(); });
    resize(900, 640);
}

QGroupBox* TFrmBespeak::buildAppointmentGroup()
{
    auto* group = new QGroupBox(QStringLiteral("预约资料"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(group);
    auto box = [&](const char* field, const char* name) {
        auto* b = new ui::DbLineEdit(source(), QString::fromLatin1(field), group);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    auto place = [&](int row, int col, const char* caption, QWidget* w, const char* unit = nullptr,
                     QWidget* after = nullptr) {
        grid->addWidget(ui::labelFor(w, QString::fromUtf8(caption), group), row, col);
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
    Button1 = addPickerButton(QStringLiteral("Button1"), group, [this] { Button1Click(); });
    place(2, 0, "服务项目", serviceBox_, nullptr, Button1);
    serviceNameBox_ = box("serv_name", "DBEdit4");
    place(2, 2, "服务名称", serviceNameBox_);
    estimateBox_ = box("gage_time", "DBEdit5");
    place(3, 0, "估时", estimateBox_, "分钟");

    stylistCombo_ = new ui::DbComboBox(source(), QStringLiteral("stylist"), group);
    stylistCombo_->setObjectName(QStringLiteral("DBComboBox1"));
    place(4, 0, "设计师", stylistCombo_);
    stylistNameBox_ = box("stylist_name", "DBEdit6");
    place(4, 2, "姓名", stylistNameBox_);
    assistantCombo_ = new ui::DbComboBox(source(), QStringLiteral("assisitant"), group);
    assistantCombo_->setObjectName(QStringLiteral("DBComboBox2"));
    place(5, 0, "助理", assistantCombo_);
    assistantNameBox_ = box("assis_name", "DBEdit7");
    place(5, 2, "姓名", assistantNameBox_);

    noteBox_ = box("pre_note", "DBEdit8");
    grid->addWidget(ui::labelFor(noteBox_, QStringLiteral("备注")), 6, 0);
    grid->addWidget(noteBox_, 6, 1, 1, 3);
    return group;
}

void TFrmBespeak::FormCreate()
{
    datePicker_->setToday();
    openMaster();
    if (!members().isEmpty())
        findBox()->setText(members().asString(QStringLiteral("card_no")));

    // Filled before the appointments show: filling empties a combo's text.
    FillComboDistinct(QStringLiteral("employee"), QStringLiteral("empl_code"), stylistCombo_);
    FillComboDistinct(QStringLiteral("employee"), QStringLiteral("empl_code"), assistantCombo_);

    openRecords(findBox()->text().trimmed(), QStringLiteral("select * from bespeak where card_no=:card_no "));
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
    if (code.isEmpty())
        return false;
    return LocateCode(list, QStringLiteral("insi_code"), code) || LocateCode(list, QStringLiteral("card_no"), code);
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
    if (findBox()->text().trimmed().isEmpty()) {
        ui::warn(this, QStringLiteral("先定位会员卡号"));
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

bool TFrmBespeak::checkBeforeSave()
{
    if (mode() != FormMode::Add) {
        // The member list and the find box are shut while an appointment is
        // edited, so the member chosen last is the one whose appointments are
        // listed: the appointment stays theirs, whatever was typed into the
        // find box and never found.
        cardToSave_ = appointments().asString(QStringLiteral("card_no"));
        return checkService();
    }
    const QString member = findBox()->text().trimmed();
    if (member.isEmpty()) {
        ui::warn(this, GetMsgText(QStringLiteral("1018")));
        return false;
    }
    if (!locateMember(member)) {
        ui::warn(this, GetMsgText(QStringLiteral("1019")));
        return false;
    }
    if (!checkService())
        return false;
    // A member code in the box stands for the member: the appointment is
    // kept under the card, where the lists look for it, or under the code as
    // the member's record spells it.
    const QString card = members().asString(QStringLiteral("card_no")).trimmed();
    cardToSave_ = card.isEmpty() ? members().asString(QStringLiteral("insi_code")).trimmed() : card;
    return true;
}

bool TFrmBespeak::checkService()
{
    if (!serviceBox_->text().trimmed().isEmpty())
        return true;
    ui::warn(this, GetMsgText(QStringLiteral("1015")));
    return false;
}

void TFrmBespeak::SetBespeakDefaults()
{
    db::Dataset& q = appointments();
    q.setValue(QStringLiteral("pre_date"), dayOf(datePicker_->value()));
    if (mode() == FormMode::Add)
        q.setValue(QStringLiteral("bill_date"), dayOf(QDate::currentDate()));
    q.setValue(QStringLiteral("oper_code"), CurrentUser);
    q.setValue(QStringLiteral("card_no"), cardToSave_);
}

void TFrmBespeak::saveRecord()
{
    SetBespeakDefaults();
    MasterDetailForm::saveRecord();
}

void TFrmBespeak::cmd_findClick()
{
    const QString text = findBox()->text().trimmed();
    try {
        // The member found stands for their card, whether code or card number was typed.
        QString card = text;
        if (locateMember(text)) {
            const QString memberCard = members().asString(QStringLiteral("card_no")).trimmed();
            if (!memberCard.isEmpty())
                card = memberCard;
        }
        openRecords(card);
    } catch (const std::exception&) {
    }
}

void TFrmBespeak::Edit2KeyPress()
{
    // Enter stands for the find button: without the find right it finds nothing.
    if (!controls().cmd_find->isEnabled())
        return;
    QLineEdit* box = findBox();
    const QString kept = box->text().trimmed();
    box->setText(LookupField(QStringLiteral("insider"), QStringLiteral("insi_code"), kept,
                             QStringLiteral("card_no")));
    if (box->text().trimmed().isEmpty())
        box->setText(kept);
    if (!box->text().trimmed().isEmpty())
        cmd_findClick();
}

void TFrmBespeak::Button1Click()
{
    const std::optional<QString> code = chooseField<TFrmServeFind>(this, QStringLiteral("serve_code"));
    // Written into the appointment, so the service name and estimate follow.
    if (code && serviceBox_->putChosen(*code))
        stylistCombo_->setFocus();
}
