#include "tests/support/TestDb.h"

#include "core/DbConfig.h"
#include "core/Upublic.h"
#include "core/Schema.h"
#include "platform/sys/ProgramFolder.h"

#include <QDir>
#include <QFile>

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
    ResetProgramState();
    // The data module clears FrmDataMod as it goes.
    dataMod_.reset();
    sys::setProgramFolderForTesting(QString());
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
