#pragma once

#include "core/Udatamod.h"

#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>
#include <memory>

// A fresh keyed database per test: a temporary program folder holding
// data/orbenta.db exactly as createDatabase makes it (schema and seed rows),
// the program folder pointed at it, and a data module whose AdoConn is open on
// it and installed as FrmDataMod. Everything is removed after the test.
class TestDb : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs one statement (or several separated by ";") and returns the rows changed.
    int exec(const QString& sql, const db::Params& params = {});
    // First column of the first row; an invalid QVariant when there is none.
    QVariant scalar(const QString& sql, const db::Params& params = {});
    // Rows of table, optionally restricted by a where clause (without "where").
    int count(const QString& table, const QString& where = {}, const db::Params& params = {});

    // Logs user in with every right at every position.
    void grantAllRights(const QString& user = QStringLiteral("admin"));
    // A small salon's records as a receptionist meets them, dated today:
    // members with Chinese names and their card levels, services with steps
    // and recipes, staff, appointments, service bills and other income and
    // expenses, goods and companies, stock, and every kind of stock document.
    void addSampleData();

    // The temporary program folder, with its trailing '/'.
    QString folder() const { return folder_; }
    QString databasePath() const;
    TFrmDataMod& dataMod() { return *dataMod_; }
    db::Connection& conn() { return dataMod_->AdoConn; }

private:
    QTemporaryDir dir_;
    QString folder_;
    std::unique_ptr<TFrmDataMod> dataMod_;
};
