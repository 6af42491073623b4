// The service bill: typed and saved on 会员服务开单 the way a cashier does,
// against the bill's own writes issued raw.
#include "tools/bench/Actions.h"

#include "core/DbConfig.h"
#include "core/FormFrame.h"
#include "core/Upublic.h"
#include "members/Uservelog.h"
#include "platform/ui/DbComboBox.h"
#include "tools/bench/RawSql.h"
#include "tools/bench/Session.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <optional>

namespace bench {

namespace {

// The cashier's hands on an open billing form.
class BillingDesk {
public:
    BillingDesk()
        : form_(std::make_unique<TFrmServeLog>()), card_(child<QLineEdit>(*form_, "DBEdit1")),
          service_(child<QLineEdit>(*form_, "DBEdit5")), stylist_(child<ui::DbComboBox>(*form_, "DBComboBox1")),
          due_(child<QLineEdit>(*form_, "DBEdit17")), received_(child<QLineEdit>(*form_, "DBEdit16"))
    {
    }

    // Shown and drawn, as the user first sees it.
    void show()
    {
        form_->show();
        QCoreApplication::processEvents();
    }
    // Made the active window, so the focus moves as typed (no work of the
    // form's own; the wait for the window system is not the program's).
    void activate() { showForm(*form_); }

