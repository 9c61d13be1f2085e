#include <QTest>

class TestAboutBox : public QObject {
    Q_OBJECT
};

QTEST_MAIN(TestAboutBox)
#include "test_about_box.moc"
