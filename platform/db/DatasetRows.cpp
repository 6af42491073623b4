// Reading a dataset's rows: fields built from the statement, cells read
// from the engine into the row store, values and display texts of the
// cells and of the lookups.
#include "platform/db/Dataset.h"

#include "platform/db/DatasetSupport.h"
#include "platform/db/Dialect.h"

#include <QRegularExpression>
#include <cmath>
#include <sqlite3.h>

namespace db {

using detail::kRowidColumn;
using detail::lookupConvert;
using detail::usage;

namespace {

FieldType typeFromDecl(const QString& decl, int storage, int& size)
{
    size = 0;
    const QString d = decl.trimmed().toUpper();
    static const QRegularExpression sized(QStringLiteral("^(?:VAR)?CHAR\\((\\d+)\\)"));
    if (const auto m = sized.match(d); m.hasMatch()) {
        size = m.captured(1).toInt();
        return FieldType::Text;
    }
    if (d.startsWith("SMALLINT"))
        return FieldType::SmallInt;
    if (d.startsWith("INT") || d == "BIGINT")
        return FieldType::Integer;
    if (d.startsWith("FLOAT") || d.startsWith("REAL") || d.startsWith("DOUBLE") || d.startsWith("NUMERIC"))
        return FieldType::Float;
    if (d.startsWith("DATE"))
        return FieldType::DateTime;
    if (d.startsWith("BOOL"))
        return FieldType::Boolean;
    if (!d.isEmpty())
        return FieldType::Text;
    // An expression: typed by what it holds.
    switch (storage) {
    case SQLITE_INTEGER:
        return FieldType::Integer;
    case SQLITE_TEXT:
        return FieldType::Text;
    default:
        return FieldType::Float;
    }
}

// A select whose rows can each be written back by their rowid.
bool rowidCapable(const QString& translatedSql)
{
    static const QRegularExpression multi(QStringLiteral("\\b(distinct|group\\s+by|join|union)\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    return !multi.match(translatedSql).hasMatch();
}

bool isAutoIncrement(Connection& conn, const QString& table, const QString& column)
{
    if (table.isEmpty() || column.isEmpty())
        return false;
    int notNull = 0, primaryKey = 0, autoInc = 0;
    const char* type = nullptr;
    const char* coll = nullptr;
    const int rc = sqlite3_table_column_metadata(conn.handle(), nullptr, table.toUtf8().constData(),
                                                 column.toUtf8().constData(), &type, &coll, &notNull,
                                                 &primaryKey, &autoInc);
    return rc == SQLITE_OK && autoInc;
}

// A value beyond every whole number stays as it is rather than wrapping
// around into another.
QVariant roundedWhole(double d)
{
    if (!(std::fabs(d) < 9.2e18))
        return d;
    return qlonglong(std::llround(d));
}

} // namespace

namespace detail {

QVariant lookupConvert(const QVariant& raw, FieldType type)
{
    if (!raw.isValid() || raw.isNull())
        return {};
    switch (type) {
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::AutoInc: {
        if (raw.typeId() == QMetaType::QString) {
            const auto d = parseAmount(raw.toString());
            return d ? roundedWhole(*d) : QVariant();
        }
        return roundedWhole(raw.toDouble());
    }
    case FieldType::Float:
        return raw.typeId() == QMetaType::QString ? QVariant(parseAmount(raw.toString()).value_or(0)) : QVariant(raw.toDouble());
    case FieldType::DateTime:
        return db::asDateTime(raw);
    case FieldType::Boolean:
        return db::asBool(raw);
    case FieldType::Text:
        return db::asString(raw);
    }
    return raw;
}

} // namespace detail

void Dataset::openRows()
{
    const QString jet = sqlText();
    const QString translated = translateSql(jet);
    std::unique_ptr<Statement> st = std::make_unique<Statement>(conn_, jet);

    // Which table the columns come from decides how rows are written back.
    QString table;
    bool oneTable = st->columnCount() > 0;
    for (int i = 0; i < st->columnCount(); ++i) {
        const QString t = st->columnTable(i);
        if (t.isEmpty())
            continue;
        if (table.isEmpty())
            table = t;
        else if (table.compare(t, Qt::CaseInsensitive) != 0)
            oneTable = false;
    }
    baseTable_ = oneTable ? table : QString();
    rowidSql_.clear();
    if (!baseTable_.isEmpty() && rowidCapable(translated)) {
        rowidSql_ = selectWithRowid(jet, kRowidColumn);
        if (!rowidSql_.isEmpty())
            st = std::make_unique<Statement>(conn_, rowidSql_);
    }
    st->bindAll(params_);
    openParams_ = params_;

    rows_.clear();
    ++generation_;
    snapshot_ = {};
    unread_ = 0;
    bool built = false;
    bool more = false;
    // Types of expression columns are read off the first row, so fields are
    // built once the first step has run.
    while (st->step()) {
        if (!built) {
            buildFields(*st);
            built = true;
        }
        if (!rowidSql_.isEmpty() && rows_.size() == size_t(kWindowRows)) {
            more = true;
            break;
        }
        appendRow(*st);
    }
    if (!built)
        buildFields(*st);
    // The statement, still running, keeps the database as it was while the
    // keys of the other rows are read.
    if (more && !readKeysOfTheRest()) {
        do
            appendRow(*st);
        while (st->step());
    }
    st.reset();
    readUpTo_ = int(rows_.size()) - unread_;
    rebuildVisible();
}

void Dataset::buildFields(Statement& st)
{
    fields_.clear();
    baseColumn_.clear();
    columnOfField_.clear();
    rowidColumn_ = -1;

    QHash<QString, int> columnByName;
    for (int i = 0; i < st.columnCount(); ++i) {
        const QString name = st.columnName(i);
        if (name == kRowidColumn) {
            rowidColumn_ = i;
            continue;
        }
        if (!columnByName.contains(name.toLower()))
            columnByName.insert(name.toLower(), i);
    }

    auto addColumnField = [&](FieldDef def, int column) {
        const QString origin = st.columnOrigin(column);
        const bool writable = !baseTable_.isEmpty() && !origin.isEmpty();
        if (def.type != FieldType::AutoInc && isAutoIncrement(conn_, st.columnTable(column), origin))
            def.type = FieldType::AutoInc;
        fields_.push_back(def);
        baseColumn_.push_back(writable ? origin : QString());
        columnOfField_.push_back(column);
    };

    const bool declaresData = std::any_of(declared_.begin(), declared_.end(),
                                          [](const FieldDef& f) { return f.kind == FieldDef::Kind::Data; });
    if (declaresData) {
        for (const FieldDef& def : declared_) {
            if (def.kind != FieldDef::Kind::Data)
                continue;
            const int column = columnByName.value(def.name.toLower(), -1);
            if (column < 0)
                throw usage(QStringLiteral("%1: 找不到字段 %2").arg(name(), def.name));
            addColumnField(def, column);
        }
    } else {
        for (int i = 0; i < st.columnCount(); ++i) {
            if (i == rowidColumn_)
                continue;
            int size = 0;
            const FieldType type = typeFromDecl(st.columnDeclType(i), st.columnStorageType(i), size);
            addColumnField(FieldDef::data(st.columnName(i), type, size), i);
        }
    }
    for (const FieldDef& def : declared_) {
        if (def.kind == FieldDef::Kind::Data)
            continue;
        fields_.push_back(def);
        baseColumn_.emplace_back();
        columnOfField_.push_back(-1);
    }
    amountFields_.clear();
    for (const FieldDef& f : fields_)
        amountFields_.push_back(f.format == QLatin1String("#0.##"));
    fieldIndexByName_.clear();
    fieldIndexAsDeclared_.clear();
    for (int i = int(fields_.size()) - 1; i >= 0; --i) {
        fieldIndexByName_.insert(fields_[size_t(i)].name.toLower(), i);
        fieldIndexAsDeclared_.insert(fields_[size_t(i)].name, i);
    }
    // Lookups are never stored: a row holds cells for the other fields only.
    cellOf_.assign(fields_.size(), -1);
    int stored = 0;
    for (size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].kind != FieldDef::Kind::Lookup)
            cellOf_[i] = stored++;
    lookups_.build(fields_, cellOf_, [this](const QString& name) { return fieldIndex(name); });
    store_.reset(stored);
}

QVariant Dataset::fromStorage(const QVariant& raw, FieldType type) const
{
    if (!raw.isValid() || raw.isNull())
        return {};
    switch (type) {
    case FieldType::Text:
        return raw.typeId() == QMetaType::QString ? raw : QVariant(db::asString(raw));
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::AutoInc:
        return raw.typeId() == QMetaType::LongLong ? raw : lookupConvert(raw, type);
    case FieldType::Float:
        return raw.typeId() == QMetaType::QString ? QVariant(parseAmount(raw.toString()).value_or(0))
                                                  : QVariant(raw.toDouble());
    case FieldType::DateTime:
        return db::asDateTime(raw);
    case FieldType::Boolean:
        return db::asBool(raw);
    }
    return raw;
}

// The common storage of each field type is stored straight from the engine;
// anything else goes the general way, through fromStorage().
Cell Dataset::readCell(Statement& st, int column, FieldType type)
{
    const int storage = st.columnStorageType(column);
    Cell c{};
    if (storage == SQLITE_NULL)
        return c;
    switch (type) {
    case FieldType::Text:
        if (storage == SQLITE_TEXT)
            return store_.textCell(st.columnText(column));
        break;
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::AutoInc:
        if (storage == SQLITE_INTEGER) {
            c.kind = Cell::Int;
            c.i = st.columnInt(column);
            return c;
        }
        break;
    case FieldType::Float:
        if (storage == SQLITE_FLOAT || storage == SQLITE_INTEGER) {
            c.kind = Cell::Float;
            c.f = storage == SQLITE_FLOAT ? st.columnDouble(column) : double(st.columnInt(column));
            return c;
        }
        break;
    case FieldType::DateTime:
        if (storage == SQLITE_TEXT && parseStoredDateTime(st.columnText(column), c.i)) {
            c.kind = Cell::DateTime;
            return c;
        }
        break;
    case FieldType::Boolean:
        if (storage == SQLITE_INTEGER) {
            c.kind = Cell::Bool;
            c.i = st.columnInt(column) != 0 ? 1 : 0;
            return c;
        }
        break;
    }
    return store_.cellOf(fromStorage(st.value(column), type));
}

void Dataset::appendRow(Statement& st)
{
    Row row;
    row.id = nextId_++;
    row.rowid = rowidColumn_ >= 0 ? st.columnInt(rowidColumn_) : 0;
    readCells(st, row);
    rows_.push_back(row);
}

void Dataset::readCells(Statement& st, Row& row)
{
    row.slot = store_.allocate();
    Cell* values = store_.slot(row.slot);
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (columnOfField_[i] >= 0)
            values[cellOf_[i]] = readCell(st, columnOfField_[i], fields_[i].type);
    }
}

QVariant Dataset::value(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw usage(QStringLiteral("%1: 找不到字段 %2").arg(objectName(), name));
    if (cur_ < 0)
        return {};
    return value(cur_, i);
}

QVariant Dataset::value(int row, int fieldIndex) const
{
    if (row < 0 || row >= recordCount() || fieldIndex < 0 || fieldIndex >= fieldCount())
        return {};
    const FieldDef& f = fields_[size_t(fieldIndex)];
    if (f.kind == FieldDef::Kind::Lookup)
        return lookups_.value(fieldIndex, store_.slot(readRowAt(row).slot), store_);
    return cellValue(readRowAt(row), fieldIndex);
}

QVariant Dataset::cellValue(const Row& row, int fieldIndex) const
{
    return cellOf_[size_t(fieldIndex)] < 0 ? QVariant() : store_.variantOf(cell(row, fieldIndex));
}

const Cell& Dataset::originalCell(const Row& row, int fieldIndex) const
{
    return store_.slot(row.originalSlot >= 0 ? row.originalSlot : row.slot)[cellOf_[size_t(fieldIndex)]];
}

QVariant Dataset::originalValue(const Row& row, int fieldIndex) const
{
    return cellOf_[size_t(fieldIndex)] < 0 ? QVariant() : store_.variantOf(originalCell(row, fieldIndex));
}

QString Dataset::displayText(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw usage(QStringLiteral("%1: 找不到字段 %2").arg(objectName(), name));
    return displayText(cur_, i);
}

// Grids ask for every cell they paint: the stored forms that are shown as
// they are go straight from the cell to the text.
QString Dataset::displayText(int row, int fieldIndex) const
{
    if (fieldIndex < 0 || fieldIndex >= fieldCount() || row < 0 || row >= recordCount())
        return {};
    const FieldDef& f = fields_[size_t(fieldIndex)];
    const bool amount = amountFields_[size_t(fieldIndex)];
    if (f.kind == FieldDef::Kind::Lookup)
        return lookups_.displayText(fieldIndex, store_.slot(readRowAt(row).slot), store_);
    const Cell& c = cell(readRowAt(row), fieldIndex);
    switch (c.kind) {
    case Cell::Null:
        return {};
    case Cell::Text:
        if (f.type != FieldType::DateTime && f.type != FieldType::Float && !(amount && isNumeric(f.type)))
            return textFromUtf8(c.text, qsizetype(c.size));
        break;
    case Cell::Int:
        if (amount && isNumeric(f.type))
            return formatAmount(double(c.i));
        if (!amount && (f.type == FieldType::Text || (isNumeric(f.type) && f.type != FieldType::Float)))
            return QString::number(c.i);
        break;
    case Cell::Float:
        if (amount)
            return formatAmount(c.f);
        if (f.type == FieldType::Float)
            return QString::number(c.f, 'g', 15);
        break;
    case Cell::DateTime:
        if (f.type == FieldType::DateTime)
            return displayDateTime(packedDate(c.i), packedTime(c.i));
        break;
    default:
        break;
    }
    return db::displayText(store_.variantOf(c), f.type, f.format);
}


// The first change to a row keeps what it held, as its original.
void Dataset::keepOriginal(Row& row)
{
    if (row.originalSlot >= 0)
        return;
    row.originalSlot = store_.allocate();
    store_.copySlot(row.slot, row.originalSlot);
}

void Dataset::dropOriginal(Row& row)
{
    store_.release(row.originalSlot);
    row.originalSlot = -1;
}

void Dataset::freeRow(const Row& row)
{
    store_.release(row.slot);
    store_.release(row.originalSlot);
}

// Every field's value held in one of a row's slots; lookups hold none.
std::vector<QVariant> Dataset::slotValues(int slot) const
{
    std::vector<QVariant> out(fields_.size());
    const Cell* cells = store_.slot(slot);
    for (size_t i = 0; i < fields_.size(); ++i)
        if (cellOf_[i] >= 0)
            out[i] = store_.variantOf(cells[cellOf_[i]]);
    return out;
}

std::vector<QVariant> Dataset::valuesOf(const Row& row) const
{
    return slotValues(row.slot);
}

std::vector<QVariant> Dataset::originalsOf(const Row& row) const
{
    return slotValues(row.originalSlot >= 0 ? row.originalSlot : row.slot);
}

Dataset::RowImage Dataset::imageOf(const Row& row, const std::vector<QVariant>& original) const
{
    return RowImage{row, valuesOf(row), original};
}

// A row of the store again, from an image: its values current, its original
// kept apart.
Dataset::Row Dataset::rowFrom(const RowImage& image)
{
    Row row = image.row;
    row.slot = store_.allocate();
    row.originalSlot = store_.allocate();
    for (size_t i = 0; i < fields_.size(); ++i) {
        const int at = cellOf_[i];
        if (at < 0)
            continue;
        store_.slot(row.slot)[at] = store_.cellOf(i < image.values.size() ? image.values[i] : QVariant());
        store_.slot(row.originalSlot)[at] = store_.cellOf(i < image.original.size() ? image.original[i] : QVariant());
    }
    return row;
}

void Dataset::refreshCurrentRow()
{
    checkActive();
    if (isEditing())
        throw usage(QStringLiteral("%1: 编辑中不能重读记录").arg(objectName()));
    requireBaseTable();
    if (cur_ < 0 || currentRow().rowid == 0)
        return;
    Row& row = currentRow();
    QStringList columns;
    std::vector<size_t> read;
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (baseColumn_[i].isEmpty())
            continue;
        columns << baseColumn_[i];
        read.push_back(i);
    }
    if (columns.isEmpty())
        return;
    Statement st(conn_, QStringLiteral("select %1 from %2 where rowid=?").arg(columns.join(','), baseTable_));
    st.bind(1, row.rowid);
    if (!st.step())
        return;
    for (size_t k = 0; k < read.size(); ++k)
        cell(row, int(read[k])) = readCell(st, int(k), fields_[read[k]].type);
    dropOriginal(row);
    calcRow(cur_);
    if (!controlsDisabled())
        Q_EMIT rowUpdated(cur_);
    emitRecordChange(); // the widgets of the current row reload
    fireDataChange(DataChange::Record, {});
}

} // namespace db
