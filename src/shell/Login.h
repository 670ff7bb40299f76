#pragma once

#include <QString>

namespace shell {

class TDM_CS;

// The login of an operator by login name and password (BM_YG.DLMC and MM), without
// the window: it opens the account set, checks each attempt, counts wrong passwords
// and, on success, sets the current operator and records the login in Default.ini.
class LoginCheck {
public:
    enum class Outcome {
        Accepted,         // the operator is set and the login recorded
        NameMissing,      // nothing typed as login name
        UnknownName,      // no employee has this login name; not counted
        WrongPassword,    // counted; the window stays open
        TooManyWrong,     // the third wrong password: the login ends abandoned
        Failed,           // the account set could not be read; message holds why
    };

    struct Result {
        Outcome outcome;
        QString message;  // what the window shows; empty for Accepted
    };

    // How many wrong passwords end the login.
    static constexpr int kAllowedWrongPasswords = 3;

    explicit LoginCheck(TDM_CS& dataModule);

    // Opens the account set; the engine's message when that fails, empty otherwise.
    // After a failure every attempt fails with that message, so no operator logs in.
    QString openAccountSet();

    Result attempt(const QString& loginName, const QString& password, bool rememberPassword);

    int wrongPasswords() const { return wrongPasswords_; }

private:
    TDM_CS& dm_;
    QString openFailure_;
    int wrongPasswords_ = 0;  // for existing login names, never reset while the program runs
};

} // namespace shell
