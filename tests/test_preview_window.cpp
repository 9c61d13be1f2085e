#include <QtTest>

class TestPreviewWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void placeholder() {}
};

QTEST_MAIN(TestPreviewWindow)
#include "test_preview_window.moc"
