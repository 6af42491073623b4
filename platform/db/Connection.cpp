#include "platform/db/Connection.h"

#include "platform/db/Dialect.h"

#include <QDir>
#include <QStringList>
#include <QFileInfo>
#include <chrono>
#include <cmath>
#include <ctime>
#include <sqlite3.h>

namespace db {

namespace {

constexpr int kBusyTimeoutMs = 5000;

QDateTime dateArgument(sqlite3_value* v)
{
    if (sqlite3_value_type(v) == SQLITE_NULL)
        return {};
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return fromStorageText(QString::fromUtf8(text));
}

// Jet's year(), month() and day(): integers from a stored date-time, NULL for NULL.
template <int (QDate::*Part)() const>
void datePartFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const QDateTime dt = dateArgument(argv[0]);
    if (!dt.isValid())
        sqlite3_result_null(ctx);
    else
        sqlite3_result_int(ctx, (dt.date().*Part)());
}

bool isBlank(QStringView text)
{
    for (const QChar c : text)
        if (!c.isSpace() && c != u';')
            return false;
    return true;
}

// The statements of a text, each ending where the engine says one is
// complete: a ";" inside a literal, a comment or a trigger's body ends none.
QStringList statementsOf(const QString& sql)
{
    QStringList statements;
    qsizetype start = 0;
    for (qsizetype i = sql.indexOf(u';'); i >= 0; i = sql.indexOf(u';', i + 1)) {
        const QString candidate = sql.mid(start, i + 1 - start);
        if (sqlite3_complete(candidate.toUtf8().constData())) {
            if (!isBlank(candidate))
                statements << candidate;
            start = i + 1;
        }
    }
    if (!isBlank(sql.mid(start)))
        statements << sql.mid(start);
    return statements;
}

} // namespace

// ---------------------------------------------------------------- Params

Params::Params(std::initializer_list<std::pair<QString, QVariant>> values)
{
    for (const auto& [name, value] : values)
        set(name, value);
}

void Params::set(const QString& name, const QVariant& value)
{
    for (auto& item : items_) {
        if (item.first.compare(name, Qt::CaseInsensitive) == 0) {
            item.second = value;
            return;
        }
    }
    items_.emplace_back(name, value);
}

