#include "tests/support/TestDb.h"

#include "core/DbConfig.h"
#include "core/Upublic.h"
#include "core/Schema.h"
#include "platform/sys/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace {

// One database made by createDatabase per test program, copied for each test:
// a copy costs a fraction of building the schema again.
QString templateDatabase()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        createDatabase(dir.path());
        return localDatabasePath(dir.path());
    }();
    return path;
}

} // namespace

void TestDb::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    folder_ = dir_.path() + u'/';
    ASSERT_TRUE(QDir(folder_).mkpath(QStringLiteral("data")));
    ASSERT_TRUE(QFile::copy(templateDatabase(), databasePath()));
    sys::setProgramFolderForTesting(folder_);
    dataMod_ = std::make_unique<TFrmDataMod>();
    dataMod_->AdoConn.open(databasePath(), databaseKey());
    FrmDataMod = dataMod_.get();
}

void TestDb::TearDown()
{
    liftWriteProtection();
    ResetProgramState();
    // The data module clears FrmDataMod as it goes.
    dataMod_.reset();
    sys::setProgramFolderForTesting(QString());
}

namespace {

// Sets or clears the immutable flag, which stops even root from writing;
// false where the file system or the user's rights do not allow it.
bool setImmutable(const QString& path, bool on)
{
#ifdef Q_OS_LINUX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
#else
    Q_UNUSED(path);
    Q_UNUSED(on);
    return false;
#endif
}

constexpr QFile::Permissions kWrite =
    QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;

} // namespace

bool TestDb::writeProtect(const QString& path)
{
    protected_ << path;
    QFile::setPermissions(path, QFile::permissions(path) & ~kWrite);
    if (QFileInfo(path).isWritable())
        setImmutable(path, true);
    return !QFileInfo(path).isWritable();
}

void TestDb::liftWriteProtection()
{
    for (const QString& path : std::as_const(protected_)) {
        setImmutable(path, false);
        QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner | QFile::WriteUser);
    }
    protected_.clear();
}

void TestDb::refuseWrites()
{
    exec(QStringLiteral("pragma query_only=1"));
}

void TestDb::fillDatabase(const QString& table)
{
    exec(QStringLiteral("pragma max_page_count=%1").arg(scalar(QStringLiteral("pragma page_count")).toLongLong()));
    // Batches halving in size, each written whole or not at all, until not
    // even one more row fits.
    for (int batch = 4096; batch >= 1;) {
        try {
            exec(QStringLiteral("insert into %1 (rowid) select null from (with recursive n(k) as"
                                " (select 1 union all select k+1 from n where k<%2) select k from n)")
                     .arg(table)
                     .arg(batch));
        } catch (const db::Error&) {
            batch /= 2;
        }
    }
}

void TestDb::grantAllRights(const QString& user)
{
    const QString all(38, QLatin1Char('1'));
    PowUse = PowAdd = PowEdit = PowDele = PowChek = PowFind = PowPrin = all;
    CurrentUser = user;
}

QString TestDb::databasePath() const
{
    return localDatabasePath(folder_);
}

int TestDb::exec(const QString& sql, const db::Params& params)
{
    return conn().execute(sql, params);
}

QVariant TestDb::scalar(const QString& sql, const db::Params& params)
{
    return conn().scalar(sql, params);
}

int TestDb::count(const QString& table, const QString& where, const db::Params& params)
{
    QString sql = QStringLiteral("select count(*) from ") + table;
    if (!where.isEmpty())
        sql += QStringLiteral(" where ") + where;
    return int(scalar(sql, params).toLongLong());
}
