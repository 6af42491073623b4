#include "platform/ui/GuardedApplication.h"
#include "platform/ui/ProgramLook.h"

#include <QApplication>
#include <gtest/gtest.h>

// Every test program runs headless unless told otherwise, and looks exactly
// as the program does, so text metrics are the same on every machine.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ui::GuardedApplication app(argc, argv);
    ui::applyProgramLook();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
