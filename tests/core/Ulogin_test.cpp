#include "core/DbConfig.h"
#include "core/Ulogin.h"
#include "core/Upublic.h"
#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"
#include "tests/support/TestDb.h"

#include "platform/sys/IniFile.h"
#include "platform/ui/EnterAsTab.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace {

using Kind = ui::PromptRequest::Kind;

const QString kAllRights = QStringLiteral("11111111111111111111111111111111111111");
const QString kWrong = QStringLiteral("用户名或密码错误！");
const QString kCannotOpen = QStringLiteral("数据库无法打开");
const QString kServerPrompt = QStringLiteral("请输入数据库所在服务器名称或地址：");

// Whether the application has been asked to end: an event loop started now
// returns at once instead of running until its own exit.
bool applicationAskedToEnd()
{
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&loop] { loop.exit(1); });
    return loop.exec() != 1;
}

// Forgets a request to end, so that later tests' event loops run: the
// application's own loop clears it as it starts and as it ends.
void forgetRequestToEnd()
{
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

// The login window over a fresh database whose connection is still closed,
// as it stands at start-up.
class Login : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        conn().close();
        ResetProgramState();
        TerminateRequested = false;
        savedHalt = HaltProcess;
        HaltProcess = [this](int code) { haltCode = code; };
        form = std::make_unique<TFrmLogin>();
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override
    {
        form.reset();
        if (TerminateRequested)
            forgetRequestToEnd();
        HaltProcess = savedHalt;
        TerminateRequested = false;
        ResetProgramState();
        TestDb::TearDown();
    }

    // Replaces what the boxes hold by the typed name and password.
    void type(const QString& user, const QString& password)
    {
        form->Edit1->clear();
        form->Edit2->clear();
        testui::typeText(form->Edit1, user);
        testui::typeText(form->Edit2, password);
    }
    void pressOk() { QTest::mouseClick(form->cmd_ok, Qt::LeftButton); }
    void attempt(const QString& user, const QString& password)
    {
        type(user, password);
        pressOk();
    }

    bool loggedIn() const { return form->result() == QDialog::Accepted && !form->isVisible(); }
    QString savedDataSource() const
    {
        return sys::IniFile(folder() + QStringLiteral("system.ini"))
            .readString(QStringLiteral("nettype"), QStringLiteral("datasource"), QString());
    }
    void writeDataSource(const QString& source)
    {
        sys::IniFile(folder() + QStringLiteral("system.ini"))
            .writeString(QStringLiteral("nettype"), QStringLiteral("datasource"), source);
    }
    // Runs statements on the database while the login's connection is closed.
    void prepare(const QString& sql)
    {
        conn().open(databasePath(), databaseKey());
        exec(sql);
        conn().close();
    }
    void expectNotLoggedIn()
    {
        EXPECT_FALSE(loggedIn());
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(CurrentUser, QString());
        EXPECT_EQ(PowUse, QString());
    }

    std::unique_ptr<TFrmLogin> form;
    std::function<void(int)> savedHalt;
    std::optional<int> haltCode;
};

TEST_F(Login, StartsUnconnectedOnTheLocalFile)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("用户登录"));
    EXPECT_EQ(form->size(), QSize(250, 160));
    EXPECT_EQ(form->Edit2->echoMode(), QLineEdit::Password);
    testui::typeText(form->Edit2, "abc");
    EXPECT_EQ(form->Edit2->displayText(), "***");
    EXPECT_EQ(form->cmd_ok->text(), QStringLiteral("确定[&O]"));
    EXPECT_EQ(form->cmd_close->text(), QStringLiteral("关闭[&X]"));
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(NetType, QStringLiteral("single"));
    EXPECT_FALSE(DbConnected);
    EXPECT_EQ(LoginAttempts, 1);
    EXPECT_FALSE(conn().isOpen());
}

