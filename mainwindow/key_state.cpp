#include "mainwindow/key_state.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QtGui/qguiapplication_platform.h>

#if QT_CONFIG(xcb)
#include <X11/XKBlib.h>
#include <X11/keysym.h>
#endif

namespace {

#if QT_CONFIG(xcb)

// The LEDs' own state, as the server keeps it. The atoms are looked up once
// per display; a name the server has never heard of means no such indicator.
std::optional<bool> NamedIndicator(Display *display, const char *name, Atom &cache, Display *&cacheOwner)
{
    if (cacheOwner != display) {
        cache = None;
        cacheOwner = display;
    }
    if (cache == None)
        cache = XInternAtom(display, name, True);
    if (cache == None)
        return std::nullopt;
    Bool on = False;
    if (!XkbGetNamedIndicator(display, cache, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on != False;
}

KeyLockState ReadX11(Display *display)
{
    static Atom capsAtom = None, numAtom = None;
    static Display *capsOwner = nullptr, *numOwner = nullptr;

    KeyLockState state;
    state.caps = NamedIndicator(display, "Caps Lock", capsAtom, capsOwner);
    state.num = NamedIndicator(display, "Num Lock", numAtom, numOwner);
    if (state.caps && state.num)
        return state;

    // A keymap without those indicators: fall back on the locked modifiers.
    XkbStateRec xkb {};
    if (XkbGetState(display, XkbUseCoreKbd, &xkb) != Success)
        return state;
    if (!state.caps)
        state.caps = (xkb.locked_mods & LockMask) != 0;
    if (!state.num) {
        const unsigned numMask = XkbKeysymToModifiers(display, XK_Num_Lock);
        if (numMask != 0)
            state.num = (xkb.locked_mods & numMask) != 0;
    }
    return state;
}

#endif

} // namespace

KeyLockState ReadKeyLockState()
{
#if QT_CONFIG(xcb)
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1StringView("xcb"))
        return {};
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return {};
    return ReadX11(display);
#else
    return {};
#endif
}

// X11's event names are macros that would replace QEvent's below.
#undef KeyPress
#undef KeyRelease

InsertKeyToggle::InsertKeyToggle(QObject *parent) : QObject(parent) { }

bool InsertKeyToggle::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Insert || key->isAutoRepeat())
            break;
        if (event->type() == QEvent::KeyRelease) {
            m_down = false;
        } else if (!m_down) {
            m_down = true;
            m_on = !m_on;
            Q_EMIT changed(m_on);
        }
        break;
    }
    case QEvent::WindowDeactivate:
    case QEvent::ApplicationStateChange:
        // The release of a key held while focus leaves goes to another program.
        if (QGuiApplication::applicationState() != Qt::ApplicationActive
            || event->type() == QEvent::WindowDeactivate)
            m_down = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
