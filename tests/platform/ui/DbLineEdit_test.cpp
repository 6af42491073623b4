#include "platform/ui/CharacterLimit.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EntryRefusal.h"
#include "tests/platform/ui/UiFixture_test.h"

#include <QLabel>
#include <QPushButton>

namespace {

using uitest::typeText;

class DbLineEditTest : public uitest::UiFixture {
protected:
    void SetUp() override
    {
        UiFixture::SetUp();
        source = new ui::DataSource(members.get(), window.get());
        name = new ui::DbLineEdit(source, QStringLiteral("name"), window.get());
        age = new ui::DbLineEdit(source, QStringLiteral("age"), window.get());
        other = new QPushButton(QStringLiteral("其他"), window.get());
        age->move(0, 40);
        other->move(0, 80);
    }

    ui::DataSource* source = nullptr;
    ui::DbLineEdit* name = nullptr;
    ui::DbLineEdit* age = nullptr;
    QPushButton* other = nullptr;
};

TEST_F(DbLineEditTest, ShowsTheCurrentRecordAndFollowsMoves)
{
    EXPECT_EQ(name->text(), QStringLiteral("张三"));
    members->next();
    EXPECT_EQ(name->text(), QStringLiteral("李四"));
    EXPECT_EQ(age->text(), QStringLiteral("41"));
}

// A value longer than its box shows its start: an address or an id number
// is read from the left.
TEST_F(DbLineEditTest, AValueLongerThanTheBoxShowsItsStart)
{
    conn.execute(QStringLiteral("update member set name='欧阳明月清风徐来水波' where code='A02'"));
    members->close();
    members->open();
    name->resize(60, name->height());
    showWindow();
    focus(other);

    members->next();

    ASSERT_EQ(name->text(), QStringLiteral("欧阳明月清风徐来水波"));
    EXPECT_EQ(name->cursorPosition(), 0);
}

TEST_F(DbLineEditTest, IsReadOnlyUnlessTheDatasetIsEditing)
{
    showWindow();
    focus(name);
    typeText(name, QStringLiteral("X"));
    EXPECT_EQ(name->text(), QStringLiteral("张三"));
    EXPECT_EQ(members->state(), db::DatasetState::Browse);

    members->edit();
    EXPECT_FALSE(name->isReadOnly());
    members->cancel();
    EXPECT_TRUE(name->isReadOnly());
}

TEST_F(DbLineEditTest, WritesItsFieldWhenTheUserLeavesIt)
{
    showWindow();
    members->edit();
    focus(name);
    uitest::clearText(name);
    typeText(name, QStringLiteral("赵六"));
    EXPECT_EQ(members->asString(QStringLiteral("name")), QStringLiteral("张三")) << "written too early";

    QTest::keyClick(name, Qt::Key_Tab);

    EXPECT_NE(QApplication::focusWidget(), name);
    EXPECT_EQ(members->asString(QStringLiteral("name")), QStringLiteral("赵六"));
    members->post();
    EXPECT_EQ(stored(QStringLiteral("A01"), QStringLiteral("name")).toString(), QStringLiteral("赵六"));
}

TEST_F(DbLineEditTest, TypedTextStillInTheBoxIsWrittenByThePost)
{
    showWindow();
    members->edit();
    focus(age);
    uitest::clearText(age);
    QTest::keyClicks(age, QStringLiteral("52"));
    ASSERT_EQ(QApplication::focusWidget(), age);

    members->post();

    EXPECT_EQ(stored(QStringLiteral("A01"), QStringLiteral("age")).toLongLong(), 52);
}

TEST_F(DbLineEditTest, FormHandlersInstalledAfterTheDataSourceSeeTypedValuesBeforePost)
{
    QString seenByForm;
    const db::Subscription formHandler = members->onBeforePost(
        [&](db::Dataset& d) { seenByForm = d.asString(QStringLiteral("name")); });
    showWindow();
    members->edit();
    focus(name);
    uitest::clearText(name);
    typeText(name, QStringLiteral("孙七"));

    members->post();

    EXPECT_EQ(seenByForm, QStringLiteral("孙七"));
}

TEST_F(DbLineEditTest, TextSetByTheFormWhileEditingIsWrittenToo)
{
    members->edit();
    name->setText(QStringLiteral("周八"));
    members->post();
    EXPECT_EQ(stored(QStringLiteral("A01"), QStringLiteral("name")).toString(), QStringLiteral("周八"));
}

TEST_F(DbLineEditTest, CancelDropsTypedTextAndShowsTheStoredValue)
{
    showWindow();
    members->edit();
    focus(name);
    typeText(name, QStringLiteral("吴"));
    members->cancel();
    EXPECT_EQ(name->text(), QStringLiteral("张三"));
    EXPECT_FALSE(name->isDirty());
    EXPECT_EQ(stored(QStringLiteral("A01"), QStringLiteral("name")).toString(), QStringLiteral("张三"));
}

TEST_F(DbLineEditTest, IntegerFieldRefusesLettersButTakesASign)
{
    showWindow();
    members->edit();
    focus(age);
    uitest::clearText(age);
    QTest::keyClicks(age, QStringLiteral("-1a2b"));
    EXPECT_EQ(age->text(), QStringLiteral("-12"));
    QTest::keyClicks(age, QStringLiteral("+"));
    EXPECT_EQ(age->text(), QStringLiteral("-12"));
}

TEST_F(DbLineEditTest, TextFieldIsLimitedToItsSize)
{
    showWindow();
    members->edit();
    focus(name);
    uitest::clearText(name);
    typeText(name, QStringLiteral("一二三四五六七八九十多余"));
    EXPECT_EQ(name->text(), QStringLiteral("一二三四五六七八九十"));
}

TEST_F(DbLineEditTest, TextFieldLimitCountsCharactersAndNeverCutsOne)
{
    const QString nine = QStringLiteral("一二三四五六七八九");
    const QString emoji = QStringLiteral("\U0001F600");
    showWindow();
    members->edit();
    focus(name);
    uitest::clearText(name);
    typeText(name, nine + emoji + emoji);
    EXPECT_EQ(name->text(), nine + emoji) << "ten characters in eleven UTF-16 units";

    name->selectAll();
    name->insert(nine + QStringLiteral("x") + emoji); // a paste one character too long
    EXPECT_EQ(name->text(), nine + QStringLiteral("x"));
    name->selectAll();
    name->insert(QStringLiteral("一二三四五六七八九十") + emoji);
    EXPECT_EQ(name->text(), QStringLiteral("一二三四五六七八九十")) << "no half character is left";

    name->selectAll();
    typeText(name, nine + emoji);
    QTest::keyClick(name, Qt::Key_Tab);
    members->post();
    EXPECT_EQ(stored(QStringLiteral("A01"), QStringLiteral("name")).toString(), nine + emoji);
}

TEST_F(DbLineEditTest, EnterWritesTheFieldBeforeTheFormsEnterHandler)
{
    showWindow();
    QString seenByHandler;
    QObject::connect(name, &QLineEdit::returnPressed, name,
                     [&] { seenByHandler = members->asString(QStringLiteral("name")); });
    members->edit();
    focus(name);
    uitest::clearText(name);
    typeText(name, QStringLiteral("郑九"));

    QTest::keyClick(name, Qt::Key_Return);

    EXPECT_EQ(seenByHandler, QStringLiteral("郑九"));
}

TEST_F(DbLineEditTest, ShowsTheDisplayFormatUnlessBeingEdited)
{
    std::vector<db::FieldDef> defs{
        db::FieldDef::data(QStringLiteral("code"), db::FieldType::Text, 6),
        db::FieldDef::data(QStringLiteral("fee"), db::FieldType::Float, 0, QStringLiteral("#0.##")),
    };
    members->close();
    members->setFieldDefs(defs);
    members->setSql(QStringLiteral("select code, fee from member order by code"));
    members->open();
    members->locate(QStringLiteral("code"), QStringLiteral("A02"));
    ui::DbLineEdit fee(source, QStringLiteral("fee"), window.get());
    fee.move(0, 120);
    EXPECT_EQ(fee.text(), QStringLiteral("8"));

    showWindow();
    members->edit();
    focus(&fee);
    uitest::clearText(&fee);
    QTest::keyClicks(&fee, QStringLiteral("7.456"));
    focus(other);

    EXPECT_EQ(fee.text(), QStringLiteral("7.46"));
    EXPECT_DOUBLE_EQ(members->asFloat(QStringLiteral("fee")), 7.456);

    // Back in the box, the plain value is selected whole: what is typed replaces it.
    focus(&fee);
    EXPECT_EQ(fee.selectedText(), QStringLiteral("7.456"));
    QTest::keyClicks(&fee, QStringLiteral("9"));
    focus(other);
    EXPECT_DOUBLE_EQ(members->asFloat(QStringLiteral("fee")), 9);
}

TEST_F(DbLineEditTest, AValueTheFieldRefusesIsShownInTheErrorBoxAndStopsThePost)
{
    members->close();
    members->setFieldDefs({db::FieldDef::data(QStringLiteral("code"), db::FieldType::Text, 6),
                           db::FieldDef::data(QStringLiteral("fee"), db::FieldType::Float)});
    members->setSql(QStringLiteral("select code, fee from member order by code"));
    members->open();
    ui::DbLineEdit fee(source, QStringLiteral("fee"), window.get());
    fee.move(0, 120);
    showWindow();
    members->edit();
    focus(&fee);
    uitest::clearText(&fee);
    QTest::keyClicks(&fee, QStringLiteral("12x"));

    prompts.expect(ui::PromptRequest::Kind::Error, QStringLiteral("12x"));
    focus(other);
    EXPECT_TRUE(fee.isDirty());
    EXPECT_THROW(members->post(), db::Error);
    EXPECT_TRUE(members->isEditing());
}

TEST_F(DbLineEditTest, AValueTheFieldCannotHoldIsRefusedAfterTheBoxsLabel)
{
    auto* label = new QLabel(QStringLiteral("年 龄："), window.get());
    label->setBuddy(age);
    label->move(100, 40);
    showWindow();
    members->edit();
    struct Case {
        const char* typed;
        const char* message;
    };
    // An integer column holds 32 bits; more digits than a number can have are no number.
    const Case cases[] = {{"9999999999", "年龄：“9999999999”超出了可存的范围"},
                          {"99999999999999999999", "年龄：“99999999999999999999”不是有效的整数"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        focus(age);
        uitest::clearText(age);
        QTest::keyClicks(age, QString::fromLatin1(c.typed));
        prompts.expect(ui::PromptRequest::Kind::Error, QString::fromUtf8(c.message));
        focus(other);
        prompts.verify();
        EXPECT_EQ(members->asInt(QStringLiteral("age")), 30);
        EXPECT_THROW(members->post(), ui::RefusedEntry);
    }
}

TEST_F(DbLineEditTest, AChosenValueIsWrittenOnlyWhereTheFieldHoldsIt)
{
    auto* label = new QLabel(QStringLiteral("姓名"), window.get());
    label->setBuddy(name);
    members->edit();
    prompts.expect(ui::PromptRequest::Kind::Error, QStringLiteral("姓名：“一二三四五六七八九十多”超过了 10 个字"));
    EXPECT_FALSE(name->putChosen(QStringLiteral("一二三四五六七八九十多")));
    EXPECT_EQ(members->asString(QStringLiteral("name")), QStringLiteral("张三")) << "nothing is cut";
    EXPECT_EQ(name->text(), QStringLiteral("张三"));

    EXPECT_TRUE(name->putChosen(QStringLiteral("一二三四五六七八九十")));
    EXPECT_EQ(members->asString(QStringLiteral("name")), QStringLiteral("一二三四五六七八九十"));
}

TEST_F(DbLineEditTest, ANarrowerLimitOfTheColumnHoldsTypingButNotAStoredValue)
{
    struct Limited {
        Limited()
        {
            ui::setColumnLimits([](const QString& table, const QString& column) {
                return table == QLatin1String("member") && column == QLatin1String("name") ? 2 : 0;
            });
        }
        ~Limited() { ui::setColumnLimits({}); }
    } limited;
    conn.execute(QStringLiteral("update member set name='欧阳娜娜' where code='A02'"));
    members->refresh();
    members->next();
    EXPECT_EQ(name->text(), QStringLiteral("欧阳娜娜")) << "a value stored before shows whole";
    members->prior();

    showWindow();
    members->edit();
    focus(name);
    uitest::clearText(name);
    typeText(name, QStringLiteral("赵钱孙"));
    EXPECT_EQ(name->text(), QStringLiteral("赵钱"));
}

TEST_F(DbLineEditTest, PasswordBoxHidesWhatIsTyped)
{
    name->setPassword(true);
    EXPECT_EQ(name->echoMode(), QLineEdit::Password);
    EXPECT_EQ(name->text(), QStringLiteral("张三"));
}

TEST_F(DbLineEditTest, LockedBoxStaysReadOnlyWhileEditing)
{
    age->setLocked(true);
    members->edit();
    EXPECT_TRUE(age->isReadOnly());
    EXPECT_FALSE(name->isReadOnly());
}

TEST_F(DbLineEditTest, DisabledSourceShowsNothingAndTakesNothing)
{
    members->edit();
    source->setEnabled(false);
    EXPECT_EQ(name->text(), QString());
    EXPECT_TRUE(name->isReadOnly());
    source->setEnabled(true);
    EXPECT_EQ(name->text(), QStringLiteral("张三"));
}

} // namespace
