#include "platform/db/Dataset.h"

#include "platform/db/Dialect.h"

#include <QRegularExpression>
#include <cmath>
#include <sqlite3.h>

namespace db {

namespace {

const QString kRowidColumn = QStringLiteral("__rowid__");

Error usage(const QString& text)
{
    return Error(Error::Kind::Usage, text);
}

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

bool sameValue(const QVariant& a, const QVariant& b)
{
    const bool an = !a.isValid() || a.isNull();
    const bool bn = !b.isValid() || b.isNull();
    if (an || bn)
        return an == bn;
    if (a.typeId() == QMetaType::QDateTime || b.typeId() == QMetaType::QDateTime)
        return asDateTime(a) == asDateTime(b);
    if (a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString)
        return a.toString() == b.toString();
    return a.toDouble() == b.toDouble();
}

// Converts a looked-up value to the lookup field's own type: a float or text
// shown in an integer lookup is rounded to a whole number.
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
            return d ? QVariant(qlonglong(std::llround(*d))) : QVariant();
        }
        return qlonglong(std::llround(raw.toDouble()));
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

// A select whose rows can each be written back by their rowid.
bool rowidCapable(const QString& translatedSql)
{
    static const QRegularExpression multi(QStringLiteral("\\b(distinct|group\\s+by|join|union)\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    return !multi.match(translatedSql).hasMatch();
}

QString withRowid(const QString& jetSql)
{
    static const QRegularExpression head(QStringLiteral("^\\s*select\\s+(top\\s+\\d+\\s+)?"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = head.match(jetSql);
    if (!m.hasMatch())
        return {};
    return jetSql.left(m.capturedEnd(0)) + QStringLiteral("rowid as ") + kRowidColumn + QStringLiteral(", ")
           + jetSql.mid(m.capturedEnd(0));
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

} // namespace

// ---------------------------------------------------------------- FieldDef

FieldDef FieldDef::data(const QString& name, FieldType type, int size, const QString& format)
{
    FieldDef f;
    f.name = name;
    f.type = type;
    f.size = size;
    f.format = format;
    return f;
}

FieldDef FieldDef::lookup(const QString& name, FieldType type, int size, const QString& keyField,
                          const QString& table, const QString& key, const QString& result, const QString& format)
{
    FieldDef f = data(name, type, size, format);
    f.kind = Kind::Lookup;
    f.keyField = keyField;
    f.lookupTable = table;
    f.lookupKey = key;
    f.lookupResult = result;
    return f;
}

FieldDef FieldDef::calculated(const QString& name, FieldType type, const QString& format)
{
    FieldDef f = data(name, type, 0, format);
    f.kind = Kind::Calculated;
    return f;
}

// ---------------------------------------------------------------- Subscription

Subscription& Subscription::operator=(Subscription&& o) noexcept
{
    if (this != &o) {
        reset();
        detach_ = std::move(o.detach_);
        o.detach_ = nullptr;
    }
    return *this;
}

void Subscription::reset()
{
    if (detach_) {
        auto fn = std::move(detach_);
        detach_ = nullptr;
        fn();
    }
}

// ---------------------------------------------------------------- Dataset: SQL

Dataset::Dataset(Connection& conn, const QString& name, QObject* parent) : QObject(parent), conn_(conn)
{
    setObjectName(name);
}

Dataset::~Dataset()
{
    masterSub_.reset();
}

void Dataset::setSql(const QStringList& lines)
{
    sql_ = lines;
}

void Dataset::clearSql()
{
    sql_.clear();
}

void Dataset::addSql(const QString& line)
{
    sql_.append(line);
}

QStringList Dataset::paramNames() const
{
    QStringList names;
    const QString text = sqlText();
    bool inQuote = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '\'') {
            inQuote = !inQuote;
            continue;
        }
        if (inQuote || c != ':' || i + 1 >= text.size())
            continue;
        if (i > 0 && (text[i - 1].isLetterOrNumber() || text[i - 1] == ':'))
            continue;
        qsizetype j = i + 1;
        while (j < text.size() && (text[j].isLetterOrNumber() || text[j] == '_'))
            ++j;
        if (j == i + 1)
            continue;
        const QString name = text.mid(i + 1, j - i - 1);
        if (!names.contains(name, Qt::CaseInsensitive))
            names.append(name);
        i = j - 1;
    }
    return names;
}

void Dataset::setParam(const QString& name, const QVariant& value)
{
    params_.set(name, value);
}

void Dataset::setParam(int index, const QVariant& value)
{
    const QStringList names = paramNames();
    if (index < 0 || index >= names.size())
        throw usage(QStringLiteral("%1: 参数序号 %2 超出范围").arg(name(), QString::number(index)));
    params_.set(names[index], value);
}

QVariant Dataset::param(const QString& name) const
{
    return params_.value(name);
}

void Dataset::setFieldDefs(std::vector<FieldDef> defs)
{
    declared_ = std::move(defs);
}

// ---------------------------------------------------------------- open and close

void Dataset::open()
{
    if (isActive())
        return;
    openRows();
    setState(DatasetState::Browse);
    settleAt(isEmpty() ? -1 : 0);
}

void Dataset::settleAt(int row)
{
    cur_ = row;
    bof_ = cur_ <= 0;
    eof_ = isEmpty();
    calcAll();
    emitReset();
    fireDataChange(DataChange::Record, {});
    fire(afterScroll_);
}

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
    if (!baseTable_.isEmpty() && rowidCapable(translated)) {
        const QString rowidSql = withRowid(jet);
        if (!rowidSql.isEmpty())
            st = std::make_unique<Statement>(conn_, rowidSql);
    }
    st->bindAll(params_);

    std::vector<int> columnOfField;
    int rowidColumn = -1;
    rows_.clear();
    ++generation_;
    snapshot_ = {};
    bool built = false;
    // Types of expression columns are read off the first row, so fields are
    // built once the first step has run.
    while (st->step()) {
        if (!built) {
            buildFields(*st, columnOfField, rowidColumn);
            built = true;
        }
        readRow(*st, columnOfField, rowidColumn);
    }
    if (!built)
        buildFields(*st, columnOfField, rowidColumn);
    rebuildVisible();
}

void Dataset::buildFields(Statement& st, std::vector<int>& columnOfField, int& rowidColumn)
{
    fields_.clear();
    baseColumn_.clear();
    columnOfField.clear();
    rowidColumn = -1;

    QHash<QString, int> columnByName;
    for (int i = 0; i < st.columnCount(); ++i) {
        const QString name = st.columnName(i);
        if (name == kRowidColumn) {
            rowidColumn = i;
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
        columnOfField.push_back(column);
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
            if (i == rowidColumn)
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
        columnOfField.push_back(-1);
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
    // Resolved once here: lookups are read for every cell a grid paints.
    lookupColumns_.assign(fields_.size(), LookupCache::Column{});
    lookupGroupOf_.assign(fields_.size(), -1);
    lookupGroups_.clear();
    for (size_t i = 0; i < fields_.size(); ++i) {
        const FieldDef& f = fields_[i];
        if (f.kind != FieldDef::Kind::Lookup)
            continue;
        const LookupCache::Column c = conn_.lookups().column(f.lookupTable, f.lookupKey, f.lookupResult);
        lookupColumns_[i] = c;
        const int keyIndex = fieldIndex(f.keyField);
        if (keyIndex < 0)
            continue;
        const auto same = std::find_if(lookupGroups_.begin(), lookupGroups_.end(), [&](const LookupGroup& g) {
            return g.source == c.source && g.keyIndex == keyIndex;
        });
        lookupGroupOf_[i] = int(same - lookupGroups_.begin());
        if (same == lookupGroups_.end())
            lookupGroups_.push_back({c.source, keyIndex});
    }
    lookupMemos_.assign(lookupGroups_.size() * kMemosPerGroup, LookupMemo{});
    // Lookups are never stored: a row holds cells for the other fields only.
    cellOf_.assign(fields_.size(), -1);
    int stored = 0;
    for (size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].kind != FieldDef::Kind::Lookup)
            cellOf_[i] = stored++;
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

void Dataset::readRow(Statement& st, const std::vector<int>& columnOfField, int rowidColumn)
{
    Row row;
    row.id = nextId_++;
    row.rowid = rowidColumn >= 0 ? st.columnInt(rowidColumn) : 0;
    row.slot = store_.allocate();
    Cell* values = store_.slot(row.slot);
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (columnOfField[i] >= 0)
            values[cellOf_[i]] = readCell(st, columnOfField[i], fields_[i].type);
    }
    rows_.push_back(row);
}

void Dataset::close()
{
    if (!isActive())
        return;
    rows_.clear();
    visible_.clear();
    store_.reset(store_.width());
    ++generation_;
    snapshot_ = {};
    cur_ = -1;
    bof_ = eof_ = true;
    modified_ = false;
    setState(DatasetState::Inactive);
    emitReset();
}

void Dataset::refresh()
{
    checkActive();
    checkBrowse();
    const qlonglong rowid = cur_ >= 0 ? rowAtVisible(cur_).rowid : 0;
    const int oldRec = cur_;
    openRows();
    int target = -1;
    if (rowid != 0) {
        for (int r = 0; r < recordCount(); ++r)
            if (rowAtVisible(r).rowid == rowid)
                target = r;
    }
    if (target < 0 && !isEmpty())
        target = std::clamp(oldRec, 0, recordCount() - 1);
    settleAt(target);
}

int Dataset::execute()
{
    return conn_.execute(sqlText(), params_);
}

// ---------------------------------------------------------------- fields

int Dataset::fieldIndex(const QString& name) const
{
    if (const auto it = fieldIndexAsDeclared_.constFind(name); it != fieldIndexAsDeclared_.constEnd())
        return *it;
    return fieldIndexByName_.value(name.toLower(), -1);
}

const FieldDef& Dataset::field(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw usage(QStringLiteral("%1: 找不到字段 %2").arg(objectName(), name));
    return fields_[size_t(i)];
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
        return lookupValue(row, fieldIndex);
    return cellValue(rowAtVisible(row), fieldIndex);
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

QVariant Dataset::lookupValue(int row, int fieldIndex) const
{
    const int group = lookupGroupOf_[size_t(fieldIndex)];
    if (group < 0)
        return {};
    try {
        const LookupCache::Entry* e = lookupEntry(row, group);
        if (!e)
            return {};
        return lookupConvert(e->values[lookupColumns_[size_t(fieldIndex)].index], fields_[size_t(fieldIndex)].type);
    } catch (const Error&) {
        return {}; // a missing source table shows an empty lookup
    }
}

const LookupCache::Entry* Dataset::lookupEntry(int row, int group) const
{
    const LookupGroup& g = lookupGroups_[size_t(group)];
    std::string keyText;
    std::string_view key;
    const Cell* keyCell = cellOf_[size_t(g.keyIndex)] >= 0 ? &cell(rowAtVisible(row), g.keyIndex) : nullptr;
    if (keyCell && keyCell->kind == Cell::Text) {
        key = keyCell->textView();
    } else {
        const QVariant v = value(row, g.keyIndex);
        if (!v.isValid() || v.isNull())
            return nullptr;
        keyText = db::asString(v).toStdString();
        key = keyText;
    }
    LookupCache& cache = conn_.lookups();
    cache.catchUp(g.source);
    LookupMemo& memo = lookupMemos_[size_t(group) * kMemosPerGroup + (keyHash(key) % kMemosPerGroup)];
    if (memo.generation == cache.generation() && memo.key == key)
        return memo.entry;
    const LookupCache::Entry* e = cache.findRow(g.source, key);
    memo.generation = cache.generation();
    memo.key.assign(key);
    memo.entry = e;
    return e;
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
    if (f.kind == FieldDef::Kind::Lookup) {
        // A looked-up text is shown as the source holds it.
        const int group = lookupGroupOf_[size_t(fieldIndex)];
        if (f.type == FieldType::Text && !amount && group >= 0) {
            const LookupCache::Entry* e = nullptr;
            try {
                e = lookupEntry(row, group);
            } catch (const Error&) {
            }
            if (!e)
                return {};
            const size_t column = size_t(lookupColumns_[size_t(fieldIndex)].index);
            if (e->holdsText(column))
                return e->text(column);
        }
        return db::displayText(lookupValue(row, fieldIndex), f.type, f.format);
    }
    const Cell& c = cell(rowAtVisible(row), fieldIndex);
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

void Dataset::setValue(const QString& name, const QVariant& v)
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw usage(QStringLiteral("%1: 找不到字段 %2").arg(objectName(), name));
    const FieldDef& f = fields_[size_t(i)];
    if (calculating()) {
        if (f.kind != FieldDef::Kind::Calculated)
            throw usage(QStringLiteral("%1: 计算时只能写计算字段").arg(objectName()));
        cell(rows_[size_t(rowPos(calcRow_))], i) = store_.cellOf(coerce(v, f.type));
        return;
    }
    if (f.readOnly())
        throw usage(QStringLiteral("字段 %1 不能修改").arg(f.name));
    if (!isEditing())
        throw usage(QStringLiteral("%1: 不在编辑状态").arg(objectName()));
    QVariant converted = coerce(v, f.type);
    if (f.type == FieldType::Text && f.size > 0 && characterCount(converted.toString()) > f.size)
        throw usage(QStringLiteral("“%1”超过了字段 %2 的长度 %3")
                        .arg(messageExcerpt(converted.toString()), f.name, QString::number(f.size)));
    setCell(currentRow(), i, converted);
    modified_ = true;
    calcRow(cur_);
    emitFieldWritten(i);
    fireDataChange(DataChange::Field, f.name);
}

QVariant Dataset::oldValue(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0 || cur_ < 0)
        return {};
    const Row& r = rowAtVisible(cur_);
    return r.fresh ? QVariant() : originalValue(r, i);
}

void Dataset::setCell(Row& row, int fieldIndex, const QVariant& v)
{
    keepOriginal(row);
    cell(row, fieldIndex) = store_.cellOf(v);
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

// ---------------------------------------------------------------- calculated fields

void Dataset::calcRow(int visibleRow)
{
    if (calcFields_.items.empty() || visibleRow < 0 || visibleRow >= recordCount())
        return;
    const int saved = cur_;
    cur_ = visibleRow;
    calcRow_ = visibleRow;
    try {
        fire(calcFields_);
    } catch (...) {
        calcRow_ = -1;
        cur_ = saved;
        throw;
    }
    calcRow_ = -1;
    cur_ = saved;
}

void Dataset::calcAll()
{
    for (int r = 0; r < recordCount(); ++r)
        calcRow(r);
}

// ---------------------------------------------------------------- cursor

void Dataset::rebuildVisible()
{
    visible_.clear();
    visible_.reserve(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].status != RowStatus::Deleted)
            visible_.push_back(int(i));
}

Dataset::Row& Dataset::currentRow()
{
    if (cur_ < 0)
        throw usage(QStringLiteral("%1: 没有当前记录").arg(objectName()));
    return rows_[size_t(rowPos(cur_))];
}

void Dataset::moveTo(int row, bool force)
{
    checkActive();
    checkBrowse();
    if (isEmpty())
        return;
    row = std::clamp(row, 0, recordCount() - 1);
    const bool moved = row != cur_;
    cur_ = row;
    bof_ = eof_ = false;
    if (moved || force) {
        if (!controlsDisabled())
            Q_EMIT currentChanged(cur_);
        else
            changedWhileDisabled_ = true;
        fireDataChange(DataChange::Record, {});
    }
    fire(afterScroll_);
}

void Dataset::first()
{
    moveTo(0);
    bof_ = true;
    eof_ = isEmpty();
}

void Dataset::last()
{
    moveTo(recordCount() - 1);
    eof_ = true;
    bof_ = isEmpty();
}

void Dataset::next()
{
    checkActive();
    checkBrowse();
    if (cur_ >= recordCount() - 1) {
        eof_ = true;
        return;
    }
    moveTo(cur_ + 1);
}

void Dataset::prior()
{
    checkActive();
    checkBrowse();
    if (cur_ <= 0) {
        bof_ = true;
        return;
    }
    moveTo(cur_ - 1);
}

void Dataset::setRecNo(int row)
{
    if (row == cur_ && !isEditing())
        return;
    moveTo(row);
}

bool Dataset::locate(const QString& fields, const QVariantList& values, bool caseInsensitive, bool partialKey)
{
    checkActive();
    checkBrowse();
    const QStringList names = fields.split(';', Qt::SkipEmptyParts);
    if (names.size() != values.size())
        throw usage(QStringLiteral("%1: 定位字段与值的个数不符").arg(objectName()));
    std::vector<int> indexes;
    for (const QString& n : names) {
        const int i = fieldIndex(n.trimmed());
        if (i < 0)
            throw usage(QStringLiteral("%1: 找不到字段 %2").arg(objectName(), n));
        indexes.push_back(i);
    }
    const Qt::CaseSensitivity cs = caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (int r = 0; r < recordCount(); ++r) {
        bool all = true;
        for (size_t k = 0; k < indexes.size() && all; ++k) {
            const FieldDef& f = fields_[size_t(indexes[k])];
            const QVariant have = value(r, indexes[k]);
            const QVariant want = values[qsizetype(k)];
            // Only a null value looks for NULL: a blank key finds nothing.
            const bool wantNull = !want.isValid() || want.isNull();
            if (!have.isValid() || have.isNull()) {
                all = wantNull;
            } else if (wantNull) {
                all = false;
            } else if (isNumeric(f.type) || f.type == FieldType::DateTime) {
                const bool blank = want.typeId() == QMetaType::QString && want.toString().trimmed().isEmpty();
                all = !blank && (isNumeric(f.type) ? db::asFloat(have) == db::asFloat(want)
                                                   : db::asDateTime(have) == db::asDateTime(want));
            } else if (partialKey) {
                all = db::asString(have).startsWith(db::asString(want), cs);
            } else {
                all = db::asString(have).compare(db::asString(want), cs) == 0;
            }
        }
        if (all) {
            moveTo(r, true);
            return true;
        }
    }
    return false;
}

Dataset::Bookmark Dataset::bookmark() const
{
    return cur_ >= 0 ? rowAtVisible(cur_).id : 0;
}

int Dataset::visibleIndexOf(Bookmark id) const
{
    for (int r = 0; r < recordCount(); ++r)
        if (rowAtVisible(r).id == id)
            return r;
    return -1;
}

bool Dataset::bookmarkValid(Bookmark b) const
{
    return b != 0 && visibleIndexOf(b) >= 0;
}

void Dataset::gotoBookmark(Bookmark b)
{
    const int r = visibleIndexOf(b);
    if (r < 0)
        throw usage(QStringLiteral("%1: 书签所指的记录不存在").arg(objectName()));
    moveTo(r);
}

void Dataset::disableControls()
{
    ++disabled_;
}

void Dataset::enableControls()
{
    if (disabled_ == 0)
        return;
    if (--disabled_ == 0 && changedWhileDisabled_) {
        changedWhileDisabled_ = false;
        Q_EMIT rowsReset();
        Q_EMIT stateChanged();
        Q_EMIT currentChanged(cur_);
        fireDataChange(DataChange::Record, {});
    }
}

// ---------------------------------------------------------------- editing

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

void Dataset::checkActive() const
{
    if (!isActive())
        throw usage(QStringLiteral("%1: 数据集未打开").arg(objectName()));
}

void Dataset::checkBrowse()
{
    if (!isEditing())
        return;
    if (modified_)
        post();
    else
        cancel();
}

void Dataset::requireBaseTable() const
{
    if (baseTable_.isEmpty())
        throw usage(QStringLiteral("%1: 该查询不能修改").arg(objectName()));
}

void Dataset::edit()
{
    checkActive();
    if (isEditing())
        return;
    if (isEmpty()) {
        append();
        return;
    }
    discardSnapshot();
    const Row& row = currentRow();
    snapshot_ = {row, store_.allocate(), rowPos(cur_)};
    store_.copySlot(row.slot, snapshot_.valuesSlot);
    modified_ = false;
    setState(DatasetState::Edit);
}

void Dataset::discardSnapshot()
{
    store_.release(snapshot_.valuesSlot);
    snapshot_ = {};
}

void Dataset::append()
{
    startAppend(true);
}

void Dataset::insert()
{
    startAppend(false);
}

void Dataset::startAppend(bool atEnd)
{
    checkActive();
    checkBrowse();
    Row row;
    row.id = nextId_++;
    row.slot = store_.allocate();
    row.originalSlot = store_.allocate(); // a new row's original is all NULL
    row.status = RowStatus::Inserted;
    row.fresh = true;
    const int pos = (atEnd || cur_ < 0) ? int(rows_.size()) : rowPos(cur_);
    rows_.insert(rows_.begin() + pos, row);
    rebuildVisible();
    cur_ = visibleIndexOf(row.id);
    bof_ = eof_ = false;
    discardSnapshot();
    setState(DatasetState::Insert);
    fire(newRecord_);
    modified_ = false;
    calcRow(cur_);
    emitReset();
    fireDataChange(DataChange::Record, {});
}

bool Dataset::rowChanged(const Row& row) const
{
    for (size_t i = 0; i < fields_.size(); ++i)
        if (!baseColumn_[i].isEmpty() && !sameValue(cellValue(row, int(i)), originalValue(row, int(i))))
            return true;
    return false;
}

void Dataset::assignRowid(Row& row, qlonglong rowid)
{
    row.rowid = rowid;
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i].type == FieldType::AutoInc && !baseColumn_[i].isEmpty()) {
            Cell& c = cell(row, int(i));
            c = Cell{};
            c.kind = Cell::Int;
            c.i = rowid;
        }
    }
}

