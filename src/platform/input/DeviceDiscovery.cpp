#include "platform/input/DeviceDiscovery.h"

#include <QFileInfo>
#include <QtGlobal>
#include <SDL.h>

namespace platform {
namespace {

constexpr const char* kDisableUdev = "SDL_JOYSTICK_DISABLE_UDEV";
constexpr const char* kHidapiDisableUdev = "SDL_HIDAPI_JOYSTICK_DISABLE_UDEV";

}  // namespace

bool SdlShouldScanDevicesItself(const QString& udevControlSocket) {
    return !qEnvironmentVariableIsSet(kDisableUdev) && !QFileInfo::exists(udevControlSocket);
}

DeviceDiscovery::DeviceDiscovery() {
    if (!SdlShouldScanDevicesItself(QString::fromLatin1(UdevControlSocket))) {
        SDL_ResetHint(kDisableUdev);  // should an earlier start in this process have set it
        return;
    }
    SDL_SetHint(kDisableUdev, "1");
    if (!qEnvironmentVariableIsSet(kHidapiDisableUdev)) {
        inEnvironment_ = qputenv(kHidapiDisableUdev, "1");
    }
}

DeviceDiscovery::~DeviceDiscovery() {
    if (inEnvironment_) {
        qunsetenv(kHidapiDisableUdev);
    }
}

}  // namespace platform
