#include "mainwindow/history_commands.h"

#include "mainwindow/main_window.h"
#include "mainwindow/wait_cursor.h"
#include "model/book_document.h"

#include <QAction>
#include <QUndoStack>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kUndo = u"元に戻す"_s;
const QString kRedo = u"やり直し"_s;
const QString kUntitled = u"ファイル名は「無題 」"_s;

// "元に戻す（削除）(&U)": the step's name in full-width brackets, the key last.
QString caption(const QString &command, const QString &stepName, QChar key)
{
    const QString named = stepName.isEmpty() ? command : command + u'（' + stepName + u'）';
    return named + u"(&"_s + key + u')';
}

} // namespace

HistoryCommands::HistoryCommands(MainWindow &main, QAction *undo, QAction *redo)
    : QObject(&main), m_main(main), m_undo(undo), m_redo(redo)
{
    setObjectName(u"HistoryCommands"_s);
    const QUndoStack &history = main.document().History();
    connect(&history, &QUndoStack::indexChanged, this, &HistoryCommands::showCaptions);
    connect(&history, &QUndoStack::cleanChanged, this, &HistoryCommands::showCaptions);
    connect(m_undo, &QAction::triggered, this, &HistoryCommands::Undo);
    connect(m_redo, &QAction::triggered, this, &HistoryCommands::Redo);
    showCaptions();
}

void HistoryCommands::Undo() { step(true); }
void HistoryCommands::Redo() { step(false); }

void HistoryCommands::step(bool back)
{
    // Not while another window holds the book (the print dialog), and a
    // rename in progress becomes a step of its own first.
    if (!m_main.isEnabled() || !m_main.commitListEdit())
        return;
    BookDocument &document = m_main.document();
    QUndoStack &history = document.History();
    if (back ? !history.canUndo() : !history.canRedo())
        return;
    const QString fileName = document.BookFileName();
    {
        WaitCursor wait;
        if (back)
            history.undo();
        else
            history.redo();
    }
    // Deleting the last entry forgets the file; taking that back brings it back.
    if (document.BookFileName() != fileName)
        m_main.setStatusText(document.BookFileName().isEmpty() ? kUntitled : document.BookFileName());
    m_main.focusList();
}

void HistoryCommands::showCaptions()
{
    const QUndoStack &history = m_main.document().History();
    m_undo->setEnabled(history.canUndo());
    m_undo->setText(caption(kUndo, history.canUndo() ? history.undoText() : QString(), u'U'));
    m_redo->setEnabled(history.canRedo());
    m_redo->setText(caption(kRedo, history.canRedo() ? history.redoText() : QString(), u'R'));
}
