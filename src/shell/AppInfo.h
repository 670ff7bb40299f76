#pragma once

#include <QString>

namespace shell {

inline const QString kApplicationTitle = QStringLiteral("禾岚婚纱、相机租借管理系统(普及版)");
inline const QString kVersionText = QStringLiteral("v24.1118");
inline const QString kInstanceLockName = QStringLiteral("禾岚影楼收费管理系统(专业版)");
// The account set's password; kept in every connection string the program builds.
inline const QString kDatabasePassword = QStringLiteral("mdb_pass7730_key");

// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<file>;Jet OLEDB:Database Password=..."
QString connectionStringFor(const QString& databaseFile);

} // namespace shell
