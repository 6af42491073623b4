// The other everyday saves: card money and stock documents, each against
// the rows it must write issued raw in one transaction.
#include "tools/bench/Actions.h"

#include "core/DbConfig.h"
#include "core/FormFrame.h"
#include "core/Upublic.h"
#include "members/Usavemoney.h"
#include "members/Utakemoney.h"
#include "platform/ui/DatasetModel.h"
#include "stock/DocumentLinesGrid.h"
#include "stock/Uin.h"
#include "stock/Uout.h"
#include "tools/bench/RawSql.h"
#include "tools/bench/Session.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <vector>

namespace bench {

namespace {

// ---------------------------------------------------------------- card money

// A member whose card may be drawn on: code, password.
struct CardHolder {
    QString code;
    QString password;
};

std::vector<CardHolder> holdersWithBalance(RawDb& raw, int count)
{
    RawStatement st(raw, QStringLiteral("select insi_code, insi_pass from insider where card_no is not null and "
                                        "rest_point >= 1000 order by in_id limit ?"));
    st.bind(1, count);
    std::vector<CardHolder> out;
    while (st.step())
        out.push_back({st.value(0).toString(), st.value(1).toString()});
    require(int(out.size()) == count, QStringLiteral("too few members with a balance"));
    return out;
}

// One operation on a card operation form: the member found, the operation
// started and its boxes filled, untimed; the save timed.
double cardOperation(Context& ctx, CardOperationForm& form, const CardHolder& member,
                     const std::vector<std::pair<CardBox, QString>>& boxes)
{
    QLineEdit* find = form.findBox();
    clearBox(find);
    typeText(find, member.code);
    pressKey(find, Qt::Key_Return);
    require(form.memberCodeBox()->text() == member.code, QStringLiteral("member %1 not found").arg(member.code));
    click(form.controls().cmd_edit);
    require(form.mode() == FormMode::Edit, QStringLiteral("the operation did not start"));
    for (const auto& [box, text] : boxes) {
        clearBox(form.box(box));
        typeText(form.box(box), text);
    }
    const double ms = timeOnce(ctx.policy(), form.windowTitle(), [&] { click(form.controls().cmd_save); });
    require(form.mode() == FormMode::Null, QStringLiteral("the operation was not saved"));
    return ms;
}

// The ledger row and the member's balance, as a card operation writes them.
void cardMoneyRaw(RawDb& raw, const CardHolder& member, const char* type, qint64 amount, double sign)
{
    inRawTransaction(raw, [&] {
        RawStatement row(raw,
                         QStringLiteral("insert into insifee (insi_code,card_no,bill_date,serv_fee,gath_code,gath_note,"
                                        "gath_type) select insi_code, card_no, ?, ?, 'admin', ?, ? from insider "
                                        "where insi_code=?"));
        row.bind(1, storedDay(QDate::currentDate()));
        row.bind(2, amount);
        row.bind(3, sign > 0 ? QStringLiteral("会员存款") : QStringLiteral("会员取款"));
        row.bind(4, QString::fromLatin1(type));
        row.bind(5, member.code);
        row.step();
        RawStatement balance(raw, QStringLiteral("update insider set rest_point=rest_point+? where insi_code=?"));
        balance.bind(1, sign * double(amount));
        balance.bind(2, member.code);
        balance.step();
    });
}

template <class Form>
void cardMoney(Context& ctx, const QString& path, const QString& size, const char* type, double sign,
               const std::function<std::vector<std::pair<CardBox, QString>>(const CardHolder&)>& boxes)
{
    std::vector<CardHolder> holders;
    {
        RawDb raw(path, databaseKey());
        holders = holdersWithBalance(raw, 2 * ctx.policy().runs + 2);
    }
    Best program;
    {
        ProgramSession session(path);
        Form form;
        showForm(form);
        for (int run = 0; wantsAnotherRun(ctx.policy(), program); ++run) {
            program.add(cardOperation(ctx, form, holders[size_t(run)], boxes(holders[size_t(run)])));
            session.requireNoPrompt(form.windowTitle());
        }
    }
    RawDb raw(path, databaseKey());
    int run = ctx.policy().runs;
    const Best floor = timeBest(
        ctx.policy(), QStringLiteral("raw card money"),
        [&] { cardMoneyRaw(raw, holders[size_t(run)], type, 100, sign); }, [&] { ++run; });
    ctx.table.print(
        Result(
            QStringLiteral("save a card %1").arg(sign > 0 ? QStringLiteral("deposit") : QStringLiteral("withdrawal")),
            size)
            .time(program.ms())
            .floor(floor.ms())
            .note(QStringLiteral("floor: ledger row + balance, raw; target: no whole-table re-read")));
}

// ---------------------------------------------------------------- stock documents

// The clerk's hands on the lines grid of a document form.
class LinesGrid {
public:
    explicit LinesGrid(StockDocumentForm& form) : form_(form), grid_(form.grid()) {}

