#include "ui/KeyPreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace ui {
namespace {

class KeyPreview : public QObject {
public:
    KeyPreview(QWidget* form, KeyHandler handler)
        : QObject(form), form_(form), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || (widget != form_ && !form_->isAncestorOf(widget)))
            return false;
        // An ignored key goes on to the parents of the focused control: seen already.
        const QWidget* focus = QApplication::focusWidget();
        if (focus && widget != focus && widget->isAncestorOf(focus))
            return false;
        return handler_(widget, static_cast<QKeyEvent*>(event));
    }

private:
    QWidget* form_;
    KeyHandler handler_;
};

} // namespace

void previewKeys(QWidget* form, KeyHandler handler) {
    qApp->installEventFilter(new KeyPreview(form, std::move(handler)));
}

bool isEnterKey(const QKeyEvent* event) {
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
           && !(event->modifiers() & ~Qt::KeypadModifier);
}

} // namespace ui
