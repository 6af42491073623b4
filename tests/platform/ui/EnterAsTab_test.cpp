#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/EnterAsTab.h"
#include "platform/ui/Prompt.h"
#include "tests/platform/ui/UiFixture_test.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

class EnterAsTabTest : public uitest::UiFixture {
protected:
    void SetUp() override
    {
        UiFixture::SetUp();
        auto* layout = new QVBoxLayout(window.get());
        first = new QLineEdit(window.get());
        second = new QLineEdit(window.get());
        combo = new QComboBox(window.get());
        combo->setEditable(true);
        notes = new QPlainTextEdit(window.get());
        last = new QLineEdit(window.get());
        for (QWidget* w : std::initializer_list<QWidget*>{first, second, combo, notes, last})
            layout->addWidget(w);
    }

    std::unique_ptr<ui::EnterAsTab> enterAsTab = std::make_unique<ui::EnterAsTab>();
    QLineEdit* first = nullptr;
    QLineEdit* second = nullptr;
    QComboBox* combo = nullptr;
    QPlainTextEdit* notes = nullptr;
    QLineEdit* last = nullptr;
};

TEST_F(EnterAsTabTest, EnterRunsTheControlsOwnHandlerThenMovesTheFocusOn)
{
    QWidget* focusDuringHandler = nullptr;
    int handled = 0;
    QObject::connect(first, &QLineEdit::returnPressed, first, [&] {
        ++handled;
        focusDuringHandler = QApplication::focusWidget();
    });
    showWindow();
    focus(first);

    QTest::keyClick(first, Qt::Key_Return);

    EXPECT_EQ(handled, 1);
    EXPECT_EQ(focusDuringHandler, first);
    EXPECT_EQ(QApplication::focusWidget(), second);
}

TEST_F(EnterAsTabTest, AButtonPassedOverByEnterIsStillReachedWithTab)
{
    auto* picker = new QPushButton(QStringLiteral("..."), window.get());
    picker->setFocusPolicy(Qt::TabFocus);
    QWidget::setTabOrder(first, picker);
    QWidget::setTabOrder(picker, second);
    ui::EnterAsTab::passOverOnEnter(picker);
    showWindow();

    focus(first);
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), second);

    focus(first);
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), picker);
    QTest::keyClick(picker, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), second);
}

TEST_F(EnterAsTabTest, EnterWhoseHandlerShowsABoxLeavesTheFocusWhereTheHandlerPutIt)
{
    QObject::connect(first, &QLineEdit::returnPressed, first, [&] {
        ui::warn(window.get(), QStringLiteral("用户名或密码错误！"));
        last->setFocus();
    });
    bool refuse = true;
    QObject::connect(second, &QLineEdit::returnPressed, second, [&] {
        if (refuse)
            ui::warn(window.get(), QStringLiteral("无效会员卡"));
    });
    showWindow();

    focus(first);
    prompts.expect(QStringLiteral("用户名或密码错误！"));
    QTest::keyClick(first, Qt::Key_Return);
    prompts.verify();
    EXPECT_EQ(QApplication::focusWidget(), last);

    focus(second);
    prompts.expect(QStringLiteral("无效会员卡"));
    QTest::keyClick(second, Qt::Key_Return);
    prompts.verify();
    EXPECT_EQ(QApplication::focusWidget(), second);

    // The next Enter without a box moves on again.
    refuse = false;
    QTest::keyClick(second, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), combo);
}

TEST_F(EnterAsTabTest, EnterWhoseHandlerOpensAModalWindowMovesNoFocus)
{
    bool opened = false;
    QObject::connect(first, &QLineEdit::returnPressed, first, [&] {
        QDialog picker(window.get());
        QTimer::singleShot(0, &picker, [&] {
            opened = picker.isVisible();
            picker.accept();
        });
        picker.exec();
        // The form takes the focus back into the box for what follows the pick.
        QApplication::setActiveWindow(window.get());
        second->setFocus();
    });
    showWindow();
    focus(first);

    QTest::keyClick(first, Qt::Key_Return);

    ASSERT_TRUE(opened);
    EXPECT_EQ(QApplication::focusWidget(), second);
}

TEST_F(EnterAsTabTest, EnterWalksTheTabOrder)
{
    showWindow();
    focus(first);
    QTest::keyClick(first, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(QApplication::focusWidget(), second);
    QTest::keyClick(second, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), combo);
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), notes);
}

