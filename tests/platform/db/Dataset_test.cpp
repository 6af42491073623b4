#include "DbFixture.h"

#include "platform/db/Dataset.h"
#include "platform/db/Error.h"

#include <QFile>

using namespace db;

class DatasetTest : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        conn.executeScript(QStringLiteral(R"(
            insert into member (code, name, level, balance) values ('M1', '张三', '金卡', 12.6);
            insert into member (code, name, level, balance) values ('M2', 'O''Neil', '银卡', 0);
            insert into member (code, name, level, balance) values ('M3', '李四', null, null);
            insert into level values ('金卡', 90, 100), ('银卡', 95, 50);
        )"));
    }

    // Stands for a query whose lookups resolve against member and level.
    // Members K0, K1, … named 会员0, 会员1, …, and a fee of each in that order.
    void addMembersWithFees(int count)
    {
        Transaction t(conn);
        for (int i = 0; i < count; ++i) {
            const QString code = QStringLiteral("K%1").arg(i);
            conn.execute("insert into member (code, name) values (:c, :n)", {{"c", code}, {"n", QStringLiteral("会员%1").arg(i)}});
            conn.execute("insert into fee (code) values (:c)", {{"c", code}});
        }
        t.commit();
    }

    void declareFeeLookups(Dataset& fees)
    {
        fees.setFieldDefs({
            FieldDef::lookup("member_name", FieldType::Text, 20, "code", "member", "code", "name"),
            FieldDef::lookup("member_level", FieldType::Text, 20, "code", "member", "code", "level"),
            FieldDef::lookup("rebate", FieldType::Integer, 0, "member_level", "level", "name", "rebate"),
            FieldDef::lookup("balance", FieldType::Integer, 0, "code", "member", "code", "balance", "#0.##"),
        });
    }

    int rows(const QString& table) { return count("select count(*) from " + table); }

    // More members than a dataset reads at once, their codes S0000… not in
    // the order written; each named 会员 and its code's number, with that
    // number as balance. Codes and names are indexed.
    void addShuffledMembers(int count)
    {
        Transaction t(conn);
        for (int i = 0; i < count; ++i) {
            const int number = int(qint64(i) * 211 % count);
            conn.execute("insert into member (code, name, balance) values (:c, :n, :b)",
                         {{"c", QStringLiteral("S%1").arg(number, 4, 10, QChar('0'))},
                          {"n", QStringLiteral("会员%1").arg(number)},
                          {"b", number}});
        }
        conn.execute("create index member_code on member (code)");
        conn.execute("create index member_name on member (name)");
        t.commit();
    }

    // The codes as the engine steps the select.
    QStringList codesStepped(const QString& sql)
    {
        Statement st(conn, sql);
        int column = 0;
        while (st.columnName(column) != "code")
            ++column;
        QStringList codes;
        while (st.step())
            codes << st.value(column).toString();
        return codes;
    }

    // Last row first, so that no window is read on from the one before.
    static QStringList codesReadBackwards(Dataset& q)
    {
        QStringList codes;
        for (int r = q.recordCount() - 1; r >= 0; --r)
            codes.prepend(q.value(r, q.fieldIndex("code")).toString());
        return codes;
    }
};

TEST_F(DatasetTest, CursorWalksRowsInOrder)
{
    Dataset q(conn, "MemberQ");
    q.setSql(QStringList{"select * from member", "order by code"});
    q.open();
    EXPECT_EQ(q.recordCount(), 3);
    EXPECT_EQ(q.recNo(), 0);
    EXPECT_TRUE(q.bof());
    QStringList seen;
    for (q.first(); !q.eof(); q.next())
        seen << q.asString("code");
    EXPECT_EQ(seen, (QStringList{"M1", "M2", "M3"}));
    q.prior();
    EXPECT_EQ(q.asString("code"), "M2");
    EXPECT_TRUE(q.locate("name", QStringLiteral("李四")));
    EXPECT_EQ(q.recNo(), 2);
    EXPECT_FALSE(q.locate("name", QStringLiteral("nobody")));
    EXPECT_EQ(q.recNo(), 2) << "a failed locate keeps the position";
    EXPECT_TRUE(q.locate("code;level", {QStringLiteral("m1"), QStringLiteral("金卡")}, true));
    EXPECT_EQ(q.recNo(), 0);
    // M3 has no level and no balance: only a null value finds them, a blank key finds nothing.
    EXPECT_FALSE(q.locate("level", QString()));
    EXPECT_FALSE(q.locate("balance", QStringLiteral(" ")));
    EXPECT_EQ(q.recNo(), 0);
    EXPECT_TRUE(q.locate("level", QVariant()));
    EXPECT_EQ(q.asString("code"), "M3");
}

TEST_F(DatasetTest, SchemaTypesAndNullReads)
{
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member where code=:code");
    q.setParam("code", "M3");
    q.open();
    ASSERT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q.field("in_id").type, FieldType::AutoInc);
    EXPECT_EQ(q.field("code").size, 10);
    EXPECT_EQ(q.field("balance").type, FieldType::Float);
    EXPECT_EQ(q.asFloat("balance"), 0.0);
    EXPECT_EQ(q.asString("level"), QString());
    EXPECT_THROW(q.value("no_such_field"), Error);
}

