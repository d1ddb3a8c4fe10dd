#pragma once
// The real shell: Qt message boxes, detached processes, programs on PATH and the version record.

#include "platform/Shell.h"

namespace platform {

class QtShell final : public Shell {
public:
    int MsgBox(QWidget* owner, const QString& text, uint32_t flags, const QString& title) override;
    void StartProgram(const QString& commandLine, ShowStyle style) override;
    QString FindProgram(const QString& name) override;
    QString DefaultApplication(const QString& mimeType) override;
    VersionRecord App() override;
};

}  // namespace platform
