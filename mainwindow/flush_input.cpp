#include "mainwindow/flush_input.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {

class InputSwallower : public QObject {
public:
    QList<QPointer<QWidget>> closeRequests;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::TouchBegin:
        case QEvent::TouchEnd:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            return true;
        case QEvent::Close:
            // Closing the main window mid-command would end the program
            // inside it; the close waits until the command is done.
            if (auto *window = qobject_cast<QWindow *>(watched)) {
                for (QWidget *w : QApplication::topLevelWidgets())
                    if (w->windowHandle() == window && !closeRequests.contains(w))
                        closeRequests.append(w);
                return true;
            }
            return false;
        default:
            return false;
        }
    }
};

} // namespace

void FlushInput()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    InputSwallower swallower;
    app->installEventFilter(&swallower);
    // Pull what the window system has queued into Qt and let it fall into the filter.
    const auto flags = QEventLoop::X11ExcludeTimers | QEventLoop::ExcludeSocketNotifiers;
    QCoreApplication::processEvents(flags);
    QCoreApplication::processEvents(flags);
    app->removeEventFilter(&swallower);
    for (const QPointer<QWidget> &w : swallower.closeRequests)
        if (w)
            QMetaObject::invokeMethod(w, &QWidget::close, Qt::QueuedConnection);
}
