#include "platform/sys/IniFile.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("system.ini"));

    void writeBytes(const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void writeText(const char* utf8) { writeBytes(QByteArray(utf8)); }

    QByteArray fileBytes() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault)
{
    sys::IniFile ini(path);
    EXPECT_EQ(ini.readString("pagesize", "page_type", "A4"), "A4");
    EXPECT_EQ(ini.readInt("pagesize", "page_width", 210), 210);

    writeText("[pagesize]\npage_type=B5\n");
    EXPECT_EQ(ini.readString("billdata", "page_type", "none"), "none");
    EXPECT_EQ(ini.readString("pagesize", "page_width", "none"), "none");
    EXPECT_EQ(ini.readInt("pagesize", "page_length", 297), 297);
    EXPECT_FALSE(QFile::exists(dir.filePath("other.ini")));
}

TEST_F(IniFileTest, NamesCompareWithoutCaseAndValuesAreTrimmed)
{
    writeText("[NetType]\n  DataSource =  /srv/salon data/orbenta.db  \n");
    sys::IniFile ini(path);
    EXPECT_EQ(ini.readString("nettype", "datasource", ""), "/srv/salon data/orbenta.db");
    EXPECT_EQ(ini.readString("NETTYPE", "DATASOURCE", ""), "/srv/salon data/orbenta.db");
}

TEST_F(IniFileTest, ValuesAreRawText)
{
    writeText("[billdata]\n"
              "company_name=\"霁岚\" ; not a comment\n"
              "bill_bottom=a=b\\n\n"
              "line_count=\n");
    sys::IniFile ini(path);
    EXPECT_EQ(ini.readString("billdata", "company_name", ""), "\"霁岚\" ; not a comment");
    EXPECT_EQ(ini.readString("billdata", "bill_bottom", ""), "a=b\\n");
    // Present but empty is a value, not a missing key.
    EXPECT_EQ(ini.readString("billdata", "line_count", "0"), "");
}

TEST_F(IniFileTest, FirstSectionAndFirstKeyWinAndCommentsAreNoKeys)
{
    writeText("; page_type=X\n"
              "[pagesize]\n"
              ";page_type=commented\n"
              "#page_type=hashed\n"
              "page_type=first\n"
              "page_type=second\n"
              "[other]\n"
              "page_width=5\n"
              "[PageSize]\n"
              "page_type=third\n"
              "page_width=7\n");
    sys::IniFile ini(path);
    EXPECT_EQ(ini.readString("pagesize", "page_type", ""), "first");
    // Only the first section of a name counts.
    EXPECT_EQ(ini.readInt("pagesize", "page_width", -1), -1);
    EXPECT_EQ(ini.readInt("other", "page_width", -1), 5);
}

