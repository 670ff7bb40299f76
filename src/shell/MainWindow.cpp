#include "shell/MainWindow.h"

#include "shell/AppInfo.h"
#include "shell/DataModule.h"
#include "ui/Dialogs.h"

#include <QMdiArea>

namespace shell {

Tform1::Tform1(TDM_CS& dataModule, QWidget* parent) : QMainWindow(parent), dm_(dataModule) {
    setObjectName(QStringLiteral("Tform1"));
    setWindowTitle(kApplicationTitle + kVersionText);
    auto* area = new QMdiArea(this);
    area->setObjectName(QStringLiteral("MDIClient"));
    setCentralWidget(area);
    openAccountSet();
}

void Tform1::openAccountSet() {
    try {
        dm_.openAccountSet();
    } catch (const sql::Error& error) {
        ui::fail(this, error.message());
    }
}

} // namespace shell
