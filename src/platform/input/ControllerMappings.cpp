#include "platform/input/ControllerMappings.h"

#include "platform/files/RegularFile.h"

#include <QByteArrayList>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <SDL.h>

#include <optional>

namespace platform {
namespace {

Q_LOGGING_CATEGORY(lcMappings, "corvane.mappings")

// Linux numbers a device's keys below 768 and its axes below 64: a larger index names nothing.
constexpr int kMaxIndex = 767;

bool IsGuid(QByteArrayView text) {
    static const QRegularExpression guid(QStringLiteral("^[0-9a-fA-F]{32}$"));
    return guid.match(QString::fromLatin1(text)).hasMatch();
}

// A joystick side SDL reads without surprise: an axis (half or whole, maybe inverted), a button, or
// directions of one of a device's four hats (SDL's own database has masks of more than one). SDL reads a
// hat's mask from the fourth character on.
bool IsSafeBinding(const QByteArray& binding) {
    static const QRegularExpression axisOrButton(QStringLiteral("^(?:[+-]?a([0-9]{1,3})~?|b([0-9]{1,3}))$"));
    static const QRegularExpression hat(QStringLiteral("^h[0-3]\\.(?:[1-9]|1[0-5])$"));
    const QString text = QString::fromLatin1(binding);
    const QRegularExpressionMatch index = axisOrButton.match(text);
    if (index.hasMatch()) {
        const QString number = index.captured(1).isEmpty() ? index.captured(2) : index.captured(1);
        return number.toInt() <= kMaxIndex;
    }
    return hat.match(text).hasMatch();
}

// SDL skips blanks inside the fields after the name. An element may be signed: +leftx, -a. Fields that name
// no controller element (platform, hint, crc, sdk...) are not bindings and SDL leaves their value alone. SDL
// also reads one byte past its 20-byte field buffer for a field of 20 characters or more
// (hint:SDL_GAMECONTROLLER_USE_BUTTON_LABELS lines among them); that read stays on its own stack, is harmless
// and can't be avoided with this SDL, so such lines are kept.
bool IsSafeMapping(const QByteArray& line) {
    const QByteArrayList fields = line.split(',');
    if (fields.size() < 2 || !IsGuid(fields[0])) {
        return false;  // "default" and "xinput" too: SDL keeps a pointer to them past its shutdown
    }
    for (qsizetype n = 2; n < fields.size(); ++n) {
        QByteArray field = fields[n];
        field.replace(' ', QByteArray());
        const qsizetype colon = field.indexOf(':');
        QByteArray element = field.first(colon < 0 ? field.size() : colon);
        if (element.startsWith('+') || element.startsWith('-')) {
            element.remove(0, 1);  // half of an axis, or a button on half of one
        }
        const bool isElement =
            SDL_GameControllerGetAxisFromString(element.constData()) != SDL_CONTROLLER_AXIS_INVALID ||
            SDL_GameControllerGetButtonFromString(element.constData()) != SDL_CONTROLLER_BUTTON_INVALID;
        if (isElement && (colon < 0 || !IsSafeBinding(field.sliced(colon + 1)))) {
            return false;
        }
    }
    return true;
}

// The safe mappings of a file, or none when the file is refused.
std::optional<QByteArray> ReadMappingFile(const QString& path) {
    const RegularFile file = ReadRegularFile(path, MaxMappingFileBytes);
    switch (file.status) {
    case RegularFile::Status::Read:
        return SafeMappings(file.bytes, path);
    case RegularFile::Status::Missing:
        return QByteArray();
    case RegularFile::Status::NotRegular:
        qCWarning(lcMappings) << path << "is not a plain file: not loaded";
        break;
    case RegularFile::Status::Unreadable:
        qCWarning(lcMappings) << "cannot read" << path;
        break;
    case RegularFile::Status::TooLarge:
        qCWarning(lcMappings) << path << "is larger than" << MaxMappingFileBytes << "bytes: not loaded";
        break;
    }
    return std::nullopt;
}

}  // namespace

QByteArray SafeMappings(QByteArrayView text, const QString& source) {
    // SDL ends a mapping at a NUL byte and lines at line feeds only: a NUL or a carriage return ends
    // the line here, so a binary line cannot hide the lines after it and CR LF lines still parse.
    QByteArray lines = text.toByteArray();
    lines.replace('\0', '\n').replace('\r', '\n');
    QByteArrayList safe;
    int number = 0;
    for (qsizetype start = 0, end = 0; start < lines.size(); start = end + 1) {
        end = lines.indexOf('\n', start);
        end = end < 0 ? lines.size() : end;
        if (++number > MaxMappingLines) {
            qCWarning(lcMappings).noquote()
                << "only the first" << MaxMappingLines << "lines of" << source << "are read";
            break;
        }
        const QByteArray line = lines.sliced(start, end - start);
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith('#')) {
            continue;
        }
        if (IsSafeMapping(line)) {
            safe.append(line);
        } else {
            qCWarning(lcMappings) << source << "line" << number << "skipped:" << line;
        }
    }
    return safe.join('\n');
}

void PrepareControllerMappings() {
    const char* const variables[] = {SDL_HINT_GAMECONTROLLERCONFIG, SDL_HINT_GAMECONTROLLERCONFIG_FILE};
    if (!qEnvironmentVariableIsSet(variables[0]) && !qEnvironmentVariableIsSet(variables[1])) {
        // Back to the variables, should an earlier start in this process have set the hints.
        SDL_ResetHint(variables[0]);
        SDL_ResetHint(variables[1]);
        return;
    }
    QByteArrayList safe = {SafeMappings(qgetenv(variables[0]), QString::fromLatin1(variables[0]))};
    if (const QString path = qEnvironmentVariable(variables[1]); !path.isEmpty()) {
        safe.append(ReadMappingFile(path).value_or(QByteArray()));
    }
    // Only an overriding hint wins over the environment; SDL reads no file for an empty name.
    SDL_SetHintWithPriority(variables[0], safe.join('\n').constData(), SDL_HINT_OVERRIDE);
    SDL_SetHintWithPriority(variables[1], "", SDL_HINT_OVERRIDE);
}

int LoadControllerMappings(const QString& path) {
    const std::optional<QByteArray> text = ReadMappingFile(path);
    if (!text) {
        return -1;
    }
    if (text->isEmpty()) {
        return 0;  // SDL refuses a memory block of no bytes
    }
    SDL_RWops* const memory = SDL_RWFromConstMem(text->constData(), static_cast<int>(text->size()));
    const int added = SDL_GameControllerAddMappingsFromRW(memory, 1);
    qCDebug(lcMappings) << added << "mappings from" << path;
    return added;
}

}  // namespace platform
