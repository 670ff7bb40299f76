#include "support/ScriptedDialogs.h"

ScriptedDialogs::ScriptedDialogs() {
    ui::setDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    ui::setDialogs(nullptr);
}

QStringList ScriptedDialogs::texts() const {
    QStringList all;
    for (const ui::MessageRequest& request : messages_)
        all << request.text;
    return all;
}

void ScriptedDialogs::clear() {
    buttons_.clear();
    paths_.clear();
    messages_.clear();
    fileRequests_.clear();
}

ui::Button ScriptedDialogs::message(const ui::MessageRequest& request) {
    messages_.append(request);
    return buttons_.isEmpty() ? request.defaultButton : buttons_.dequeue();
}

QString ScriptedDialogs::chooseFile(const ui::FileRequest& request) {
    fileRequests_.append(request);
    return paths_.isEmpty() ? QString() : paths_.dequeue();
}
