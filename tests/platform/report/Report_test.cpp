#include "platform/report/Report.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace report;

TEST(ReportTest, StartsOnA4PortraitWithTenMillimetreMargins)
{
    Report r;
    EXPECT_EQ(r.paperSize(), QSizeF(210, 297));
    EXPECT_EQ(r.margins(), QMarginsF(10, 10, 10, 10));
    EXPECT_DOUBLE_EQ(r.contentWidth(), 190);
}

TEST(ReportTest, PaperCanBeCustomAndBackToA4)
{
    Report r;
    r.setCustomPaper(218, 140);
    EXPECT_EQ(r.paperSize(), QSizeF(218, 140));
    EXPECT_DOUBLE_EQ(r.contentWidth(), 198);
    r.setMargins(QMarginsF(5, 10, 15, 10));
    EXPECT_DOUBLE_EQ(r.contentWidth(), 198);
    r.setPaperA4();
    EXPECT_EQ(r.paperSize(), QSizeF(210, 297));
}

TEST(ReportTest, SetTextFindsALabelInAnyBand)
{
    Report r;
    r.title().addLabel(QStringLiteral("QRLabel1"), {0, 0, 50, 8}, QStringLiteral("编码"));
    r.summary().addLabel(QStringLiteral("hjje"), {0, 0, 50, 8}, QString());
    r.setText(QStringLiteral("QRLabel1"), QStringLiteral("商品编码"));
    r.setText(QStringLiteral("hjje"), QStringLiteral("12.5"));
    EXPECT_EQ(r.text(QStringLiteral("QRLabel1")), QStringLiteral("商品编码"));
    EXPECT_EQ(r.summary().find(QStringLiteral("hjje"))->text, QStringLiteral("12.5"));
}

TEST(ReportTest, SetTextRefusesNamesThatAreNoLabel)
{
    Report r;
    Element& field = r.detail().addField({0, 0, 20, 6}, QStringLiteral("code"));
    field.name = QStringLiteral("CodeField");
    EXPECT_THROW(r.setText(QStringLiteral("Missing"), QStringLiteral("x")), std::invalid_argument);
    EXPECT_THROW(r.setText(QStringLiteral("CodeField"), QStringLiteral("x")), std::invalid_argument);
    EXPECT_THROW(r.text(QStringLiteral("Missing")), std::invalid_argument);
    EXPECT_EQ(r.element(QStringLiteral("CodeField")), &field);
}

TEST(BandTest, HeightCoversItsLowestElement)
{
    Band b;
    EXPECT_TRUE(b.isEmpty());
    b.setHeight(6);
    EXPECT_FALSE(b.isEmpty());
    EXPECT_DOUBLE_EQ(b.height(), 6);
    b.addLabel({}, {0, 2, 10, 7}, QStringLiteral("x"));
    EXPECT_DOUBLE_EQ(b.height(), 9);
    b.addLine({0, 12, 50, 12});
    EXPECT_DOUBLE_EQ(b.height(), 12);
}

TEST(BandTest, ElementsStayPutAsMoreAreAdded)
{
    Band b;
    Element& first = b.addLabel(QStringLiteral("a"), {0, 0, 10, 5}, QStringLiteral("甲"));
    for (int i = 0; i < 100; ++i)
        b.addLabel({}, {0, 0, 10, 5}, QString::number(i));
    EXPECT_EQ(first.text, QStringLiteral("甲"));
    EXPECT_EQ(b.find(QStringLiteral("a")), &first);
    EXPECT_EQ(b.find(QString()), nullptr);
}
