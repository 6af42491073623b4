#include "platform/ui/DataSource.h"
#include "platform/ui/DbComboBox.h"
#include "tests/platform/ui/UiFixture_test.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <functional>

namespace {

using uitest::typeText;

class DbComboBoxTest : public uitest::UiFixture {
protected:
    void SetUp() override
    {
        UiFixture::SetUp();
        source = new ui::DataSource(members.get(), window.get());
        combo = new ui::DbComboBox(source, QStringLiteral("name"), window.get());
        combo->addItems({QStringLiteral("王五"), QStringLiteral("张三"), QStringLiteral("李四")});
        other = new QPushButton(QStringLiteral("其他"), window.get());
        other->move(0, 40);
    }

    ui::DataSource* source = nullptr;
    ui::DbComboBox* combo = nullptr;
    QPushButton* other = nullptr;
};

TEST_F(DbComboBoxTest, TypingAnnouncesTextTypedOnly)
{
    QSignalSpy typed(combo, &ui::DbComboBox::textTyped);
    QSignalSpy chosen(combo, &ui::DbComboBox::itemChosen);
    showWindow();
    members->edit();
    focus(combo);
    uitest::clearText(combo->lineEdit());
    typeText(combo, QStringLiteral("赵"));

    ASSERT_FALSE(typed.isEmpty());
    EXPECT_EQ(typed.last().at(0).toString(), QStringLiteral("赵"));
    EXPECT_EQ(chosen.count(), 0);
}

TEST_F(DbComboBoxTest, ChoosingFromTheListAnnouncesItemChosenAndWritesTheField)
{
    QSignalSpy typed(combo, &ui::DbComboBox::textTyped);
    QSignalSpy chosen(combo, &ui::DbComboBox::itemChosen);
    QString fieldWhenChosen;
    QObject::connect(combo, &ui::DbComboBox::itemChosen, combo,
                     [&] { fieldWhenChosen = members->asString(QStringLiteral("name")); });
    showWindow();
    members->edit();
    focus(combo);

    QTest::keyClick(combo, Qt::Key_Down);

    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.last().at(0).toInt(), 2);
    EXPECT_EQ(typed.count(), 0);
    EXPECT_EQ(fieldWhenChosen, QStringLiteral("李四"));
}

TEST_F(DbComboBoxTest, ChoosingWithTheMouseInTheOpenList)
{
    QSignalSpy chosen(combo, &ui::DbComboBox::itemChosen);
    showWindow();
    members->edit();
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(list->isVisible());
    const QRect item = list->visualRect(list->model()->index(0, 0));

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());

    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.last().at(0).toInt(), 0);
    EXPECT_EQ(members->asString(QStringLiteral("name")), QStringLiteral("王五"));
}

TEST_F(DbComboBoxTest, TextSetByCodeOrByAnotherRecordAnnouncesNothing)
{
    QSignalSpy typed(combo, &ui::DbComboBox::textTyped);
    QSignalSpy chosen(combo, &ui::DbComboBox::itemChosen);

    combo->setText(QStringLiteral("李四"));
    members->next();
    members->edit();
    combo->setText(QStringLiteral("钱"));

    EXPECT_EQ(typed.count(), 0);
    EXPECT_EQ(chosen.count(), 0);
}

TEST_F(DbComboBoxTest, ShowsTheFieldAndSelectsItsItem)
{
    EXPECT_EQ(combo->text(), QStringLiteral("张三")) << "filling the list must not replace the field's text";
    EXPECT_EQ(combo->currentIndex(), 1);
    members->next();
    EXPECT_EQ(combo->text(), QStringLiteral("李四"));
    EXPECT_EQ(combo->currentIndex(), 2);
    members->next();
    EXPECT_EQ(combo->text(), QStringLiteral("王五"));
}

TEST_F(DbComboBoxTest, FillingTheListKeepsTheTextShown)
{
    ui::DbComboBox plain(window.get());
    plain.setText(QStringLiteral("全部"));
    plain.addItems({QStringLiteral("烫发"), QStringLiteral("染发")});
    EXPECT_EQ(plain.text(), QStringLiteral("全部"));
    EXPECT_EQ(plain.currentIndex(), -1);
}

TEST_F(DbComboBoxTest, TypedTextIsWrittenWhenLeftAndByThePost)
{
    showWindow();
    members->edit();
    focus(combo);
    uitest::clearText(combo->lineEdit());
    typeText(combo, QStringLiteral("钱十"));
    focus(other);
    EXPECT_EQ(members->asString(QStringLiteral("name")), QStringLiteral("钱十"));

    focus(combo);
    QTest::keyClick(combo, Qt::Key_End); // on after the text, which the focus selected
    typeText(combo, QStringLiteral("一"));
    members->post();
    EXPECT_EQ(stored(QStringLiteral("A01"), QStringLiteral("name")).toString(), QStringLiteral("钱十一"));
}

TEST_F(DbComboBoxTest, ATextThatFitsInCharactersIsTakenThoughItHasMoreUnits)
{
    const QString tenCharacters = QStringLiteral("一二三四五六七八九\U0001F600");
    showWindow();
    members->edit();
    focus(combo);
    uitest::clearText(combo->lineEdit());
    typeText(combo, tenCharacters);
    focus(other);
    EXPECT_EQ(members->asString(QStringLiteral("name")), tenCharacters);
}

