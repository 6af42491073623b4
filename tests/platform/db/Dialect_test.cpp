#include "platform/db/Dialect.h"

#include <gtest/gtest.h>

using db::translateSql;

namespace {

struct Case {
    const char* name;
    const char* jet;
    const char* sqlite;
};

const Case kCases[] = {
    {"top after select", "select top 1 * from userinfo", "select * from userinfo limit 1"},
    {"top in capitals", "select Top 1 * from outgoods", "select * from outgoods limit 1"},
    {"top before order by", "select top 45 bill_no from inmain order by bill_no desc ",
     "select bill_no from inmain order by bill_no desc limit 45"},
    {"delete star", "delete * from listtemp ", "delete from listtemp where 1"},
    {"delete star with where", "delete * from outtemp where bill_no='1'", "delete from outtemp where bill_no='1'"},
    {"plain delete keeps its where", "delete from powers where user_id='a'", "delete from powers where user_id='a'"},
    {"double-quoted literal", "select distinct a,b from t where a=\"card_no\"",
     "select distinct a,b from t where a='card_no'"},
    {"apostrophe inside double quotes", "select a from t where a=\"O'Neil\"", "select a from t where a='O''Neil'"},
    {"single-quoted text untouched", "select a from t where a='top 1 \"x\"'", "select a from t where a='top 1 \"x\"'"},
    {"Chinese literal", "update listtemp set bill_note='销售' where do_with is null",
     "update listtemp set bill_note='销售' where do_with is null"},
};

} // namespace

TEST(Dialect, TranslatesEveryJetConstructTheProgramUses)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(translateSql(QString::fromUtf8(c.jet)).toStdString(), std::string(c.sqlite));
    }
}
