#include "stock/StockPosting.h"

#include <cmath>

namespace {

// Below this a quantity is taken as zero: sums of fractional quantities
// leave crumbs such as 5.5e-17 that would blow the average up.
constexpr double kZeroQuantity = 1e-9;

double settled(double quantity)
{
    return std::fabs(quantity) < kZeroQuantity ? 0.0 : quantity;
}

} // namespace

double MovingAverageCost(double q, double c, double s, double p)
{
    if (settled(q) <= 0.0 || settled(q + s) <= 0.0)
        return p;
    return (q * c + s * p) / (q + s);
}

StockBook::Record StockBook::read(const QString& code) const
{
    db::Statement st(conn_, QStringLiteral("select gods_amou, cost_pric from storemain where gods_code=:code"));
    st.bind(QStringLiteral("code"), code);
    Record r;
    if (st.step()) {
        r.found = true;
        r.quantity = db::asFloat(st.value(0));
        r.cost = db::asFloat(st.value(1));
    }
    return r;
}

void StockBook::setQuantity(const QString& code, double quantity)
{
    conn_.execute(QStringLiteral("update storemain set gods_amou=:amou where gods_code=:code"),
                  {{QStringLiteral("amou"), settled(quantity)}, {QStringLiteral("code"), code}});
}

void StockBook::receive(const QString& code, double quantity, double price)
{
    if (code.trimmed().isEmpty())
        return;
    const Record r = read(code);
    if (!r.found) {
        conn_.execute(QStringLiteral("insert into storemain (gods_code, gods_amou, cost_pric) values (:code, :amou, :cost)"),
                      {{QStringLiteral("code"), code}, {QStringLiteral("amou"), quantity}, {QStringLiteral("cost"), price}});
        return;
    }
    conn_.execute(QStringLiteral("update storemain set cost_pric=:cost, gods_amou=:amou where gods_code=:code"),
                  {{QStringLiteral("cost"), MovingAverageCost(r.quantity, r.cost, quantity, price)},
                   {QStringLiteral("amou"), settled(r.quantity + quantity)},
                   {QStringLiteral("code"), code}});
}

void StockBook::issue(const QString& code, double quantity)
{
    if (code.trimmed().isEmpty())
        return;
    const Record r = read(code);
    if (!r.found) {
        conn_.execute(QStringLiteral("insert into storemain (gods_code, gods_amou) values (:code, :amou)"),
                      {{QStringLiteral("code"), code}, {QStringLiteral("amou"), 0.0 - quantity}});
        return;
    }
    setQuantity(code, r.quantity - quantity);
}

void StockBook::takeBack(const QString& code, double quantity, bool received)
{
    if (code.trimmed().isEmpty())
        return;
    const Record r = read(code);
    if (!r.found)
        return;
    setQuantity(code, received ? r.quantity - quantity : r.quantity + quantity);
}