TEST_F(IniFileTest, ReadIntAcceptsOnlyWholeIntegers)
{
    struct Row {
        const char* name;
        const char* text;
        int expected;
    };
    const Row rows[] = {
        {"plain", "210", 210},
        {"negative", "-15", -15},
        {"plus sign", "+8", 8},
        {"padded", "   42   ", 42},
        {"trailing letters", "12abc", -1},
        {"decimal", "3.5", -1},
        {"empty", "", -1},
        {"chinese", "二百", -1},
        {"too large", "99999999999", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeBytes(QByteArray("[pagesize]\npage_width=") + row.text + "\n");
        EXPECT_EQ(sys::IniFile(path).readInt("pagesize", "page_width", -1), row.expected);
    }
}

TEST_F(IniFileTest, WritingAKeyKeepsEveryOtherLine)
{
    writeText("; shop settings\r\n"
              "[nettype]\r\n"
              "DataSource = old\r\n"
              "unknown=keep me\r\n"
              "\r\n"
              "[pagesize]\r\n"
              "page_type=A4\r\n");
    sys::IniFile ini(path);
    ASSERT_TRUE(ini.writeString("NETTYPE", "datasource", "/data/orbenta.db"));
    EXPECT_EQ(fileBytes(), QByteArray("; shop settings\r\n"
                                      "[nettype]\r\n"
                                      "DataSource=/data/orbenta.db\r\n"
                                      "unknown=keep me\r\n"
                                      "\r\n"
                                      "[pagesize]\r\n"
                                      "page_type=A4\r\n"));
}

TEST_F(IniFileTest, MissingKeyGoesToTheEndOfItsSection)
{
    writeText("[pagesize]\n"
              "page_type=A4\n"
              "\n"
              "[billdata]\n"
              "line_count=0\n");
    sys::IniFile ini(path);
    ASSERT_TRUE(ini.writeInt("pagesize", "page_width", 210));
    EXPECT_EQ(fileBytes(), QByteArray("[pagesize]\n"
                                      "page_type=A4\n"
                                      "page_width=210\n"
                                      "\n"
                                      "[billdata]\n"
                                      "line_count=0\n"));
}

TEST_F(IniFileTest, MissingSectionGoesToTheEndOfTheFile)
{
    writeText("[pagesize]\r\npage_type=A4"); // no break after the last line
    sys::IniFile ini(path);
    ASSERT_TRUE(ini.writeString("billdata", "company_name", "霁岚美发"));
    EXPECT_EQ(QString::fromUtf8(fileBytes()),
              QString::fromUtf8("[pagesize]\r\npage_type=A4\r\n[billdata]\r\ncompany_name=霁岚美发\r\n"));
}

TEST_F(IniFileTest, WritingCreatesAMissingFile)
{
    sys::IniFile ini(path);
    ASSERT_TRUE(ini.writeInt("pagesize", "page_length", -297));
    EXPECT_EQ(fileBytes(), QByteArray("[pagesize]\npage_length=-297\n"));
    EXPECT_EQ(ini.readInt("pagesize", "page_length", 0), -297);
}

TEST_F(IniFileTest, ChineseTextRoundTripsAsUtf8)
{
    sys::IniFile ini(path);
    ASSERT_TRUE(ini.writeString("billdata", "bill_bottom", "谢谢惠顾，欢迎再来"));
    EXPECT_EQ(ini.readString("billdata", "bill_bottom", ""), "谢谢惠顾，欢迎再来");
    EXPECT_TRUE(fileBytes().contains(QString::fromUtf8("谢谢惠顾").toUtf8()));
}

TEST_F(IniFileTest, Gb18030FileIsReadAndRewrittenAsUtf8)
{
    QStringEncoder gb18030("GB18030");
    ASSERT_TRUE(gb18030.isValid());
    const QString original = QString::fromUtf8("[billdata]\ncompany_name=霁岚专业美容美发\n");
    const QByteArray encoded = gb18030(original);
    ASSERT_NE(encoded, original.toUtf8());
    writeBytes(encoded);

    sys::IniFile ini(path);
    EXPECT_EQ(ini.readString("billdata", "company_name", ""), "霁岚专业美容美发");

    ASSERT_TRUE(ini.writeString("billdata", "line_count", "12"));
    EXPECT_EQ(QString::fromUtf8(fileBytes()),
              QString::fromUtf8("[billdata]\ncompany_name=霁岚专业美容美发\nline_count=12\n"));
}

TEST_F(IniFileTest, ByteOrderMarkIsSkippedAndKept)
{
    writeBytes(QByteArray("\xEF\xBB\xBF[nettype]\ndatasource=x\n"));
    sys::IniFile ini(path);
    EXPECT_EQ(ini.readString("nettype", "datasource", ""), "x");
    ASSERT_TRUE(ini.writeString("nettype", "datasource", "y"));
    EXPECT_EQ(fileBytes(), QByteArray("\xEF\xBB\xBF[nettype]\ndatasource=y\n"));
}

TEST_F(IniFileTest, ValueWithLineBreaksStaysOnOneLine)
{
    sys::IniFile ini(path);
    ASSERT_TRUE(ini.writeString("billdata", "bill_bottom", "line one\r\nline two\nthree"));
    ASSERT_TRUE(ini.writeString("billdata", "line_count", "5"));
    EXPECT_EQ(ini.readString("billdata", "bill_bottom", ""), "line one line two three");
    EXPECT_EQ(ini.readInt("billdata", "line_count", 0), 5);
}

TEST_F(IniFileTest, WriteIntoMissingFolderFails)
{
    sys::IniFile ini(dir.filePath("no/such/folder/system.ini"));
    EXPECT_FALSE(ini.writeString("nettype", "datasource", "x"));
    EXPECT_EQ(ini.readString("nettype", "datasource", "default"), "default");
}

} // namespace
