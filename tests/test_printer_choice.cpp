#include <QtTest>

class TestPrinterChoice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void placeholder() {}
};

QTEST_MAIN(TestPrinterChoice)
#include "test_printer_choice.moc"
