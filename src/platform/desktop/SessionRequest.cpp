#include "platform/desktop/SessionRequest.h"

#include <QFile>
#include <algorithm>
#include <array>
#include <utility>

namespace platform {
namespace {

using Action = SessionRequest::Action;

constexpr std::array<std::pair<Action, const char*>, 4> Actions{{
    {Action::Show, "show"},
    {Action::Start, "start"},
    {Action::Stop, "stop"},
    {Action::Quit, "quit"},
}};

constexpr char MapWord[] = "map ";
constexpr char ProfileWord[] = "profile ";
constexpr char PadWord[] = "pad ";
constexpr char EmulationLine[] = "emulation";

bool CarriesMapBytes(const QByteArray& path) {
    return !path.isEmpty() && path.size() <= MapPathMaxBytes && path.startsWith('/') &&
           std::none_of(path.cbegin(), path.cend(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

// The name a profile line carries, or nothing: valid UTF-8 within the bound, and a name the profiles'
// own rules allow.
std::optional<QString> ProfileOf(const QByteArray& bytes) {
    const QString name = QString::fromUtf8(bytes);
    if (bytes.size() > ProfileNameMaxBytes || name.toUtf8() != bytes || !ProfileNameProblem(name).isEmpty()) {
        return std::nullopt;
    }
    return name;
}

// A pad's number as a request writes it: 1..MaxPadNumber in decimal, without a leading zero or sign.
std::optional<int> PadOf(const QByteArray& bytes) {
    bool ok = false;
    const int number = bytes.toInt(&ok);
    if (!ok || number < 1 || number > MaxPadNumber || QByteArray::number(number) != bytes) {
        return std::nullopt;
    }
    return number;
}

// A line that another one must follow.
bool IsOptionLine(const QByteArray& line) {
    return line.startsWith(MapWord) || line.startsWith(ProfileWord) || line.startsWith(PadWord) ||
           line == EmulationLine;
}

}  // namespace

bool CarriesMap(const QString& path) {
    return CarriesMapBytes(QFile::encodeName(path));
}

QByteArray RequestLines(const SessionRequest& request) {
    QByteArray lines;
    if (!request.map.isEmpty()) {
        const QByteArray path = QFile::encodeName(request.map);
        if (!CarriesMapBytes(path)) {
            return {};
        }
        lines += MapWord + path + '\n';
    }
    if (!request.profile.isEmpty()) {
        const QByteArray name = request.profile.toUtf8();
        if (!request.map.isEmpty() || !ProfileOf(name)) {
            return {};
        }
        lines += ProfileWord + name + '\n';
    }
    if (request.pad != 0) {
        if (request.profile.isEmpty() || !PadOf(QByteArray::number(request.pad))) {
            return {};
        }
        lines += PadWord + QByteArray::number(request.pad) + '\n';
    }
    if (request.emulation) {
        lines += QByteArray(EmulationLine) + '\n';
    }
    for (const auto& [action, word] : Actions) {
        if (action == request.action) {
            lines += QByteArray(word) + '\n';
        }
    }
    return lines;
}

std::optional<SessionRequest> ParseRequest(const QByteArray& bytes) {
    if (bytes.size() > RequestMaxBytes || !bytes.endsWith('\n')) {
        return std::nullopt;
    }
    const QList<QByteArray> lines = bytes.chopped(1).split('\n');
    auto line = lines.cbegin();
    SessionRequest request;
    if (line->startsWith(MapWord)) {
        const QByteArray path = line->mid(int(sizeof MapWord - 1));
        if (!CarriesMapBytes(path)) {
            return std::nullopt;
        }
        request.map = QFile::decodeName(path);
        ++line;
    } else if (line->startsWith(ProfileWord)) {
        const std::optional<QString> name = ProfileOf(line->mid(int(sizeof ProfileWord - 1)));
        if (!name) {
            return std::nullopt;
        }
        request.profile = *name;
        ++line;
        if (line != lines.cend() && line->startsWith(PadWord)) {
            const std::optional<int> pad = PadOf(line->mid(int(sizeof PadWord - 1)));
            if (!pad) {
                return std::nullopt;
            }
            request.pad = *pad;
            ++line;
        }
    }
    if (line != lines.cend() && *line == EmulationLine) {
        request.emulation = true;
        ++line;
    }
    if (line == lines.cend() || std::next(line) != lines.cend()) {
        return std::nullopt;
    }
    for (const auto& [action, word] : Actions) {
        if (*line == word) {
            request.action = action;
            return request;
        }
    }
    return std::nullopt;
}

bool RequestGoesOn(const QByteArray& bytes) {
    if (bytes.size() > RequestMaxBytes) {
        return false;
    }
    const QList<QByteArray> lines = bytes.split('\n');  // the last one is still open, maybe empty
    return std::all_of(lines.cbegin(), std::prev(lines.cend()), IsOptionLine);
}

}  // namespace platform
