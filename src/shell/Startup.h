#pragma once

#include <QString>

class QApplication;

namespace sys { class SingleInstanceLock; }

namespace shell {

// Takes the single-instance lock; when another copy holds it, shows
// "程序已运行！" and returns false, having touched nothing else.
bool claimSingleInstance(sys::SingleInstanceLock& lock);

// The whole start-up: title, lock, data module, main window, event loop.
// Returns the program's exit code.
int runProgram(QApplication& app, const QString& programDir);

} // namespace shell
