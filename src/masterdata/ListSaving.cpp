#include "masterdata/ListSaving.h"

#include "dataset/Dataset.h"
#include "ui/Dialogs.h"

namespace masterdata {

void EditableList::save() {
    if (list_.isOpen())
        list_.applyUpdates();
    clearMark();
}

// With the grids held back: a grid told that the new row goes away would move its
// current row first, and leaving the new row would write it.
void EditableList::dropUnsaved() {
    if (!list_.isOpen())
        return;
    dataset::ControlsDisabled quiet(list_);
    list_.cancelUpdates();
}

bool saveWithMessages(QWidget* form, EditableList& list) {
    try {
        list.save();
    } catch (const sql::Error&) {
        ui::warn(form, kSaveFailedText);
        return false;
    }
    ui::notify(form, QStringLiteral("保存成功！"));
    return true;
}

bool confirmClose(QWidget* form, EditableList& list) {
    if (!list.isMarked())
        return true;
    const ui::Button answer = ui::ask(form, QStringLiteral("提示"), kSaveQuestion, ui::Icon::Information,
                                      ui::Button::Yes | ui::Button::No | ui::Button::Cancel, ui::Button::Yes);
    switch (answer) {
    case ui::Button::Yes:
        try {
            list.save();
            return true;
        } catch (const sql::Error&) {
            ui::warn(form, kSaveFailedText);
            return false;
        }
    case ui::Button::No:
        list.dropUnsaved();
        return true;
    default:
        return false;
    }
}

} // namespace masterdata
