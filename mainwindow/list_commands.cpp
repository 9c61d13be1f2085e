#include "mainwindow/list_commands.h"

#include "entry/entry_dialog.h"
#include "entry/input_helpers.h"
#include "entry/search_dialog.h"
#include "entry/sort_dialog.h"
#include "files/clipboard_record.h"
#include "mainwindow/address_list_model.h"
#include "mainwindow/address_list_view.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "mainwindow/url_opener.h"
#include "mainwindow/wait_cursor.h"
#include "model/app_error.h"
#include "model/app_state.h"
#include "model/book_document.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kUntitled = u"ファイル名は「無題 」"_s;

} // namespace

ListCommands::ListCommands(MainWindow &main) : QObject(&main), m_main(main)
{
    setObjectName(u"ListCommands"_s);
}

void ListCommands::clickIfEnabled(const QString &button)
{
    if (auto *b = m_main.findChild<QAbstractButton *>(button); b && b->isEnabled())
        b->click();
}

void ListCommands::EditCommand(int command)
{
    if (!m_main.commitListEdit())
        return;
    try {
        switch (command) {
        case 0:
        case 1:
        case 3:
        case 4:
            openEntryDialog(command == 0 ? 1 : command == 1 ? 2 : command);
            break;
        case 2:
            deleteSelected();
            break;
        default:
            break;
        }
    } catch (const AppError &e) {
        MessageBoxes::ReportError(&m_main, e.description());
    }
}

void ListCommands::openEntryDialog(int mode)
{
    QWidget *owner = &m_main;
    QString viewKey;
    if (mode == 3 || mode == 4) {
        // The entry picked in the print dialog; its item data is the key's number.
        QWidget *printDialog = m_main.findChild<QWidget *>(u"F_Print"_s);
        auto *list = printDialog ? printDialog->findChild<QListWidget *>(mode == 3 ? u"lst_対象者"_s : u"lst_印刷者"_s)
                                 : nullptr;
        const QListWidgetItem *item = list ? list->currentItem() : nullptr;
        if (!item || !item->isSelected())
            throw AppError(u"確認する項目が選択されていません。"_s);
        viewKey = u"s"_s + QString::number(item->data(Qt::UserRole).toInt());
        owner = printDialog;
    }
    m_main.state().EntryMode = qint16(mode);
    ShowApplicationModal(new EntryDialog(m_main, owner, viewKey));
}

void ListCommands::deleteSelected()
{
    BookDocument &document = m_main.document();
    AddressListView *list = m_main.listView();
    if (document.Count() == 0)
        return;
    // Nothing selected is reported before the question, not after it.
    if (list->currentRow() < 0)
        throw AppError(u"削除する項目が選択されていません。"_s);
    if (MessageBoxes::Show(&m_main, u"該当の項目を削除しますか？"_s, MsgIcon::Question, MsgButtons::YesNo,
                           MsgAnswer::Yes) != MsgAnswer::Yes)
        return;
    const int row = list->currentRow();
    BookDocument::Step step(document, u"削除"_s);
    document.RemoveRecord(row + 1);

    const int count = document.Count();
    if (count > 0) {
        m_main.focusList();
        // The entry that took the removed one's place, or the new last one.
        const int next = qMin(row, count - 1);
        list->setCurrentRow(next);
        document.MarkItem(next + 1, true);
    } else {
        document.SetChanged(false);
        document.SetBookFileName(QString());
        m_main.setStatusText(kUntitled);
    }
}

void ListCommands::ClipboardCommand(int command)
{
    if (!m_main.commitListEdit())
        return;
    try {
        switch (command) {
        case 0: cut(); break;
        case 1: copy(); break;
        case 2: paste(); break;
        default: break;
        }
    } catch (const AppError &e) {
        MessageBoxes::ReportError(&m_main, e.description());
    }
}

