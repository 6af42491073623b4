#include "platform/db/Error.h"
#include "platform/db/Value.h"

#include <gtest/gtest.h>

using namespace db;

TEST(Amount, FormatsAsHashZeroPointHashHash)
{
    const std::pair<double, const char*> cases[] = {
        {12, "12"},     {12.5, "12.5"},   {0, "0"},         {3.456, "3.46"},     {-0.005, "-0.01"},
        {1.005, "1.01"}, {2.675, "2.68"}, {-12.5, "-12.5"}, {1234567.1, "1234567.1"}, {0.004, "0"},
        {-0.004, "0"},  {99.995, "100"},  {0.1, "0.1"},
    };
    for (const auto& [value, text] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(formatAmount(value).toStdString(), std::string(text));
    }
}

TEST(Amount, ReadsBackWhatItWrites)
{
    for (double v : {12.0, 12.5, 0.0, 3.46, -0.01, 1234567.1}) {
        const auto back = parseAmount(formatAmount(v));
        ASSERT_TRUE(back.has_value());
        EXPECT_DOUBLE_EQ(*back, v);
    }
    EXPECT_EQ(parseAmount(QStringLiteral("  7.5 ")), 7.5);
    EXPECT_FALSE(parseAmount(QStringLiteral("")).has_value());
    EXPECT_FALSE(parseAmount(QStringLiteral("12,5")).has_value());
    EXPECT_FALSE(parseAmount(QStringLiteral("abc")).has_value());
}

TEST(Coerce, EmptyTextIsNullForEveryType)
{
    for (FieldType t : {FieldType::Text, FieldType::Integer, FieldType::Float, FieldType::DateTime, FieldType::Boolean})
        EXPECT_TRUE(coerce(QString(""), t).isNull());
}

TEST(Coerce, IntegerFieldsTakeDigitsAndRefuseLetters)
{
    EXPECT_EQ(coerce(QStringLiteral("120"), FieldType::Integer).toLongLong(), 120);
    EXPECT_EQ(coerce(QStringLiteral("-5"), FieldType::Integer).toLongLong(), -5);
    EXPECT_THROW(coerce(QStringLiteral("12a"), FieldType::Integer), Error);
    // A fraction is not rounded away: the database refuses it.
    EXPECT_EQ(coerce(83.6, FieldType::Integer).typeId(), QMetaType::Double);
}

TEST(Coerce, DatesTakeOneStoredForm)
{
    const QDateTime dt = coerce(QStringLiteral("2026-02-03"), FieldType::DateTime).toDateTime();
    EXPECT_EQ(toStorageText(dt).toStdString(), "2026-02-03 00:00:00");
    EXPECT_EQ(toStorageText(QDate(2026, 2, 3)).toStdString(), "2026-02-03 00:00:00");
    EXPECT_THROW(coerce(QStringLiteral("3/2/2026x"), FieldType::DateTime), Error);
}

TEST(Null, ReadsAsEmptyAndZero)
{
    EXPECT_EQ(asString(QVariant()), QString());
    EXPECT_EQ(asFloat(QVariant()), 0.0);
    EXPECT_EQ(asInt(QVariant()), 0);
    EXPECT_FALSE(asBool(QVariant()));
    EXPECT_EQ(displayText(QVariant(), FieldType::Float, QStringLiteral("#0.##")), QString());
}
