#pragma once

#include <QCursor>
#include <QPersistentModelIndex>
#include <QPoint>
#include <QStackedWidget>
#include <functional>

class QAbstractItemView;
class QDrag;
class QKeyEvent;
class QLineEdit;
class QTimer;
class QItemSelectionModel;
class QListView;
class QTreeView;
class AddressListModel;

// ListView1: one list in four view modes over one model and one selection.
// The report (mode 3) is a tree view with the seven columns; large icons,
// small icons and the name list (modes 0 to 2) are a list view.
class AddressListView : public QStackedWidget {
    Q_OBJECT
public:
    enum Mode { LargeIcons = 0, SmallIcons = 1, List = 2, Report = 3 };

    explicit AddressListView(QWidget *parent = nullptr);

    void setListModel(AddressListModel *model);
    AddressListModel *listModel() const { return m_model; }
    QItemSelectionModel *selectionModel() const;

    // The columns' widths in twips follow the screen width: a screen 12000
    // twips wide gets the narrow set.
    void SetupColumns(int screenWidthTwips);

    int viewMode() const { return m_mode; }
    void setViewMode(int mode);

    // The view that shows the current mode.
    QAbstractItemView *currentView() const;
    QTreeView *reportView() const { return m_report; }
    QListView *iconView() const { return m_icons; }

    // The selected entry's row, or -1.
    int currentRow() const;
    // Selects and shows a row without counting as the user's pick.
    void setCurrentRow(int row);

    // Stores the text of an open name editor and closes it. False when the
    // name cannot be stored: the user is told and the editor stays open.
    bool commitEdit();
    // The rename editor, when one is open.
    QLineEdit *openEditor() const;
    // Whether the name in the editor may be stored; if not, says why and
    // gives the editor the focus back.
    bool acceptRename(QLineEdit *editor);
    // True while the refusal message is shown.
    bool refusingRename() const { return m_refusingRename; }

    void setListColours(const QColor &background, const QColor &text);
    void setListFont(const QFont &font);

    // Keys pressed in the list go here first; true means the key was used.
    void setKeyHandler(std::function<bool(QKeyEvent *)> handler) { m_keyHandler = std::move(handler); }

    // Moving an entry by drag and drop. The drag starts from the entry under
    // the pointer when the left button went down (DragSource), and only when
    // the book holds more than one entry.
    void setDragCursors(const QCursor &refused, const QCursor &accepted);
    int dragSourceRow() const;
    bool isDragging() const { return m_dragging; }
    // The entry a drop would land on, highlighted, or -1.
    int dropHighlightRow() const;
    void clearDropHighlight();
    // What the list does while a drag rests or moves over a point of the
    // current view: highlight the entry there and scroll one entry on when
    // it is the first or the last visible one. False when no entry is there.
    bool dragOverAt(QPoint viewportPos);
    // Ends the drag state after a drop was handled.
    void endDrag();

Q_SIGNALS:
    // The user picked an entry with the mouse or the keyboard.
    void itemClicked(int row);
    // A double click anywhere in the list.
    void doubleClicked();
    // The right button went down in the list.
    void contextMenuRequested(QPoint globalPos);
    void dragStarted();
    // The dragged entry was dropped on the list; targetRow is the
    // highlighted entry or -1.
    void dropRequested(int sourceRow, int targetRow);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectView(QAbstractItemView *view);
    bool viewportEvent(QAbstractItemView *view, QEvent *event);
    void startDrag();
    // True while the name editor of the view has the focus.
    static bool renaming(const QAbstractItemView *view);

    AddressListModel *m_model = nullptr;
    QTreeView *m_report;
    QListView *m_icons;
    int m_mode = Report;
    // True while the views handle a key or mouse press: only then is a new
    // current entry the user's pick (focus and loading move it too).
    bool m_userInput = false;
    bool m_refusingRename = false;
    bool m_renameJustRefused = false;

    std::function<bool(QKeyEvent *)> m_keyHandler;
    QPersistentModelIndex m_dragSource;
    QPoint m_pressPos;
    bool m_dragging = false;
    bool m_dropped = false;
    QPersistentModelIndex m_dropHighlight;
    QPoint m_lastDragPos;
    QTimer *m_dragScroll = nullptr;
    QPixmap m_refusedPicture, m_acceptedPicture;
};
