#include "platform/desktop/DesktopEntry.h"

#include "platform/desktop/DesktopPrograms.h"
#include "platform/files/ProfileReader.h"

#include <QStringList>

namespace platform {
namespace {

constexpr qsizetype NoLimit = 1 << 20;

// The string escapes of a desktop entry's values: \s \n \t \r and \\.
QString Unescaped(QStringView value) {
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const QChar next = value[++i];
        const qsizetype at = QStringView(u"sntr").indexOf(next);
        if (at >= 0) {
            text += QStringView(u" \n\t\r")[at];
        } else if (next == u'\\') {
            text += next;
        } else {
            text += u'\\';  // left for the quoting rules below (\" \$ \`)
            text += next;
        }
    }
    return text;
}

// Blank-separated arguments; inside double quotes a backslash keeps the next character literal.
QStringList Arguments(QStringView exec) {
    QStringList arguments;
    QString current;
    bool quoted = false;
    bool started = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted && c == u'\\' && i + 1 < exec.size()) {
            current += exec[++i];
        } else if (c == u'"') {
            quoted = !quoted;
            started = true;
        } else if (!quoted && c.isSpace()) {
            if (started) {
                arguments << current;
                current.clear();
                started = false;
            }
        } else {
            current += c;
            started = true;
        }
    }
    if (started) {
        arguments << current;
    }
    return arguments;
}

// One argument with its field codes expanded; tookFile is set when the file went in.
QString Expanded(const QString& argument, const QString& file, bool& tookFile) {
    QString text;
    for (qsizetype i = 0; i < argument.size(); ++i) {
        if (argument[i] != u'%' || i + 1 == argument.size()) {
            text += argument[i];
            continue;
        }
        const QChar code = argument[++i];
        if (code == u'%') {
            text += u'%';
        } else if (QStringLiteral("fFuU").contains(code)) {
            text += file;
            tookFile = true;
        }
        // %i, %c, %k and the deprecated codes give nothing here: the editor needs only the file.
    }
    return text;
}

}  // namespace

QString DesktopEntryCommandLine(const QString& entryPath, const QString& file) {
    const ProfileReader entry = ProfileReader::FromFile(entryPath);
    const auto value = [&entry](QStringView key) {
        return entry.GetPrivateProfileString(u"Desktop Entry", key, QString(), NoLimit).text;
    };
    if (value(u"Terminal") == u"true") {
        return {};  // a terminal editor started without a terminal shows nothing
    }
    QStringList command;
    bool tookFile = false;
    for (const QString& argument : Arguments(Unescaped(value(u"Exec")))) {
        const bool fieldCodeOnly = argument.size() == 2 && argument[0] == u'%' && argument[1] != u'%';
        const QString expanded = Expanded(argument, file, tookFile);
        if (!(fieldCodeOnly && expanded.isEmpty())) {
            command << QuotedArgument(expanded);
        }
    }
    return tookFile ? command.join(u' ') : QString();
}

}  // namespace platform
