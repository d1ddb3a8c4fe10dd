#include "platform/ControllerMappings.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <SDL.h>

namespace platform {
namespace {

Q_LOGGING_CATEGORY(lcMappings, "corvane.mappings")

}  // namespace

int LoadControllerMappings(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return 0;
    }
    if (!info.isFile()) {
        qCWarning(lcMappings) << path << "is not a plain file: not loaded";
        return -1;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcMappings) << "cannot read" << path << file.errorString();
        return -1;
    }
    QByteArray text = file.read(MaxMappingFileBytes + 1);
    if (text.size() > MaxMappingFileBytes) {
        qCWarning(lcMappings) << path << "is larger than" << MaxMappingFileBytes << "bytes: not loaded";
        return -1;
    }
    if (text.isEmpty()) {
        return 0;  // SDL refuses a memory block of no bytes
    }
    // SDL stops reading at a NUL byte and ends lines at line feeds only: a NUL or a carriage return
    // ends the line here, so a binary line cannot hide the lines after it and CR LF lines still parse.
    text.replace('\0', '\n').replace('\r', '\n');
    SDL_RWops* const memory = SDL_RWFromConstMem(text.constData(), static_cast<int>(text.size()));
    const int added = SDL_GameControllerAddMappingsFromRW(memory, 1);
    qCDebug(lcMappings) << added << "mappings from" << path;
    return added;
}

}  // namespace platform
