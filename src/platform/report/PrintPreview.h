#pragma once

#include <QDialog>

class QLabel;
class QPrinter;
class QPrintPreviewWidget;

namespace report {

class TablePrinter;

// The print preview of a table: zoom, page navigation, page setup, print, save as PDF.
// The pages are painted by the table printer on the preview's printer; page setup
// changes that printer and the pages are laid out again.
class PrintPreview : public QDialog {
    Q_OBJECT

public:
    PrintPreview(const TablePrinter& table, QPrinter& printer, QWidget* parent = nullptr);

    QPrintPreviewWidget* previewWidget() const { return preview_; }
    // "第 2 / 5 页"
    QString pageText() const;

private:
    void addActions();
    void paintPages(QPrinter* printer);
    void showPageText();
    void pageSetupClick();
    void printClick();
    void savePdfClick();

    const TablePrinter& table_;
    QPrinter& printer_;
    QPrintPreviewWidget* preview_;
    QLabel* pageLabel_;
};

} // namespace report
