#include "platform/ui/DataSource.h"
#include "platform/ui/DbLineEdit.h"
#include "tests/platform/ui/UiFixture_test.h"

#include <QSignalSpy>

namespace {

class DataSourceTest : public uitest::UiFixture {};

TEST_F(DataSourceTest, IsEditableOnlyWhileTheDatasetEdits)
{
    ui::DataSource source(members.get());
    QSignalSpy editable(&source, &ui::DataSource::editableChanged);
    EXPECT_TRUE(source.hasRecord());
    EXPECT_FALSE(source.editable());

    members->edit();
    EXPECT_TRUE(source.editable());
    members->post();
    EXPECT_FALSE(source.editable());
    members->append();
    EXPECT_TRUE(source.editable());
    members->cancel();

    ASSERT_EQ(editable.count(), 4);
    EXPECT_TRUE(editable.at(0).at(0).toBool());
    EXPECT_FALSE(editable.at(3).at(0).toBool());
}

TEST_F(DataSourceTest, TellsOfRecordMovesAndOfWrittenFields)
{
    ui::DataSource source(members.get());
    QSignalSpy record(&source, &ui::DataSource::recordChanged);
    QSignalSpy field(&source, &ui::DataSource::fieldChanged);

    members->next();
    EXPECT_GE(record.count(), 1);
    record.clear();
    members->edit();
    members->setValue(QStringLiteral("age"), 7);
    ASSERT_FALSE(field.isEmpty());
    EXPECT_EQ(field.first().at(0).toInt(), members->fieldIndex(QStringLiteral("age")));
}

TEST_F(DataSourceTest, EveryTypedBoxIsWrittenBeforeTheFormsBeforePostHandlers)
{
    ui::DataSource source(members.get());
    ui::DbLineEdit name(&source, QStringLiteral("name"), window.get());
    ui::DbLineEdit age(&source, QStringLiteral("age"), window.get());
    age.move(0, 40);
    QString nameSeen, ageSeen;
    const db::Subscription formHandler = members->onBeforePost([&](db::Dataset& d) {
        nameSeen = d.asString(QStringLiteral("name"));
        ageSeen = d.asString(QStringLiteral("age"));
        d.setValue(QStringLiteral("joined"), QDateTime(QDate(2021, 6, 1), QTime(0, 0)));
    });
    members->append();
    name.setText(QStringLiteral("新会员"));
    age.setText(QStringLiteral("19"));
    members->setValue(QStringLiteral("code"), QStringLiteral("B01"));

    members->post();

    EXPECT_EQ(nameSeen, QStringLiteral("新会员"));
    EXPECT_EQ(ageSeen, QStringLiteral("19"));
    EXPECT_EQ(stored(QStringLiteral("B01"), QStringLiteral("name")).toString(), QStringLiteral("新会员"));
    EXPECT_EQ(stored(QStringLiteral("B01"), QStringLiteral("joined")).toString(),
              QStringLiteral("2021-06-01 00:00:00"));
}

TEST_F(DataSourceTest, ExplicitFlushWritesTypedTextWithoutPosting)
{
    ui::DataSource source(members.get());
    ui::DbLineEdit name(&source, QStringLiteral("name"), window.get());
    members->edit();
    name.setText(QStringLiteral("改名"));
    source.flush();
    EXPECT_EQ(members->asString(QStringLiteral("name")), QStringLiteral("改名"));
    EXPECT_TRUE(members->isEditing());
}

TEST_F(DataSourceTest, ADestroyedSourceNoLongerFlushes)
{
    auto source = std::make_unique<ui::DataSource>(members.get());
    auto name = std::make_unique<ui::DbLineEdit>(source.get(), QStringLiteral("name"), window.get());
    members->edit();
    name->setText(QStringLiteral("不会写入"));
    name.reset();
    source.reset();
    members->post();
    EXPECT_EQ(stored(QStringLiteral("A01"), QStringLiteral("name")).toString(), QStringLiteral("张三"));
}

TEST_F(DataSourceTest, FollowsAnotherDatasetAndSurvivesItsDestruction)
{
    db::Dataset other(conn, QStringLiteral("OtherQ"));
    other.setSql(QStringLiteral("select * from member where code = 'A03'"));
    other.open();
    ui::DataSource source(members.get());
    ui::DbLineEdit name(&source, QStringLiteral("name"), window.get());

    source.setDataset(&other);
    EXPECT_EQ(name.text(), QStringLiteral("王五"));
    members->next();
    EXPECT_EQ(name.text(), QStringLiteral("王五"));

    auto temporary = std::make_unique<db::Dataset>(conn, QStringLiteral("TempQ"));
    temporary->setSql(QStringLiteral("select * from member where code = 'A02'"));
    temporary->open();
    source.setDataset(temporary.get());
    EXPECT_EQ(name.text(), QStringLiteral("李四"));
    temporary.reset();
    EXPECT_EQ(source.dataset(), nullptr);
    EXPECT_EQ(name.text(), QString());
}

} // namespace
