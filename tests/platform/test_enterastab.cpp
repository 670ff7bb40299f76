#include "ui/EnterAsTab.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <QtTest>

class TestEnterAsTab : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void enterMovesOnButMultiLineEditorsKeepIt() {
        QWidget form;
        auto* layout = new QVBoxLayout(&form);
        auto* first = new QLineEdit(&form);
        auto* second = new QLineEdit(&form);
        auto* memo = new QPlainTextEdit(&form);
        auto* last = new QLineEdit(&form);
        for (QWidget* w : std::initializer_list<QWidget*>{first, second, memo, last})
            layout->addWidget(w);
        ui::EnterAsTab::install(&form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        first->setFocus();
        QTest::keyClick(first, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), second);
        QTest::keyClick(second, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(QApplication::focusWidget(), memo);
        QTest::keyClicks(memo, "a");
        QTest::keyClick(memo, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), memo);
        QCOMPARE(memo->toPlainText(), QStringLiteral("a\n"));
    }

    void otherWindowsAreLeftAlone() {
        QWidget form;
        auto* inForm = new QLineEdit(&form);
        new QVBoxLayout(&form);
        form.layout()->addWidget(inForm);
        ui::EnterAsTab::install(&form);

        QWidget other;
        auto* layout = new QVBoxLayout(&other);
        auto* a = new QLineEdit(&other);
        auto* b = new QLineEdit(&other);
        layout->addWidget(a);
        layout->addWidget(b);
        bool returnPressed = false;
        connect(a, &QLineEdit::returnPressed, [&] { returnPressed = true; });
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        a->setFocus();
        QTest::keyClick(a, Qt::Key_Return);
        QVERIFY(returnPressed);
        QCOMPARE(QApplication::focusWidget(), a);
    }
};

QTEST_MAIN(TestEnterAsTab)
#include "test_enterastab.moc"
