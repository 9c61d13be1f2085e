#include "mainwindow/address_list_view.h"

#include "mainwindow/address_list_model.h"
#include "mainwindow/twips.h"
#include "model/address_record.h"

#include "files/storable_value.h"
#include "mainwindow/message_box.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QDrag>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTimer>
#include <QListView>
#include <QStyledItemDelegate>
#include <QTreeView>

using namespace Qt::Literals::StringLiterals;

namespace {

// Column widths in twips: on a narrow screen, and on any other.
constexpr int kNarrowScreenTwips = 12000;
constexpr int kNarrowWidths[FieldCount] = {1800, 1800, 2000, 1200, 1700, 1700, 1600};
constexpr int kWideWidths[FieldCount] = {1800, 1800, 3100, 1300, 2300, 2300, 2500};

const char kOriginalName[] = "originalName";

// Why the name in a rename editor cannot be stored, or an empty text. The
// name the entry already has always passes: it came from the file.
QString renameProblem(const QLineEdit *editor)
{
    const QString text = editor->text();
    if (text == editor->property(kOriginalName).toString())
        return {};
    return TypedValueProblem(text, FieldCaptions()[0]);
}

// The list's items: a name the address file could not carry is refused in
// the rename editor, and the entry a drag would land on is highlighted.
class ListItemDelegate : public QStyledItemDelegate {
public:
    ListItemDelegate(AddressListView *list, QObject *parent)
        : QStyledItemDelegate(parent), m_list(list) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor->setProperty(kOriginalName, index.data(Qt::EditRole));
        return editor;
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QLineEdit *>(editor)) {
            // The last guard, when the view closes the editor on its own: the old name stays.
            if (const QString problem = renameProblem(box); !problem.isEmpty()) {
                if (!m_list->refusingRename())
                    MessageBoxes::Show(editor->window(), problem + u"\n名前は変更されていません。"_s, MsgIcon::Critical);
                return;
            }
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *box = qobject_cast<QLineEdit *>(object);
        if (!box)
            return QStyledItemDelegate::eventFilter(object, event);
        if (event->type() == QEvent::FocusOut) {
            if (m_list->refusingRename())
                return true;   // the message box took the focus; the editor stays open
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            // Another window or a pop-up: the rename waits for the user's return.
            if ((reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
                && !renameProblem(box).isEmpty())
                return true;
            if (!m_list->acceptRename(box))
                return true;
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            const bool leaves = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab
                || key == Qt::Key_Backtab;
            if (leaves && !m_list->acceptRename(box))
                return true;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.row() == m_list->dropHighlightRow())
            option->state |= QStyle::State_Selected;
    }

private:
    AddressListView *m_list;
};

// Every item of the icon and list modes the same size, whatever its name:
// the list view sizes all items like the first one, and a short first name
// would otherwise cut every longer name short.
class FixedSizeDelegate : public ListItemDelegate {
public:
    using ListItemDelegate::ListItemDelegate;
    void setItemSize(QSize size, bool underIcon)
    {
        m_size = size;
        m_underIcon = underIcon;
    }
    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override { return m_size; }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        ListItemDelegate::initStyleOption(option, index);
        // Large icons: the name right under its icon, not in the middle of the cell.
        if (m_underIcon)
            option->displayAlignment = Qt::AlignHCenter | Qt::AlignTop;
    }

private:
    QSize m_size;
    bool m_underIcon = false;
};

const QString kEntryMimeType = u"application/x-yuzaribo-entry"_s;

constexpr QSize kLargeGrid(100, 76), kSmallGrid(170, 22);

} // namespace

AddressListView::AddressListView(QWidget *parent)
    : QStackedWidget(parent), m_report(new QTreeView(this)), m_icons(new QListView(this))
{
    setObjectName(u"ListView1"_s);
    m_report->setObjectName(u"ListView1.Report"_s);
    m_icons->setObjectName(u"ListView1.Icons"_s);

    // Report: whole rows, no tree decoration; one row height for all rows and
    // fixed column widths keep a 32767-entry book instant.
    m_report->setRootIsDecorated(false);
    m_report->setItemsExpandable(false);
    m_report->setUniformRowHeights(true);
    m_report->setAllColumnsShowFocus(true);
    m_report->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_report->setSortingEnabled(false);
    m_report->header()->setSectionsClickable(false);
    m_report->header()->setSectionsMovable(false);
    m_report->header()->setStretchLastSection(false);
    m_report->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_report->setTextElideMode(Qt::ElideRight);

    // Icons and lists: every item the size of the first.
    m_icons->setUniformItemSizes(true);
    m_icons->setMovement(QListView::Static);
    m_icons->setResizeMode(QListView::Adjust);
    m_icons->setWrapping(true);
    m_icons->setModelColumn(0);
    m_icons->setTextElideMode(Qt::ElideRight);
    m_icons->setItemDelegate(new FixedSizeDelegate(this, m_icons));
    m_report->setItemDelegate(new ListItemDelegate(this, m_report));

    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(m_report),
                                    static_cast<QAbstractItemView *>(m_icons)}) {
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        // A click on the name of the entry already selected starts renaming.
        view->setEditTriggers(QAbstractItemView::SelectedClicked);
        view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        // The list runs its own drag and drop and its own pop-up menu.
        view->setAcceptDrops(true);
        view->viewport()->setAcceptDrops(true);
        view->setDragEnabled(false);
        view->setContextMenuPolicy(Qt::PreventContextMenu);
    }

    // While the pointer rests on the first or last visible entry during a
    // drag, the list keeps scrolling.
    m_dragScroll = new QTimer(this);
    m_dragScroll->setInterval(150);
    connect(m_dragScroll, &QTimer::timeout, this, [this] { dragOverAt(m_lastDragPos); });

    addWidget(m_icons);
    addWidget(m_report);
    setViewMode(Report);
}

