#include "platform/db/Error.h"

#include <QRegularExpression>
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

QString constraintReason(int code, const QString& message)
{
    switch (code) {
    case SQLITE_CONSTRAINT_TRIGGER:
        return message; // the database's own words for the refusal
    case SQLITE_CONSTRAINT_CHECK:
        return QStringLiteral("有数据超出了数据库允许的长度或格式，未能保存");
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        return QStringLiteral("数据库中已有相同的记录，不能重复保存");
    case SQLITE_CONSTRAINT_NOTNULL:
        return QStringLiteral("有必须填写的数据是空的，未能保存");
    default:
        return QStringLiteral("数据不符合数据库的要求，未能保存");
    }
}

QString engineReason(int code, const QString& message)
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_PROTOCOL:
        return QStringLiteral("数据库正被另一台电脑或另一个程序使用，请稍后再试");
    case SQLITE_FULL:
        return QStringLiteral("磁盘已满，请清理数据库所在磁盘的空间后再试");
    case SQLITE_READONLY:
        return QStringLiteral("数据库文件只读，无法写入：请检查数据库文件及其所在文件夹的只读属性和访问权限");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("没有访问数据库文件的权限，请检查文件的访问权限");
    case SQLITE_IOERR:
        return QStringLiteral("读写数据库文件时出错（磁盘或网络故障），请检查磁盘或网络连接后再试");
    case SQLITE_CORRUPT:
        return QStringLiteral("数据库文件已损坏，请从备份恢复");
    case SQLITE_NOTADB:
        return QStringLiteral("数据库密码不正确，或文件已损坏、不是本系统的数据库");
    case SQLITE_CANTOPEN:
        return QStringLiteral("无法打开数据库文件：文件不存在、已被移走，或没有访问权限");
    case SQLITE_NOMEM:
        return QStringLiteral("内存不足，请关闭其他程序后再试");
    case SQLITE_TOOBIG:
        return QStringLiteral("数据太长，数据库无法保存");
    case SQLITE_NOLFS:
        return QStringLiteral("数据库文件太大，超出了磁盘允许的文件大小");
    case SQLITE_CONSTRAINT:
        return constraintReason(code, message);
    case SQLITE_MISMATCH:
        return QStringLiteral("数据的类型与数据库字段不符，未能保存");
    case SQLITE_SCHEMA:
        return QStringLiteral("数据库的结构刚被改变，请再试一次");
    case SQLITE_ABORT:
    case SQLITE_INTERRUPT:
        return QStringLiteral("数据库操作被中止，请再试一次");
    case SQLITE_ERROR:
        if (const QString missing = missingPart(message); !missing.isEmpty())
            return missing;
        break;
    default:
        break;
    }
    return QStringLiteral("数据库操作失败（错误代码 %1）").arg(code);
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
