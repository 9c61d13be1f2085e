#include <QtTest>

class TestPrintouts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void placeholder() {}
};

QTEST_MAIN(TestPrintouts)
#include "test_printouts.moc"
