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
// WM_CLASS is read whole up to this many 32-bit units (64 KiB): a long instance name must not hide the
// class after it, and a window cannot make the program read without end.
constexpr uint32_t ClassUnits = 16384;

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
    // Property changes added to whatever Qt already asks of the root window, never taken away.
    ChangeEvents(root, XCB_EVENT_MASK_PROPERTY_CHANGE, 0);
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
        // A program may set its class after its window shows.
        if ((change->window == root && change->atom == netActiveWindow) ||
            (change->window == shown && change->window != 0 && change->atom == XCB_ATOM_WM_CLASS)) {
            Read();
        }
    } else if ((event->response_type & 0x7f) == XCB_DESTROY_NOTIFY) {
        // The window manager may leave the property naming a window that has gone.
        const auto* gone = static_cast<const xcb_destroy_notify_event_t*>(message);
        if (shown != 0 && gone->window == shown) {
            shownGone = true;
            added = 0;  // the server dropped what was asked of it
            if (!noneYet.isActive()) {
                noneYet.start();
            }
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
        if (!shownGone) {
            // The profile stays while the user looks at this program, but what comes next is told,
            // since the user may have chosen another profile here meanwhile.
            tellAgain = told;
            return;
        }
        window = 0;  // the window told closed as this program's came in front: none is
    }
    const bool again = told && !tellAgain && window == shown && !shownGone;
    if (window != shown || shownGone) {
        Watch(window);
    }
    QStringList classes;
    // Any type: some programs store it as UTF8_STRING.
    if (const auto value = window != 0 ? Property(connection, window, XCB_ATOM_WM_CLASS,
                                                  XCB_GET_PROPERTY_TYPE_ANY, ClassUnits)
                                       : Owned<xcb_get_property_reply_t>(nullptr, &std::free);
        value && value->format == 8) {
        classes = ClassNames(QByteArray(static_cast<const char*>(xcb_get_property_value(value.get())),
                                        xcb_get_property_value_length(value.get())));
    }
    // A repeated change says nothing; but the server gives a new window the number of one that has gone,
    // and a window that has gone has no classes any more.
    if (again && classes == toldClasses) {
        return;
    }
    told = true;
    tellAgain = false;
    toldClasses = classes;
    emit Changed(classes);
}

// Selected on the window in front only, as the window manager selects on its own.
void ActiveWindow::Watch(uint32_t window) {
    if (shown != 0 && !shownGone) {
        ChangeEvents(shown, 0, added);
    }
    const std::optional<uint32_t> selected =
        window != 0
            ? ChangeEvents(window, XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE, 0)
            : std::optional<uint32_t>(0);
    added = selected.value_or(0);
    shown = window;
    // A window named after it had gone is gone still: a new window that takes its number is watched anew.
    shownGone = !selected;
}

// A window's event mask holds all that this program asks of it (Qt's too, on the root and on its own
// windows, which may come in front): added to and taken from, never replaced. A window gone is let go.
std::optional<uint32_t> ActiveWindow::ChangeEvents(uint32_t window, uint32_t add, uint32_t take) {
    xcb_generic_error_t* error = nullptr;
    const auto attributes = Own(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), &error));
    std::free(error);
    if (!attributes) {
        return std::nullopt;
    }
    const uint32_t mask = (attributes->your_event_mask | add) & ~take;
    if (mask != attributes->your_event_mask) {
        xcb_discard_reply(
            connection,
            xcb_change_window_attributes_checked(connection, window, XCB_CW_EVENT_MASK, &mask).sequence);
        xcb_flush(connection);
    }
    return add & ~attributes->your_event_mask;
}

}  // namespace platform
