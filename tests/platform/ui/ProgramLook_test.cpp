#include "platform/ui/ProgramLook.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

// The test programs run with the program's look (tests/support/main.cpp), so
// these see what a user sees.

namespace {

// A window of boxes, shown, with room to the right of every text.
class ProgramLookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        rows = new QVBoxLayout(window.get());
    }

    template <typename W>
    W* add(W* w)
    {
        w->setFixedWidth(240);
        rows->addWidget(w);
        return w;
    }

    void show()
    {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // The colour inside a box, to the right of its text and left of any buttons.
    static QColor inside(QWidget* box)
    {
        const QImage image = box->grab().toImage();
        return image.pixelColor(image.width() * 3 / 5, image.height() / 2);
    }

    static QColor windowColour() { return QApplication::palette().color(QPalette::Active, QPalette::Window); }
    static QColor baseColour() { return QApplication::palette().color(QPalette::Active, QPalette::Base); }

    std::unique_ptr<QWidget> window;
    QVBoxLayout* rows = nullptr;
};

TEST_F(ProgramLookTest, QtsOwnTextsReadInChinese)
{
    QLineEdit box;
    std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    QStringList texts;
    for (const QAction* a : menu->actions())
        texts << a->text();
    EXPECT_TRUE(texts.join(u'|').contains(QStringLiteral("复制"))) << texts.join(u'|').toStdString();
    EXPECT_TRUE(texts.join(u'|').contains(QStringLiteral("全选"))) << texts.join(u'|').toStdString();

    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
}

TEST_F(ProgramLookTest, ABoxTheUserCannotTypeIntoLiesOnTheWindowsBackground)
{
    ASSERT_NE(windowColour(), baseColour());
    auto* editable = add(new QLineEdit);
    auto* readOnly = add(new QLineEdit);
    readOnly->setReadOnly(true);
    auto* date = add(new QDateEdit(QDate(2026, 12, 9)));
    date->setReadOnly(true);
    auto* combo = add(new QComboBox);
    combo->setEditable(true);
    combo->lineEdit()->setReadOnly(true);
    auto* becomesReadOnly = add(new QLineEdit);
    show();

    EXPECT_EQ(inside(editable), baseColour());
    EXPECT_EQ(inside(readOnly), windowColour());
    EXPECT_EQ(inside(date), windowColour());
    EXPECT_EQ(inside(combo), windowColour());

    ASSERT_EQ(inside(becomesReadOnly), baseColour());
    becomesReadOnly->setReadOnly(true);
    EXPECT_EQ(inside(becomesReadOnly), windowColour());
    combo->lineEdit()->setReadOnly(false);
    EXPECT_EQ(inside(combo), baseColour());
}

TEST_F(ProgramLookTest, ADisabledBoxReadsLikeAReadOnlyOneWhileButtonsStayFaint)
{
    auto* box = add(new QLineEdit(QStringLiteral("110101199001011234")));
    auto* label = add(new QLabel(QStringLiteral("证件号码")));
    auto* button = add(new QPushButton(QStringLiteral("保存[&S]")));
    auto* enabledBox = add(new QLineEdit);
    box->setEnabled(false);
    label->setEnabled(false);
    button->setEnabled(false);
    show();

    const QColor typingText = enabledBox->palette().color(QPalette::Active, QPalette::Text);
    EXPECT_EQ(box->palette().color(QPalette::Text), typingText);
    EXPECT_EQ(label->palette().color(QPalette::WindowText),
              enabledBox->palette().color(QPalette::Active, QPalette::WindowText));
    EXPECT_EQ(inside(box), windowColour());
    EXPECT_NE(button->palette().color(QPalette::ButtonText),
              button->palette().color(QPalette::Active, QPalette::ButtonText));
}

TEST_F(ProgramLookTest, ABoxNotBeingTypedInShowsTheStartOfItsText)
{
    auto* address = add(new QLineEdit);
    address->setReadOnly(true);
    auto* account = add(new QLineEdit);
    show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    account->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), account);

    address->setText(QStringLiteral("北京市朝阳区建国门外大街甲十二号院三号楼二十一层二一零八室"));
    EXPECT_EQ(address->cursorPosition(), 0);

    const QString digits = QStringLiteral("6222020200112233445566");
    QTest::keyClicks(account, digits);
    EXPECT_EQ(account->cursorPosition(), digits.size()) << "typing goes on where the cursor is";

    QTest::keyClick(account, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), address);
    EXPECT_EQ(account->cursorPosition(), 0);

    // Given the focus again by the program, the box holds its value wholly
    // selected: a new one typed replaces it, End goes on typing after it.
    account->setFocus();
    QTest::keyClicks(account, QStringLiteral("7"));
    EXPECT_EQ(account->text(), QStringLiteral("7"));
    address->setFocus();
    account->setFocus();
    QTest::keyClick(account, Qt::Key_End);
    QTest::keyClicks(account, QStringLiteral("8"));
    EXPECT_EQ(account->text(), QStringLiteral("78"));
}

TEST_F(ProgramLookTest, ATextPutInBeforeTheBoxIsShownShowsItsStart)
{
    auto* account = add(new QLineEdit(QStringLiteral("6222020200112233445566778899001122334455")));
    ASSERT_EQ(account->cursorPosition(), account->text().size());
    show();
    EXPECT_EQ(account->cursorPosition(), 0);
}

} // namespace
