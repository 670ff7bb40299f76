#pragma once

#include <QString>

class QApplication;

namespace sys { class SingleInstanceLock; }

namespace shell {

class TDM_CS;
class Tform1;

// Takes the single-instance lock; when another copy holds it, shows
// "程序已运行！" and returns false, having touched nothing else.
bool claimSingleInstance(sys::SingleInstanceLock& lock);

// The start-up from the main window on: its creation runs the login (an abandoned
// login ends here with 0), then the long-lived windows, the maximised main window and
// the event loop until the main window closes.
int runMainWindow(QApplication& app, TDM_CS& dataModule);

// The whole start-up: title, lock, data module, main window with the login, the
// long-lived windows, event loop. Returns the program's exit code.
int runProgram(QApplication& app, const QString& programDir);

} // namespace shell
