#pragma once

#include <QString>

namespace shell {

// A desktop launcher (freedesktop "Desktop Entry" file) that starts a program in a
// working directory, saved as "<name>.desktop" in a folder.
struct DesktopShortcut {
    QString name;         // shown under the icon and used as the file name
    QString program;      // the executable, full path
    QString workingDir;   // the directory the program starts in

    QString fileName() const { return name + QStringLiteral(".desktop"); }
    // The file's text.
    QString entryText() const;
    // Writes the file into the folder, replacing one of the same name, and makes it
    // executable as desktops require of launchers. False when the folder is missing
    // or cannot be written.
    bool saveIn(const QString& folder) const;
};

// The current user's desktop folder.
QString userDesktopFolder();

} // namespace shell
