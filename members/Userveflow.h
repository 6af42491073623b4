#pragma once

#include "members/MasterDetailForm.h"

class QGroupBox;
class QPushButton;
namespace ui {
class DbLineEdit;
}

// The work steps of each service item (table serveflow over ServeFlowQ,
// batch-optimistic): numbered steps with their minutes and the goods each
// uses. The upper grid lists the service items (ServeItemQ); the lower one the
// steps of the item last clicked there. Added and edited steps wait in the
// batch until the save writes them all in one transaction; a confirmed
// deletion is written at once. Rights position 4.
class TFrmServeFlow : public MasterDetailForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 4;

    explicit TFrmServeFlow(QWidget* owner = nullptr);

    // A new step of the current item of the upper grid; message 2005 when
    // there is no item at all.
    void cmd_addClick() override;
    // Edits the step named by the code and step number boxes; message 2004
    // when no step is shown.
    void cmd_editClick() override;
    // Message 1022 without an item code; else every pending change is written.
    void cmd_saveClick() override;
    // Every pending change is dropped; back to the step named in the boxes.
    void cmd_cancClick() override;
    // Moves the item grid to the item whose code is in the find box (case aside);
    // the steps shown stay those of the item last clicked.
    void cmd_findClick() override;
    // Enter in the find box: the find, where the find button may be pressed.
    void Edit2KeyPress();
    // The goods chooser; on OK the step takes the chosen goods.
    void Button1Click();

    ui::DbGrid* itemGrid() const { return masterGrid(); }
    ui::DbGrid* stepGrid() const { return recordGrid(); }
    ui::DbLineEdit* codeBox() const { return codeBox_; }
    ui::DbLineEdit* stepNoBox() const { return stepNoBox_; }
    ui::DbLineEdit* goodsCodeBox() const { return goodsCodeBox_; }
    ui::DbLineEdit* goodsNameBox() const { return goodsNameBox_; }
    QPushButton* goodsButton() const { return Button1; }

protected:
    bool checkBeforeSave() override;

private:
    QGroupBox* buildStepGroup();
    void FormCreate();
    // Moves to the step named by the code and step number boxes (trimmed);
    // quiet when there is none.
    void locateShownStep();

    ui::DbLineEdit* codeBox_ = nullptr;
    ui::DbLineEdit* stepNoBox_ = nullptr;
    ui::DbLineEdit* goodsCodeBox_ = nullptr;
    ui::DbLineEdit* goodsNameBox_ = nullptr;
    QPushButton* Button1 = nullptr;
};
