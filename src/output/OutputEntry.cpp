#include "output/OutputEntry.h"

#include "platform/output/KeyNames.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace output {
namespace {

template<typename T>
Read<T> Fault(const QString& reason) {
    return {std::nullopt, reason};
}

// One operand of "+": a key, a mouse button or a notch of the wheel.
std::optional<Stroke> ReadStroke(const QString& name) {
    if (name.compare(QLatin1String("WHEEL_UP"), Qt::CaseInsensitive) == 0) {
        return Stroke{0, 1};
    }
    if (name.compare(QLatin1String("WHEEL_DOWN"), Qt::CaseInsensitive) == 0) {
        return Stroke{0, -1};
    }
    if (const std::optional<uint16_t> code = platform::KeyCode(name)) {
        return Stroke{*code, 0};
    }
    return std::nullopt;
}

Read<Step> ReadStep(const QString& text) {
    static const QRegularExpression pause(QStringLiteral("^(\\d+)\\s*ms$"),
                                          QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch match = pause.match(text); match.hasMatch()) {
        bool ok = false;
        const qlonglong ms = match.captured(1).toLongLong(&ok);
        if (!ok || ms < 1 || ms > kLongestPause.count()) {
            return Fault<Step>(QCoreApplication::translate("Uscita", "pausa fuori misura: %1 (da 1 a %2 ms)")
                                   .arg(text)
                                   .arg(kLongestPause.count()));
        }
        return {Step{{}, std::chrono::milliseconds(ms)}, {}};
    }
    Step step;
    for (const QString& operand : text.split(u'+')) {
        const QString name = operand.trimmed();
        if (name.isEmpty()) {
            return Fault<Step>(
                QCoreApplication::translate("Uscita", "manca un tasto accanto a un +: %1").arg(text));
        }
        const std::optional<Stroke> stroke = ReadStroke(name);
        if (!stroke) {
            return Fault<Step>(QCoreApplication::translate("Uscita", "tasto sconosciuto: %1").arg(name));
        }
        step.strokes.push_back(*stroke);
    }
    return {step, {}};
}

}  // namespace

Read<int> ReadNumber(const QString& text, int lowest, int highest) {
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok || number < lowest || number > highest) {
        return Fault<int>(QCoreApplication::translate("Uscita", "numero fuori misura: %1 (da %2 a %3)")
                              .arg(text.trimmed())
                              .arg(lowest)
                              .arg(highest));
    }
    return {number, {}};
}

Read<ButtonOutput> ReadButtonOutput(const QString& text) {
    QString keys = text.trimmed();
    if (keys.isEmpty()) {
        return {};
    }
    // A cut entry can mean another thing ("…, F11" cut to "F1"): refused whole.
    if (text.size() > kLongestEntry) {
        return Fault<ButtonOutput>(
            QCoreApplication::translate("Uscita", "la voce è più lunga di %1 caratteri").arg(kLongestEntry));
    }
    ButtonOutput output;
    // The word that changes how the keys act comes last: "ripeti N" or "alterna".
    static const QRegularExpression modeWord(QStringLiteral("\\s+(ripeti\\s+(\\S+)|alterna)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch match = modeWord.match(keys); match.hasMatch()) {
        if (match.captured(2).isEmpty()) {
            output.mode = Mode::Toggle;
        } else {
            const Read<int> rate = ReadNumber(match.captured(2), 1, kFastestRepeat);
            if (!rate.value) {
                return Fault<ButtonOutput>(rate.reason);
            }
            output.mode = Mode::Repeat;
            output.rate = *rate.value;
        }
        keys.truncate(match.capturedStart());
    }
    for (const QString& part : keys.split(u',')) {
        const QString written = part.trimmed();
        if (written.isEmpty()) {
            return Fault<ButtonOutput>(
                QCoreApplication::translate("Uscita", "manca un passo tra due virgole: %1")
                    .arg(text.trimmed()));
        }
        const Read<Step> step = ReadStep(written);
        if (!step.value) {
            return Fault<ButtonOutput>(step.reason);
        }
        output.steps.push_back(*step.value);
    }
    if (std::all_of(output.steps.begin(), output.steps.end(),
                    [](const Step& step) { return step.strokes.empty(); })) {
        return Fault<ButtonOutput>(
            QCoreApplication::translate("Uscita", "nessun tasto, solo pause: %1").arg(text.trimmed()));
    }
    if (output.mode == Mode::Toggle && output.IsSequence()) {
        return Fault<ButtonOutput>(QCoreApplication::translate(
            "Uscita", "alterna vale per tasti premuti insieme, non per una sequenza"));
    }
    return {output, {}};
}

Read<StickOutput> ReadStickOutput(const QString& text, bool cross) {
    const QString word = text.trimmed().toLower();
    if (word.isEmpty()) {
        return {};
    }
    if (word == QLatin1String("frecce")) {
        return {StickOutput::Arrows, {}};
    }
    if (!cross) {
        if (word == QLatin1String("puntatore")) {
            return {StickOutput::Pointer, {}};
        }
        if (word == QLatin1String("rotella")) {
            return {StickOutput::Wheel, {}};
        }
        if (word == QLatin1String("wasd")) {
            return {StickOutput::Wasd, {}};
        }
        return Fault<StickOutput>(QCoreApplication::translate(
                                      "Uscita", "scelta sconosciuta: %1 (puntatore, rotella, frecce o wasd)")
                                      .arg(text.trimmed()));
    }
    return Fault<StickOutput>(
        QCoreApplication::translate("Uscita", "scelta sconosciuta: %1 (frecce)").arg(text.trimmed()));
}

}  // namespace output
