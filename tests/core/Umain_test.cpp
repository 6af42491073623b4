#include "core/FunctionPositions.h"
#include "core/Uabout.h"
#include "core/Ulogin.h"
#include "core/Umain.h"
#include "core/Upublic.h"
#include "platform/sys/IniFile.h"
#include "platform/sys/SingleInstance.h"
#include "platform/ui/EnterAsTab.h"
#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"
#include "tests/support/TestDb.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Kind = ui::PromptRequest::Kind;

const QString kConfirmExit = QStringLiteral("确认退出系统?");

// Menu item names in position order, 1 to 38.
const QStringList kItemByPosition = {
    "N3",  "N7",  "N5",  "N6",  "N8",  "N9",  "N4",  "N10", "N11", "N12", "N13", "N14", "N15",
    "N16", "N17", "N18", "N31", "N32", "N53", "N54", "N52", "N33", "N34", "N35", "N36", "N38",
    "N37", "N39", "N41", "N21", "N42", "N44", "N20", "N43", "N45", "N57", "N46", "N47"};

struct ToolbarFunction {
    const char* name;
    int position;
};
const ToolbarFunction kToolbarFunctions[] = {
    {"cmd_dyehair", 6}, {"cmd_marcel", 5}, {"cmd_employee", 1}, {"cmd_insider", 8},
    {"cmd_company", 18}, {"cmd_servelog", 16}, {"cmd_in", 21}, {"cmd_out", 22}};

QString rightsOnlyAt(std::initializer_list<int> positions)
{
    QString rights(38, u'0');
    for (int p : positions)
        rights[p - 1] = u'1';
    return rights;
}

const QString kAllRights(38, u'1');

// Acts on the next modal window once it is up. A window the action leaves
// open is closed (and fails the test) so nothing waits forever; the test
// asserts acted() so a window that never opened fails too.
class OnNextModal {
public:
    explicit OnNextModal(std::function<void(QWidget*)> act)
    {
        QObject::connect(&timer_, &QTimer::timeout, [this, act = std::move(act)] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            timer_.stop();
            acted_ = true;
            QPointer<QWidget> guard(modal);
            act(modal);
            if (guard && guard->isVisible()) {
                ADD_FAILURE() << "the modal window was left open";
                guard->close();
            }
        });
        timer_.start(5);
    }
    bool acted() const { return acted_; }

private:
    QTimer timer_;
    bool acted_ = false;
};

// The main window over a fresh database, on a screen 1280 pixels wide, with
// a login that does nothing unless a test says otherwise.
class MainWindow : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        ResetProgramState();
        savedTitle = QCoreApplication::applicationName();
        window = std::make_unique<TfrmMain>();
        window->setScreenWidth(1280);
        window->runLogin = [this] { ++logins; };
        window->clock = [] { return QDateTime(QDate(2026, 2, 3), QTime(9, 5, 7)); };
    }
    void TearDown() override
    {
        window.reset();
        QCoreApplication::setApplicationName(savedTitle);
        ResetProgramState();
        TestDb::TearDown();
    }

    // FormShow with a login that grants these rights to this user.
    void startAs(const QString& user, const QString& rights)
    {
        window->runLogin = [user, rights] {
            CurrentUser = user;
            PowUse = rights;
        };
        window->FormShow();
    }

    QAction* item(const QString& name) const { return window->findChild<QAction*>(name); }
    QToolButton* button(const QString& name) const { return window->findChild<QToolButton*>(name); }

    // Names of the function menu items and toolbar buttons that are enabled.
    QStringList enabledFunctions() const
    {
        QStringList names;
        for (const QString& name : kItemByPosition)
            if (item(name)->isEnabled())
                names << name;
        for (const ToolbarFunction& f : kToolbarFunctions)
            if (button(f.name)->isEnabled())
                names << f.name;
        return names;
    }

    void expectCommandsWithoutPositionEnabled() const
    {
        for (const char* name : {"N48", "N49", "N51", "X1"}) {
            ASSERT_NE(item(name), nullptr) << name;
            EXPECT_TRUE(item(name)->isEnabled()) << name;
        }
        EXPECT_TRUE(button("cmd_exit")->isEnabled());
    }

    testui::PromptResponder prompts;
    std::unique_ptr<TfrmMain> window;
    int logins = 0;
    QString savedTitle;
};

