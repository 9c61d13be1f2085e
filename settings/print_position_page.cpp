#include "settings/print_position_page.h"

#include "entry/picture_button.h"
#include "print/printout_kinds.h"
#include "settings/app_settings.h"
#include "settings/settings_controls.h"
#include "settings/settings_dialog.h"

#include <QLabel>

using namespace Qt::Literals::StringLiterals;
using namespace SettingsControls;

namespace {

constexpr int kRowTop = 1425, kRowPitch = 480;
constexpr int kNumberWidth = 990, kControlWidth = 255, kControlHeight = 315;
constexpr int kRightLeft = 2250, kDownLeft = 3975;

const TwipsPlace kExplanation = {u"lbl_位置説明", 300, 225, 5500, 720};
const TwipsPlace kRightHeading = {u"lbl_横見出し", kRightLeft, 1080, 1600, 255};
const TwipsPlace kDownHeading = {u"lbl_縦見出し", kDownLeft, 1080, 1600, 255};
const TwipsPlace kPostcardNote = {u"lbl_はがき注", 300, 3375, 3850, 480};
const TwipsPlace kDefaults = {u"cmd_既定値2", 4275, 3375, 1515, 500};

} // namespace

QString PrintPositionPage::MillimetreText(int tenths)
{
    const QString digits = QString::number(std::abs(tenths) / 10.0, 'f', 1);
    return tenths > 0 ? u'+' + digits : tenths < 0 ? u'-' + digits : digits;
}

PrintPositionPage::PrintPositionPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(u"Pic_位置"_s);
    QLabel *explanation = makeLabel(this, kExplanation,
                                    u"印刷が用紙からずれるときに、印刷する位置をずらす量を0.1mm単位で指定します。"
                                    u"右と下が＋、左と上が－で、±10.0mmまでです。"
                                    u"印刷画面の「位置合わせ印刷」で確かめられます。"_s);
    explanation->setWordWrap(true);
    makeLabel(this, kRightHeading, u"横（右へ）mm"_s);
    makeLabel(this, kDownHeading, u"縦（下へ）mm"_s);

    for (int i = 0; i < 4; ++i) {
        const int top = kRowTop + kRowPitch * i;
        const QString caption = FindPrintoutKind(i + 1)->optionLabel;
        makeLabel(this, {u"lbl_位置", 300, top + 30, 1800, 255}, caption)->setObjectName(u"lbl_位置(%1)"_s.arg(i));
        for (const bool down : {false, true}) {
            const int left = down ? kDownLeft : kRightLeft;
            const QString axis = down ? u"縦"_s : u"横"_s;
            QLabel *number = makeNumberLabel(this, {u"lbl_", left, top, kNumberWidth, kControlHeight});
            number->setObjectName(u"lbl_%1(%2)"_s.arg(axis).arg(i));
            auto *control = new UpDownControl(this);
            control->setObjectName(u"Upd_%1(%2)"_s.arg(axis).arg(i));
            control->setGeometry(TwipsRect(left + kNumberWidth, top, kControlWidth, kControlHeight));
            control->setRange(-PrintOffsetLimit, PrintOffsetLimit);
            control->setValueText(&PrintPositionPage::MillimetreText);
            control->setBuddy(number);
            control->setAccessibleName(caption + axis);
            (down ? m_down : m_right)[size_t(i)] = control;
        }
    }
    QLabel *note = makeLabel(this, kPostcardNote,
                             u"はがき表の縦は、「印刷のフォント指定」の縦位置の調整(mm)に加わります。"_s);
    note->setWordWrap(true);
    m_defaults = makeButton(this, kDefaults, DefaultsPictures, u"既定値に戻す"_s);
}

void PrintPositionPage::load(const SettingsRecord &settings)
{
    for (size_t i = 0; i < 4; ++i) {
        m_right[i]->setValue(settings.PrintOffsetX[i]);
        m_down[i]->setValue(settings.PrintOffsetY[i]);
    }
}

void PrintPositionPage::store(SettingsRecord &settings) const
{
    for (size_t i = 0; i < 4; ++i) {
        settings.PrintOffsetX[i] = qint16(m_right[i]->value());
        settings.PrintOffsetY[i] = qint16(m_down[i]->value());
    }
}

void PrintPositionPage::restoreDefaults()
{
    for (size_t i = 0; i < 4; ++i) {
        m_right[i]->setValue(0);
        m_down[i]->setValue(0);
    }
}

UpDownControl *PrintPositionPage::control(int kind, bool vertical) const
{
    if (kind < 1 || kind > 4)
        return nullptr;
    return (vertical ? m_down : m_right)[size_t(kind - 1)];
}
