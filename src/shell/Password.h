#pragma once

#include <QString>

namespace shell {

class TDM_CS;

struct PasswordChange {
    bool changed;
    QString message;  // what the window shows
};

// Changes the current operator's password (BM_YG.MM of OperatorCode) after checking
// the old one and the repetition. Throws sql::Error when the account set refuses.
// The password remembered in Default.ini stays as it is.
PasswordChange changeOperatorPassword(TDM_CS& dataModule, const QString& oldPassword, const QString& newPassword,
                               const QString& repeatedPassword);

} // namespace shell
