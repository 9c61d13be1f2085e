#include "files/file_commands.h"

#include "files/cp932_codec.h"
#include "files/csv_reader.h"
#include "files/csv_writer.h"
#include "files/recent_files.h"
#include "mainwindow/address_list_model.h"
#include "mainwindow/address_list_view.h"
#include "mainwindow/file_dialog.h"
#include "mainwindow/flush_input.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "mainwindow/wait_cursor.h"
#include "model/app_error.h"
#include "model/app_state.h"
#include "settings/settings_sections.h"
#include "settings/settings_store.h"

#include <QApplication>
#include <QFileInfo>
#include <QProgressBar>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kSaveTitle = u"ファイルの保存"_s;
const QString kSaveAsTitle = u"名前を付けて保存"_s;
const QString kOpenTitle = u"ファイルを開く"_s;

} // namespace

FileCommands::FileCommands(MainWindow &window) : m_window(window) {}

bool FileCommands::SaveBook()
{
    AppState &state = m_window.state();
    QProgressBar *bar = m_window.progressBar();
    WaitCursor wait;
    m_window.setEnabled(false);
    const int count = state.OpenBook->Count();
    bar->setRange(0, count);
    bar->setValue(0);
    bar->show();
    m_window.repaint();
    try {
        // The whole file is made first and replaces the old one in one step,
        // so a failure leaves the old file as it was.
        const QByteArray bytes = EncodeBook(*state.OpenBook);
        bar->setValue(count);
        WriteFileAtomically(state.BookFileName, bytes);
    } catch (const AppError &e) {
        wait.release();
        bar->hide();
        m_window.setEnabled(true);
        MessageBoxes::ReportError(&m_window, e.description());
        return false;
    }
    FlushInput();
    wait.release();
    bar->hide();
    m_window.setEnabled(true);
    m_window.repaint();
    return true;
}

void FileCommands::LoadBook(const QString &path)
{
    AppState &state = m_window.state();
    QProgressBar *bar = m_window.progressBar();
    WaitCursor wait;
    m_window.setEnabled(false);

    auto fail = [&](const QString &description) {
        wait.release();
        bar->hide();
        m_window.setEnabled(true);
        MessageBoxes::ReportError(&m_window, description);
        LoadFailed = true;
    };

    // First pass: the file and its header. A failure here changes nothing.
    DecodedText decoded;
    CsvHeader header;
    try {
        decoded = DecodeCp932(ReadBookBytes(path));
        header = ReadCsvHeader(decoded.text);
    } catch (const AppError &e) {
        fail(e.description());
        return;
    }
    const bool counted = header.expectedCount >= 0;
    if (counted) {
        bar->setRange(0, header.expectedCount);
        bar->setValue(0);
        bar->show();
    } else {
        bar->hide();
        m_window.setStatusText(path + u"読み込み中..."_s);
    }

    // Second pass: the old book goes first, then the records are read.
    state.OpenBook = std::make_unique<Cls_管理>();
    m_window.listModel()->bookReplaced();
    state.KeyCounter = 0;
    m_window.setCountText(u"0件"_s);
    m_window.repaint();
    try {
        // Each visible step of the bar repaints it at once; a hundred steps
        // show the same progress as one per record at a fraction of the cost.
        const int step = std::max(1, header.expectedCount / 100);
        LoadedBook loaded = ReadCsvRecords(decoded.text, header, [&](int read) {
            if (counted && (read % step == 0 || read == header.expectedCount))
                bar->setValue(std::min(read, header.expectedCount));
        });
        state.OpenBook = std::move(loaded.book);
        state.KeyCounter = loaded.keyCounter;
        m_window.listModel()->bookReplaced();
    } catch (const AppError &e) {
        fail(e.description());
        state.BookFileName.clear();
        m_window.setStatusText(u"ファイル名は「無題 」"_s);
        state.OpenBook = std::make_unique<Cls_管理>();
        state.KeyCounter = 0;
        m_window.listModel()->bookReplaced();
        m_window.UpdateCommandState(*state.OpenBook);
        return;
    }
    wait.release();
    FlushInput();
    if (state.MarkedIndex >= 1 && state.MarkedIndex <= state.OpenBook->Count()) {
        m_window.listModel()->MarkItem(state.MarkedIndex - 1, false);
        // The marked entry is the selected one, as the list selects the first
        // entry it is given: the record commands have an entry to work on.
        m_window.listView()->setCurrentRow(state.MarkedIndex - 1);
    }
    bar->hide();
    m_window.setEnabled(true);
    m_window.repaint();
    state.BookFileName = path;
    LoadFailed = false;

    if (decoded.invalidSequences > 0) {
        // Bytes that are not Shift_JIS cannot come back as they were; say so
        // now rather than when a save refuses the replacement character.
        MessageBoxes::Show(&m_window,
                           u"「%1」には Shift_JIS として読めない文字が %2 箇所ありました。\r\n"
                           "その箇所は「\uFFFD」で表示しています。保存する前に正しい文字に直してください。"_s
                               .arg(path)
                               .arg(decoded.invalidSequences),
                           MsgIcon::Exclamation);
    }
}