TEST_F(DatasetTest, ParametersByNameAndByPosition)
{
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member where code=:a or code=:b or name=:a");
    EXPECT_EQ(q.paramNames(), (QStringList{"a", "b"}));
    q.setParam(0, "M1");
    q.setParam(1, "M3");
    q.open();
    EXPECT_EQ(q.recordCount(), 2);
}

TEST_F(DatasetTest, OptimisticPostWritesAtOnceAndLearnsTheNewId)
{
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member");
    q.open();
    q.append();
    EXPECT_EQ(q.state(), DatasetState::Insert);
    q.setValue("code", "M4");
    q.setValue("name", "");  // an emptied box stores NULL
    q.setValue("joined", QDate(2026, 2, 3));
    q.post();
    EXPECT_EQ(q.state(), DatasetState::Browse);
    EXPECT_EQ(q.asInt("in_id"), conn.scalar("select in_id from member where code='M4'").toLongLong());
    EXPECT_TRUE(conn.scalar("select name from member where code='M4'").isNull());
    EXPECT_EQ(conn.scalar("select joined from member where code='M4'").toString(), "2026-02-03 00:00:00");

    q.edit();
    q.setValue("name", QStringLiteral("王五"));
    q.post();
    EXPECT_EQ(conn.scalar("select name from member where code='M4'").toString(), QStringLiteral("王五"));
}

TEST_F(DatasetTest, CancelAfterAppendRemovesTheNewRow)
{
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member");
    q.open();
    q.last();
    q.append();
    q.setValue("code", "M9");
    q.cancel();
    EXPECT_EQ(q.recordCount(), 3);
    EXPECT_EQ(q.asString("code"), "M3");
    EXPECT_EQ(rows("member"), 3);
}

TEST_F(DatasetTest, EditOnAnEmptyDatasetAppends)
{
    Dataset q(conn, "FeeQ");
    q.setSql("select * from fee");
    q.open();
    ASSERT_TRUE(q.isEmpty());
    q.edit();
    EXPECT_EQ(q.state(), DatasetState::Insert);
    q.setValue("kind", "income");
    q.post();
    EXPECT_EQ(rows("fee"), 1);
}

TEST_F(DatasetTest, FailedPostStaysInEditWithTheTypedValues)
{
    Dataset q(conn, "FeeQ");
    q.setSql("select * from fee");
    q.open();
    q.append();
    q.setValue("kind", "servefee");
    q.setValue("amount", 83.6);  // the schema refuses a fraction
    EXPECT_THROW(q.post(), Error);
    EXPECT_EQ(q.state(), DatasetState::Insert);
    EXPECT_EQ(q.asString("kind"), "servefee");
    EXPECT_EQ(rows("fee"), 0);
}

TEST_F(DatasetTest, TextLengthCountsCharactersAsTheDatabaseDoes)
{
    const QString emoji = QStringLiteral("\U0001F600");
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member where code='M3'");
    q.open();
    q.edit();
    const QString tenCharacters = QStringLiteral("一二三四五六七八九") + emoji; // eleven UTF-16 units
    q.setValue("code", tenCharacters);
    EXPECT_THROW(q.setValue("code", tenCharacters + emoji), Error);
    q.post();
    EXPECT_EQ(conn.scalar(QStringLiteral("select code from member where in_id=3")).toString(), tenCharacters);
}

TEST_F(DatasetTest, ARefusalQuotesTheTypedTextAsTyped)
{
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member where code='M3'");
    q.open();
    q.edit();
    try {
        q.setValue("code", QStringLiteral("4 %1 %2 %3 x"));
        FAIL() << "an overlong code was taken";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("“4 %1 %2 %3 x”超过了字段 code 的长度 10"));
    }
}

TEST_F(DatasetTest, ARefusalQuotesOnlyTheStartOfALongPaste)
{
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member where code='M3'");
    q.open();
    q.edit();
    const QString paste = QStringLiteral("开头") + QString(100000, QLatin1Char('x'));
    try {
        q.setValue("code", paste);
        FAIL() << "an overlong code was taken";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("“开头xxx"))) << e.what();
        EXPECT_TRUE(e.message().endsWith(QStringLiteral("x…”超过了字段 code 的长度 10"))) << e.what();
        EXPECT_LT(e.message().size(), 80);
    }
}

TEST_F(DatasetTest, UpdateOfARowDeletedMeanwhileFails)
{
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member");
    q.open();
    conn.execute("delete from member where code='M1'");
    q.first();
    q.edit();
    q.setValue("name", "changed");
    EXPECT_THROW(q.post(), Error);
    EXPECT_EQ(q.state(), DatasetState::Edit);

    q.cancel();
    q.locate("code", "M2");
    conn.execute("delete from member where code='M2'");
    EXPECT_THROW(q.remove(), Error);
}

