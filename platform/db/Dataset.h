#pragma once

#include "platform/db/Connection.h"
#include "platform/db/FieldDef.h"
#include "platform/db/LookupFields.h"
#include "platform/db/QueryShape.h"
#include "platform/db/RowStore.h"
#include "platform/db/Value.h"

#include <QObject>
#include <QHash>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace db {

enum class LockType { Optimistic, BatchOptimistic };
enum class DatasetState { Inactive, Browse, Edit, Insert };
enum class RowStatus { Unchanged, Inserted, Modified, Deleted };
// What a data-change event reports: another row became current (or the rows
// were reloaded, or an edit was posted or cancelled), or one field was written.
enum class DataChange { Record, Field };

// Detaches an event handler when destroyed; forms keep theirs as members so a
// closed form's handler never runs.
class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> detach) : detach_(std::move(detach)) {}
    Subscription(Subscription&& o) noexcept : detach_(std::move(o.detach_)) { o.detach_ = nullptr; }
    Subscription& operator=(Subscription&& o) noexcept;
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { reset(); }
    void reset();

private:
    std::function<void()> detach_;
};

// A named query: SQL text as lines, named parameters, a static client-side
// copy of the rows with a cursor, and an edit buffer written back by rowid.
// The cells of a large select's rows are read when first needed (see
// DatasetWindows.cpp); what it shows is the same.
//
// Cursor contract, on a query returning rows A, B, C:
//   open()            current = A (recNo 0), state Browse
//   last(); next()    current = C, eof() true
//   append()          new empty row D after C, current = D, state Insert
//   post()            D written (or pending in batch mode), current stays D
//   cancel() instead  D removed, current = C
//   first(); remove() A deleted, current = B (the row that took its place)
// An empty result leaves recNo -1, bof() and eof() true.
class Dataset : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(Dataset&)>;
    using ChangeHandler = std::function<void(Dataset&, DataChange, const QString& field)>;
    using Bookmark = qint64;

    Dataset(Connection& conn, const QString& name, QObject* parent = nullptr);
    ~Dataset() override;

    QString name() const { return objectName(); }
    Connection& connection() const { return conn_; }

    // --- SQL and parameters
    void setSql(const QStringList& lines);
    void setSql(const QString& text) { setSql(QStringList{text}); }
    void clearSql();
    void addSql(const QString& line);
    QStringList sqlLines() const { return sql_; }
    QString sqlText() const { return sql_.join('\n'); }
    // Parameter names of the SQL in order of first appearance.
    QStringList paramNames() const;
    void setParam(const QString& name, const QVariant& value);
    void setParam(int index, const QVariant& value); // by order of first appearance
    QVariant param(const QString& name) const;

    void setLockType(LockType t) { lock_ = t; }
    LockType lockType() const { return lock_; }

    // Declared field set: data fields shown exactly as declared, plus lookup and
    // calculated fields. Without data fields declared, the columns of the result
    // are shown with their schema types, followed by the declared extras.
    void setFieldDefs(std::vector<FieldDef> defs);
    const std::vector<FieldDef>& declaredFields() const { return declared_; }

    // --- open and close
    void open();
    void close();
    bool isActive() const { return state_ != DatasetState::Inactive; }
    // Rereads the rows, keeping the current row where it still exists.
    void refresh();
    // Rereads only the current row from its table, by rowid, while browsing:
    // it then shows, and its next post is checked against, what the database
    // holds now. A row gone from the table is left as it was.
    void refreshCurrentRow();
    // Runs the SQL as a statement that returns no rows; the number of rows changed.
    int execute();

    // --- fields
    const std::vector<FieldDef>& fields() const { return fields_; }
    int fieldCount() const { return int(fields_.size()); }
    int fieldIndex(const QString& name) const; // -1 when absent, case-insensitive
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    const FieldDef& field(const QString& name) const;
    // The table rows are written back to, and the column of it a field
    // stands for; "" for a query over several tables or a field of none.
    QString baseTable() const { return baseTable_; }
    QString baseColumn(int fieldIndex) const
    {
        return fieldIndex >= 0 && size_t(fieldIndex) < baseColumn_.size() ? baseColumn_[size_t(fieldIndex)] : QString();
    }

    QVariant value(const QString& name) const;
    QVariant value(int row, int fieldIndex) const;
    QString asString(const QString& name) const { return db::asString(value(name)); }
    double asFloat(const QString& name) const { return db::asFloat(value(name)); }
    qlonglong asInt(const QString& name) const { return db::asInt(value(name)); }
    bool asBool(const QString& name) const { return db::asBool(value(name)); }
    QDateTime asDateTime(const QString& name) const { return db::asDateTime(value(name)); }
    QString displayText(const QString& name) const;
    QString displayText(int row, int fieldIndex) const;
    // Writes a field of the current row; the dataset must be editing (or
    // computing calculated fields). Empty text stores NULL.
    void setValue(const QString& name, const QVariant& value);
    // The value as last read from (or written to) the database.
    QVariant oldValue(const QString& name) const;

    // --- cursor
    int recordCount() const { return int(visible_.size()); }
    // Advanced whenever the rows, and with them the fields, are read anew.
    int generation() const { return generation_; }
    bool isEmpty() const { return visible_.empty(); }
    int recNo() const { return cur_; }
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    void first();
    void last();
    void next();
    void prior();
    void setRecNo(int row);
    // Moves to the first row whose fields (";"-separated names) equal the values;
    // without case, letters A to Z only fold, as the engine's comparisons do.
    bool locate(const QString& fields, const QVariantList& values, bool caseInsensitive = false,
                bool partialKey = false);
    bool locate(const QString& field, const QVariant& value) { return locate(field, QVariantList{value}); }
    Bookmark bookmark() const;
    bool bookmarkValid(Bookmark b) const;
    void gotoBookmark(Bookmark b);
    // While disabled (nesting), widgets are not told of moves and changes.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disabled_ > 0; }

    // --- editing
    DatasetState state() const { return state_; }
    bool isEditing() const { return state_ == DatasetState::Edit || state_ == DatasetState::Insert; }
    bool modified() const { return modified_; }
    void edit();    // on an empty dataset: append()
    void append();  // new row at the end
    void insert();  // new row before the current one
    void post();
    void cancel();
    void remove();  // deletes the current row

    // --- batch-optimistic
    bool hasPendingChanges() const;
    // Writes every pending change inside the caller's transaction (or its
    // own). Client rows change only once that transaction commits.
    void applyBatch();
    // Restores originals, drops inserted rows and brings deleted ones back.
    void cancelBatch();
    RowStatus rowStatus(int row) const;
    struct PendingRow {
        RowStatus status;
        std::vector<QVariant> original; // per field index; empty for an insert
        std::vector<QVariant> current;  // per field index; empty for a delete
    };
    // Pending rows in table order, deletions included.
    std::vector<PendingRow> pendingRows() const;

    // --- events
    Subscription onBeforePost(Handler h);
    Subscription onAfterPost(Handler h);
    Subscription onAfterScroll(Handler h);
    Subscription onNewRecord(Handler h);
    Subscription onAfterDelete(Handler h);
    Subscription onCalcFields(Handler h);
    Subscription onDataChange(ChangeHandler h);
    bool calculating() const { return calcRow_ >= 0; }

    // --- master/detail: param follows masterField of master's current row.
    void setMaster(Dataset* master, const QString& masterField, const QString& param);

