#include "platform/ui/DataSource.h"
#include "platform/ui/DbLabel.h"
#include "platform/ui/DbLineEdit.h"
#include "tests/platform/ui/UiFixture_test.h"

namespace {

class DbLabelTest : public uitest::UiFixture {};

TEST_F(DbLabelTest, ShowsTheFieldInItsDisplayFormatAndFollowsWrites)
{
    members->close();
    members->setFieldDefs({db::FieldDef::data(QStringLiteral("code"), db::FieldType::Text, 6),
                           db::FieldDef::data(QStringLiteral("fee"), db::FieldType::Float, 0, QStringLiteral("#0.##"))});
    members->setSql(QStringLiteral("select code, fee from member order by code"));
    members->open();
    ui::DataSource source(members.get());
    ui::DbLabel fee(&source, QStringLiteral("fee"), window.get());

    EXPECT_EQ(fee.text(), QStringLiteral("12.5"));
    members->next();
    EXPECT_EQ(fee.text(), QStringLiteral("8"));
    members->edit();
    members->setValue(QStringLiteral("fee"), 3.14159);
    EXPECT_EQ(fee.text(), QStringLiteral("3.14"));
    members->last();
    EXPECT_EQ(fee.text(), QString());
}

TEST_F(DbLabelTest, ClosedDatasetShowsNothing)
{
    ui::DataSource source(members.get());
    ui::DbLabel name(&source, QStringLiteral("name"), window.get());
    EXPECT_EQ(name.text(), QStringLiteral("张三"));
    members->close();
    EXPECT_EQ(name.text(), QString());
}

} // namespace
