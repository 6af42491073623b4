#pragma once

#include "platform/db/Error.h"
#include "platform/db/Value.h"

#include <QElapsedTimer>
#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
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

private:
    Connection& conn_;
    sqlite3_stmt* stmt_ = nullptr;
    QString sql_;
};

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

    // Runs one statement (or several separated by ";" when params are empty)
    // and returns the number of rows it changed.
    int execute(const QString& sql, const Params& params = {});
    void executeScript(const QString& script);
    // First column of the first row, NULL when there is none.
    QVariant scalar(const QString& sql, const Params& params = {});

    qlonglong lastInsertRowId() const;
    int changes() const;

    // Changes made to a table by this connection advance its version at once;
    // a write by another connection advances every table's version, noticed
    // within the external-check interval (asking the file on every call would
    // cost more than the lookups it guards).
    quint64 tableVersion(const QString& table);
    void setExternalCheckInterval(int ms) { externalCheckMs_ = ms; }

    // A whole-table key-to-value map that datasets share for their lookup
    // fields, kept with the connection so it never outlives the file it was
    // read from. `version` is the source table's version when it was read.
    struct LookupMap {
        quint64 version = ~quint64(0);
        QHash<QString, QVariant> values;
    };
    LookupMap& lookupMap(const QString& id) { return lookupMaps_[id]; }

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
    void begin();
    void commit();
    void rollback();
    void bumpTable(const QString& table);
    void checkExternalChanges();
    static void updateHook(void* self, int op, const char* dbName, const char* table, qlonglong rowid);
    void registerFunctions();

    sqlite3* db_ = nullptr;
    QString path_;
    int depth_ = 0;
    struct Level {
        std::vector<std::function<void()>> commitHooks;
        std::vector<std::function<void()>> rollbackHooks;
    };
    std::vector<Level> levels_;
    QHash<QString, quint64> tableVersions_;
    QHash<QString, LookupMap> lookupMaps_;
    quint64 epoch_ = 0;        // advanced for changes whose table is unknown
    qlonglong dataVersion_ = -1;
    sqlite3_stmt* dataVersionStmt_ = nullptr;
    int externalCheckMs_ = 200;
    QElapsedTimer sinceExternalCheck_;
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

} // namespace db
