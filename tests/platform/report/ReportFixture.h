#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/report/Report.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A keyed database holding goods lines, and a report on 100 x 100 mm paper
// whose bands have round heights, so page breaks are easy to count:
//   margins 10, page header 10, title 10 (page 1), column header 10,
//   footer 10 -> page 1 holds 4 detail rows of 10, later pages 5.
class ReportFixture : public ::testing::Test {
protected:
    static constexpr double kRow = 10;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        conn.create(dir.filePath(QStringLiteral("report.db")), "report-key");
        conn.executeScript(QStringLiteral(
            "create table goods (code varchar(10), name varchar(20), qty float, price float);"
            "create table shop (name varchar(20), phone varchar(20));"));
        conn.execute(QStringLiteral("insert into shop values ('东方美发', '111'), ('西城店', '222')"));
        lines = std::make_unique<db::Dataset>(conn, QStringLiteral("LinesQ"));
        lines->setSql(QStringLiteral("select code, name, qty, price from goods order by code"));
        lines->setFieldDefs({db::FieldDef::data(QStringLiteral("code"), db::FieldType::Text, 10),
                             db::FieldDef::data(QStringLiteral("name"), db::FieldType::Text, 20),
                             db::FieldDef::data(QStringLiteral("qty"), db::FieldType::Float, 0, QStringLiteral("#0.##")),
                             db::FieldDef::data(QStringLiteral("price"), db::FieldType::Float, 0,
                                                QStringLiteral("#0.##"))});
        buildReport();
    }

    // Rows "01".."NN" named 商品N with quantity N, then (re)opens the lines.
    void addRows(int n)
    {
        for (int i = 1; i <= n; ++i)
            conn.execute(QStringLiteral("insert into goods values (:code, :name, :qty, :price)"),
                         {{QStringLiteral("code"), QStringLiteral("%1").arg(i, 2, 10, QChar('0'))},
                          {QStringLiteral("name"), QStringLiteral("商品%1").arg(i)},
                          {QStringLiteral("qty"), double(i)},
                          {QStringLiteral("price"), 2.5}});
        lines->close();
        lines->open();
    }

    void buildReport()
    {
        using namespace report;
        r.setCustomPaper(100, 100);
        r.setMargins(QMarginsF(10, 10, 10, 10));
        r.setDataset(lines.get());
        r.pageHeader().addLabel(QStringLiteral("Heading"), {0, 0, 80, kRow}, QStringLiteral("库存报表"),
                                {14, true, Align::Center});
        r.title().addLabel(QStringLiteral("TitleText"), {0, 0, 80, kRow}, QStringLiteral("首页标题"));
        r.columnHeader().addLabel({}, {0, 0, 20, kRow}, QStringLiteral("编码"));
        r.columnHeader().addLabel({}, {20, 0, 40, kRow}, QStringLiteral("名称"));
        r.columnHeader().addLabel({}, {60, 0, 20, kRow}, QStringLiteral("数量"));
        r.detail().addField({0, 0, 20, kRow}, QStringLiteral("code"));
        r.detail().addField({20, 0, 40, kRow}, QStringLiteral("name"));
        r.detail().addField({60, 0, 20, kRow}, QStringLiteral("qty"), {10, false, Align::Right});
        r.summary().addLabel(QStringLiteral("Total"), {0, 0, 80, kRow}, QStringLiteral("合计"));
        r.pageFooter().addPageNumber({0, 0, 80, kRow}, QStringLiteral("第 %1 页 共 %2 页"));
    }

    QTemporaryDir dir;
    db::Connection conn;
    std::unique_ptr<db::Dataset> lines;
    report::Report r;
};