TEST(SingleInstanceAtStart, ASecondCopySaysSoAndStopsUntilTheFirstHasEnded)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto first = std::make_unique<sys::SingleInstance>(QStringLiteral("lumivexa"), dir.path());
    testui::PromptResponder prompts;
    ASSERT_TRUE(TakeSingleInstance(*first));
    EXPECT_EQ(prompts.count(), 0);

    sys::SingleInstance second(QStringLiteral("lumivexa"), dir.path());
    prompts.expect(Kind::Message, QStringLiteral("程序已经运行"));
    EXPECT_FALSE(TakeSingleInstance(second));
    prompts.verify();
    EXPECT_EQ(prompts.last().text, QStringLiteral("程序已经运行"));
    EXPECT_EQ(prompts.last().caption, QStringLiteral("提示"));
    EXPECT_EQ(prompts.last().buttons, ui::Buttons::Ok);

    first.reset();
    EXPECT_TRUE(TakeSingleInstance(second));
    EXPECT_EQ(prompts.count(), 1);
}

TEST(SingleInstanceAtStart, ALockThatCannotBeMadeDoesNotStopTheProgram)
{
    testui::PromptResponder prompts;
    sys::SingleInstance lock(QStringLiteral("lumivexa"), QStringLiteral("/nonexistent/folder"));
    EXPECT_TRUE(TakeSingleInstance(lock));
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(MainWindow, MenusHoldTheFunctionsInOrder)
{
    struct Menu {
        QString title;
        QStringList items;
    };
    const QList<Menu> expected = {
        {"初始化设置[&C]", {"员工资料", "基本设置", "-", "服务项目设置", "服务项目流程", "-", "烫发项目设置", "染发项目设置"}},
        {"会员管理[&U]",
         {"会员卡类型", "会员资料", "-", "会员发卡", "会员补卡", "会员退卡", "-", "会员存款", "会员取款", "-",
          "会员密码修改", "会员预约时程", "-", "服务开单"}},
        {"货品管理[&G]",
         {"货品资料", "公司资料", "库存初始化", "库存查询", "-", "进货管理", "出货管理", "顾客退货", "退货厂商", "-",
          "出货统计", "出货排行-按货品", "出货排行-按客户"}},
        {"决策支持[&M]",
         {"个人业绩明细", "会员消费明细", "-", "会员消费排行-按会员", "会员消费排行-按项目", "-", "其它支出费用",
          "其它收入费用", "-", "薪金统计", "利润分析"}},
        {"系统管理[&S]", {"权限设置", "-", "数据备份", "数据恢复", "-", "访问主页", "帮助", "关于"}},
    };

    const QList<QAction*> top = window->menuBar()->actions();
    ASSERT_EQ(top.size(), expected.size() + 1);
    for (int m = 0; m < expected.size(); ++m) {
        SCOPED_TRACE(expected[m].title.toStdString());
        EXPECT_EQ(top[m]->text(), expected[m].title);
        QMenu* menu = top[m]->menu<QMenu*>();
        ASSERT_NE(menu, nullptr);
        QStringList items;
        for (QAction* a : menu->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->text());
        EXPECT_EQ(items, expected[m].items);
    }
    EXPECT_EQ(top.last(), item("X1"));
    EXPECT_EQ(top.last()->text(), "退出[&X]");
    EXPECT_EQ(top.last()->menu<QMenu*>(), nullptr);
}

TEST_F(MainWindow, MenuItemsAreNamedByPosition)
{
    const QStringList captions = {"员工资料", "基本设置", "服务项目设置", "会员资料", "会员退卡", "会员密码修改",
                                  "进货管理", "出货排行-按货品", "出货排行-按客户", "会员消费排行-按会员",
                                  "权限设置", "数据恢复"};
    const QStringList names = {"N3", "N7", "N5", "N10", "N13", "N16", "N52", "N38", "N37", "N21", "N57", "N47"};
    for (int i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i].toStdString());
        ASSERT_NE(item(names[i]), nullptr);
        EXPECT_EQ(item(names[i])->text(), captions[i]);
    }
    for (int position = 1; position <= 38; ++position)
        EXPECT_EQ(window->menuItem(position), item(kItemByPosition[position - 1])) << position;
    EXPECT_EQ(item("N48")->text(), "访问主页");
    EXPECT_EQ(item("N49")->text(), "帮助");
    EXPECT_EQ(item("N51")->text(), "关于");
}

