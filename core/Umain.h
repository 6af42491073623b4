#pragma once

#include <QDateTime>
#include <QMainWindow>
#include <QUrl>
#include <array>
#include <functional>
#include <vector>

class QAction;
class QCloseEvent;
class QLabel;
class QShowEvent;
class QToolButton;
namespace ui {
class EnterAsTab;
}

namespace sys {
class SingleInstance;
}

// The start-up's first step, before any window: takes the single-instance
// lock. When another copy holds it, says "程序已经运行" and returns false;
// a lock that cannot be made at all does not stop the program.
bool TakeSingleInstance(sys::SingleInstance& lock);

// The program's own texts: the title of the application and of the main
// window, the two fixed texts of the status bar (the about box shows them as
// its two lines) and the home page that "访问主页" opens.
QString ProgramTitle();
QString HomePageLine();
QString WelcomeLine();
QUrl ProgramHomePage();

// The main window: menu and toolbar open every function as a modal form, as
// far as the user's PowUse allows. Created at start-up without touching the
// database; its first showing runs the login and loads what the other forms
// read (message catalogue, goods captions, commission rate, print settings).
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Called by the constructor: clears CurrentUser, installs Enter-as-Tab,
    // places the background picture and sets the titles.
    void FormCreate();
    // The start of work, run once from the event loop after the first show:
    // login, catalogue and shop settings, status bar, rights.
    void FormShow();
    // Enables each function's menu item and toolbar button by PowUse; the
    // items without a position stay enabled.
    void applyRights();
    // The exit confirmation "确认退出系统?"; true when the user lets the window close.
    bool FormCloseQuery();

    // The width taken as the screen's for the background picture and the
    // status panels: the primary screen's unless a test set another one.
    int screenWidth() const;
    // Pretends the screen is that wide and places the background again.
    void setScreenWidth(int pixels);

    // Shows the login modally (FrmLogin->exec() by default); tests log in
    // without a modal loop.
    std::function<void()> runLogin;
    // Where the login time of the status bar comes from.
    std::function<QDateTime()> clock;

    // The menu item of function position 1 to 38 (objectName N3 ... N57).
    QAction* menuItem(int position) const;
    // Status bar panel 0, 1 or 2.
    QLabel* statusPanel(int index) const;

    // One handler per menu item; the toolbar button of the same position
    // calls the same one. Each opens its function by the rule of OpenFunction.
    void N3Click();
    void N7Click();
    void N5Click();
    void N6Click();
    void N8Click();
    void N9Click();
    void N4Click();
    void N10Click();
    void N11Click();
    void N12Click();
    void N13Click();
    void N14Click();
    void N15Click();
    void N16Click();
    void N17Click();
    void N18Click();
    void N31Click();
    void N32Click();
    void N53Click();
    void N54Click();
    void N52Click();
    void N33Click();
    void N34Click();
    void N35Click();
    void N36Click();
    void N38Click();
    void N37Click();
    void N39Click();
    void N41Click();
    void N21Click();
    void N42Click();
    void N44Click();
    void N20Click();
    void N43Click();
    void N45Click();
    void N57Click();
    void N46Click();
    void N47Click();
    // 访问主页, 帮助 (nothing), 关于, 退出[&X].
    void N48Click();
    void N49Click();
    void N51Click();
    void X1Click();
    void cmd_exitClick();

    QAction* N48;
    QAction* N49;
    QAction* N51;
    QAction* X1;

    QToolButton* cmd_dyehair;
    QToolButton* cmd_marcel;
    QToolButton* cmd_employee;
    QToolButton* cmd_insider;
    QToolButton* cmd_company;
    QToolButton* cmd_servelog;
    QToolButton* cmd_in;
    QToolButton* cmd_out;
    QToolButton* cmd_exit;

    QLabel* picture800;
    QLabel* picture1024;

    // The application-wide Enter-as-Tab filter, owned by this window.
    ui::EnterAsTab* EnterAsTab = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    // Every way of closing the window comes here and asks FormCloseQuery.
    void closeEvent(QCloseEvent* event) override;
    // The background picture follows the size of the area it fills.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Handler = void (TfrmMain::*)();
    struct ToolbarFunction {
        QToolButton* button;
        int position;
    };

    static Handler handlerOf(int position);
    void openPosition(int position);

    void buildMenu();
    void buildToolbar();
    void buildStatusBar();
    void buildBackground();
    void fitToScreen();
    void placeBackground();
    QToolButton* addToolButton(const QString& name, const QString& caption);

    void loadMessageCatalogue();
    void loadShopSettings();
    void fillStatusBar();

    std::array<QAction*, 39> menuItems_{};  // by position; 0 unused
    std::vector<ToolbarFunction> toolbarFunctions_;
    std::array<QLabel*, 3> panels_{};
    int screenWidthOverride_ = 0;
    bool startScheduled_ = false;
    QDateTime loginTime_;
};

extern TfrmMain* frmMain;
