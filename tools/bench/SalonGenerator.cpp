// Ten years of a large salon's records, written straight through SQLite:
// members with their cards and levels, the staff, the service menu, goods and
// their stock, purchase and sales documents, and the ledger of service bills
// and card money in the order the days brought them.
#include "tools/bench/SalonGenerator.h"

#include "tools/bench/RawSql.h"
#include "tools/bench/SalonData.h"
#include "tools/bench/SalonVocabulary.h"

#include <QByteArray>
#include <QTime>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace bench {

namespace {

// Card operations, other income and other expenses among the ledger rows;
// the rest are service bills.
constexpr double kOtherShare = 0.12;

QByteArray utf8(const QString& s)
{
    return s.toUtf8();
}

struct Staff {
    QByteArray code;
    int role; // 0 stylist, 1 middle worker, 2 assistant
};

class Generator {
public:
    Generator(RawDb& db, const SalonSize& size) : db_(db), size_(size), random_(20241231) {}

    void run()
    {
        db_.exec(QStringLiteral("pragma synchronous=off"));
        db_.exec(QStringLiteral("pragma cache_size=-400000"));
        inRawTransaction(db_, [&] {
            writeSettings();
            writeLevels();
            writeServiceItems();
            writeEmployees();
            writeCompanies();
            writeGoods();
            writeMembers();
            writeStockDocuments();
            writeLedger();
        });
    }

private:
    void step(const char* what, qint64 done, qint64 total)
    {
        if (total >= 100000 && (done % 100000 == 0 || done == total)) {
            std::fprintf(stderr, "\r  %s %lld / %lld", what, static_cast<long long>(done),
                         static_cast<long long>(total));
            if (done == total)
                std::fprintf(stderr, "\n");
        }
    }

    void writeSettings()
    {
        db_.exec(QStringLiteral("update userinfo set comp_name='靓丽人生美发美容中心', sale_value=5"));
        db_.exec(QStringLiteral(
            "insert into baseitem (fee_code, fee_type) values ('01','现金'),('02','刷卡'),('03','转账'),('04','微信');"
            "insert into baseitem (mone_code, mone_type, mone_rate) values ('01','人民币',1),('02','港币',0.92);"
            "insert into baseitem (gods_unit_id, gods_unit) values ('01','瓶'),('02','支'),('03','盒'),('04','套')"));
    }

    void writeLevels()
    {
        RawStatement st(
            db_, QStringLiteral("insert into cardtype (card_type, type_note, insi_tota, foregift, rebate, list_no) "
                                "values (?,?,?,?,?,?)"));
        for (int i = 0; i < kLevelCount; ++i) {
            const CardLevel& l = kCardLevels[i];
            st.bind(1, QString::fromLatin1(l.code));
            st.bind(2, QString::fromUtf8(l.note));
            st.bindDouble(3, l.threshold);
            st.bindDouble(4, l.deposit);
            st.bindInt(5, l.rebate);
            st.bindInt(6, i + 1);
            st.step();
            st.reset();
        }
    }

    void writeServiceItems()
    {
        RawStatement st(
            db_, QStringLiteral("insert into serveitem (serve_code, serve_name, serve_type, unit_pric, gage_time, "
                                "stylist_rate, middle_rate, assis_rate, serve_state) values (?,?,?,?,?,?,?,?,?)"));
        for (int i = 0; i < size_.serviceItems; ++i) {
            const ServiceItem item = serviceItem(i);
            prices_.push_back(item.price);
            serviceCodes_.push_back(utf8(serviceCode(i)));
            st.bind(1, serviceCode(i));
            st.bind(2, item.name);
            st.bind(3, item.type);
            st.bindDouble(4, item.price);
            st.bind(5, QString::number(item.minutes));
            st.bindInt(6, item.stylistRate);
            st.bindInt(7, item.middleRate);
            st.bindInt(8, item.assistantRate);
            st.bind(9, QStringLiteral("启用"));
            st.step();
            st.reset();
        }
    }

    void writeEmployees()
    {
        static const char* const duties[] = {"设计师", "中工", "助理"};
        RawStatement st(db_, QStringLiteral("insert into employee (empl_code, empl_name, empl_sex, mobile, in_date, "
                                            "dept_name, tech_class, duty, low_salary) values (?,?,?,?,?,?,?,?,?)"));
        for (int i = 0; i < size_.employees; ++i) {
            // Two in five cut and style, the rest wash and assist.
            const int role = i < size_.employees * 2 / 5 ? 0 : i < size_.employees * 7 / 10 ? 1 : 2;
            const bool female = random_.chance(0.6);
            staff_.push_back({utf8(employeeCode(i)), role});
            st.bind(1, employeeCode(i));
            st.bind(2, chineseName(random_, female));
            st.bind(3, female ? QStringLiteral("女") : QStringLiteral("男"));
            st.bind(4, mobileNumber(random_));
            st.bind(5, storedDay(firstDay().addDays(random_.below(kYears * 365))));
            st.bind(6, role == 0 || random_.chance(0.7) ? QStringLiteral("美发部") : QStringLiteral("美容部"));
            st.bind(7, QStringLiteral("%1级").arg(random_.between(1, 5)));
            st.bind(8, QString::fromUtf8(duties[role]));
            static const double basePay[] = {3500, 2800, 2200};
            st.bindDouble(9, basePay[role] + 100 * random_.below(10));
            st.step();
            st.reset();
        }
        for (const Staff& s : staff_)
            (s.role == 0 ? stylists_ : s.role == 1 ? middles_ : assistants_).push_back(s.code);
        if (middles_.empty())
            middles_ = stylists_;
        if (assistants_.empty())
            assistants_ = stylists_;
    }

    void writeCompanies()
    {
        RawStatement st(db_,
                        QStringLiteral("insert into company (comp_code, comp_name, comp_addr, rela_name, rela_phon, "
                                       "comp_type) values (?,?,?,?,?,?)"));
        for (int i = 0; i < kCompanies; ++i) {
            companyCodes_.push_back(utf8(QStringLiteral("C%1").arg(i + 1, 3, 10, QChar('0'))));
            st.bind(1, QString::fromUtf8(companyCodes_.back()));
            st.bind(2, companyName(random_));
            st.bind(3, address(random_));
            st.bind(4, chineseName(random_, random_.chance(0.5)));
            st.bind(5, mobileNumber(random_));
            st.bind(6, i < kCompanies / 2 ? QStringLiteral("供应商") : QStringLiteral("客户"));
            st.step();
            st.reset();
        }
    }

