// Opening every function through the main window, as a user does from its
// menu, against a bare dialog opened the same way; on the large salon and on
// a small one, so that a cost growing with the members or goods shows.
#include "tools/bench/Actions.h"

#include "analysis/AnalysisForms.h"
#include "core/CoreForms.h"
#include "core/FunctionPositions.h"
#include "core/Umain.h"
#include "members/MembersForms.h"
#include "stock/StockForms.h"
#include "tools/bench/Session.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <map>

namespace bench {

namespace {

// No function has it: the bare dialog of the floor opens there.
constexpr int kBarePosition = 0;

void registerForms()
{
    RegisterCoreForms();
    RegisterMembersForms();
    RegisterStockForms();
    RegisterAnalysisForms();
    RegisterForm(kBarePosition, [](QWidget* owner) {
        auto* bare = new QDialog(owner);
        bare->resize(800, 560);
        return bare;
    });
}

// Delivers what is pending until a pass finds nothing left: everything a
// showing set off (layouts requested as it went, paints) is done then.
void settle()
{
    struct Counter : QObject {
        int events = 0;
        bool eventFilter(QObject*, QEvent*) override
        {
            ++events;
            return false;
        }
    } counter;
    qApp->installEventFilter(&counter);
    constexpr int kMostPasses = 20;
    for (int pass = 0; pass < kMostPasses; ++pass) {
        counter.events = 0;
        QApplication::processEvents();
        if (counter.events == 0)
            break;
    }
    qApp->removeEventFilter(&counter);
}

// The main window as a user has it after logging in, with every right.
class MainWindow {
public:
    explicit MainWindow(const QString& path) : session_(path)
    {
        window_.runLogin = [] {}; // the session logged in already
        window_.showMaximized();
        require(QTest::qWaitForWindowExposed(&window_), QStringLiteral("the main window was not shown"));
        settle(); // the start of work it queues on its first show
        session_.requireNoPrompt(QStringLiteral("the main window's start"));
    }

    ProgramSession& session() { return session_; }
    QAction* menuItem(int position) { return window_.menuItem(position); }
    QWidget* window() { return &window_; }

private:
    ProgramSession session_;
    TfrmMain window_;
};

// Milliseconds from opening to the form shown and settled; the form is
// closed then, untimed.
double openOnce(const RunPolicy& policy, const QString& label, const std::function<void()>& open)
{
    QElapsedTimer clock;
    double shownMs = -1;
    QObject alive; // the timer goes with it should the form never show
    std::function<void()> whenShown = [&] {
        QWidget* form = QApplication::activeModalWidget();
        if (!form) { // still being built, in an event loop of its own
            QTimer::singleShot(0, &alive, whenShown);
            return;
        }
        settle();
        shownMs = double(clock.nsecsElapsed()) / 1e6;
        if (auto* dialog = qobject_cast<QDialog*>(form))
            dialog->done(QDialog::Rejected);
        else
            form->close();
    };
    QTimer::singleShot(0, &alive, whenShown);
    timeOnce(policy, label, [&] {
        clock.start();
        open();
    });
    require(shownMs >= 0, QStringLiteral("%1 never showed").arg(label));
    return shownMs;
}

Best timeOpening(const RunPolicy& policy, const QString& label, const std::function<void()>& open)
{
    Best best;
    while (wantsAnotherRun(policy, best))
        best.add(openOnce(policy, label, open));
    return best;
}

struct Openings {
    Best bare;
    std::map<int, Best> functions; // by position
    std::map<int, QString> failures;
};

Openings openEveryFunction(Context& ctx, const QString& path)
{
    Openings out;
    MainWindow main(path);
    out.bare = timeOpening(ctx.policy(), QStringLiteral("bare dialog"),
                           [&] { OpenFunction(kBarePosition, main.window()); });
    for (const FunctionPosition& f : FunctionPositions()) {
        try {
            QAction* item = main.menuItem(f.position);
            require(item && item->isEnabled(), QStringLiteral("its menu item is missing or disabled"));
            out.functions[f.position] = timeOpening(ctx.policy(), f.function, [item] { item->trigger(); });
            main.session().requireNoPrompt(QStringLiteral("opening"));
        } catch (const std::exception& e) {
            out.failures[f.position] = QString::fromUtf8(e.what());
        }
    }
    return out;
}

QString goodsAndMembers(const SalonSize& size)
{
    return QStringLiteral("%1 members, %2 goods").arg(compactCount(size.members), compactCount(size.goods));
}

} // namespace

void runOpenActions(Context& ctx)
{
    if (!ctx.options.wants(QStringLiteral("open")))
        return;
    registerForms();
    const SalonSize& large = ctx.options.salon;
    SalonSize small = large;
    small.members = ctx.options.smallMembers;
    small.goods = ctx.options.smallGoods;
    // Today's bills and documents are there, as at the desk.
    Openings onSmall, onLarge;
    ctx.measure(QStringLiteral("open every function"), goodsAndMembers(small), [&] {
        onSmall = openEveryFunction(ctx, ctx.writableSalon(small, Context::Today::LastDayMoved));
    });
    ctx.measure(QStringLiteral("open every function"), goodsAndMembers(large), [&] {
        onLarge = openEveryFunction(ctx, ctx.writableSalon(large, Context::Today::LastDayMoved));
    });
    if (onLarge.bare.empty())
        return;
    const QString size = goodsAndMembers(large);
    ctx.table.print(Result(QStringLiteral("open a bare dialog (the floor)"), size)
                        .time(onLarge.bare.ms())
                        .note(onSmall.bare.empty() ? QString()
                                                   : QStringLiteral("%1: %2")
                                                         .arg(goodsAndMembers(small), formatMs(onSmall.bare.ms()))));
    for (const FunctionPosition& f : FunctionPositions()) {
        const QString action = QStringLiteral("open %1").arg(f.function);
        if (onLarge.failures.count(f.position)) {
            ctx.table.printFailure(action, size, onLarge.failures[f.position]);
            continue;
        }
        const Best& program = onLarge.functions[f.position];
        const auto smallRun = onSmall.functions.find(f.position);
        const QString onSmallSalon = smallRun == onSmall.functions.end()
                                         ? QString()
                                         : QStringLiteral("%1: %2").arg(goodsAndMembers(small),
                                                                        formatMs(smallRun->second.ms()));
        ctx.table.print(Result(action, size)
                            .time(program.ms())
                            .floor(onLarge.bare.ms())
                            .target(Target::belowMs(50))
                            .note(joinNotes({onSmallSalon, runsNote(ctx.policy(), program)})));
    }
}

} // namespace bench
