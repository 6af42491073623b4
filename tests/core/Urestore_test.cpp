#include "core/Urestore.h"

#include "tests/support/PromptResponder.h"
#include "tests/support/TestDb.h"

#include "core/DbConfig.h"
#include "core/Upower.h"
#include "core/Upublic.h"
#include "platform/db/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Kind = ui::PromptRequest::Kind;

class RestoreFormTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        ASSERT_TRUE(backups.isValid());
        grantAllRights();
        savedReopen = ReopenDatabase;
        savedStep = AfterFileStep;
        exec("insert into employee (empl_code, empl_name) values ('R1', '备份里')");
    }
    void TearDown() override
    {
        ReopenDatabase = savedReopen;
        AfterFileStep = savedStep;
        TestDb::TearDown();
    }

    QString backupPath() const { return QDir(backups.path()).filePath(QStringLiteral("orbenta.db")); }
    void backUpNow() { BackupDatabase(backups.path()); }
    void addLaterRow() { exec("insert into employee (empl_code, empl_name) values ('LATER', '备份后')"); }

    // Presses 恢复 with folder chosen and returns the message it showed.
    static QString restore(const QString& folder)
    {
        TFrmRestore f;
        f.DL->setText(folder);
        testui::PromptResponder prompts;
        prompts.expect(Kind::Message);
        QTest::mouseClick(f.cmd_add, Qt::LeftButton);
        return prompts.count() ? prompts.last().text : QString();
    }
    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QStringList dataFolderFiles() const { return QDir(folder() + "data").entryList(QDir::Files | QDir::Hidden); }

    // Which data the file holds: "current" (with the row added after the
    // backup), "restored" (without it), or why it is no whole database.
    static QString dataIn(const QString& file)
    {
        if (!QFileInfo::exists(file))
            return QStringLiteral("no file");
        try {
            CheckKeyedDatabase(file);
            db::Connection c;
            c.open(file, databaseKey());
            return c.scalar(QStringLiteral("select count(*) from employee where empl_code='LATER'")).toInt() == 1
                       ? QStringLiteral("current")
                       : QStringLiteral("restored");
        } catch (const db::Error& e) {
            return e.message();
        }
    }
    static void copyFiles(const QString& from, const QString& to, const QString& except)
    {
        for (const QString& name : QDir(from).entryList(QDir::Files | QDir::Hidden))
            if (name != except)
                QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name));
    }

    QTemporaryDir backups;
    std::function<void(db::Connection&, const QString&)> savedReopen;
    std::function<void()> savedStep;
};

TEST_F(RestoreFormTest, OpensWithTheNamedControls)
{
    TFrmRestore f;
    EXPECT_EQ(f.objectName(), "FrmRestore");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("数据恢复"));
    EXPECT_EQ(f.promptLabel->text(), QStringLiteral("请选择已经备份的文件"));
    EXPECT_EQ(f.cmd_add->text(), QStringLiteral("恢复"));
    EXPECT_EQ(f.BitBtn1->text(), QStringLiteral("退出"));
    EXPECT_EQ(f.findChild<QListWidget*>("FB"), f.FB);
}

TEST_F(RestoreFormTest, TheRestoreButtonFollowsTheAddRightAtPosition38)
{
    PowAdd = QString(37, u'1') + "0";
    TFrmRestore refused;
    EXPECT_FALSE(refused.cmd_add->isEnabled());
    PowAdd = QString(37, u'0') + "1";
    TFrmRestore granted;
    EXPECT_TRUE(granted.cmd_add->isEnabled());
}

TEST_F(RestoreFormTest, TheFileListFollowsTheChosenFolder)
{
    backUpNow();
    writeFile(QDir(backups.path()).filePath("other.db"), "x");
    writeFile(QDir(backups.path()).filePath("notes.txt"), "x");
    TFrmRestore f;
    testui::PromptResponder prompts;
    prompts.expect(Kind::Folder, {ui::Answer::Ok, backups.path()});
    QTest::mouseClick(f.cmd_browse, Qt::LeftButton);
    ASSERT_EQ(f.FB->count(), 2);
    EXPECT_EQ(f.FB->item(0)->text(), "orbenta.db");
    EXPECT_EQ(f.FB->item(1)->text(), "other.db");
}