TEST_F(MainWindow, ToolbarButtonsLeftToRight)
{
    auto* toolbar = window->findChild<QToolBar*>();
    ASSERT_NE(toolbar, nullptr);
    QStringList order;
    for (QAction* a : toolbar->actions()) {
        if (a->isSeparator()) {
            order << QStringLiteral("|");
            continue;
        }
        auto* b = qobject_cast<QToolButton*>(toolbar->widgetForAction(a));
        ASSERT_NE(b, nullptr);
        order << b->objectName() + u':' + b->text();
    }
    EXPECT_EQ(order, QStringList({"cmd_dyehair:染发项目", "cmd_marcel:烫发项目", "|", "cmd_employee:员工资料",
                                  "cmd_insider:会员资料", "cmd_company:公司资料", "|", "cmd_servelog:服务开单", "|",
                                  "cmd_in:进货输入", "cmd_out:出货输入", "|", "cmd_exit:退出"}));
}

TEST_F(MainWindow, CreationClearsTheUserAndSetsTheTitlesWithoutTouchingTheDatabase)
{
    window.reset();
    CurrentUser = QStringLiteral("former");
    QCoreApplication::setApplicationName(QStringLiteral("other"));

    window = std::make_unique<TfrmMain>();

    EXPECT_TRUE(CurrentUser.isEmpty());
    EXPECT_EQ(window->objectName(), "frmMain");
    EXPECT_EQ(window->windowTitle(), "霁岚专业美容美发管理系统");
    EXPECT_EQ(QCoreApplication::applicationName(), "霁岚专业美容美发管理系统");
    EXPECT_FALSE(dataMod().TempQ.isActive());
    EXPECT_FALSE(dataMod().UserQ.isActive());
    EXPECT_EQ(MsgCatalogCount, 0);
}

// The desktop writes an application's own display name after every window's
// caption; the program sets none, so each window reads as its caption alone
// ("用户登录", "提示").
TEST_F(MainWindow, NoWindowCarriesTheProgramTitleAfterItsCaption)
{
    ASSERT_EQ(QCoreApplication::applicationName(), "霁岚专业美容美发管理系统");
    QCoreApplication::setApplicationName(QStringLiteral("renamed"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("renamed"))
        << "a display name of its own was set";
}

TEST_F(MainWindow, CoversTheWorkingAreaAndCannotBeResized)
{
    const QSize area = QGuiApplication::primaryScreen()->availableGeometry().size();
    EXPECT_EQ(window->minimumSize(), area);
    EXPECT_EQ(window->maximumSize(), area);
    EXPECT_TRUE(window->windowState().testFlag(Qt::WindowMaximized));
}

TEST_F(MainWindow, EnterMovesTheFocusInAnyWindowWhileTheMainWindowLives)
{
    ASSERT_NE(window->EnterAsTab, nullptr);
    EXPECT_EQ(window->EnterAsTab->parent(), window.get());

    QDialog form;
    auto* layout = new QVBoxLayout(&form);
    auto* first = new QLineEdit(&form);
    auto* second = new QLineEdit(&form);
    layout->addWidget(first);
    layout->addWidget(second);
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), second);

    window.reset();
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), first);
}