TEST_F(DatasetTest, UpdateOfAFieldChangedMeanwhileFails)
{
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member where code='M1'");
    q.open();
    conn.execute("update member set balance=0 where code='M1'");
    q.edit();
    q.setValue("balance", 20.0);
    EXPECT_THROW(q.post(), Error);
    EXPECT_EQ(conn.scalar("select balance from member where code='M1'").toDouble(), 0.0);
}

TEST_F(DatasetTest, BatchCancelLeavesTheDatabaseUnchanged)
{
    Dataset q(conn, "MemberQ");
    q.setLockType(LockType::BatchOptimistic);
    q.setSql("select * from member order by code");
    q.open();
    for (const char* code : {"N1", "N2", "N3"}) {
        q.append();
        q.setValue("code", code);
        q.post();
    }
    q.first();
    q.edit();
    q.setValue("name", "edited");
    q.post();
    q.locate("code", "M2");
    q.remove();
    EXPECT_TRUE(q.hasPendingChanges());
    EXPECT_EQ(rows("member"), 3) << "nothing is written before apply";

    q.cancelBatch();
    EXPECT_FALSE(q.hasPendingChanges());
    EXPECT_EQ(q.recordCount(), 3);
    EXPECT_TRUE(q.locate("code", "M2")) << "the deleted row is back";
    q.first();
    EXPECT_EQ(q.asString("name"), QStringLiteral("张三"));
    EXPECT_EQ(rows("member"), 3);
    EXPECT_EQ(count("select count(*) from member where name='edited'"), 0);
}

TEST_F(DatasetTest, BatchApplyWritesEverythingAndKeepsPendingReadable)
{
    Dataset q(conn, "MemberQ");
    q.setLockType(LockType::BatchOptimistic);
    q.setSql("select * from member order by code");
    q.open();
    q.append();
    q.setValue("code", "N1");
    q.post();
    q.edit();  // an inserted row edited again stays an insert
    q.setValue("name", "new");
    q.post();
    q.first();
    q.edit();
    q.setValue("balance", 99.5);
    q.post();
    q.locate("code", "M3");
    q.remove();

    const auto pending = q.pendingRows();
    ASSERT_EQ(pending.size(), 3u);
    const int balance = q.fieldIndex("balance");
    EXPECT_EQ(pending[0].status, RowStatus::Modified);
    EXPECT_DOUBLE_EQ(pending[0].original[size_t(balance)].toDouble(), 12.6);
    EXPECT_DOUBLE_EQ(pending[0].current[size_t(balance)].toDouble(), 99.5);
    EXPECT_EQ(pending[1].status, RowStatus::Deleted);
    EXPECT_EQ(pending[2].status, RowStatus::Inserted);

    q.applyBatch();
    EXPECT_FALSE(q.hasPendingChanges());
    EXPECT_EQ(count("select count(*) from member where code='N1' and name='new'"), 1);
    EXPECT_EQ(count("select count(*) from member where code='M3'"), 0);
    EXPECT_EQ(conn.scalar("select balance from member where code='M1'").toDouble(), 99.5);
    q.locate("code", "N1");
    EXPECT_EQ(q.asInt("in_id"), conn.scalar("select in_id from member where code='N1'").toLongLong());
}

TEST_F(DatasetTest, BatchWithAFailingRowWritesNothingAndStaysPending)
{
    Dataset q(conn, "FeeQ");
    q.setLockType(LockType::BatchOptimistic);
    q.setSql("select * from fee");
    q.open();
    q.append();
    q.setValue("kind", "good");
    q.setValue("amount", 10);
    q.post();
    q.append();
    q.setValue("kind", "bad");
    q.setValue("amount", 10.5);
    q.post();

    EXPECT_THROW(q.applyBatch(), Error);
    EXPECT_EQ(rows("fee"), 0);
    EXPECT_TRUE(q.hasPendingChanges());
    EXPECT_EQ(q.pendingRows().size(), 2u);
}

TEST_F(DatasetTest, BatchInsideARolledBackTransactionStaysPending)
{
    Dataset q(conn, "MemberQ");
    q.setLockType(LockType::BatchOptimistic);
    q.setSql("select * from member");
    q.open();
    q.first();
    q.remove();
    q.append();
    q.setValue("code", "N1");
    q.post();
    {
        Transaction t(conn);
        q.applyBatch();
        EXPECT_EQ(rows("member"), 3) << "written inside the transaction";
        // no commit: something later in the same save failed
    }
    EXPECT_EQ(rows("member"), 3);
    EXPECT_EQ(count("select count(*) from member where code='M1'"), 1);
    EXPECT_TRUE(q.hasPendingChanges());
    EXPECT_EQ(q.recordCount(), 3);

    Transaction t(conn);
    q.applyBatch();
    t.commit();
    EXPECT_FALSE(q.hasPendingChanges());
    EXPECT_EQ(count("select count(*) from member where code in ('M1')"), 0);
    EXPECT_EQ(count("select count(*) from member where code in ('N1')"), 1);
}

