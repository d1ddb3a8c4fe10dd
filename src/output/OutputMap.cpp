#include "output/OutputMap.h"

#include "platform/files/ProfileReader.h"
#include "platform/output/KeyNames.h"
#include "platform/output/SendableKeys.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>

namespace output {
namespace {

// Arrow keys come up this much of the travel below their threshold.
constexpr double kArrowMargin = 0.1;
constexpr qsizetype kValueBuffer = kLongestEntry + 2;  // an entry too long comes whole enough to be refused

}  // namespace

bool OutputMap::Acts() const {
    const auto some = [](const auto& entries) {
        return std::any_of(entries.begin(), entries.end(),
                           [](const auto& entry) { return entry.has_value(); });
    };
    return left || right || crossArrows || some(buttons) || some(holds) || some(twices) ||
           std::any_of(layers.begin(), layers.end(), [&](const Layer& layer) {
               return some(layer.buttons) || some(layer.holds) || some(layer.twices);
           });
}

int LayerInForce(const std::array<Layer, kLayers>& layers, const std::bitset<Generale::NumTasti>& down,
                 const std::array<bool, kLayers>& on) {
    for (int n = kLayers; n > 0; --n) {
        const Layer& layer = layers[std::size_t(n - 1)];
        if (layer.button >= 0 && (layer.toggle ? on[std::size_t(n - 1)] : down[std::size_t(layer.button)])) {
            return n;
        }
    }
    return 0;
}

Read<Step> ReadGestureKeys(const QString& text) {
    const Read<ButtonOutput> read = ReadButtonOutput(text);
    if (!read.value) {
        return {std::nullopt, read.reason};
    }
    if (read.value->IsSequence() || read.value->mode != Mode::Hold) {
        return {std::nullopt,
                QCoreApplication::translate("Uscita", "tenuto e doppio sono tasti premuti insieme: %1")
                    .arg(text)};
    }
    return {read.value->steps.front(), {}};
}

OutputMap ReadOutputMap(QByteArrayView file) {
    const platform::ProfileReader ini = platform::ProfileReader::FromBytes(file);
    const auto in = [&ini](const QString& section, const QString& key) {
        return ini.GetPrivateProfileString(section, key, QString(), kValueBuffer).text;
    };
    const auto value = [&in](const QString& key) { return in(QStringLiteral("Uscita"), key); };
    // A button's plain, held and double-tap entries, of the base section or a layer's.
    const auto entries = [&in](const QString& section, auto& buttons, auto& holds, auto& twices) {
        for (int i = 0; i < Generale::NumTasti; ++i) {
            const QString key = Generale::ChiaveUscita(i);
            buttons[i] = ReadButtonOutput(in(section, key)).value;
            holds[i] = ReadGestureKeys(in(section, key + QStringLiteral(" tenuto"))).value;
            twices[i] = ReadGestureKeys(in(section, key + QStringLiteral(" doppio"))).value;
        }
    };
    OutputMap map;
    entries(QStringLiteral("Uscita"), map.buttons, map.holds, map.twices);
    for (int n = 1; n <= kLayers; ++n) {
        Layer& layer = map.layers[std::size_t(n - 1)];
        QString key = value(QStringLiteral("Strato%1").arg(n)).trimmed();
        static const QRegularExpression toggle(QStringLiteral("\\s+alterna$"),
                                               QRegularExpression::CaseInsensitiveOption);
        layer.toggle = key.contains(toggle);
        key.remove(toggle);
        if (const std::optional<int> button = ReadNumber(key, 0, Generale::NumTasti - 1).value) {
            layer.button = *button;
            entries(QStringLiteral("Uscita %1").arg(n), layer.buttons, layer.holds, layer.twices);
        }
    }
    if (const QString hold = value(QStringLiteral("TempoTenuto")); !hold.isEmpty()) {
        map.holdAfter = std::chrono::milliseconds(ReadNumber(hold, 50, 2000).value.value_or(200));
    }
    if (const QString twice = value(QStringLiteral("TempoDoppio")); !twice.isEmpty()) {
        map.twiceWithin = std::chrono::milliseconds(ReadNumber(twice, 50, 1000).value.value_or(250));
    }
    map.left = ReadStickOutput(value(Generale::ChiaveUscita(Generale::NumTasti)), false).value;
    map.right = ReadStickOutput(value(Generale::ChiaveUscita(Generale::NumTasti + 1)), false).value;
    map.crossArrows =
        ReadStickOutput(value(Generale::ChiaveUscita(Generale::NumTasti + 2)), true).value.has_value();
    const QString deadZone = value(QStringLiteral("ZonaMorta"));
    map.deadZone =
        deadZone.isEmpty() ? kDefaultDeadZone : ReadNumber(deadZone, 0, 90).value.value_or(kDefaultDeadZone);
    const QString speed = value(QStringLiteral("Velocità"));
    map.speed = speed.isEmpty() ? kDefaultSpeed : ReadNumber(speed, 1, 20000).value.value_or(kDefaultSpeed);
    const QString curve = value(QStringLiteral("Curva"));
    map.curve = curve.isEmpty() ? kDefaultCurve : ReadNumber(curve, 1, 3).value.value_or(kDefaultCurve);
    const QString threshold = value(QStringLiteral("SogliaFrecce"));
    map.arrowThreshold = threshold.isEmpty()
                             ? kDefaultArrowThreshold
                             : ReadNumber(threshold, 10, 95).value.value_or(kDefaultArrowThreshold);
    if (const QString trigger = value(QStringLiteral("SogliaGrilletti")); !trigger.isEmpty()) {
        map.triggerThreshold = ReadNumber(trigger, 5, 95).value.value_or(map.triggerThreshold);
    }
    if (const QString precision = value(QStringLiteral("Precisione")); !precision.isEmpty()) {
        map.precision = ReadNumber(precision, 0, Generale::NumTasti - 1).value;
    }
    return map;
}

bool PastThreshold(double along, double threshold, bool held) {
    return held ? along > threshold - kArrowMargin : along > threshold;
}

QString Unsent(const ButtonOutput& output, platform::OutputRoute route) {
    for (const Step& step : output.steps) {
        for (const Stroke& stroke : step.strokes) {
            if (stroke.wheel != 0) {
                continue;
            }
            if (const QString why = platform::WhyNotSent(stroke.code, route); !why.isEmpty()) {
                return platform::KeyName(stroke.code) + QStringLiteral(": ") + why;
            }
        }
    }
    return {};
}

QString Unsent(const OutputMap& map, platform::OutputRoute route) {
    for (int i = 0; i < Generale::NumTasti; ++i) {
        if (const QString why = map.buttons[i] ? Unsent(*map.buttons[i], route) : QString(); !why.isEmpty()) {
            return QCoreApplication::translate("Uscita", "Uscita del tasto %1: %2").arg(i).arg(why);
        }
    }
    return {};
}

}  // namespace output
