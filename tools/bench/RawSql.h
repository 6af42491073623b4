#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

// The floor of every measurement: the SQLCipher library itself, keyed the way
// the program keys its file, with nothing of the program's data layer in
// between. The generator writes through it too, as it is the fastest way in.
namespace bench {

class RawStatement;

class RawDb {
public:
    // Opens an existing file (or creates one) and applies the key as the
    // program does; throws std::runtime_error when the key does not read it.
    RawDb(const QString& path, const QByteArray& key);
    ~RawDb();
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;

    sqlite3* handle() const { return db_; }
    // Runs statements without parameters; throws on an error.
    void exec(const QString& sql);
    // First column of the first row, NULL when there is none.
    QVariant scalar(const QString& sql, const QVariantList& params = {});

private:
    sqlite3* db_ = nullptr;
};

// One prepared statement. Values bind by position (from 1) or by name
// (":name"); dates are bound in the stored text form by the caller.
class RawStatement {
public:
    RawStatement(RawDb& db, const QString& sql);
    ~RawStatement();
    RawStatement(const RawStatement&) = delete;
    RawStatement& operator=(const RawStatement&) = delete;

    void bind(int index1, const QVariant& value);
    void bind(const char* name, const QVariant& value);
    // A text kept alive by the caller until the next step; no copy is made.
    void bindStatic(int index1, const QByteArray& utf8);
    void bindInt(int index1, qint64 value);
    void bindDouble(int index1, double value);
    void bindNull(int index1);

    // True while a row is available; throws on an error.
    bool step();
    void reset();
    // Steps to the end of the result reading every column of every row as
    // its stored type; the number of rows.
    qint64 readAll();
    // Steps to the end adding up column `column`; the number of rows read.
    qint64 readAllSumming(int column, double& sum);

    QVariant value(int column) const;
    int columnCount() const;

private:
    void readRow();

    RawDb& db_;
    sqlite3_stmt* stmt_ = nullptr;
    quint64 checksum_ = 0; // keeps the reads from being optimised away
};

// Runs fn inside "begin immediate" ... "commit" on db; rolls back when fn throws.
template <typename F>
void inRawTransaction(RawDb& db, F fn)
{
    db.exec(QStringLiteral("begin immediate"));
    try {
        fn();
    } catch (...) {
        db.exec(QStringLiteral("rollback"));
        throw;
    }
    db.exec(QStringLiteral("commit"));
}

} // namespace bench
