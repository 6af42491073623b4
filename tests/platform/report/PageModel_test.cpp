#include "platform/report/PageModel.h"

#include <gtest/gtest.h>

using namespace report;

namespace {

PageModel twoItemModel()
{
    PageModel m;
    m.paperSize = {218, 140};
    m.pages.resize(1);
    m.pages[0].texts.push_back({{10, 10, 100, 8}, QStringLiteral("销售单"), 14, true, Align::Center, BandKind::PageHeader});
    m.pages[0].texts.push_back({{10, 18, 20, 6}, QStringLiteral("01"), 10, false, Align::Left, BandKind::Detail});
    m.pages[0].texts.push_back({{30, 18, 20, 6}, QStringLiteral("01"), 10, false, Align::Left, BandKind::Detail});
    m.pages[0].lines.push_back({{10, 24, 208, 24}, 0.2, BandKind::Detail});
    m.pages[0].frames.push_back({{10, 18, 20, 6}, 0.2, BandKind::Detail});
    return m;
}

} // namespace

TEST(PageModelTest, PagesAnswerQuestionsAboutTheirTexts)
{
    const PageModel m = twoItemModel();
    const Page& p = m.pages[0];
    EXPECT_EQ(p.textList(), (QStringList{QStringLiteral("销售单"), QStringLiteral("01"), QStringLiteral("01")}));
    EXPECT_EQ(p.countText(QStringLiteral("01")), 2);
    EXPECT_EQ(p.findText(QStringLiteral("01")), &p.texts[1]);
    EXPECT_EQ(p.findText(QStringLiteral("02")), nullptr);
    EXPECT_EQ(p.textsOf(BandKind::PageHeader), QStringList{QStringLiteral("销售单")});
    EXPECT_TRUE(p.textsOf(BandKind::Summary).isEmpty());
}

TEST(PageModelTest, TextListingNamesEveryItemWithItsPosition)
{
    const QString text = toText(twoItemModel());
    EXPECT_EQ(text,
              QStringLiteral("paper 218.0x140.0 margins 10.0,10.0,10.0,10.0\n"
                             "page 1\n"
                             "  text 10.0,10.0 100.0x8.0 14pt bold center \"销售单\"\n"
                             "  text 10.0,18.0 20.0x6.0 10pt left \"01\"\n"
                             "  text 30.0,18.0 20.0x6.0 10pt left \"01\"\n"
                             "  line 10.0,24.0 - 208.0,24.0\n"
                             "  frame 10.0,18.0 20.0x6.0\n"));
}