void Dataset::post()
{
    if (!isEditing())
        return;
    fire(beforePost_);
    Row& row = currentRow();
    const DatasetState was = state_;

    if (lock_ == LockType::BatchOptimistic) {
        if (row.fresh) {
            row.fresh = false;
            row.status = RowStatus::Inserted;
        } else if (row.status == RowStatus::Unchanged && rowChanged(row)) {
            row.status = RowStatus::Modified;
        } else if (row.status == RowStatus::Unchanged) {
            dropOriginal(row);
        }
    } else {
        const std::vector<QVariant> before = originalsOf(row);
        const qlonglong beforeRowid = row.rowid;
        if (row.fresh) {
            qlonglong newRowid = 0;
            writeInsert(row, newRowid);
            assignRowid(row, newRowid);
        } else {
            writeUpdate(row);
        }
        row.fresh = false;
        row.status = RowStatus::Unchanged;
        dropOriginal(row);
        // Undone by an enclosing rollback: the row goes back to being edited.
        RowImage typed = imageOf(row, before);
        typed.row.rowid = beforeRowid;
        typed.row.fresh = was == DatasetState::Insert;
        typed.row.status = was == DatasetState::Insert ? RowStatus::Inserted : RowStatus::Unchanged;
        QPointer<Dataset> self(this);
        conn_.onRollback([self, gen = generation_, id = row.id, typed, was] {
            if (self && self->generation_ == gen)
                self->restoreAfterRollback(id, typed, was);
        });
    }
    discardSnapshot();
    modified_ = false;
    setState(DatasetState::Browse);
    calcRow(cur_);
    fire(afterPost_);
    if (!controlsDisabled())
        Q_EMIT rowUpdated(cur_);
    fireDataChange(DataChange::Record, {});
}

