#pragma once

#include "tests/support/TestDb.h"

#include "core/Chooser.h"
#include "core/Upublic.h"
#include "platform/ui/DbGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace formtest {

// The message catalogue as the main window loads it at start.
inline void loadMessageCatalogue(TFrmDataMod& dataMod)
{
    db::Dataset& t = dataMod.TempQ;
    t.close();
    t.setSql(QStringLiteral("select charno,gb  from charset where  gb is not null"));
    t.open();
    MsgCatalog = {};
    for (int r = 0; r < t.recordCount(); ++r) {
        MsgCatalog[0] << db::asString(t.value(r, 0));
        MsgCatalog[1] << db::asString(t.value(r, 1));
    }
    MsgCatalogCount = t.recordCount();
}

// A rights string granting every position but one.
inline QString allBut(int position)
{
    QString rights(38, QLatin1Char('1'));
    rights[position - 1] = QLatin1Char('0');
    return rights;
}

// Shows the form as the main window would: visible and active.
inline void show(QWidget& form)
{
    form.show();
    form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
}

inline void click(QWidget* button)
{
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

// A click on the first cell of a grid row.
inline void clickRow(ui::DbGrid* grid, int row)
{
    const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
}

// Clears the box and types text key by key (any character), then leaves it with Tab.
inline void retype(QWidget* box, const QString& text)
{
    box->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(box))
        edit->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(box))
        combo->lineEdit()->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::keyClick(box, Qt::Key_Tab);
}

// The window manager gives the focus back to the form once a modal window
// has closed; offscreen, the test does.
inline void reactivate(QWidget* w)
{
    QWidget* window = w->window();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

// Clicks opener and, once the chooser of type Chooser is the active modal
// window, types code into its code box and chooses. True when the chooser
// opened and was driven; a chooser left open is closed after ten seconds.
template <class Chooser>
bool chooseWith(QWidget* opener, const QString& code)
{
    bool acted = false;
    QObject guard; // a chooser that never opened leaves no timer behind
    QTimer::singleShot(0, &guard, [&acted, code] {
        auto* chooser = qobject_cast<Chooser*>(QApplication::activeModalWidget());
        if (!chooser)
            return;
        QTest::keyClicks(chooser->codeBox(), code);
        QTest::mouseClick(chooser->template findChild<QPushButton*>(QStringLiteral("cmd_prin")), Qt::LeftButton);
        acted = true;
    });
    QTimer::singleShot(10000, &guard, [] {
        if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            open->done(-1);
    });
    QTest::mouseClick(opener, Qt::LeftButton);
    reactivate(opener);
    return acted;
}

// Clicks opener and closes the chooser of type Chooser without a choice.
template <class Chooser>
bool leaveWithoutChoice(QWidget* opener)
{
    bool acted = false;
    QObject guard;
    QTimer::singleShot(0, &guard, [&acted] {
        auto* chooser = qobject_cast<Chooser*>(QApplication::activeModalWidget());
        if (!chooser)
            return;
        QTest::mouseClick(chooser->template findChild<QPushButton*>(QStringLiteral("cmd_exit")), Qt::LeftButton);
        acted = true;
    });
    QTest::mouseClick(opener, Qt::LeftButton);
    reactivate(opener);
    return acted;
}

inline QStringList itemsOf(const QComboBox* combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

} // namespace formtest