TEST_F(DatasetTest, OptimisticPostUndoneByRollbackReturnsToEditing)
{
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member");
    q.open();
    q.append();
    q.setValue("code", "N1");
    {
        Transaction t(conn);
        q.post();
        EXPECT_EQ(q.state(), DatasetState::Browse);
    }
    EXPECT_EQ(q.state(), DatasetState::Insert);
    EXPECT_EQ(q.asString("code"), "N1");
    EXPECT_EQ(rows("member"), 3);
    q.post();
    EXPECT_EQ(rows("member"), 4);
}

TEST_F(DatasetTest, LookupsSearchTheWholeSourceTable)
{
    // Another form left its own query on one member: lookups do not care.
    Dataset members(conn, "MemberQ");
    members.setSql("select * from member where code='M1'");
    members.open();

    conn.executeScript("insert into fee (code, kind) values ('M1', 'servefee'), ('M2', 'servefee'), ('X', 'servefee')");
    Dataset fees(conn, "FeeQ");
    declareFeeLookups(fees);
    fees.setSql("select * from fee order by in_id");
    fees.open();
    const int name = fees.fieldIndex("member_name");
    EXPECT_EQ(fees.value(0, name).toString(), QStringLiteral("张三"));
    EXPECT_EQ(fees.value(1, name).toString(), QStringLiteral("O'Neil"));
    EXPECT_TRUE(fees.value(2, name).isNull()) << "no member for that code";
    EXPECT_TRUE(fees.value(2, fees.fieldIndex("rebate")).isNull());
    EXPECT_EQ(fees.value(0, fees.fieldIndex("rebate")).toInt(), 90) << "chained through the looked-up level";
    EXPECT_EQ(fees.value(0, fees.fieldIndex("balance")).toLongLong(), 13) << "12.6 in an integer lookup";

    conn.execute("update member set name='张三丰' where code='M1'");
    EXPECT_EQ(fees.value(0, name).toString(), QStringLiteral("张三丰")) << "never stale after a write";
    conn.execute("delete * from member");
    EXPECT_TRUE(fees.value(0, name).isNull());
}

TEST_F(DatasetTest, LookupsFollowEachWriteToTheirSourceRows)
{
    conn.executeScript("insert into fee (code) values ('M1'), ('M2'), ('M9'), ('m1')");
    Dataset fees(conn, "FeeQ");
    declareFeeLookups(fees);
    fees.setSql("select * from fee order by in_id");
    fees.open();
    const int name = fees.fieldIndex("member_name");
    auto nameOf = [&](int row) { return fees.value(row, name).toString(); };
    ASSERT_EQ(nameOf(0), QStringLiteral("张三"));
    ASSERT_EQ(nameOf(1), QStringLiteral("O'Neil"));
    ASSERT_TRUE(fees.value(2, name).isNull());
    EXPECT_TRUE(fees.value(3, name).isNull()) << "a key differing in case is another key";

    conn.execute("update member set code='M9' where code='M2'");
    EXPECT_TRUE(fees.value(1, name).isNull()) << "the key left its row";
    EXPECT_EQ(nameOf(2), QStringLiteral("O'Neil"));

    conn.execute("insert into member (in_id, code, name) values (-1, 'M1', '先来')");
    EXPECT_EQ(nameOf(0), QStringLiteral("先来")) << "the first row holding the key wins";
    conn.execute("delete from member where in_id=-1");
    EXPECT_EQ(nameOf(0), QStringLiteral("张三")) << "the next holder shows once the first is gone";

    conn.execute("insert into member (code, name) values ('m1', '小写')");
    EXPECT_EQ(nameOf(0), QStringLiteral("张三"));
    EXPECT_EQ(nameOf(3), QStringLiteral("小写"));

    {
        Transaction t(conn);
        conn.execute("update member set name='改了' where code='M1'");
        EXPECT_EQ(nameOf(0), QStringLiteral("改了")) << "the transaction sees its own write";
    }
    EXPECT_EQ(nameOf(0), QStringLiteral("张三")) << "a rolled-back write leaves no trace";
}

TEST_F(DatasetTest, LookupsOfAWholeReadSourceFollowWrites)
{
    // Enough members and keys that the lookups read the member table whole.
    addMembersWithFees(600);
    conn.execute("insert into fee (code) values ('NEW')");
    Dataset fees(conn, "FeeQ");
    declareFeeLookups(fees);
    fees.setSql("select * from fee where code like 'K%' or code='NEW' order by in_id");
    fees.open();
    const int name = fees.fieldIndex("member_name");
    for (int r = 0; r < 600; ++r)
        ASSERT_EQ(fees.value(r, name).toString(), QStringLiteral("会员%1").arg(r));
    EXPECT_TRUE(fees.value(600, name).isNull());

    conn.execute("insert into member (code, name) values ('NEW', '新会员')");
    EXPECT_EQ(fees.value(600, name).toString(), QStringLiteral("新会员"));
    conn.execute("update member set code='K1' where code='K0'");
    EXPECT_TRUE(fees.value(0, name).isNull());
    EXPECT_EQ(fees.value(1, name).toString(), QStringLiteral("会员0")) << "K1's first holder is now the earlier row";
    conn.execute("delete * from member");
    EXPECT_TRUE(fees.value(1, name).isNull());
    EXPECT_TRUE(fees.value(599, name).isNull());
}