QString FileCommands::unsavedChangesText() const
{
    const QString &name = m_window.state().BookFileName;
    const QString label = name.isEmpty() ? u"「無題」"_s : u"「"_s + name + u"」"_s;
    return label + u" は保存されていません。\r\n\r\n保存しますか？"_s;
}

bool FileCommands::saveForPrompt()
{
    AppState &state = m_window.state();
    if (!state.BookFileName.isEmpty())
        return SaveBook();
    const QString path = FileDialogs::GetSaveFileName(&m_window, kSaveTitle);
    if (path.isEmpty())
        return false;
    state.BookFileName = path;
    if (SaveBook())
        return true;
    // The book still has no file of its own.
    state.BookFileName.clear();
    return false;
}

void FileCommands::discardBook()
{
    AppState &state = m_window.state();
    WaitCursor wait;
    m_window.setStatusText(u"リソースを開放中..."_s);
    m_window.setCountText(QString());
    m_window.repaint();
    state.WorkRecord.reset();
    state.OpenBook = std::make_unique<Cls_管理>();
    state.BookFileName.clear();
    m_window.SetChanged(false);
    m_window.UpdateCommandState(*state.OpenBook);
    m_window.listModel()->bookReplaced();
    m_window.listView()->repaint();
    state.MarkedIndex = 1;
}

int FileCommands::ConfirmDiscard()
{
    if (!m_window.commitListEdit())
        return Cancelled;
    if (!m_window.state().BookChanged)
        return NothingToSave;
    const MsgAnswer answer = MessageBoxes::Show(&m_window, unsavedChangesText(), MsgIcon::Exclamation,
                                                MsgButtons::YesNoCancel, MsgAnswer::Yes);
    switch (answer) {
    case MsgAnswer::Yes:
        if (!saveForPrompt())
            return Cancelled;
        discardBook();
        return SavedAndDiscarded;
    case MsgAnswer::No:
        discardBook();
        m_window.setCountText(u"0件"_s);
        return Discarded;
    default:
        return Cancelled;
    }
}

bool FileCommands::ConfirmExit()
{
    if (!m_window.commitListEdit())
        return true;
    AppState &state = m_window.state();
    if (state.BookChanged) {
        const MsgAnswer answer = MessageBoxes::Show(&m_window, unsavedChangesText(), MsgIcon::Exclamation,
                                                    MsgButtons::YesNoCancel, MsgAnswer::Yes);
        if (answer == MsgAnswer::Yes) {
            if (!saveForPrompt())
                return true;
        } else if (answer == MsgAnswer::No) {
            m_window.setCountText(u"0件"_s);
        } else {
            return true;
        }
    }
    WaitCursor wait;
    m_window.setStatusText(u"リソースを開放中..."_s);
    m_window.repaint();
    state.WorkRecord.reset();
    state.OpenBook = std::make_unique<Cls_管理>();
    m_window.listModel()->bookReplaced();
    SettingsStore &store = m_window.store();
    M_RegS::SaveFileSection(store, state.AppSettings);
    M_RegS::SaveIroSection(store, state.AppSettings);
    M_RegS::SavePrintSection(store, state.AppSettings);
    M_RegS::SaveKojinSection(store, state.AppSettings);
    store.sync();
    return false;
}

