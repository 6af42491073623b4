#include "core/Upublic.h"

#include "core/Udatamod.h"
#include "platform/db/Error.h"
#include "platform/sys/IniFile.h"
#include "platform/sys/ProgramFolder.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbGrid.h"

#include <QComboBox>
#include <QSet>
#include <QSignalBlocker>
#include <cmath>

QString PowUse, PowAdd, PowEdit, PowDele, PowChek, PowFind, PowPrin;
QString CurrentUser;
QString GoodsCodeCaption, GoodsNameCaption, GoodsSpecCaption, GoodsTypeCaption, GoodsKindCaption;
QString BillCompanyName, BillFooter, PageType;
int PageWidth = 0, PageLength = 0, LinesPerPage = 0;
int SaleCommissionRate = 0;
std::array<QStringList, 2> MsgCatalog;
int MsgCatalogCount = 0;
QString CurBillType;

namespace {

std::function<QDateTime()>& billClock()
{
    static std::function<QDateTime()> clock;
    return clock;
}

db::Dataset& tempQ()
{
    return FrmDataMod->TempQ;
}

// Opens TempQ on "select distinct column from table" and hands each
// non-blank value, as stored, to add. TempQ stays open with the result.
template <typename Add>
void forEachDistinct(const QString& table, const QString& column, Add add)
{
    db::Dataset& q = tempQ();
    const db::ControlsDisabled detached(q);
    q.close();
    q.setSql(QStringLiteral("select distinct ") + column + QStringLiteral(" from ") + table);
    q.open();
    for (int r = 0; r < q.recordCount(); ++r) {
        const QString value = db::asString(q.value(r, 0));
        if (!value.trimmed().isEmpty())
            add(value);
    }
}

// The lookup query: the key value is bound, never spliced into the text, and
// compares as the key column does (codes without regard to case).
QVariant lookupValue(const QString& table, const QString& keyColumn, const QString& keyValue,
                     const QString& resultColumn)
{
    try {
        db::Dataset& q = tempQ();
        q.close();
        q.setSql(QStringLiteral("select distinct ") + keyColumn.trimmed() + QStringLiteral(",")
                 + resultColumn.trimmed() + QStringLiteral(" from ") + table.trimmed() + QStringLiteral(" where ")
                 + keyColumn.trimmed() + QStringLiteral("=:lookup_value"));
        q.setParam(QStringLiteral("lookup_value"), keyValue.trimmed());
        q.open();
        if (q.isEmpty())
            return {};
        return q.value(0, 1);
    } catch (const std::exception&) {
        return {};
    }
}

struct CardBand {
    double threshold;
    QString name;
};

// The level that applies to the total: a later band overrides an earlier
// one, which matters only when the thresholds do not rise.
int levelOf(const std::vector<CardBand>& bands, double total)
{
    int level = 0;
    const int n = int(bands.size());
    for (int k = 0; k + 1 < n; ++k)
        if (bands[size_t(k)].threshold <= total && total < bands[size_t(k) + 1].threshold)
            level = k + 1;
    if (n > 0 && total >= bands[size_t(n) - 1].threshold)
        level = n;
    return level;
}

std::vector<CardBand> readCardBands()
{
    std::vector<CardBand> bands;
    db::Dataset& q = tempQ();
    q.close();
    q.setSql(QStringLiteral("select * from cardtype order by rowid"));
    q.open();
    for (int r = 0; r < q.recordCount() && r < 5; ++r)
        bands.push_back({db::asFloat(q.value(r, q.fieldIndex(QStringLiteral("insi_tota")))),
                         db::asString(q.value(r, q.fieldIndex(QStringLiteral("type_note"))))});
    return bands;
}

} // namespace

bool HasRight(const QString& rights, int position)
{
    return position >= 1 && position <= rights.size() && rights[position - 1] == QLatin1Char('1');
}