TEST_F(DatasetTest, SourceRowsRemovedOneByOneLeaveTheOthersFound)
{
    addMembersWithFees(600);
    Dataset fees(conn, "FeeQ");
    declareFeeLookups(fees);
    fees.setSql("select * from fee where code like 'K%' order by in_id");
    fees.open();
    const int name = fees.fieldIndex("member_name");
    ASSERT_EQ(fees.value(599, name).toString(), QStringLiteral("会员599"));

    // Fewer than the cache corrects row by row, each removed from its keys.
    for (int i = 0; i < 600; i += 3)
        conn.execute("delete from member where code=:c", {{"c", QStringLiteral("K%1").arg(i)}});
    for (int r = 0; r < 600; ++r) {
        SCOPED_TRACE(r);
        if (r % 3 == 0)
            EXPECT_TRUE(fees.value(r, name).isNull());
        else
            EXPECT_EQ(fees.value(r, name).toString(), QStringLiteral("会员%1").arg(r));
    }
}

TEST_F(DatasetTest, LookupFollowsTheKeyInTheEditBuffer)
{
    Dataset fees(conn, "FeeQ");
    declareFeeLookups(fees);
    fees.setSql("select * from fee");
    fees.open();
    std::vector<QString> written;
    QObject::connect(&fees, &Dataset::fieldWritten, [&](int i) { written.push_back(fees.fields()[size_t(i)].name); });
    fees.append();
    fees.setValue("code", "M2");
    EXPECT_EQ(fees.asString("member_name"), "O'Neil");
    EXPECT_EQ(fees.asInt("rebate"), 95);
    EXPECT_NE(std::find(written.begin(), written.end(), "member_name"), written.end());
    EXPECT_NE(std::find(written.begin(), written.end(), "rebate"), written.end());
    EXPECT_THROW(fees.setValue("member_name", "x"), Error) << "lookups are read-only";
}

TEST_F(DatasetTest, LookedUpTextsTakeEachFieldsFormAndFollowWrites)
{
    conn.executeScript("insert into fee (code) values ('M1'), ('M2'), ('M1')");
    Dataset fees(conn, "FeeQ");
    declareFeeLookups(fees);
    fees.setSql("select * from fee order by in_id");
    fees.open();
    Dataset exact(conn, "ExactQ");
    exact.setFieldDefs({FieldDef::lookup("balance", FieldType::Float, 0, "code", "member", "code", "balance")});
    exact.setSql("select * from fee order by in_id");
    exact.open();
    const int balance = fees.fieldIndex("balance");
    const int rebate = fees.fieldIndex("rebate");
    const int name = fees.fieldIndex("member_name");
    const int exactBalance = exact.fieldIndex("balance");
    auto texts = [&](int row) {
        return QStringList{fees.displayText(row, name), fees.displayText(row, balance), fees.displayText(row, rebate),
                           exact.displayText(row, exactBalance)};
    };
    EXPECT_EQ(texts(0), (QStringList{"张三", "13", "90", "12.6"})) << "one source value, each field's own form";
    EXPECT_EQ(texts(1), (QStringList{"O'Neil", "0", "95", "0"}));
    EXPECT_EQ(texts(2), texts(0));

    conn.execute("update member set balance=20.25, level='银卡' where code='M1'");
    EXPECT_EQ(texts(2), (QStringList{"张三", "20", "95", "20.25"})) << "the key's level moved, and its rebate with it";

    fees.first();
    fees.edit();
    fees.setValue("code", "M2");
    EXPECT_EQ(fees.displayText(0, name), "O'Neil");
    fees.cancel();
    EXPECT_EQ(texts(0), (QStringList{"张三", "20", "95", "20.25"})) << "back to the stored key";
}

TEST_F(DatasetTest, RowsOfALargeSelectComeInItsOwnOrderWhicheverWayTheyAreRead)
{
    addShuffledMembers(700);
    const QStringList selects = {
        "select * from member",
        "select * from member order by code",
        "select * from member order by code desc",
        "select code, name from member where code > 'S0300'",
        "select m.code, m.balance from member m where m.balance >= :least order by m.code",
        "select * from member where name >= '会员1' order by name",
        "select * from member order by level, code",
        "select code, balance * 2 as twice from member order by 2",
    };
    for (const QString& sql : selects) {
        SCOPED_TRACE(sql.toStdString());
        QString stepped = sql;
        const QStringList expected = codesStepped(stepped.replace(":least", "10"));
        ASSERT_GT(expected.size(), 300);
        Dataset backwards(conn, "MemberQ");
        backwards.setSql(sql);
        backwards.setParam("least", 10);
        backwards.open();
        backwards.setParam("least", 100000); // for the next open only
        EXPECT_EQ(backwards.recordCount(), expected.size());
        EXPECT_EQ(codesReadBackwards(backwards).join(' '), expected.join(' '));
        Dataset walked(conn, "MemberQ");
        walked.setSql(sql);
        walked.setParam("least", 10);
        walked.open();
        QStringList codes;
        for (walked.first(); !walked.eof(); walked.next())
            codes << walked.asString("code");
        EXPECT_EQ(codes.join(' '), expected.join(' '));
    }
}