void Dataset::restoreAfterRollback(Bookmark id, const RowImage& typed, DatasetState was)
{
    if (!isActive())
        return;
    const int r = visibleIndexOf(id);
    if (r < 0)
        return;
    if (isEditing())
        cancel();
    discardSnapshot();
    Row& row = rows_[size_t(rowPos(r))];
    Row restored = rowFrom(typed);
    // Cancelling from here returns to what the database holds again.
    snapshot_.row = restored;
    snapshot_.row.originalSlot = -1;
    snapshot_.valuesSlot = store_.allocate();
    store_.copySlot(restored.originalSlot, snapshot_.valuesSlot);
    snapshot_.rowPos = rowPos(r);
    freeRow(row);
    row = restored;
    cur_ = r;
    modified_ = true;
    setState(was);
    emitReset();
    fireDataChange(DataChange::Record, {});
}

void Dataset::cancel()
{
    if (!isEditing())
        return;
    if (state_ == DatasetState::Insert) {
        const int pos = rowPos(cur_);
        freeRow(rows_[size_t(pos)]);
        rows_.erase(rows_.begin() + pos);
        rebuildVisible();
        cur_ = std::min(cur_, recordCount() - 1);
        if (cur_ > 0 && pos >= int(rows_.size()))
            cur_ = recordCount() - 1;
    } else if (snapshot_.valuesSlot >= 0) {
        Row& row = currentRow();
        store_.copySlot(snapshot_.valuesSlot, row.slot);
        if (row.originalSlot != snapshot_.row.originalSlot)
            store_.release(row.originalSlot);
        row = snapshot_.row;
    }
    discardSnapshot();
    modified_ = false;
    bof_ = cur_ <= 0;
    eof_ = isEmpty();
    setState(DatasetState::Browse);
    emitReset();
    fireDataChange(DataChange::Record, {});
}

