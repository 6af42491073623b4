#pragma once

#include "platform/db/Error.h"
#include "platform/db/LookupCache.h"
#include "platform/db/Value.h"

#include <QHash>
#include <QMultiHash>
#include <QSet>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

class Connection;

// Named parameters in order of first appearance; ":name" in SQL, "name" here.
class Params {
public:
    Params() = default;
    Params(std::initializer_list<std::pair<QString, QVariant>> values);
    void set(const QString& name, const QVariant& value);
    bool contains(const QString& name) const;
    QVariant value(const QString& name) const;
    const std::vector<std::pair<QString, QVariant>>& items() const { return items_; }
    void clear() { items_.clear(); }

private:
    std::vector<std::pair<QString, QVariant>> items_;
};

// One prepared statement. SQL goes through the dialect translation first.
// A text holding a second statement is refused (Error::Kind::Usage), never
// cut; one of comments and blanks runs as nothing.
// Typical use: Statement s(conn, sql); s.bind("code", v); while (s.step()) s.value(0);
class Statement {
public:
    Statement(Connection& conn, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Binds by name (without the colon); an unknown name is ignored, so one
    // parameter set may serve several statements.
    void bind(const QString& name, const QVariant& value);
    void bind(int index1, const QVariant& value);
    void bindAll(const Params& params);
    int parameterCount() const;
    QString parameterName(int index1) const; // without the colon

    // Runs one step; true while a row is available.
    bool step();
    void reset();

    int columnCount() const;
    QString columnName(int i) const;
    QString columnDeclType(int i) const;  // "" for expressions
    QString columnTable(int i) const;     // base table of a plain column, else ""
    QString columnOrigin(int i) const;    // base column name, else ""
    int columnStorageType(int i) const;   // SQLITE_INTEGER ... of the current row
    // The current row's value of column i: NULL, qlonglong, double or QString.
    QVariant value(int i) const;

    QString sql() const { return sql_; }

    // Raw access to the current row for readers that store values themselves:
    // the text stays valid until the next step.
    qint64 columnInt(int i) const;
    double columnDouble(int i) const;
    std::string_view columnText(int i) const;

private:
    Connection& conn_;
    sqlite3_stmt* stmt_ = nullptr;
    QString given_;  // as the caller wrote it: the key of the statement cache
    QString sql_;    // as the engine runs it
};

// Milliseconds on a monotonic clock of a few milliseconds' resolution, cheap
// enough to ask before every lookup.
qint64 coarseClockMs();

// One database file opened with its key. Writes through any path keep the
// per-table change counters current, which lookup caches read.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing file. Throws MissingFile, WrongKey (the key does not
    // decrypt it, or it is no database) or Engine.
    void open(const QString& path, const QByteArray& key);
    // Creates a new keyed file (refuses an existing one).
    void create(const QString& path, const QByteArray& key);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    // True when the file opened for reading only (it, or the medium holding
    // it, is write-protected): every write would be refused.
    bool isReadOnly() const;
    QString path() const { return path_; }

    // Runs every statement of sql, each with the params it names, and returns
    // the number of rows they changed. Several statements run in one
    // transaction (nested in the caller's): all or none.
    int execute(const QString& sql, const Params& params = {});
    void executeScript(const QString& script);
    // First column of the first row, NULL when there is none.
    QVariant scalar(const QString& sql, const Params& params = {});

    qlonglong lastInsertRowId() const;
    int changes() const;

    // The values lookup fields show, corrected row by row as this connection
    // writes; a write by another connection empties it, noticed within the
    // external-check interval (asking the file on every lookup would cost
    // more than the lookups it guards).
    LookupCache& lookups() { return *lookups_; }
    void noticeExternalChanges();
    void setExternalCheckInterval(int ms) { externalCheckMs_ = ms; }

    // Transactions nest: the outermost is BEGIN/COMMIT, inner ones savepoints.
    int transactionDepth() const { return depth_; }
    // Runs once the outermost transaction commits (at once when none is open).
    void onCommit(std::function<void()> fn);
    // Runs if the transaction level current now is rolled back.
    void onRollback(std::function<void()> fn);

    sqlite3* handle() const { return db_; }
    [[noreturn]] void raise(int rc, const QString& context = {}) const;

private:
    friend class Transaction;
    friend class Statement;
    int executeOne(const QString& sql, const Params& params);
    void begin();
    void commit();
    void rollback();
    sqlite3_stmt* acquire(const QString& sql, QString& translated);
    void release(const QString& sql, const QString& translated, sqlite3_stmt* stmt);
    void finalizeCached();
    static void updateHook(void* self, int op, const char* dbName, const char* table, qlonglong rowid);
    void registerFunctions();

    sqlite3* db_ = nullptr;
    QString path_;
    int depth_ = 0;
    struct Level {
        std::vector<std::function<void()>> commitHooks;
        std::vector<std::function<void()>> rollbackHooks;
        QSet<QString> tablesWritten; // their lookups are forgotten if this level rolls back
        QByteArray lastTableWritten;
    };
    std::vector<Level> levels_;
    std::unique_ptr<LookupCache> lookups_;
    // Prepared statements kept for reuse, by their SQL as given; one in use is
    // taken out, so a statement running inside another's loop gets its own.
    struct CachedStatement {
        QString translated;
        sqlite3_stmt* stmt = nullptr;
        quint64 lastUse = 0;
    };
    QMultiHash<QString, CachedStatement> statements_;
    quint64 statementUses_ = 0;
    qlonglong dataVersion_ = -1;
    sqlite3_stmt* dataVersionStmt_ = nullptr;
    int externalCheckMs_ = 200;
    qint64 lastExternalCheckMs_ = -1; // on a coarse monotonic clock; -1: never
};

// RAII transaction: rolled back unless commit() was called.
//   Transaction t(conn); ...writes...; t.commit();
class Transaction {
public:
    explicit Transaction(Connection& conn);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();
    void rollback();

private:
    Connection& conn_;
    bool done_ = false;
};

// While one lives, the reads on the connection see the database as at one
// moment, and hold its shared lock only for as long: a deferred transaction,
// unless one is open already. Nothing is written through it.
class ReadSnapshot {
public:
    explicit ReadSnapshot(Connection& conn);
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

private:
    sqlite3* began_ = nullptr;
};

} // namespace db