void AddressListView::setListModel(AddressListModel *model)
{
    m_model = model;
    m_report->setModel(model);
    m_icons->setModel(model);
    // One selection for all modes: switching modes keeps the selected entry.
    QItemSelectionModel *old = m_icons->selectionModel();
    m_icons->setSelectionModel(m_report->selectionModel());
    if (old != m_report->selectionModel())
        delete old;
    connectView(m_report);
    connectView(m_icons);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (m_userInput && current.isValid())
                    Q_EMIT itemClicked(current.row());
            });
}

void AddressListView::connectView(QAbstractItemView *view)
{
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    // A click on the entry that is already current changes nothing in the
    // selection but is still the user's pick.
    connect(view, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            Q_EMIT itemClicked(index.row());
    });
}

QItemSelectionModel *AddressListView::selectionModel() const
{
    return m_report->selectionModel();
}

void AddressListView::SetupColumns(int screenWidthTwips)
{
    const int *widths = screenWidthTwips == kNarrowScreenTwips ? kNarrowWidths : kWideWidths;
    for (int c = 0; c < FieldCount; ++c)
        m_report->setColumnWidth(c, TwipsToPixels(widths[c]));
}

void AddressListView::setViewMode(int mode)
{
    if (mode < LargeIcons || mode > Report)
        return;
    const bool hadFocus = currentView()->hasFocus();
    m_mode = mode;
    auto *delegate = static_cast<FixedSizeDelegate *>(m_icons->itemDelegate());
    delegate->setItemSize((mode == LargeIcons ? kLargeGrid : kSmallGrid) - QSize(4, 2), mode == LargeIcons);
    switch (mode) {
    case LargeIcons:
        m_icons->setViewMode(QListView::IconMode);
        m_icons->setFlow(QListView::LeftToRight);
        m_icons->setIconSize(QSize(32, 32));
        m_icons->setGridSize(kLargeGrid);
        m_icons->setWordWrap(true);
        m_icons->setSpacing(0);
        break;
    case SmallIcons:
        m_icons->setViewMode(QListView::ListMode);
        m_icons->setFlow(QListView::LeftToRight);
        m_icons->setIconSize(QSize(16, 16));
        m_icons->setGridSize(kSmallGrid);
        m_icons->setWordWrap(false);
        break;
    case List:
        m_icons->setViewMode(QListView::ListMode);
        m_icons->setFlow(QListView::TopToBottom);
        m_icons->setIconSize(QSize(16, 16));
        m_icons->setGridSize(kSmallGrid);
        m_icons->setWordWrap(false);
        break;
    default:
        break;
    }
    // setViewMode resets these in the list view.
    m_icons->setMovement(QListView::Static);
    m_icons->setWrapping(true);
    m_icons->setResizeMode(QListView::Adjust);
    m_icons->setUniformItemSizes(true);
    // A static list view switches drops off; the list takes its own drops.
    m_icons->setAcceptDrops(true);
    m_icons->viewport()->setAcceptDrops(true);
    m_icons->setDragEnabled(false);

    QWidget *target = mode == Report ? static_cast<QWidget *>(m_report) : m_icons;
    setCurrentWidget(target);
    setFocusProxy(target);
    if (const QModelIndex current = selectionModel() ? selectionModel()->currentIndex() : QModelIndex();
        current.isValid())
        currentView()->scrollTo(current);
    if (hadFocus)
        target->setFocus();
}

QAbstractItemView *AddressListView::currentView() const
{
    return m_mode == Report ? static_cast<QAbstractItemView *>(m_report) : m_icons;
}

