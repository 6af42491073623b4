#pragma once

#include "core/FormFrame.h"

#include <array>

class QGroupBox;
class QLineEdit;

// The five member card levels (table cardtype): each level's name, the
// accumulated spend that reaches it, the deposit asked when its card is
// issued, and the percent of the list price its members pay.
//
// The levels are fixed: the form never adds or deletes one. Opening it makes
// sure the table holds the five levels in level order (creating or completing
// them, with list_no 1 to 5); saving writes all five in one transaction.
// Rights position 7; the form closes at any time, discarding unsaved typing.
class TFrmCardType : public RecordForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 7;
    static constexpr int kLevels = 5;

    explicit TFrmCardType(QWidget* owner = nullptr);

    void cmd_editClick() override;
    // Writes every level; a failure anywhere leaves all of them as stored and
    // the form in "edit" with what was typed.
    void cmd_saveClick() override;
    // Back to browsing; the boxes keep what was typed until the next opening.
    void cmd_cancClick() override;

    // The boxes of level 1 to 5: name (Edit1..5), threshold, deposit and
    // discount (MaskEdit1..15, three per level).
    struct LevelBoxes {
        QLineEdit* name = nullptr;
        QLineEdit* threshold = nullptr;
        QLineEdit* deposit = nullptr;
        QLineEdit* discount = nullptr;
    };
    const LevelBoxes& level(int number) const { return levels_.at(size_t(number - 1)); }
    QGroupBox* levelGroup() const { return levelGroup_; }

private:
    void buildLevelGroup();
    // Opens CardTypeQ on the five levels and shows them; load errors reach the caller.
    void FormCreate();
    void showLevels();
    // False after refusing a changed name longer than the members' level column holds.
    bool namesFit();
    void writeLevels();

    std::array<LevelBoxes, kLevels> levels_;
    QGroupBox* levelGroup_ = nullptr;
    // A level's name is copied onto its members (insider.card_type): the
    // name boxes take no more than that holds; 0 for no limit.
    int nameWidth_ = 0;
};
