#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

#include "shell/DataModule.h"

class QLabel;
class QToolButton;
class QWidget;

// Small pieces the master data windows share.
namespace masterdata {

// A flat text button of a button bar ("保存[&S]"), named as the control it is.
QToolButton* makeSpeedButton(QWidget* parent, const char* name, const char* text);
// A caption label named as the control it is.
QLabel* makeLabel(QWidget* parent, const char* name, const char* text);

// Closes a form: its MDI sub-window when it is an MDI child, otherwise the form itself.
// Either way the form's closeEvent decides whether it may close.
void closeForm(QWidget* form);


// The one window of a kind that lives beside a data module, made hidden on first use
// and deleted with the data module (the picture window, the SQL tool).
template <class Window>
Window& windowOf(shell::TDM_CS& dm) {
    static QHash<const shell::TDM_CS*, QPointer<Window>> windows;
    QPointer<Window>& window = windows[&dm];
    if (!window) {
        window = new Window(dm);
        const shell::TDM_CS* key = &dm;
        QObject::connect(&dm, &QObject::destroyed, window, [key] { delete windows.take(key); });
    }
    return *window;
}

} // namespace masterdata