TEST_F(RestoreFormTest, RestoreBringsBackTheBackedUpDataAndTheProgramKeepsWorking)
{
    backUpNow();
    addLaterRow();
    dataMod().EmployeeQ.setSql(QStringLiteral("select * from employee"));
    dataMod().EmployeeQ.open();

    EXPECT_EQ(restore(backups.path()), QStringLiteral("数据恢复完毕"));

    ASSERT_TRUE(conn().isOpen());
    EXPECT_EQ(count("employee", "empl_code='LATER'"), 0);
    EXPECT_EQ(count("employee", "empl_code='R1'"), 1);
    // Every query was closed with the old file; they open again on the new one.
    for (db::Dataset* q : dataMod().queries())
        EXPECT_FALSE(q->isActive()) << q->name().toStdString();
    db::Dataset& staff = dataMod().EmployeeQ;
    staff.open();
    EXPECT_FALSE(staff.locate(QStringLiteral("empl_code"), QStringLiteral("LATER")));
    EXPECT_TRUE(staff.locate(QStringLiteral("empl_code"), QStringLiteral("R1")));
    exec("insert into employee (empl_code, empl_name) values ('AFTER', '恢复后')");
    EXPECT_EQ(count("employee", "empl_code='AFTER'"), 1);
    // Nothing is left beside the database.
    EXPECT_EQ(dataFolderFiles(), QStringList{"orbenta.db"});
}

TEST_F(RestoreFormTest, TheUsersFormShowsTheRestoredUsers)
{
    exec("insert into powers (user_id, password, pow_use) values ('R1', 'x', '1')");
    backUpNow();
    exec("delete from powers where user_id='R1'");
    ASSERT_EQ(restore(backups.path()), QStringLiteral("数据恢复完毕"));
    TFrmPower f;
    EXPECT_EQ(dataMod().PowerQ.recordCount(), 2);
    ASSERT_TRUE(dataMod().PowerQ.locate(QStringLiteral("user_id"), QStringLiteral("R1")));
    EXPECT_EQ(dataMod().PowerQ.asString(QStringLiteral("user_name")), QStringLiteral("备份里"));
}

TEST_F(RestoreFormTest, AFolderWithoutDatabaseFilesHasNothingToRestore)
{
    addLaterRow();
    EXPECT_EQ(restore(backups.path()), QStringLiteral("无数据可恢复"));
    EXPECT_EQ(count("employee", "empl_code='LATER'"), 1);
}

TEST_F(RestoreFormTest, ADatabaseFileOfAnotherNameIsNoBackup)
{
    backUpNow();
    ASSERT_TRUE(QFile::rename(backupPath(), QDir(backups.path()).filePath("copy.db")));
    addLaterRow();
    const QString shown = restore(backups.path());
    EXPECT_TRUE(shown.startsWith(QStringLiteral("数据恢复错误"))) << shown.toStdString();
    EXPECT_EQ(count("employee", "empl_code='LATER'"), 1);
}

TEST_F(RestoreFormTest, AFileThatIsNoKeyedDatabaseIsRefusedAndTheCurrentDataStays)
{
    struct Case {
        const char* name;
        std::function<void(const QString&)> make;
    };
    const Case cases[] = {
        {"text file", [](const QString& p) { writeFile(p, "这不是数据库"); }},
        {"another key",
         [](const QString& p) {
             db::Connection other;
             other.create(p, QByteArray("another key"));
             other.execute(QStringLiteral("create table powers (user_id text)"));
         }},
        {"keyed but not ours",
         [](const QString& p) {
             db::Connection other;
             other.create(p, databaseKey());
             other.execute(QStringLiteral("create table something (x int)"));
         }},
    };
    addLaterRow();
    db::Dataset& staff = dataMod().EmployeeQ;
    staff.setSql(QStringLiteral("select * from employee"));
    staff.open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(backupPath());
        c.make(backupPath());
        const QString shown = restore(backups.path());
        EXPECT_TRUE(shown.startsWith(QStringLiteral("数据恢复错误"))) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("当前数据未改动"))) << shown.toStdString();
        ASSERT_TRUE(conn().isOpen());
        EXPECT_EQ(count("employee", "empl_code='LATER'"), 1);
        EXPECT_TRUE(staff.isActive());
        EXPECT_EQ(dataFolderFiles(), QStringList{"orbenta.db"});
    }
}

TEST_F(RestoreFormTest, AFailedReopeningPutsThePreviousDatabaseBack)
{
    backUpNow();
    addLaterRow();
    int attempts = 0;
    ReopenDatabase = [&attempts](db::Connection& c, const QString& path) {
        if (++attempts == 1)
            throw db::Error(db::Error::Kind::Engine, QStringLiteral("磁盘错误"));
        c.open(path, databaseKey());
    };
    const QString shown = restore(backups.path());
    EXPECT_TRUE(shown.startsWith(QStringLiteral("数据恢复错误"))) << shown.toStdString();
    EXPECT_EQ(attempts, 2);
    ASSERT_TRUE(conn().isOpen());
    EXPECT_EQ(count("employee", "empl_code='LATER'"), 1);
    EXPECT_EQ(dataFolderFiles(), QStringList{"orbenta.db"});
}