void FileCommands::FileNew()
{
    if (ConfirmDiscard() == Cancelled)
        return;
    AppState &state = m_window.state();
    m_window.setEnabled(false);
    {
        WaitCursor wait;
        m_window.progressBar()->hide();
        m_window.setStatusText(u"リソース開放中..."_s);
        m_window.repaint();
        state.OpenBook = std::make_unique<Cls_管理>();
        m_window.listModel()->bookReplaced();
        state.WorkRecord.reset();
    }
    state.WorkRecord = std::make_unique<Cls_住所>();
    m_window.UpdateCommandState(*state.OpenBook);
    m_window.showRecordCount();
    m_window.SetChanged(false);
    FlushInput();
    m_window.setEnabled(true);
    state.MarkedIndex = 1;
    state.BookFileName.clear();
    m_window.setStatusText(u"ファイル名は「無題」です"_s);
    m_window.focusList();
}

void FileCommands::afterOpen()
{
    AppState &state = m_window.state();
    m_window.recentFiles().AddRecentFile(state.BookFileName);
    m_window.UpdateCommandState(*state.OpenBook);
    m_window.showRecordCount();
    m_window.SetChanged(false);
    FlushInput();
    m_window.setEnabled(true);
    m_window.setStatusText(state.BookFileName);
}

void FileCommands::FileOpen()
{
    if (ConfirmDiscard() == Cancelled)
        return;
    const QString path = FileDialogs::GetOpenFileName(&m_window, kOpenTitle);
    if (!path.isEmpty()) {
        m_window.setEnabled(false);
        LoadBook(path);
        if (!LoadFailed) {
            afterOpen();
            m_window.focusList();
            return;
        }
    }
    m_window.setEnabled(true);
    m_window.focusList();
}

void FileCommands::fileSaveWithTitle(bool alwaysAsk, const QString &title)
{
    if (!m_window.commitListEdit())
        return;
    AppState &state = m_window.state();
    const QString previousName = state.BookFileName;
    if (alwaysAsk || state.BookFileName.isEmpty()) {
        const QString path = FileDialogs::GetSaveFileName(&m_window, title);
        if (path.isEmpty()) {
            m_window.setEnabled(true);
            return;
        }
        state.BookFileName = path;
    }
    m_window.setEnabled(false);
    if (!SaveBook()) {
        // The book stays with the file it came from; the next Save must not
        // go silently to a name whose save just failed.
        state.BookFileName = previousName;
        m_window.setEnabled(true);
        return;
    }
    m_window.recentFiles().AddRecentFile(state.BookFileName);
    m_window.SetChanged(false);
    FlushInput();
    m_window.setEnabled(true);
    m_window.setStatusText(state.BookFileName);
    m_window.focusList();
}

void FileCommands::FileSave() { fileSaveWithTitle(false, kSaveTitle); }
void FileCommands::FileSaveAs() { fileSaveWithTitle(true, kSaveAsTitle); }

void FileCommands::OpenCommandLineFile(const QString &argumentText)
{
    if (argumentText.isEmpty() || argumentText.right(3).toLower() != u"csv"_s)
        return;
    // A relative name is the one the user typed in the shell's folder; the
    // recent-files list must find it again from anywhere.
    const QString path = QFileInfo(argumentText).isRelative()
                             ? QFileInfo(argumentText).absoluteFilePath()
                             : argumentText;
    LoadBook(path);
    if (LoadFailed)
        return;
    AppState &state = m_window.state();
    m_window.recentFiles().AddRecentFile(state.BookFileName);
    m_window.UpdateCommandState(*state.OpenBook);
    m_window.showRecordCount();
    m_window.SetChanged(false);
    m_window.setStatusText(state.BookFileName);
}

void FileCommands::OpenRecentFile(int i)
{
    if (ConfirmDiscard() == Cancelled)
        return;
    m_window.setEnabled(false);
    LoadBook(m_window.recentFiles().entryPath(i));
    if (!LoadFailed)
        afterOpen();
    m_window.setEnabled(true);
    m_window.focusList();
}
