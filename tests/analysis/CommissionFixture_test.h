#pragma once

#include "tests/support/TestDb.h"

#include "core/Upublic.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <vector>

// A database with staff, service items, service bills and sales documents
// written as the billing and stock forms write them, and the commission
// lines read back in the order the engine wrote them.
class CommissionDb : public TestDb {
protected:
    struct Line {
        QString billNo;
        QString date; // yyyy-MM-dd
        QString serveCode;
        QVariant base;
        QVariant rate;
        QString note;
        QString employee;
        QVariant mark;
        QVariant commission;
    };

    void SetUp() override
    {
        TestDb::SetUp();
        exec("delete from employee");
        exec("delete from serveitem");
        exec("delete from insifee");
        exec("delete from outmain");
    }

    void addEmployee(const QString& code, const QString& name, const QVariant& baseSalary = {},
                     const QString& sex = {}, const QString& dept = {})
    {
        exec("insert into employee (empl_code, empl_name, empl_sex, dept_name, low_salary) "
             "values (:c, :n, :s, :d, :l)",
             {{"c", code}, {"n", name}, {"s", sex}, {"d", dept}, {"l", baseSalary}});
    }

    void addItem(const QString& code, const QVariant& price, const QVariant& stylistRate,
                 const QVariant& middleRate = {}, const QVariant& assistantRate = {})
    {
        exec("insert into serveitem (serve_code, serve_name, unit_pric, stylist_rate, middle_rate, assis_rate) "
             "values (:c, :c, :p, :s, :m, :a)",
             {{"c", code}, {"p", price}, {"s", stylistRate}, {"m", middleRate}, {"a", assistantRate}});
    }

    // A service bill as billing writes it: dated at midnight unless a time is given.
    void addBill(const QString& billNo, const QString& dateTime, const QString& serveCode, const QVariant& due,
                 const QString& stylist, const QString& middle = {}, const QString& assistant = {},
                 const QString& type = QStringLiteral("servefee"))
    {
        exec("insert into insifee (bill_no, bill_date, serve_code, should_gath, serv_fee, gath_type,"
             " stylist_code, middle_code, assis_code) values (:b, :d, :s, :g, :g, :t, :st, :mi, :as)",
             {{"b", billNo}, {"d", stamp(dateTime)}, {"s", serveCode}, {"g", due}, {"t", type},
              {"st", stylist}, {"mi", middle}, {"as", assistant}});
    }

    void addSale(const QString& billNo, const QString& dateTime, const QString& company, const QVariant& total,
                 const QString& salesperson, const QString& type = QStringLiteral("out"))
    {
        exec("insert into outmain (bill_no, bill_date, comp_code, shou_tota, rela_code, bill_type) "
             "values (:b, :d, :c, :t, :r, :k)",
             {{"b", billNo}, {"d", stamp(dateTime)}, {"c", company}, {"t", total}, {"r", salesperson}, {"k", type}});
    }

    std::vector<Line> lines()
    {
        db::Statement st(conn(), "select bill_no, bill_date, serve_code, shou_tota, rate_value, bill_note,"
                                 " empl_code, do_with, fact_tota from listtemp order by in_id");
        std::vector<Line> out;
        while (st.step())
            out.push_back({st.value(0).toString(), st.value(1).toString().left(10), st.value(2).toString(),
                           st.value(3), st.value(4), st.value(5).toString(), st.value(6).toString(), st.value(7),
                           st.value(8)});
        return out;
    }

    static QStringList billNumbers(const std::vector<Line>& ls)
    {
        QStringList out;
        for (const Line& l : ls)
            out << l.billNo;
        return out;
    }

    static bool isNull(const QVariant& v) { return !v.isValid() || v.isNull(); }

    static QString rights(const QString& grantedAt)
    {
        QString r(38, QLatin1Char('0'));
        for (const QString& p : grantedAt.split(u',', Qt::SkipEmptyParts))
            r[p.toInt() - 1] = QLatin1Char('1');
        return r;
    }

    static void show(QWidget& form)
    {
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    static QPushButton* button(QWidget& form, const char* name)
    {
        auto* b = form.findChild<QPushButton*>(QString::fromLatin1(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }

    static void click(QWidget& form, const char* name)
    {
        QPushButton* b = button(form, name);
        ASSERT_NE(b, nullptr);
        ASSERT_TRUE(b->isEnabled()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }

private:
    static QString stamp(const QString& dateTime)
    {
        return dateTime.size() == 10 ? dateTime + QStringLiteral(" 00:00:00") : dateTime;
    }
};
