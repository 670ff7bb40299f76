#include "ui/EnterAsTab.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace ui {
namespace {

bool keepsItsOwnEnter(const QWidget* widget) {
    return qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QTextEdit*>(widget)
           || qobject_cast<const QAbstractItemView*>(widget) || qobject_cast<const QAbstractButton*>(widget);
}

bool isInside(const QWidget* widget, const QWidget* form) {
    return widget && (widget == form || form->isAncestorOf(widget));
}

} // namespace

EnterAsTab::EnterAsTab(QWidget* form) : QObject(form), form_(form) {}

EnterAsTab* EnterAsTab::install(QWidget* form) {
    auto* filter = new EnterAsTab(form);
    qApp->installEventFilter(filter);
    return filter;
}

bool EnterAsTab::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!isInside(widget, form_) || widget != QApplication::focusWidget() || keepsItsOwnEnter(widget))
        return false;
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &tab);
    return true;
}

} // namespace ui
