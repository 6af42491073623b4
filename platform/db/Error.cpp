#include "platform/db/Error.h"

#include <QRegularExpression>
#include <iterator>
#include <sqlite3.h>

namespace db {

namespace {

const QString kSchemaHint = QStringLiteral("（数据库文件可能已损坏，或不是本程序这一版本的数据库）");

// SQLITE_ERROR covers the engine's complaints about the statement; those a
// user can meet come from a database that lacks what the program needs.
QString missingPart(const QString& message)
{
    static const QRegularExpression table(QStringLiteral("^no such table: (\\S+)"));
    static const QRegularExpression column(QStringLiteral("^no such column: (\\S+)"));
    static const QRegularExpression named(QStringLiteral("^table (\\S+) has no column named (\\S+)"));
    if (const auto m = table.match(message); m.hasMatch())
        return QStringLiteral("数据库中缺少数据表 %1").arg(m.captured(1)) + kSchemaHint;
    if (const auto m = column.match(message); m.hasMatch())
        return QStringLiteral("数据库中缺少字段 %1").arg(m.captured(1)) + kSchemaHint;
    if (const auto m = named.match(message); m.hasMatch())
        return QStringLiteral("数据表 %1 中缺少字段 %2").arg(m.captured(1), m.captured(2)) + kSchemaHint;
    return {};
}

struct Wording {
    int code;
    const char* text;
};

// By the engine's primary result code.
const Wording kReasons[] = {
    {SQLITE_BUSY, "数据库正被另一台电脑或另一个程序使用，请稍后再试"},
    {SQLITE_LOCKED, "数据库正被另一台电脑或另一个程序使用，请稍后再试"},
    {SQLITE_PROTOCOL, "数据库正被另一台电脑或另一个程序使用，请稍后再试"},
    {SQLITE_FULL, "磁盘已满，请清理数据库所在磁盘的空间后再试"},
    {SQLITE_READONLY, "数据库文件只读，无法写入：请检查数据库文件及其所在文件夹的只读属性和访问权限"},
    {SQLITE_PERM, "没有访问数据库文件的权限，请检查文件的访问权限"},
    {SQLITE_AUTH, "没有访问数据库文件的权限，请检查文件的访问权限"},
    {SQLITE_IOERR, "读写数据库文件时出错（磁盘或网络故障），请检查磁盘或网络连接后再试"},
    {SQLITE_CORRUPT, "数据库文件已损坏，请从备份恢复"},
    {SQLITE_NOTADB, "数据库密码不正确，或文件已损坏、不是本系统的数据库"},
    {SQLITE_CANTOPEN, "无法打开数据库文件：文件不存在、已被移走，或没有访问权限"},
    {SQLITE_NOMEM, "内存不足，请关闭其他程序后再试"},
    {SQLITE_TOOBIG, "数据太长，数据库无法保存"},
    {SQLITE_NOLFS, "数据库文件太大，超出了磁盘允许的文件大小"},
    {SQLITE_MISMATCH, "数据的类型与数据库字段不符，未能保存"},
    {SQLITE_SCHEMA, "数据库的结构刚被改变，请再试一次"},
    {SQLITE_ABORT, "数据库操作被中止，请再试一次"},
    {SQLITE_INTERRUPT, "数据库操作被中止，请再试一次"},
};

// By the extended code of a refused constraint.
const Wording kConstraintReasons[] = {
    {SQLITE_CONSTRAINT_CHECK, "有数据超出了数据库允许的长度或格式，未能保存"},
    {SQLITE_CONSTRAINT_UNIQUE, "数据库中已有相同的记录，不能重复保存"},
    {SQLITE_CONSTRAINT_PRIMARYKEY, "数据库中已有相同的记录，不能重复保存"},
    {SQLITE_CONSTRAINT_NOTNULL, "有必须填写的数据是空的，未能保存"},
};

QString wordingOf(const Wording* begin, const Wording* end, int code)
{
    for (const Wording* w = begin; w != end; ++w)
        if (w->code == code)
            return QString::fromUtf8(w->text);
    return {};
}

QString engineReason(int code, const QString& message)
{
    const int primary = code & 0xff;
    if (primary == SQLITE_CONSTRAINT) {
        if (code == SQLITE_CONSTRAINT_TRIGGER)
            return message; // the database's own words for the refusal
        const QString wording = wordingOf(std::begin(kConstraintReasons), std::end(kConstraintReasons), code);
        return wording.isEmpty() ? QStringLiteral("数据不符合数据库的要求，未能保存") : wording;
    }
    if (primary == SQLITE_ERROR)
        if (const QString missing = missingPart(message); !missing.isEmpty())
            return missing;
    const QString wording = wordingOf(std::begin(kReasons), std::end(kReasons), primary);
    return wording.isEmpty() ? QStringLiteral("数据库操作失败（错误代码 %1）").arg(code) : wording;
}

} // namespace

QString Error::reason() const
{
    if (kind_ != Kind::Engine || engineCode_ == 0)
        return message();
    return engineReason(engineCode_, message());
}

QString reasonOf(const std::exception& e)
{
    if (const auto* error = dynamic_cast<const Error*>(&e))
        return error->reason();
    return QString::fromUtf8(e.what());
}

QString detailsOf(const std::exception& e)
{
    const auto* error = dynamic_cast<const Error*>(&e);
    if (!error)
        return {};
    const QString message = error->message();
    return message == error->reason() ? QString() : message;
}

} // namespace db
