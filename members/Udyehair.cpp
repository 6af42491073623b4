#include "members/Udyehair.h"

#include "core/Udatamod.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EntryRefusal.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

namespace {

// In the order the pick lists are filled, the plan block's three last.
constexpr RecipeForm::ComboRow kTopCombos[] = {
    {"染发类别", "dye_kind", "DBComboBox1", "baseitem", "gods_type"},
    {"头发基色", "base_color", "DBComboBox2", "baseitem", "gods_color"},
    {"染后颜色", "end_color", "DBComboBox3", "baseitem", "gods_color"},
    {"烫前处理", "do_before", "DBComboBox4", "dyehair", "do_before"},
    {"烫中处理", "do_middle", "DBComboBox5", "dyehair", "do_middle"},
    {"烫后处理", "do_after", "DBComboBox6", "dyehair", "do_after"},
    {"染药", "dye_drug", "DBComboBox7", "dyehair", "dye_drug"},
    {"主要配方", "dye_plan", "DBComboBox8", "dyehair", "dye_plan"},
};

// The plan for each part of the hair and the minutes the colour takes there.
struct PartRow {
    const char* label;
    const char* planColumn;
    const char* planName;
    const char* timeColumn;
    const char* timeName;
};
constexpr PartRow kParts[] = {
    {"发根", "root_plan", "DBComboBox9", "root_time", "DBEdit5"},
    {"发中", "mid_plan", "DBComboBox10", "mid_time", "DBEdit6"},
    {"发梢", "top_plan", "DBComboBox11", "top_time", "DBEdit7"},
};

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

std::vector<ui::GridColumn> gridColumns()
{
    return {{QStringLiteral("serve_code"), QStringLiteral("服务编号"), 80},
            {QStringLiteral("serve_name"), QStringLiteral("服务名称"), 120},
            {QStringLiteral("serve_type"), QStringLiteral("类别"), 70},
            {QStringLiteral("dye_kind"), QStringLiteral("染发类别"), 90},
            {QStringLiteral("base_color"), QStringLiteral("头发基色"), 90},
            {QStringLiteral("end_color"), QStringLiteral("染后颜色"), 90}};
}

} // namespace

TFrmDyeHair::TFrmDyeHair(QWidget* owner)
    : RecipeForm(owner, Design{QStringLiteral("FrmDyeHair"), QStringLiteral("染发项目设置"), kPosition,
                               &FrmDataMod->DyeHairQ, QStringLiteral("select * from DyeHair order by serve_code"),
                               QStringLiteral("染发项目"), PickListFill::Replace, false, gridColumns()})
{
    buildRecipeBoxes();
    start();
}

void TFrmDyeHair::buildRecipeBoxes()
{
    QGridLayout* layout = recipeLayout();
    QWidget* group = recipeGroup();

    // Kind and the two colours on one line; treatments, product and plan below.
    const std::span<const ComboRow> combos(kTopCombos);
    int line = 0;
    addCombosSideBySide(combos.first(3), line);
    for (const ComboRow& row : combos.subspan(3, 3))
        addWideCombo(row, ++line);
    addWideCombo(combos[6], ++line, 3);
    auto* quantity = new QHBoxLayout;
    ui::DbLineEdit* quantityBox = textBox(QStringLiteral("use_quant"), "DBEdit4", group);
    quantity->addWidget(ui::labelFor(quantityBox, QStringLiteral("用量")));
    quantity->addWidget(quantityBox, 1);
    quantity->addWidget(new QLabel(QStringLiteral("C.C"), group));
    layout->addLayout(quantity, line, 4, 1, 2);
    addWideCombo(combos[7], ++line);

    auto* plans = new QGroupBox(QStringLiteral("染发配方"), group);
    auto* planGrid = new QGridLayout(plans);
    planGrid->addWidget(new QLabel(QStringLiteral("过色时间"), plans), 0, 2);
    int partLine = 0;
    for (const PartRow& p : kParts) {
        ++partLine;
        ui::DbComboBox* plan = pickCombo(u(p.planColumn), p.planName, QStringLiteral("dyehair"), u(p.planColumn), plans);
        ui::DbLineEdit* time = textBox(u(p.timeColumn), p.timeName, plans);
        time->setAccessibleName(u(p.label) + QStringLiteral("过色时间"));
        planGrid->addWidget(ui::labelFor(plan, u(p.label)), partLine, 0);
        planGrid->addWidget(plan, partLine, 1);
        planGrid->addWidget(time, partLine, 2);
        planGrid->addWidget(new QLabel(QStringLiteral("分钟"), plans), partLine, 3);
    }
    planGrid->setColumnStretch(1, 3);
    planGrid->setColumnStretch(2, 1);
    layout->addWidget(plans, ++line, 0, 1, 6);

    addNoteLine(QStringLiteral("dye_note"), "DBEdit8", ++line);
}