TEST_F(MainWindow, BackgroundPictureOnlyForScreensOf800And1024)
{
    struct Case {
        int width;
        const char* shown;  // nullptr: none
        QSize size;
    };
    const Case cases[] = {
        {800, "picture800", QSize(800, 555)},
        {1024, "picture1024", QSize(1024, 700)},
        {1280, nullptr, {}},
        {801, nullptr, {}},
    };
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QWidget* area = window->centralWidget();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        window->setScreenWidth(c.width);
        for (const char* name : {"picture800", "picture1024"}) {
            auto* picture = window->findChild<QLabel*>(name);
            ASSERT_NE(picture, nullptr);
            const bool shouldShow = c.shown && QString::fromLatin1(c.shown) == name;
            EXPECT_EQ(picture->isVisibleTo(window.get()), shouldShow) << name;
            if (shouldShow) {
                // Right below the toolbar, the whole picture in its own proportions.
                EXPECT_EQ(picture->geometry(), area->rect());
                const QSize shown = picture->pixmap().size();
                EXPECT_LE(shown.width(), area->width());
                EXPECT_LE(shown.height(), area->height());
                EXPECT_NEAR(double(shown.width()) / shown.height(), double(c.size.width()) / c.size.height(), 0.01);
                EXPECT_TRUE(shown == c.size || shown.width() == area->width() || shown.height() == area->height());
            }
        }
    }
}

TEST_F(MainWindow, StatusPanelWidthsFollowTheScreenWidth)
{
    struct Case {
        int screen, first, others;
    };
    for (const Case& c : {Case{1280, 466, 406}, Case{1366, 495, 435}, Case{800, 306, 246}}) {
        SCOPED_TRACE(c.screen);
        window->setScreenWidth(c.screen);
        startAs(QStringLiteral("admin"), kAllRights);
        EXPECT_EQ(window->statusPanel(0)->width(), c.first);
        EXPECT_EQ(window->statusPanel(1)->width(), c.others);
        EXPECT_EQ(window->statusPanel(2)->width(), c.others);
    }
}

TEST_F(MainWindow, StatusBarNamesTheUserAndTheLoginTime)
{
    startAs(QStringLiteral("  王丽 "), kAllRights);

    // The date in the program's one date form, whatever the desktop's locale.
    EXPECT_EQ(window->statusPanel(0)->text(), QStringLiteral("操作人员: 王丽  登录时间:2026-02-03 9:05:07"));
    EXPECT_EQ(window->statusPanel(1)->text(), HomePageLine());
    EXPECT_EQ(window->statusPanel(2)->text(), WelcomeLine());
    EXPECT_FALSE(HomePageLine().isEmpty());
    EXPECT_FALSE(WelcomeLine().isEmpty());
}

TEST_F(MainWindow, StartLoadsTheCatalogueAndShopSettings)
{
    exec(QStringLiteral("insert into charset (charno, gb) values ('3001', null)"));
    exec(QStringLiteral("update userinfo set gods_kind = '类别', sale_value = 15"));
    const int withText = count(QStringLiteral("charset"), QStringLiteral("gb is not null"));
    ASSERT_GT(withText, 0);

    startAs(QStringLiteral("admin"), kAllRights);

    EXPECT_EQ(MsgCatalogCount, withText);
    ASSERT_EQ(MsgCatalog[0].size(), withText);
    ASSERT_EQ(MsgCatalog[1].size(), withText);
    EXPECT_EQ(GetMsgText(QStringLiteral("1016")), "确认删除?");
    EXPECT_EQ(GetMsgText(QStringLiteral("2009")), "美容");
    EXPECT_EQ(GetMsgText(QStringLiteral("3001")), "0000");

    EXPECT_EQ(GoodsCodeCaption, "货品编码");
    EXPECT_EQ(GoodsNameCaption, "货品名称");
    EXPECT_EQ(GoodsSpecCaption, "规格");
    EXPECT_EQ(GoodsTypeCaption, "型号");
    EXPECT_EQ(GoodsKindCaption, "类别");
    EXPECT_EQ(SaleCommissionRate, 15);
    EXPECT_TRUE(dataMod().UserQ.isActive());
    EXPECT_EQ(dataMod().UserQ.sqlText(), "select top 1 * from userinfo");
}

