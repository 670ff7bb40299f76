#include "masterdata/FormHelpers.h"

#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QToolButton>
#include <QWidget>

namespace masterdata {
namespace {

class KeyPreview : public QObject {
public:
    KeyPreview(QWidget* form, std::function<bool(QKeyEvent*)> handler)
        : QObject(form), form_(form), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || (widget != form_ && !form_->isAncestorOf(widget)))
            return false;
        return handler_(static_cast<QKeyEvent*>(event));
    }

private:
    QWidget* form_;
    std::function<bool(QKeyEvent*)> handler_;
};

} // namespace

QToolButton* makeSpeedButton(QWidget* parent, const char* name, const char* text) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(QString::fromUtf8(text));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

void closeForm(QWidget* form) {
    if (auto* subWindow = qobject_cast<QMdiSubWindow*>(form->parentWidget()))
        subWindow->close();
    else
        form->close();
}

void installKeyPreview(QWidget* form, std::function<bool(QKeyEvent*)> handler) {
    qApp->installEventFilter(new KeyPreview(form, std::move(handler)));
}

} // namespace masterdata
