#include "core/Ubackup.h"

#include "tests/support/PromptResponder.h"
#include "tests/support/TestDb.h"

#include "core/DbConfig.h"
#include "core/Upublic.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Kind = ui::PromptRequest::Kind;

class BackupFormTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        ASSERT_TRUE(target.isValid());
        grantAllRights();
        exec("insert into employee (empl_code, empl_name) values ('B1', '备份前')");
        savedStep = AfterFileStep;
    }
    void TearDown() override
    {
        AfterFileStep = savedStep;
        TestDb::TearDown();
    }

    QString backupPath() const { return QDir(target.path()).filePath(QStringLiteral("orbenta.db")); }

    // Chooses the folder through the 浏览 button, as a user would.
    static void chooseFolder(DatabaseFolderForm& f, const QString& folder)
    {
        testui::PromptResponder prompts;
        prompts.expect(Kind::Folder, {ui::Answer::Ok, folder});
        QTest::mouseClick(f.cmd_browse, Qt::LeftButton);
        EXPECT_EQ(prompts.last().caption, f.promptLabel->text());
    }
    // Presses 备份 and returns the message it showed.
    static QString backUp(TFrmBackUp& f)
    {
        testui::PromptResponder prompts;
        prompts.expect(Kind::Message);
        QTest::mouseClick(f.cmd_add, Qt::LeftButton);
        return prompts.count() ? prompts.last().text : QString();
    }
    // Employees of the keyed database file named, as a check that it opens.
    static int employeesIn(const QString& file, const QString& code)
    {
        db::Connection c;
        c.open(file, databaseKey());
        return int(c.scalar(QStringLiteral("select count(*) from employee where empl_code=:c"), {{"c", code}}).toLongLong());
    }
    static QStringList filesIn(const QString& folder)
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    static void copyFiles(const QString& from, const QString& to, const QString& except)
    {
        for (const QString& name : filesIn(from))
            if (name != except)
                QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name));
    }

    QTemporaryDir target;
    std::function<void()> savedStep;
};

TEST_F(BackupFormTest, OpensWithTheNamedControls)
{
    TFrmBackUp f;
    EXPECT_EQ(f.objectName(), "FrmBackUp");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("数据库备份"));
    EXPECT_EQ(f.promptLabel->text(), QStringLiteral("请选择备份路径"));
    EXPECT_EQ(f.cmd_add->text(), QStringLiteral("备份"));
    EXPECT_EQ(f.BitBtn1->text(), QStringLiteral("退出"));
    EXPECT_EQ(f.findChild<QComboBox*>("DC"), f.DC);
    EXPECT_EQ(f.findChild<QLineEdit*>("DL"), f.DL);
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
}

TEST_F(BackupFormTest, TheBackupButtonFollowsTheAddRightAtPosition37)
{
    PowAdd = QString(36, u'1') + "01";
    TFrmBackUp refused;
    EXPECT_FALSE(refused.cmd_add->isEnabled());
    PowAdd = QString(36, u'0') + "1";
    TFrmBackUp granted;
    EXPECT_TRUE(granted.cmd_add->isEnabled());
}

TEST_F(BackupFormTest, BackupWritesACopyThatOpensWithTheKey)
{
    TFrmBackUp f;
    chooseFolder(f, target.path());
    EXPECT_EQ(f.folder(), target.path());
    EXPECT_EQ(backUp(f), QStringLiteral("数据备份完毕"));
    ASSERT_TRUE(QFile::exists(backupPath()));
    EXPECT_EQ(employeesIn(backupPath(), "B1"), 1);
    EXPECT_EQ(filesIn(target.path()), QStringList{"orbenta.db"});
    // The connection was not disturbed.
    EXPECT_EQ(count("employee", "empl_code='B1'"), 1);
    EXPECT_EQ(conn().transactionDepth(), 0);
}

TEST_F(BackupFormTest, BackingUpTwiceLeavesOneNewerCopy)
{
    TFrmBackUp f;
    chooseFolder(f, target.path());
    ASSERT_EQ(backUp(f), QStringLiteral("数据备份完毕"));
    exec("insert into employee (empl_code, empl_name) values ('B2', '第二次')");
    ASSERT_EQ(backUp(f), QStringLiteral("数据备份完毕"));
    EXPECT_EQ(filesIn(target.path()), QStringList{"orbenta.db"});
    EXPECT_EQ(employeesIn(backupPath(), "B2"), 1);
}

TEST_F(BackupFormTest, NoBackupWhileAWriteIsInProgress)
{
    TFrmBackUp f;
    chooseFolder(f, target.path());
    db::Transaction writing(conn());
    exec("insert into employee (empl_code, empl_name) values ('B3', '未提交')");
    const QString shown = backUp(f);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("数据备份错误"))) << shown.toStdString();
    EXPECT_TRUE(filesIn(target.path()).isEmpty());
    writing.commit();
    EXPECT_EQ(count("employee", "empl_code='B3'"), 1);
}

