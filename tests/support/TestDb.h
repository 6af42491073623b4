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

    // Makes path (a file or folder) refuse writes as a write-protected one
    // does: its write permissions go and, where that does not stop this user
    // (root), it is made immutable. False when neither works here. The
    // protection is lifted by liftWriteProtection and after the test.
    bool writeProtect(const QString& path);
    void liftWriteProtection();

    // The data module's connection refuses every write, as on a database
    // that opened read-only ("attempt to write a readonly database").
    void refuseWrites();
    // The database file cannot grow any more, as on a full disk: empty rows
    // of table take up the room the file has left, so the next row written
    // there fails ("database or disk is full").
    void fillDatabase(const QString& table);

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
    QStringList protected_;
};
