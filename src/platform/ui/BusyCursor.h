#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace ui {

// The hourglass for the length of a scope, restored however the scope ends.
class BusyCursor {
public:
    BusyCursor() {
        if (qGuiApp)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~BusyCursor() {
        if (qGuiApp)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace ui
