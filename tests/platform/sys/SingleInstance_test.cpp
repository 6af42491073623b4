#include "platform/sys/SingleInstance.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Another process competing for the same lock (tests/platform/sys/LockHolder.cpp).
class Holder {
public:
    Holder(const QString& name, const QString& directory)
    {
        process_.setProgram(QStringLiteral(LOCK_HOLDER_PATH));
        process_.setArguments({name, directory});
        process_.start();
        if (process_.waitForStarted(10000) && process_.waitForReadyRead(10000))
            answer_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~Holder()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(10000);
        }
    }

    // "acquired" or "refused"; empty when it never answered.
    QString answer() const { return answer_; }

    bool endNormally()
    {
        process_.closeWriteChannel();
        return process_.waitForFinished(10000) && process_.exitStatus() == QProcess::NormalExit;
    }
    bool killHard()
    {
        process_.kill(); // SIGKILL: no destructor, no cleanup of its own
        return process_.waitForFinished(10000) && process_.exitStatus() == QProcess::CrashExit;
    }

private:
    QProcess process_;
    QString answer_;
};

class SingleInstanceTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const QString name = QStringLiteral("lumivexa");
};

TEST_F(SingleInstanceTest, SecondHolderInTheSameProcessIsRefused)
{
    sys::SingleInstance first(name, dir.path());
    sys::SingleInstance second(name, dir.path());
    ASSERT_TRUE(first.tryAcquire());
    EXPECT_TRUE(first.isHeld());
    EXPECT_TRUE(first.tryAcquire()); // asking again keeps it

    EXPECT_FALSE(second.tryAcquire());
    EXPECT_FALSE(second.isHeld());
    EXPECT_TRUE(second.errorString().isEmpty());

    first.release();
    EXPECT_FALSE(first.isHeld());
    EXPECT_TRUE(second.tryAcquire());
}

TEST_F(SingleInstanceTest, DestructionReleases)
{
    {
        sys::SingleInstance scoped(name, dir.path());
        ASSERT_TRUE(scoped.tryAcquire());
    }
    sys::SingleInstance next(name, dir.path());
    EXPECT_TRUE(next.tryAcquire());
}

TEST_F(SingleInstanceTest, NamesAreIndependent)
{
    sys::SingleInstance salon(name, dir.path());
    sys::SingleInstance other(QStringLiteral("another"), dir.path());
    ASSERT_TRUE(salon.tryAcquire());
    EXPECT_TRUE(other.tryAcquire());
    EXPECT_NE(salon.lockFilePath(), other.lockFilePath());
}

TEST_F(SingleInstanceTest, LockFileLivesInTheGivenFolder)
{
    sys::SingleInstance instance(name, dir.path());
    ASSERT_TRUE(instance.tryAcquire());
    EXPECT_TRUE(instance.lockFilePath().startsWith(dir.path() + QLatin1Char('/')));
    EXPECT_TRUE(instance.lockFilePath().contains(name));
    EXPECT_TRUE(QFile::exists(instance.lockFilePath()));
}

TEST_F(SingleInstanceTest, UnusableFolderIsAnErrorNotAnotherCopy)
{
    sys::SingleInstance instance(name, dir.filePath(QStringLiteral("missing/folder")));
    EXPECT_FALSE(instance.tryAcquire());
    EXPECT_FALSE(instance.errorString().isEmpty());
}

TEST_F(SingleInstanceTest, DefaultFolderExists)
{
    EXPECT_TRUE(QFileInfo(sys::SingleInstance::defaultDirectory()).isDir());
}

TEST_F(SingleInstanceTest, AnotherProcessIsRefusedWhileWeHoldIt)
{
    sys::SingleInstance ours(name, dir.path());
    ASSERT_TRUE(ours.tryAcquire());
    Holder other(name, dir.path());
    EXPECT_EQ(other.answer(), "refused");

    ours.release();
    Holder later(name, dir.path());
    EXPECT_EQ(later.answer(), "acquired");
}

TEST_F(SingleInstanceTest, FreeAgainAfterTheHolderEnds)
{
    Holder other(name, dir.path());
    ASSERT_EQ(other.answer(), "acquired");
    sys::SingleInstance ours(name, dir.path());
    EXPECT_FALSE(ours.tryAcquire());
    EXPECT_TRUE(ours.errorString().isEmpty());

    ASSERT_TRUE(other.endNormally());
    EXPECT_TRUE(ours.tryAcquire());
}

TEST_F(SingleInstanceTest, FreeAgainAfterTheHolderIsKilled)
{
    Holder other(name, dir.path());
    ASSERT_EQ(other.answer(), "acquired");
    sys::SingleInstance ours(name, dir.path());
    EXPECT_FALSE(ours.tryAcquire());

    ASSERT_TRUE(other.killHard());
    EXPECT_TRUE(QFile::exists(ours.lockFilePath())); // the stale file is no obstacle
    EXPECT_TRUE(ours.tryAcquire());
}

TEST_F(SingleInstanceTest, ProgramsWeStartDoNotInheritTheLock)
{
    sys::SingleInstance ours(name, dir.path());
    ASSERT_TRUE(ours.tryAcquire());
    QProcess child;
    child.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(child.waitForStarted(10000));

    ours.release();
    Holder other(name, dir.path());
    EXPECT_EQ(other.answer(), "acquired");

    child.kill();
    child.waitForFinished(10000);
}

} // namespace
