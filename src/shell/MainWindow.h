#pragma once

#include <QMainWindow>

namespace shell {

class TDM_CS;

// The main window: a multiple-document frame whose caption is the application
// title followed by the version. Creating it opens the account set.
class Tform1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Tform1(TDM_CS& dataModule, QWidget* parent = nullptr);

private:
    void openAccountSet();

    TDM_CS& dm_;
};

} // namespace shell
