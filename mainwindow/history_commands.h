#pragma once

#include <QObject>

class QAction;
class MainWindow;

// 元に戻す and やり直し: steps back and forward through the book's history.
// The two menu items carry the name of the step they would take and are
// enabled only while there is one.
class HistoryCommands : public QObject {
    Q_OBJECT
public:
    HistoryCommands(MainWindow &main, QAction *undo, QAction *redo);

    void Undo();
    void Redo();

private:
    void step(bool back);
    void showCaptions();

    MainWindow &m_main;
    QAction *m_undo;
    QAction *m_redo;
};