TEST_F(EnterAsTabTest, EnterLeavesADateBoxAtOnceSoKeysMeantForTheNextBoxLeaveTheDate)
{
    auto* date = new ui::DbDatePicker(window.get());
    date->setDate(QDate(2026, 12, 9));
    QWidget::setTabOrder(first, date);
    QWidget::setTabOrder(date, second);
    showWindow();
    focus(first);
    QTest::keyClick(first, Qt::Key_Tab); // into the year, where Tab within the box starts
    ASSERT_EQ(QApplication::focusWidget(), date);

    testui::pressAtFocus(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), second);
    testui::pressAtFocus(Qt::Key_Down);
    testui::typeAtFocus(QStringLiteral("2025"));
    EXPECT_EQ(date->date(), QDate(2026, 12, 9));
}

TEST_F(EnterAsTabTest, EnterPassesOverBoxesThatTakeNoTypingWhichTabStillReaches)
{
    second->setReadOnly(true);
    showWindow();
    focus(first);
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), combo);

    focus(first);
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), second);
}

TEST_F(EnterAsTabTest, FocusStaysWithoutTheFilter)
{
    enterAsTab.reset();
    showWindow();
    focus(first);
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), first);
}

TEST_F(EnterAsTabTest, MultiLineEditorKeepsEnterForANewLine)
{
    showWindow();
    focus(notes);
    QTest::keyClicks(notes, QStringLiteral("ab"));
    QTest::keyClick(notes, Qt::Key_Return);
    QTest::keyClicks(notes, QStringLiteral("c"));
    EXPECT_EQ(QApplication::focusWidget(), notes);
    EXPECT_EQ(notes->toPlainText(), QStringLiteral("ab\nc"));
}

TEST_F(EnterAsTabTest, AControlCanKeepEnterForItself)
{
    second->setProperty("enterAsTab", false);
    showWindow();
    focus(second);
    QTest::keyClick(second, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), second);
}

TEST_F(EnterAsTabTest, EnterOnADialogsDefaultButtonClosesItWithoutMovingFocusElsewhere)
{
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* box = new QLineEdit(&dialog);
    auto* ok = new QPushButton(QStringLiteral("确定"), &dialog);
    auto* cancel = new QPushButton(QStringLiteral("取消"), &dialog);
    layout->addWidget(box);
    layout->addWidget(ok);
    layout->addWidget(cancel);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    box->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), box);

    QTest::keyClick(box, Qt::Key_Return);

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(EnterAsTabTest, EnterInAGridCellEditorCommitsAndMovesToTheNextCell)
{
    auto* grid = new ui::DbGrid(window.get());
    window->layout()->addWidget(grid);
    grid->setColumns({{QStringLiteral("code"), QStringLiteral("编码"), 60, true},
                      {QStringLiteral("name"), QStringLiteral("姓名"), 80, false},
                      {QStringLiteral("age"), QStringLiteral("年龄"), 60, false}});
    grid->setDataset(members.get());
    grid->setReadOnly(false);
    showWindow();
    focus(grid);
    grid->setCurrentIndex(grid->model()->index(0, 1));
    QTest::keyClick(grid, Qt::Key_F2);
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    uitest::typeText(editor, QStringLiteral("张三丰"));

    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();

    EXPECT_EQ(members->asString(QStringLiteral("name")), QStringLiteral("张三丰"));
    EXPECT_EQ(grid->currentIndex().column(), 2);
    EXPECT_EQ(grid->currentIndex().row(), 0);
}

TEST_F(EnterAsTabTest, EnterOnACellValueTheFieldRefusesStaysInTheCell)
{
    auto* grid = new ui::DbGrid(window.get());
    window->layout()->addWidget(grid);
    grid->setColumns({{QStringLiteral("fee"), QStringLiteral("金额"), 60, false},
                      {QStringLiteral("age"), QStringLiteral("年龄"), 60, false}});
    grid->setDataset(members.get());
    grid->setReadOnly(false);
    showWindow();
    focus(grid);
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QTest::keyClick(grid, Qt::Key_F2);
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("12x"));

    prompts.expect(ui::PromptRequest::Kind::Error);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    prompts.verify();

    EXPECT_EQ(grid->currentIndex().column(), 0);
    EXPECT_DOUBLE_EQ(members->asFloat(QStringLiteral("fee")), 12.5);
}

} // namespace