TEST_F(DatasetTest, ARowChangedOrRemovedElsewhereBeforeItIsReadShowsAsItIsNow)
{
    addShuffledMembers(700);
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member order by code");
    q.open();
    Connection other;
    other.open(path, "secret-key");
    other.execute("delete from member where code='S0500'");
    other.execute("update member set name='改名' where code='S0600'");
    const int code = q.fieldIndex("code");
    EXPECT_EQ(q.recordCount(), 703) << "the rows counted at open";
    EXPECT_TRUE(q.value(503, code).isNull()) << "S0500 is gone, not replaced by another row";
    EXPECT_EQ(q.value(502, code).toString(), "S0499");
    EXPECT_EQ(q.value(504, code).toString(), "S0501");
    EXPECT_EQ(q.value(603, q.fieldIndex("name")).toString(), QStringLiteral("改名"));

    q.setRecNo(503);
    q.edit();
    q.setValue("name", "x");
    EXPECT_THROW(q.post(), Error) << "the gone row is not written";
    q.cancel();
}

TEST_F(DatasetTest, AnotherWorkstationCommitsWhileALargeSelectIsOpen)
{
    addShuffledMembers(700);
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member");
    q.open();
    q.value(400, q.fieldIndex("name"));
    Connection other;
    other.open(path, "secret-key");
    other.execute("pragma busy_timeout=0"); // a lock held would refuse at once
    EXPECT_NO_THROW(other.execute("update member set name='别处' where code='S0650'"));
    ASSERT_TRUE(q.locate("code", "S0650"));
    EXPECT_EQ(q.asString("name"), QStringLiteral("别处"));
    EXPECT_NO_THROW(other.execute("update member set name='又改' where code='S0650'"));
}

TEST_F(DatasetTest, CursorBookmarksAndLocatesReachRowsNotReadYet)
{
    addShuffledMembers(700);
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member");
    q.open();
    EXPECT_EQ(q.recordCount(), 703);
    q.last();
    const Dataset::Bookmark mark = q.bookmark();
    q.first();
    ASSERT_TRUE(q.bookmarkValid(mark));
    q.gotoBookmark(mark);
    EXPECT_EQ(q.recNo(), 702);
    EXPECT_EQ(q.asString("code"), conn.scalar("select code from member order by rowid desc limit 1").toString());

    ASSERT_TRUE(q.locate("code", "S0650"));
    EXPECT_EQ(q.asString("name"), QStringLiteral("会员650"));
    ASSERT_TRUE(q.locate("code", QVariantList{"s0651"}, true));
    EXPECT_EQ(q.asString("name"), QStringLiteral("会员651"));
    EXPECT_FALSE(q.locate("code", "s0652")) << "letter case counts unless told otherwise";
    EXPECT_EQ(q.asString("code"), "S0651");
    ASSERT_TRUE(q.locate("code", QVariantList{"S069"}, false, true));
    EXPECT_EQ(q.asString("code"), conn.scalar("select code from member where code like 'S069%' order by rowid").toString())
        << "the first in the list's order";
    ASSERT_TRUE(q.locate("name;code", QVariantList{QStringLiteral("会员653"), "S0653"}));
    EXPECT_EQ(q.asFloat("balance"), 653);
    ASSERT_TRUE(q.locate("balance", 654.0));
    EXPECT_EQ(q.asString("code"), "S0654");
    EXPECT_FALSE(q.locate("code", "S9999"));
}

TEST_F(DatasetTest, EditsOfRowsInALaterWindow)
{
    addShuffledMembers(700);
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member order by code");
    q.open();
    ASSERT_TRUE(q.locate("code", "S0500"));
    q.edit();
    q.setValue("name", "改过");
    q.post();
    EXPECT_EQ(count("select count(*) from member where code='S0500' and name='改过'"), 1);

    q.setRecNo(600);
    q.edit();
    q.setValue("name", "不存");
    q.cancel();
    EXPECT_EQ(q.asString("name"), QStringLiteral("会员597"));
    EXPECT_EQ(count("select count(*) from member where name='不存'"), 0);

    q.setRecNo(650);
    const QString next = q.value(651, q.fieldIndex("code")).toString();
    q.remove();
    EXPECT_EQ(rows("member"), 702);
    EXPECT_EQ(q.recordCount(), 702);
    EXPECT_EQ(q.asString("code"), next);

    q.append();
    q.setValue("code", "Z1");
    q.post();
    EXPECT_EQ(count("select count(*) from member where code='Z1'"), 1);
    EXPECT_EQ(q.recordCount(), 703);
}