void Dataset::remove()
{
    checkActive();
    if (state_ == DatasetState::Insert) {
        cancel();
        return;
    }
    if (state_ == DatasetState::Edit)
        cancel();
    if (isEmpty())
        throw usage(QStringLiteral("%1: 没有可删除的记录").arg(objectName()));
    const int pos = rowPos(cur_);
    Row& row = rows_[size_t(pos)];
    if (lock_ == LockType::BatchOptimistic) {
        if (row.status == RowStatus::Inserted) {
            freeRow(row);
            rows_.erase(rows_.begin() + pos);
        } else {
            row.status = RowStatus::Deleted;
        }
    } else {
        writeDelete(row);
        const RowImage removed = imageOf(row, originalsOf(row));
        freeRow(row);
        rows_.erase(rows_.begin() + pos);
        QPointer<Dataset> self(this);
        conn_.onRollback([self, gen = generation_, removed, pos] {
            if (!self || !self->isActive() || self->generation_ != gen)
                return;
            const int at = std::min<int>(pos, int(self->rows_.size()));
            self->rows_.insert(self->rows_.begin() + at, self->rowFrom(removed));
            self->rebuildVisible();
            self->emitReset();
        });
    }
    rebuildVisible();
    cur_ = std::min(cur_, recordCount() - 1);
    bof_ = cur_ <= 0;
    eof_ = isEmpty();
    fire(afterDelete_);
    emitReset();
    fireDataChange(DataChange::Record, {});
    fire(afterScroll_);
}