void ListCommands::cut()
{
    BookDocument &document = m_main.document();
    AddressListView *list = m_main.listView();
    const int row = list->currentRow();
    if (row < 0)
        throw AppError(u"切り取る項目が選択されていません。"_s);
    BookDocument::Step step(document, u"切り取り"_s);
    document.SetSkipUnmark(true);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(RecordClipboardText(document.Record(row + 1)));
    document.RemoveRecord(row + 1);
    m_main.setEnabledByName(u"mm_Copy(2)"_s, true);
    if (const int count = document.Count(); count > 0)
        list->setCurrentRow(qMin(row, count - 1));
}

void ListCommands::copy()
{
    BookDocument &document = m_main.document();
    const int row = m_main.listView()->currentRow();
    if (row < 0)
        throw AppError(u"コピーする項目が選択されていません。"_s);
    document.SetSkipUnmark(false);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(RecordClipboardText(document.Record(row + 1)));
    m_main.setEnabledByName(u"mm_Copy(2)"_s, true);
}

void ListCommands::paste()
{
    BookDocument &document = m_main.document();
    AddressListView *list = m_main.listView();
    document.SetSkipUnmark(false);
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty())
        return;

    // Everything that can fail comes before the list changes.
    document.ReleaseWorkRecord();
    Cls_住所 &pasted = document.WorkRecord();
    SetRecordFromClipboard(pasted, text);
    CheckRecordStorable(pasted);
    const bool hasRecords = document.Count() > 0;
    const int selected = list->currentRow();
    if (hasRecords && selected < 0)
        throw AppError(u"貼り付ける位置の項目が選択されていません。"_s);
    document.OpenBook().CheckRoomForOne();

    BookDocument::Step step(document, u"貼り付け"_s);
    if (hasRecords)
        document.SetMarked(document.MarkedIndex(), false);
    int before = -1;
    if (hasRecords) {
        before = selected + 1;   // in front of the selected entry
        document.SetMarkedIndex(before);
    } else {
        document.SetMarkedIndex(1);
    }
    const int position = document.AddRecord(pasted, before, document.NextRecordKey());
    document.MarkItem(position, false);
    list->setCurrentRow(position - 1);

    document.ReleaseWorkRecord();
    QGuiApplication::clipboard()->clear();
    m_main.setEnabledByName(u"mm_Copy(2)"_s, false);
}

void ListCommands::DropEntry(int sourceRow, int targetRow)
{
    AddressListModel *model = m_main.listModel();
    AddressListView *list = m_main.listView();
    try {
        if (targetRow < 0 || sourceRow < 0 || sourceRow >= model->rowCount() || targetRow >= model->rowCount()) {
            list->endDrag();
            return;
        }
        const QString sourceName = model->index(sourceRow, 0).data().toString();
        if (model->index(targetRow, 0).data().toString() == sourceName) {
            list->endDrag();
            return;
        }
        if (MessageBoxes::Show(&m_main, u"こちらへ移動しますか？"_s, MsgIcon::Question, MsgButtons::YesNo,
                               MsgAnswer::Yes) != MsgAnswer::Yes) {
            list->endDrag();
            list->setCurrentRow(sourceRow);
            return;
        }
        BookDocument::Step step(m_main.document(), u"移動"_s);
        MoveItem(sourceRow, targetRow);
    } catch (const AppError &e) {
        list->endDrag();
        MessageBoxes::ReportError(&m_main, e.description());
    }
}

void ListCommands::MoveItem(int sourceRow, int targetRow)
{
    BookDocument &document = m_main.document();
    AddressListView *list = m_main.listView();

    const int count = document.Count();
    if (sourceRow < 0 || sourceRow >= count || targetRow < 0 || targetRow >= count)
        throw AppError(u"移動する項目が見つかりません。"_s);
    const Cls_住所 values = document.Record(sourceRow + 1);
    // The original goes first and its copy, under a new key, lands in front
    // of the target: a move never changes the count, so a full book can
    // still be reordered. The insertion cannot fail once its place is known.
    const QString key = document.NextRecordKey();
    document.RemoveRecord(sourceRow + 1);
    const int before = targetRow > sourceRow ? targetRow : targetRow + 1;
    const int position = document.AddRecord(values, before, key);

    document.MarkItem(position, false);
    document.SetSkipUnmark(false);
    list->setCurrentRow(position - 1);
    list->endDrag();
}

