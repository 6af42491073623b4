#include "core/Umain.h"

#include "core/FunctionPositions.h"
#include "core/Schema.h"
#include "core/Uabout.h"
#include "core/Udatamod.h"
#include "core/Ulogin.h"
#include "core/Upublic.h"
#include "platform/db/Value.h"
#include "platform/sys/SingleInstance.h"
#include "platform/ui/EnterAsTab.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <iterator>
#include <stdexcept>
#include <vector>

TfrmMain* frmMain = nullptr;

bool TakeSingleInstance(sys::SingleInstance& lock)
{
    if (lock.tryAcquire() || !lock.errorString().isEmpty())
        return true;
    ui::inform(nullptr, QStringLiteral("程序已经运行"));
    return false;
}

QString ProgramTitle()
{
    return QStringLiteral("霁岚专业美容美发管理系统");
}

QString HomePageLine()
{
    return QStringLiteral("主页: www.orbenta-salon.example");
}

QString WelcomeLine()
{
    return QStringLiteral("欢迎使用霁岚专业美容美发管理系统");
}

QUrl ProgramHomePage()
{
    return QUrl(QStringLiteral("https://www.orbenta-salon.example/"));
}

namespace {

// Picture for a screen of exactly that width, shown just below the toolbar.
constexpr int smallScreenWidth = 800;
constexpr int largeScreenWidth = 1024;
const QString kPicture800 = QStringLiteral(":/main800.jpg");
const QString kPicture1024 = QStringLiteral(":/main1024.jpg");

// A menu's items by function position; 0 stands for a separator.
struct MenuSpec {
    const char* caption;
    std::vector<int> positions;
};

const std::vector<MenuSpec>& functionMenus()
{
    static const std::vector<MenuSpec> menus = {
        {"初始化设置[&C]", {1, 2, 0, 3, 4, 0, 5, 6}},
        {"会员管理[&U]", {7, 8, 0, 9, 10, 11, 0, 12, 13, 0, 14, 15, 0, 16}},
        {"货品管理[&G]", {17, 18, 19, 20, 0, 21, 22, 23, 24, 0, 25, 26, 27}},
        {"决策支持[&M]", {28, 29, 0, 30, 31, 0, 32, 33, 0, 34, 35}},
        {"系统管理[&S]", {36, 0, 37, 38, 0}},
    };
    return menus;
}

QString loginTimeText(const QDateTime& when)
{
    return db::dateText(when.date()) + u' ' + when.time().toString(QStringLiteral("H:mm:ss"));
}

db::Dataset& openOn(db::Dataset& query, const QString& sql)
{
    query.close();
    query.setSql(sql);
    query.open();
    return query;
}

TFrmDataMod& dataModule()
{
    if (!FrmDataMod)
        throw std::runtime_error("no data module");
    return *FrmDataMod;
}

} // namespace

TfrmMain::TfrmMain(QWidget* parent)
    : QMainWindow(parent)
    , runLogin([] {
        if (FrmLogin)
            FrmLogin->exec();
    })
    , clock(&QDateTime::currentDateTime)
{
    setObjectName(QStringLiteral("frmMain"));
    initCoreResources();
    buildMenu();
    buildToolbar();
    buildStatusBar();
    buildBackground();
    fitToScreen();
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    if (frmMain == this)
        frmMain = nullptr;
}

void TfrmMain::FormCreate()
{
    CurrentUser.clear();
    if (!EnterAsTab)
        EnterAsTab = new ui::EnterAsTab(this);
    placeBackground();
    // The application's title is its name; a display name would be appended
    // by the desktop to every window's caption.
    QCoreApplication::setApplicationName(ProgramTitle());
    setWindowTitle(ProgramTitle());
}

