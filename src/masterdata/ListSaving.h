#pragma once

#include <QString>

class QWidget;

namespace dataset {
class Dataset;
}

// The save-and-close rule of the editable list windows (products, categories,
// employees): rows are written as they are posted, an unsaved mark remembers that
// the operator changed the list, Save writes whatever is not written yet in one
// transaction, and closing with the mark set asks whether to save.
namespace masterdata {

inline const QString kSaveFailedText = QStringLiteral("编码存在重复无法保存，请删除重复后重试");
inline const QString kSaveQuestion = QStringLiteral("当前还没有保存，是否现在保存？");

class EditableList {
public:
    explicit EditableList(dataset::Dataset& list) : list_(list) {}

    dataset::Dataset& list() const { return list_; }

    bool isMarked() const { return marked_; }
    void mark() { marked_ = true; }
    void clearMark() { marked_ = false; }

    // Writes every change not yet written, the row being edited included, in one
    // transaction on the list's connection and clears the mark. On failure rolls back,
    // keeps the mark and throws sql::Error.
    void save();
    // Drops what is not written yet (the row being edited).
    void dropUnsaved();

private:
    dataset::Dataset& list_;
    bool marked_ = false;
};

// The save button: saves and confirms with "保存成功！", or rolls back and shows the
// duplicate-code box. True when saved.
bool saveWithMessages(QWidget* form, EditableList& list);

// The closing question, when the mark is set: Yes saves (a failed save shows the
// duplicate-code box and keeps the window open with its edits), No drops the row
// being edited, Cancel keeps the window open. True when the window may close.
bool confirmClose(QWidget* form, EditableList& list);

} // namespace masterdata
