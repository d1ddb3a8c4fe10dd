#include "platform/DeviceDiscovery.h"

#include <QFileInfo>
#include <QtGlobal>

namespace platform {
namespace {

constexpr const char* kDisableUdev = "SDL_JOYSTICK_DISABLE_UDEV";

}  // namespace

bool SdlShouldScanDevicesItself(const QString& udevControlSocket) {
    return !qEnvironmentVariableIsSet(kDisableUdev) && !QFileInfo::exists(udevControlSocket);
}

void PrepareDeviceDiscovery() {
    if (SdlShouldScanDevicesItself(QString::fromLatin1(UdevControlSocket))) {
        qputenv(kDisableUdev, "1");
    }
}

}  // namespace platform