// ---------------------------------------------------------------- writing rows

void Dataset::writeInsert(const Row& row, qlonglong& newRowid)
{
    requireBaseTable();
    QStringList columns;
    QVariantList values;
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (baseColumn_[i].isEmpty() || fields_[i].type == FieldType::AutoInc)
            continue;
        const QVariant v = cellValue(row, int(i));
        if (!v.isValid() || v.isNull())
            continue;
        columns << baseColumn_[i];
        values << v;
    }
    QString sql = QStringLiteral("insert into %1 ").arg(baseTable_);
    if (columns.isEmpty()) {
        sql += QStringLiteral("default values");
    } else {
        QStringList marks(columns.size(), QStringLiteral("?"));
        sql += QStringLiteral("(%1) values (%2)").arg(columns.join(','), marks.join(','));
    }
    Statement st(conn_, sql);
    for (int i = 0; i < values.size(); ++i)
        st.bind(i + 1, values[i]);
    st.step();
    newRowid = conn_.lastInsertRowId();
}

void Dataset::writeUpdate(const Row& row)
{
    requireBaseTable();
    QStringList sets, conditions;
    QVariantList setValues, conditionValues;
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (baseColumn_[i].isEmpty())
            continue;
        const QVariant now = cellValue(row, int(i));
        const QVariant was = originalValue(row, int(i));
        const bool changed = !sameValue(now, was);
        if (changed) {
            sets << baseColumn_[i] + QStringLiteral("=?");
            setValues << now;
        }
        // Optimistic check: the changed columns must still hold what was read.
        if (changed || row.rowid == 0) {
            conditions << baseColumn_[i] + QStringLiteral(" is ?");
            conditionValues << was;
        }
    }
    if (sets.isEmpty())
        return;
    if (row.rowid != 0) {
        conditions.prepend(QStringLiteral("rowid=?"));
        conditionValues.prepend(row.rowid);
    }
    Statement st(conn_, QStringLiteral("update %1 set %2 where %3")
                            .arg(baseTable_, sets.join(','), conditions.join(QStringLiteral(" and "))));
    int k = 1;
    for (const QVariant& v : setValues)
        st.bind(k++, v);
    for (const QVariant& v : conditionValues)
        st.bind(k++, v);
    st.step();
    if (conn_.changes() == 0)
        throw Error(Error::Kind::RowVanished, QStringLiteral("记录已被删除或已被他人修改，请刷新后重试"));
}

