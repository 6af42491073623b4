#include "platform/ui/Hourglass.h"

#include <QCursor>
#include <QGuiApplication>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

bool showsWaitCursor()
{
    const QCursor* c = QGuiApplication::overrideCursor();
    return c && c->shape() == Qt::WaitCursor;
}

TEST(Hourglass, ShowsTheWaitCursorForItsLifetime)
{
    ASSERT_FALSE(showsWaitCursor());
    {
        ui::Hourglass wait;
        EXPECT_TRUE(showsWaitCursor());
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(Hourglass, NestedHourglassesRestoreInTurn)
{
    {
        ui::Hourglass outer;
        {
            ui::Hourglass inner;
            EXPECT_TRUE(showsWaitCursor());
        }
        EXPECT_TRUE(showsWaitCursor()) << "the outer one still runs";
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(Hourglass, AnErrorRestoresTheCursor)
{
    try {
        ui::Hourglass wait;
        throw std::runtime_error("数据库无法打开");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace
