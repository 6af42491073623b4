// Times the work a salon's years of records put on the data layer: opening
// the ledger over a month and over everything, reading every lookup column of
// it, and filtering by date. Prints one line per measurement.
//
//   salon-benchmark [MEMBERS] [BILLS]
#include "core/DbConfig.h"
#include "core/Schema.h"
#include "core/Udatamod.h"
#include "platform/db/Connection.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

void report(const char* what, qint64 ms, int rows)
{
    std::printf("%-48s %8lld ms  %8d rows\n", what, static_cast<long long>(ms), rows);
}

void fill(db::Connection& conn, int members, int bills)
{
    db::Transaction t(conn);
    conn.execute(QStringLiteral("insert into cardtype (card_type, type_note, insi_tota, foregift, rebate, list_no) values "
                                "('class_a','普通卡',0,0,100,1),('class_b','银卡',1000,0,95,2),('class_c','金卡',3000,0,90,3),"
                                "('class_d','白金卡',6000,0,85,4),('class_e','钻石卡',10000,0,80,5)"));
    db::Statement member(conn, QStringLiteral("insert into insider (insi_code, insi_name, card_no, card_type, rest_point) "
                                              "values (:c, :n, :k, :t, :r)"));
    for (int i = 0; i < members; ++i) {
        member.reset();
        member.bind(QStringLiteral("c"), QStringLiteral("M%1").arg(i));
        member.bind(QStringLiteral("n"), QStringLiteral("会员%1").arg(i));
        member.bind(QStringLiteral("k"), QStringLiteral("C%1").arg(i));
        member.bind(QStringLiteral("t"), i % 2 ? QStringLiteral("金卡") : QStringLiteral("银卡"));
        member.bind(QStringLiteral("r"), 100.5);
        member.step();
    }
    for (int i = 0; i < 200; ++i)
        conn.execute(QStringLiteral("insert into serveitem (serve_code, serve_name, unit_pric) values (:c, :n, 88)"),
                     {{QStringLiteral("c"), QStringLiteral("S%1").arg(i)}, {QStringLiteral("n"), QStringLiteral("项目%1").arg(i)}});
    for (int i = 0; i < 50; ++i)
        conn.execute(QStringLiteral("insert into employee (empl_code, empl_name) values (:c, :n)"),
                     {{QStringLiteral("c"), QStringLiteral("E%1").arg(i)}, {QStringLiteral("n"), QStringLiteral("员工%1").arg(i)}});
    db::Statement bill(conn, QStringLiteral("insert into insifee (insi_code, card_no, serve_code, bill_no, bill_date, serv_fee, "
                                            "gath_type, stylist_code, should_gath) values (:m, :k, :s, :b, :d, 88, 'servefee', :e, 84)"));
    const QDate first(2020, 1, 1);
    for (int i = 0; i < bills; ++i) {
        const int m = i % members;
        bill.reset();
        bill.bind(QStringLiteral("m"), QStringLiteral("M%1").arg(m));
        bill.bind(QStringLiteral("k"), QStringLiteral("C%1").arg(m));
        bill.bind(QStringLiteral("s"), QStringLiteral("S%1").arg(i % 200));
        bill.bind(QStringLiteral("b"), QStringLiteral("B%1").arg(i));
        bill.bind(QStringLiteral("d"), first.addDays(i * 2190 / bills));
        bill.bind(QStringLiteral("e"), QStringLiteral("E%1").arg(i % 50));
        bill.step();
    }
    t.commit();
}

int readAll(db::Dataset& q)
{
    int cells = 0;
    for (int r = 0; r < q.recordCount(); ++r)
        for (int f = 0; f < q.fieldCount(); ++f)
            cells += q.displayText(r, f).isEmpty() ? 0 : 1;
    return cells;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int members = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5000;
    const int bills = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 200000;

    QTemporaryDir dir;
    createDatabase(dir.path());
    TFrmDataMod dm;
    FrmDataMod = &dm;
    dm.AdoConn.open(localDatabasePath(dir.path()), databaseKey());

    QElapsedTimer timer;
    timer.start();
    fill(dm.AdoConn, members, bills);
    report("fill members and six years of bills", timer.restart(), bills);

    db::Dataset& fees = dm.InsiFeeQ;
    fees.close();
    fees.setSql(QStringLiteral("select * from insifee where bill_date between :date1 and :date2 and gath_type='servefee'"));
    fees.setParam(QStringLiteral("date1"), QDate(2023, 3, 1));
    fees.setParam(QStringLiteral("date2"), QDate(2023, 3, 31));
    fees.open();
    report("open one month of bills", timer.restart(), fees.recordCount());
    readAll(fees);
    report("read every cell of it, lookups included", timer.restart(), fees.recordCount());

    fees.close();
    fees.setSql(QStringLiteral("select * from insifee"));
    fees.open();
    report("open the whole ledger", timer.restart(), fees.recordCount());
    readAll(fees);
    report("read every cell of it, lookups included", timer.restart(), fees.recordCount());

    db::Dataset& temp = dm.TempQ;
    temp.close();
    temp.setSql(QStringLiteral("select card_no,sum(should_gath) as serve_fee from insifee where bill_date between :date1 "
                               "and :date2 and gath_type='servefee' group by card_no order by 2 desc"));
    temp.setParam(QStringLiteral("date1"), QDate(2021, 1, 1));
    temp.setParam(QStringLiteral("date2"), QDate(2021, 12, 31));
    temp.open();
    report("rank a year of spending by member", timer.restart(), temp.recordCount());
    FrmDataMod = nullptr;
    return 0;
}