void Dataset::writeDelete(const Row& row)
{
    requireBaseTable();
    QStringList conditions;
    QVariantList conditionValues;
    if (row.rowid != 0) {
        conditions << QStringLiteral("rowid=?");
        conditionValues << row.rowid;
    } else {
        for (size_t i = 0; i < fields_.size(); ++i) {
            if (baseColumn_[i].isEmpty())
                continue;
            conditions << baseColumn_[i] + QStringLiteral(" is ?");
            conditionValues << originalValue(row, int(i));
        }
    }
    if (conditions.isEmpty())
        throw usage(QStringLiteral("%1: 无法确定要删除的记录").arg(objectName()));
    Statement st(conn_, QStringLiteral("delete from %1 where %2").arg(baseTable_, conditions.join(QStringLiteral(" and "))));
    int k = 1;
    for (const QVariant& v : conditionValues)
        st.bind(k++, v);
    st.step();
    if (conn_.changes() == 0)
        throw Error(Error::Kind::RowVanished, QStringLiteral("记录已被删除或已被他人修改，请刷新后重试"));
}

// ---------------------------------------------------------------- batch

bool Dataset::hasPendingChanges() const
{
    return std::any_of(rows_.begin(), rows_.end(),
                       [](const Row& r) { return !r.fresh && r.status != RowStatus::Unchanged; });
}