bool Params::contains(const QString& name) const
{
    for (const auto& item : items_)
        if (item.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QVariant Params::value(const QString& name) const
{
    for (const auto& item : items_)
        if (item.first.compare(name, Qt::CaseInsensitive) == 0)
            return item.second;
    return {};
}

// ---------------------------------------------------------------- Statement

Statement::Statement(Connection& conn, const QString& sql) : conn_(conn), given_(sql)
{
    if (!conn.isOpen())
        throw Error(Error::Kind::NotOpen, QStringLiteral("数据库未连接"));
    stmt_ = conn.acquire(sql, sql_);
}

Statement::~Statement()
{
    conn_.release(given_, sql_, stmt_);
}

void Statement::bind(const QString& name, const QVariant& value)
{
    // Parameter names compare without regard to case, as Jet's do.
    for (int i = 1; i <= parameterCount(); ++i) {
        if (parameterName(i).compare(name, Qt::CaseInsensitive) == 0)
            bind(i, value);
    }
}

void Statement::bind(int index1, const QVariant& v)
{
    int rc = SQLITE_OK;
    if (!v.isValid() || v.isNull()) {
        rc = sqlite3_bind_null(stmt_, index1);
    } else {
        switch (v.typeId()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int(stmt_, index1, v.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            rc = sqlite3_bind_int64(stmt_, index1, v.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float: {
            // A whole number goes in as an integer, so integer columns take
            // 12.0; float columns turn it back into a float themselves.
            const double d = v.toDouble();
            if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9.0e15)
                rc = sqlite3_bind_int64(stmt_, index1, qlonglong(d));
            else
                rc = sqlite3_bind_double(stmt_, index1, d);
            break;
        }
        case QMetaType::QDateTime:
        case QMetaType::QDate: {
            const QByteArray text = toStorageText(asDateTime(v)).toUtf8();
            rc = sqlite3_bind_text(stmt_, index1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray text = v.toString().toUtf8();
            rc = sqlite3_bind_text(stmt_, index1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        conn_.raise(rc, sql_);
}

void Statement::bindAll(const Params& params)
{
    for (const auto& [name, value] : params.items())
        bind(name, value);
}

int Statement::parameterCount() const
{
    return sqlite3_bind_parameter_count(stmt_);
}

QString Statement::parameterName(int index1) const
{
    const char* name = sqlite3_bind_parameter_name(stmt_, index1);
    return name ? QString::fromUtf8(name + 1) : QString();
}

bool Statement::step()
{
    if (!stmt_)
        return false; // a text of comments and blanks holds nothing to run
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const int code = sqlite3_extended_errcode(conn_.handle());
    sqlite3_reset(stmt_);
    conn_.raise(code, sql_);
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(stmt_);
}

QString Statement::columnName(int i) const
{
    return QString::fromUtf8(sqlite3_column_name(stmt_, i));
}

QString Statement::columnDeclType(int i) const
{
    const char* t = sqlite3_column_decltype(stmt_, i);
    return t ? QString::fromUtf8(t) : QString();
}

QString Statement::columnTable(int i) const
{
    const char* t = sqlite3_column_table_name(stmt_, i);
    return t ? QString::fromUtf8(t) : QString();
}

QString Statement::columnOrigin(int i) const
{
    const char* t = sqlite3_column_origin_name(stmt_, i);
    return t ? QString::fromUtf8(t) : QString();
}

int Statement::columnStorageType(int i) const
{
    return sqlite3_column_type(stmt_, i);
}

qint64 Statement::columnInt(int i) const
{
    return sqlite3_column_int64(stmt_, i);
}

double Statement::columnDouble(int i) const
{
    return sqlite3_column_double(stmt_, i);
}

std::string_view Statement::columnText(int i) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
    return text ? std::string_view(text, size_t(sqlite3_column_bytes(stmt_, i))) : std::string_view();
}

QVariant Statement::value(int i) const
{
    switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(stmt_, i));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt_, i);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt_, i)), sqlite3_column_bytes(stmt_, i));
    default: {
        const std::string_view text = columnText(i);
        return textFromUtf8(text.data(), qsizetype(text.size()));
    }
    }
}

// ---------------------------------------------------------------- Connection

qint64 coarseClockMs()
{
#ifdef CLOCK_MONOTONIC_COARSE
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
#else
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
#endif
}

namespace {

// Statements kept prepared per connection; the program uses fewer distinct ones.
constexpr int kMostCachedStatements = 64;

} // namespace

Connection::Connection() : lookups_(std::make_unique<LookupCache>(*this)) {}

Connection::~Connection()
{
    close();
}

void Connection::open(const QString& path, const QByteArray& key)
{
    close();
    if (!QFileInfo(path).isFile())
        throw Error(Error::Kind::MissingFile, QStringLiteral("找不到数据库文件: %1").arg(QDir::toNativeSeparators(path)));

    sqlite3* handle = nullptr;
    // One thread uses a connection, so the engine need not lock it on every call.
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = QString::fromUtf8(handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc));
        sqlite3_close(handle);
        throw Error(Error::Kind::Engine, msg, rc);
    }
    // Extended codes tell a refusing trigger or a CHECK apart from other
    // constraints, so each failure can be told in the user's words.
    sqlite3_extended_result_codes(handle, 1);
    sqlite3_key(handle, key.constData(), int(key.size()));
    // The key is only checked when a page is read.
    rc = sqlite3_exec(handle, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(handle);
        if (rc == SQLITE_NOTADB)
            throw Error(Error::Kind::WrongKey, QStringLiteral("数据库密码不正确或文件已损坏"), rc);
        throw Error(Error::Kind::Engine, QString::fromUtf8(sqlite3_errstr(rc)), rc);
    }
    db_ = handle;
    path_ = path;
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    // A rollback journal keeps the database in its one file between uses.
    sqlite3_exec(db_, "pragma journal_mode=delete", nullptr, nullptr, nullptr);
    // Pages are decrypted as they enter the cache and stay there while no
    // other workstation writes: a list reopened, or read again window by
    // window, costs no decrypting when its pages fit.
    sqlite3_exec(db_, "pragma cache_size=-65536", nullptr, nullptr, nullptr); // KiB
    sqlite3_update_hook(db_, &Connection::updateHook, this);
    registerFunctions();
    dataVersion_ = scalar(QStringLiteral("pragma data_version")).toLongLong();
}

bool Connection::isReadOnly() const
{
    return db_ && sqlite3_db_readonly(db_, "main") == 1;
}

void Connection::create(const QString& path, const QByteArray& key)
{
    close();
    if (QFileInfo::exists(path))
        throw Error(Error::Kind::Usage, QStringLiteral("数据库文件已存在: %1").arg(QDir::toNativeSeparators(path)));
    QDir().mkpath(QFileInfo(path).absolutePath());
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = QString::fromUtf8(handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc));
        sqlite3_close(handle);
        throw Error(Error::Kind::Engine, msg, rc);
    }
    sqlite3_key(handle, key.constData(), int(key.size()));
    sqlite3_close(handle);
    open(path, key);
}

