#include "ui/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace ui {
namespace {

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonText {
    Button button;
    QMessageBox::ButtonRole role;
    const char* text;
};

const ButtonText kButtons[] = {
    {Button::Yes, QMessageBox::YesRole, "是(&Y)"},
    {Button::No, QMessageBox::NoRole, "否(&N)"},
    {Button::Ok, QMessageBox::AcceptRole, "确定"},
    {Button::Cancel, QMessageBox::RejectRole, "取消"},
};

class QtDialogService : public DialogService {
public:
    Button message(const MessageRequest& request) override {
        QMessageBox box(qtIcon(request.icon), request.caption, request.text, QMessageBox::NoButton,
                        request.parent);
        QList<std::pair<QAbstractButton*, Button>> made;
        for (const ButtonText& b : kButtons) {
            if (!request.buttons.testFlag(b.button))
                continue;
            QPushButton* pushButton = box.addButton(QString::fromUtf8(b.text), b.role);
            made.append({pushButton, b.button});
            if (b.button == request.defaultButton)
                box.setDefaultButton(pushButton);
        }
        box.exec();
        for (const auto& [pushButton, button] : made)
            if (box.clickedButton() == pushButton)
                return button;
        return made.size() == 1 ? made.first().second : Button::Cancel;
    }

    QString chooseFile(const FileRequest& request) override {
        QFileDialog dialog(request.parent, request.caption, request.directory);
        switch (request.kind) {
        case FileRequest::Kind::Open:
        case FileRequest::Kind::Picture:
            dialog.setFileMode(QFileDialog::ExistingFile);
            break;
        case FileRequest::Kind::Save:
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            break;
        case FileRequest::Kind::Folder:
            dialog.setFileMode(QFileDialog::Directory);
            dialog.setOption(QFileDialog::ShowDirsOnly);
            break;
        }
        if (!request.filter.isEmpty())
            dialog.setNameFilter(qtNameFilters(request.filter));
        if (!request.defaultSuffix.isEmpty())
            dialog.setDefaultSuffix(request.defaultSuffix);
        if (!request.proposedName.isEmpty())
            dialog.selectFile(request.proposedName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }
};

QtDialogService& realService() {
    static QtDialogService service;
    return service;
}

DialogService* installed = nullptr;

} // namespace

DialogService& dialogs() {
    return installed ? *installed : realService();
}

void setDialogs(DialogService* service) {
    installed = service;
}

Button ask(QWidget* parent, const QString& caption, const QString& text, Icon icon, Buttons buttons,
           Button defaultButton) {
    return dialogs().message({parent, caption, text, icon, buttons, defaultButton});
}

void inform(QWidget* parent, const QString& text, const QString& caption) {
    ask(parent, caption, text, Icon::Information, Button::Ok, Button::Ok);
}

void warn(QWidget* parent, const QString& text, const QString& caption) {
    ask(parent, caption, text, Icon::Warning, Button::Ok, Button::Ok);
}

void fail(QWidget* parent, const QString& text, const QString& caption) {
    ask(parent, caption, text, Icon::Critical, Button::Ok, Button::Ok);
}

void notify(QWidget* parent, const QString& text, const QString& caption) {
    ask(parent, caption, text, Icon::None, Button::Ok, Button::Ok);
}

QString qtNameFilters(const QString& desktopFilter) {
    const QStringList parts = desktopFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (patterns == QLatin1String("*.*"))
            patterns = QStringLiteral("*");
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace ui