void Dataset::applyBatch()
{
    checkActive();
    checkBrowse();
    if (!hasPendingChanges())
        return;
    Transaction t(conn_);
    std::vector<std::pair<Bookmark, qlonglong>> inserted;
    for (Row& row : rows_) {
        switch (row.status) {
        case RowStatus::Deleted:
            writeDelete(row);
            break;
        case RowStatus::Inserted: {
            if (row.fresh)
                break;
            qlonglong newRowid = 0;
            writeInsert(row, newRowid);
            inserted.emplace_back(row.id, newRowid);
            break;
        }
        case RowStatus::Modified:
            writeUpdate(row);
            break;
        case RowStatus::Unchanged:
            break;
        }
    }
    // The client rows take the written state only when the data is durable.
    QPointer<Dataset> self(this);
    conn_.onCommit([self, gen = generation_, inserted] {
        if (!self || !self->isActive() || self->generation_ != gen)
            return;
        Dataset& d = *self;
        const Bookmark current = d.bookmark();
        for (const auto& [id, rowid] : inserted)
            for (Row& row : d.rows_)
                if (row.id == id)
                    d.assignRowid(row, rowid);
        std::erase_if(d.rows_, [&d](const Row& r) {
            if (r.status != RowStatus::Deleted)
                return false;
            d.freeRow(r);
            return true;
        });
        for (Row& row : d.rows_) {
            if (row.fresh)
                continue;
            row.status = RowStatus::Unchanged;
            d.dropOriginal(row);
        }
        d.rebuildVisible();
        const int r = d.visibleIndexOf(current);
        d.cur_ = r >= 0 ? r : std::min(d.cur_, d.recordCount() - 1);
        d.emitReset();
    });
    t.commit();
}

void Dataset::cancelBatch()
{
    if (!isActive())
        return;
    if (isEditing())
        cancel();
    const Bookmark current = bookmark();
    std::erase_if(rows_, [this](const Row& r) {
        if (r.status != RowStatus::Inserted)
            return false;
        freeRow(r);
        return true;
    });
    for (Row& row : rows_) {
        if (row.status == RowStatus::Unchanged)
            continue;
        if (row.originalSlot >= 0)
            store_.copySlot(row.originalSlot, row.slot);
        dropOriginal(row);
        row.status = RowStatus::Unchanged;
    }
    rebuildVisible();
    const int r = visibleIndexOf(current);
    settleAt(r >= 0 ? r : (isEmpty() ? -1 : std::clamp(cur_, 0, recordCount() - 1)));
}

RowStatus Dataset::rowStatus(int row) const
{
    if (row < 0 || row >= recordCount())
        return RowStatus::Unchanged;
    return rowAtVisible(row).status;
}

std::vector<Dataset::PendingRow> Dataset::pendingRows() const
{
    std::vector<PendingRow> out;
    for (const Row& row : rows_) {
        if (row.fresh || row.status == RowStatus::Unchanged)
            continue;
        PendingRow p{row.status, {}, {}};
        if (row.status != RowStatus::Inserted)
            p.original = originalsOf(row);
        if (row.status != RowStatus::Deleted)
            p.current = valuesOf(row);
        out.push_back(std::move(p));
    }
    return out;
}

