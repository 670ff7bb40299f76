#pragma once

#include "shell/DataModule.h"

#include <QTemporaryDir>
#include <QVariant>
#include <memory>

// A program directory in a temporary folder holding a fresh account set (data/data.mdb,
// Backup/, PrintFormat/), and the data module open on it with the operator "sa"
// (code "001", name "系统管理员") logged in.
class ProgramFixture {
public:
    explicit ProgramFixture(bool withPinyin = false);

    shell::TDM_CS& dm() { return *dm_; }
    sql::Connection& connection() { return dm_->ADOConnection1; }
    QString programDir() const { return dir_.path(); }
    QString path(const QString& relative) const { return dir_.filePath(relative); }

    // Dialect statements on the shared connection.
    void execute(const QString& statement) { connection().execute(statement); }
    QVariant scalar(const QString& statement) { return connection().scalar(statement); }

    // Rows the tests need again and again; empty texts and zero amounts where not given.
    void addProduct(const QString& code, const QString& name, double rent, double deposit, double stock,
                    double lent = 0, const QString& category = QStringLiteral("01"));
    void addEmployee(const QString& code, const QString& name, const QString& login,
                     const QString& password = QString());

private:
    QTemporaryDir dir_;
    std::unique_ptr<shell::TDM_CS> dm_;
};