TEST_F(MainWindow, StartLoadsThePrintSettings)
{
    sys::IniFile ini(folder() + QStringLiteral("system.ini"));
    ini.writeString(QStringLiteral("billdata"), QStringLiteral("company_name"), QStringLiteral("霁岚美发"));
    ini.writeString(QStringLiteral("billdata"), QStringLiteral("line_count"), QStringLiteral("12"));
    ini.writeString(QStringLiteral("pagesize"), QStringLiteral("page_type"), QStringLiteral("A4"));

    startAs(QStringLiteral("admin"), kAllRights);

    EXPECT_EQ(BillCompanyName, "霁岚美发");
    EXPECT_EQ(LinesPerPage, 12);
    EXPECT_EQ(PageType, "A4");
}

TEST_F(MainWindow, MissingCatalogueSkipsTheRestOfTheLoadingSilently)
{
    exec(QStringLiteral("drop table charset"));

    startAs(QStringLiteral("clerk"), rightsOnlyAt({11}));

    EXPECT_EQ(prompts.count(), 0);
    EXPECT_EQ(MsgCatalogCount, 0);
    EXPECT_TRUE(GoodsCodeCaption.isEmpty());
    EXPECT_TRUE(window->statusPanel(0)->text().isEmpty());
    EXPECT_EQ(enabledFunctions(), QStringList{"N13"});
}

TEST_F(MainWindow, ShopSettingsWithoutARateKeepWhatWasReadAndSkipTheStatusBar)
{
    exec(QStringLiteral("update userinfo set sale_value = null"));

    startAs(QStringLiteral("clerk"), rightsOnlyAt({11}));

    EXPECT_EQ(prompts.count(), 0);
    EXPECT_GT(MsgCatalogCount, 0);
    EXPECT_EQ(GoodsCodeCaption, "货品编码");
    EXPECT_EQ(SaleCommissionRate, 0);
    EXPECT_TRUE(window->statusPanel(0)->text().isEmpty());
    EXPECT_EQ(enabledFunctions(), QStringList{"N13"});
}

TEST_F(MainWindow, EmptyShopSettingsLeaveTheCaptionsEmpty)
{
    exec(QStringLiteral("delete from userinfo"));

    startAs(QStringLiteral("clerk"), rightsOnlyAt({11}));

    EXPECT_EQ(prompts.count(), 0);
    EXPECT_GT(MsgCatalogCount, 0);
    EXPECT_TRUE(GoodsNameCaption.isEmpty());
    EXPECT_EQ(enabledFunctions(), QStringList{"N13"});
}

TEST_F(MainWindow, StartRunsOnceAfterTheFirstShowFromTheEventLoop)
{
    window->show();
    EXPECT_EQ(logins, 0);  // queued: the window is up before the login opens
    QCoreApplication::processEvents();
    EXPECT_EQ(logins, 1);

    window->hide();
    window->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(logins, 1);
}

