#include "platform/input/DevicePort.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

namespace platform {
namespace {

// A sysfs attribute is at most a page.
constexpr qint64 kAttributeBytes = 4096;

QByteArray ReadAttribute(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(kAttributeBytes) : QByteArray();
}

}  // namespace

QString DevicePort(const char* sdlPath) {
    // Only the two node names SDL gives are looked up: any other text never reaches a sysfs path.
    static const QRegularExpression node(QStringLiteral("^/dev/(?:input/(event[0-9]+)|(hidraw[0-9]+))$"));
    const QRegularExpressionMatch match = node.match(QString::fromUtf8(sdlPath != nullptr ? sdlPath : ""));
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
