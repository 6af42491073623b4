#include "analysis/AnalysisForms.h"
#include "core/CoreForms.h"
#include "core/FunctionPositions.h"
#include "core/Schema.h"
#include "core/Udatamod.h"
#include "core/Uflash.h"
#include "core/Ulogin.h"
#include "core/Umain.h"
#include "members/MembersForms.h"
#include "stock/StockForms.h"
#include "platform/sys/SingleInstance.h"

#include "platform/ui/GuardedApplication.h"
#include "platform/ui/ProgramLook.h"

#include <QApplication>
#include <memory>

namespace {

// The forms each subsystem has built, by function position.
void registerForms()
{
    RegisterCoreForms();
    RegisterMembersForms();
    RegisterStockForms();
    RegisterAnalysisForms();
}

} // namespace

int main(int argc, char** argv)
{
    ui::GuardedApplication app(argc, argv);
    initCoreResources();
    ui::applyProgramLook();

    sys::SingleInstance instance(QStringLiteral("lumivexa"));
    if (!TakeSingleInstance(instance))
        return 0;

    auto splash = std::make_unique<TfrmFlash>();
    splash->showImmediately();
    QApplication::setApplicationName(ProgramTitle());

    // The main window comes first and touches no database; the login opens
    // the connection when the main window is first shown.
    TfrmMain mainWindow;
    frmMain = &mainWindow;
    TFrmLogin login(&mainWindow);
    FrmLogin = &login;
    TFrmDataMod dataModule;
    FrmDataMod = &dataModule;
    registerForms();

    splash.reset();
    mainWindow.showMaximized();
    const int code = QApplication::exec();
    FrmLogin = nullptr;
    frmMain = nullptr;
    return code;
}