TEST_F(MainWindow, LoginThroughTheLoginWindowDecidesTheRights)
{
    exec(QStringLiteral("insert into powers (user_id, password, pow_use) values (:u, :p, :r)"),
         {{"u", "clerk"}, {"p", "pw"}, {"r", rightsOnlyAt({11})}});
    TFrmLogin login;
    window->runLogin = [&login] {
        testui::typeText(login.Edit1, QStringLiteral(" clerk "));
        testui::typeText(login.Edit2, QStringLiteral("pw"));
        QTest::mouseClick(login.cmd_ok, Qt::LeftButton);
    };

    window->FormShow();

    EXPECT_EQ(CurrentUser, "clerk");
    EXPECT_EQ(enabledFunctions(), QStringList{"N13"});
    expectCommandsWithoutPositionEnabled();
    EXPECT_TRUE(window->statusPanel(0)->text().startsWith(QStringLiteral("操作人员: clerk  登录时间:")));
}

TEST_F(MainWindow, EmptyRightsDisableEveryFunction)
{
    startAs(QStringLiteral("clerk"), QString());
    EXPECT_TRUE(enabledFunctions().isEmpty());
    expectCommandsWithoutPositionEnabled();

    // A disabled button opens nothing: no prompt reaches the responder.
    QTest::mouseClick(button("cmd_insider"), Qt::LeftButton);
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(MainWindow, FullRightsEnableEveryFunction)
{
    startAs(QStringLiteral("admin"), kAllRights);
    EXPECT_EQ(enabledFunctions().size(), 38 + 8);
}

TEST_F(MainWindow, ShortRightsRefuseThePositionsBeyondTheirEnd)
{
    startAs(QStringLiteral("clerk"), QStringLiteral("1111111111"));
    QStringList expected = kItemByPosition.mid(0, 10);
    expected << "cmd_dyehair" << "cmd_marcel" << "cmd_employee" << "cmd_insider";
    EXPECT_EQ(enabledFunctions(), expected);
}

TEST_F(MainWindow, EachToolbarButtonFollowsTheRightOfItsPosition)
{
    for (const ToolbarFunction& f : kToolbarFunctions) {
        SCOPED_TRACE(f.name);
        PowUse = rightsOnlyAt({f.position});
        window->applyRights();
        EXPECT_EQ(enabledFunctions(), QStringList({kItemByPosition[f.position - 1], QString::fromLatin1(f.name)}));
    }
}

TEST_F(MainWindow, CancelKeepsTheWindowOpenWhicheverWayTheUserLeaves)
{
    struct Way {
        const char* name;
        std::function<void()> leave;
    };
    const Way ways[] = {
        {"退出[&X]", [this] { item("X1")->trigger(); }},
        {"toolbar 退出", [this] { QTest::mouseClick(button("cmd_exit"), Qt::LeftButton); }},
        {"close button", [this] { window->close(); }},
    };
    window->show();
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        prompts.expect(Kind::Question, kConfirmExit, {ui::Answer::Cancel});
        way.leave();
        prompts.verify();
        EXPECT_TRUE(window->isVisible());
        const ui::PromptRequest asked = prompts.last();
        EXPECT_EQ(asked.text, kConfirmExit);
        EXPECT_EQ(asked.caption, "提示");
        EXPECT_EQ(asked.buttons, ui::Buttons::OkCancel);
        EXPECT_EQ(asked.icon, ui::Icon::Question);

        prompts.expect(Kind::Question, kConfirmExit, {ui::Answer::Ok});
        way.leave();
        prompts.verify();
        EXPECT_FALSE(window->isVisible());
        window->show();
    }
}

TEST_F(MainWindow, FormCloseQueryTellsWhetherTheUserLetsTheWindowClose)
{
    prompts.expect(Kind::Question, kConfirmExit, {ui::Answer::Cancel});
    EXPECT_FALSE(window->FormCloseQuery());
    prompts.expect(Kind::Question, kConfirmExit, {ui::Answer::Ok});
    EXPECT_TRUE(window->FormCloseQuery());
    prompts.verify();
}

TEST_F(MainWindow, FunctionWithoutAFormSaysItIsNotAvailable)
{
    startAs(QStringLiteral("admin"), kAllRights);
    for (int position = 1; position <= 38; ++position) {
        if (HasForm(position))
            continue;
        SCOPED_TRACE(position);
        const QString function = FunctionAt(position).function;
        prompts.expect(Kind::Message, function);
        item(kItemByPosition[position - 1])->trigger();
        prompts.verify();
        EXPECT_EQ(prompts.last().caption, "提示");
    }
}

