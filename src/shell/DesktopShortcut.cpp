#include "shell/DesktopShortcut.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace shell {
namespace {

// A value of a desktop entry: the backslash is the entry format's escape character.
QString entryValue(QString value) {
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    value.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return value;
}

// One argument of the Exec key: in double quotes, with the characters the launcher's
// quoting reserves escaped, and "%" doubled so that it is no field code.
QString execArgument(const QString& argument) {
    QString quoted;
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString DesktopShortcut::entryText() const {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Version=1.0\n"
                          "Name=%1\n"
                          "Exec=%2\n"
                          "Path=%3\n"
                          "Terminal=false\n")
        .arg(entryValue(name), entryValue(execArgument(program)), entryValue(workingDir));
}

bool DesktopShortcut::saveIn(const QString& folder) const {
    if (folder.isEmpty() || !QDir(folder).exists())
        return false;
    QSaveFile file(QDir(folder).filePath(fileName()));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(entryText().toUtf8());
    if (!file.commit())
        return false;
    return QFile::setPermissions(file.fileName(), QFile::permissions(file.fileName()) | QFile::ExeOwner
                                                      | QFile::ExeGroup | QFile::ExeOther);
}

QString userDesktopFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

} // namespace shell
