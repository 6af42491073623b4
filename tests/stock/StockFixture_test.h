#pragma once

#include "tests/support/PromptResponder.h"
#include "tests/support/PromptTyping.h"
#include "tests/support/TestDb.h"

#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbGrid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

// What the goods and company tests share: a database with every right granted,
// and a user's hands on the forms.
class StockFormTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        grantAllRights();
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
        QTest::mouseClick(b, Qt::LeftButton);
    }
    static QPoint cellCenter(ui::DbGrid* grid, int row)
    {
        return grid->visualRect(grid->model()->index(row, 0)).center();
    }
    static void clickRow(ui::DbGrid* grid, int row)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCenter(grid, row));
    }
    static void doubleClickRow(ui::DbGrid* grid, int row)
    {
        const QPoint at = cellCenter(grid, row);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    }
    // Replaces what a box shows with text, typed key by key.
    static void retype(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        testui::typeText(box, text);
    }
    static void retype(ui::DbComboBox* combo, const QString& text)
    {
        combo->setFocus();
        combo->lineEdit()->selectAll();
        QTest::keyClick(combo->lineEdit(), Qt::Key_Delete);
        testui::typeText(combo, text);
    }
    // Clicks the item of that text in the combo's open list, as a user chooses with the mouse.
    static void chooseWithMouse(ui::DbComboBox* combo, const QString& text)
    {
        combo->showPopup();
        const int i = combo->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        QAbstractItemView* list = combo->view();
        ASSERT_TRUE(list->isVisible());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(i, 0)).center());
    }
    static QStringList titles(ui::DbGrid* grid)
    {
        QStringList out;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            out << grid->model()->headerData(c, Qt::Horizontal).toString();
        return out;
    }
    // What the list offers once used: a list of stored values is filled then.
    static QStringList items(QComboBox* combo)
    {
        if (auto* stored = qobject_cast<ui::DbComboBox*>(combo))
            stored->fillNow();
        QStringList out;
        for (int i = 0; i < combo->count(); ++i)
            out << combo->itemText(i);
        return out;
    }
    static QStringList column(const db::Dataset& q, const char* field)
    {
        QStringList out;
        for (int r = 0; r < q.recordCount(); ++r)
            out << db::asString(q.value(r, q.fieldIndex(QString::fromLatin1(field))));
        return out;
    }

    // Runs act on the modal dialog of class Dialog once its loop is running
    // (the flag it sets shows it ran); a dialog that act leaves open is ended
    // by the guard, so a test never waits for a user.
    template <class Dialog>
    static void whenModal(std::function<void(Dialog&)> act, bool& acted)
    {
        QTimer::singleShot(0, [act, &acted] {
            auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!d)
                return;
            acted = true;
            act(*d);
            QPointer<Dialog> guard(d);
            QTimer::singleShot(10000, [guard] {
                if (guard && guard->isVisible())
                    guard->done(-1);
            });
        });
    }
};
