#include "shell/ProgramWindows.h"

#include "masterdata/BMTP.h"
#include "masterdata/Form_SP.h"
#include "masterdata/GSXX.h"
#include "masterdata/SPLB.h"
#include "masterdata/SQLForm.h"
#include "masterdata/YG.h"
#include "orders/Form_xsd.h"
#include "shell/DataModule.h"
#include "shell/InitialiseWindow.h"
#include "shell/MainWindow.h"
#include "shell/UpgradeWindow.h"

namespace shell {
namespace {

template <typename Window>
Tform1::ChildWindowFactory plainWindow() {
    return [](Tform1& frame) -> QWidget* { return new Window(frame.dataModule()); };
}

// The company window hands its name and picture to the frame when it closes.
QWidget* companyWindow(Tform1& frame) {
    auto* window = new masterdata::TBM_GSXX(frame.dataModule());
    QObject::connect(window, &masterdata::TBM_GSXX::companyNameChanged, &frame, &Tform1::setCompanyName);
    QObject::connect(window, &masterdata::TBM_GSXX::backgroundPictureChanged, &frame,
                     [&frame](const QString& file) { frame.setBackgroundPicture(file); });
    return window;
}

} // namespace

void createLongLivedWindows(Tform1& mainWindow) {
    TDM_CS& dm = mainWindow.dataModule();
    mainWindow.addToolWindow(QStringLiteral("TSQL_YJ"), &masterdata::TSQL_YJ::instance(dm));
    mainWindow.addToolWindow(QStringLiteral("Tup"), new Tup(dm));
    mainWindow.addToolWindow(QStringLiteral("TCSH"), new TCSH(dm));
    mainWindow.addToolWindow(QStringLiteral("TBM_TP"), &masterdata::TBM_TP::instance(dm));
}

void registerWorkingWindows(Tform1& mainWindow) {
    mainWindow.registerChildWindow(QStringLiteral("CZGH"), [](Tform1& frame) -> QWidget* {
        return orders::Txsd::create(frame.dataModule());
    });
    mainWindow.registerChildWindow(QStringLiteral("JC_GSXX"), companyWindow);
    mainWindow.registerChildWindow(QStringLiteral("JC_YG"), plainWindow<masterdata::TBM_YG>());
    mainWindow.registerChildWindow(QStringLiteral("JC_SPLB"), plainWindow<masterdata::TBM_SPLB>());
    mainWindow.registerChildWindow(QStringLiteral("JC_SP"), plainWindow<masterdata::TFormSP>());
}

} // namespace shell
