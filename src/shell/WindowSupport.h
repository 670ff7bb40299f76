#pragma once

#include <QList>
#include <QStringList>

class QListWidget;
class QWidget;

namespace shell {


// A check list box: one checkable entry per statement, the marks of the last run.
void setCheckListEntries(QListWidget* list, const QStringList& entries);
QStringList checkListEntries(const QListWidget* list);
void setCheckListMarks(QListWidget* list, const QList<bool>& marks);
QList<bool> checkListMarks(const QListWidget* list);

// Puts a window in the middle of another window, or of the screen when there is none.
void centreOn(QWidget* window, const QWidget* over);

} // namespace shell
