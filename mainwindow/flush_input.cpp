#include "mainwindow/flush_input.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

class InputSwallower : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
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
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    app->removeEventFilter(&swallower);
}
