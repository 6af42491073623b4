#include "members/Umarcel.h"

#include "core/Udatamod.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbLineEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

namespace {

// In the order the pick lists are filled.
constexpr RecipeForm::ComboRow kTopCombos[] = {
    {"烫发方式", "mar_type", "DBComboBox1", "baseitem", "gods_size"},
    {"造型类别", "mar_kind", "DBComboBox2", "baseitem", "prod_place"},
    {"沟通卷度", "curl_tune", "DBComboBox3", "baseitem", "gods_spec"},
    {"选定药水", "mar_mach", "DBComboBox4", "marcel", "mar_mach"},
    {"烫前处理", "do_before", "DBComboBox5", "marcel", "do_before"},
    {"烫中处理", "do_middle", "DBComboBox6", "marcel", "do_middle"},
    {"烫后处理", "do_after", "DBComboBox7", "marcel", "do_after"},
};

// The rollers: one line per zone, colour and arrangement.
struct ZoneRow {
    const char* label;
    const char* colorColumn;
    const char* colorName;
    const char* sortColumn;
    const char* sortName;
};
constexpr ZoneRow kZones[] = {
    {"前", "bef_color", "DBComboBox8", "bef_sort", "DBComboBox12"},
    {"中", "mid_color", "DBComboBox9", "mid_sort", "DBComboBox13"},
    {"耳", "ear_color", "DBComboBox10", "ear_sort", "DBComboBox14"},
    {"后", "back_color", "DBComboBox11", "back_sort", "DBComboBox15"},
};

// The solution: first and second agent, minutes to leave on and to rinse.
struct SolutionRow {
    const char* label;
    const char* firstColumn;
    const char* firstName;
    const char* secondColumn;
    const char* secondName;
};
constexpr SolutionRow kSolution[] = {
    {"停留", "first_stay", "DBEdit4", "sec_stay", "DBEdit5"},
    {"冲洗", "first_wash", "DBEdit6", "sec_wash", "DBEdit7"},
};

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

std::vector<ui::GridColumn> gridColumns()
{
    return {{QStringLiteral("serve_code"), QStringLiteral("项目编号"), 80},
            {QStringLiteral("serve_name"), QStringLiteral("项目名称"), 120},
            {QStringLiteral("serve_type"), QStringLiteral("类别"), 70},
            {QStringLiteral("mar_type"), QStringLiteral("烫发方式"), 90},
            {QStringLiteral("mar_kind"), QStringLiteral("造型类别"), 90},
            {QStringLiteral("curl_tune"), QStringLiteral("沟通卷度"), 90},
            {QStringLiteral("mar_mach"), QStringLiteral("选定药水"), 100}};
}

} // namespace

TFrmMarcel::TFrmMarcel(QWidget* owner)
    : RecipeForm(owner, Design{QStringLiteral("FrmMarcel"), QStringLiteral("烫发项目设置"), kPosition,
                               &FrmDataMod->MarcelQ, QStringLiteral("select * from Marcel order by serve_code"),
                               QStringLiteral("烫发项目"), PickListFill::Merge, true, gridColumns()})
{
    buildRecipeBoxes();
    start();
}

void TFrmMarcel::buildRecipeBoxes()
{
    QGridLayout* layout = recipeLayout();
    QWidget* group = recipeGroup();
    auto combo = [&](const char* column, const char* name, const char* table, const char* listColumn,
                     QWidget* parent) {
        return pickCombo(u(column), name, u(table), u(listColumn), parent);
    };

    // Method, styling and curl on one line; solution and treatments each on a line of their own.
    const std::span<const ComboRow> combos(kTopCombos);
    int line = 0;
    addCombosSideBySide(combos.first(3), line);
    for (const ComboRow& row : combos.subspan(3))
        addWideCombo(row, ++line);

    auto* rollers = new QGroupBox(QStringLiteral("卷子"), group);
    auto* rollerGrid = new QGridLayout(rollers);
    rollerGrid->addWidget(new QLabel(QStringLiteral("颜色"), rollers), 0, 1);
    rollerGrid->addWidget(new QLabel(QStringLiteral("排列"), rollers), 0, 2);
    int zoneLine = 0;
    for (const ZoneRow& z : kZones) {
        ++zoneLine;
        ui::DbComboBox* color = combo(z.colorColumn, z.colorName, "baseitem", "gods_color", rollers);
        color->setAccessibleName(u(z.label) + QStringLiteral("颜色"));
        rollerGrid->addWidget(new QLabel(u(z.label), rollers), zoneLine, 0);
        rollerGrid->addWidget(color, zoneLine, 1);
    }
    zoneLine = 0;
    for (const ZoneRow& z : kZones) {
        ui::DbComboBox* sort = combo(z.sortColumn, z.sortName, "baseitem", "gods_unit", rollers);
        sort->setAccessibleName(u(z.label) + QStringLiteral("排列"));
        rollerGrid->addWidget(sort, ++zoneLine, 2);
    }

    auto* solution = new QGroupBox(QStringLiteral("药水"), group);
    auto* solutionGrid = new QGridLayout(solution);
    solutionGrid->addWidget(new QLabel(QStringLiteral("一剂"), solution), 0, 1);
    solutionGrid->addWidget(new QLabel(QStringLiteral("二剂"), solution), 0, 2);
    int solutionLine = 0;
    for (const SolutionRow& s : kSolution) {
        ++solutionLine;
        ui::DbLineEdit* first = textBox(u(s.firstColumn), s.firstName, solution);
        ui::DbLineEdit* second = textBox(u(s.secondColumn), s.secondName, solution);
        first->setAccessibleName(QStringLiteral("一剂") + u(s.label));
        second->setAccessibleName(QStringLiteral("二剂") + u(s.label));
        solutionGrid->addWidget(new QLabel(u(s.label), solution), solutionLine, 0);
        solutionGrid->addWidget(first, solutionLine, 1);
        solutionGrid->addWidget(second, solutionLine, 2);
        solutionGrid->addWidget(new QLabel(QStringLiteral("分钟"), solution), solutionLine, 3);
    }
    solutionGrid->setRowStretch(solutionLine + 1, 1);

    auto* blocks = new QHBoxLayout;
    blocks->addWidget(rollers, 1);
    blocks->addWidget(solution, 1);
    layout->addLayout(blocks, ++line, 0, 1, 6);

    addNoteLine(QStringLiteral("mar_note"), "DBEdit8", ++line);
}