TEST_F(BackupFormTest, TheDatabasesOwnFolderIsRefusedAndTheDatabaseKeepsWorking)
{
    TFrmBackUp f;
    f.DL->setText(QDir::toNativeSeparators(folder() + "data"));
    const QString shown = backUp(f);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("数据备份错误"))) << shown.toStdString();
    EXPECT_EQ(filesIn(folder() + "data"), QStringList{"orbenta.db"});
    exec("insert into employee (empl_code, empl_name) values ('B4', '之后')");
    conn().close();
    EXPECT_EQ(employeesIn(databasePath(), "B4"), 1);
}

TEST_F(BackupFormTest, AFolderThatDoesNotExistIsReported)
{
    TFrmBackUp f;
    f.DL->setText(QDir(target.path()).filePath("missing"));
    EXPECT_TRUE(backUp(f).startsWith(QStringLiteral("数据备份错误")));
    EXPECT_FALSE(QDir(target.path()).exists("missing"));
}

TEST_F(BackupFormTest, AnEarlierBackupStaysWhenTheNewCopyFails)
{
    TFrmBackUp f;
    chooseFolder(f, target.path());
    ASSERT_EQ(backUp(f), QStringLiteral("数据备份完毕"));
    // A database that no longer opens with the key cannot make a backup.
    conn().close();
    {
        QFile damaged(databasePath());
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write("not a database");
    }
    EXPECT_TRUE(backUp(f).startsWith(QStringLiteral("数据备份错误")));
    EXPECT_EQ(employeesIn(backupPath(), "B1"), 1);
    EXPECT_EQ(filesIn(target.path()), QStringList{"orbenta.db"});
}

TEST_F(BackupFormTest, ABackupThatCannotTakeItsPlaceIsReportedInChinese)
{
    // A folder of the backup's name holds the place the copy would take.
    ASSERT_TRUE(QDir(target.path()).mkpath(QStringLiteral("orbenta.db/kept")));
    TFrmBackUp f;
    chooseFolder(f, target.path());
    const QString shown = backUp(f);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("数据备份错误"))) << shown.toStdString();
    // The words before the file's path, which may be spelt in any letters.
    const QString words = shown.left(shown.lastIndexOf(QDir::toNativeSeparators(backupPath())));
    EXPECT_FALSE(words.contains(QRegularExpression(QStringLiteral("[A-Za-z]")))) << shown.toStdString();
    EXPECT_TRUE(QDir(backupPath()).exists(QStringLiteral("kept")));
}

TEST_F(BackupFormTest, WhatAnInterruptedBackupLeftGoesAtTheNextBackupAndNothingElse)
{
    TFrmBackUp f;
    chooseFolder(f, target.path());
    // What a crash at each step would leave in the folder, kept aside.
    QTemporaryDir crashed;
    AfterFileStep = [&] { copyFiles(target.path(), crashed.path(), "orbenta.db"); };
    ASSERT_EQ(backUp(f), QStringLiteral("数据备份完毕"));
    AfterFileStep = [] {};
    copyFiles(crashed.path(), target.path(), QString());
    const QStringList others{"orbenta.db.bak", "orbenta.db.copying.tmp", "orbenta.db.copying.ABCDEF.tmp.txt",
                             "other.db.copying.ABCDEF.tmp", "orbenta.db.ABCDEF"};
    for (const QString& name : others) {
        QFile file(QDir(target.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_GT(filesIn(target.path()).size(), others.size() + 1) << "no copy was left";

    ASSERT_EQ(backUp(f), QStringLiteral("数据备份完毕"));
    QStringList expected = others;
    expected << "orbenta.db";
    expected.sort();
    EXPECT_EQ(filesIn(target.path()), expected);
    EXPECT_EQ(employeesIn(backupPath(), "B1"), 1);
}

TEST_F(BackupFormTest, ChoosingADriveShowsItsRootInTheFolderBox)
{
    TFrmBackUp f;
    ASSERT_GT(f.DC->count(), 0);
    f.DL->setText(target.path());
    f.DC->setCurrentIndex(0);
    f.DCChange();
    EXPECT_EQ(f.DL->text(), f.DC->itemText(0));
}

TEST_F(BackupFormTest, CancellingTheFolderChoiceKeepsTheFolder)
{
    TFrmBackUp f;
    f.DL->setText(target.path());
    testui::PromptResponder prompts;
    prompts.expect(Kind::Folder, {ui::Answer::Cancel});
    QTest::mouseClick(f.cmd_browse, Qt::LeftButton);
    EXPECT_EQ(f.DL->text(), target.path());
}

TEST_F(BackupFormTest, ExitClosesTheForm)
{
    TFrmBackUp f;
    f.show();
    QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
}

} // namespace
