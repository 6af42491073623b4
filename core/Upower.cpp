#include "core/Upower.h"

#include "core/FunctionPositions.h"
#include "core/Udatamod.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/CharacterLimit.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EntryRefusal.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kFunctions = 38;
constexpr int kLeastNameColumnWidth = 100;
constexpr int kRightsColumnWidth = 60;
constexpr int kTitleRowHeight = 22;
const QString kTick = QStringLiteral("√");

struct RightsColumn {
    const char* title;
    const char* field;
};
constexpr RightsColumn kRightsTable[TFrmPower::kRightsColumns] = {
    {"使用", "pow_use"},  {"新增", "pow_add"},  {"修改", "pow_edit"}, {"删除", "pow_dele"},
    {"复核", "pow_chek"}, {"查询", "pow_find"}, {"打印", "pow_prin"},
};

db::Dataset& users()
{
    return FrmDataMod->PowerQ;
}

bool rowExists(const QString& sql, const QString& param, const QString& value)
{
    db::Dataset& q = FrmDataMod->TempQ;
    q.close();
    q.setSql(sql);
    q.setParam(param, value);
    q.open();
    return !q.isEmpty();
}

// A cell of the fixed row or column: shown, never selected or changed.
QTableWidgetItem* fixedCell(const QString& text, const QBrush& background)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setBackground(background);
    return item;
}

} // namespace

QString TFrmPower::rightsColumn(int c)
{
    return QString::fromLatin1(kRightsTable[c - 1].field);
}

TFrmPower::TFrmPower(QWidget* owner)
    : RecordForm(owner, QStringLiteral("FrmPower"), QStringLiteral("权限设置"), kPosition)
{
    addStandardButtons({"cmd_add", "cmd_edit", "cmd_dele", "cmd_save", "cmd_canc", "cmd_exit"},
                       {"新增&A", "修改&E", "删除&D", "保存&S", "取消&C", "关闭&X"});
    source_ = new ui::DataSource(&users(), this);

    DBGrid1 = ui::DbGrid::rowList(this, &users(),
                                  {{QStringLiteral("user_id"), QStringLiteral("编码"), 80},
                                   {QStringLiteral("user_name"), QStringLiteral("姓名"), 100}});

    buildEntryGroup();
    buildRightsGrid();

    auto* right = new QVBoxLayout;
    right->addWidget(GB1);
    right->addWidget(checkBoxRow_);
    right->addWidget(SGrid, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(DBGrid1, 1);
    row->addLayout(right, 2);
    body()->addLayout(row);

    controls().grid = DBGrid1;
    controls().dataGroups = {GB1};
    setRecord(&users(), DBEdit1, QStringLiteral("user_id"));
    setFirstEditBox(DBEdit1);
    keep(users().onAfterScroll([this](db::Dataset&) { LoadPowerGrid(); }));

    runFormCreate([this] { FormCreate(); });
    resize(900, 680);
}

TFrmPower::~TFrmPower()
{
    users().close();
}

void TFrmPower::buildEntryGroup()
{
    GB1 = new QGroupBox(this);
    GB1->setObjectName(QStringLiteral("GB1"));
    DBEdit1 = new ui::DbLineEdit(source_, QStringLiteral("user_id"), GB1);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit2 = new ui::DbLineEdit(source_, QStringLiteral("user_name"), GB1);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->setLocked(true);
    DBEdit4 = new ui::DbLineEdit(source_, QStringLiteral("password"), GB1);
    DBEdit4->setObjectName(QStringLiteral("DBEdit4"));
    DBEdit4->setPassword(true);
    Edit5 = new QLineEdit(GB1);
    Edit5->setObjectName(QStringLiteral("Edit5"));
    Edit5->setEchoMode(QLineEdit::Password);

    auto* layout = new QGridLayout(GB1);
    const std::pair<const char*, QWidget*> boxes[] = {
        {"员工编码:", DBEdit1}, {"姓名", DBEdit2}, {"密    码:", DBEdit4}, {"确认密码:", Edit5}};
    int r = 0;
    for (const auto& [caption, box] : boxes) {
        layout->addWidget(ui::labelFor(box, QString::fromUtf8(caption), GB1), r, 0);
        layout->addWidget(box, r, 1);
        ++r;
    }
    auto* legend = new QVBoxLayout;
    for (const char* line : {"说明：", "√—有此权限", "单击左键改变权限"})
        legend->addWidget(new QLabel(QString::fromUtf8(line), GB1));
    layout->addLayout(legend, 0, 2, r, 1);

    connect(DBEdit1, &QLineEdit::returnPressed, this, ui::guarded(this, [this] { DBEdit1KeyPress(QChar(13)); }));
}

void TFrmPower::buildRightsGrid()
{
    SGrid = new QTableWidget(kFunctions + 1, kRightsColumns + 1, this);
    SGrid->setObjectName(QStringLiteral("SGrid"));
    SGrid->horizontalHeader()->hide();
    SGrid->verticalHeader()->hide();
    SGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    SGrid->setColumnWidth(0, nameColumnWidth());
    for (int c = 1; c <= kRightsColumns; ++c)
        SGrid->setColumnWidth(c, kRightsColumnWidth);
    SGrid->setRowHeight(0, kTitleRowHeight);

    const QBrush fixed = palette().button();
    SGrid->setItem(0, 0, fixedCell(QString(), fixed));
    for (int c = 1; c <= kRightsColumns; ++c)
        SGrid->setItem(0, c, fixedCell(QString::fromUtf8(kRightsTable[c - 1].title), fixed));
    for (int k = 1; k <= kFunctions; ++k) {
        SGrid->setItem(k, 0, fixedCell(QString(), fixed));
        for (int c = 1; c <= kRightsColumns; ++c) {
            auto* cell = new QTableWidgetItem;
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            cell->setTextAlignment(Qt::AlignCenter);
            SGrid->setItem(k, c, cell);
        }
    }
    connect(SGrid, &QTableWidget::cellClicked, this, ui::guarded(this, [this](int row, int column) {
        SGridClick(row, column);
    }));

    checkBoxRow_ = new QWidget(this);
    for (int n = 1; n <= kRightsColumns; ++n) {
        auto* box = new QCheckBox(checkBoxRow_);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(n));
        connect(box, &QCheckBox::clicked, this, ui::guarded(this, [this, n] { CheckBoxClick(n); }));
        CheckBoxes[size_t(n - 1)] = box;
    }
    placeCheckBoxes();
}

