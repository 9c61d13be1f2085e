#include "mainwindow/main_window.h"
#include "model/app_state.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensEmptyTitledWindow()
    {
        AppState state;
        MainWindow window(state);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.objectName(), u"F_Main"_s);
        QCOMPARE(window.windowTitle(), u"Yuzaribo(Ver1.0)"_s);
        QCOMPARE(state.OpenBook->Count(), 0);
        QVERIFY(state.BookFileName.isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