void LoadPrintSettings()
{
    const sys::IniFile ini(sys::programFolder() + QStringLiteral("system.ini"));
    PageType = ini.readString(QStringLiteral("pagesize"), QStringLiteral("page_type"), QString()).trimmed();
    PageWidth = ini.readInt(QStringLiteral("pagesize"), QStringLiteral("page_width"), 0);
    PageLength = ini.readInt(QStringLiteral("pagesize"), QStringLiteral("page_length"), 0);
    BillCompanyName = ini.readString(QStringLiteral("billdata"), QStringLiteral("company_name"), QString()).trimmed();
    BillFooter = ini.readString(QStringLiteral("billdata"), QStringLiteral("bill_bottom"), QString()).trimmed();
    LinesPerPage = ini.readInt(QStringLiteral("billdata"), QStringLiteral("line_count"), 0);
}

void FillComboDistinct(const QString& table, const QString& column, QComboBox* combo)
{
    // A query that fails leaves the combo as it was.
    QStringList values;
    forEachDistinct(table, column, [&](const QString& v) { values << v; });
    const QSignalBlocker quiet(combo);
    combo->setUpdatesEnabled(false);
    combo->clear();
    combo->setEditText(QString());
    combo->addItems(values);
    // Adding to an empty list selects its first entry; the text stays empty.
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
    combo->setUpdatesEnabled(true);
}

void MergeComboDistinct(const QString& table, const QString& column, QComboBox* combo)
{
    const QSignalBlocker quiet(combo);
    const QString text = combo->currentText();
    const int index = combo->currentIndex();
    // Entries are compared trimmed on both sides: a value stored with blanks
    // around it would otherwise be added again on every merge.
    QSet<QString> listed;
    for (int i = 0; i < combo->count(); ++i)
        listed.insert(combo->itemText(i).trimmed());
    QStringList added;
    forEachDistinct(table, column, [&](const QString& v) {
        if (!listed.contains(v.trimmed())) {
            listed.insert(v.trimmed());
            added << v;
        }
    });
    combo->addItems(added);
    // Adding to an empty list would select its first entry.
    combo->setCurrentIndex(index);
    if (combo->isEditable())
        combo->setEditText(text);
}

void FillComboDistinctOnUse(const QString& table, const QString& column, ui::DbComboBox* combo)
{
    {
        const QSignalBlocker quiet(combo);
        combo->clear();
        combo->setEditText(QString());
    }
    combo->fillOnFirstUse([table, column, combo] {
        QStringList values;
        try {
            forEachDistinct(table, column, [&](const QString& v) { values << v; });
        } catch (const std::exception&) {
            return;
        }
        const QSignalBlocker quiet(combo);
        combo->addItems(values);
    });
}

void MergeComboDistinctOnUse(const QString& table, const QString& column, ui::DbComboBox* combo)
{
    combo->fillOnFirstUse([table, column, combo] {
        try {
            MergeComboDistinct(table, column, combo);
        } catch (const std::exception&) {
        }
    });
}

QString NewBillNo()
{
    const QDateTime now = billClock() ? billClock()() : QDateTime::currentDateTime();
    return now.toString(QStringLiteral("yyyyMMddHHmmss"));
}

void SetBillClockForTesting(std::function<QDateTime()> clock)
{
    billClock() = std::move(clock);
}

MonthRange MonthOf(const QDate& anyDay)
{
    const QDate first(anyDay.year(), anyDay.month(), 1);
    return {first, first.addMonths(1)};
}

QString LookupField(const QString& table, const QString& keyColumn, const QString& keyValue,
                    const QString& resultColumn)
{
    return db::asString(lookupValue(table, keyColumn, keyValue, resultColumn));
}

double LookupFloat(const QString& table, const QString& keyColumn, const QString& keyValue,
                   const QString& resultColumn)
{
    return db::asFloat(lookupValue(table, keyColumn, keyValue, resultColumn));
}