int AddressListView::currentRow() const
{
    const QItemSelectionModel *sel = selectionModel();
    if (!sel)
        return -1;
    const QModelIndexList selected = sel->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

bool AddressListView::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress;
    if (press && !m_userInput) {
        // The view handles the press right after this filter; the flag lasts
        // until the events in hand are done.
        m_userInput = true;
        QTimer::singleShot(0, this, [this] { m_userInput = false; });
    }
    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(m_report),
                                    static_cast<QAbstractItemView *>(m_icons)}) {
        // Keys the rename editor leaves unused pass by the view on their way up;
        // they belong to the editor, not to the list.
        if (watched == view && event->type() == QEvent::KeyPress && m_keyHandler && !renaming(view)
            && m_keyHandler(static_cast<QKeyEvent *>(event)))
            return true;
        if (watched == view->viewport() && viewportEvent(view, event))
            return true;
    }
    return QStackedWidget::eventFilter(watched, event);
}

bool AddressListView::viewportEvent(QAbstractItemView *view, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        // A click elsewhere in the list would end a rename the file cannot carry.
        if (QLineEdit *editor = openEditor(); editor && !acceptRename(editor))
            return true;
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton) {
            // After the view has picked the entry under the pointer.
            const QPoint global = mouse->globalPosition().toPoint();
            QMetaObject::invokeMethod(this, [this, global] { Q_EMIT contextMenuRequested(global); },
                                      Qt::QueuedConnection);
        } else if (mouse->button() == Qt::LeftButton) {
            m_dragSource = m_model && m_model->rowCount() > 1
                ? QPersistentModelIndex(view->indexAt(mouse->position().toPoint()))
                : QPersistentModelIndex();
            m_pressPos = mouse->position().toPoint();
        }
        return false;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!(mouse->buttons() & Qt::LeftButton) || !m_dragSource.isValid() || m_dragging
            || !m_model || m_model->rowCount() <= 1 || renaming(view))
            return false;
        if ((mouse->position().toPoint() - m_pressPos).manhattanLength() < QApplication::startDragDistance())
            return true;   // no rubber band or selection sweep: this is the start of a drag
        startDrag();
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && !m_dragging)
            m_dragSource = QPersistentModelIndex();
        return false;
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            // The view still sees it: that cancels the rename a first click may have started.
            QMetaObject::invokeMethod(this, [this] { Q_EMIT doubleClicked(); }, Qt::QueuedConnection);
        }
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (!m_dragging || !drag->mimeData()->hasFormat(kEntryMimeType)) {
            drag->ignore();
            return true;
        }
        m_lastDragPos = drag->position().toPoint();
        if (dragOverAt(m_lastDragPos))
            drag->acceptProposedAction();
        else
            drag->ignore();
        if (!m_dragScroll->isActive())
            m_dragScroll->start();
        return true;
    }
    case QEvent::DragLeave:
        m_dragScroll->stop();
        return true;
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        m_dragScroll->stop();
        if (!m_dragging || !drop->mimeData()->hasFormat(kEntryMimeType)) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        m_dropped = true;
        return true;
    }
    default:
        return false;
    }
}

bool AddressListView::renaming(const QAbstractItemView *view)
{
    // The window's focus, which stays with the editor while another window
    // (a message box) is active.
    const QWidget *focus = view->window()->focusWidget();
    return focus && focus != view && view->isAncestorOf(focus);
}

// A drag shows a cursor picture with its point in the middle; the picture
// is moved so that its own point (the arrow tip) lies there.
static QPixmap centredOnHotSpot(const QCursor &cursor)
{
    const QPixmap picture = cursor.pixmap();
    if (picture.isNull())
        return picture;
    const qreal ratio = picture.devicePixelRatio();
    const QSize logical = (QSizeF(picture.size()) / ratio).toSize();
    const QPoint hot = cursor.hotSpot();
    const int half = qMax(qMax(hot.x(), logical.width() - hot.x()), qMax(hot.y(), logical.height() - hot.y()));
    QPixmap centred(QSize(2 * half, 2 * half) * ratio);
    centred.setDevicePixelRatio(ratio);
    centred.fill(Qt::transparent);
    QPainter painter(&centred);
    painter.drawPixmap(QPoint(half - hot.x(), half - hot.y()), picture);
    return centred;
}

void AddressListView::setDragCursors(const QCursor &refused, const QCursor &accepted)
{
    m_refusedPicture = centredOnHotSpot(refused);
    m_acceptedPicture = centredOnHotSpot(accepted);
}

int AddressListView::dragSourceRow() const
{
    return m_dragSource.isValid() ? m_dragSource.row() : -1;
}

int AddressListView::dropHighlightRow() const
{
    return m_dropHighlight.isValid() ? m_dropHighlight.row() : -1;
}

void AddressListView::clearDropHighlight()
{
    m_dropHighlight = QPersistentModelIndex();
    currentView()->viewport()->update();
}

