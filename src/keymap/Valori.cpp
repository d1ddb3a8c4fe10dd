#include "keymap/Valori.h"

namespace Generale {

std::optional<int32_t> Numero(QStringView text) {
    bool ok = false;
    const int32_t value = text.trimmed().toInt(&ok, 10);
    if (!ok || text.contains(QChar::Null)) {
        return std::nullopt;
    }
    return value;
}

QStringView TestoCodice(QStringView value) {
    const qsizetype bracket = value.indexOf(u'[');
    return bracket < 0 ? value : value.first(bracket);
}

QString Comando(QStringView value) {
    const qsizetype bracket = value.indexOf(u'[');
    if (bracket < 0) {
        return QString();
    }
    QStringView command = value.sliced(bracket + 1).trimmed();
    command.chop(command.isEmpty() ? 0 : 1);
    return command.toString();
}

QString TestoTasto(int32_t code, const QString& command) {
    const QString number = QString::number(code);
    return command.isEmpty() ? number : number + QStringLiteral(" [") + command + u']';
}

bool Ordine(QStringView value) {
    return value != u"0";
}

int16_t Segno(QStringView value) {
    return value == u"1" ? 1 : -1;
}

}  // namespace Generale
