#include "DbFixture.h"

#include "platform/db/Error.h"

#include <QFile>

using namespace db;

using ConnectionTest = DbFixture;

TEST_F(ConnectionTest, FileIsUnreadableWithoutTheKey)
{
    conn.execute(QStringLiteral("insert into member (code, name) values ('M1', '张三')"));
    conn.close();

    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_FALSE(bytes.startsWith("SQLite format 3"));
    EXPECT_FALSE(bytes.contains(QStringLiteral("张三").toUtf8()));

    Connection wrong;
    try {
        wrong.open(path, "not-the-key");
        FAIL() << "opened with a wrong key";
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), Error::Kind::WrongKey);
    }

    Connection right;
    right.open(path, "secret-key");
    EXPECT_EQ(right.scalar(QStringLiteral("select name from member")).toString(), QStringLiteral("张三"));
}

TEST_F(ConnectionTest, MissingFileIsReportedAsSuch)
{
    Connection c;
    try {
        c.open(dir.filePath(QStringLiteral("nowhere.db")), "secret-key");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), Error::Kind::MissingFile);
    }
    EXPECT_FALSE(c.isOpen());
}

TEST_F(ConnectionTest, CreateRefusesAnExistingFile)
{
    Connection c;
    EXPECT_THROW(c.create(path, "secret-key"), Error);
}

TEST_F(ConnectionTest, CodeValuesCompareWithoutCase)
{
    conn.execute(QStringLiteral("insert into fee (kind, amount) values ('Outlay', 5)"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from fee where kind='outlay'")), 1);
    conn.execute(QStringLiteral("insert into fee (kind, amount) values ('OUTLAY', 6)"));
    EXPECT_EQ(count(QStringLiteral("select count(distinct kind) from fee")), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from (select kind from fee group by kind)")), 1);
}

TEST_F(ConnectionTest, JetDateFunctionsReturnIntegers)
{
    conn.execute(QStringLiteral("insert into fee (kind, bill_date) values ('income', :d)"),
                 Params{{"d", QDate(2026, 3, 9)}});
    Statement st(conn, QStringLiteral("select count(*) from fee where year(bill_date)=:y and month(bill_date)=:m"));
    st.bind(QStringLiteral("y"), 2026);
    st.bind(QStringLiteral("m"), 3);
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.value(0).toInt(), 1);
    EXPECT_EQ(conn.scalar(QStringLiteral("select typeof(month(bill_date)) from fee")).toString(), QStringLiteral("integer"));
}

TEST_F(ConnectionTest, DatesBoundAsDatesMatchBetween)
{
    conn.execute(QStringLiteral("insert into fee (kind, bill_date) values ('servefee', :d)"), Params{{"d", QDate(2026, 1, 31)}});
    const Params range{{"d1", QDate(2026, 1, 1)}, {"d2", QDate(2026, 1, 31)}};
    EXPECT_EQ(conn.scalar(QStringLiteral("select count(*) from fee where bill_date between :d1 and :d2"), range).toInt(), 1);
}

TEST_F(ConnectionTest, SchemaRefusesFractionsAndOverlongText)
{
    EXPECT_THROW(conn.execute(QStringLiteral("insert into fee (amount) values (:a)"), Params{{"a", 83.6}}), Error);
    EXPECT_THROW(conn.execute(QStringLiteral("insert into member (code) values (:c)"), Params{{"c", QString(11, 'x')}}), Error);
    EXPECT_NO_THROW(conn.execute(QStringLiteral("insert into member (code) values (:c)"), Params{{"c", QString(10, QChar(0x4E00))}}));
}

TEST_F(ConnectionTest, TextReadsBackWithEveryCharacterALeadingFeffToo)
{
    const QString typed = QChar(0xFEFF) + QStringLiteral("张三");
    conn.execute(QStringLiteral("insert into member (code, name) values ('M1', :n)"), Params{{"n", typed}});
    EXPECT_EQ(conn.scalar(QStringLiteral("select name from member")).toString(), typed);
    EXPECT_EQ(conn.scalar(QStringLiteral("select length(name) from member")).toInt(), 3);
}

TEST_F(ConnectionTest, TopAndDeleteStarRun)
{
    conn.execute(QStringLiteral("insert into fee (kind) values ('a')"));
    conn.execute(QStringLiteral("insert into fee (kind) values ('b')"));
    EXPECT_EQ(conn.scalar(QStringLiteral("select top 1 kind from fee order by kind desc")).toString(), QStringLiteral("b"));
    EXPECT_EQ(conn.execute(QStringLiteral("delete * from fee ")), 2);
    EXPECT_EQ(count(QStringLiteral("select count(*) from fee")), 0);
}

TEST_F(ConnectionTest, TransactionRollsBackUnlessCommitted)
{
    {
        Transaction t(conn);
        conn.execute(QStringLiteral("insert into fee (kind) values ('x')"));
    }
    EXPECT_EQ(count(QStringLiteral("select count(*) from fee")), 0);

    bool committed = false;
    {
        Transaction outer(conn);
        conn.execute(QStringLiteral("insert into fee (kind) values ('outer')"));
        {
            Transaction inner(conn);
            conn.execute(QStringLiteral("insert into fee (kind) values ('inner-undone')"));
        }
        {
            Transaction inner(conn);
            conn.execute(QStringLiteral("insert into fee (kind) values ('inner-kept')"));
            conn.onCommit([&] { committed = true; });
            inner.commit();
        }
        EXPECT_FALSE(committed) << "an inner commit is not durable yet";
        outer.commit();
    }
    EXPECT_TRUE(committed);
    EXPECT_EQ(count(QStringLiteral("select count(*) from fee")), 2);
    EXPECT_EQ(count(QStringLiteral("select count(*) from fee where kind='inner-undone'")), 0);
}

TEST_F(ConnectionTest, ErrorsCarryTheEnginesMessage)
{
    try {
        conn.execute(QStringLiteral("select * from no_such_table"));
        FAIL();
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("no_such_table")));
    }
}

TEST_F(ConnectionTest, AnotherConnectionsWriteEmptiesTheLookups)
{
    conn.setExternalCheckInterval(0);
    conn.execute(QStringLiteral("insert into member (code, name) values ('M1', '张三')"));
    LookupCache& lookups = conn.lookups();
    const LookupCache::Column name = lookups.column(QStringLiteral("member"), QStringLiteral("code"), QStringLiteral("name"));
    ASSERT_NE(lookups.find(name, "M1"), nullptr);
    EXPECT_EQ(lookups.find(name, "M1")->toString(), QStringLiteral("张三"));
    Connection other;
    other.open(path, "secret-key");
    other.execute(QStringLiteral("update member set name='李四' where code='M1'"));
    ASSERT_NE(lookups.find(name, "M1"), nullptr);
    EXPECT_EQ(lookups.find(name, "M1")->toString(), QStringLiteral("李四"));
}
