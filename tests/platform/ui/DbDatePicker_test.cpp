#include "platform/ui/DataSource.h"
#include "platform/ui/DbDatePicker.h"
#include "tests/platform/ui/UiFixture_test.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

class DbDatePickerTest : public uitest::UiFixture {
protected:
    void SetUp() override
    {
        UiFixture::SetUp();
        source = new ui::DataSource(members.get(), window.get());
        joined = new ui::DbDatePicker(source, QStringLiteral("joined"), window.get());
        joined->resize(200, joined->sizeHint().height());
        other = new QPushButton(QStringLiteral("其他"), window.get());
        other->move(0, 40);
    }

    QString shown(QDateEdit* picker) const { return picker->findChild<QLineEdit*>()->text(); }

    ui::DataSource* source = nullptr;
    ui::DbDatePicker* joined = nullptr;
    QPushButton* other = nullptr;
};

TEST_F(DbDatePickerTest, ShowsTheProgramsOneDateForm)
{
    EXPECT_EQ(shown(joined), QStringLiteral("2024-03-05"));
    EXPECT_EQ(joined->date(), QDate(2024, 3, 5));
    members->last();
    EXPECT_EQ(shown(joined), QStringLiteral("2023-12-31"));
}

TEST_F(DbDatePickerTest, EmptyFieldShowsNoDateAndCarriesNoneOver)
{
    members->next();
    EXPECT_TRUE(joined->isNull());
    EXPECT_FALSE(joined->value().isValid());
    EXPECT_EQ(shown(joined).trimmed(), QString());
}

TEST_F(DbDatePickerTest, StepsUpWhenEditingAndWritesTheDateWhenLeft)
{
    showWindow();
    members->edit();
    focus(joined);
    QTest::keyClick(joined, Qt::Key_Up); // the section under the cursor is the year
    focus(other);
    members->post();
    EXPECT_EQ(stored(QStringLiteral("A01"), QStringLiteral("joined")).toString(),
              QStringLiteral("2025-03-05 00:00:00"));
}

TEST_F(DbDatePickerTest, SteppingFromNoDateStartsAtToday)
{
    showWindow();
    members->next();
    members->edit();
    focus(joined);
    QTest::keyClick(joined, Qt::Key_Up);
    EXPECT_EQ(joined->value(), QDate::currentDate());
    members->post();
    EXPECT_EQ(db::asDateTime(stored(QStringLiteral("A02"), QStringLiteral("joined"))).date(), QDate::currentDate());
}

TEST_F(DbDatePickerTest, IsReadOnlyWhileBrowsing)
{
    showWindow();
    focus(joined);
    QTest::keyClick(joined, Qt::Key_Up);
    EXPECT_EQ(joined->date(), QDate(2024, 3, 5));
    EXPECT_TRUE(joined->isReadOnly());
}

TEST_F(DbDatePickerTest, DateSetByTheFormWhileEditingIsWrittenByThePost)
{
    members->edit();
    joined->setDate(QDate(2022, 8, 9));
    members->post();
    EXPECT_EQ(stored(QStringLiteral("A01"), QStringLiteral("joined")).toString(),
              QStringLiteral("2022-08-09 00:00:00"));
}

TEST_F(DbDatePickerTest, UnboundPickerIsLeftToTheForm)
{
    ui::DbDatePicker plain(window.get());
    EXPECT_EQ(plain.date(), QDate::currentDate());
    EXPECT_FALSE(plain.isReadOnly());
    plain.setDate(QDate(2020, 1, 2));
    members->next();
    EXPECT_EQ(plain.date(), QDate(2020, 1, 2));
    EXPECT_EQ(shown(&plain), QStringLiteral("2020-01-02"));
    plain.setNull();
    EXPECT_FALSE(plain.value().isValid());
}

} // namespace
