// Editing a dataset's rows and writing them back: the edit buffer, posts
// and cancels, deletes, and batch-optimistic changes kept until applied.
#include "platform/db/Dataset.h"

#include "platform/db/DatasetSupport.h"

namespace db {

using detail::sameValue;
using detail::usage;

namespace detail {

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

} // namespace detail

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
    const Row& r = readRowAt(cur_);
    return r.fresh ? QVariant() : originalValue(r, i);
}

void Dataset::setCell(Row& row, int fieldIndex, const QVariant& v)
{
    keepOriginal(row);
    cell(row, fieldIndex) = store_.cellOf(v);
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
    Row& row = currentRow();
    const int pos = rowPos(cur_);
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

} // namespace db
