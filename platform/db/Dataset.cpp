// The dataset: its SQL and parameters, opening and closing, fields by name,
// calculated fields and the cursor. Reading rows is in DatasetRows.cpp (the
// cells of a large select's rows when first needed in DatasetWindows.cpp),
// edits and writes in DatasetEdits.cpp, events in DatasetEvents.cpp.
#include "platform/db/Dataset.h"

#include "platform/db/DatasetSupport.h"

namespace db {

using detail::usage;

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

// ---------------------------------------------------------------- Dataset: SQL

Dataset::Dataset(Connection& conn, const QString& name, QObject* parent)
    : QObject(parent), conn_(conn), lookups_(conn.lookups())
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

void Dataset::close()
{
    if (!isActive())
        return;
    rows_.clear();
    visible_.clear();
    unread_ = 0;
    store_.reset(store_.width());
    lookups_.rowsReplaced();
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

// Rows not read yet are calculated when they are.
void Dataset::calcAll()
{
    if (calcFields_.items.empty())
        return;
    for (int r = 0; r < recordCount(); ++r)
        if (rowAtVisible(r).slot >= 0)
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
    readRowAt(cur_);
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
    // Without case as the engine compares: A to Z only, so a locate finds
    // exactly what a query on the column would.
    auto comparable = [caseInsensitive](const QVariant& v) {
        return caseInsensitive ? foldedAsDatabase(db::asString(v)) : db::asString(v);
    };
    auto matches = [&](int r) {
        for (size_t k = 0; k < indexes.size(); ++k) {
            const FieldDef& f = fields_[size_t(indexes[k])];
            const QVariant have = value(r, indexes[k]);
            const QVariant want = values[qsizetype(k)];
            // Only a null value looks for NULL: a blank key finds nothing.
            const bool wantNull = !want.isValid() || want.isNull();
            bool same;
            if (!have.isValid() || have.isNull()) {
                same = wantNull;
            } else if (wantNull) {
                same = false;
            } else if (isNumeric(f.type) || f.type == FieldType::DateTime) {
                const bool blank = want.typeId() == QMetaType::QString && want.toString().trimmed().isEmpty();
                same = !blank && (isNumeric(f.type) ? db::asFloat(have) == db::asFloat(want)
                                                    : db::asDateTime(have) == db::asDateTime(want));
            } else if (partialKey) {
                same = comparable(have).startsWith(comparable(want));
            } else {
                same = comparable(have) == comparable(want);
            }
            if (!same)
                return false;
        }
        return true;
    };
    // Rows not read yet are looked for by SQL on their table first; those
    // it finds are read and checked as every other row.
    std::optional<std::vector<qlonglong>> candidates;
    if (unread_ > 0) {
        candidates = locateCandidates(indexes, values, partialKey);
        if (!candidates)
            readRest();
    }
    for (int r = 0; r < recordCount(); ++r) {
        const Row& row = rowAtVisible(r);
        if (candidates && row.slot < 0 && !std::binary_search(candidates->begin(), candidates->end(), row.rowid))
            continue;
        if (matches(r)) {
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

} // namespace db
