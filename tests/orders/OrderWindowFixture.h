#pragma once

#include "dataset/DatasetModel.h"
#include "masterdata/DBNavigator.h"
#include "orders/Form_xsd.h"
#include "orders/OrderGrid.h"
#include "orders/UnsavedChanges.h"
#include "shell/DataModule.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedDialogs.h"
#include "text/Decimal.h"
#include "text/Gbk.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QTemporaryDir>
#include <QtTest>

// The order window on a fresh account set with five products, the dialog double, a
// ticket template and a file as the ticket printer's port.
//   01 礼服 rent 50, deposit 200, 10 in stock, pinyin LF, barcode 6901
//   02 相机 rent 30, deposit 500,  4 in stock, pinyin XJ, barcode 6902
//   03 婚纱 rent 80, deposit 1000, 2 in stock, pinyin HS
//   04 花束 rent 10, deposit 0,    5 in stock, pinyin HSX, barcode 50%OFF
//   05 婚纱礼服A套装 rent 100, deposit 300, 3 in stock
class OrderWindowFixture {
public:
    enum class Template { Written, Missing };

    explicit OrderWindowFixture(Template ticketTemplate = Template::Written) : program(true) {
        orders::UnsavedChanges = false;
        program.addProduct("01", "礼服", 50, 200, 10);
        program.addProduct("02", "相机", 30, 500, 4);
        program.addProduct("03", "婚纱", 80, 1000, 2);
        program.addProduct("04", "花束", 10, 0, 5);
        program.addProduct("05", "婚纱礼服A套装", 100, 300, 3);
        program.execute("update bm_sp set jp='LF', txm='6901' where bm='01'");
        program.execute("update bm_sp set jp='XJ', txm='6902' where bm='02'");
        program.execute("update bm_sp set jp='HS' where bm='03'");
        program.execute("update bm_sp set jp='HSX', txm='50%OFF' where bm='04'");
        if (ticketTemplate == Template::Written)
            writeTicketTemplate("[Title]\nCount=1\nT0=No.[id]\n[Data]\nCount=1\nD0=[spmc,10][sl,4]\n[Footer]\nCount=0\n");
        program.dm().settings().setText("xsd", "port", portPath());
        window = orders::Txsd::create(program.dm());
        window->show();
        QApplication::setActiveWindow(window);
        (void)QTest::qWaitForWindowActive(window);
    }

    ~OrderWindowFixture() {
        delete window.data();
        orders::UnsavedChanges = false;
    }

    ProgramFixture program;
    ScriptedDialogs dialogs;
    QTemporaryDir portDir;
    QPointer<orders::Txsd> window;

    orders::RentalOrder& order() { return window->order(); }
    dataset::Dataset& lines() { return window->order().Query_MX; }
    dataset::DatasetModel* model() { return window->DBGridEh1->datasetModel(); }

    QString portPath() const { return portDir.filePath("lp0"); }
    QByteArray portBytes() const {
        QFile port(portPath());
        return port.open(QIODevice::ReadOnly) ? port.readAll() : QByteArray();
    }
    void writeTicketTemplate(const QString& content) {
        QFile file(program.path("PrintFormat/xpjhl.piv"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text::toGbk(content));
    }

    // --- typing and clicking

    // Key presses that carry the characters, Chinese ones too.
    static void typeKeys(QWidget* box, const QString& text) {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    static void typeInto(QWidget* box, const QString& text) {
        box->setFocus();
        typeKeys(box, text);
    }
    static void pressEnter(QWidget* control) {
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
    }
    static void click(QAbstractButton* button) {
        QVERIFY2(button->isEnabled(), qPrintable(button->objectName() + " is off"));
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // "新增[&A]" and the customer's name typed in.
    QString newOrder(const QString& customer = QStringLiteral("张三")) {
        click(window->SpeedButton2);
        typeInto(window->KHMC, customer);
        return window->Edit_id->text();
    }

    // The line's cell of a column opened for editing; the editor is returned.
    QLineEdit* openCell(int row, const char* column) {
        orders::OrderGrid* grid = window->DBGridEh1;
        grid->setFocus();
        const QModelIndex cell = model()->index(row, model()->modelColumn(QLatin1String(column)));
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        for (QLineEdit* editor : grid->viewport()->findChildren<QLineEdit*>())
            if (editor->isVisible())
                return editor;
        return nullptr;
    }
    // Types into a cell of the line and presses Enter, as the operator does.
    void typeIntoCell(int row, const char* column, const QString& text) {
        QLineEdit* editor = openCell(row, column);
        QVERIFY(editor);
        editor->selectAll();
        typeKeys(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();  // the view writes the cell after the key
    }
    // A new line by its product code typed into the grid.
    void addLineByCode(const QString& code) {
        window->DBNavigator1->click(masterdata::DBNavigator::Button::Insert);
        typeIntoCell(lines().recordCount() - 1, "SPBM", code);
    }
    // The quick-selection box: the text and Enter, as a barcode scanner sends it.
    void quickSelect(const QString& text) {
        window->TXMXZ->clear();
        typeInto(window->TXMXZ, text);
        QTest::keyClick(window->TXMXZ, Qt::Key_Return);
    }

    // --- reading

    QString line(int row, const char* column) { return lines().record(row).text(QLatin1String(column)); }
    QStringList lineCodes() {
        QStringList codes;
        for (int row = 0; row < lines().recordCount(); ++row)
            codes << line(row, "SPBM");
        return codes;
    }
    QString footer(const char* column) {
        return window->DBGridEh1->footerText(model()->modelColumn(QLatin1String(column)));
    }
    // A stored value, money with two places.
    QString stored(const QString& statement) {
        const QVariant value = program.scalar(statement);
        if (value.isNull())
            return QStringLiteral("null");
        if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong)
            return text::Decimal::fromDouble(value.toDouble()).toFixed(2);
        return value.toString();
    }
    QString header(const QString& column) {
        return stored(QStringLiteral("select %1 from xsd_zb where id='%2'").arg(column, window->Edit_id->text()));
    }
    // "KCSL/JCSL" of a product.
    QString stock(const QString& code) {
        return stored(QStringLiteral("select kcsl from bm_sp where bm='%1'").arg(code)) + QLatin1Char('/')
               + stored(QStringLiteral("select jcsl from bm_sp where bm='%1'").arg(code));
    }
    // Which of the six stage buttons are on, as "YY FYY sh fsh qx fqx" flags "101000".
    QString stageButtons() {
        QString flags;
        for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
                 window->BitBtn_YY, window->BitBtn_FYY, window->BitBtn_sh, window->BitBtn_fsh, window->BitBtn_qx,
                 window->BitBtn_fqx})
            flags += button->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return flags;
    }
};
