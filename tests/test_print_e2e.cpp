#include <QtTest>

class TestPrintE2e : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void placeholder() {}
};

QTEST_MAIN(TestPrintE2e)
#include "test_print_e2e.moc"