    void add() { click(child<QPushButton>(*form_, "cmd_add")); }
    // The card number typed and Enter: the member's name and level show.
    void enterCard(const QString& cardNo)
    {
        card_->setFocus();
        typeText(card_, cardNo);
        pressKey(card_, Qt::Key_Return);
    }
    // The service code typed and Tab: the item and the amount due show.
    void enterService(const QString& code)
    {
        service_->setFocus();
        typeText(service_, code);
        pressKey(service_, Qt::Key_Tab);
    }
    void enterStylist(const QString& code)
    {
        clearBox(stylist_);
        typeText(stylist_, code);
        pressKey(stylist_, Qt::Key_Tab);
    }
    // The amount due, as the member pays it.
    void enterAmount()
    {
        require(!due_->text().trimmed().isEmpty(), QStringLiteral("no amount due was shown"));
        received_->setFocus();
        received_->selectAll();
        typeText(received_, due_->text().trimmed());
    }
    void save()
    {
        click(child<QPushButton>(*form_, "cmd_save"));
        require(form_->mode() == FormMode::Null, QStringLiteral("the bill was not saved"));
    }
    void cancel() { click(child<QPushButton>(*form_, "cmd_canc")); }
    qlonglong dueAmount() const { return due_->text().trimmed().toLongLong(); }

private:
    std::unique_ptr<TFrmServeLog> form_;
    QLineEdit* card_;
    QLineEdit* service_;
    ui::DbComboBox* stylist_;
    QLineEdit* due_;
    QLineEdit* received_;
};

// A member with a card, another for each run, spread over the members.
int memberForRun(int run, int members)
{
    return int((qint64(run) * 7919 + 13) % firstMemberWithoutCard(members));
}

// One of the popular items.
QString serviceForRun(int run)
{
    return serviceCode(run % 10);
}

// What saving a paid bill must write at the least: the bill row and the
// member's balance and spend, in one transaction.
void writeBillRaw(RawDb& raw, int member, int run)
{
    inRawTransaction(raw, [&] {
        RawStatement bill(raw, QStringLiteral("insert into insifee (card_no, serve_code, bill_no, bill_date, serv_fee, "
                                              "gath_code, gath_note, gath_type, "
                                              "stylist_code, oper_code, should_gath) values (?,?,?,?,?,?,?,?,?,?,?)"));
        const QVariant due = qlonglong(38);
        bill.bind(1, cardNumber(member));
        bill.bind(2, serviceForRun(run));
        bill.bind(3, NewBillNo());
        bill.bind(4, storedDay(QDate::currentDate()));
        bill.bind(5, due);
        bill.bind(6, QStringLiteral("admin"));
        bill.bind(7, QStringLiteral("会员消费"));
        bill.bind(8, QStringLiteral("servefee"));
        bill.bind(9, employeeCode(0));
        bill.bind(10, QStringLiteral("admin"));
        bill.bind(11, due);
        bill.step();
        RawStatement charge(
            raw, QStringLiteral("update insider set rest_point=rest_point-?, insi_tota=insi_tota+? where card_no=?"));
        charge.bind(1, due);
        charge.bind(2, due);
        charge.bind(3, cardNumber(member));
        charge.step();
    });
}

struct BillCycle {
    Best card, service, amount, save, floor;
};

// Bills typed and saved one after another, each step timed on its own; the
// typing of a bill follows the save of the one before, as at the desk.
BillCycle billOneAfterAnother(Context& ctx, const QString& path, int members)
{
    BillCycle cycle;
    {
        ProgramSession session(path);
        BillingDesk desk;
        desk.activate();
        session.requireNoPrompt(QStringLiteral("opening the billing form"));
        for (int run = 0; wantsAnotherRun(ctx.policy(), cycle.save); ++run) {
            const int member = memberForRun(run, members);
            desk.add();
            cycle.card.add(
                timeOnce(ctx.policy(), QStringLiteral("card + Enter"), [&] { desk.enterCard(cardNumber(member)); }));
            cycle.service.add(timeOnce(ctx.policy(), QStringLiteral("service + Tab"),
                                       [&] { desk.enterService(serviceForRun(run)); }));
            desk.enterStylist(employeeCode(run % 10));
            cycle.amount.add(timeOnce(ctx.policy(), QStringLiteral("amount typed"), [&] { desk.enterAmount(); }));
            cycle.save.add(timeOnce(ctx.policy(), QStringLiteral("bill save"), [&] { desk.save(); }));
            session.requireNoPrompt(QStringLiteral("the bill"));
        }
    }
    RawDb raw(path, databaseKey());
    int run = 0;
    cycle.floor = timeBest(
        ctx.policy(), QStringLiteral("raw bill writes"), [&] { writeBillRaw(raw, memberForRun(run, members), run); },
        [&] { ++run; });
    return cycle;
}

// Opening the form on a program just started, and the first bill typed on it.
void firstBillAfterOpening(Context& ctx, const QString& path, const QString& size)
{
    ProgramSession session(path);
    Best open, first;
    std::unique_ptr<BillingDesk> desk;
    for (int run = 0; wantsAnotherRun(ctx.policy(), first); ++run) {
        desk.reset();
        session.restart();
        open.add(timeOnce(ctx.policy(), QStringLiteral("open the billing form"), [&] {
            desk = std::make_unique<BillingDesk>();
            desk->show();
        }));
        desk->activate();
        first.add(timeOnce(ctx.policy(), QStringLiteral("first bill"), [&] {
            desk->add();
            desk->enterCard(cardNumber(memberForRun(run + 100, ctx.options.salon.members)));
            desk->enterService(serviceForRun(run));
            desk->enterAmount();
        }));
        desk->cancel();
        session.requireNoPrompt(QStringLiteral("the first bill"));
    }
    desk.reset();
    ctx.table.print(Result(QStringLiteral("open the billing form"), size)
                        .time(open.ms())
                        .note(QStringLiteral("会员服务开单 on a program just started, today's bills listed")));
    ctx.table.print(Result(QStringLiteral("first bill typed after opening"), size)
                        .time(first.ms())
                        .target(Target::belowMs(100))
                        .note(QStringLiteral("add, card + Enter, service + Tab, amount")));
}

Result savedBill(const SalonSize& size, const BillCycle& cycle)
{
    return Result(QStringLiteral("save one service bill"), size.describe())
        .time(cycle.save.ms())
        .floor(cycle.floor.ms())
        .target(Target::ratioAtMost(8))
        .note(QStringLiteral("floor: the bill's writes, raw"));
}

} // namespace

void runBillingActions(Context& ctx)
{
    if (!ctx.options.wants(QStringLiteral("bill")))
        return;
    const SalonSize small = ctx.options.salonWith(ctx.options.billLedgerRows, ctx.options.smallMembers);
    const SalonSize large = ctx.options.salonWith(ctx.options.billLedgerRows, ctx.options.salon.members);
    const QString saveAction = QStringLiteral("save one service bill");
    std::optional<double> smallSave;
    ctx.measure(saveAction, small.describe(), [&] {
        const BillCycle cycle =
            billOneAfterAnother(ctx, ctx.writableSalon(small, Context::Today::LastDayMoved), small.members);
        smallSave = cycle.save.ms();
        ctx.table.print(savedBill(small, cycle));
    });
    ctx.measure(saveAction, large.describe(), [&] {
        const QString path = ctx.writableSalon(large, Context::Today::LastDayMoved);
        const BillCycle cycle = billOneAfterAnother(ctx, path, large.members);
        ctx.table.print(savedBill(large, cycle));
        if (smallSave)
            ctx.table.print(
                Result(QStringLiteral("bill save, large salon vs small"),
                       QStringLiteral("%1 vs %2 members").arg(compactCount(large.members), compactCount(small.members)))
                    .ratio(cycle.save.ms() / *smallSave)
                    .target(Target::ratioAtMost(1.5)));
        const auto typing = [&](const char* what, const Best& best) {
            ctx.table.print(Result(QString::fromLatin1(what), large.describe())
                                .time(best.ms())
                                .target(Target::belowMs(100))
                                .note(QStringLiteral("after a bill saved")));
        };
        typing("type card number + Enter", cycle.card);
        typing("type service code + Tab", cycle.service);
        typing("type the amount received", cycle.amount);
        firstBillAfterOpening(ctx, path, large.describe());
    });
}

} // namespace bench