int TFrmPower::nameColumnWidth() const
{
    // 100 pixels, or wider where the font would cut a function's name.
    const int margins = 2 * (SGrid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, SGrid) + 1) + 1;
    int width = kLeastNameColumnWidth;
    for (const FunctionPosition& p : FunctionPositions())
        width = std::max(width, SGrid->fontMetrics().horizontalAdvance(p.function) + margins);
    return width;
}

void TFrmPower::placeCheckBoxes()
{
    // Each box sits over its column, 40 pixels into the name column's right.
    const int gridLeft = SGrid->frameWidth();
    int height = 0;
    for (int n = 1; n <= kRightsColumns; ++n) {
        QCheckBox* box = CheckBoxes[size_t(n - 1)];
        box->adjustSize();
        box->move(gridLeft + nameColumnWidth() + 40 + kRightsColumnWidth * (n - 1), 0);
        height = std::max(height, box->height());
    }
    checkBoxRow_->setFixedHeight(height);
    checkBoxRow_->setMinimumWidth(gridLeft + nameColumnWidth() + 40 + kRightsColumnWidth * kRightsColumns);
}

void TFrmPower::FormCreate()
{
    ui::Hourglass wait;
    db::Dataset& q = users();
    q.close();
    q.setSql(QStringLiteral("select * from powers"));
    q.setLockType(db::LockType::Optimistic);
    q.open();
    // The confirmation takes as much as the password box.
    if (const int limit = ui::characterLimit(DBEdit4))
        ui::limitCharacters(Edit5, limit);
    if (!q.isEmpty()) {
        q.first();
        LoadPowerGrid();
    }
    FillPowerRowNames();
}

void TFrmPower::SetControlStates()
{
    RecordForm::SetControlStates();
    for (QCheckBox* box : CheckBoxes)
        box->setEnabled(editing());
    // A user's id is fixed once stored.
    DBEdit1->setEnabled(mode() != FormMode::Edit);
}

void TFrmPower::FillPowerRowNames()
{
    // One table of positions serves the menu, the rights strings and this grid.
    for (const FunctionPosition& p : FunctionPositions())
        SGrid->item(p.position, 0)->setText(p.function);
}

void TFrmPower::LoadPowerGrid()
{
    try {
        const db::Dataset& q = users();
        if (!q.isActive() || q.isEmpty() || q.recNo() < 0)
            return;
        for (int c = 1; c <= kRightsColumns; ++c) {
            const QString rights = q.asString(rightsColumn(c));
            for (int k = 1; k <= kFunctions; ++k)
                SGrid->item(k, c)->setText(rights.size() >= k && rights[k - 1] == u'1' ? kTick : QString());
        }
    } catch (const std::exception&) {
        // the grid keeps what it showed
    }
}

