#include "members/Uinsider.h"

#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbCheckBox.h"
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
#include <QPushButton>
#include <QVBoxLayout>

namespace {

enum class Kind { Edit, Combo, Date };

struct PersonalField {
    const char* caption;
    const char* column;
    Kind kind;
};

// Group "个人资料", in the order the form shows it.
constexpr PersonalField kPersonalFields[] = {
    {"会员编号", "insi_code", Kind::Edit},  {"姓名", "insi_name", Kind::Edit},
    {"会员卡号", "card_no", Kind::Edit},    {"性别", "insi_sex", Kind::Combo},
    {"证件号码", "id_card", Kind::Edit},    {"联系地址", "insi_addr", Kind::Edit},
    {"邮编", "post_code", Kind::Edit},      {"电话", "insi_tele", Kind::Edit},
    {"手机", "mobile", Kind::Edit},         {"出生年月", "insi_birth", Kind::Date},
    {"开户日期", "open_date", Kind::Date},  {"会员卡类型", "card_type", Kind::Combo},
    {"状态", "insi_state", Kind::Combo},    {"备注", "insi_note", Kind::Edit},
};

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

TFrmInsider::TFrmInsider(QWidget* owner)
    : RecordForm(owner, QStringLiteral("FrmInsider"), QStringLiteral("会员资料"), kPosition),
      q_(FrmDataMod->InsiderQ)
{
    addStandardButtons({"cmd_add", "cmd_edit", "cmd_dele", "cmd_save", "cmd_canc", "cmd_prin", "cmd_exit"},
                       {"新增&A", "修改&E", "删除&D", "保存&S", "取消&C", "打印&P", "退出&X"});
    controls().cmd_prin->hide();

    // Created before the form's own before-post handler, so typed text is in
    // the fields when membqbeforepost runs.
    source_ = new ui::DataSource(&q_, this);
    source_->setObjectName(QStringLiteral("DataSource1"));

    auto* columns = new QHBoxLayout;
    body()->addLayout(columns, 1);
    buildGrid(columns);
    auto* data = new QVBoxLayout;
    columns->addLayout(data, 3);
    QGroupBox* personal = buildPersonalGroup();
    data->addWidget(personal);
    auto* profile = new QHBoxLayout;
    data->addLayout(profile, 1);
    QGroupBox* skinType = buildProfileGroup(
        QStringLiteral("皮肤类型"), {{"skin1", "干性"}, {"skin2", "油性"}, {"skin3", "中性"}, {"skin4", "混合型"},
                                     {"skin5", "衰老型"}, {"skin6", "微血管扩张型"}, {"skin7", "问题型"},
                                     {"skin8", "其他"}});
    auto* otherSkin = new ui::DbLineEdit(source_, QStringLiteral("skin_else1"), skinType);
    otherSkin->setObjectName(QStringLiteral("DBEdit10"));
    otherSkin->setAccessibleName(QStringLiteral("其他皮肤类型"));
    otherSkin->setMinimumWidth(otherSkin->fontMetrics().horizontalAdvance(QStringLiteral("其他皮肤类型说明")));
    static_cast<QGridLayout*>(skinType->layout())->addWidget(otherSkin, 3, 2); // beside "其他"
    boundControls_.insert(QStringLiteral("skin_else1"), otherSkin);
    QGroupBox* skinProblems = buildProfileGroup(
        QStringLiteral("皮肤问题"),
        {{"skin10", "无光泽"}, {"skin11", "无弹性"}, {"skin12", "干燥"}, {"skin13", "粗燥"}, {"skin14", "雀斑"},
         {"skin15", "暗疮"}, {"skin16", "黑头"}, {"skin17", "眼角皱纹"}, {"skin18", "眼袋"}, {"skin19", "黑眼圈"},
         {"skin20", "红血丝"}, {"skin21", "皱纹"}, {"skin22", "颜色晦暗"}, {"skin23", "皮肤敏感"},
         {"skin24", "皮肤油亮"}});
    QGroupBox* hairType = buildProfileGroup(
        QStringLiteral("发质类型"),
        {{"hair1", "干性"}, {"hair2", "油性"}, {"hair3", "中性"}, {"hair4", "混合型"}, {"hair5", "纤细发"},
         {"hair6", "头皮屑"}, {"hair7", "分叉"}, {"hair8", "染色或烫过"}, {"hair9", "脆弱"}, {"hair10", "扁塌"},
         {"hair11", "枯黄暗淡"}, {"hair12", "直发"}, {"hair13", "长法"}, {"hair14", "中发"}, {"hair15", "短发"}});
    profile->addWidget(skinType);
    profile->addWidget(skinProblems);
    profile->addWidget(hairType);

    controls().grid = grid_;
    controls().dataGroups = {personal, skinType, skinProblems, hairType};
    setRecord(&q_, codeBox_, QStringLiteral("insi_code"));
    setFirstEditBox(codeBox_);

    keep(q_.onDataChange([this](db::Dataset&, db::DataChange change, const QString&) { DataSource1DataChange(change); }));
    keep(q_.onBeforePost([this](db::Dataset& q) { membqbeforepost(q); }));
    runFormCreate([this] { FormCreate(); });
}

TFrmInsider::~TFrmInsider()
{
    FormDestroy();
}

void TFrmInsider::buildGrid(QBoxLayout* into)
{
    grid_ = ui::DbGrid::rowList(this, &q_,
                                {{QStringLiteral("insi_code"), QStringLiteral("会员编码"), 80},
                                 {QStringLiteral("insi_name"), QStringLiteral("姓名"), 72},
                                 {QStringLiteral("card_no"), QStringLiteral("会员卡号"), 100}});
    into->addWidget(grid_, 2);
}

QGroupBox* TFrmInsider::buildPersonalGroup()
{
    auto* group = new QGroupBox(QStringLiteral("个人资料"), this);
    auto* layout = new QGridLayout(group);
    int edits = 0, combos = 0, pickers = 0, slot = 0;
    for (const PersonalField& f : kPersonalFields) {
        const QString column = QString::fromLatin1(f.column);
        QWidget* box = nullptr;
        switch (f.kind) {
        case Kind::Edit:
            box = new ui::DbLineEdit(source_, column, group);
            box->setObjectName(QStringLiteral("DBEdit%1").arg(++edits));
            break;
        case Kind::Combo:
            box = new ui::DbComboBox(source_, column, group);
            box->setObjectName(QStringLiteral("DBComboBox%1").arg(++combos));
            break;
        case Kind::Date: {
            auto* picker = new ui::DbDatePicker(group); // unbound: the form carries its date
            picker->setObjectName(QStringLiteral("DateTimePicker%1").arg(++pickers));
            dates_[size_t(pickers - 1)] = {picker, column, false};
            connect(picker, &QDateEdit::dateChanged, this, [this, index = pickers - 1] {
                if (!showingDates_)
                    dates_[size_t(index)].store = true;
            });
            box = picker;
            break;
        }
        }
        if (f.kind != Kind::Date)
            boundControls_.insert(column, box);
        layout->addWidget(ui::labelFor(box, text(f.caption)), slot / 2, 2 * (slot % 2));
        layout->addWidget(box, slot / 2, 2 * (slot % 2) + 1);
        ++slot;
    }
    codeBox_ = static_cast<ui::DbLineEdit*>(boundControls_.value(QStringLiteral("insi_code")));
    nameBox_ = static_cast<ui::DbLineEdit*>(boundControls_.value(QStringLiteral("insi_name")));
    static_cast<QComboBox*>(boundControls_.value(QStringLiteral("insi_sex")))
        ->addItems({QStringLiteral("男"), QStringLiteral("女")});
    static_cast<QComboBox*>(boundControls_.value(QStringLiteral("insi_state")))
        ->addItems({QStringLiteral("启用"), QStringLiteral("禁用")});
    return group;
}

QGroupBox* TFrmInsider::buildProfileGroup(const QString& title, std::initializer_list<Tick> ticks)
{
    auto* group = new QGroupBox(title, this);
    auto* layout = new QGridLayout(group);
    int slot = 0;
    for (const Tick& t : ticks) {
        const QString column = QString::fromLatin1(t.column);
        auto* box = new ui::DbCheckBox(text(t.caption), source_, column, group);
        box->setObjectName(QStringLiteral("DBCheckBox_%1").arg(column));
        boundControls_.insert(column, box);
        layout->addWidget(box, slot / 2, slot % 2);
        ++slot;
    }
    return group;
}

void TFrmInsider::FormCreate()
{
    FillComboDistinct(QStringLiteral("cardtype"), QStringLiteral("type_note"),
                      static_cast<QComboBox*>(boundControls_.value(QStringLiteral("card_type"))));
    q_.close();
    q_.setSql(QStringLiteral("select * from insider"));
    q_.setLockType(db::LockType::Optimistic);
    q_.open();
}

void TFrmInsider::FormDestroy()
{
    // The before-post and data-change handlers leave with the form's subscriptions.
    try {
        q_.close();
    } catch (const std::exception&) {
    }
}

void TFrmInsider::DataSource1DataChange(db::DataChange change)
{
    if (change != db::DataChange::Record || !q_.isActive() || q_.isEditing())
        return;
    try {
        showDates();
    } catch (const std::exception&) {
    }
}

void TFrmInsider::showDates()
{
    showingDates_ = true;
    for (DateBox& d : dates_) {
        const QDateTime stored = q_.recNo() >= 0 ? q_.asDateTime(d.column) : QDateTime();
        // A picker cannot show "no date": today stands in, and is not stored.
        d.picker->setDate(stored.isValid() ? stored.date() : QDate::currentDate());
        d.store = stored.isValid();
    }
    showingDates_ = false;
}

void TFrmInsider::setDatesToToday()
{
    showingDates_ = true;
    for (DateBox& d : dates_) {
        d.picker->setToday();
        d.store = true;
    }
    showingDates_ = false;
}

void TFrmInsider::membqbeforepost(db::Dataset& q)
{
    for (const DateBox& d : dates_) {
        if (!d.store)
            continue;
        const QDate day = d.picker->value();
        q.setValue(d.column, day.isValid() ? QVariant(QDateTime(day, QTime(0, 0))) : QVariant());
    }
}

void TFrmInsider::cmd_addClick()
{
    q_.append();
    setDatesToToday();
    setMode(FormMode::Add);
    codeBox_->setFocus();
}

bool TFrmInsider::checkBeforeSave()
{
    if (codeBox_->text().isEmpty() || nameBox_->text().isEmpty()) {
        ui::warn(this, QStringLiteral("编号,姓名不能为空"));
        return false;
    }
    return true;
}