// ---------------------------------------------------------------- events

Subscription Dataset::subscribe(HandlerList<Handler>& list, Handler h)
{
    const int id = nextHandlerId_++;
    list.items.emplace_back(id, std::move(h));
    QPointer<Dataset> self(this);
    HandlerList<Handler>* target = &list;
    return Subscription([self, target, id] {
        if (!self)
            return;
        std::erase_if(target->items, [id](const auto& item) { return item.first == id; });
    });
}

Subscription Dataset::onBeforePost(Handler h) { return subscribe(beforePost_, std::move(h)); }
Subscription Dataset::onAfterPost(Handler h) { return subscribe(afterPost_, std::move(h)); }
Subscription Dataset::onAfterScroll(Handler h) { return subscribe(afterScroll_, std::move(h)); }
Subscription Dataset::onNewRecord(Handler h) { return subscribe(newRecord_, std::move(h)); }
Subscription Dataset::onAfterDelete(Handler h) { return subscribe(afterDelete_, std::move(h)); }

Subscription Dataset::onCalcFields(Handler h)
{
    Subscription s = subscribe(calcFields_, std::move(h));
    if (isActive()) {
        calcAll();
        emitReset();
    }
    return s;
}

Subscription Dataset::onDataChange(ChangeHandler h)
{
    const int id = nextHandlerId_++;
    dataChange_.items.emplace_back(id, std::move(h));
    QPointer<Dataset> self(this);
    return Subscription([self, id] {
        if (self)
            std::erase_if(self->dataChange_.items, [id](const auto& item) { return item.first == id; });
    });
}

void Dataset::fire(HandlerList<Handler>& list)
{
    if (list.items.empty())
        return;
    // Calculated fields fire this for every row read: one handler needs no list.
    if (list.items.size() == 1) {
        const Handler fn = list.items.front().second; // it may detach itself
        fn(*this);
        return;
    }
    const auto handlers = list.items; // a handler may detach itself
    for (const auto& [id, fn] : handlers)
        fn(*this);
}

void Dataset::fireDataChange(DataChange kind, const QString& field)
{
    if (controlsDisabled()) {
        changedWhileDisabled_ = true;
        return;
    }
    const auto handlers = dataChange_.items;
    for (const auto& [id, fn] : handlers)
        fn(*this, kind, field);
}

void Dataset::setState(DatasetState s)
{
    if (state_ == s)
        return;
    state_ = s;
    emitState();
}

void Dataset::emitState()
{
    if (controlsDisabled())
        changedWhileDisabled_ = true;
    else
        Q_EMIT stateChanged();
}

void Dataset::emitReset()
{
    if (controlsDisabled()) {
        changedWhileDisabled_ = true;
        return;
    }
    Q_EMIT rowsReset();
    Q_EMIT currentChanged(cur_);
}

void Dataset::emitRecordChange()
{
    if (controlsDisabled())
        changedWhileDisabled_ = true;
    else
        Q_EMIT currentChanged(cur_);
}

void Dataset::emitFieldWritten(int fieldIndex)
{
    if (controlsDisabled()) {
        changedWhileDisabled_ = true;
        return;
    }
    Q_EMIT fieldWritten(fieldIndex);
    // Lookups keyed on this field, and calculated fields, follow it at once.
    const QString name = fields_[size_t(fieldIndex)].name;
    for (int i = 0; i < fieldCount(); ++i) {
        const FieldDef& f = fields_[size_t(i)];
        if ((f.kind == FieldDef::Kind::Lookup && f.keyField.compare(name, Qt::CaseInsensitive) == 0)
            || f.kind == FieldDef::Kind::Calculated) {
            if (f.kind == FieldDef::Kind::Lookup)
                emitFieldWritten(i);
            else
                Q_EMIT fieldWritten(i);
        }
    }
}

// ---------------------------------------------------------------- master/detail

void Dataset::setMaster(Dataset* master, const QString& masterField, const QString& param)
{
    masterSub_.reset();
    master_ = master;
    masterField_ = masterField;
    masterParam_ = param;
    if (!master)
        return;
    masterSub_ = master->onDataChange([this](Dataset&, DataChange kind, const QString&) {
        if (kind == DataChange::Record)
            masterMoved();
    });
}

void Dataset::masterMoved()
{
    if (!master_ || !master_->isActive() || master_->isEditing())
        return;
    const QVariant key = master_->value(masterField_);
    if (isActive() && sameValue(key, params_.value(masterParam_)))
        return;
    setParam(masterParam_, key);
    if (isActive()) {
        if (isEditing())
            cancel();
        close();
    }
    open();
}

} // namespace db
