#pragma once
// The window toolkit's shell services the windows rely on: message boxes, starting programs,
// finding installed programs and the version record. Tests replace it with a recorder.

#include <QString>
#include <cstdint>

class QWidget;

namespace platform {

// Message-box flags, as the windows build them.
inline constexpr uint32_t MB_OK = 0x0;
inline constexpr uint32_t MB_OKCANCEL = 0x1;
inline constexpr uint32_t MB_ICONERROR = 0x10;
inline constexpr uint32_t MB_ICONINFORMATION = 0x40;
inline constexpr uint32_t MB_SETFOREGROUND = 0x10000;

// Message-box answers; callers only tell IDOK from every other answer.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Window-show style of a started program.
enum class ShowStyle : int {
    NormalFocus = 1,     // normal window that takes the focus
    MinimizedFocus = 2,  // minimised window that takes the focus
    NormalNoFocus = 4,   // normal window; the caller keeps the focus
};

struct VersionRecord {
    QString ProductName;
    uint16_t Major = 0;
    uint16_t Minor = 0;
    uint16_t Revision = 0;
    QString FileDescription;
    QString LegalCopyright;
};

class Shell {
public:
    virtual ~Shell() = default;

    // Modal box over `owner` (may be null), brought to the foreground. Lines in `text` are separated
    // by carriage returns. Returns IDOK or another answer.
    virtual int MsgBox(QWidget* owner, const QString& text, uint32_t flags, const QString& title) = 0;

    // Starts one command line (program and arguments, quoting allowed, no shell) without waiting.
    // Empty when it started; otherwise why not, for the user (the failure is logged too).
    virtual QString StartProgram(const QString& commandLine, ShowStyle style) = 0;

    // Full path of an installed program found on PATH, or empty when it is not installed.
    virtual QString FindProgram(const QString& name) = 0;

    // Full path of the desktop entry (.desktop file) of the desktop's default application for a MIME
    // type, or empty when none is set or it cannot be found.
    virtual QString DefaultApplication(const QString& mimeType) = 0;

    virtual VersionRecord App() = 0;
};

}  // namespace platform