TEST_F(MainWindow, ToolbarButtonsOpenTheFunctionOfTheirPosition)
{
    startAs(QStringLiteral("admin"), kAllRights);
    const QStringList functions = {"染发项目设置", "烫发项目设置", "员工资料", "会员资料",
                                   "公司资料",     "服务开单",     "进货管理", "出货管理"};
    int i = 0;
    for (const ToolbarFunction& f : kToolbarFunctions) {
        const QString function = functions[i++];
        if (HasForm(f.position))
            continue;
        SCOPED_TRACE(f.name);
        prompts.expect(Kind::Message, QStringLiteral("“%1”").arg(function));
        QTest::mouseClick(button(f.name), Qt::LeftButton);
        prompts.verify();
    }
}

TEST_F(MainWindow, RegisteredFormOpensModallyAndIsDestroyedAfter)
{
    constexpr int members = 8;  // 会员资料: menu N10 and toolbar cmd_insider
    int created = 0;
    QPointer<QDialog> last;
    RegisterForm(members, [&](QWidget* owner) {
        ++created;
        auto* form = new QDialog(owner);
        form->setObjectName(QStringLiteral("memberForm"));
        last = form;
        return form;
    });
    startAs(QStringLiteral("admin"), kAllRights);

    const std::function<void()> opens[] = {
        [this] { QTest::mouseClick(button("cmd_insider"), Qt::LeftButton); },
        [this] { item("N10")->trigger(); },
    };
    for (const auto& open : opens) {
        QString seen; // the form is gone once it returns: only its name is kept
        QWidget* owner = nullptr;
        OnNextModal closer([&](QWidget* modal) {
            seen = modal->objectName();
            owner = modal->parentWidget();
            qobject_cast<QDialog*>(modal)->reject();
        });
        open();
        ASSERT_TRUE(closer.acted());
        EXPECT_EQ(seen, "memberForm");
        EXPECT_EQ(owner, window.get());
        EXPECT_TRUE(last.isNull());  // destroyed when it returned
    }
    EXPECT_EQ(created, 2);
    EXPECT_EQ(window->findChild<QDialog*>(QStringLiteral("memberForm")), nullptr);
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(MainWindow, HomePageOpensTheProgramsAddress)
{
    startAs(QStringLiteral("clerk"), QString());
    prompts.expect(Kind::OpenUrl, QStringLiteral("https://www.orbenta-salon.example/"), {ui::Answer::Cancel});
    item("N48")->trigger();
    prompts.verify();
    EXPECT_EQ(prompts.count(), 1);  // a missing browser is not reported
}

TEST_F(MainWindow, HelpDoesNothing)
{
    startAs(QStringLiteral("clerk"), QString());
    item("N49")->trigger();
    EXPECT_EQ(prompts.count(), 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindow, AboutOpensTheAboutBoxForAnyUserAndCloseReturns)
{
    startAs(QStringLiteral("clerk"), QString());
    QPointer<QWidget> about;
    QString line1, line2;
    OnNextModal closer([&](QWidget* modal) {
        about = modal;
        auto* box = qobject_cast<TfrmAbout*>(modal);
        ASSERT_NE(box, nullptr);
        line1 = box->Label1->text();
        line2 = box->Label2->text();
        QTest::mouseClick(box->Label3, Qt::LeftButton);
    });

    item("N51")->trigger();

    ASSERT_TRUE(closer.acted());
    EXPECT_EQ(line1, window->statusPanel(1)->text());
    EXPECT_EQ(line2, window->statusPanel(2)->text());
    EXPECT_TRUE(about.isNull());
    EXPECT_TRUE(window->isEnabled());
}

} // namespace
