#include "profiles/ProfileStore.h"

#include "platform/desktop/ProfileName.h"
#include "platform/desktop/Settings.h"
#include "platform/files/RegularFile.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <dirent.h>

namespace {

const QString Extension = QStringLiteral(".ini");

// Names compare without regard to case, and in one normal form: "Café" is one name however its
// accent is spelt.
int CompareNames(const QString& a, const QString& b) {
    return QString::compare(a.normalized(QString::NormalizationForm_C),
                            b.normalized(QString::NormalizationForm_C), Qt::CaseInsensitive);
}

// The default's name in either language: a command line or a file name must not mean another thing
// when the user's language changes.
bool DefaultsName(const QString& name) {
    return CompareNames(name, QStringLiteral("Predefinito")) == 0 ||
           CompareNames(name, QStringLiteral("Default")) == 0;
}

}  // namespace

bool ProfileStore::SameName(const QString& a, const QString& b) {
    return CompareNames(a, b) == 0;
}

QString ProfileStore::NameOfFile(const QString& file) {
    const QString name = file.chopped(std::min(file.size(), Extension.size()));
    return file.endsWith(Extension) && platform::ProfileNameProblem(name).isEmpty() ? name : QString();
}

QString ProfileStore::Directory() {
    return QDir(platform::UserConfigDirectory()).filePath(QStringLiteral("profili"));
}

QString ProfileStore::DefaultName() {
    return tr("Predefinito");
}

QStringList ProfileStore::Names() {
    QStringList names;
    const QStringList files =
        QDir(Directory()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& file : files) {
        const QString name = file.chopped(std::min(file.size(), Extension.size()));
        // A file named as the default is shown would be a second "Predefinito" that no name reaches.
        if (file.endsWith(Extension) && platform::ProfileNameProblem(name).isEmpty() && !DefaultsName(name)) {
            names << name;
        }
    }
    // In name order as names compare; of two names that are one, the one that sorts first by its exact
    // spelling, the same one every time.
    std::sort(names.begin(), names.end());
    std::stable_sort(names.begin(), names.end(),
                     [](const QString& a, const QString& b) { return CompareNames(a, b) < 0; });
    names.erase(std::unique(names.begin(), names.end(), SameName), names.end());
    return names;
}

// Qt's listing passes over a name it cannot decode: the folder is read as bytes here.
qsizetype ProfileStore::NotUtf8() {
    DIR* folder = ::opendir(QFile::encodeName(Directory()).constData());
    if (folder == nullptr) {
        return 0;
    }
    qsizetype count = 0;
    while (const dirent* entry = ::readdir(folder)) {
        const QByteArray name(entry->d_name);
        // Bytes that are not UTF-8 come back from a round trip as U+FFFD.
        if (name.endsWith(".ini") && QString::fromUtf8(name).toUtf8() != name) {
            ++count;
        }
    }
    ::closedir(folder);
    return count;
}

qsizetype ProfileStore::Refused() {
    const QStringList files =
        QDir(Directory()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    return std::count_if(files.cbegin(), files.cend(), [](const QString& file) {
        return file.endsWith(Extension) &&
               !platform::ProfileNameProblem(file.chopped(Extension.size())).isEmpty();
    });
}

QStringList ProfileStore::LeftOut() {
    QStringList lines;
    if (const qsizetype notUtf8 = NotUtf8(); notUtf8 > 0) {
        lines << tr("%1 file di profilo con un nome non UTF-8: rinominarli per usarli").arg(notUtf8);
    }
    if (const qsizetype refused = Refused(); refused > 0) {
        lines << tr("%1 file di profilo con un nome che un profilo non può avere: rinominarli per usarli")
                     .arg(refused);
    }
    return lines;
}

std::optional<QString> ProfileStore::Lookup(const QString& name) {
    if (DefaultsName(name)) {
        return QString();
    }
    const QString found = Find(name);
    return found.isEmpty() ? std::nullopt : std::optional(found);
}

QString ProfileStore::Shown(const QString& name) {
    return name.isEmpty() ? DefaultName() : name;
}

QString ProfileStore::PathOf(const QString& name) {
    return name.isEmpty() ? QString() : QDir(Directory()).filePath(name + Extension);
}

bool ProfileStore::Readable(const QString& name) {
    if (name.isEmpty()) {
        return true;  // the search passes over what it cannot read
    }
    return platform::ReadRegularFile(PathOf(name), platform::MaxProfileBytes).status ==
           platform::RegularFile::Status::Read;
}

QString ProfileStore::After(const QString& name) {
    const QStringList order = QStringList{QString()} + Names();
    const auto at = std::find_if(order.cbegin(), order.cend(),
                                 [&](const QString& other) { return SameName(other, name); });
    return at == order.cend() || std::next(at) == order.cend() ? order.constFirst() : *std::next(at);
}

QString ProfileStore::Find(const QString& name) {
    const QStringList names = Names();
    const auto found =
        std::find_if(names.cbegin(), names.cend(), [&name](const QString& n) { return SameName(n, name); });
    return found == names.cend() ? QString() : *found;
}

QString ProfileStore::NewNameProblem(const QString& name) {
    if (QString problem = platform::ProfileNameProblem(name); !problem.isEmpty()) {
        return problem;
    }
    if (DefaultsName(name) || !Find(name).isEmpty()) {
        return tr("Esiste già un profilo di nome %1.").arg(name);
    }
    return {};
}
