#pragma once
// A Shell that starts programs for real, through QtShell, and counts message boxes instead of showing
// them: the real shell's box is modal and would wait for a person. Counters only, so that a long run
// holds no growing record.

#include "platform/QtShell.h"

#include <QString>
#include <cstdint>
#include <map>

class LaunchingShell final : public platform::Shell {
public:
    int MsgBox(QWidget* owner, const QString& text, uint32_t flags, const QString& title) override;
    QString StartProgram(const QString& commandLine, platform::ShowStyle style) override;
    QString FindProgram(const QString& name) override;
    QString DefaultApplication(const QString& mimeType) override;
    platform::VersionRecord App() override;

    // Boxes asked for, by text and flags.
    std::map<std::pair<QString, uint32_t>, int> boxes;
    // Command lines handed to the real shell, by command line.
    std::map<QString, int> starts;

private:
    platform::QtShell real;
};
