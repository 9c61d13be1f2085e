#include "print/print_progress_window.h"

#include "entry/picture_button.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/progress_parts.h"
#include "mainwindow/twips.h"
#include "print/preview_window.h"
#include "print/print_dialog.h"
#include "print/print_run_state.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

using namespace Qt::Literals::StringLiterals;

namespace {

// The window's outer size, frame and caption bar included.
constexpr int kWidth = 7290;    // twips
constexpr int kHeight = 2925;

const TwipsPlace kLayout[] = {
    {u"lbl_Titol", 825, 280, 5640, 240},
    {u"lbl_印刷中", 1425, 900, 4365, 240},
    {u"lbl_Per(0)", 0, 1500, 690, 240},
    {u"pbr_進行", 750, 1425, 5340, 315},
    {u"lbl_Per(1)", 6150, 1500, 915, 240},
    {u"cmd_Cancel", 2475, 1875, 1965, 510},
};

} // namespace

PrintProgressWindow::PrintProgressWindow(PrintRunState &run, QWidget *owner)
    : PictureDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint,
                    u":/print/progress_background.svg"_s),
      m_run(run)
{
    setObjectName(u"F_PrintSy"_s);
    setFont(DesignFont(DialogFace, 9));
    setFixedSize(TwipsClientSize(kWidth, kHeight));

    m_title = MakeFormLabel(this, u"lbl_Titol"_s, QString(), Qt::AlignHCenter);
    m_status = MakeFormLabel(this, u"lbl_印刷中"_s, QString(), Qt::AlignHCenter);
    m_bar = MakePercentBar(this, u"pbr_進行"_s);

    m_cancel = new PictureButton(this);
    m_cancel->setObjectName(u"cmd_Cancel"_s);
    m_cancel->setPictures(u":/print/cancel.svg"_s, u":/print/cancel_hover.svg"_s);
    m_cancel->setCaption(u"処理の中止"_s);
    connect(m_cancel, &QPushButton::clicked, this, &PrintProgressWindow::Cancel);

    for (const TwipsPlace &p : kLayout) {
        if (auto *w = findChild<QWidget *>(QString::fromUtf16(p.name), Qt::FindDirectChildrenOnly))
            w->setGeometry(p.rect());
    }

    const QScreen *screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void PrintProgressWindow::Prepare(const QString &kindName, int mode, int entries)
{
    const bool preview = mode != 0;
    m_title->setText(u"【 "_s + kindName + u" 】 "_s + (preview ? u"をプレビュー中です..."_s : u"を印刷中です..."_s));
    m_status->setText(preview ? u"プレビュー準備中です..."_s : u"印刷準備中です..."_s);
    setWindowTitle(preview ? u"プレビュー中です..."_s : u"印刷中です..."_s);
    m_bar->setRange(0, entries + 2);
    m_bar->setValue(0);
}

void PrintProgressWindow::SetPreviewToCancel(PreviewWindow *preview) { m_preview = preview; }

void PrintProgressWindow::SetStatus(const QString &text)
{
    m_status->setText(text);
    m_status->repaint();
}

void PrintProgressWindow::SetValue(int value) { m_bar->setValue(value); }

void PrintProgressWindow::PumpEvents() { QCoreApplication::processEvents(); }

void PrintProgressWindow::Cancel()
{
    // A preview started from the print dialog is dropped with its pages;
    // one whose print button started the run keeps them.
    if (m_run.LastRunMode == 1 && m_run.RunFromDialog && m_preview) {
        m_preview->RemoveAddedPages();
        m_preview->close();
    }
    m_run.PrintCancelled = true;
    close();
}

void PrintProgressWindow::done(int result)
{
    QDialog::done(result);
    QWidget *owner = parentWidget();
    if (m_run.RunFromPreview) {
        if (owner) {
            owner->activateWindow();
            owner->setFocus();
        }
        return;
    }
    for (QWidget *w = owner; w; w = w->parentWidget()) {
        if (auto *dialog = qobject_cast<PrintDialog *>(w)) {
            dialog->setEnabled(true);
            dialog->activateWindow();
            return;
        }
    }
}

void PrintProgressWindow::closeEvent(QCloseEvent *event)
{
    // The window has no close box: a close from the window system would
    // hide it and leave the run without its cancel button.
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void PrintProgressWindow::keyPressEvent(QKeyEvent *event)
{
    // Only the cancel button stops a run; Esc would only hide the window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
