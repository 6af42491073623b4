#pragma once

#include "members/MasterDetailForm.h"

class QGroupBox;
class QPushButton;
namespace ui {
class DbComboBox;
class DbDatePicker;
class DbLineEdit;
}

// Member appointments (table bespeak over BespeakQ, batch-optimistic): for
// one member card a date, a time, a service item, a stylist and an
// assistant. The left grid lists the members (InsiderQ); the lower one the
// appointments of the card in the quick-find box, which is also the card an
// appointment is saved for. Added and edited appointments are written by the
// save in one transaction; a confirmed deletion is written at once. Rights
// position 15.
class TFrmBespeak : public MasterDetailForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 15;

    explicit TFrmBespeak(QWidget* owner = nullptr);

    // "先定位会员卡号" without a member; else a new appointment with a new
    // bill number, dated today.
    void cmd_addClick() override;
    // Edits the appointment whose bill number is in the bill number box.
    void cmd_editClick() override;
    // The member whose code, else whose card number, is in the quick-find
    // box; the list shows that member's appointments.
    void cmd_findClick() override;
    // Enter in the quick-find box, where the find button may be pressed: a
    // member code becomes the member's card number, then the find runs.
    void Edit2KeyPress();
    // The service picker; on OK the appointment takes the chosen item.
    void Button1Click();
    // The values written at save that have no box of their own: the date in
    // the picker, the member's card, the user, and today as the entry date of
    // a new appointment (an edited one keeps its own).
    void SetBespeakDefaults();

    ui::DbGrid* memberGrid() const { return masterGrid(); }
    ui::DbGrid* appointmentGrid() const { return recordGrid(); }
    ui::DbLineEdit* billNoBox() const { return billNoBox_; }
    ui::DbDatePicker* datePicker() const { return datePicker_; }
    ui::DbLineEdit* timeBox() const { return timeBox_; }
    ui::DbLineEdit* serviceBox() const { return serviceBox_; }
    ui::DbLineEdit* serviceNameBox() const { return serviceNameBox_; }
    ui::DbLineEdit* estimateBox() const { return estimateBox_; }
    ui::DbComboBox* stylistCombo() const { return stylistCombo_; }
    ui::DbComboBox* assistantCombo() const { return assistantCombo_; }
    ui::DbLineEdit* stylistNameBox() const { return stylistNameBox_; }
    ui::DbLineEdit* assistantNameBox() const { return assistantNameBox_; }
    ui::DbLineEdit* noteBox() const { return noteBox_; }
    QPushButton* pickerButton() const { return Button1; }

protected:
    // The card (1018), its member (1019) and the service item (1015), in that
    // order; an edited appointment keeps its member, so only its service.
    bool checkBeforeSave() override;
    // SetBespeakDefaults, then every pending change in one transaction.
    void saveRecord() override;

private:
    QGroupBox* buildAppointmentGroup();
    void FormCreate();
    // Moves the member list to the member whose code, else card number, is
    // code; false when there is none.
    bool locateMember(const QString& code);
    // The picker shows the date of the appointment now current.
    void showAppointmentDate();
    void locateShownAppointment();
    // 1015 when no service item is given.
    bool checkService();

    ui::DbLineEdit* billNoBox_ = nullptr;
    ui::DbDatePicker* datePicker_ = nullptr;
    ui::DbLineEdit* timeBox_ = nullptr;
    ui::DbLineEdit* serviceBox_ = nullptr;
    ui::DbLineEdit* serviceNameBox_ = nullptr;
    ui::DbLineEdit* estimateBox_ = nullptr;
    ui::DbComboBox* stylistCombo_ = nullptr;
    ui::DbComboBox* assistantCombo_ = nullptr;
    ui::DbLineEdit* stylistNameBox_ = nullptr;
    ui::DbLineEdit* assistantNameBox_ = nullptr;
    ui::DbLineEdit* noteBox_ = nullptr;
    QPushButton* Button1 = nullptr;
    // The card the save writes: the member's card number found by the checks,
    // or the edited appointment's own.
    QString cardToSave_;
};
