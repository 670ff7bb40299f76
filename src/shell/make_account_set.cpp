// Creates a new account set file: make-account-set <path>
#include "shell/AccountSet.h"
#include "sql/Error.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: make-account-set <path>\n";
        return 2;
    }
    try {
        shell::createAccountSet(QString::fromLocal8Bit(argv[1]));
    } catch (const sql::Error& error) {
        err << error.message() << "\n";
        return 1;
    }
    return 0;
}
