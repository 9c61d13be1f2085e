#include <QtTest>

class TestPrintDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void placeholder() {}
};

QTEST_MAIN(TestPrintDialog)
#include "test_print_dialog.moc"
