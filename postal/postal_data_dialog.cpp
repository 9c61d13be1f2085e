#include "postal/postal_data_dialog.h"

#include "entry/input_helpers.h"
#include "entry/picture_button.h"
#include "files/postal_codes.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/file_dialog.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "mainwindow/twips.h"
#include "mainwindow/wait_cursor.h"
#include "settings/app_settings.h"
#include "settings/settings_sections.h"
#include "settings/settings_store.h"

#include <QLabel>
#include <QLocale>

using namespace Qt::Literals::StringLiterals;

namespace {

// The window's outer size, frame and caption bar included.
constexpr int kWidth = 8220;    // twips
constexpr int kHeight = 4905;

// The heading is lettered on the background.
const TwipsPlace kLayout[] = {
    {u"lbl_使用中", 300, 900, 7680, 360},
    {u"lbl_内容", 300, 1320, 7680, 360},
    {u"lbl_説明", 300, 1740, 7680, 1200},
    {u"cmd_参照", 300, 3060, 2400, 450},
    {u"cmd_既定値", 2850, 3060, 2400, 450},
    {u"cmd_閉じる", 300, 3900, 1500, 450},
};

QString DateText(const QDate &date) { return date.isValid() ? u"%1年%2月%3日"_s.arg(date.year()).arg(date.month()).arg(date.day()) : u"不明"_s; }

} // namespace

PostalDataDialog *PostalDataDialog::Open(MainWindow &main, QWidget *owner)
{
    return ShowApplicationModal(new PostalDataDialog(main, owner));
}

PostalDataDialog::PostalDataDialog(MainWindow &main, QWidget *owner)
    : PictureDialog(owner,
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                        | Qt::MSWindowsFixedSizeDialogHint,
                    u":/postal/data_background.svg"_s),
      m_main(main)
{
    setObjectName(u"F_郵便番号データ"_s);
    setWindowTitle(u"郵便番号データ"_s);
    setFont(DesignFont(DialogFace, 10.5));
    setFixedSize(TwipsClientSize(kWidth, kHeight));

    m_source = new QLabel(this);
    m_source->setObjectName(u"lbl_使用中"_s);
    m_details = new QLabel(this);
    m_details->setObjectName(u"lbl_内容"_s);
    m_notice = new QLabel(this);
    m_notice->setObjectName(u"lbl_説明"_s);
    m_notice->setWordWrap(true);
    m_notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_notice->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *choose = addPictureButton(u"cmd_参照"_s, u":/postal/ken_all"_s, u"KEN_ALL.CSVを選ぶ"_s);
    choose->setToolTip(u"日本郵便の郵便番号データ（KEN_ALL.CSV）をダウンロードしたときに選びます。"_s);
    m_dictionary = addPictureButton(u"cmd_既定値"_s, u":/postal/dictionary"_s, u"標準の辞書に戻す"_s);
    auto *close = addPictureButton(u"cmd_閉じる"_s, u":/print/close"_s, u"閉じる"_s);
    placeControls(kLayout);
    connect(choose, &QPushButton::clicked, this, &PostalDataDialog::ChooseKenAll);
    connect(m_dictionary, &QPushButton::clicked, this, &PostalDataDialog::UseDictionary);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    showSource();
    close->setFocus();
}

void PostalDataDialog::showSource()
{
    PostalCodes &codes = m_main.postalCodes();
    if (!codes.isAvailable()) {
        m_source->setText(u"使用中のデータ：なし"_s);
        m_details->clear();
        m_notice->setText(PostalUnavailableText());
        m_dictionary->setActive(false);
        return;
    }
    const PostalSourceInfo *info = nullptr;
    {
        WaitCursor busy;
        info = &codes.info();
    }
    m_source->setText(u"使用中のデータ：%1"_s.arg(info->description));
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    m_details->setText(u"日付：%1　　郵便番号：%2件"_s.arg(DateText(info->date), japanese.toString(info->codeCount)));
    QStringList notes;
    if (!info->notice.isEmpty())
        notes << info->notice;
    if (info->kind == PostalSourceKind::KenAll)
        notes << u"ファイル：%1"_s.arg(codes.paths().kenAll);
    if (info->undecodableLines + info->skippedLines > 0)
        notes << u"読めなかった行：%1行"_s.arg(info->undecodableLines + info->skippedLines);
    m_notice->setText(notes.join(u'\n'));
    m_dictionary->setActive(!m_main.AppSettings().PostalDataFile.isEmpty());
}

bool PostalDataDialog::useSource(const QString &kenAll)
{
    PostalCodes &codes = m_main.postalCodes();
    codes.setPaths(PostalSourcePaths::Default(kenAll));
    bool read = true;
    {
        WaitCursor busy;
        read = kenAll.isEmpty() || codes.info().kind == PostalSourceKind::KenAll;
    }
    if (!read) {
        MessageBoxes::Show(this, codes.info().notice, MsgIcon::Exclamation);
        codes.setPaths(PostalSourcePaths::Default(m_main.AppSettings().PostalDataFile));
        return false;
    }
    SettingsRecord &settings = m_main.AppSettings();
    settings.PostalDataFile = kenAll;
    M_RegS::SavePostalDataFile(m_main.store(), settings);
    if (!m_main.store().sync())
        MessageBoxes::ReportError(this, u"設定を保存できませんでした。設定ファイル「%1」に書き込めません。"_s
                                            .arg(m_main.store().fileName()));
    return true;
}

void PostalDataDialog::ChooseKenAll()
{
    const QString path = FileDialogs::GetOpenFileName(this, u"KEN_ALL.CSV の選択"_s);
    if (path.isEmpty())
        return;
    useSource(path);
    showSource();
}

void PostalDataDialog::UseDictionary()
{
    if (m_main.AppSettings().PostalDataFile.isEmpty())
        return;
    useSource(QString());
    showSource();
}