void Connection::close()
{
    if (!db_)
        return;
    while (depth_ > 0)
        rollback();
    sqlite3_finalize(dataVersionStmt_);
    dataVersionStmt_ = nullptr;
    lastExternalCheckMs_ = -1;
    lookups_->forgetAll(); // what is cached belongs to the closed file
    finalizeCached();
    sqlite3_close_v2(db_);
    db_ = nullptr;
    path_.clear();
}

sqlite3_stmt* Connection::acquire(const QString& sql, QString& translated)
{
    if (const auto it = statements_.find(sql); it != statements_.end()) {
        translated = it->translated;
        sqlite3_stmt* stmt = it->stmt;
        statements_.erase(it);
        return stmt;
    }
    translated = translateSql(sql);
    const QByteArray utf8 = translated.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &stmt, &tail);
    if (rc != SQLITE_OK)
        raise(rc, translated);
    if (tail && !isBlank(QString::fromUtf8(tail))) {
        // One statement runs at a time: what follows it would be dropped
        // without a word. execute() takes a text of several.
        sqlite3_stmt* next = nullptr;
        const int nextRc = sqlite3_prepare_v2(db_, tail, -1, &next, nullptr);
        sqlite3_finalize(next);
        if (nextRc != SQLITE_OK || next) {
            sqlite3_finalize(stmt);
            throw Error(Error::Kind::Usage, QStringLiteral("一条语句之后还有语句，未执行：%1").arg(sql.simplified()));
        }
    }
    return stmt;
}

void Connection::release(const QString& sql, const QString& translated, sqlite3_stmt* stmt)
{
    if (!stmt)
        return;
    if (!db_) {
        sqlite3_finalize(stmt);
        return;
    }
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (statements_.size() >= kMostCachedStatements) {
        auto oldest = statements_.begin();
        for (auto it = statements_.begin(); it != statements_.end(); ++it)
            if (it->lastUse < oldest->lastUse)
                oldest = it;
        sqlite3_finalize(oldest->stmt);
        statements_.erase(oldest);
    }
    statements_.insert(sql, CachedStatement{translated, stmt, ++statementUses_});
}

void Connection::finalizeCached()
{
    for (const CachedStatement& c : std::as_const(statements_))
        sqlite3_finalize(c.stmt);
    statements_.clear();
}

void Connection::registerFunctions()
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db_, "year", 1, flags, nullptr, &datePartFunction<&QDate::year>, nullptr, nullptr);
    sqlite3_create_function(db_, "month", 1, flags, nullptr, &datePartFunction<&QDate::month>, nullptr, nullptr);
    sqlite3_create_function(db_, "day", 1, flags, nullptr, &datePartFunction<&QDate::day>, nullptr, nullptr);
}

void Connection::raise(int rc, const QString& context) const
{
    QString msg = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString::fromUtf8(sqlite3_errstr(rc));
    Q_UNUSED(context);
    throw Error(Error::Kind::Engine, msg, rc);
}

int Connection::execute(const QString& sql, const Params& params)
{
    const QStringList statements = statementsOf(sql);
    if (statements.size() <= 1)
        return executeOne(sql, params);
    // Several statements are one change: all of them or none.
    Transaction t(*this);
    int changed = 0;
    for (const QString& statement : statements)
        changed += executeOne(statement, params);
    t.commit();
    return changed;
}

int Connection::executeOne(const QString& sql, const Params& params)
{
    Statement st(*this, sql);
    st.bindAll(params);
    const qlonglong before = sqlite3_total_changes(db_);
    while (st.step()) {
    }
    // A statement that writes no row (a create, a pragma) changed none,
    // whatever the statement before it changed.
    return sqlite3_total_changes(db_) == before ? 0 : changes();
}

void Connection::executeScript(const QString& script)
{
    if (!db_)
        throw Error(Error::Kind::NotOpen, QStringLiteral("数据库未连接"));
    char* err = nullptr;
    const int rc = sqlite3_exec(db_, script.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : sqlite3_errstr(rc));
        sqlite3_free(err);
        throw Error(Error::Kind::Engine, msg, rc);
    }
    lookups_->forgetAll(); // a script may change any table, or the schema
}

QVariant Connection::scalar(const QString& sql, const Params& params)
{
    Statement st(*this, sql);
    st.bindAll(params);
    return st.step() ? st.value(0) : QVariant();
}

qlonglong Connection::lastInsertRowId() const
{
    return db_ ? sqlite3_last_insert_rowid(db_) : 0;
}

int Connection::changes() const
{
    return db_ ? sqlite3_changes(db_) : 0;
}

