#pragma once

#include <QFlags>
#include <QString>

class QWidget;

// Every message box and file dialog of the program goes through one service, so
// tests can put a scripted double in its place.
namespace ui {

enum class Icon { None, Information, Warning, Critical, Question };

enum class Button { None = 0, Ok = 1, Cancel = 2, Yes = 4, No = 8 };
Q_DECLARE_FLAGS(Buttons, Button)

struct MessageRequest {
    QWidget* parent = nullptr;
    QString caption;
    QString text;
    Icon icon = Icon::None;
    Buttons buttons = Button::Ok;
    Button defaultButton = Button::Ok;
};

struct FileRequest {
    enum class Kind { Open, Save, Picture, Folder };
    Kind kind = Kind::Open;
    QWidget* parent = nullptr;
    QString caption;
    // In the desktop form "description|pattern|description|pattern",
    // e.g. "Excel files (*.xlsx)|*.xlsx".
    QString filter;
    QString defaultSuffix;  // without the point, added when the typed name has none
    QString directory;      // folder shown first
    QString proposedName;   // file name offered by a save dialog
};

class DialogService {
public:
    virtual ~DialogService() = default;
    // The button the operator chose; closing the box counts as Cancel, or as the
    // only button when there is just one.
    virtual Button message(const MessageRequest& request) = 0;
    // The chosen path, empty when the operator cancelled.
    virtual QString chooseFile(const FileRequest& request) = 0;
};

// The service in use: the real one unless a test installed another.
DialogService& dialogs();
// Installs a service (not owned); nullptr puts the real one back.
void setDialogs(DialogService* service);

// The usual boxes.
Button ask(QWidget* parent, const QString& caption, const QString& text, Icon icon, Buttons buttons,
           Button defaultButton);
void inform(QWidget* parent, const QString& text, const QString& caption = QStringLiteral("提示"));
void warn(QWidget* parent, const QString& text, const QString& caption = QStringLiteral("提示"));
void fail(QWidget* parent, const QString& text, const QString& caption = QStringLiteral("错误"));
// A plain box without icon, as successes are confirmed.
void notify(QWidget* parent, const QString& text, const QString& caption = QStringLiteral("提示"));

// "Excel files (*.xlsx)|*.xlsx" as Qt name filters: "Excel files (*.xlsx) (*.xlsx)".
QString qtNameFilters(const QString& desktopFilter);

} // namespace ui

Q_DECLARE_OPERATORS_FOR_FLAGS(ui::Buttons)
