#pragma once
// A Shell that records what the windows ask of it and answers message boxes from a script.

#include "platform/Shell.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

struct RecordedBox {
    QString text;
    uint32_t flags = 0;
    QString title;
};

struct RecordedStart {
    QString commandLine;
    platform::ShowStyle style = platform::ShowStyle::NormalFocus;
};

class RecordingShell final : public platform::Shell {
public:
    int MsgBox(QWidget* owner, const QString& text, uint32_t flags, const QString& title) override;
    QString StartProgram(const QString& commandLine, platform::ShowStyle style) override;
    QString FindProgram(const QString& name) override;
    QString DefaultApplication(const QString& mimeType) override;
    platform::VersionRecord App() override;

    std::vector<RecordedBox> boxes;
    std::vector<RecordedStart> starts;
    std::deque<int> answers;          // next answers to message boxes; IDOK when empty
    std::function<void()> onBox;      // runs inside each box, as a modal loop would let code run
    QSet<QString> installed;          // programs FindProgram reports as installed
    QSet<QString> failing;            // command lines StartProgram records but reports as not started
    QString defaultTextEditor;        // desktop entry DefaultApplication reports for text/plain
    platform::VersionRecord version{QStringLiteral("Corvane Demo"), 1, 0, 0,
                                    QStringLiteral("Tutti i diritti sono riservati"),
                                    QStringLiteral("Copyright test")};
};
