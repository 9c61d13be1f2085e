#pragma once

#include <QDialog>

class PictureButton;
class QProgressBar;
struct AppState;

// Makes the settings windows' button pictures available; safe to call again.
void InitSettingsArtwork();

// F_KankyoKD: shown while the settings dialog prepares its font lists; its
// one button asks the preparation to stop at its next font.
class SettingsProgressWindow : public QDialog {
    Q_OBJECT
public:
    SettingsProgressWindow(AppState &state, QWidget *owner);

    QProgressBar *bar() const { return m_bar; }

    // The cancel button's action: the preparation notices it at its next step.
    void Cancel();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    AppState &m_state;
    QProgressBar *m_bar = nullptr;      // PrgBar1
    PictureButton *m_cancel = nullptr;  // cmd_キャンセル
};
