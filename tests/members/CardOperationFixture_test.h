#pragma once

#include "tests/members/FormDriving_test.h"
#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"
#include "tests/support/TestDb.h"
#include "core/Upublic.h"
#include "members/CardOperation.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace cardtest {

// Members for the card operations, with every right granted and "admin"
// logged in:
//   M01 王一  level "普通卡 " (deposit due 100), no card
//   M02 李二  no level, no card
//   M03 张三  card C003, password "abc", balance 50, deposit 100
//   M04 赵四  card C004, password "p4", balance and deposit NULL
//   M05 钱五  card C005, password "5", balance and deposit 0
class CardOperationTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        grantAllRights();
        exec(QStringLiteral("insert into cardtype (card_type, type_note, insi_tota, foregift, rebate, list_no) values"
                            " ('class_a', '普通卡 ', 0, 100, 100, 1), ('class_b', '金卡', 1000, 300, 90, 2)"));
        exec(QStringLiteral(
            "insert into insider (insi_code, insi_name, card_no, card_type, insi_state, insi_pass, rest_point, foregift)"
            " values ('M01', '王一', null, '普通卡 ', null, null, null, null),"
            " ('M02', '李二', null, null, null, null, null, null),"
            " ('M03', '张三', 'C003', '金卡', '启用', 'abc', 50, 100),"
            " ('M04', '赵四', 'C004', '金卡', '启用', 'p4', null, null),"
            " ('M05', '钱五', 'C005', '金卡', '启用', '5', 0, 0)"));
    }

    // Finds the member as a user would: the code or card number typed into
    // the quick-find box, then Enter.
    static void pick(CardOperationForm& f, const QString& key)
    {
        f.findBox()->clear();
        QTest::keyClicks(f.findBox(), key);
        QTest::keyClick(f.findBox(), Qt::Key_Return);
    }
    // The operation started on the member as the main window shows the form:
    // visible and active, so the keyboard reaches its boxes.
    static void startAsShown(CardOperationForm& f, const QString& key)
    {
        formtest::show(f);
        pick(f, key);
        start(f);
    }
    static void press(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    static void start(CardOperationForm& f) { press(f.controls().cmd_edit); }
    static void save(CardOperationForm& f) { press(f.controls().cmd_save); }
    static void cancel(CardOperationForm& f) { press(f.controls().cmd_canc); }
    static void fill(CardOperationForm& f, CardBox box, const QString& text)
    {
        QLineEdit* e = f.box(box);
        ASSERT_NE(e, nullptr);
        e->clear();
        testui::typeText(e, text);
    }

    QString member(const QString& code, const QString& column)
    {
        return db::asString(scalar(QStringLiteral("select %1 from insider where insi_code = :c").arg(column),
                                   {{QStringLiteral("c"), code}}));
    }
    QVariant memberValue(const QString& code, const QString& column)
    {
        return scalar(QStringLiteral("select %1 from insider where insi_code = :c").arg(column),
                      {{QStringLiteral("c"), code}});
    }
    int ledgerRows() { return count(QStringLiteral("insifee")); }
    // The one ledger row of that type, as "insi_code|card_no|serv_fee|gath_code|gath_note".
    QString ledgerRow(const QString& type)
    {
        if (count(QStringLiteral("insifee"), QStringLiteral("gath_type = :t"), {{QStringLiteral("t"), type}}) != 1)
            return QStringLiteral("not exactly one row");
        return db::asString(scalar(
            QStringLiteral("select insi_code || '|' || card_no || '|' || serv_fee || '|' || gath_code || '|' || gath_note"
                           " from insifee where gath_type = :t"),
            {{QStringLiteral("t"), type}}));
    }
    static QString today() { return db::toStorageText(QDate::currentDate()); }
};

} // namespace cardtest
