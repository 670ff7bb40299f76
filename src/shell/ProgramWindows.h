#pragma once

namespace shell {

class Tform1;

// The long-lived tool windows, created hidden in start-up order and handed to the main
// window, which shows them on their commands.
void createLongLivedWindows(Tform1& mainWindow);
// The working windows of the modules, plugged into the main window's commands.
void registerWorkingWindows(Tform1& mainWindow);

} // namespace shell