bool ListCommands::ListKeyDown(QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const bool hasRecords = m_main.document().Count() > 0;
    switch (event->key()) {
    case Qt::Key_Delete:
        if (!hasRecords)
            return false;
        EditCommand(2);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!hasRecords)
            return false;
        EditCommand(0);
        return true;
    case Qt::Key_F1: clickIfEnabled(u"cmd_File(0)"_s); return true;
    case Qt::Key_F2: clickIfEnabled(u"cmd_File(1)"_s); return true;
    case Qt::Key_F3: clickIfEnabled(u"cmd_File(2)"_s); return true;
    case Qt::Key_F4: clickIfEnabled(u"cmd_File(3)"_s); return true;
    case Qt::Key_F5: clickIfEnabled(u"cmd_印刷"_s); return true;
    case Qt::Key_F6:
    case Qt::Key_F7:
    case Qt::Key_F8: {
        const int command = event->key() - Qt::Key_F6;
        if (m_main.isEnabledByName(u"cmd_修正(%1)"_s.arg(command)))
            EditCommand(command);
        return true;
    }
    case Qt::Key_F9:
        if (m_main.isEnabledByName(u"cmd_検索"_s))
            SearchDialog::Open(m_main, true);
        return true;
    case Qt::Key_F10:
        if (m_main.isEnabledByName(u"cmd_Mail"_s))
            SendMail();
        return true;
    case Qt::Key_F11: clickIfEnabled(u"cmd_Help"_s); return true;
    default:
        return false;
    }
}

void ListCommands::ListDoubleClick()
{
    if (m_main.document().Count() > 0)
        EditCommand(0);
}

void ListCommands::ShowPopupMenu(QPoint globalPos)
{
    if (auto *menu = m_main.findChild<QMenu *>(u"mm_編集"_s))
        menu->popup(globalPos);
}

void ListCommands::SendMail()
{
    if (!m_main.commitListEdit())
        return;
    const BookDocument &document = m_main.document();
    if (document.Count() == 0)
        return;
    try {
        const int row = m_main.listView()->currentRow();
        if (row < 0)
            throw AppError(u"メールを送る項目が選択されていません。"_s);
        const QString address = document.Record(row + 1).PMail;
        if (address.isEmpty()) {
            MessageBoxes::Show(&m_main, u"該当の方のメールアドレスは入力されていません。"_s, MsgIcon::Information);
            m_main.focusList();
            return;
        }
        // The whole address is the link's path: a "?" or "&" in it stays
        // part of the address instead of becoming a header such as attach=.
        QUrl url;
        url.setScheme(u"mailto"_s);
        url.setPath(address, QUrl::DecodedMode);
        bool opened = false;
        {
            WaitCursor busy;
            opened = url.isValid() && UrlOpener::Open(url);
        }
        if (!opened)
            throw AppError(u"メールソフトを起動できませんでした。宛先「%1」"_s.arg(address)
                           + u"\nメールソフトが設定されているか確認してください。"_s);
    } catch (const AppError &e) {
        MessageBoxes::ReportError(&m_main, e.description());
        m_main.focusList();
    }
}

void ListCommands::OpenSortDialog()
{
    if (!m_main.commitListEdit() || m_main.document().Count() == 0)
        return;
    SortDialog::Open(&m_main, m_main.state().LastSort, [this](SortOrder order) { SortBook(order); });
}

void ListCommands::SortBook(SortOrder order)
{
    m_main.state().LastSort = order;
    BookDocument &document = m_main.document();
    try {
        WaitCursor busy;
        std::vector<int> sorted = SortedOrder(document.OpenBook(), order);
        // A book already in this order is left unchanged.
        bool moved = false;
        for (size_t i = 0; i < sorted.size() && !moved; ++i)
            moved = sorted[i] != int(i);
        if (moved) {
            BookDocument::Step step(document, u"並べ替え"_s);
            document.ReorderRecords(sorted);
        }
        if (const int row = m_main.listView()->currentRow(); row >= 0)
            m_main.selectRow(row);   // brings it into view
    } catch (const AppError &e) {
        MessageBoxes::ReportError(&m_main, e.description());
    }
    m_main.focusList();
}
