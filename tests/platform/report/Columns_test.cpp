#include "platform/report/Columns.h"
#include "platform/report/TextFit.h"

#include <gtest/gtest.h>
#include <stdexcept>

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

TEST(ColumnsTest, ATotalStandsUnderItsColumnWithItsCaptionJustLeftOfIt)
{
    ColumnsStyle style;
    style.left = 5;
    const std::vector<Column> columns = {{QStringLiteral("名称"), QStringLiteral("gods_name"), 40, Align::Left, {}},
                                         {QStringLiteral("数量"), QStringLiteral("sub_amou"), 15, Align::Right, {}},
                                         {QStringLiteral("小计"), QStringLiteral("sub_tota"), 20, Align::Right, {}}};
    const ColumnSpan amount = columnSpan(columns, QStringLiteral("sub_tota"), style);
    EXPECT_DOUBLE_EQ(amount.left, 60);
    EXPECT_DOUBLE_EQ(amount.width, 20);
    EXPECT_EQ(amount.align, Align::Right);
    EXPECT_THROW(columnSpan(columns, QStringLiteral("remark"), style), std::invalid_argument);

    Band summary;
    Element& value = addTotalUnder(summary, 2, amount, QStringLiteral("合计金额"), QStringLiteral("TotalAmount"));
    ASSERT_EQ(summary.elements().size(), 2u);
    EXPECT_EQ(value.name, QStringLiteral("TotalAmount"));
    EXPECT_EQ(value.rect, QRectF(60, 2, 20, 6));
    EXPECT_EQ(value.style.align, Align::Right);
    const Element& caption = summary.elements()[0];
    EXPECT_EQ(caption.text, QStringLiteral("合计金额"));
    EXPECT_DOUBLE_EQ(caption.rect.right(), 60);
    EXPECT_EQ(caption.rect.top(), 2);
    // Wide enough for its text, and no wider than it needs.
    const double room = caption.rect.width() - 2 * kTextInsetMm;
    EXPECT_GE(room, textWidthMm(caption.text, 10, false));
    EXPECT_LT(room, textWidthMm(caption.text, 10, false) + 2);
}
