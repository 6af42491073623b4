#include "members/Ucardtype.h"

#include "core/CopiedColumns.h"
#include "core/Udatamod.h"
#include "platform/db/Error.h"
#include "platform/db/Value.h"
#include "platform/ui/CharacterLimit.h"
#include "platform/ui/EntryRefusal.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

// Row key and discount of each level as created on an empty table.
struct LevelDefault {
    const char* key;
    int rebate;
};
constexpr std::array<LevelDefault, TFrmCardType::kLevels> kLevelDefaults{
    {{"class_a", 100}, {"class_b", 95}, {"class_c", 90}, {"class_d", 85}, {"class_e", 80}}};

db::Dataset& cardTypes()
{
    return FrmDataMod->CardTypeQ;
}

struct StoredLevel {
    QVariant note, threshold, deposit, rebate;
    bool present = false;
};

std::vector<StoredLevel> readStoredRows(db::Connection& conn, std::vector<QString>& keys)
{
    db::Statement st(conn, QStringLiteral("select card_type, type_note, insi_tota, foregift, rebate "
                                          "from cardtype order by rowid"));
    std::vector<StoredLevel> rows;
    while (st.step()) {
        keys.push_back(db::asString(st.value(0)).trimmed().toLower());
        rows.push_back({st.value(1), st.value(2), st.value(3), st.value(4), true});
    }
    return rows;
}

// Each stored row keeps the level its card_type names; rows naming no level
// (or one already taken) fill the levels still free, in order.
std::array<StoredLevel, TFrmCardType::kLevels> assignLevels(const std::vector<StoredLevel>& rows,
                                                            const std::vector<QString>& keys)
{
    std::array<StoredLevel, TFrmCardType::kLevels> levels;
    std::vector<const StoredLevel*> homeless;
    for (size_t i = 0; i < rows.size(); ++i) {
        bool placed = false;
        for (size_t k = 0; k < levels.size() && !placed; ++k) {
            if (!levels[k].present && keys[i] == QLatin1String(kLevelDefaults[k].key)) {
                levels[k] = rows[i];
                placed = true;
            }
        }
        if (!placed)
            homeless.push_back(&rows[i]);
    }
    for (size_t k = 0; k < levels.size() && !homeless.empty(); ++k) {
        if (!levels[k].present) {
            levels[k] = *homeless.front();
            homeless.erase(homeless.begin());
        }
    }
    return levels;
}

// Billing and the level routines need exactly five rows, in level order in the
// table, each with its list_no. A table short of levels is rewritten that way,
// keeping what the stored levels held; a full table is left alone.
void completeLevels(db::Connection& conn)
{
    db::Transaction t(conn);
    std::vector<QString> keys;
    const std::vector<StoredLevel> rows = readStoredRows(conn, keys);
    if (rows.size() >= size_t(TFrmCardType::kLevels))
        return;
    const auto levels = assignLevels(rows, keys);
    conn.execute(QStringLiteral("delete from cardtype"));
    for (size_t k = 0; k < levels.size(); ++k) {
        const StoredLevel& s = levels[k];
        conn.execute(QStringLiteral("insert into cardtype (card_type, type_note, insi_tota, foregift, rebate, list_no) "
                                    "values (:card_type, :type_note, :insi_tota, :foregift, :rebate, :list_no)"),
                     {{QStringLiteral("card_type"), QString::fromLatin1(kLevelDefaults[k].key)},
                      {QStringLiteral("type_note"), s.note},
                      {QStringLiteral("insi_tota"), s.threshold},
                      {QStringLiteral("foregift"), s.deposit},
                      {QStringLiteral("rebate"), s.present ? s.rebate : QVariant(qlonglong(kLevelDefaults[k].rebate))},
                      {QStringLiteral("list_no"), qlonglong(k + 1)}});
    }
    t.commit();
}

QLineEdit* digitBox(QWidget* parent, int number, int digits)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QStringLiteral("MaskEdit%1").arg(number));
    // No maxLength: it would cut a longer stored value on display and the
    // next save would write the cut value back.
    box->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(digits)), box));
    box->setAlignment(Qt::AlignRight);
    const int textWidth = box->fontMetrics().horizontalAdvance(QString(digits + 1, QLatin1Char('0')));
    box->setFixedWidth(textWidth + 16);
    return box;
}

// Blank leaves the column as stored; otherwise the number rounded to two decimals.
void writeAmount(db::Dataset& q, const QString& column, const QLineEdit* box)
{
    const QString text = box->text().trimmed();
    if (text.isEmpty())
        return;
    const std::optional<double> typed = db::parseAmount(text);
    if (!typed)
        throw db::Error(db::Error::Kind::Usage, QStringLiteral("%1 不是数字").arg(db::messageExcerpt(text)));
    q.setValue(column, *db::parseAmount(db::formatAmount(*typed)));
}

} // namespace

TFrmCardType::TFrmCardType(QWidget* owner)
    : RecordForm(owner, QStringLiteral("FrmCardType"), QStringLiteral("会员卡类型设置"), kPosition)
{
    addStandardButtons({"cmd_edit", "cmd_save", "cmd_canc", "cmd_exit"},
                       {"修改[&E]", "保存[&S]", "取消[&C]", "退出[&X]"});
    buildLevelGroup();
    controls().dataGroups = {levelGroup_};
    setClosableAnyTime(true);
    setMode(FormMode::Null);
    FormCreate();
}

