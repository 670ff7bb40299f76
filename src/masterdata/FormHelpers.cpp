#include "masterdata/FormHelpers.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QToolButton>
#include <QWidget>

namespace masterdata {

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


} // namespace masterdata
