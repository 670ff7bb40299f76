#pragma once

#include <QString>

class QApplication;

namespace sys { class SingleInstanceLock; }

namespace shell {

class Tform1;

// Takes the single-instance lock; when another copy holds it, shows
// "程序已运行！" and returns false, having touched nothing else.
bool claimSingleInstance(sys::SingleInstanceLock& lock);

// The long-lived windows, created hidden in start-up order and handed to the main
// window, which shows them on their commands: the upgrade Tup and the initialisation
// TCSH. The working windows of the modules are registered with the main window here
// as well (Tform1::registerChildWindow).
void createLongLivedWindows(Tform1& mainWindow);

// The whole start-up: title, lock, data module, main window with the login, the
// long-lived windows, event loop. Returns the program's exit code.
int runProgram(QApplication& app, const QString& programDir);

} // namespace shell
