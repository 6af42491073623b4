#include "core/Uabout.h"
#include "core/Umain.h"
#include "tests/support/PromptResponder.h"

#include <QLabel>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Kind = ui::PromptRequest::Kind;

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override { box.show(); }

    testui::PromptResponder prompts;  // any prompt a test does not expect fails it
    TfrmAbout box;
};

TEST_F(AboutBox, BorderlessPictureOfFixedSize)
{
    EXPECT_EQ(box.objectName(), "frmAbout");
    EXPECT_TRUE(box.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(box.size(), QSize(400, 250));
    const auto* picture = box.findChild<QLabel*>(QStringLiteral("aboutPicture"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(400, 250));
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 400, 250));
}

TEST_F(AboutBox, StandsInTheMiddleOfTheDesktopWhereverItsOwnerIs)
{
    QWidget owner;
    owner.setGeometry(10, 40, 320, 200);
    owner.show();
    TfrmAbout over(&owner);
    over.show();
    QRect middle(QPoint(), over.size());
    middle.moveCenter(over.screen()->geometry().center());
    EXPECT_EQ(over.geometry(), middle);
}

TEST_F(AboutBox, ShowsTheMainWindowsLinesAndAClickableClose)
{
    EXPECT_EQ(box.Label1->text(), HomePageLine());
    EXPECT_EQ(box.Label2->text(), WelcomeLine());
    EXPECT_EQ(box.Label3->text(), "关闭");
    EXPECT_EQ(box.Label1->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(box.Label3->cursor().shape(), Qt::PointingHandCursor);
    // 关闭 sits in the lower right corner.
    EXPECT_GT(box.Label3->geometry().left(), box.width() / 2);
    EXPECT_GT(box.Label3->geometry().top(), box.height() / 2);
}

TEST_F(AboutBox, HomePageLineOpensTheAddressAndTheBoxStaysWithoutABrowser)
{
    prompts.expect(Kind::OpenUrl, ProgramHomePage().toString(), {ui::Answer::Cancel});
    QTest::mouseClick(box.Label1, Qt::LeftButton);
    prompts.verify();
    EXPECT_EQ(prompts.count(), 1);
    EXPECT_TRUE(box.isVisible());
}

TEST_F(AboutBox, CloseLabelClosesTheBox)
{
    QTest::mouseClick(box.Label3, Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Rejected);
}

TEST_F(AboutBox, SecondLineIsNotAButton)
{
    QTest::mouseClick(box.Label2, Qt::LeftButton);
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(prompts.count(), 0);
}

} // namespace
