#pragma once

#include "ui/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QString>

// The dialog double of the tests: installs itself for its lifetime, records every
// box and file dialog, and answers with what the test scripted beforehand. A box
// nobody scripted is answered with its default button, a file dialog with a cancel;
// both are still recorded, so a test sees every dialog that came up.
class ScriptedDialogs : public ui::DialogService {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    void answerNext(ui::Button button) { buttons_.enqueue(button); }
    void chooseNext(const QString& path) { paths_.enqueue(path); }

    const QList<ui::MessageRequest>& messages() const { return messages_; }
    const QList<ui::FileRequest>& fileRequests() const { return fileRequests_; }
    QStringList texts() const;
    // The last message's text, empty when none came up.
    QString lastText() const { return messages_.isEmpty() ? QString() : messages_.last().text; }
    void clear();

    ui::Button message(const ui::MessageRequest& request) override;
    QString chooseFile(const ui::FileRequest& request) override;

private:
    QQueue<ui::Button> buttons_;
    QQueue<QString> paths_;
    QList<ui::MessageRequest> messages_;
    QList<ui::FileRequest> fileRequests_;
};
