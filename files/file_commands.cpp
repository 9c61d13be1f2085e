#include "files/file_commands.h"

#include "files/book_window.h"
#include "files/cp932_codec.h"
#include "files/csv_reader.h"
#include "files/csv_writer.h"
#include "mainwindow/file_dialog.h"
#include "mainwindow/flush_input.h"
#include "mainwindow/message_box.h"
#include "mainwindow/wait_cursor.h"
#include "model/app_error.h"
#include "model/book_document.h"
#include "settings/settings_sections.h"
#include "settings/settings_store.h"

#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kSaveTitle = u"ファイルの保存"_s;
const QString kSaveAsTitle = u"名前を付けて保存"_s;
const QString kOpenTitle = u"ファイルを開く"_s;
const QString kUntitledAfterFailure = u"ファイル名は「無題 」"_s;

} // namespace

FileCommands::FileCommands(BookDocument &document, BookWindow &window, SettingsRecord &settings,
                           SettingsStore &store)
    : m_document(document), m_window(window), m_settings(settings), m_store(store)
{
}

bool FileCommands::SaveBook()
{
    WaitCursor wait;
    m_window.setBusy(true);
    const int count = m_document.Count();
    m_window.showProgress(count);
    m_window.repaintNow();
    const QString path = m_document.BookFileName();
    try {
        // The whole file is made first and replaces the old one in one step,
        // so a failure leaves the old file as it was.
        const QByteArray bytes = EncodeBook(m_document.OpenBook());
        m_window.setProgress(count);
        WriteFileAtomically(path, bytes);
        m_stamp = BookFileStamp::Of(path, bytes);
    } catch (const AppError &e) {
        wait.release();
        m_window.hideProgress();
        m_window.setBusy(false);
        MessageBoxes::ReportError(m_window.dialogOwner(), e.description());
        return false;
    }
    FlushInput();
    wait.release();
    m_window.hideProgress();
    m_window.setBusy(false);
    m_window.repaintNow();
    return true;
}

void FileCommands::LoadBook(const QString &path)
{
    WaitCursor wait;
    m_window.setBusy(true);

    auto fail = [&](const QString &description) {
        wait.release();
        m_window.hideProgress();
        m_window.setBusy(false);
        MessageBoxes::ReportError(m_window.dialogOwner(), description);
        LoadFailed = true;
    };

    // First pass: the file and its header. A failure here changes nothing.
    // The bytes go as soon as they are decoded; their stamp stays.
    BookFileStamp stamp;
    DecodedText decoded;
    CsvHeader header;
    try {
        {
            const QByteArray bytes = ReadBookBytes(path);
            stamp = BookFileStamp::Of(path, bytes);
            decoded = DecodeCp932(bytes);
        }
        header = ReadCsvHeader(decoded.text);
    } catch (const AppError &e) {
        fail(e.description());
        return;
    }
    const bool counted = header.expectedCount >= 0;
    if (counted) {
        m_window.showProgress(header.expectedCount);
    } else {
        m_window.hideProgress();
        m_window.setStatusText(path + u"読み込み中..."_s);
    }

    // Second pass: the old book goes first, then the records are read.
    m_document.ReplaceBook(nullptr, 0);
    m_window.repaintNow();
    try {
        // Each visible step of the bar repaints it at once; a hundred steps
        // show the same progress as one per record at a fraction of the cost.
        const int step = std::max(1, header.expectedCount / 100);
        LoadedBook loaded = ReadCsvRecords(decoded.text, header, [&](int read) {
            if (counted && (read % step == 0 || read == header.expectedCount))
                m_window.setProgress(std::min(read, header.expectedCount));
        });
        m_document.ReplaceBook(std::move(loaded.book), loaded.keyCounter);
    } catch (const AppError &e) {
        fail(e.description());
        m_document.SetBookFileName(QString());
        m_window.setStatusText(kUntitledAfterFailure);
        m_document.ReplaceBook(nullptr, 0);
        return;
    }
    wait.release();
    FlushInput();
    // The remembered entry may lie beyond a shorter book; then the first
    // entry is marked, so that the selection, the marker and the enabled
    // commands agree.
    const int count = m_document.Count();
    if (m_document.MarkedIndex() < 1 || m_document.MarkedIndex() > count)
        m_document.SetMarkedIndex(1);
    if (count > 0) {
        m_document.MarkItem(m_document.MarkedIndex(), false);
        // The marked entry is the selected one, as the list selects the first
        // entry it is given: the record commands have an entry to work on.
        m_window.selectRow(m_document.MarkedIndex() - 1);
    }
    m_window.hideProgress();
    m_window.setBusy(false);
    m_window.repaintNow();
    m_document.SetBookFileName(path);
    m_stamp = stamp;
    LoadFailed = false;

    if (decoded.invalidSequences > 0) {
        // Bytes that are not Shift_JIS cannot come back as they were; say so
        // now rather than when a save refuses the replacement character.
        MessageBoxes::Show(m_window.dialogOwner(),
                           u"「%1」には Shift_JIS として読めない文字が %2 箇所ありました。\r\n"
                           "その箇所は「\uFFFD」で表示しています。保存する前に正しい文字に直してください。"_s
                               .arg(path)
                               .arg(decoded.invalidSequences),
                           MsgIcon::Exclamation);
    }
}