    void writeGoods()
    {
        RawStatement st(db_, QStringLiteral("insert into goods (gods_code, gods_name, gods_spec, gods_type, gods_kind, "
                                            "gods_unit, valu_in, valu_out, max_amou, min_amou, prod_place, prod_code, "
                                            "supp_code) values (?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        RawStatement stock(db_,
                           QStringLiteral("insert into storemain (gods_code, gods_amou, cost_pric) values (?,?,?)"));
        for (int i = 0; i < size_.goods; ++i) {
            const GoodsItem goods = goodsItem(i);
            const double in = 5 + random_.below(300) + 0.5 * random_.below(2);
            goodsPrices_.push_back(in);
            st.bind(1, goodsCode(i));
            st.bind(2, goods.name);
            st.bind(3, goods.spec);
            st.bind(4, goods.type);
            st.bind(5, goods.kind);
            st.bind(6, goods.unit);
            st.bindDouble(7, in);
            st.bindDouble(8, std::round(in * (1.3 + 0.1 * random_.below(8))));
            st.bindDouble(9, 200);
            st.bindDouble(10, 5);
            st.bind(11, productionPlace(random_));
            st.bindStatic(12, companyCodes_[size_t(random_.below(kCompanies / 2))]);
            st.bindStatic(13, companyCodes_[size_t(random_.below(kCompanies / 2))]);
            st.step();
            st.reset();
            stock.bind(1, goodsCode(i));
            stock.bindDouble(2, random_.below(200));
            stock.bindDouble(3, in);
            stock.step();
            stock.reset();
        }
    }

    void writeMembers()
    {
        RawStatement st(
            db_,
            QStringLiteral(
                "insert into insider (insi_code, insi_name, card_no, insi_sex, insi_birth, insi_tele, mobile, "
                "insi_addr, "
                "id_card, card_type, insi_state, insi_pass, open_date, skin1, hair3, foregift, insi_tota, rest_point) "
                "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        const int withCard = firstMemberWithoutCard(size_.members);
        for (int i = 0; i < size_.members; ++i) {
            const bool female = random_.chance(0.78);
            const bool hasCard = i < withCard;
            // Most spend little, a few a great deal.
            const double spend = hasCard ? std::round(20000 * std::pow(random_.unit(), 3)) : 0;
            const int level = levelOf(spend);
            memberRebates_.push_back(quint8(kCardLevels[level].rebate));
            memberCodes_.push_back(utf8(memberCode(i)));
            cardNumbers_.push_back(hasCard ? utf8(cardNumber(i)) : QByteArray());
            const QDate birth = QDate(1960, 1, 1).addDays(random_.below(45 * 365));
            st.bindStatic(1, memberCodes_.back());
            st.bind(2, chineseName(random_, female));
            if (hasCard)
                st.bindStatic(3, cardNumbers_.back());
            else
                st.bindNull(3);
            st.bind(4, female ? QStringLiteral("女") : QStringLiteral("男"));
            st.bind(5, storedDay(birth));
            st.bind(6, random_.chance(0.3) ? QStringLiteral("020-%1").arg(random_.between(30000000, 89999999))
                                           : QString());
            st.bind(7, mobileNumber(random_));
            st.bind(8, random_.chance(0.6) ? address(random_) : QString());
            st.bind(9, QStringLiteral("4401%1%2%3")
                           .arg(random_.between(10, 99))
                           .arg(birth.toString(QStringLiteral("yyyyMMdd")))
                           .arg(random_.between(1000, 9999)));
            st.bind(10, QString::fromUtf8(kCardLevels[level].note));
            st.bind(11, random_.chance(0.99) ? QStringLiteral("启用") : QStringLiteral("禁用"));
            st.bind(12, QString::number(random_.between(100000, 999999)));
            st.bind(13, storedDay(firstDay().addDays(qint64(kYears) * 365 * i / size_.members)));
            st.bindInt(14, random_.below(2));
            st.bindInt(15, random_.below(2));
            st.bindDouble(16, hasCard ? kCardLevels[level].deposit : 0);
            st.bindDouble(17, spend);
            st.bindDouble(18, hasCard ? 100 * random_.below(50) : 0);
            st.step();
            st.reset();
            step("members", i + 1, size_.members);
        }
    }

    // Purchases and sales through the ten years, a few returns among them;
    // the last day has one of each, so the stock forms open on a document.
    void writeStockDocuments()
    {
        for (QDate month = firstDay(); month <= lastDay(); month = month.addMonths(1)) {
            const int growth = 1 + (month.year() - firstDay().year()) / 2;
            for (int i = 0; i < 4 * growth; ++i)
                writeDocument(true, randomDayOf(month), i);
            for (int i = 0; i < 8 * growth; ++i)
                writeDocument(false, randomDayOf(month), i);
        }
        writeDocument(true, lastDay(), 99);
        writeDocument(false, lastDay(), 99);
    }

    QDate randomDayOf(const QDate& month) { return month.addDays(random_.below(month.daysInMonth())); }

    void writeDocument(bool in, const QDate& day, int serial)
    {
        const QString side = in ? QStringLiteral("in") : QStringLiteral("out");
        const bool isReturn = random_.chance(0.03);
        // Purchases from 10:00, sales from 14:00, a minute apart.
        const QTime time = QTime(in ? 10 : 14, 0).addSecs(60 * serial);
        const QString billNo = day.toString(QStringLiteral("yyyyMMdd")) + time.toString(QStringLiteral("hhmmss"));
        const int lineCount = in ? random_.between(2, 8) : random_.between(1, 4);
        RawStatement line(db_, QStringLiteral("insert into %1goods (bill_no, gods_code, sub_amou, unit_pric, remark) "
                                              "values (?,?,?,?,?)")
                                   .arg(side));
        double total = 0;
        for (int i = 0; i < lineCount; ++i) {
            const int g = random_.skewed(size_.goods);
            const double quantity = in ? 6 * random_.between(1, 10) : random_.between(1, 3);
            const double price = in ? goodsPrices_[size_t(g)] : std::round(goodsPrices_[size_t(g)] * 1.6);
            total += quantity * price;
            line.bind(1, billNo);
            line.bind(2, goodsCode(g));
            line.bindDouble(3, quantity);
            line.bindDouble(4, price);
            line.bind(5, isReturn && in ? QStringLiteral("入库") : QString());
            line.step();
            line.reset();
        }
        RawStatement head(db_,
                          QStringLiteral("insert into %1main (bill_no, vouc_no, bill_date, comp_code, mone_type, "
                                         "mone_rate, fee_type, hand_code, oper_code, rela_code, fact_tota, shou_tota, "
                                         "bill_type) values (?,?,?,?,'人民币',1,'现金',?,'admin',?,?,?,?)")
                              .arg(side));
        head.bind(1, billNo);
        head.bind(2, QStringLiteral("V%1").arg(random_.below(1000000), 6, 10, QChar('0')));
        head.bind(3, storedDay(day));
        head.bindStatic(
            4,
            companyCodes_[size_t(in ? random_.below(kCompanies / 2) : kCompanies / 2 + random_.below(kCompanies / 2))]);
        head.bindStatic(5, random_.pick(staff_).code);
        // A sale is credited to the stylist who sold it.
        if (in)
            head.bindNull(6);
        else
            head.bindStatic(6, random_.pick(stylists_));
        head.bindDouble(7, total);
        head.bindDouble(8, total);
        head.bind(9, isReturn ? QStringLiteral("retu") : side);
        head.step();
    }

    struct MonthPlan {
        QDate first;
        qint64 service = 0;
        qint64 other = 0;
    };

    // Rows per month: the last month holds the peak of service bills (and
    // its share of other rows); the rest grow tenfold over the years before.
    std::vector<MonthPlan> planLedger() const
    {
        const int months = kYears * 12;
        std::vector<MonthPlan> plan(static_cast<size_t>(months));
        for (int m = 0; m < months; ++m)
            plan[size_t(m)].first = firstDay().addMonths(m);
        MonthPlan& last = plan.back();
        last.service = std::min<qint64>(size_.peakMonthBills, size_.ledgerRows);
        last.other = std::min<qint64>(qint64(std::llround(last.service * kOtherShare / (1 - kOtherShare))),
                                      size_.ledgerRows - last.service);
        const qint64 rest = size_.ledgerRows - last.service - last.other;
        double weights = 0;
        for (int m = 0; m + 1 < months; ++m)
            weights += 1 + 9.0 * m / (months - 2);
        qint64 given = 0;
        for (int m = 0; m + 1 < months; ++m) {
            qint64 rows = qint64(rest * (1 + 9.0 * m / (months - 2)) / weights);
            if (m + 2 == months)
                rows = rest - given;
            given += rows;
            plan[size_t(m)].other = qint64(std::llround(rows * kOtherShare));
            plan[size_t(m)].service = rows - plan[size_t(m)].other;
        }
        return plan;
    }

    void writeLedger()
    {
        ledger_ = std::make_unique<RawStatement>(
            db_, QStringLiteral("insert into insifee (insi_code, card_no, serve_code, bill_no, bill_date, serv_fee, "
                                "gath_code, gath_note, "
                                "gath_type, stylist_code, middle_code, assis_code, oper_code, should_gath) values "
                                "(?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        for (const MonthPlan& month : planLedger()) {
            const int days = month.first.daysInMonth();
            for (int d = 0; d < days; ++d) {
                const qint64 service = month.service * (d + 1) / days - month.service * d / days;
                const qint64 other = month.other * (d + 1) / days - month.other * d / days;
                writeDay(month.first.addDays(d), service, other);
            }
        }
        ledger_.reset();
    }

    // The day's rows in the order they were taken, from 09:00 to 21:00.
    void writeDay(const QDate& day, qint64 service, qint64 other)
    {
        const QByteArray date = utf8(storedDay(day));
        const QByteArray prefix = utf8(day.toString(QStringLiteral("yyyyMMdd")));
        const qint64 count = service + other;
        for (qint64 i = 0; i < count; ++i) {
            const int second = 9 * 3600 + int(12 * 3600 * i / count);
            char time[16];
            std::snprintf(time, sizeof time, "%02d%02d%02d", second / 3600, second / 60 % 60, second % 60);
            const QByteArray billNo = prefix + time;
            const bool isService = qint64(random_.next() % quint64(service + other)) < service;
            if (isService) {
                writeServiceBill(date, billNo);
                --service;
            } else {
                writeOtherRow(date, billNo);
                --other;
            }
            step("ledger rows", ++written_, size_.ledgerRows);
        }
    }

    void writeServiceBill(const QByteArray& date, const QByteArray& billNo)
    {
        RawStatement& st = *ledger_;
        const int member = random_.below(firstMemberWithoutCard(size_.members));
        const int item = random_.skewed(size_.serviceItems);
        const int price = prices_[size_t(item)];
        const int rebate = memberRebates_[size_t(member)];
        const qint64 due = rebate > 0 && rebate < 100 ? std::llround(price * rebate / 100.0) : price;
        const bool paid = random_.chance(0.995);
        st.bindNull(1); // the billing form writes the card, not the member code
        st.bindStatic(2, cardNumbers_[size_t(member)]);
        st.bindStatic(3, serviceCodes_[size_t(item)]);
        st.bindStatic(4, billNo);
        st.bindStatic(5, date);
        if (paid) {
            st.bindInt(6, due);
            st.bindStatic(7, kAdmin);
        } else { // saved unpaid, to be collected later
            st.bindNull(6);
            st.bindNull(7);
        }
        st.bindStatic(8, kServiceNote);
        st.bindStatic(9, kServiceType);
        st.bindStatic(10, random_.pick(stylists_));
        bindOptional(st, 11, random_.chance(0.6) ? &random_.pick(middles_) : nullptr);
        bindOptional(st, 12, random_.chance(0.7) ? &random_.pick(assistants_) : nullptr);
        st.bindStatic(13, kAdmin);
        st.bindInt(14, due);
        st.step();
        st.reset();
    }

    // Card money, other income and expenses, in the proportions of a
    // salon's year: deposits most, then expenses.
    void writeOtherRow(const QByteArray& date, const QByteArray& billNo)
    {
        struct Kind {
            int weight;
            const char* type;
            const char* note;
            int unit, low, high; // the amount: unit × a number from low to high
            bool card;
        };
        static const Kind kinds[] = {
            {50, "savemoney", "会员存款", 100, 5, 50, true}, {12, "foregift", "会员押金", 100, 1, 10, true},
            {8, "takemoney", "会员取款", 100, 1, 10, true},  {2, "addcard", "会员补卡费", 1, 10, 20, true},
            {2, "deletecard", "会员退卡", 100, 1, 20, true}, {9, "income", "场地出租", 100, 1, 20, false},
            {17, "Outlay", "水电费", 100, 2, 40, false},
        };
        int roll = random_.below(100);
        const Kind* kind = &kinds[0];
        for (const Kind& k : kinds) {
            if (roll < k.weight) {
                kind = &k;
                break;
            }
            roll -= k.weight;
        }
        RawStatement& st = *ledger_;
        const qint64 amount = qint64(kind->unit) * random_.between(kind->low, kind->high);
        if (kind->card) {
            const int member = random_.below(firstMemberWithoutCard(size_.members));
            st.bindStatic(1, memberCodes_[size_t(member)]);
            st.bindStatic(2, cardNumbers_[size_t(member)]);
            st.bindNull(4); // card operations carry no bill number
        } else {
            st.bindNull(1);
            st.bindNull(2);
            st.bindStatic(4, billNo);
        }
        st.bindNull(3);
        st.bindStatic(5, date);
        st.bindInt(6, amount);
        st.bindStatic(7, kAdmin);
        st.bind(8, QString::fromUtf8(kind->note));
        st.bind(9, QString::fromLatin1(kind->type));
        for (int c = 10; c <= 12; ++c)
            st.bindNull(c);
        bindOptional(st, 13, kind->card ? nullptr : &kAdmin);
        st.bindNull(14);
        st.step();
        st.reset();
    }

    static void bindOptional(RawStatement& st, int index1, const QByteArray* text)
    {
        if (text)
            st.bindStatic(index1, *text);
        else
            st.bindNull(index1);
    }

    static constexpr int kCompanies = 200;
    const QByteArray kAdmin = "admin";
    const QByteArray kServiceType = "servefee";
    const QByteArray kServiceNote = QStringLiteral("会员消费").toUtf8();

    RawDb& db_;
    SalonSize size_;
    Random random_;
    std::vector<int> prices_;
    std::vector<QByteArray> serviceCodes_, companyCodes_, memberCodes_, cardNumbers_;
    std::vector<quint8> memberRebates_;
    std::vector<double> goodsPrices_;
    std::vector<Staff> staff_;
    std::vector<QByteArray> stylists_, middles_, assistants_;
    std::unique_ptr<RawStatement> ledger_;
    qint64 written_ = 0;
};

} // namespace

void fillSalon(RawDb& db, const SalonSize& size)
{
    Generator(db, size).run();
}

} // namespace bench
