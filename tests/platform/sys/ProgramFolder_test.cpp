#include "platform/sys/ProgramFolder.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

TEST(ProgramFolder, IsTheProgramsFolderWithTrailingSlash)
{
    sys::setProgramFolderForTesting(QString());
    EXPECT_EQ(sys::programFolder(), QCoreApplication::applicationDirPath() + QLatin1Char('/'));
}

TEST(ProgramFolder, TestsCanPointItElsewhereAndBack)
{
    sys::setProgramFolderForTesting(QStringLiteral("/tmp/salon-home"));
    EXPECT_EQ(sys::programFolder(), "/tmp/salon-home/");
    sys::setProgramFolderForTesting(QStringLiteral("/tmp/other/"));
    EXPECT_EQ(sys::programFolder(), "/tmp/other/");

    sys::setProgramFolderForTesting(QString());
    EXPECT_EQ(sys::programFolder(), QCoreApplication::applicationDirPath() + QLatin1Char('/'));
}

} // namespace
