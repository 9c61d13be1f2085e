#include "postal/postal_check_window.h"

#include "files/postal_codes.h"
#include "entry/picture_button.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/list_commands.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "mainwindow/twips.h"
#include "mainwindow/wait_cursor.h"
#include "model/address_book.h"
#include "model/book_document.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QTableWidget>

using namespace Qt::Literals::StringLiterals;

namespace {

// The window's outer size, frame and caption bar included.
constexpr int kWidth = 13620;    // twips
constexpr int kHeight = 7905;

// The heading is lettered on the background.
const TwipsPlace kLayout[] = {
    {u"lbl_結果", 210, 840, 13080, 480},
    {u"lst_結果", 210, 1380, 13080, 5370},
    {u"cmd_閉じる", 210, 6900, 1500, 450},
};

// Entries checked between two looks at the cancel button.
constexpr int kCheckBatch = 1024;

} // namespace

PostalCheckWindow::PostalCheckWindow(MainWindow &main, const QList<PostalProblem> &problems, int checked)
    : PictureDialog(&main,
                    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                        | Qt::WindowMinimizeButtonHint,
                    u":/postal/check_background.svg"_s),
      m_main(main), m_problems(problems)
{
    setObjectName(u"F_郵便番号チェック"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"郵便番号のチェック"_s);
    setFont(DesignFont(DialogFace, 10.5));
    setFixedSize(TwipsClientSize(kWidth, kHeight));

    auto *summary = new QLabel(u"%1件をチェックし、%2件に問題が見つかりました。行をダブルクリックすると、"
                               u"その項目を修正できます。"_s.arg(checked).arg(problems.size()),
                               this);
    summary->setObjectName(u"lbl_結果"_s);
    summary->setWordWrap(true);

    m_table = new QTableWidget(int(problems.size()), 5, this);
    m_table->setObjectName(u"lst_結果"_s);
    m_table->setHorizontalHeaderLabels({u"番号"_s, u"氏名"_s, u"〒"_s, u"住所1"_s, u"内容"_s});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 6);
    m_table->setWordWrap(false);
    for (int r = 0; r < problems.size(); ++r) {
        const PostalProblem &p = problems[r];
        auto *number = new QTableWidgetItem(QString::number(p.number));
        number->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(r, 0, number);
        m_table->setItem(r, 1, new QTableWidgetItem(p.name));
        m_table->setItem(r, 2, new QTableWidgetItem(p.yubin));
        m_table->setItem(r, 3, new QTableWidgetItem(p.address1));
        m_table->setItem(r, 4, new QTableWidgetItem(p.problem));
    }
    const int widths[] = {60, 150, 90, 300};
    for (int c = 0; c < 4; ++c)
        m_table->setColumnWidth(c, widths[c]);
    m_table->horizontalHeader()->setStretchLastSection(true);

    auto *close = addPictureButton(u"cmd_閉じる"_s, u":/print/close"_s, u"閉じる"_s);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { OpenEntry(row); });

    placeControls(kLayout);
}

void PostalCheckWindow::OpenEntry(int row)
{
    if (row < 0 || row >= m_problems.size())
        return;
    const int position = m_main.document().OpenBook().PositionOf(m_problems[row].key);
    if (position <= 0) {
        MessageBoxes::Show(this, u"この項目は、もう住所録にありません。"_s, MsgIcon::Information);
        return;
    }
    m_main.activateWindow();
    m_main.selectRow(position - 1);
    m_main.listCommands().EditCommand(0);
}

void CheckBookPostalCodes(MainWindow &main)
{
    if (!main.commitListEdit())
        return;
    PostalCodes &codes = main.postalCodes();
    if (!codes.isAvailable()) {
        MessageBoxes::Show(&main, PostalUnavailableText(), MsgIcon::Information);
        return;
    }
    const Cls_管理 &book = main.document().OpenBook();
    if (book.Count() == 0) {
        MessageBoxes::Show(&main, u"チェックする項目がありません。"_s, MsgIcon::Information);
        return;
    }
    {
        WaitCursor busy;
        codes.table();
    }
    if (codes.table().isEmpty()) {
        MessageBoxes::Show(&main, codes.info().notice, MsgIcon::Exclamation);
        return;
    }

    QProgressDialog progress(u"郵便番号をチェックしています..."_s, u"中止"_s, 0, book.Count(), &main);
    progress.setObjectName(u"F_チェック中"_s);
    progress.setWindowTitle(u"郵便番号のチェック"_s);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);

    QList<PostalProblem> problems;
    int number = 0;
    for (const auto &record : book) {
        if (number % kCheckBatch == 0) {
            progress.setValue(number);
            QApplication::processEvents();
            if (progress.wasCanceled())
                return;
        }
        ++number;
        const PostalCheckResult result = codes.Check(record->PYubin, record->PJu1);
        // An entry without any address (a telephone friend) is not a fault.
        const bool noAddress = result == PostalCheckResult::NoCode && record->PJu1.trimmed().isEmpty();
        if (result != PostalCheckResult::Ok && !noAddress)
            problems.append({record->PSkey, number, record->PName, record->PYubin, record->PJu1,
                             PostalCheckDescription(result)});
    }
    progress.setValue(book.Count());
    if (problems.isEmpty()) {
        MessageBoxes::Show(&main, u"%1件をチェックしました。問題は見つかりませんでした。"_s.arg(number),
                           MsgIcon::Information);
        return;
    }
    for (auto *old : main.findChildren<PostalCheckWindow *>())
        old->close();
    auto *window = new PostalCheckWindow(main, problems, number);
    window->show();
    window->activateWindow();
}
