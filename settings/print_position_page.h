#pragma once

#include <QWidget>
#include <array>

class PictureButton;
class UpDownControl;
struct SettingsRecord;

// The settings dialog's page "印刷位置の調整": for each printout, how far
// right and down everything it prints moves, from -10.0 to +10.0 mm in
// 0.1 mm steps.
class PrintPositionPage : public QWidget {
    Q_OBJECT
public:
    explicit PrintPositionPage(QWidget *parent = nullptr);

    void load(const SettingsRecord &settings);
    void store(SettingsRecord &settings) const;
    // Every adjustment back to 0 (the caller asks first).
    void restoreDefaults();

    // kind 1 to 4; vertical picks the down control, else the right one.
    UpDownControl *control(int kind, bool vertical) const;
    PictureButton *defaultsButton() const { return m_defaults; }

    // The tenths of a millimetre as the page shows them: "+1.5", "0.0", "-2.0".
    static QString MillimetreText(int tenths);

private:
    std::array<UpDownControl *, 4> m_right{};
    std::array<UpDownControl *, 4> m_down{};
    PictureButton *m_defaults = nullptr;
};