QString FileCommands::unsavedChangesText() const
{
    const QString &name = m_document.BookFileName();
    const QString label = name.isEmpty() ? u"「無題」"_s : u"「"_s + name + u"」"_s;
    return label + u" は保存されていません。\r\n\r\n保存しますか？"_s;
}

bool FileCommands::mayOverwriteOwnFile()
{
    const QString &name = m_document.BookFileName();
    if (name != m_stamp.path || !m_stamp.ChangedOnDisk())
        return true;
    // Another program's changes would be lost without a word.
    return MessageBoxes::Show(m_window.dialogOwner(),
                              u"「%1」 は、開いた後または保存した後に、ほかのプログラムで変更されています。\r\n"
                              "上書きすると、その変更は失われます。\r\n\r\n上書きして保存しますか？"_s.arg(name),
                              MsgIcon::Exclamation, MsgButtons::YesNo, MsgAnswer::No)
        == MsgAnswer::Yes;
}

bool FileCommands::saveForPrompt()
{
    if (!m_document.BookFileName().isEmpty())
        return mayOverwriteOwnFile() && SaveBook();
    const QString path = FileDialogs::GetSaveFileName(m_window.dialogOwner(), kSaveTitle);
    if (path.isEmpty())
        return false;
    m_document.SetBookFileName(path);
    if (SaveBook())
        return true;
    // The book still has no file of its own.
    m_document.SetBookFileName(QString());
    return false;
}

void FileCommands::discardBook()
{
    WaitCursor wait;
    m_window.setStatusText(u"リソースを開放中..."_s);
    m_window.repaintNow();
    m_document.ReleaseWorkRecord();
    m_document.ReplaceBook(nullptr);
    m_document.SetBookFileName(QString());
    m_document.SetChanged(false);
    m_document.SetMarkedIndex(1);
}

int FileCommands::ConfirmDiscard()
{
    if (!m_window.commitListEdit())
        return Cancelled;
    if (!m_document.BookChanged())
        return NothingToSave;
    const MsgAnswer answer = MessageBoxes::Show(m_window.dialogOwner(), unsavedChangesText(),
                                                MsgIcon::Exclamation, MsgButtons::YesNoCancel, MsgAnswer::Yes);
    switch (answer) {
    case MsgAnswer::Yes:
        if (!saveForPrompt())
            return Cancelled;
        discardBook();
        return SavedAndDiscarded;
    case MsgAnswer::No:
        discardBook();
        return Discarded;
    default:
        return Cancelled;
    }
}

