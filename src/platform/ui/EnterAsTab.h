#pragma once

#include <QObject>

class QWidget;

namespace ui {

// Enter moves the focus to the next control, as the operators are used to in every
// data-entry window. Multi-line editors, grids and buttons keep their own Enter.
class EnterAsTab : public QObject {
    Q_OBJECT
public:
    // Watches every key press inside form; owned by form.
    static EnterAsTab* install(QWidget* form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit EnterAsTab(QWidget* form);
    QWidget* form_;
};

} // namespace ui
