#include <QTest>

class TestSettingsDialog : public QObject {
    Q_OBJECT
};

QTEST_MAIN(TestSettingsDialog)
#include "test_settings_dialog.moc"
