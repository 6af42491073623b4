#include "DbFixture.h"

#include "platform/db/Error.h"

#include <QFile>
#include <functional>
#include <sqlite3.h>
#include <stdexcept>

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

TEST_F(ConnectionTest, ExecuteRunsEveryStatementOfItsTextOrNone)
{
    EXPECT_EQ(conn.execute(QStringLiteral("insert into fee (kind, amount) values ('a', :n);"
                                          " insert into fee (kind) values ('it''s; quoted');"
                                          " -- a comment; still one\n"
                                          "create trigger keep_fees before delete on fee when old.kind='x'"
                                          " begin select raise(abort, 'kept'); end;"
                                          " delete * from fee where kind=:gone;"),
                           {{"n", 7}, {"gone", QStringLiteral("nothing")}}),
              2);
    EXPECT_EQ(count(QStringLiteral("select count(*) from fee where amount=7")), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from fee where kind='it''s; quoted'")), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from sqlite_master where name='keep_fees'")), 1);

    // A statement that fails undoes those before it.
    EXPECT_THROW(conn.execute(QStringLiteral("insert into fee (kind) values ('b'); insert into member (code) values "
                                             "('12345678901')")),
                 Error);
    EXPECT_EQ(count(QStringLiteral("select count(*) from fee")), 2);
    EXPECT_EQ(conn.transactionDepth(), 0);

    // A text for one prepared statement that holds two is refused, not cut.
    EXPECT_THROW(conn.scalar(QStringLiteral("select count(*) from fee; delete from fee")), Error);
    EXPECT_EQ(count(QStringLiteral("select count(*) from fee")), 2);
    EXPECT_EQ(conn.scalar(QStringLiteral("select count(*) from fee; -- how many\n")).toInt(), 2);
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

// A refusal a front desk can meet is told in Chinese; the engine's own words
// stay behind it for support.
TEST_F(ConnectionTest, TheEnginesReasonsAreToldInTheUsersWords)
{
    conn.executeScript(QStringLiteral("create unique index level_name on level (name);"
                                      "create table kept (note text not null);"
                                      "create trigger keep_fees before delete on fee"
                                      " begin select raise(abort, '费用记录被锁定'); end;"));
    conn.execute(QStringLiteral("insert into level (name) values ('金卡')"));
    conn.execute(QStringLiteral("insert into fee (kind) values ('a')"));
    Connection other;
    other.open(path, "secret-key");
    struct Case {
        const char* name;
        std::function<void()> fail;
        const char* reason;
    };
    const Case cases[] = {
        {"disk full",
         [&] {
             conn.execute(QStringLiteral("pragma max_page_count=%1").arg(count(QStringLiteral("pragma page_count"))));
             conn.execute(QStringLiteral("insert into level (name) values (:n)"), {{"n", QString(100000, 'x')}});
         },
         "磁盘已满，请清理数据库所在磁盘的空间后再试"},
        {"read-only",
         [&] {
             conn.execute(QStringLiteral("pragma query_only=1"));
             conn.execute(QStringLiteral("insert into fee (kind) values ('b')"));
         },
         "数据库文件只读"},
        {"locked by another workstation",
         [&] {
             other.execute(QStringLiteral("begin immediate"));
             sqlite3_busy_timeout(conn.handle(), 0);
             conn.execute(QStringLiteral("insert into fee (kind) values ('b')"));
         },
         "数据库正被另一台电脑或另一个程序使用，请稍后再试"},
        {"check", [&] { conn.execute(QStringLiteral("insert into member (code) values ('12345678901')")); },
         "有数据超出了数据库允许的长度或格式"},
        {"unique", [&] { conn.execute(QStringLiteral("insert into level (name) values ('金卡')")); },
         "数据库中已有相同的记录"},
        {"not null", [&] { conn.execute(QStringLiteral("insert into kept (note) values (null)")); },
         "有必须填写的数据是空的"},
        {"missing table", [&] { conn.execute(QStringLiteral("select * from storemain")); },
         "数据库中缺少数据表 storemain"},
        {"script", [&] { conn.executeScript(QStringLiteral("insert into kept (note) values (null);")); },
         "有必须填写的数据是空的"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            c.fail();
            ADD_FAILURE() << "no failure";
        } catch (const Error& e) {
            EXPECT_TRUE(e.reason().contains(QString::fromUtf8(c.reason))) << e.reason().toStdString();
            EXPECT_FALSE(e.reason().contains(e.message())) << e.reason().toStdString();
            EXPECT_EQ(detailsOf(e), e.message());
            EXPECT_EQ(reasonOf(e), e.reason());
        }
        conn.execute(QStringLiteral("pragma max_page_count=1073741823"));
        conn.execute(QStringLiteral("pragma query_only=0"));
        if (!sqlite3_get_autocommit(other.handle()))
            other.execute(QStringLiteral("rollback"));
    }

    // What a trigger raises is the database's own wording, told as it stands.
    try {
        conn.execute(QStringLiteral("delete from fee"));
        ADD_FAILURE() << "no failure";
    } catch (const Error& e) {
        EXPECT_EQ(e.reason(), QStringLiteral("费用记录被锁定"));
        EXPECT_EQ(detailsOf(e), QString());
    }
    // So are the data layer's own texts, and any other failure's.
    const Error own(Error::Kind::WrongKey, QStringLiteral("数据库密码不正确或文件已损坏"), SQLITE_NOTADB);
    EXPECT_EQ(reasonOf(own), own.message());
    EXPECT_EQ(reasonOf(std::runtime_error("处理失败")), QStringLiteral("处理失败"));
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
