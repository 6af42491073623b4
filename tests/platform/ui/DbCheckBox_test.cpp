#include "platform/ui/DataSource.h"
#include "platform/ui/DbCheckBox.h"
#include "tests/platform/ui/UiFixture_test.h"

namespace {

class DbCheckBoxTest : public uitest::UiFixture {
protected:
    void SetUp() override
    {
        UiFixture::SetUp();
        source = new ui::DataSource(members.get(), window.get());
        vip = new ui::DbCheckBox(QStringLiteral("贵宾"), source, QStringLiteral("vip"), window.get());
    }

    void click() { QTest::mouseClick(vip, Qt::LeftButton, {}, QPoint(6, vip->height() / 2)); }

    ui::DataSource* source = nullptr;
    ui::DbCheckBox* vip = nullptr;
};

TEST_F(DbCheckBoxTest, ShowsTrueFalseAndNullAsCleared)
{
    EXPECT_TRUE(vip->isChecked());
    members->next();
    EXPECT_FALSE(vip->isChecked());
    members->next();
    EXPECT_FALSE(vip->isChecked());
}

TEST_F(DbCheckBoxTest, AClickWritesTheFieldAtOnce)
{
    showWindow();
    members->next();
    members->edit();
    click();
    EXPECT_TRUE(vip->isChecked());
    EXPECT_TRUE(members->asBool(QStringLiteral("vip")));
    members->post();
    EXPECT_TRUE(db::asBool(stored(QStringLiteral("A02"), QStringLiteral("vip"))));
}

TEST_F(DbCheckBoxTest, ClearingStoresFalseNotNull)
{
    showWindow();
    members->edit();
    click();
    members->post();
    const QVariant v = stored(QStringLiteral("A01"), QStringLiteral("vip"));
    ASSERT_FALSE(v.isNull());
    EXPECT_FALSE(db::asBool(v));
}

TEST_F(DbCheckBoxTest, ClicksChangeNothingWhileBrowsing)
{
    showWindow();
    click();
    EXPECT_TRUE(vip->isChecked()) << "by the mouse";
    focus(vip);
    QTest::keyClick(vip, Qt::Key_Space);
    EXPECT_TRUE(vip->isChecked()) << "by the keyboard";
    EXPECT_TRUE(members->asBool(QStringLiteral("vip")));
}

} // namespace
