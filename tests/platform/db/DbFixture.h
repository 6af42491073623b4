#pragma once

#include "platform/db/Connection.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// A keyed database in a fresh folder, with two small tables shaped like the
// program's: text with sizes, an amount that must stay whole, a date.
class DbFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("test.db"));
        conn.create(path, "secret-key");
        conn.executeScript(QStringLiteral(R"(
            create table member (
              in_id integer primary key autoincrement,
              code varchar(10) collate nocase check (length(code) <= 10),
              name varchar(20) collate nocase check (length(name) <= 20),
              level text collate nocase,
              balance float,
              joined datetime,
              vip boolean);
            create table fee (
              in_id integer primary key autoincrement,
              code varchar(10) collate nocase,
              kind varchar(10) collate nocase,
              amount integer check (amount is null or typeof(amount) = 'integer'),
              bill_date datetime);
            create table level (name text collate nocase, rebate integer, deposit float);
        )"));
    }

    int count(const QString& sql) { return conn.scalar(sql).toInt(); }

    QTemporaryDir dir;
    QString path;
    db::Connection conn;
};
