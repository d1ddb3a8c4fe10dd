#pragma once
// The window in front, on an X11 session: the window manager names it in the root window's
// _NET_ACTIVE_WINDOW, and a property-change event on the root says when that changes, so nothing is
// polled. Native Wayland tells a program nothing of other programs' windows.

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <optional>

struct xcb_connection_t;

namespace platform {

class ActiveWindow final : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // True when the program shows on X11 (not under native Wayland, nor offscreen).
    static bool Available();
    // True on a native Wayland session, where the window in front cannot be known.
    static bool NativeWayland();
    // The names in a WM_CLASS value, instance then class, each ending in a NUL: UTF-8 as programs write
    // them, else Latin-1, the property's own encoding.
    static QStringList ClassNames(const QByteArray& value);

    // Follows from the next turn of the event loop; Available() must be true.
    explicit ActiveWindow(QObject* parent = nullptr);
    ~ActiveWindow() override;
    ActiveWindow(const ActiveWindow&) = delete;
    ActiveWindow& operator=(const ActiveWindow&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    // The WM_CLASS of the window now in front, instance then class; empty when none is, or when it
    // has none. Not given while one of this program's own windows is in front: looking at this
    // program changes nothing.
    void Changed(const QStringList& classes);

private:
    // The window the root's property names now; 0 for none.
    uint32_t Current() const;
    void Read();
    // Tells window's classes unless it is one of this program's, or the last told with the same classes.
    void Tell(uint32_t window);
    // Follows the window's end and its class, and no longer the one before's.
    void Watch(uint32_t window);
    // Adds and takes events from what this program asks of a window; returns the added ones it did not
    // ask for already, for a later take, or none when the window is gone.
    std::optional<uint32_t> ChangeEvents(uint32_t window, uint32_t add, uint32_t take);

    xcb_connection_t* connection = nullptr;
    uint32_t root = 0;
    uint32_t netActiveWindow = 0;  // the atom
    uint32_t shown = 0;            // the window last told, whose end and class are followed
    uint32_t added = 0;            // the events Watch asked of shown
    bool shownGone = false;        // shown has ended: its number may come back as another window
    QStringList toldClasses;
    bool told = false;
    bool tellAgain = false;  // one of this program's windows came in front: the next is told even if a repeat
    QTimer noneYet;          // running while no window is in front, before that is told
};

}  // namespace platform