bool FileCommands::ConfirmExit()
{
    if (!m_window.commitListEdit())
        return true;
    if (m_document.BookChanged()) {
        const MsgAnswer answer = MessageBoxes::Show(m_window.dialogOwner(), unsavedChangesText(),
                                                    MsgIcon::Exclamation, MsgButtons::YesNoCancel,
                                                    MsgAnswer::Yes);
        if (answer == MsgAnswer::Yes) {
            if (!saveForPrompt())
                return true;
        } else if (answer != MsgAnswer::No) {
            return true;
        }
    }
    WaitCursor wait;
    m_window.setStatusText(u"リソースを開放中..."_s);
    m_window.repaintNow();
    m_document.ReleaseWorkRecord();
    m_document.ReplaceBook(nullptr);
    M_RegS::SaveFileSection(m_store, m_settings);
    M_RegS::SaveIroSection(m_store, m_settings);
    M_RegS::SavePrintSection(m_store, m_settings);
    M_RegS::SaveKojinSection(m_store, m_settings);
    m_store.sync();
    return false;
}

void FileCommands::FileNew()
{
    if (ConfirmDiscard() == Cancelled)
        return;
    m_window.setBusy(true);
    {
        WaitCursor wait;
        m_window.hideProgress();
        m_window.setStatusText(u"リソース開放中..."_s);
        m_window.repaintNow();
        m_document.ReleaseWorkRecord();
        m_document.ReplaceBook(nullptr);
    }
    m_document.SetChanged(false);
    FlushInput();
    m_window.setBusy(false);
    m_document.SetMarkedIndex(1);
    m_document.SetBookFileName(QString());
    m_stamp = {};
    m_window.setStatusText(u"ファイル名は「無題」です"_s);
    m_window.focusList();
}

void FileCommands::afterOpen()
{
    m_window.AddRecentFile(m_document.BookFileName());
    m_document.MarkSaved();
    FlushInput();
    m_window.setBusy(false);
    m_window.setStatusText(m_document.BookFileName());
}

void FileCommands::FileOpen()
{
    if (ConfirmDiscard() == Cancelled)
        return;
    const QString path = FileDialogs::GetOpenFileName(m_window.dialogOwner(), kOpenTitle);
    if (!path.isEmpty()) {
        m_window.setBusy(true);
        LoadBook(path);
        if (!LoadFailed) {
            afterOpen();
            m_window.focusList();
            return;
        }
    }
    m_window.setBusy(false);
    m_window.focusList();
}

void FileCommands::fileSaveWithTitle(bool alwaysAsk, const QString &title)
{
    if (!m_window.commitListEdit())
        return;
    const QString previousName = m_document.BookFileName();
    if (alwaysAsk || previousName.isEmpty()) {
        const QString path = FileDialogs::GetSaveFileName(m_window.dialogOwner(), title);
        if (path.isEmpty()) {
            m_window.setBusy(false);
            return;
        }
        m_document.SetBookFileName(path);
    } else if (!mayOverwriteOwnFile()) {
        return;
    }
    m_window.setBusy(true);
    if (!SaveBook()) {
        // The book stays with the file it came from; the next Save must not
        // go silently to a name whose save just failed.
        m_document.SetBookFileName(previousName);
        m_window.setBusy(false);
        return;
    }
    m_window.AddRecentFile(m_document.BookFileName());
    m_document.MarkSaved();
    FlushInput();
    m_window.setBusy(false);
    m_window.setStatusText(m_document.BookFileName());
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
    m_window.AddRecentFile(m_document.BookFileName());
    m_document.MarkSaved();
    m_window.setStatusText(m_document.BookFileName());
}

void FileCommands::OpenRecentFile(const QString &path)
{
    if (ConfirmDiscard() == Cancelled)
        return;
    m_window.setBusy(true);
    LoadBook(path);
    if (!LoadFailed)
        afterOpen();
    m_window.setBusy(false);
    m_window.focusList();
}
