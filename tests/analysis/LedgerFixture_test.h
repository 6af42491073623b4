#pragma once

#include "tests/support/TestDb.h"

#include "core/Upublic.h"
#include "platform/db/Value.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbGrid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// Driving the forms as a user would, and reading what they show.
namespace ledgerui {

inline QString day(const QDate& d) { return db::toStorageText(d); }

inline void showActive(QWidget& w)
{
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}
template <class W = QPushButton>
W* child(QWidget& form, const char* name)
{
    auto* w = form.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}
inline void click(QWidget& form, const char* name)
{
    QTest::mouseClick(child(form, name), Qt::LeftButton);
}
// Clicks the item of that text in the combo's open list, as a user chooses with the mouse.
inline void chooseWithMouse(ui::DbComboBox* combo, const QString& text)
{
    const int i = combo->findText(text);
    ASSERT_GE(i, 0) << text.toStdString();
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(list->isVisible());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(i, 0)).center());
}
inline void clickRow(ui::DbGrid* grid, int row)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(row, 0)).center());
}
// The texts of one grid column, top to bottom.
inline QStringList column(ui::DbGrid* grid, const QString& field)
{
    QStringList out;
    const int c = grid->datasetModel()->columnOf(field);
    EXPECT_GE(c, 0) << field.toStdString();
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << grid->model()->index(r, c).data().toString();
    return out;
}
inline QStringList headings(ui::DbGrid* grid)
{
    QStringList out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        out << grid->model()->headerData(c, Qt::Horizontal).toString();
    return out;
}
// No right at any position.
inline void revokeAllRights()
{
    PowUse = PowAdd = PowEdit = PowDele = PowChek = PowFind = PowPrin = QString(38, QLatin1Char('0'));
}
// Refuses the right of one rights string at position.
inline void refuseAt(QString& rights, int position) { rights[position - 1] = QLatin1Char('0'); }

} // namespace ledgerui

// A database with two members, three service items and one stylist, and
// helpers that write ledger rows and stock document headers as the billing,
// card, other-money and stock forms store them (dates at midnight).
class LedgerDb : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        grantAllRights();
        exec("insert into insider (insi_code, insi_name, card_no, insi_sex, card_type, open_date, insi_tota) values "
             "('M1', '张三', 'C1', '男', '普通卡', '2024-01-02 00:00:00', 500),"
             "('M2', '李四', 'C2', '女', '银卡', '2024-05-06 00:00:00', 1200.5)");
        exec("insert into serveitem (serve_code, serve_name, serve_type, unit_pric, gage_time) values "
             "('S1', '洗剪吹', '美发', 100, '30'), ('S2', '烫发', '美发', 300, '90'),"
             "('S3', '护理', '美容', 80, '40')");
        exec("insert into employee (empl_code, empl_name) values ('E1', '托尼')");
    }
    void TearDown() override
    {
        ResetProgramState();
        TestDb::TearDown();
    }

    // A service bill: amount due and amount received.
    void addBill(const QString& billNo, const QDate& date, const QVariant& card, const QString& serveCode,
                 qlonglong due, const QVariant& received = {})
    {
        exec("insert into insifee (bill_no, bill_date, card_no, serve_code, should_gath, serv_fee, gath_type,"
             " stylist_code, oper_code) values (:b, :d, :c, :s, :g, :f, 'servefee', 'E1', 'admin')",
             {{"b", billNo}, {"d", ledgerui::day(date)}, {"c", card}, {"s", serveCode}, {"g", due},
              {"f", received.isValid() ? received : QVariant(due)}});
    }
    // A card operation row (no bill number) or an other-money entry of that kind.
    void addMoney(const QString& type, const QDate& date, qlonglong amount, const QVariant& card = {},
                  const QVariant& billNo = {}, const QVariant& oper = {})
    {
        exec("insert into insifee (bill_no, bill_date, card_no, serv_fee, gath_type, oper_code, gath_note)"
             " values (:b, :d, :c, :f, :t, :o, '备注')",
             {{"b", billNo}, {"d", ledgerui::day(date)}, {"c", card}, {"f", amount}, {"t", type}, {"o", oper}});
    }
    void addDocument(const char* table, const QString& billNo, const QDate& date, double total, const QString& type)
    {
        exec(QStringLiteral("insert into %1 (bill_no, bill_date, shou_tota, bill_type) values (:b, :d, :t, :k)")
                 .arg(QLatin1String(table)),
             {{"b", billNo}, {"d", ledgerui::day(date)}, {"t", total}, {"k", type}});
    }
};