void TfrmMain::buildMenu()
{
    QMenuBar* bar = menuBar();
    QMenu* menu = nullptr;
    for (const MenuSpec& spec : functionMenus()) {
        menu = bar->addMenu(QString::fromUtf8(spec.caption));
        for (int position : spec.positions) {
            if (position == 0) {
                menu->addSeparator();
                continue;
            }
            const FunctionPosition& f = FunctionAt(position);
            QAction* item = menu->addAction(f.menuCaption);
            item->setObjectName(f.menuItem);
            connect(item, &QAction::triggered, this, ui::guarded(this, [this, position] {
                        (this->*handlerOf(position))();
                    }));
            menuItems_[size_t(position)] = item;
        }
    }

    // The system menu, the last one, ends with the items every user has.
    auto addSystemItem = [&](const QString& name, const QString& caption, Handler handler) {
        QAction* item = menu->addAction(caption);
        item->setObjectName(name);
        connect(item, &QAction::triggered, this, ui::guarded(this, [this, handler] { (this->*handler)(); }));
        return item;
    };
    N48 = addSystemItem(QStringLiteral("N48"), QStringLiteral("访问主页"), &TfrmMain::N48Click);
    N49 = addSystemItem(QStringLiteral("N49"), QStringLiteral("帮助"), &TfrmMain::N49Click);
    N51 = addSystemItem(QStringLiteral("N51"), QStringLiteral("关于"), &TfrmMain::N51Click);

    X1 = bar->addAction(QStringLiteral("退出[&X]"));
    X1->setObjectName(QStringLiteral("X1"));
    connect(X1, &QAction::triggered, this, [this] { X1Click(); });
}

QToolButton* TfrmMain::addToolButton(const QString& name, const QString& caption)
{
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setMinimumSize(72, 40);
    button->setAutoRaise(true);
    return button;
}

void TfrmMain::buildToolbar()
{
    QToolBar* toolbar = addToolBar(QStringLiteral("toolbar"));
    toolbar->setObjectName(QStringLiteral("ToolBar1"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->toggleViewAction()->setVisible(false);

    cmd_dyehair = addToolButton(QStringLiteral("cmd_dyehair"), QStringLiteral("染发项目"));
    cmd_marcel = addToolButton(QStringLiteral("cmd_marcel"), QStringLiteral("烫发项目"));
    cmd_employee = addToolButton(QStringLiteral("cmd_employee"), QStringLiteral("员工资料"));
    cmd_insider = addToolButton(QStringLiteral("cmd_insider"), QStringLiteral("会员资料"));
    cmd_company = addToolButton(QStringLiteral("cmd_company"), QStringLiteral("公司资料"));
    cmd_servelog = addToolButton(QStringLiteral("cmd_servelog"), QStringLiteral("服务开单"));
    cmd_in = addToolButton(QStringLiteral("cmd_in"), QStringLiteral("进货输入"));
    cmd_out = addToolButton(QStringLiteral("cmd_out"), QStringLiteral("出货输入"));
    cmd_exit = addToolButton(QStringLiteral("cmd_exit"), QStringLiteral("退出"));

    toolbarFunctions_ = {{cmd_dyehair, 6}, {cmd_marcel, 5},  {cmd_employee, 1}, {cmd_insider, 8},
                         {cmd_company, 18}, {cmd_servelog, 16}, {cmd_in, 21},    {cmd_out, 22}};
    const QList<QWidget*> order = {cmd_dyehair, cmd_marcel,   nullptr, cmd_employee, cmd_insider, cmd_company,
                                   nullptr,     cmd_servelog, nullptr, cmd_in,       cmd_out,     nullptr,
                                   cmd_exit};
    for (QWidget* w : order) {
        if (w)
            toolbar->addWidget(w);
        else
            toolbar->addSeparator();
    }

    for (const ToolbarFunction& f : toolbarFunctions_) {
        const Handler handler = handlerOf(f.position);
        connect(f.button, &QToolButton::clicked, this, ui::guarded(this, [this, handler] { (this->*handler)(); }));
    }
    connect(cmd_exit, &QToolButton::clicked, this, [this] { cmd_exitClick(); });
}

void TfrmMain::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(false);
    for (size_t i = 0; i < panels_.size(); ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("statusPanel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(panel);
        panels_[i] = panel;
    }
}

void TfrmMain::buildBackground()
{
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(area);

    auto picture = [area](const QString& name, const QString& resource) {
        auto* label = new QLabel(area);
        label->setObjectName(name);
        label->setPixmap(QPixmap(resource));
        label->hide();
        return label;
    };
    picture800 = picture(QStringLiteral("picture800"), kPicture800);
    picture1024 = picture(QStringLiteral("picture1024"), kPicture1024);
    area->installEventFilter(this);
}

void TfrmMain::fitToScreen()
{
    // The window always covers the whole working area and cannot be resized.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    setFixedSize(area.size());
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, area.size(), area));
    setWindowState(Qt::WindowMaximized);
}

