#include "platform/report/Columns.h"

#include <gtest/gtest.h>

using namespace report;

TEST(ColumnsTest, LaysHeadingsAndCellsSideBySide)
{
    Band heads, cells;
    ColumnsStyle style;
    style.left = 5;
    style.headingHeight = 8;
    style.rowHeight = 6;
    const double right = addColumns(heads, 12, cells,
                                    {{QStringLiteral("编码"), QStringLiteral("gods_code"), 20, Align::Left,
                                      QStringLiteral("CodeTitle")},
                                     {QStringLiteral("数量"), QStringLiteral("sub_amou"), 15, Align::Right, {}}},
                                    style);
    EXPECT_DOUBLE_EQ(right, 40);

    ASSERT_EQ(heads.elements().size(), 2u);
    const Element& codeTitle = heads.elements()[0];
    EXPECT_EQ(codeTitle.kind, Element::Kind::Label);
    EXPECT_EQ(codeTitle.name, QStringLiteral("CodeTitle"));
    EXPECT_EQ(codeTitle.rect, QRectF(5, 12, 20, 8));
    EXPECT_EQ(codeTitle.style.align, Align::Center);
    EXPECT_EQ(heads.elements()[1].rect, QRectF(25, 12, 15, 8));

    ASSERT_EQ(cells.elements().size(), 2u);
    const Element& qty = cells.elements()[1];
    EXPECT_EQ(qty.kind, Element::Kind::Field);
    EXPECT_EQ(qty.field, QStringLiteral("sub_amou"));
    EXPECT_EQ(qty.rect, QRectF(25, 0, 15, 6));
    EXPECT_EQ(qty.style.align, Align::Right);
    EXPECT_TRUE(qty.style.framed);
    EXPECT_DOUBLE_EQ(cells.height(), 6);
}
