#include "platform/input/DevicePort.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <linux/input-event-codes.h>

namespace platform {
namespace {

// A sysfs attribute is at most a page.
constexpr qint64 kAttributeBytes = 4096;

QByteArray ReadAttribute(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(kAttributeBytes) : QByteArray();
}

// Only the two node names SDL gives are looked up: any other text never reaches a sysfs path. Captures
// the event node's name, or the hidraw node's.
QRegularExpressionMatch SdlNode(const char* sdlPath) {
    static const QRegularExpression node(QStringLiteral("^/dev/(?:input/(event[0-9]+)|(hidraw[0-9]+))$"));
    return node.match(QString::fromUtf8(sdlPath != nullptr ? sdlPath : ""));
}

// Whether a sysfs bitmap has one of the bits from..to.
bool AnyBit(const QByteArray& bitmap, unsigned from, unsigned to) {
    constexpr unsigned kWordBits = 8 * sizeof(long);
    const QList<QByteArray> words = bitmap.simplified().split(' ');
    for (unsigned bit = from; bit <= to; ++bit) {
        const qsizetype word = words.size() - 1 - qsizetype(bit / kWordBits);
        if (word >= 0 && ((words[word].toULongLong(nullptr, 16) >> (bit % kWordBits)) & 1) != 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

QString DevicePort(const char* sdlPath) {
    const QRegularExpressionMatch match = SdlNode(sdlPath);
    if (!match.hasMatch()) {
        return {};
    }
    if (match.hasCaptured(1)) {
        return QString::fromUtf8(
            ReadAttribute(QStringLiteral("/sys/class/input/%1/device/phys").arg(match.captured(1)))
                .trimmed());
    }
    static const QByteArray key = "HID_PHYS=";
    const QByteArray uevent =
        ReadAttribute(QStringLiteral("/sys/class/hidraw/%1/device/uevent").arg(match.captured(2)));
    for (const QByteArray& line : uevent.split('\n')) {
        if (line.startsWith(key)) {
            return QString::fromUtf8(line.mid(key.size()).trimmed());
        }
    }
    return {};
}

EventNode EventNodeOf(const char* sdlPath) {
    const QRegularExpressionMatch match = SdlNode(sdlPath);
    if (!match.hasMatch()) {
        return {};
    }
    if (match.hasCaptured(1)) {
        return {sdlPath, false};
    }
    // The HID device's input devices, each with its event node, in the order the driver made them.
    const QDir device(QStringLiteral("/sys/class/hidraw/%1/device/input").arg(match.captured(2)));
    QStringList inputs = device.entryList({QStringLiteral("input*")}, QDir::Dirs);
    std::sort(inputs.begin(), inputs.end(),
              [](const QString& a, const QString& b) { return a.mid(5).toInt() < b.mid(5).toInt(); });
    std::vector<InputDevice> found;
    for (const QString& input : inputs) {
        const QStringList events =
            QDir(device.filePath(input)).entryList({QStringLiteral("event*")}, QDir::Dirs);
        if (!events.isEmpty()) {
            found.push_back({"/dev/input/" + events.first().toStdString(),
                             ReadAttribute(device.filePath(input + QStringLiteral("/capabilities/key")))});
        }
    }
    return {GamepadNode(found), true};
}

std::string GamepadNode(const std::vector<InputDevice>& inputs) {
    const auto pad = std::find_if(inputs.begin(), inputs.end(), [](const InputDevice& input) {
        return AnyBit(input.keys, BTN_JOYSTICK, BTN_THUMBR);
    });
    return pad != inputs.end() ? pad->node : std::string();
}

QString PortNumber(const QString& phys) {
    // The bus's own name may hold dashes ("usb-musb-hdrc.1.auto-1/input0"): the chain is after the last.
    static const QRegularExpression chain(QStringLiteral("^usb-.+-([0-9]+(?:\\.[0-9]+)*)(?:/|$)"));
    return chain.match(phys).captured(1);
}

std::vector<QString> TwinPortLabels(const std::vector<AttachedDevice>& attached) {
    std::vector<QString> labels(attached.size());
    for (std::size_t n = 0; n < attached.size(); ++n) {
        if (!labels[n].isEmpty()) {
            continue;  // named with an earlier twin
        }
        std::vector<std::size_t> twins;
        QSet<QString> numbers;
        for (std::size_t other = n; other < attached.size(); ++other) {
            if (attached[other].guid == attached[n].guid) {
                twins.push_back(other);
                numbers.insert(PortNumber(attached[other].port));
            }
        }
        if (twins.size() < 2) {
            continue;
        }
        const bool byPort =
            !numbers.contains(QString()) && numbers.size() == static_cast<qsizetype>(twins.size());
        for (std::size_t place = 0; place < twins.size(); ++place) {
            labels[twins[place]] =
                byPort ? PortNumber(attached[twins[place]].port) : QString::number(place + 1);
        }
    }
    return labels;
}

}  // namespace platform