void TFrmCardType::buildLevelGroup()
{
    levelGroup_ = new QGroupBox(QStringLiteral("会员卡类型"), this);
    auto* grid = new QGridLayout(levelGroup_);
    const QStringList titles{QStringLiteral("描述"), QStringLiteral("累计消费金额"), QStringLiteral("一次性订金"),
                             QStringLiteral("折扣")};
    for (int c = 0; c < titles.size(); ++c)
        grid->addWidget(new QLabel(titles[c], levelGroup_), 0, 1 + 2 * c);

    for (int k = 0; k < kLevels; ++k) {
        const int row = k + 1;
        LevelBoxes& boxes = levels_[size_t(k)];
        grid->addWidget(new QLabel(QString(k + 1, QChar(0x2605)), levelGroup_), row, 0);
        boxes.name = new QLineEdit(levelGroup_);
        boxes.name->setObjectName(QStringLiteral("Edit%1").arg(k + 1));
        boxes.name->setAccessibleName(QStringLiteral("第%1级描述").arg(k + 1));
        boxes.threshold = digitBox(levelGroup_, 3 * k + 1, 6);
        boxes.deposit = digitBox(levelGroup_, 3 * k + 2, 6);
        // Only level 1 can hold 100 (full price).
        boxes.discount = digitBox(levelGroup_, 3 * k + 3, k == 0 ? 3 : 2);
        const std::array<std::pair<QLineEdit*, const char*>, 3> amounts{
            {{boxes.threshold, "元"}, {boxes.deposit, "元"}, {boxes.discount, "%"}}};
        grid->addWidget(boxes.name, row, 1);
        for (size_t a = 0; a < amounts.size(); ++a) {
            grid->addWidget(amounts[a].first, row, 3 + 2 * int(a));
            grid->addWidget(new QLabel(QString::fromUtf8(amounts[a].second), levelGroup_), row, 4 + 2 * int(a));
        }
    }
    body()->addWidget(levelGroup_);
}

void TFrmCardType::FormCreate()
{
    ui::Hourglass wait;
    db::Dataset& q = cardTypes();
    q.close();
    q.setSql(QStringLiteral("select  * from cardtype "));
    q.setLockType(db::LockType::Optimistic);
    q.open();
    if (q.recordCount() < kLevels) {
        completeLevels(q.connection());
        q.close();
        q.open();
    }
    nameWidth_ = CopiedColumnWidth(q.connection(), QStringLiteral("cardtype"), QStringLiteral("type_note"));
    showLevels();
}

void TFrmCardType::showLevels()
{
    db::Dataset& q = cardTypes();
    for (int k = 0; k < kLevels && k < q.recordCount(); ++k) {
        q.setRecNo(k);
        const LevelBoxes& boxes = levels_[size_t(k)];
        const QString name = q.asString(QStringLiteral("type_note"));
        ui::limitCharactersShowing(boxes.name, nameWidth_, name); // a longer name stored before shows whole
        boxes.name->setText(name);
        boxes.threshold->setText(db::formatAmount(q.asFloat(QStringLiteral("insi_tota"))));
        boxes.deposit->setText(db::formatAmount(q.asFloat(QStringLiteral("foregift"))));
        boxes.discount->setText(db::formatAmount(q.asFloat(QStringLiteral("rebate"))));
    }
}

void TFrmCardType::cmd_editClick()
{
    setMode(FormMode::Edit);
    levels_.front().name->setFocus();
}

bool TFrmCardType::namesFit()
{
    db::Dataset& q = cardTypes();
    for (int k = 0; k < kLevels && k < q.recordCount(); ++k) {
        QLineEdit* box = levels_[size_t(k)].name;
        const QString name = box->text();
        if (nameWidth_ <= 0 || db::characterCount(name) <= nameWidth_
            || name == db::asString(q.value(k, q.fieldIndex(QStringLiteral("type_note")))))
            continue;
        ui::showRefusal(this, ui::RefusedEntry(box, ui::tooLongText(name, nameWidth_)));
        return false;
    }
    return true;
}

void TFrmCardType::writeLevels()
{
    db::Dataset& q = cardTypes();
    db::Transaction t(q.connection());
    for (int k = 0; k < kLevels && k < q.recordCount(); ++k) {
        q.setRecNo(k);
        q.edit();
        const LevelBoxes& boxes = levels_[size_t(k)];
        q.setValue(QStringLiteral("type_note"), boxes.name->text());
        writeAmount(q, QStringLiteral("insi_tota"), boxes.threshold);
        writeAmount(q, QStringLiteral("foregift"), boxes.deposit);
        writeAmount(q, QStringLiteral("rebate"), boxes.discount);
        q.post();
    }
    t.commit();
}

void TFrmCardType::cmd_saveClick()
{
    if (!namesFit())
        return;
    ui::Hourglass wait;
    try {
        writeLevels();
    } catch (const std::exception& e) {
        // Nothing was written; reread the stored levels so the query matches
        // the table again. The boxes keep the typing for another try.
        try {
            db::Dataset& q = cardTypes();
            q.close();
            q.open();
        } catch (const std::exception&) {
        }
        ShowSaveFailure(this, e);
        return;
    }
    setMode(FormMode::Null);
}

void TFrmCardType::cmd_cancClick()
{
    setMode(FormMode::Null);
}
