#include "platform/desktop/SessionRequest.h"

#include <array>
#include <utility>

namespace platform {
namespace {

constexpr std::array<std::pair<SessionRequest, const char*>, 4> Words{{
    {SessionRequest::Show, "show\n"},
    {SessionRequest::Start, "start\n"},
    {SessionRequest::Stop, "stop\n"},
    {SessionRequest::Quit, "quit\n"},
}};

}  // namespace

QByteArray RequestLine(SessionRequest request) {
    for (const auto& [word, line] : Words) {
        if (word == request) {
            return QByteArray(line);
        }
    }
    return {};
}

std::optional<SessionRequest> ParseRequest(const QByteArray& line) {
    if (line.size() > RequestMaxBytes) {
        return std::nullopt;
    }
    for (const auto& [word, text] : Words) {
        if (line == text) {
            return word;
        }
    }
    return std::nullopt;
}

}  // namespace platform