TEST_F(DbComboBoxTest, TakesNoMoreCharactersThanItsField)
{
    showWindow();
    members->edit();
    focus(combo);
    uitest::clearText(combo->lineEdit());
    typeText(combo, QStringLiteral("一二三四五六七八九十多余"));
    EXPECT_EQ(combo->text(), QStringLiteral("一二三四五六七八九十"));
    focus(other);
    EXPECT_EQ(members->asString(QStringLiteral("name")), QStringLiteral("一二三四五六七八九十"));
}

TEST_F(DbComboBoxTest, AnItemLongerThanTheFieldIsRefusedWhenChosenNamingTheBox)
{
    auto* label = new QLabel(QStringLiteral("姓名:"), window.get());
    label->setBuddy(combo);
    combo->addItem(QStringLiteral("一二三四五六七八九十多"));
    QSignalSpy chosen(combo, &ui::DbComboBox::itemChosen);
    showWindow();
    members->edit();
    focus(combo);
    combo->setCurrentIndex(2);

    prompts.expect(ui::PromptRequest::Kind::Error, QStringLiteral("姓名：“一二三四五六七八九十多”超过了 10 个字"));
    QTest::keyClick(combo, Qt::Key_Down);
    prompts.verify();

    EXPECT_EQ(chosen.count(), 0);
    EXPECT_EQ(combo->text(), QStringLiteral("张三")) << "the field's value, not the item cut";
    focus(other);
    members->post();
    EXPECT_EQ(stored(QStringLiteral("A01"), QStringLiteral("name")).toString(), QStringLiteral("张三"));
}

TEST_F(DbComboBoxTest, CompletionOffersOnlyTheItemsTheFieldHolds)
{
    combo->addItem(QStringLiteral("一二三四五六七八九十多"));
    showWindow();
    members->edit();
    focus(combo);
    uitest::clearText(combo->lineEdit());
    typeText(combo, QStringLiteral("王"));
    EXPECT_EQ(combo->text(), QStringLiteral("王五"));

    uitest::clearText(combo->lineEdit());
    typeText(combo, QStringLiteral("一"));
    EXPECT_EQ(combo->text(), QStringLiteral("一")) << "completed, the long item would be cut";
    focus(other);
    EXPECT_EQ(members->asString(QStringLiteral("name")), QStringLiteral("一"));
}

TEST_F(DbComboBoxTest, NothingCanBeTypedOrChosenWhileBrowsing)
{
    QSignalSpy chosen(combo, &ui::DbComboBox::itemChosen);
    showWindow();
    focus(combo);
    typeText(combo, QStringLiteral("X"));
    QTest::keyClick(combo, Qt::Key_Down);
    combo->showPopup();

    EXPECT_EQ(combo->text(), QStringLiteral("张三"));
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_FALSE(combo->view()->isVisible());
}

// A list filled on its first use must answer that use as one filled at once.
TEST_F(DbComboBoxTest, AListFilledOnFirstUseAnswersItAsOneFilledAtOnce)
{
    const QStringList names = {QStringLiteral("王五"), QStringLiteral("张三"), QStringLiteral("张四")};
    struct Use {
        const char* what;
        std::function<void(ui::DbComboBox*)> act;
    };
    const Use uses[] = {
        {"typing over the text selected on entering",
         [this](ui::DbComboBox* c) {
             c->setText(QStringLiteral("李"));
             focus(c);
             c->lineEdit()->selectAll();
             typeText(c, QStringLiteral("张"));
         }},
        {"typing where the cursor was put",
         [this](ui::DbComboBox* c) {
             c->setText(QStringLiteral("王五"));
             focus(c);
             c->lineEdit()->setCursorPosition(1);
             typeText(c, QStringLiteral("x"));
         }},
        {"stepping down",
         [this](ui::DbComboBox* c) {
             focus(c);
             QTest::keyClick(c, Qt::Key_Down);
         }},
        {"choosing in the open list",
         [](ui::DbComboBox* c) {
             c->showPopup();
             QAbstractItemView* list = c->view();
             QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                               list->visualRect(list->model()->index(2, 0)).center());
         }},
    };
    // What the user has in front of him right after the use.
    const auto after = [](const Use& use, ui::DbComboBox* c) {
        QSignalSpy chosen(c, &ui::DbComboBox::itemChosen);
        c->show();
        use.act(c);
        return QStringList{c->text(), QString::number(c->currentIndex()), c->lineEdit()->selectedText(),
                           QString::number(c->lineEdit()->cursorPosition()), QString::number(chosen.count()),
                           QString::number(c->count())};
    };
    showWindow();
    for (const Use& use : uses) {
        SCOPED_TRACE(use.what);
        ui::DbComboBox atOnce(window.get());
        atOnce.addItems(names);
        ui::DbComboBox onUse(window.get());
        onUse.fillOnFirstUse([&onUse, &names] { onUse.addItems(names); });
        EXPECT_EQ(after(use, &onUse), after(use, &atOnce));
    }
}

TEST_F(DbComboBoxTest, UnboundBoxIsAPlainEditableCombo)
{
    ui::DbComboBox plain(window.get());
    plain.addItems({QStringLiteral("男"), QStringLiteral("女")});
    plain.move(0, 80);
    QSignalSpy typed(&plain, &ui::DbComboBox::textTyped);
    showWindow();
    focus(&plain);
    uitest::clearText(plain.lineEdit());
    typeText(&plain, QStringLiteral("未知"));
    EXPECT_EQ(plain.text(), QStringLiteral("未知"));
    EXPECT_EQ(typed.count(), 2);
}

} // namespace
