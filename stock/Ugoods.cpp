#include "stock/Ugoods.h"

#include "core/Chooser.h"
#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EntryRefusal.h"
#include "platform/ui/Prompt.h"
#include "stock/Ucompfind.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

db::Dataset& goods()
{
    return FrmDataMod->GoodsQ;
}

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

// The four lists, merged from the stored values in this order.
const char* const kListedColumns[] = {"gods_spec", "gods_type", "gods_kind", "gods_unit"};

} // namespace

struct TFrmGoods::Entry {
    enum Kind { Text, Combo, Company };
    const char* label;
    const char* column;
    Kind kind;
    const char* objectName;
    // Company: the "..." button and the name box beside the code box.
    const char* button = nullptr;
    const char* nameColumn = nullptr;
    const char* nameObject = nullptr;
};

TFrmGoods::TFrmGoods(QWidget* owner)
    : CodeRegisterForm(owner, QStringLiteral("FrmGoods"), QStringLiteral("产品资料"), kPosition, goods(),
                       QStringLiteral("goods"), QStringLiteral("gods_code"))
{
    // Fixed titles: this list does not follow the shop's goods captions.
    grid()->setColumns({{QStringLiteral("gods_code"), QStringLiteral("产品编码"), 90},
                        {QStringLiteral("gods_name"), QStringLiteral("产品名称"), 140},
                        {QStringLiteral("gods_spec"), QStringLiteral("规格"), 70},
                        {QStringLiteral("gods_type"), QStringLiteral("型号"), 70},
                        {QStringLiteral("gods_kind"), QStringLiteral("类别"), 70}});
    placeRecordGroup(buildRecordGroup(), QStringLiteral("产品编码"));
    controls().gateFind = true;

    runFormCreate([this] { FormCreate(); });
    resize(940, 520);
}

TFrmGoods::~TFrmGoods()
{
    // GoodsQ stays open for the lookups of others, but nothing left unsaved
    // here may reach the table with somebody else's save.
    try {
        if (goods().isActive() && (goods().isEditing() || goods().hasPendingChanges()))
            goods().cancelBatch();
    } catch (const std::exception&) {
    }
}

QGroupBox* TFrmGoods::buildRecordGroup()
{
    static const Entry kEntries[] = {
        {"产品编码", "gods_code", Entry::Text, "DBEdit1"},
        {"名称", "gods_name", Entry::Text, "DBEdit2"},
        {"规格", "gods_spec", Entry::Combo, "DBComboBox1"},
        {"型号", "gods_type", Entry::Combo, "DBComboBox2"},
        {"种类", "gods_kind", Entry::Combo, "DBComboBox3"},
        {"单位", "gods_unit", Entry::Combo, "DBComboBox4"},
        {"建议进价", "valu_in", Entry::Text, "DBEdit3"},
        {"建议售价", "valu_out", Entry::Text, "DBEdit4"},
        {"库存上限", "max_amou", Entry::Text, "DBEdit5"},
        {"库存下限", "min_amou", Entry::Text, "DBEdit6"},
        {"代理价", "agent_pric", Entry::Text, "DBEdit7"},
        {"产地", "prod_place", Entry::Text, "DBEdit8"},
        {"生产商编码", "prod_code", Entry::Company, "DBEdit9", "Button1", "prod_name", "DBEdit10"},
        {"供应商商编码", "supp_code", Entry::Company, "DBEdit11", "Button2", "supp_name", "DBEdit12"},
        {"备注", "gods_note", Entry::Text, "DBEdit13"},
    };

    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* layout = new QGridLayout(group);
    // Short boxes two to a line; code, name, companies and note on a line of their own.
    int line = 0;
    int column = 0;
    for (const Entry& entry : kEntries) {
        const bool wide = entry.kind == Entry::Company || entry.column == QLatin1String("gods_code")
                          || entry.column == QLatin1String("gods_name")
                          || entry.column == QLatin1String("gods_note");
        if (wide && column > 0) {
            ++line;
            column = 0;
        }
        layout->addWidget(buildBox(entry, group), line, column + 1, 1, wide ? 3 : 1);
        layout->addWidget(ui::labelFor(boxOf(u(entry.column)), u(entry.label), group), line, column);
        if (wide || column > 0) {
            ++line;
            column = 0;
        } else {
            column = 2;
        }
    }
    return group;
}