signals:
    // For widgets and models; not sent while controls are disabled.
    void rowsReset();
    void rowUpdated(int row);
    void currentChanged(int row);
    void fieldWritten(int fieldIndex);
    void stateChanged();

private:
    // A row's values are cells of the row store: `slot` holds the current
    // values, `originalSlot` what was last read or written when that differs
    // (an edit, a pending batch change, a row not yet posted).
    struct Row {
        Bookmark id = 0;
        qlonglong rowid = 0;           // 0: none (written back by original values)
        int slot = -1;                 // -1: not read yet
        int originalSlot = -1;         // -1: the original is the current values
        RowStatus status = RowStatus::Unchanged;
        bool fresh = false;            // appended and not yet posted
    };
    // What cancel() restores: the row as it was and its values then.
    struct EditSnapshot {
        Row row;
        int valuesSlot = -1;
        int rowPos = -1;
    };
    // A row's values held apart from the store, for undoing work after a
    // rollback (the store may have been read again by then).
    struct RowImage {
        Row row;
        std::vector<QVariant> values, original;
    };
    template <typename F> struct HandlerList {
        std::vector<std::pair<int, F>> items;
    };

    // Reading rows (DatasetRows.cpp)
    void openRows();
    void buildFields(Statement& st);
    void appendRow(Statement& st);
    void readCells(Statement& st, Row& row);
    Cell readCell(Statement& st, int column, FieldType type);
    QVariant fromStorage(const QVariant& raw, FieldType type) const;
    // The cell of a field that is stored (every field but lookups).
    Cell& cell(const Row& row, int fieldIndex) { return store_.slot(row.slot)[cellOf_[size_t(fieldIndex)]]; }
    const Cell& cell(const Row& row, int fieldIndex) const { return store_.slot(row.slot)[cellOf_[size_t(fieldIndex)]]; }
    const Cell& originalCell(const Row& row, int fieldIndex) const;
    QVariant cellValue(const Row& row, int fieldIndex) const;
    QVariant originalValue(const Row& row, int fieldIndex) const;
    void keepOriginal(Row& row);
    void dropOriginal(Row& row);
    void freeRow(const Row& row);
    std::vector<QVariant> slotValues(int slot) const;
    std::vector<QVariant> valuesOf(const Row& row) const;
    std::vector<QVariant> originalsOf(const Row& row) const;
    RowImage imageOf(const Row& row, const std::vector<QVariant>& original) const;
    Row rowFrom(const RowImage& image);

    // Rows read when first needed (DatasetWindows.cpp)
    bool readKeysOfTheRest();
    void planWindows(); // shape_ and keyOrder_ of the select
    // The row shown at visibleRow, its cells read.
    const Row& readRowAt(int visibleRow) const;
    void readAround(int pos);
    void readWindow(int from, int to);
    void readRest();
    void readInto(Statement& st, int pos);
    void settleRead(const std::vector<int>& positions); // ascending
    std::optional<std::vector<qlonglong>> locateCandidates(const std::vector<int>& fields, const QVariantList& values,
                                                           bool partialKey);

    // The cursor and calculated fields (Dataset.cpp)
    void rebuildVisible();
    int rowPos(int visibleRow) const { return visible_[size_t(visibleRow)]; }
    Row& currentRow();
    const Row& rowAtVisible(int r) const { return rows_[size_t(visible_[size_t(r)])]; }
    int visibleIndexOf(Bookmark id) const;
    void moveTo(int row, bool force = false);
    // Makes row current after the rows were (re)built and tells everyone.
    void settleAt(int row);
    void calcRow(int visibleRow);
    void calcAll();
    void checkBrowse();
    void checkActive() const;
    void requireBaseTable() const;

    // Edits and writes (DatasetEdits.cpp)
    void setCell(Row& row, int fieldIndex, const QVariant& v);
    void startAppend(bool atEnd);
    void discardSnapshot();
    bool rowChanged(const Row& row) const;
    void assignRowid(Row& row, qlonglong rowid);
    void restoreAfterRollback(Bookmark id, const RowImage& typed, DatasetState was);
    void writeInsert(const Row& row, qlonglong& newRowid);
    void writeUpdate(const Row& row);
    void writeDelete(const Row& row);

    // Events (DatasetEvents.cpp)
    void setState(DatasetState s);
    void emitRecordChange();
    void emitReset();
    void emitState();
    void emitFieldWritten(int fieldIndex);
    void fire(HandlerList<Handler>& list);
    void fireDataChange(DataChange kind, const QString& field);
    Subscription subscribe(HandlerList<Handler>& list, Handler h);
    void masterMoved();

    Connection& conn_;
    QStringList sql_;
    Params params_;
    LockType lock_ = LockType::Optimistic;
    std::vector<FieldDef> declared_;
    std::vector<FieldDef> fields_;
    QString baseTable_;
    std::vector<QString> baseColumn_;  // per field index; "" when not writable
    std::vector<Row> rows_;            // table order, deleted rows kept until applied
    RowStore store_;
    std::vector<int> cellOf_;          // per field: its place in a row's cells, -1 for a lookup
    std::vector<int> columnOfField_;   // per field: its column in the select, -1 for none
    int rowidColumn_ = -1;
    // Rows of a large select are read a window at a time (kWindowRows rows),
    // the first at open with the keys of all.
    static constexpr int kWindowRows = 256;
    QString rowidSql_;                 // the select giving each row's rowid; "" when rows have none
    Params openParams_;                // the parameters it was opened with
    QString windowPlanFor_;            // the select whose windows were last planned
    QueryShape shape_;                 // of that select
    enum class KeyOrder { None, Sorted, AsRead } keyOrder_ = KeyOrder::None; // None: read whole
    int unread_ = 0;                   // rows not read yet
    int readUpTo_ = 0;                 // position just past the rows read last
    int generation_ = 0;               // advanced whenever the rows are read anew
    std::vector<bool> amountFields_;   // each field shown as an amount ("#0.##"), as built
    std::vector<int> visible_;         // positions in rows_ of rows not deleted
    int cur_ = -1;
    bool eof_ = true, bof_ = true;
    DatasetState state_ = DatasetState::Inactive;
    bool modified_ = false;
    EditSnapshot snapshot_;
    Bookmark nextId_ = 1;
    int disabled_ = 0;
    bool changedWhileDisabled_ = false;
    int calcRow_ = -1;
    int nextHandlerId_ = 1;
    HandlerList<Handler> beforePost_, afterPost_, afterScroll_, newRecord_, afterDelete_, calcFields_;
    HandlerList<ChangeHandler> dataChange_;
    QPointer<Dataset> master_;
    QString masterField_, masterParam_;
    Subscription masterSub_;
    QHash<QString, int> fieldIndexByName_;       // lower-case names
    QHash<QString, int> fieldIndexAsDeclared_;   // names as declared: the usual spelling, no case folding
    mutable LookupFields lookups_;
};

// While one lives, the widgets over the dataset are not told of its moves
// and changes (a list rebuilt or walked is not shown row by row); they catch
// up when it goes, also when the work in between failed.
//   { db::ControlsDisabled quiet(q); for (q.first(); !q.eof(); q.next()) ...; }
class ControlsDisabled {
public:
    explicit ControlsDisabled(Dataset& q) : q_(q) { q_.disableControls(); }
    ~ControlsDisabled() { q_.enableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    Dataset& q_;
};

} // namespace db
