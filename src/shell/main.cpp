#include "shell/Startup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    return shell::runProgram(app, QCoreApplication::applicationDirPath());
}