QWidget* TFrmGoods::buildBox(const Entry& entry, QWidget* parent)
{
    const QString column = u(entry.column);
    if (entry.kind == Entry::Combo) {
        auto* combo = new ui::DbComboBox(source(), column, parent);
        combo->setObjectName(u(entry.objectName));
        combos_ << combo;
        boxes_ << combo;
        return combo;
    }
    auto* edit = new ui::DbLineEdit(source(), column, parent);
    edit->setObjectName(u(entry.objectName));
    boxes_ << edit;
    if (column == QLatin1String("gods_note")) {
        // Enter here moves to the save button and no further.
        edit->setProperty("enterAsTab", false);
        connect(edit, &QLineEdit::returnPressed, this, [this] { DBEdit13KeyPress(); });
    }
    if (entry.kind != Entry::Company)
        return edit;

    QPushButton* button = NewChooserButton(parent, u(entry.button));
    auto* name = new ui::DbLineEdit(source(), u(entry.nameColumn), parent);
    name->setObjectName(u(entry.nameObject));
    name->setLocked(true);
    boxes_ << name;
    if (column == QLatin1String("prod_code"))
        connect(button, &QPushButton::clicked, this, ui::guarded(this, [this] { Button1Click(); }));
    else
        connect(button, &QPushButton::clicked, this, ui::guarded(this, [this] { Button2Click(); }));

    auto* cell = new QWidget(parent);
    auto* row = new QHBoxLayout(cell);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(edit, 1);
    row->addWidget(button);
    row->addWidget(name, 2);
    return cell;
}

QWidget* TFrmGoods::boxOf(const QString& column) const
{
    for (QWidget* box : boxes_) {
        if (auto* edit = qobject_cast<ui::DbLineEdit*>(box); edit && edit->field() == column)
            return edit;
        if (auto* combo = qobject_cast<ui::DbComboBox*>(box); combo && combo->field() == column)
            return combo;
    }
    return nullptr;
}

void TFrmGoods::FormCreate()
{
    FillGoodsCombos();
    openTable(db::LockType::BatchOptimistic);
}

void TFrmGoods::FillGoodsCombos()
{
    for (const char* column : kListedColumns)
        for (ui::DbComboBox* combo : combos_)
            if (combo->field() == QLatin1String(column))
                MergeComboDistinctOnUse(QStringLiteral("goods"), combo->field(), combo);
}

void TFrmGoods::cmd_deleClick()
{
    if (codeBox()->text().trimmed().isEmpty())
        return;
    if (!confirmDelete())
        return;
    try {
        db::Transaction t(goods().connection());
        goods().remove();
        goods().applyBatch();
        t.commit();
    } catch (const std::exception&) {
        // A deletion the table refused must not wait in the batch for the
        // next save to write it behind the user's back: the row comes back.
        try {
            goods().cancelBatch();
        } catch (const std::exception&) {
        }
    }
}

void TFrmGoods::saveRecord()
{
    RecordForm::saveRecord();
    FillGoodsCombos();
}

void TFrmGoods::cmd_cancClick()
{
    try {
        goods().cancelBatch();
    } catch (const std::exception&) {
    }
    setMode(FormMode::Null);
}

void TFrmGoods::DBEdit13KeyPress()
{
    if (controls().cmd_save)
        controls().cmd_save->setFocus();
}

void TFrmGoods::Button1Click()
{
    chooseCompanyInto(QStringLiteral("prod_code"));
}

void TFrmGoods::Button2Click()
{
    chooseCompanyInto(QStringLiteral("supp_code"));
}

void TFrmGoods::chooseCompanyInto(const QString& codeColumn)
{
    // Written through the box, so the name beside it follows at once.
    if (const std::optional<ChosenCompany> chosen = ChooseCompany(this))
        qobject_cast<ui::DbLineEdit*>(boxOf(codeColumn))->putChosen(chosen->code);
}