int LookupInt(const QString& table, const QString& keyColumn, const QString& keyValue,
              const QString& resultColumn)
{
    return int(db::asInt(lookupValue(table, keyColumn, keyValue, resultColumn)));
}

bool LocateCode(db::Dataset& q, const QString& field, const QString& code)
{
    return q.isActive() && q.locate(field, QVariantList{code}, true);
}

QString MoneyToChinese(double amount)
{
    static const QString numerals = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
    static const QString units = QStringLiteral("分角圆拾佰仟万拾佰仟");
    // Whole fen, from the amount rounded to two decimals.
    const QString fen = QString::number(std::llround(QString::number(std::fabs(amount), 'f', 2).toDouble() * 100));
    const int n = int(fen.size()) - 1;
    if (n > 9)
        return {};
    QString text;
    for (int i = 0; i <= n; ++i) {
        text += numerals[fen[i].digitValue()];
        text += units[n - i];
    }
    text += QStringLiteral("整");
    if (amount < 0)
        text.prepend(QStringLiteral("负"));
    return text;
}

void FixComboAutoComplete(QWidget*)
{
    // Completion is switched off only on systems outside the NT family; this
    // platform counts as one of that family, so every combo keeps it.
}

QString GetMsgText(const QString& number)
{
    for (int i = 0; i < MsgCatalogCount && i < MsgCatalog[0].size(); ++i)
        if (MsgCatalog[0][i] == number)
            return MsgCatalog[1].value(i).trimmed();
    return QStringLiteral("0000");
}

void SetGoodsColumnTitles(ui::DbGrid* grid, const QString& order)
{
    const QString digits = order.size() < 5 ? QStringLiteral("01234") : order;
    const QString captions[5] = {GoodsCodeCaption, GoodsNameCaption, GoodsSpecCaption, GoodsTypeCaption,
                                 GoodsKindCaption};
    std::vector<ui::GridColumn> columns = grid->datasetModel()->shownColumns();
    for (int i = 0; i < 5; ++i) {
        const int column = digits[i].digitValue();
        if (column >= 0 && column < int(columns.size()))
            columns[size_t(column)].title = captions[i];
    }
    grid->setColumns(columns);
}

void CardNoteByTotal(QString& note, double total)
{
    try {
        const std::vector<CardBand> bands = readCardBands();
        const int level = levelOf(bands, total);
        if (level > 0)
            note = bands[size_t(level) - 1].name;
    } catch (const std::exception&) {
        // the note stays as it came
    }
}

int CardLevelByTotal(double total)
{
    try {
        return levelOf(readCardBands(), total);
    } catch (const std::exception&) {
        return 0;
    }
}

int CardLevelByNote(const QString& note)
{
    const QString wanted = note.trimmed();
    if (wanted.isEmpty())
        return 0;
    try {
        db::Dataset& q = tempQ();
        q.close();
        q.setSql(QStringLiteral("select type_note, list_no from cardtype order by rowid"));
        q.open();
        for (int r = 0; r < q.recordCount(); ++r) {
            if (db::foldedAsDatabase(db::asString(q.value(r, 0)).trimmed()) != db::foldedAsDatabase(wanted))
                continue;
            // Levels entered before they were numbered count by their place,
            // as the bands of CardLevelByTotal do.
            const QVariant number = q.value(r, 1);
            return number.isNull() ? r + 1 : int(db::asInt(number));
        }
    } catch (const std::exception&) {
    }
    return 0;
}

void ResetProgramState()
{
    for (QString* s : {&PowUse, &PowAdd, &PowEdit, &PowDele, &PowChek, &PowFind, &PowPrin, &CurrentUser,
                       &GoodsCodeCaption, &GoodsNameCaption, &GoodsSpecCaption, &GoodsTypeCaption,
                       &GoodsKindCaption, &BillCompanyName, &BillFooter, &PageType, &CurBillType})
        s->clear();
    PageWidth = PageLength = LinesPerPage = SaleCommissionRate = MsgCatalogCount = 0;
    MsgCatalog = {};
}