TEST_F(RestoreFormTest, APreviousDatabaseThatCannotGoBackIsKeptAndStaysInUse)
{
    backUpNow();
    addLaterRow();
    int attempts = 0;
    // The restored file fails to open, and a folder now stands where the
    // previous file should go back.
    ReopenDatabase = [&attempts](db::Connection& c, const QString& path) {
        if (++attempts == 1) {
            QFile::remove(path);
            QDir().mkpath(path + "/blocked");
            throw db::Error(db::Error::Kind::Engine, QStringLiteral("磁盘错误"));
        }
        c.open(path, databaseKey());
    };
    const QString shown = restore(backups.path());
    EXPECT_TRUE(shown.startsWith(QStringLiteral("数据恢复错误"))) << shown.toStdString();
    const QStringList kept = QDir(folder() + "data").entryList({"orbenta.db.previous.*"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1) << "the previous data was deleted";
    EXPECT_TRUE(shown.contains(kept.front())) << shown.toStdString();
    ASSERT_TRUE(conn().isOpen());
    EXPECT_EQ(count("employee", "empl_code='LATER'"), 1);
}

TEST_F(RestoreFormTest, ACrashAtAnyStepLeavesAWholeDatabaseInPlace)
{
    backUpNow();
    addLaterRow();
    const QFileDevice::Permissions permissions = QFileInfo(databasePath()).permissions();
    QStringList found;
    AfterFileStep = [&found, this] { found << dataIn(databasePath()); };
    EXPECT_EQ(restore(backups.path()), QStringLiteral("数据恢复完毕"));
    ASSERT_FALSE(found.isEmpty());
    for (const QString& data : found)
        EXPECT_TRUE(data == "current" || data == "restored") << data.toStdString();
    EXPECT_EQ(found.last(), "restored");
    // Whoever could open the database before can open the restored one.
    EXPECT_EQ(QFileInfo(databasePath()).permissions(), permissions);
}

TEST_F(RestoreFormTest, WhatAnInterruptedRestoreLeftGoesAtTheNextRestoreAndNothingElse)
{
    backUpNow();
    const QString data = folder() + "data";
    // What a crash at each step would leave beside the database, kept aside.
    QTemporaryDir crashed;
    AfterFileStep = [&] { copyFiles(data, crashed.path(), "orbenta.db"); };
    ASSERT_EQ(restore(backups.path()), QStringLiteral("数据恢复完毕"));
    AfterFileStep = [] {};
    copyFiles(crashed.path(), data, QString());
    const QStringList others{"orbenta.db.bak", "orbenta.db.previous.tmp", "orbenta.db.previous.ABCDEF.tmp.txt",
                             "other.db.previous.ABCDEF.tmp", "orbenta.db.ABCDEF"};
    for (const QString& name : others)
        writeFile(QDir(data).filePath(name), "x");
    ASSERT_GT(dataFolderFiles().size(), others.size() + 1) << "nothing was left";

    addLaterRow();
    ASSERT_EQ(restore(backups.path()), QStringLiteral("数据恢复完毕"));
    QStringList expected = others;
    expected << "orbenta.db";
    expected.sort();
    QStringList left = dataFolderFiles();
    left.sort();
    EXPECT_EQ(left, expected);
    EXPECT_EQ(count("employee", "empl_code='LATER'"), 0);
}

TEST_F(RestoreFormTest, NoRestoreWhileAWriteIsInProgress)
{
    backUpNow();
    db::Transaction writing(conn());
    addLaterRow();
    EXPECT_TRUE(restore(backups.path()).startsWith(QStringLiteral("数据恢复错误")));
    writing.commit();
    EXPECT_EQ(count("employee", "empl_code='LATER'"), 1);
}

TEST_F(RestoreFormTest, AJournalBesideTheDatabaseStopsTheSwap)
{
    backUpNow();
    addLaterRow();
    writeFile(databasePath() + "-journal", QByteArray());
    EXPECT_TRUE(restore(backups.path()).startsWith(QStringLiteral("数据恢复错误")));
    QFile::remove(databasePath() + "-journal");
    ASSERT_TRUE(conn().isOpen());
    EXPECT_EQ(count("employee", "empl_code='LATER'"), 1);
}

TEST_F(RestoreFormTest, TheDatabaseCannotBeRestoredFromItself)
{
    addLaterRow();
    EXPECT_TRUE(restore(folder() + "data").startsWith(QStringLiteral("数据恢复错误")));
    EXPECT_EQ(count("employee", "empl_code='LATER'"), 1);
}

} // namespace