TEST_F(DatasetTest, BatchChangesOfRowsInALaterWindow)
{
    addShuffledMembers(700);
    Dataset q(conn, "MemberQ");
    q.setLockType(LockType::BatchOptimistic);
    q.setSql("select * from member");
    q.open();
    q.setRecNo(400);
    const QString edited = q.asString("code");
    q.edit();
    q.setValue("name", "批改");
    q.post();
    q.setRecNo(500);
    const QString removed = q.asString("code");
    q.remove();
    q.append();
    q.setValue("code", "B1");
    q.post();
    EXPECT_EQ(q.pendingRows().size(), 3u);
    EXPECT_EQ(count("select count(*) from member where name='批改'"), 0) << "nothing written before the batch";
    q.applyBatch();
    EXPECT_EQ(conn.scalar("select name from member where code=:c", {{"c", edited}}).toString(), QStringLiteral("批改"));
    EXPECT_EQ(count("select count(*) from member where code='" + removed + "'"), 0);
    EXPECT_EQ(count("select count(*) from member where code='B1'"), 1);
    EXPECT_FALSE(q.hasPendingChanges());
}

TEST_F(DatasetTest, EveryRowOfALargeSelectGetsItsCalculatedFields)
{
    addShuffledMembers(700);
    Dataset q(conn, "MemberQ");
    q.setFieldDefs({FieldDef::calculated("twice", FieldType::Float)});
    q.setSql("select * from member");
    Subscription calc = q.onCalcFields([](Dataset& d) { d.setValue("twice", d.asFloat("balance") * 2); });
    q.open();
    const int twice = q.fieldIndex("twice");
    EXPECT_EQ(q.value(600, twice).toDouble(), 2 * q.value(600, q.fieldIndex("balance")).toDouble());
    double sum = 0;
    for (int r = 0; r < q.recordCount(); ++r)
        sum += db::asFloat(q.value(r, twice));
    EXPECT_EQ(sum, 2 * conn.scalar("select sum(balance) from member").toDouble());
}

TEST_F(DatasetTest, CalculatedFieldsOnReadAndAfterEveryChange)
{
    conn.execute("insert into fee (code, amount) values ('M1', 100)");
    Dataset fees(conn, "FeeQ");
    fees.setFieldDefs({FieldDef::calculated("change_fee", FieldType::Float, "#0.##")});
    fees.setSql("select * from fee");
    fees.open();
    Subscription calc = fees.onCalcFields([](Dataset& d) { d.setValue("change_fee", d.asFloat("amount") / 3); });
    EXPECT_EQ(fees.displayText("change_fee"), "33.33");
    fees.edit();
    fees.setValue("amount", 30);
    EXPECT_EQ(fees.displayText("change_fee"), "10");
    calc.reset();
    fees.setValue("amount", 60);
    EXPECT_EQ(fees.displayText("change_fee"), "10") << "a detached handler no longer runs";
}

TEST_F(DatasetTest, EventsAttachAndDetach)
{
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member");
    std::vector<std::string> log;
    {
        Subscription a = q.onAfterScroll([&](Dataset&) { log.push_back("scroll"); });
        Subscription b = q.onBeforePost([&](Dataset& d) {
            log.push_back("before-post");
            if (d.asString("name").isEmpty())
                d.setValue("name", "默认");
        });
        Subscription c = q.onNewRecord([&](Dataset& d) { d.setValue("vip", false); });
        Subscription e = q.onDataChange([&](Dataset&, DataChange kind, const QString& f) {
            log.push_back(kind == DataChange::Record ? "record" : "field:" + f.toStdString());
        });
        q.open();
        q.next();
        q.append();
        q.setValue("code", "N1");
        q.post();
    }
    EXPECT_EQ(log, (std::vector<std::string>{"record", "scroll", "record", "scroll", "field:vip", "record", "field:code",
                                             "before-post", "field:name", "record"}));
    EXPECT_EQ(count("select count(*) from member where name='默认' and vip=0"), 1);
    log.clear();
    q.first();
    EXPECT_TRUE(log.empty());
}

TEST_F(DatasetTest, DisabledControlsHearNothingUntilEnabled)
{
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member");
    q.open();
    int moves = 0;
    QObject::connect(&q, &Dataset::currentChanged, [&](int) { ++moves; });
    q.disableControls();
    const auto mark = q.bookmark();
    for (q.first(); !q.eof(); q.next()) {
    }
    q.gotoBookmark(mark);
    EXPECT_EQ(moves, 0);
    q.enableControls();
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(q.recNo(), 0);
}

TEST_F(DatasetTest, DistinctQueryWritesBackByOriginalValues)
{
    conn.executeScript("insert into level values ('金卡', 90, 100)");  // a duplicate row
    Dataset q(conn, "LevelQ");
    q.setLockType(LockType::BatchOptimistic);
    q.setSql("select distinct name,rebate from level where name is not null order by name");
    q.open();
    ASSERT_EQ(q.recordCount(), 2);
    q.locate("name", QStringLiteral("金卡"));
    q.edit();
    q.setValue("rebate", 85);
    q.post();
    q.append();
    q.setValue("name", QStringLiteral("钻石"));
    q.setValue("rebate", 70);
    q.post();
    q.applyBatch();
    EXPECT_EQ(count("select count(*) from level where rebate=85"), 2);
    EXPECT_EQ(count("select count(*) from level where name='钻石'"), 1);
}