void TFrmPower::SavePowerGrid()
{
    for (int c = 1; c <= kRightsColumns; ++c) {
        QString rights;
        rights.reserve(kFunctions);
        for (int k = 1; k <= kFunctions; ++k)
            rights += SGrid->item(k, c)->text() == kTick ? u'1' : u'0';
        users().setValue(rightsColumn(c), rights);
    }
}

void TFrmPower::SGridClick(int row, int column)
{
    if (!editing() || row < 1 || column < 1)
        return;
    QTableWidgetItem* cell = SGrid->item(row, column);
    cell->setText(cell->text().trimmed().isEmpty() ? kTick : QString());
}

void TFrmPower::CheckBoxClick(int n)
{
    if (!editing())
        return;
    const QString text = CheckBoxes[size_t(n - 1)]->isChecked() ? kTick : QString();
    for (int k = 1; k <= kFunctions; ++k)
        SGrid->item(k, n)->setText(text);
}

void TFrmPower::clearForm()
{
    Edit5->clear();
    FillPowerRowNames();
    for (int k = 1; k <= kFunctions; ++k)
        for (int c = 1; c <= kRightsColumns; ++c)
            SGrid->item(k, c)->setText(QString());
}

void TFrmPower::showCurrentRights()
{
    if (users().isActive() && !users().isEmpty())
        LoadPowerGrid();
    else
        clearForm();
}

bool TFrmPower::checkNewUserId()
{
    // Written first: the id then reads as the employee's record spells it.
    DBEdit1->commit();
    const QString id = DBEdit1->text().trimmed();
    // User ids compare exactly at the login, but one employee is one user
    // whatever the letter case of the id typed here.
    if (rowExists(QStringLiteral("Select * from powers where user_id=:user_id collate nocase"),
                  QStringLiteral("user_id"), id)) {
        ui::warn(this, QStringLiteral("该员工已存在！"));
        ui::focusToCorrect(DBEdit1);
        return false;
    }
    if (!rowExists(QStringLiteral("Select * from employee where empl_code=:empl_code"), QStringLiteral("empl_code"), id)) {
        ui::warn(this, QStringLiteral("无此员工编码！"));
        DBEdit1->clear();
        DBEdit1->commit();
        return false;
    }
    return true;
}

void TFrmPower::DBEdit1KeyPress(QChar key)
{
    if (key == QChar(13))
        checkNewUserId();
}

void TFrmPower::cmd_addClick()
{
    ui::Hourglass wait;
    users().append();
    clearForm();
    setMode(FormMode::Add);
    DBEdit1->setEnabled(true);
    DBEdit1->setFocus();
}

void TFrmPower::cmd_editClick()
{
    // The box shows the user in the list: that row is the one edited, not
    // another with the same id.
    if (DBEdit1->text().trimmed().isEmpty()) {
        ui::warn(this, QStringLiteral("请先定位员工编码"));
        return;
    }
    users().edit();
    setMode(FormMode::Edit);
    DBEdit4->setFocus();
}

bool TFrmPower::checkBeforeSave()
{
    if (mode() != FormMode::Add)
        return true;
    if (DBEdit4->text().trimmed() != Edit5->text().trimmed()) {
        ui::warn(this, QStringLiteral("密码不一致"));
        return false;
    }
    return checkNewUserId();
}

void TFrmPower::saveRecord()
{
    source_->flush();
    db::Dataset& q = users();
    q.setValue(QStringLiteral("user_id"), q.asString(QStringLiteral("user_id")).trimmed());
    q.setValue(QStringLiteral("password"), q.asString(QStringLiteral("password")).trimmed());
    SavePowerGrid();
    RecordForm::saveRecord();
}

void TFrmPower::cmd_cancClick()
{
    RecordForm::cmd_cancClick();
    // Ticks made while editing were never stored; showing them would save
    // them with the next edit.
    showCurrentRights();
}

void TFrmPower::cmd_deleClick()
{
    if (DBEdit1->text().trimmed().isEmpty()) {
        ui::warn(this, QStringLiteral("请先定位删除员工"));
        return;
    }
    if (ui::ask(this, QStringLiteral("确认删除该记录"), QStringLiteral("提示"), ui::Buttons::YesNo, ui::Answer::Yes) ==
        ui::Answer::No)
        return;
    // The user shown goes, not every row that shares the id; it leaves the
    // list at once.
    users().remove();
    clearForm();
    showCurrentRights();
}