void Connection::updateHook(void* self, int, const char*, const char* table, qlonglong rowid)
{
    auto* conn = static_cast<Connection*>(self);
    conn->lookups_->rowChanged(table, rowid);
    if (conn->levels_.empty())
        return;
    // Rows of one table usually come in runs; the name is kept once per run.
    Level& level = conn->levels_.back();
    if (level.lastTableWritten != table) {
        level.lastTableWritten = table;
        level.tablesWritten.insert(QString::fromUtf8(table).toLower());
    }
}

void Connection::noticeExternalChanges()
{
    if (!db_)
        return;
    const qint64 now = coarseClockMs();
    if (lastExternalCheckMs_ >= 0 && now - lastExternalCheckMs_ < externalCheckMs_)
        return;
    lastExternalCheckMs_ = now;
    if (!dataVersionStmt_ && sqlite3_prepare_v2(db_, "pragma data_version", -1, &dataVersionStmt_, nullptr) != SQLITE_OK)
        return;
    if (sqlite3_step(dataVersionStmt_) == SQLITE_ROW) {
        const qlonglong v = sqlite3_column_int64(dataVersionStmt_, 0);
        if (v != dataVersion_) {
            dataVersion_ = v;
            lookups_->forgetAll(); // another connection wrote the file
        }
    }
    sqlite3_reset(dataVersionStmt_);
}

void Connection::onCommit(std::function<void()> fn)
{
    if (depth_ == 0)
        fn();
    else
        levels_.back().commitHooks.push_back(std::move(fn));
}

void Connection::onRollback(std::function<void()> fn)
{
    if (depth_ > 0)
        levels_.back().rollbackHooks.push_back(std::move(fn));
}

void Connection::begin()
{
    if (!db_)
        throw Error(Error::Kind::NotOpen, QStringLiteral("数据库未连接"));
    if (depth_ == 0)
        execute(QStringLiteral("begin immediate"));
    else
        execute(QStringLiteral("savepoint sp%1").arg(depth_));
    levels_.emplace_back();
    ++depth_;
}

void Connection::commit()
{
    if (depth_ == 0)
        return;
    if (depth_ == 1) {
        execute(QStringLiteral("commit"));
        Level level = std::move(levels_.back());
        levels_.pop_back();
        --depth_;
        for (auto& hook : level.commitHooks)
            hook();
        return;
    }
    execute(QStringLiteral("release sp%1").arg(depth_ - 1));
    Level level = std::move(levels_.back());
    levels_.pop_back();
    --depth_;
    // The outer transaction now decides the fate of what the inner one did.
    auto& outer = levels_.back();
    for (auto& hook : level.commitHooks)
        outer.commitHooks.push_back(std::move(hook));
    for (auto& hook : level.rollbackHooks)
        outer.rollbackHooks.push_back(std::move(hook));
    outer.tablesWritten.unite(level.tablesWritten);
}

void Connection::rollback()
{
    if (depth_ == 0)
        return;
    Level level = std::move(levels_.back());
    levels_.pop_back();
    --depth_;
    if (depth_ == 0) {
        sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
    } else {
        const QByteArray sp = QStringLiteral("sp%1").arg(depth_).toUtf8();
        sqlite3_exec(db_, ("rollback to " + sp + "; release " + sp).constData(), nullptr, nullptr, nullptr);
    }
    // Rows written and then undone may sit in the lookups.
    for (const QString& table : std::as_const(level.tablesWritten))
        lookups_->forgetTable(table);
    for (auto it = level.rollbackHooks.rbegin(); it != level.rollbackHooks.rend(); ++it)
        (*it)();
}

// ---------------------------------------------------------------- Transaction

Transaction::Transaction(Connection& conn) : conn_(conn)
{
    conn_.begin();
}

Transaction::~Transaction()
{
    if (!done_)
        conn_.rollback();
}

void Transaction::commit()
{
    if (done_)
        return;
    try {
        conn_.commit();
    } catch (...) {
        done_ = true;
        conn_.rollback();
        throw;
    }
    done_ = true;
}

void Transaction::rollback()
{
    if (done_)
        return;
    done_ = true;
    conn_.rollback();
}

// ---------------------------------------------------------------- ReadSnapshot

ReadSnapshot::ReadSnapshot(Connection& conn)
{
    sqlite3* db = conn.handle();
    if (db && sqlite3_get_autocommit(db) && sqlite3_exec(db, "begin", nullptr, nullptr, nullptr) == SQLITE_OK)
        began_ = db;
}

ReadSnapshot::~ReadSnapshot()
{
    if (began_ && sqlite3_exec(began_, "commit", nullptr, nullptr, nullptr) != SQLITE_OK)
        sqlite3_exec(began_, "rollback", nullptr, nullptr, nullptr);
}

} // namespace db