TEST_F(DatasetTest, MasterDetailRequeriesWhenTheMasterMoves)
{
    conn.executeScript("insert into fee (code, kind) values ('M1', 'a'), ('M1', 'b'), ('M2', 'c')");
    Dataset master(conn, "MemberQ");
    master.setSql("select * from member order by code");
    Dataset detail(conn, "FeeQ");
    detail.setSql("select * from fee where code=:code");
    detail.setMaster(&master, "code", "code");
    master.open();
    EXPECT_EQ(detail.recordCount(), 2);
    master.next();
    EXPECT_EQ(detail.recordCount(), 1);
    master.next();
    EXPECT_TRUE(detail.isEmpty());
}

TEST_F(DatasetTest, DeleteMovesToTheRowThatTookItsPlace)
{
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member order by code");
    q.open();
    q.remove();
    EXPECT_EQ(q.asString("code"), "M2");
    EXPECT_EQ(rows("member"), 2);
    q.last();
    q.remove();
    EXPECT_EQ(q.asString("code"), "M2");
}

TEST_F(DatasetTest, RefreshKeepsTheCurrentRow)
{
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member order by code");
    q.open();
    q.locate("code", "M2");
    conn.execute("insert into member (code) values ('A0')");
    q.refresh();
    EXPECT_EQ(q.recordCount(), 4);
    EXPECT_EQ(q.asString("code"), "M2");
}

TEST_F(DatasetTest, RefreshingTheCurrentRowReadsItAloneAsStoredNow)
{
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member order by code");
    q.open();
    q.locate("code", "M1");
    conn.execute("update member set balance=balance+1 where code in ('M1', 'M2')"); // another workstation
    q.refreshCurrentRow();
    EXPECT_DOUBLE_EQ(q.asFloat("balance"), 13.6);
    EXPECT_DOUBLE_EQ(q.value(1, q.fieldIndex("balance")).toDouble(), 0) << "the other rows stay as read";
    q.edit();
    q.setValue("balance", 20.0);
    q.post(); // checked against the row as reread
    EXPECT_EQ(conn.scalar("select balance from member where code='M1'").toDouble(), 20.0);
}

TEST_F(DatasetTest, DeclaredFieldsShowExactlyThoseColumns)
{
    Dataset q(conn, "MemberQ");
    q.setFieldDefs({FieldDef::data("code", FieldType::Text, 10), FieldDef::data("balance", FieldType::Float, 0, "#0.##")});
    q.setSql("select * from member order by code");
    q.open();
    EXPECT_EQ(q.fieldCount(), 2);
    EXPECT_EQ(q.displayText("balance"), "12.6");
    q.setSql("select code from member");
    q.close();
    EXPECT_THROW(q.open(), Error) << "a declared column missing from the result";
}

TEST_F(DatasetTest, ExecuteRunsStatementsWithParameters)
{
    Dataset temp(conn, "TempQ");
    temp.setSql(QStringList{"update member set balance=:b", "where code=:c"});
    temp.setParam("b", 5.5);
    temp.setParam("c", "m1");
    EXPECT_EQ(temp.execute(), 1);
    EXPECT_EQ(conn.scalar("select balance from member where code='M1'").toDouble(), 5.5);
}

TEST_F(DatasetTest, LookupsNeverCarryOverToAnotherFile)
{
    conn.execute("insert into fee (code) values ('M1')");
    Dataset fees(conn, "FeeQ");
    declareFeeLookups(fees);
    fees.setSql("select * from fee");
    fees.open();
    EXPECT_EQ(fees.asString("member_name"), QStringLiteral("张三"));
    fees.close();

    // The same connection reopened on a copy where M1 has another name.
    conn.close();
    const QString copy = dir.filePath(QStringLiteral("copy.db"));
    ASSERT_TRUE(QFile::copy(path, copy));
    {
        Connection other;
        other.open(copy, "secret-key");
        other.execute("update member set name='别人' where code='M1'");
    }
    conn.open(copy, "secret-key");
    fees.open();
    EXPECT_EQ(fees.asString("member_name"), QStringLiteral("别人"));
}

TEST_F(DatasetTest, EditUndoneByRollbackCancelsBackToTheStoredRow)
{
    Dataset q(conn, "MemberQ");
    q.setSql("select * from member where code='M1'");
    q.open();
    q.edit();
    q.setValue("balance", 50.0);
    {
        Transaction t(conn);
        q.post();
    }
    EXPECT_EQ(q.state(), DatasetState::Edit);
    q.cancel();
    EXPECT_DOUBLE_EQ(q.asFloat("balance"), 12.6);
    EXPECT_DOUBLE_EQ(q.oldValue("balance").toDouble(), 12.6);

    q.edit();
    q.setValue("balance", 70.0);
    q.post();
    EXPECT_DOUBLE_EQ(conn.scalar("select balance from member where code='M1'").toDouble(), 70.0);

    // Two failures in a row, then a success, also writes.
    q.edit();
    q.setValue("balance", 80.0);
    for (int i = 0; i < 2; ++i) {
        Transaction t(conn);
        q.post();
    }
    q.post();
    EXPECT_DOUBLE_EQ(conn.scalar("select balance from member where code='M1'").toDouble(), 80.0);
}
