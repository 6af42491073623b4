#pragma once

#include "core/FormFrame.h"

#include <QHash>
#include <array>
#include <initializer_list>

class QGroupBox;
namespace ui {
class DataSource;
class DbDatePicker;
class DbGrid;
class DbLineEdit;
}

// The member records (table insider through InsiderQ): personal data, card
// number, level and state, and the skin and hair profile. Money columns and
// the card password are neither shown nor written here.
//
// The birth and opening dates sit in unbound pickers: they show the current
// member's dates whenever another member becomes current, and the before-post
// handler writes them back. A stored date that is empty shows today and stays
// empty unless the user changed its picker; a new member gets today for both.
// Rights position 8.
class TFrmInsider : public RecordForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 8;

    explicit TFrmInsider(QWidget* owner = nullptr);
    ~TFrmInsider() override;

    // New member: both dates today.
    void cmd_addClick() override;
    // Edits the member shown; errors are ignored.

    // Shows the current member's dates when another row becomes current
    // (never while a row is being edited, so dates picked stay picked).
    void DataSource1DataChange(db::DataChange change);
    // Before every post of InsiderQ while the form is open: writes the dates.
    void membqbeforepost(db::Dataset& q);

    // The data-bound control of a column (edit box, combo box or check box);
    // nullptr for columns the form does not show.
    QWidget* control(const QString& column) const { return boundControls_.value(column); }
    ui::DbLineEdit* codeBox() const { return codeBox_; }
    ui::DbDatePicker* birthPicker() const { return dates_[0].picker; }
    ui::DbDatePicker* openPicker() const { return dates_[1].picker; }
    ui::DbGrid* grid() const { return grid_; }

protected:
    bool checkBeforeSave() override;

private:
    struct DateBox {
        ui::DbDatePicker* picker = nullptr;
        QString column;
        // Written back at the next post: the row had a date, the row is new,
        // or the user changed the picker.
        bool store = false;
    };

    void buildGrid(QBoxLayout* into);
    QGroupBox* buildPersonalGroup();
    struct Tick {
        const char* column;
        const char* caption;
    };
    QGroupBox* buildProfileGroup(const QString& title, std::initializer_list<Tick> ticks);
    void FormCreate();
    void FormDestroy();
    void showDates();
    void setDatesToToday();

    db::Dataset& q_;
    ui::DataSource* source_ = nullptr;
    ui::DbGrid* grid_ = nullptr;
    ui::DbLineEdit* codeBox_ = nullptr;
    ui::DbLineEdit* nameBox_ = nullptr;
    QHash<QString, QWidget*> boundControls_;
    std::array<DateBox, 2> dates_;
    bool showingDates_ = false;
};