int TfrmMain::screenWidth() const
{
    if (screenWidthOverride_ > 0)
        return screenWidthOverride_;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

void TfrmMain::setScreenWidth(int pixels)
{
    screenWidthOverride_ = pixels;
    placeBackground();
}

void TfrmMain::placeBackground()
{
    picture800->hide();
    picture1024->hide();
    QLabel* shown = nullptr;
    if (screenWidth() == smallScreenWidth)
        shown = picture800;
    else if (screenWidth() == largeScreenWidth)
        shown = picture1024;
    if (!shown)
        return;
    // The picture fills the area between the toolbar and the status bar:
    // whole, in its own proportions, centred, and its edge colours carried
    // on beside it where the area is wider than the picture.
    const QWidget* area = centralWidget();
    const QPixmap picture(shown == picture800 ? kPicture800 : kPicture1024);
    const bool fits = picture.width() <= area->width() && picture.height() <= area->height();
    shown->setPixmap(fits ? picture : picture.scaled(area->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    shown->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    shown->setGeometry(area->rect());
    const QImage image = picture.toImage();
    QLinearGradient edges(0, 0, area->width(), 0);
    edges.setColorAt(0, image.pixelColor(0, image.height() / 2));
    edges.setColorAt(1, image.pixelColor(image.width() - 1, image.height() / 2));
    QPalette palette = shown->palette();
    palette.setBrush(QPalette::Window, edges);
    shown->setPalette(palette);
    shown->setAutoFillBackground(true);
    shown->show();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        placeBackground();
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (startScheduled_)
        return;
    startScheduled_ = true;
    // Queued, so the window is on screen before the login opens over it.
    QTimer::singleShot(0, this, ui::guarded(this, [this] { FormShow(); }));
}

void TfrmMain::FormShow()
{
    if (runLogin)
        runLogin();
    loginTime_ = clock ? clock() : QDateTime::currentDateTime();

    ui::Hourglass wait;
    try {
        LoadPrintSettings();
        loadMessageCatalogue();
        loadShopSettings();
        fillStatusBar();
    } catch (const std::exception&) {
        // A database without these tables or rows still lets the user work:
        // what was read stays, the rest stays empty.
    }
    applyRights();
}

void TfrmMain::loadMessageCatalogue()
{
    db::Dataset& q = openOn(dataModule().TempQ, QStringLiteral("select charno,gb  from charset where  gb is not null"));
    MsgCatalogCount = q.recordCount();
    if (MsgCatalogCount <= 0)
        return;
    MsgCatalog = {};
    for (q.first(); !q.eof(); q.next()) {
        MsgCatalog[0] << q.asString(QStringLiteral("charno"));
        MsgCatalog[1] << q.asString(QStringLiteral("gb"));
    }
}

void TfrmMain::loadShopSettings()
{
    db::Dataset& q = openOn(dataModule().UserQ, QStringLiteral("select top 1 * from userinfo"));
    GoodsCodeCaption = q.asString(QStringLiteral("gods_code"));
    GoodsNameCaption = q.asString(QStringLiteral("gods_name"));
    GoodsSpecCaption = q.asString(QStringLiteral("gods_spec"));
    GoodsTypeCaption = q.asString(QStringLiteral("gods_type"));
    GoodsKindCaption = q.asString(QStringLiteral("gods_kind"));
    // No settings row, or no rate in it, is not a number: the rest of the start is skipped.
    const QVariant rate = q.value(QStringLiteral("sale_value"));
    if (rate.isNull())
        throw std::runtime_error("userinfo.sale_value is empty");
    SaleCommissionRate = int(db::asInt(rate));
}

void TfrmMain::fillStatusBar()
{
    const int third = screenWidth() / 3;
    panels_[0]->setFixedWidth(third + 40);
    panels_[1]->setFixedWidth(third - 20);
    panels_[2]->setFixedWidth(third - 20);
    panels_[0]->setText(QStringLiteral("操作人员: ") + CurrentUser.trimmed() + QStringLiteral("  登录时间:") +
                        loginTimeText(loginTime_));
    panels_[1]->setText(HomePageLine());
    panels_[2]->setText(WelcomeLine());
}

void TfrmMain::applyRights()
{
    for (int position = 1; position < int(menuItems_.size()); ++position)
        menuItems_[size_t(position)]->setEnabled(HasRight(PowUse, position));
    for (const ToolbarFunction& f : toolbarFunctions_)
        f.button->setEnabled(HasRight(PowUse, f.position));
    for (QAction* always : {N48, N49, N51, X1})
        always->setEnabled(true);
    cmd_exit->setEnabled(true);
}

QAction* TfrmMain::menuItem(int position) const
{
    return menuItems_.at(size_t(position));
}

QLabel* TfrmMain::statusPanel(int index) const
{
    return panels_.at(size_t(index));
}

bool TfrmMain::FormCloseQuery()
{
    return ui::ask(this, QStringLiteral("确认退出系统?"), QStringLiteral("提示"), ui::Buttons::OkCancel) == ui::Answer::Ok;
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

void TfrmMain::openPosition(int position)
{
    OpenFunction(position, this);
}

TfrmMain::Handler TfrmMain::handlerOf(int position)
{
    // In position order, 1 to 38.
    static const Handler handlers[] = {
        &TfrmMain::N3Click,  &TfrmMain::N7Click,  &TfrmMain::N5Click,  &TfrmMain::N6Click,  &TfrmMain::N8Click,
        &TfrmMain::N9Click,  &TfrmMain::N4Click,  &TfrmMain::N10Click, &TfrmMain::N11Click, &TfrmMain::N12Click,
        &TfrmMain::N13Click, &TfrmMain::N14Click, &TfrmMain::N15Click, &TfrmMain::N16Click, &TfrmMain::N17Click,
        &TfrmMain::N18Click, &TfrmMain::N31Click, &TfrmMain::N32Click, &TfrmMain::N53Click, &TfrmMain::N54Click,
        &TfrmMain::N52Click, &TfrmMain::N33Click, &TfrmMain::N34Click, &TfrmMain::N35Click, &TfrmMain::N36Click,
        &TfrmMain::N38Click, &TfrmMain::N37Click, &TfrmMain::N39Click, &TfrmMain::N41Click, &TfrmMain::N21Click,
        &TfrmMain::N42Click, &TfrmMain::N44Click, &TfrmMain::N20Click, &TfrmMain::N43Click, &TfrmMain::N45Click,
        &TfrmMain::N57Click, &TfrmMain::N46Click, &TfrmMain::N47Click,
    };
    static_assert(std::size(handlers) == 38);
    return handlers[position - 1];
}

void TfrmMain::N3Click() { openPosition(1); }
void TfrmMain::N7Click() { openPosition(2); }
void TfrmMain::N5Click() { openPosition(3); }
void TfrmMain::N6Click() { openPosition(4); }
void TfrmMain::N8Click() { openPosition(5); }
void TfrmMain::N9Click() { openPosition(6); }
void TfrmMain::N4Click() { openPosition(7); }
void TfrmMain::N10Click() { openPosition(8); }
void TfrmMain::N11Click() { openPosition(9); }
void TfrmMain::N12Click() { openPosition(10); }
void TfrmMain::N13Click() { openPosition(11); }
void TfrmMain::N14Click() { openPosition(12); }
void TfrmMain::N15Click() { openPosition(13); }
void TfrmMain::N16Click() { openPosition(14); }
void TfrmMain::N17Click() { openPosition(15); }
void TfrmMain::N18Click() { openPosition(16); }
void TfrmMain::N31Click() { openPosition(17); }
void TfrmMain::N32Click() { openPosition(18); }
void TfrmMain::N53Click() { openPosition(19); }
void TfrmMain::N54Click() { openPosition(20); }
void TfrmMain::N52Click() { openPosition(21); }
void TfrmMain::N33Click() { openPosition(22); }
void TfrmMain::N34Click() { openPosition(23); }
void TfrmMain::N35Click() { openPosition(24); }
void TfrmMain::N36Click() { openPosition(25); }
void TfrmMain::N38Click() { openPosition(26); }
void TfrmMain::N37Click() { openPosition(27); }
void TfrmMain::N39Click() { openPosition(28); }
void TfrmMain::N41Click() { openPosition(29); }
void TfrmMain::N21Click() { openPosition(30); }
void TfrmMain::N42Click() { openPosition(31); }
void TfrmMain::N44Click() { openPosition(32); }
void TfrmMain::N20Click() { openPosition(33); }
void TfrmMain::N43Click() { openPosition(34); }
void TfrmMain::N45Click() { openPosition(35); }
void TfrmMain::N57Click() { openPosition(36); }
void TfrmMain::N46Click() { openPosition(37); }
void TfrmMain::N47Click() { openPosition(38); }

void TfrmMain::N48Click()
{
    // No browser configured: nothing to say, the user can type the address.
    ui::openUrl(ProgramHomePage());
}

void TfrmMain::N49Click() {}

void TfrmMain::N51Click()
{
    TfrmAbout about(this);
    about.exec();
}

void TfrmMain::X1Click()
{
    close();
}

void TfrmMain::cmd_exitClick()
{
    close();
}
