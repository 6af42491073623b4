#include "core/Uflash.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class UflashTest : public ::testing::Test {
protected:
    TfrmFlash flash;
    QProgressBar* bar = flash.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
};

TEST_F(UflashTest, BarFillsInStepsOfFiveAndStartsAgain)
{
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->value(), 0);
    for (int expected = 5; expected <= 100; expected += 5) {
        flash.Timer1Timer();
        ASSERT_EQ(bar->value(), expected);
    }
    // Full is shown for one tick before the bar empties.
    flash.Timer1Timer();
    EXPECT_EQ(bar->value(), 0);
    flash.Timer1Timer();
    EXPECT_EQ(bar->value(), 5);
}

TEST_F(UflashTest, OddPositionStopsAtFullThenEmpties)
{
    ASSERT_NE(bar, nullptr);
    bar->setValue(97);
    flash.Timer1Timer();
    EXPECT_EQ(bar->value(), 100);
    flash.Timer1Timer();
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(UflashTest, WindowIsABorderlessSplashOfFixedSize)
{
    EXPECT_EQ(flash.objectName(), "frmFlash");
    EXPECT_TRUE(flash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(flash.windowType(), Qt::SplashScreen);
    EXPECT_EQ(flash.size(), QSize(399, 251));
}

TEST_F(UflashTest, BarIsAThinStripAtTheLowerRight)
{
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->geometry(), QRect(249, 244, 150, 7));
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_FALSE(bar->isTextVisible());
}

TEST_F(UflashTest, PictureFillsTheTopLeft)
{
    const auto* picture = flash.findChild<QLabel*>(QStringLiteral("splashPicture"));
    ASSERT_NE(picture, nullptr);
    ASSERT_FALSE(picture->pixmap().isNull());
    EXPECT_EQ(picture->pixmap().size(), QSize(400, 250));
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 400, 250));
}

TEST_F(UflashTest, CentredOnTheScreen)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QPoint offset = flash.geometry().center() - screen->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
}

TEST_F(UflashTest, TimerDrivesTheBarWhileEventsAreDispatched)
{
    const auto* timer = flash.findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 100);
    EXPECT_TRUE(timer->isActive());

    flash.showImmediately();
    EXPECT_TRUE(flash.isVisible());
    // Wait for the first tick; the deadline only guards against a timer that
    // never fires.
    QDeadlineTimer deadline(10000);
    while (bar->value() == 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(bar->value(), 5);
}

} // namespace
