#include "shell/Startup.h"

#include "shell/AppInfo.h"
#include "shell/DataModule.h"
#include "shell/MainWindow.h"
#include "shell/ProgramWindows.h"
#include "system/SingleInstanceLock.h"
#include "ui/Dialogs.h"

#include <QApplication>

namespace shell {

bool claimSingleInstance(sys::SingleInstanceLock& lock) {
    if (lock.tryAcquire())
        return true;
    ui::ask(nullptr, QStringLiteral("提示"), QStringLiteral("程序已运行！"), ui::Icon::None, ui::Button::Ok,
            ui::Button::Ok);
    return false;
}

int runMainWindow(QApplication& app, TDM_CS& dataModule) {
    Tform1 mainWindow(dataModule);
    if (!mainWindow.loggedIn())
        return 0;
    createLongLivedWindows(mainWindow);
    registerWorkingWindows(mainWindow);
    mainWindow.showMaximized();
    return app.exec();
}

int runProgram(QApplication& app, const QString& programDir) {
    app.setApplicationName(kApplicationTitle);  // the display name would be appended to every caption
    sys::SingleInstanceLock lock(kInstanceLockName);
    if (!claimSingleInstance(lock))
        return 0;
    TDM_CS dataModule(programDir);
    return runMainWindow(app, dataModule);
}

} // namespace shell
