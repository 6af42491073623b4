#include "tools/bench/RawSql.h"

#include <sqlite3.h>
#include <stdexcept>

namespace bench {

namespace {

[[noreturn]] void fail(sqlite3* db, const QString& what)
{
    throw std::runtime_error((what + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db))).toStdString());
}

} // namespace

RawDb::RawDb(const QString& path, const QByteArray& key)
{
    if (sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
        != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_close(db_);
        throw std::runtime_error(("cannot open " + path + ": " + message).toStdString());
    }
    sqlite3_key(db_, key.constData(), int(key.size()));
    // The key is checked on the first page read, as the program checks it.
    if (sqlite3_exec(db_, "select count(*) from sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_close(db_);
        throw std::runtime_error(("cannot read " + path + ": " + message).toStdString());
    }
    // The program's own settings, so both sides write alike.
    sqlite3_busy_timeout(db_, 5000);
    exec(QStringLiteral("pragma journal_mode=delete"));
}

RawDb::~RawDb()
{
    sqlite3_close_v2(db_);
}

void RawDb::exec(const QString& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "?");
        sqlite3_free(error);
        throw std::runtime_error((sql.left(80) + QStringLiteral(": ") + message).toStdString());
    }
}

QVariant RawDb::scalar(const QString& sql, const QVariantList& params)
{
    RawStatement st(*this, sql);
    for (int i = 0; i < params.size(); ++i)
        st.bind(i + 1, params[i]);
    return st.step() ? st.value(0) : QVariant();
}

RawStatement::RawStatement(RawDb& db, const QString& sql) : db_(db)
{
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db.handle(), utf8.constData(), int(utf8.size()), &stmt_, nullptr) != SQLITE_OK)
        fail(db.handle(), sql.left(80));
}

RawStatement::~RawStatement()
{
    sqlite3_finalize(stmt_);
}

void RawStatement::bind(int index1, const QVariant& value)
{
    if (!value.isValid() || value.isNull()) {
        bindNull(index1);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
        bindInt(index1, value.toLongLong());
        return;
    case QMetaType::Double:
        bindDouble(index1, value.toDouble());
        return;
    default: {
        // Empty text is stored as NULL, as the program stores a cleared box.
        const QByteArray text = value.toString().toUtf8();
        if (text.isEmpty()) {
            bindNull(index1);
            return;
        }
        sqlite3_bind_text(stmt_, index1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        return;
    }
    }
}

void RawStatement::bind(const char* name, const QVariant& value)
{
    const int index = sqlite3_bind_parameter_index(stmt_, name);
    if (index == 0)
        throw std::runtime_error(std::string("no parameter ") + name);
    bind(index, value);
}

void RawStatement::bindStatic(int index1, const QByteArray& utf8)
{
    sqlite3_bind_text(stmt_, index1, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
}

void RawStatement::bindInt(int index1, qint64 value)
{
    sqlite3_bind_int64(stmt_, index1, value);
}

void RawStatement::bindDouble(int index1, double value)
{
    sqlite3_bind_double(stmt_, index1, value);
}

void RawStatement::bindNull(int index1)
{
    sqlite3_bind_null(stmt_, index1);
}

bool RawStatement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(stmt_);
    fail(db_.handle(), QString::fromUtf8(sqlite3_sql(stmt_)).left(80));
}

void RawStatement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

// Reads each column the way a program must at the least: its type, then the
// value in that type (for text, the bytes themselves are touched).
void RawStatement::readRow()
{
    const int n = sqlite3_column_count(stmt_);
    for (int c = 0; c < n; ++c) {
        switch (sqlite3_column_type(stmt_, c)) {
        case SQLITE_INTEGER:
            checksum_ += quint64(sqlite3_column_int64(stmt_, c));
            break;
        case SQLITE_FLOAT:
            checksum_ += quint64(sqlite3_column_double(stmt_, c));
            break;
        case SQLITE_NULL:
            break;
        default: {
            const auto* text = sqlite3_column_text(stmt_, c);
            const int bytes = sqlite3_column_bytes(stmt_, c);
            checksum_ += bytes > 0 ? text[bytes - 1] : 0;
            break;
        }
        }
    }
}

qint64 RawStatement::readAll()
{
    qint64 rows = 0;
    while (step()) {
        readRow();
        ++rows;
    }
    return rows;
}

qint64 RawStatement::readAllSumming(int column, double& sum)
{
    qint64 rows = 0;
    while (step()) {
        readRow();
        sum += sqlite3_column_double(stmt_, column);
        ++rows;
    }
    return rows;
}

QVariant RawStatement::value(int column) const
{
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(stmt_, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt_, column);
    default:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column)),
                                 sqlite3_column_bytes(stmt_, column));
    }
}

int RawStatement::columnCount() const
{
    return sqlite3_column_count(stmt_);
}

} // namespace bench
