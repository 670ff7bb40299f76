#include "report/PrintPreview.h"

#include "report/TablePrinter.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>
#include <functional>

namespace report {

PrintPreview::PrintPreview(const TablePrinter& table, QPrinter& printer, QWidget* parent)
    : QDialog(parent),
      table_(table),
      printer_(printer),
      preview_(new QPrintPreviewWidget(&printer, this)),
      pageLabel_(new QLabel(this)) {
    setObjectName(QStringLiteral("PrintPreview"));
    setWindowTitle(QStringLiteral("打印预览"));
    preview_->setObjectName(QStringLiteral("PreviewWidget"));
    preview_->setAccessibleName(QStringLiteral("打印预览"));
    pageLabel_->setObjectName(QStringLiteral("PageLabel"));
    addActions();
    connect(preview_, &QPrintPreviewWidget::paintRequested, this, &PrintPreview::paintPages);
    connect(preview_, &QPrintPreviewWidget::previewChanged, this, &PrintPreview::showPageText);
    resize(1000, 760);
}

QString PrintPreview::pageText() const {
    return QStringLiteral("第 %1 / %2 页").arg(preview_->currentPage()).arg(preview_->pageCount());
}

void PrintPreview::addActions() {
    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("PreviewToolBar"));
    const auto add = [&](const char* name, const QString& text, const std::function<void()>& handler) {
        QAction* action = toolBar->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
    };
    const auto goTo = [this](int page) {
        preview_->setCurrentPage(page);
        showPageText();
    };
    add("ZoomIn", QStringLiteral("放大"), [this] { preview_->zoomIn(); });
    add("ZoomOut", QStringLiteral("缩小"), [this] { preview_->zoomOut(); });
    add("FitWidth", QStringLiteral("适合宽度"), [this] { preview_->fitToWidth(); });
    add("WholePage", QStringLiteral("整页"), [this] { preview_->fitInView(); });
    toolBar->addSeparator();
    add("FirstPage", QStringLiteral("首页"), [goTo] { goTo(1); });
    add("PriorPage", QStringLiteral("上一页"), [this, goTo] { goTo(preview_->currentPage() - 1); });
    add("NextPage", QStringLiteral("下一页"), [this, goTo] { goTo(preview_->currentPage() + 1); });
    add("LastPage", QStringLiteral("末页"), [this, goTo] { goTo(preview_->pageCount()); });
    toolBar->addWidget(pageLabel_);
    toolBar->addSeparator();
    add("PageSetup", QStringLiteral("页面设置"), [this] { pageSetupClick(); });
    add("Print", QStringLiteral("打印"), [this] { printClick(); });
    add("SavePdf", QStringLiteral("保存为PDF"), [this] { savePdfClick(); });
    add("Close", QStringLiteral("关闭"), [this] { reject(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(toolBar);
    layout->addWidget(preview_);
}

void PrintPreview::paintPages(QPrinter* printer) {
    QPainter painter(printer);
    table_.render(painter, *printer, table_.layOut(*printer, false));
}

void PrintPreview::showPageText() {
    pageLabel_->setText(pageText());
}

void PrintPreview::pageSetupClick() {
    QPageSetupDialog dialog(&printer_, this);
    if (dialog.exec() == QDialog::Accepted)
        preview_->updatePreview();
}

void PrintPreview::printClick() {
    QPrintDialog dialog(&printer_, this);
    if (dialog.exec() == QDialog::Accepted)
        preview_->print();
}

void PrintPreview::savePdfClick() {
    ui::FileRequest request;
    request.kind = ui::FileRequest::Kind::Save;
    request.parent = this;
    request.caption = QStringLiteral("保存为PDF");
    request.filter = QStringLiteral("PDF files (*.pdf)|*.pdf");
    request.defaultSuffix = QStringLiteral("pdf");
    request.proposedName = table_.table().title;
    const QString path = ui::dialogs().chooseFile(request);
    if (path.isEmpty())
        return;
    try {
        table_.writePdf(path, printer_.pageLayout(), false);
    } catch (const PrintError& error) {
        ui::fail(this, error.message());
    }
}

} // namespace report