    // One line: the code (Enter takes the goods' price), then the quantity.
    void typeLine(const QString& code, const QString& quantity)
    {
        enterCell("gods_code", code);
        enterCell("sub_amou", quantity);
    }
    // Down on the final line: a new line.
    void newLine()
    {
        grid_->setFocus();
        pressKey(grid_, Qt::Key_Down);
    }

private:
    QModelIndex cell(const char* field) const
    {
        return grid_->model()->index(form_.lines().recNo(),
                                     grid_->datasetModel()->columnOf(QString::fromLatin1(field)));
    }
    // Double-click opens the cell's editor; the text is typed, then Enter.
    void enterCell(const char* field, const QString& text)
    {
        const QModelIndex at = cell(field);
        grid_->scrollTo(at);
        const QPoint centre = grid_->visualRect(at).center();
        QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(grid_->viewport(), Qt::LeftButton, {}, centre);
        QWidget* editor = grid_->cellEditor();
        require(editor != nullptr, QStringLiteral("no cell editor for %1").arg(QLatin1String(field)));
        QLineEdit* box = qobject_cast<QLineEdit*>(editor);
        if (!box)
            if (auto* combo = qobject_cast<QComboBox*>(editor))
                box = combo->lineEdit();
        require(box != nullptr, QStringLiteral("the cell editor takes no text"));
        box->selectAll();
        pressKey(box, Qt::Key_Delete);
        typeText(box, text);
        pressKey(box, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    StockDocumentForm& form_;
    DocumentLinesGrid* grid_;
};

constexpr int kDocumentLines = 3;

QString goodsForLine(int run, int line)
{
    return goodsCode(run * 101 + line * 7);
}

// A new document of a few lines typed, untimed; the save timed.
double stockDocument(Context& ctx, StockDocumentForm& form, int run)
{
    click(form.controls().cmd_add);
    LinesGrid lines(form);
    for (int i = 0; i < kDocumentLines; ++i) {
        if (i > 0)
            lines.newLine();
        lines.typeLine(goodsForLine(run, i), QString::number(2 + i));
    }
    const double ms = timeOnce(ctx.policy(), form.windowTitle(), [&] { click(form.controls().cmd_save); });
    require(form.mode() == FormMode::Null, QStringLiteral("the document was not saved"));
    return ms;
}

// The header, the lines and the stock records they move, in one transaction.
void stockDocumentRaw(RawDb& raw, bool in, int run)
{
    const QString side = in ? QStringLiteral("in") : QStringLiteral("out");
    const QString billNo = NewBillNo();
    inRawTransaction(raw, [&] {
        RawStatement head(
            raw,
            QStringLiteral("insert into %1main (bill_no, bill_date, shou_tota, bill_type) values (?,?,?,?)").arg(side));
        head.bind(1, billNo);
        head.bind(2, storedDay(QDate::currentDate()));
        head.bind(3, 100.0);
        head.bind(4, side);
        head.step();
        RawStatement line(
            raw,
            QStringLiteral("insert into %1goods (bill_no, gods_code, sub_amou, unit_pric) values (?,?,?,?)").arg(side));
        RawStatement read(raw, QStringLiteral("select gods_amou, cost_pric from storemain where gods_code=?"));
        RawStatement write(raw, QStringLiteral("update storemain set gods_amou=?, cost_pric=? where gods_code=?"));
        for (int i = 0; i < kDocumentLines; ++i) {
            const QString code = goodsForLine(run, i);
            line.bind(1, billNo);
            line.bind(2, code);
            line.bind(3, double(2 + i));
            line.bind(4, 10.0);
            line.step();
            line.reset();
            read.bind(1, code);
            require(read.step(), QStringLiteral("no stock record of %1").arg(code));
            const double quantity = read.value(0).toDouble() + (in ? 2 + i : -(2 + i));
            const double cost = read.value(1).toDouble();
            read.reset();
            write.bind(1, quantity);
            write.bind(2, cost);
            write.bind(3, code);
            write.step();
            write.reset();
        }
    });
}

template <class Form>
void stockDocuments(Context& ctx, const QString& path, const QString& size, bool in)
{
    Best program;
    {
        ProgramSession session(path);
        Form form;
        showForm(form);
        for (int run = 0; wantsAnotherRun(ctx.policy(), program); ++run) {
            program.add(stockDocument(ctx, form, run));
            session.requireNoPrompt(form.windowTitle());
        }
    }
    RawDb raw(path, databaseKey());
    int run = 0;
    const Best floor = timeBest(
        ctx.policy(), QStringLiteral("raw stock document"), [&] { stockDocumentRaw(raw, in, run); }, [&] { ++run; });
    const QString document = in ? QStringLiteral("purchase") : QStringLiteral("sale");
    ctx.table.print(Result(QStringLiteral("save a %1 of %2 lines").arg(document).arg(kDocumentLines), size)
                        .time(program.ms())
                        .floor(floor.ms())
                        .note(QStringLiteral("floor: header, lines and stock, raw; target: no whole-table re-read")));
}

} // namespace

void runSaveActions(Context& ctx)
{
    if (!ctx.options.wants(QStringLiteral("saves")))
        return;
    const SalonSize& size = ctx.options.salon;
    const QString sizeText = size.describe();
    QString path;
    ctx.measure(QStringLiteral("card operations and stock documents"), sizeText,
                [&] { path = ctx.writableSalon(size, Context::Today::LastDayMoved); });
    if (path.isEmpty())
        return;
    ctx.measure(QStringLiteral("save a card deposit"), sizeText, [&] {
        cardMoney<TFrmSaveMoney>(ctx, path, sizeText, "savemoney", +1, [](const CardHolder&) {
            return std::vector<std::pair<CardBox, QString>>{{CardBox::Amount, QStringLiteral("500")}};
        });
    });
    ctx.measure(QStringLiteral("save a card withdrawal"), sizeText, [&] {
        cardMoney<TFrmTakeMoney>(ctx, path, sizeText, "takemoney", -1, [](const CardHolder& member) {
            return std::vector<std::pair<CardBox, QString>>{{CardBox::Password, member.password},
                                                            {CardBox::Amount, QStringLiteral("100")}};
        });
    });
    ctx.measure(QStringLiteral("save a purchase"), sizeText,
                [&] { stockDocuments<TFrmIn>(ctx, path, sizeText, true); });
    ctx.measure(QStringLiteral("save a sale"), sizeText, [&] { stockDocuments<TFrmOut>(ctx, path, sizeText, false); });
}

} // namespace bench
