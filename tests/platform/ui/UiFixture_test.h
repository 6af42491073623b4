#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace uitest {

// A keyed temporary database with one small table, open in a dataset named
// MemberQ over "select * from member order by code", and a window to put
// widgets in.
class UiFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        conn.create(dir.filePath("ui.db"), QByteArrayLiteral("ui-test-key"));
        conn.executeScript(QStringLiteral(
            "create table member (code varchar(6) primary key, name varchar(10), age integer,"
            " fee float, vip boolean, joined datetime);"
            "insert into member values ('A01', '张三', 30, 12.5, 1, '2024-03-05 00:00:00');"
            "insert into member values ('A02', '李四', 41, 8, 0, null);"
            "insert into member values ('A03', '王五', null, null, null, '2023-12-31 00:00:00');"));
        members = std::make_unique<db::Dataset>(conn, QStringLiteral("MemberQ"));
        members->setSql(QStringLiteral("select * from member order by code"));
        members->open();
        window = std::make_unique<QWidget>();
        window->resize(640, 400);
    }

    void TearDown() override
    {
        window.reset();
        members.reset();
    }

    // The stored value of a column of one member, read back from the file.
    QVariant stored(const QString& code, const QString& column)
    {
        return conn.scalar(QStringLiteral("select %1 from member where code=:code").arg(column),
                           {{QStringLiteral("code"), code}});
    }

    // Shows the window and makes it the active one, so focus and keys work.
    void showWindow()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void focus(QWidget* w)
    {
        w->setFocus(Qt::OtherFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), w);
    }

    testui::PromptResponder prompts; // any prompt a test does not expect fails it
    QTemporaryDir dir;
    db::Connection conn;
    std::unique_ptr<db::Dataset> members;
    std::unique_ptr<QWidget> window;
};

using testui::typeText;

inline void clearText(QWidget* w)
{
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_Delete);
}

} // namespace uitest
