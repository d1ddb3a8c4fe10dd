#include "platform/desktop/ActiveWindow.h"

#include <QGuiApplication>
#include <QStringDecoder>
#include <QWindow>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace platform {

namespace {

template<typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template<typename Reply>
Owned<Reply> Own(Reply* reply) {
    return {reply, &std::free};
}

// A window manager names no window for a moment as it goes from one to the next (openbox as a window
// maps, a few milliseconds): no window is told only once that lasts, so the profile does not flick to
// the user's choice and back with a notice each time. Within the controller's 25 ms poll.
constexpr std::chrono::milliseconds NoneLasts{20};

uint32_t Atom(xcb_connection_t* connection, const char* name) {
    const auto reply = Own(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : uint32_t{XCB_ATOM_NONE};
}

// One property of a window, at most length 32-bit units; null when the window or the property is gone.
Owned<xcb_get_property_reply_t> Property(xcb_connection_t* connection, uint32_t window, uint32_t atom,
                                         uint32_t type, uint32_t length) {
    return Own(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, atom, type, 0, length), nullptr));
}

bool OwnWindow(uint32_t window) {
    const QWindowList windows = QGuiApplication::topLevelWindows();
    return std::any_of(windows.cbegin(), windows.cend(), [window](const QWindow* own) {
        return own->handle() != nullptr && own->winId() == window;
    });
}

}  // namespace

bool ActiveWindow::Available() {
    return QGuiApplication::platformName() == QStringLiteral("xcb");
}

bool ActiveWindow::NativeWayland() {
    return QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

QStringList ActiveWindow::ClassNames(const QByteArray& value) {
    QStringList names;
    for (const QByteArray& part : value.split('\0')) {
        // A STRING property is Latin-1, but toolkits put the program's name there as it is, in UTF-8:
        // a class with an accent would otherwise never match the map's list, read as UTF-8.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString name = utf8(part);
        if (!part.isEmpty()) {
            names << (utf8.hasError() ? QString::fromLatin1(part) : name);
        }
    }
    return names;
}

ActiveWindow::ActiveWindow(QObject* parent) : QObject(parent) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return;
    }
    // The first screen's root: the window manager keeps the property there on every screen it manages.
    root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    netActiveWindow = Atom(connection, "_NET_ACTIVE_WINDOW");
    // Add property changes to whatever Qt already asks of the root window, never take any away.
    const auto attributes = Own(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, root), nullptr));
    const uint32_t mask = (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    noneYet.setSingleShot(true);
    noneYet.setInterval(NoneLasts);
    connect(&noneYet, &QTimer::timeout, this, [this] { Tell(Current()); });
    qApp->installNativeEventFilter(this);
    // The window in front now, told once the caller has connected and the event loop runs.
    QMetaObject::invokeMethod(this, &ActiveWindow::Read, Qt::QueuedConnection);
}

ActiveWindow::~ActiveWindow() {
    if (connection != nullptr) {
        qApp->removeNativeEventFilter(this);
    }
}

bool ActiveWindow::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* /*result*/) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
        const auto* change = static_cast<const xcb_property_notify_event_t*>(message);
        if (change->window == root && change->atom == netActiveWindow) {
            Read();
        }
    } else if ((event->response_type & 0x7f) == XCB_DESTROY_NOTIFY) {
        // The window manager may leave the property naming a window that has gone.
        const auto* gone = static_cast<const xcb_destroy_notify_event_t*>(message);
        if (shown != 0 && gone->window == shown && !noneYet.isActive()) {
            noneYet.start();
        }
    }
    return false;  // Qt and its other filters see every event as before
}

uint32_t ActiveWindow::Current() const {
    const auto active = Property(connection, root, netActiveWindow, XCB_ATOM_WINDOW, 1);
    if (active && active->format == 32 && xcb_get_property_value_length(active.get()) >= 4) {
        return *static_cast<const uint32_t*>(xcb_get_property_value(active.get()));
    }
    return 0;
}

void ActiveWindow::Read() {
    const uint32_t window = Current();
    if (window == 0 && told && shown != 0) {
        if (!noneYet.isActive()) {
            noneYet.start();
        }
        return;
    }
    noneYet.stop();
    Tell(window);
}

void ActiveWindow::Tell(uint32_t window) {
    if (window != 0 && OwnWindow(window)) {
        return;
    }
    const bool again = told && window == shown;
    if (window != shown) {
        Watch(window);
    }
    QStringList classes;
    if (const auto wmClass = window != 0
                                 ? Property(connection, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 256)
                                 : Owned<xcb_get_property_reply_t>(nullptr, &std::free);
        wmClass && wmClass->format == 8) {
        classes = ClassNames(QByteArray(static_cast<const char*>(xcb_get_property_value(wmClass.get())),
                                        xcb_get_property_value_length(wmClass.get())));
    }
    // A repeated change says nothing; but the server gives a new window the number of one that has gone,
    // and a window that has gone has no classes any more.
    if (again && classes == toldClasses) {
        return;
    }
    told = true;
    toldClasses = classes;
    emit Changed(classes);
}

// Selected on the window in front only, as the window manager selects on its own.
void ActiveWindow::Watch(uint32_t window) {
    const uint32_t nothing = 0;
    const uint32_t itsEnd = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    // Either window may have gone already: the error is let go.
    if (shown != 0) {
        xcb_discard_reply(
            connection,
            xcb_change_window_attributes_checked(connection, shown, XCB_CW_EVENT_MASK, &nothing).sequence);
    }
    if (window != 0) {
        xcb_discard_reply(
            connection,
            xcb_change_window_attributes_checked(connection, window, XCB_CW_EVENT_MASK, &itsEnd).sequence);
    }
    xcb_flush(connection);
    shown = window;
}

}  // namespace platform
