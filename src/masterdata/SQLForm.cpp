#include "masterdata/SQLForm.h"

#include "masterdata/FormHelpers.h"
#include "masterdata/SqlAnalysis.h"
#include "shell/DataModule.h"
#include "ui/Dialogs.h"
#include "ui/KeyPreview.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSplitter>
#include <QVBoxLayout>

namespace masterdata {
namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const char* text) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

TSQL_YJ::TSQL_YJ(shell::TDM_CS& dm, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), dm_(dm) {
    setObjectName(QStringLiteral("SQL_YJ"));
    setWindowTitle(QStringLiteral("数据分析工具"));
    BitBtn1 = makeButton(this, "BitBtn1", "打 开");
    BitBtn2 = makeButton(this, "BitBtn2", "保 存");
    BitBtn4 = makeButton(this, "BitBtn4", "删 除");
    BitBtn5 = makeButton(this, "BitBtn5", "退 出");
    BitBtn3 = makeButton(this, "BitBtn3", "执 行");

    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Memo1 = new QPlainTextEdit(Splitter1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("SQL语句"));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo2 = new QPlainTextEdit(Splitter1);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setAccessibleName(QStringLiteral("执行结果"));
    Memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont fixed(QStringLiteral("Noto Sans Mono CJK SC"));
    fixed.setStyleHint(QFont::Monospace);
    Memo2->setFont(fixed);
    Splitter1->addWidget(Memo1);
    Splitter1->addWidget(Memo2);
    Splitter1->setSizes({120, 320});

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {BitBtn1, BitBtn2, BitBtn4, BitBtn5})
        buttons->addWidget(button);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(Splitter1, 1);
    resize(760, 520);

    connect(BitBtn1, &QPushButton::clicked, this, &TSQL_YJ::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TSQL_YJ::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TSQL_YJ::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TSQL_YJ::BitBtn4Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TSQL_YJ::BitBtn5Click);
    ui::previewKeys(this, [this](QWidget*, QKeyEvent* key) { return FormKeyDown(key); });
}

TSQL_YJ& TSQL_YJ::instance(shell::TDM_CS& dm) {
    return windowOf<TSQL_YJ>(dm);
}

QString TSQL_YJ::chooseTextFile(ui::FileRequest::Kind kind, const QString& caption) {
    ui::FileRequest request;
    request.kind = kind;
    request.parent = this;
    request.caption = caption;
    request.filter = QStringLiteral("文本文件 (*.txt)|*.txt");
    request.defaultSuffix = QStringLiteral("txt");
    request.directory = dm_.programDir();
    return ui::dialogs().chooseFile(request);
}

void TSQL_YJ::BitBtn1Click() {
    const QString chosen = chooseTextFile(ui::FileRequest::Kind::Open, QStringLiteral("打开"));
    if (chosen.isEmpty())
        return;
    fileName_ = chosen;
    QString text;
    QString error;
    if (!readStatementFile(fileName_, &text, &error)) {
        ui::fail(this, error);
        return;
    }
    Memo1->setPlainText(text);
}

void TSQL_YJ::BitBtn2Click() {
    if (fileName_.isEmpty())
        fileName_ = chooseTextFile(ui::FileRequest::Kind::Save, QStringLiteral("保存为"));
    if (fileName_.isEmpty())
        return;
    QString error;
    if (!writeStatementFile(fileName_, Memo1->toPlainText(), &error))
        ui::fail(this, error);
}

void TSQL_YJ::BitBtn3Click() {
    const AnalysisOutcome outcome = runAnalysis(dm_.SQLFORM, Memo1->toPlainText());
    if (!outcome.lines.isEmpty()) {
        if (!Memo2->document()->isEmpty())
            Memo2->appendPlainText(QString());
        Memo2->appendPlainText(outcome.lines.join(QLatin1Char('\n')));
    }
    if (!outcome.message.isEmpty())
        ui::ask(this, QStringLiteral("提示："), outcome.message, ui::Icon::None, ui::Button::Ok, ui::Button::Ok);
}

void TSQL_YJ::BitBtn4Click() {
    Memo2->clear();
}

void TSQL_YJ::BitBtn5Click() {
    close();
}

bool TSQL_YJ::FormKeyDown(QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        BitBtn3Click();
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return false;
    }
}

void TSQL_YJ::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        if (const QScreen* shown = screen())
            move(shown->availableGeometry().center() - rect().center());
    }
    QWidget::showEvent(event);
}

} // namespace masterdata