void AddressListView::endDrag()
{
    clearDropHighlight();
    m_dragScroll->stop();
    m_dragging = false;
    m_dragSource = QPersistentModelIndex();
}

bool AddressListView::dragOverAt(QPoint viewportPos)
{
    QAbstractItemView *view = currentView();
    const QModelIndex under = view->indexAt(viewportPos);
    if (QPersistentModelIndex(under) != m_dropHighlight) {
        m_dropHighlight = under.isValid() ? QPersistentModelIndex(under.siblingAtColumn(0))
                                          : QPersistentModelIndex();
        view->viewport()->update();
    }
    if (!under.isValid())
        return false;
    // One entry on past the first visible entry upwards, otherwise downwards:
    // resting on the top or bottom entry scrolls the list.
    // The top-left cell: in the icon modes the first item sits inside its grid cell.
    const QPoint topLeft = m_mode == Report ? QPoint(1, 1)
                                            : QPoint(m_icons->gridSize().width() / 2, m_icons->gridSize().height() / 2);
    const QModelIndex first = view->indexAt(topLeft);
    int n = under.row();
    if (first.isValid() && first.row() == n) {
        if (n == 0)
            return true;
        --n;
    } else {
        ++n;
        if (n >= m_model->rowCount())
            return true;
    }
    view->scrollTo(m_model->index(n, 0));
    return true;
}

void AddressListView::startDrag()
{
    m_dragging = true;
    m_dropped = false;
    Q_EMIT dragStarted();
    auto *mime = new QMimeData;
    mime->setData(kEntryMimeType, QByteArray::number(m_dragSource.row()));
    QDrag drag(this);
    drag.setMimeData(mime);
    // The list's own cursors: one where the entry can be dropped, one where it cannot.
    if (!m_acceptedPicture.isNull())
        drag.setDragCursor(m_acceptedPicture, Qt::MoveAction);
    if (!m_refusedPicture.isNull())
        drag.setDragCursor(m_refusedPicture, Qt::IgnoreAction);
    drag.exec(Qt::MoveAction, Qt::MoveAction);
    m_dragScroll->stop();
    const int source = dragSourceRow();
    if (m_dropped && source >= 0) {
        m_dropped = false;
        Q_EMIT dropRequested(source, dropHighlightRow());
    } else {
        endDrag();
    }
}

QLineEdit *AddressListView::openEditor() const
{
    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(m_report),
                                    static_cast<QAbstractItemView *>(m_icons)}) {
        const QModelIndex current = view->currentIndex();
        if (!current.isValid())
            continue;
        if (auto *editor = qobject_cast<QLineEdit *>(view->indexWidget(current.siblingAtColumn(0))))
            return editor;
    }
    return nullptr;
}

bool AddressListView::acceptRename(QLineEdit *editor)
{
    const QString problem = renameProblem(editor);
    if (problem.isEmpty())
        return true;
    // One user action can end the editor twice (a click is a focus change
    // and a press); it gets one message.
    if (!m_refusingRename && !m_renameJustRefused) {
        m_refusingRename = true;
        MessageBoxes::Show(editor->window(), problem, MsgIcon::Critical);
        m_refusingRename = false;
        m_renameJustRefused = true;
        QTimer::singleShot(0, this, [this] { m_renameJustRefused = false; });
    }
    editor->setFocus(Qt::OtherFocusReason);
    return false;
}

bool AddressListView::commitEdit()
{
    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(m_report),
                                    static_cast<QAbstractItemView *>(m_icons)}) {
        const QModelIndex current = view->currentIndex();
        if (!current.isValid())
            continue;
        QWidget *editor = view->indexWidget(current.siblingAtColumn(0));
        if (!editor)
            continue;
        if (auto *box = qobject_cast<QLineEdit *>(editor); box && !acceptRename(box))
            return false;
        QAbstractItemDelegate *delegate = view->itemDelegateForIndex(current);
        Q_EMIT delegate->commitData(editor);
        Q_EMIT delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    return true;
}

void AddressListView::setCurrentRow(int row)
{
    if (!m_model || !selectionModel())
        return;
    const QModelIndex index = m_model->index(row, 0);
    if (index.isValid()) {
        selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        currentView()->scrollTo(index);
    } else {
        selectionModel()->clear();
    }
}

void AddressListView::setListColours(const QColor &background, const QColor &text)
{
    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(m_report),
                                    static_cast<QAbstractItemView *>(m_icons)}) {
        QPalette p = view->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive}) {
            p.setColor(group, QPalette::Base, background);
            p.setColor(group, QPalette::Text, text);
        }
        // The selection stays plainly visible when the list loses the focus.
        p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   p.color(QPalette::Active, QPalette::HighlightedText));
        view->setPalette(p);
    }
}

void AddressListView::setListFont(const QFont &font)
{
    m_report->setFont(font);
    m_icons->setFont(font);
}
