#pragma once

#include <QDialog>
#include <functional>

class PrintPositionPage;
struct SettingsRecord;

// F_Ichi: the print position adjustment of the four printouts, opened from
// the settings dialog's print page. 適用 hands the values to the caller,
// which saves them at once; 閉じる and Esc leave them as they were.
class PrintPositionDialog : public QDialog {
    Q_OBJECT
public:
    // True when the values were saved; the window then closes.
    using Apply = std::function<bool(const SettingsRecord &chosen)>;

    // Shows the dialog application-modal over owner.
    static PrintPositionDialog *Open(QWidget *owner, const SettingsRecord &settings, Apply apply);

    PrintPositionDialog(QWidget *owner, const SettingsRecord &settings, Apply apply);

    PrintPositionPage &page() const { return *m_page; }
    void Go();
    // 既定値に戻す: asks, then every adjustment back to 0.
    void RestoreDefaults();

private:
    PrintPositionPage *m_page = nullptr;
    Apply m_apply;
};
