#include "shell/WindowSupport.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>

namespace shell {

void setCheckListEntries(QListWidget* list, const QStringList& entries) {
    list->clear();
    for (const QString& entry : entries) {
        auto* item = new QListWidgetItem(entry, list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

QStringList checkListEntries(const QListWidget* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->item(i)->text();
    return entries;
}

void setCheckListMarks(QListWidget* list, const QList<bool>& marks) {
    for (int i = 0; i < list->count() && i < marks.size(); ++i)
        list->item(i)->setCheckState(marks[i] ? Qt::Checked : Qt::Unchecked);
}

QList<bool> checkListMarks(const QListWidget* list) {
    QList<bool> marks;
    for (int i = 0; i < list->count(); ++i)
        marks << (list->item(i)->checkState() == Qt::Checked);
    return marks;
}

void centreOn(QWidget* window, const QWidget* over) {
    QRect area;
    if (over && over->isVisible())
        area = over->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        window->move(area.center() - window->rect().center());
}

} // namespace shell
