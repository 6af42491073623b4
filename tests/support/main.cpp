#include "platform/ui/GuardedApplication.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <gtest/gtest.h>

// Every test program runs headless unless told otherwise, with the program's
// pinned font so text metrics are the same on every machine.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ui::GuardedApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