TEST_F(Login, TheFirstUserLogsInAndGetsEveryRight)
{
    attempt("admin", "admin");
    ASSERT_TRUE(loggedIn());
    for (const QString* rights : {&PowUse, &PowAdd, &PowEdit, &PowDele, &PowChek, &PowFind, &PowPrin})
        EXPECT_EQ(*rights, kAllRights);
    EXPECT_EQ(CurrentUser, QStringLiteral("admin"));
    EXPECT_TRUE(DbConnected);
    EXPECT_TRUE(conn().isOpen());
    EXPECT_EQ(conn().path(), databasePath());
    EXPECT_FALSE(TerminateRequested);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Login, ADatabaseOfAnEarlierVersionGainsTheIndexesItLacks)
{
    // A table gone from a damaged file keeps its index out, not the others.
    prepare("drop index idx_insifee_stylist_type_date; drop index idx_outmain_rela_type_date; drop table storchek");
    attempt("admin", "admin");
    ASSERT_TRUE(loggedIn());
    EXPECT_EQ(count("sqlite_master",
                    "type='index' and name in ('idx_insifee_stylist_type_date','idx_outmain_rela_type_date')"),
              2);
    EXPECT_EQ(conn().transactionDepth(), 0);
}

TEST_F(Login, RecordsTheFullPathOfTheLocalFile)
{
    writeDataSource("elsewhere");
    attempt("admin", "admin");
    ASSERT_TRUE(loggedIn());
    EXPECT_EQ(savedDataSource(), QDir(folder()).filePath("data/orbenta.db"));
}

TEST_F(Login, CopiesLeftByAnInterruptedBackupOrRestoreGoOnceTheDatabaseOpens)
{
    const QDir data(folder() + "data");
    // As a backup or a restore names its copies and the database it puts aside.
    const QStringList leftovers{"orbenta.db.copying.QwErTy.tmp", "orbenta.db.previous.AsDfGh.tmp"};
    const QStringList others{"orbenta.db.bak", "orbenta.db.copying.tmp", "orbenta.db.previous.AsDfGh.tmp.txt",
                             "other.db.copying.QwErTy.tmp", "orbenta.db.QwErTy"};
    for (const QString& name : leftovers + others) {
        QFile file(data.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    attempt("admin", "admin");
    ASSERT_TRUE(loggedIn());
    QStringList expected = others;
    expected << "orbenta.db";
    expected.sort();
    EXPECT_EQ(data.entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
}

TEST_F(Login, EachRightsColumnFillsItsOwnString)
{
    prepare("insert into powers (user_id, password, pow_use, pow_add, pow_edit, pow_dele, pow_chek, pow_find, pow_prin)"
            " values ('张三', '密码', '1', '01', '001', '0001', '00001', '000001', '0000001')");
    attempt("张三", "密码");
    ASSERT_TRUE(loggedIn());
    EXPECT_EQ(PowUse, QStringLiteral("1"));
    EXPECT_EQ(PowAdd, QStringLiteral("01"));
    EXPECT_EQ(PowEdit, QStringLiteral("001"));
    EXPECT_EQ(PowDele, QStringLiteral("0001"));
    EXPECT_EQ(PowChek, QStringLiteral("00001"));
    EXPECT_EQ(PowFind, QStringLiteral("000001"));
    EXPECT_EQ(PowPrin, QStringLiteral("0000001"));
    EXPECT_EQ(CurrentUser, QStringLiteral("张三"));
}

TEST_F(Login, AUserWithoutRightsLogsInWithEmptyStrings)
{
    PowUse = QStringLiteral("stale");
    prepare("insert into powers (user_id, password) values ('clerk', 'pw')");
    attempt("clerk", "pw");
    ASSERT_TRUE(loggedIn());
    for (const QString* rights : {&PowUse, &PowAdd, &PowEdit, &PowDele, &PowChek, &PowFind, &PowPrin})
        EXPECT_EQ(*rights, QString());
    EXPECT_EQ(CurrentUser, QStringLiteral("clerk"));
}

TEST_F(Login, AUserSavedWithoutAPasswordLogsInWithAnEmptyOne)
{
    prepare("insert into powers (user_id, password) values ('clerk', null)");
    attempt("clerk", "");
    ASSERT_TRUE(loggedIn());
    EXPECT_EQ(CurrentUser, QStringLiteral("clerk"));
}

TEST_F(Login, EnterInThePasswordBoxCountsAsOk)
{
    type("admin", "admin");
    form->Edit2->setFocus();
    QTest::keyClick(form->Edit2, Qt::Key_Return);
    EXPECT_TRUE(loggedIn());
    EXPECT_EQ(CurrentUser, QStringLiteral("admin"));
    EXPECT_EQ(LoginAttempts, 2);
}

TEST_F(Login, EnterCountsOnceWithEnterAsTabInstalled)
{
    ui::EnterAsTab enterAsTab;
    testui::PromptResponder prompts;
    prompts.expect(kWrong);
    type("admin", "wrong");
    form->Edit2->setFocus();
    QTest::keyClick(form->Edit2, Qt::Key_Return);
    prompts.verify();
    EXPECT_EQ(LoginAttempts, 2);
    expectNotLoggedIn();
    // The message took the Enter's Tab: the user name box keeps the focus.
    EXPECT_EQ(QApplication::focusWidget(), form->Edit1);
}

TEST_F(Login, TypedNamesAndPasswordsAreTrimmed)
{
    attempt("  admin ", " admin  ");
    ASSERT_TRUE(loggedIn());
    EXPECT_EQ(CurrentUser, QStringLiteral("admin"));
}

TEST_F(Login, RefusesWhatDoesNotMatchExactly)
{
    struct Row {
        const char* name;
        const char* user;
        const char* password;
    };
    const Row rows[] = {
        {"wrong password", "admin", "secret"},
        {"unknown user", "nobody", "admin"},
        {"name in other case", "ADMIN", "admin"},
        {"password in other case", "admin", "Admin"},
        {"quote trick as name", "' or '1'='1", "x"},
        {"quote trick as password", "admin", "' or '1'='1"},
        {"quote trick in both", "' or '1'='1", "' or '1'='1"},
        {"empty", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        form = std::make_unique<TFrmLogin>();
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        testui::PromptResponder prompts;
        prompts.expect(Kind::Message, kWrong);
        type(QString::fromUtf8(row.user), QString::fromUtf8(row.password));
        form->Edit2->setFocus();
        pressOk();
        prompts.verify();
        expectNotLoggedIn();
        EXPECT_EQ(QApplication::focusWidget(), form->Edit1);
        EXPECT_EQ(form->Edit1->text(), QString::fromUtf8(row.user));
        EXPECT_EQ(form->Edit2->text(), QString::fromUtf8(row.password));
        EXPECT_TRUE(DbConnected);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

// A refused entry reads like every other refusal of the program, and a
// database that will not open like every other failure.
TEST_F(Login, ARefusalAndAFailureEachShowTheirKindsCaptionAndIcon)
{
    testui::PromptResponder prompts;
    ASSERT_TRUE(QFile::rename(databasePath(), databasePath() + ".away"));
    prompts.expect(Kind::Error, kCannotOpen);
    attempt("admin", "admin");
    EXPECT_EQ(prompts.last().caption, QCoreApplication::applicationName());
    EXPECT_EQ(prompts.last().icon, ui::Icon::Critical);

    ASSERT_TRUE(QFile::rename(databasePath() + ".away", databasePath()));
    prompts.expect(Kind::Message, kWrong);
    attempt("admin", "wrong");
    EXPECT_EQ(prompts.last().caption, QStringLiteral("提示"));
    EXPECT_EQ(prompts.last().icon, ui::Icon::Warning);
}

TEST_F(Login, TwoWrongThenRightLogsInAndEndsTheProgram)
{
    testui::PromptResponder prompts;
    prompts.expect(kWrong).expect(kWrong);
    attempt("admin", "one");
    EXPECT_FALSE(TerminateRequested);
    attempt("admin", "two");
    EXPECT_FALSE(TerminateRequested);
    EXPECT_FALSE(applicationAskedToEnd());
    expectNotLoggedIn();
    attempt("admin", "admin");
    EXPECT_TRUE(loggedIn());
    EXPECT_EQ(PowUse, kAllRights);
    EXPECT_EQ(CurrentUser, QStringLiteral("admin"));
    EXPECT_TRUE(TerminateRequested);
    EXPECT_TRUE(applicationAskedToEnd());
    EXPECT_EQ(LoginAttempts, 4);
}

TEST_F(Login, TheThirdPressEndsTheProgramWhateverItsResult)
{
    testui::PromptResponder prompts;
    prompts.expect(kWrong).expect(kWrong).expect(kWrong);
    attempt("admin", "one");
    attempt("admin", "two");
    EXPECT_FALSE(TerminateRequested);
    attempt("admin", "three");
    EXPECT_TRUE(TerminateRequested);
    EXPECT_TRUE(applicationAskedToEnd());
    expectNotLoggedIn();
}

TEST_F(Login, ARequestToEndCanBeForgottenForTheNextTest)
{
    RequestTerminate();
    ASSERT_TRUE(applicationAskedToEnd());
    forgetRequestToEnd();
    EXPECT_FALSE(applicationAskedToEnd());
}

TEST_F(Login, AMissingDatabaseFileIsReportedAndNothingMore)
{
    ASSERT_TRUE(QFile::rename(databasePath(), databasePath() + ".away"));
    {
        testui::PromptResponder prompts;
        prompts.expect(Kind::Error, kCannotOpen);
        attempt("admin", "admin");
        prompts.verify();
        EXPECT_TRUE(prompts.last().text.startsWith(kCannotOpen));
        EXPECT_FALSE(DbConnected);
        expectNotLoggedIn();
        EXPECT_EQ(savedDataSource(), QString());
    }
    // The next press tries afresh.
    ASSERT_TRUE(QFile::rename(databasePath() + ".away", databasePath()));
    pressOk();
    EXPECT_TRUE(loggedIn());
    EXPECT_EQ(CurrentUser, QStringLiteral("admin"));
}

TEST_F(Login, AFileThatWillNotOpenIsReported)
{
    struct Row {
        const char* name;
        std::function<void(const QString& path)> make;
    };
    const Row rows[] = {
        {"keyed with another password",
         [](const QString& path) {
             db::Connection other;
             other.create(path, QByteArrayLiteral("otherkey"));
             other.execute("create table powers (user_id text, password text)");
         }},
        {"damaged",
         [](const QString& path) {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write(QByteArray(4096, '\x5a'));
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(QFile::remove(databasePath()));
        row.make(databasePath());
        testui::PromptResponder prompts;
        prompts.expect(Kind::Error, kCannotOpen);
        attempt("admin", "admin");
        prompts.verify();
        EXPECT_FALSE(DbConnected);
        EXPECT_FALSE(conn().isOpen());
        expectNotLoggedIn();
    }
}

TEST_F(Login, AWriteProtectedDatabaseIsReportedAndNotAccepted)
{
    struct Row {
        const char* name;
        QString path;
        const char* says;
    };
    const Row rows[] = {
        {"file", databasePath(), "数据库文件是只读的"},
        {"folder", QFileInfo(databasePath()).absolutePath(), "数据库所在的文件夹是只读的"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (!writeProtect(row.path))
            GTEST_SKIP() << "nothing here can write-protect " << row.path.toStdString();
        testui::PromptResponder prompts;
        prompts.expect(Kind::Error, kCannotOpen);
        attempt("admin", "admin");
        prompts.verify();
        EXPECT_TRUE(prompts.last().text.startsWith(kCannotOpen + u'\n' + QString::fromUtf8(row.says)))
            << prompts.last().text.toStdString();
        EXPECT_FALSE(DbConnected);
        EXPECT_FALSE(conn().isOpen());
        expectNotLoggedIn();
        liftWriteProtection();
    }
}

TEST_F(Login, AMissingPowersTableIsADatabaseError)
{
    prepare("drop table powers");
    testui::PromptResponder prompts;
    prompts.expect(Kind::Error, kCannotOpen);
    attempt("admin", "admin");
    prompts.verify();
    EXPECT_FALSE(DbConnected); // nobody can log into it: it is not the program's database
    expectNotLoggedIn();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// A file in place of the database that holds none of it (a copy cut short)
// is no connection: nothing is recorded, the database a restore kept aside
// stays, and the next press opens the real file once it is back.
TEST_F(Login, AFileWithoutTheProgramsDatabaseIsNoConnection)
{
    struct Row {
        const char* name;
        std::function<void(const QString& path)> make;
    };
    const Row rows[] = {
        {"empty", [](const QString& path) { ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly)); }},
        {"another program's",
         [](const QString& path) {
             db::Connection other;
             other.create(path, databaseKey());
             other.execute("create table notes (note text)");
         }},
    };
    const QString kept = folder() + "data/orbenta.db.previous.AsDfGh.tmp";
    ASSERT_TRUE(QFile::copy(databasePath(), kept));
    const auto contents = [this] {
        QFile f(databasePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("unreadable");
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(QFile::rename(databasePath(), databasePath() + ".away"));
        row.make(databasePath());
        const QByteArray before = contents();
        testui::PromptResponder prompts;
        prompts.expect(Kind::Error, kCannotOpen);
        attempt("admin", "admin");
        prompts.verify();
        EXPECT_TRUE(prompts.last().text.startsWith(kCannotOpen + u'\n')) << prompts.last().text.toStdString();
        EXPECT_FALSE(DbConnected);
        EXPECT_FALSE(conn().isOpen());
        expectNotLoggedIn();
        EXPECT_EQ(savedDataSource(), QString());
        EXPECT_TRUE(QFile::exists(kept));
        EXPECT_EQ(contents(), before);
        ASSERT_TRUE(QFile::remove(databasePath()));
        ASSERT_TRUE(QFile::rename(databasePath() + ".away", databasePath()));
    }
    pressOk();
    EXPECT_TRUE(loggedIn());
    EXPECT_EQ(savedDataSource(), databasePath());
    EXPECT_FALSE(QFile::exists(kept)); // now the database is in place
}

TEST_F(Login, ADatabaseServerIsNotAvailable)
{
    writeDataSource("salon-server");
    NetType = QStringLiteral("cs_server");
    testui::PromptResponder prompts;
    prompts.expect(Kind::Message, kCannotOpen);
    attempt("admin", "admin");
    prompts.verify();
    EXPECT_FALSE(DbConnected);
    EXPECT_FALSE(conn().isOpen());
    expectNotLoggedIn();
    EXPECT_EQ(savedDataSource(), QStringLiteral("salon-server"));
}

TEST_F(Login, AFileServerWithoutADataSourceAsksForIt)
{
    NetType = QStringLiteral("fs_server");
    {
        testui::PromptResponder prompts;
        prompts.expect(Kind::Input, kServerPrompt, {ui::Answer::Cancel});
        attempt("admin", "admin");
        prompts.verify();
        EXPECT_EQ(prompts.last().caption, QStringLiteral("提示"));
        EXPECT_FALSE(DbConnected);
        expectNotLoggedIn();
    }
    {
        testui::PromptResponder prompts;
        prompts.expect(Kind::Input, kServerPrompt, {ui::Answer::Ok, QStringLiteral("   ")});
        pressOk();
        prompts.verify();
        EXPECT_FALSE(DbConnected);
        expectNotLoggedIn();
    }
    {
        testui::PromptResponder prompts;
        prompts.expect(Kind::Input, kServerPrompt, {ui::Answer::Ok, folder() + QStringLiteral("data/")});
        pressOk();
        prompts.verify();
    }
    EXPECT_TRUE(DbConnected);
    EXPECT_EQ(conn().path(), databasePath());
    EXPECT_TRUE(loggedIn());
    EXPECT_EQ(savedDataSource(), databasePath());
}

TEST_F(Login, AFileServerOpensTheRecordedDataSource)
{
    writeDataSource(databasePath());
    NetType = QStringLiteral("fs_server");
    attempt("admin", "admin");
    EXPECT_TRUE(loggedIn());
    EXPECT_EQ(conn().path(), databasePath());
}

TEST_F(Login, CloseEndsTheProcessWithCodeOne)
{
    QTest::mouseClick(form->cmd_close, Qt::LeftButton);
    ASSERT_TRUE(haltCode.has_value());
    EXPECT_EQ(*haltCode, 1);
    EXPECT_FALSE(DbConnected);
}

TEST_F(Login, EscapeDoesNotCloseTheWindow)
{
    QTest::keyClick(form->Edit1, Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(haltCode.has_value());
}

} // namespace
