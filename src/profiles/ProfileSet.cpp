#include "profiles/ProfileSet.h"

#include "keymap/Generale.h"
#include "platform/desktop/MapFile.h"
#include "platform/desktop/ProfileName.h"
#include "platform/desktop/Settings.h"
#include "platform/desktop/Trash.h"
#include "platform/files/FileAccess.h"
#include "platform/files/ProfileReader.h"
#include "platform/files/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <dirent.h>
#include <utility>

namespace {

const QString Extension = QStringLiteral(".ini");

// Names compare without regard to case, and in one normal form: "Café" is one name however its
// accent is spelt.
int CompareNames(const QString& a, const QString& b) {
    return QString::compare(a.normalized(QString::NormalizationForm_C),
                            b.normalized(QString::NormalizationForm_C), Qt::CaseInsensitive);
}

bool SameName(const QString& a, const QString& b) {
    return CompareNames(a, b) == 0;
}

// The default's name in either language: a command line or a file name must not mean another thing
// when the user's language changes.
bool DefaultsName(const QString& name) {
    return SameName(name, QStringLiteral("Predefinito")) || SameName(name, QStringLiteral("Default"));
}

}  // namespace

ProfileSet::ProfileSet(QObject* parent) : QObject(parent) {
    if (!platform::ChosenMapFile().isEmpty()) {
        return;  // --map FILE for this run
    }
    const QString remembered = platform::ReadActiveProfile();
    if (remembered.isEmpty()) {
        return;
    }
    const QString name = Find(remembered);
    if (name.isEmpty()) {
        notice = tr("Il profilo \"%1\" non c'è più: vale il profilo %2.").arg(remembered, DefaultName());
        return;
    }
    platform::SetMapFile(PathOf(name));
}

QString ProfileSet::Directory() {
    return QDir(platform::UserConfigDirectory()).filePath(QStringLiteral("profili"));
}

QString ProfileSet::DefaultName() {
    return tr("Predefinito");
}

QStringList ProfileSet::Names() {
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
qsizetype ProfileSet::NotUtf8() {
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

QString ProfileSet::Active() const {
    const QFileInfo chosen(platform::ChosenMapFile());
    if (chosen.filePath().isEmpty() || chosen.absolutePath() != QDir(Directory()).absolutePath()) {
        return {};
    }
    const QString file = chosen.fileName();
    const QString name = file.chopped(std::min(file.size(), Extension.size()));
    return file.endsWith(Extension) && platform::ProfileNameProblem(name).isEmpty() ? name : QString();
}

QString ProfileSet::CommandLineFile() const {
    return Active().isEmpty() ? platform::ChosenMapFile() : QString();
}

QString ProfileSet::Shown(const QString& name) {
    return name.isEmpty() ? DefaultName() : name;
}

QString ProfileSet::PathOf(const QString& name) {
    return name.isEmpty() ? QString() : QDir(Directory()).filePath(name + Extension);
}

bool ProfileSet::Readable(const QString& name) {
    if (name.isEmpty()) {
        return true;  // the search passes over what it cannot read
    }
    return platform::ReadRegularFile(PathOf(name), platform::MaxProfileBytes).status ==
           platform::RegularFile::Status::Read;
}

QString ProfileSet::Next() const {
    // From a --map file the round starts again at the default.
    return CommandLineFile().isEmpty() ? After(Active()) : QString();
}

QString ProfileSet::After(const QString& name) {
    const QStringList order = QStringList{QString()} + Names();
    const auto at = std::find_if(order.cbegin(), order.cend(),
                                 [&](const QString& other) { return SameName(other, name); });
    return at == order.cend() || std::next(at) == order.cend() ? order.constFirst() : *std::next(at);
}

bool ProfileSet::Switch(const QString& name) {
    const QString found = name.isEmpty() ? QString() : Find(name);
    if (!name.isEmpty() && found.isEmpty()) {
        return false;
    }
    userChoice.reset();
    Load(PathOf(found));
    // Remembered once in force: the settings file's write may wait on the disk.
    if (platform::ReadActiveProfile() != found) {
        platform::WriteActiveProfile(found);
    }
    return true;
}

void ProfileSet::FollowWindow(const QStringList& classes) {
    if (const std::optional<QString> chosen = windows.For(classes)) {
        if (!userChoice) {
            userChoice = platform::ChosenMapFile();
        }
        if (platform::ChosenMapFile() != PathOf(*chosen)) {
            Load(PathOf(*chosen), true);
        }
    } else if (userChoice) {
        QString file = *std::exchange(userChoice, std::nullopt);
        if (QFileInfo(file).absolutePath() == QDir(Directory()).absolutePath() && !QFileInfo::exists(file)) {
            file.clear();  // the chosen profile went meanwhile (another program's trash): the default is back
        }
        if (platform::ChosenMapFile() != file) {
            Load(file, true);
        }
    }
}

void ProfileSet::UseMapFile(const QString& file) {
    userChoice.reset();
    platform::SetMapFile(file);
}

void ProfileSet::Load(const QString& file, bool byWindow) {
    platform::SetMapFile(file);
    Generale::CaricaMappaNuova();
    notice.clear();
    emit Switched(Describe(), byWindow);
}

std::optional<QString> ProfileSet::Lookup(const QString& name) {
    if (DefaultsName(name)) {
        return QString();
    }
    const QString found = Find(name);
    return found.isEmpty() ? std::nullopt : std::optional(found);
}

QString ProfileSet::Listing() {
    const QString active = Lookup(platform::ReadActiveProfile()).value_or(QString());
    QString lines;
    for (const QString& name : QStringList{QString()} + Names()) {
        lines += (name == active ? QStringLiteral("* ") : QStringLiteral("  ")) + Shown(name) +
                 (Readable(name) ? QString() : tr(" (non si può leggere)")) + u'\n';
    }
    return lines;
}

QString ProfileSet::Describe() const {
    const QString file = CommandLineFile();
    if (!file.isEmpty()) {
        return tr("Mappa %1").arg(QDir::toNativeSeparators(file));
    }
    const QString active = Active();
    if (!Readable(active)) {
        return tr("Profilo %1: il file non si può leggere, valgono i valori predefiniti.").arg(Shown(active));
    }
    return userChoice ? tr("Profilo %1, per la finestra in primo piano").arg(Shown(active))
                      : tr("Profilo %1").arg(Shown(active));
}

QString ProfileSet::Create(const QString& name) {
    if (QString problem = NewNameProblem(name); !problem.isEmpty()) {
        return problem;
    }
    const QString path = PathOf(name);
    if (!QDir().mkpath(Directory())) {
        return tr("Non si può creare la cartella %1.").arg(QDir::toNativeSeparators(Directory()));
    }
    // A copy of the map in force (one that cannot be read gives an empty file, read as it was read);
    // without any map, of the commented example; without that, empty. Never over a file standing there.
    const QString inForce = platform::MapFile();
    const QString source = inForce.isEmpty() ? platform::ExampleMapPath() : inForce;
    const QByteArray bytes =
        source.isEmpty() ? QByteArray() : platform::ProfileReader::ReadBytes(source).value_or(QByteArray());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return tr("Non si può creare il file %1.").arg(QDir::toNativeSeparators(path));
    }
    // A private map's copy stays private: who may read it is settled before a byte is in it.
    if (QString error; !source.isEmpty() && !platform::KeepAccessOfCopy(source, file.handle(), error)) {
        file.remove();
        return tr("Non si può creare il file %1: %2").arg(QDir::toNativeSeparators(path), error);
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.remove();
        return tr("Non si può creare il file %1.").arg(QDir::toNativeSeparators(path));
    }
    file.close();
    Switch(name);
    return {};
}

QString ProfileSet::Rename(const QString& from, const QString& to) {
    const QString found = from.isEmpty() ? QString() : Find(from);
    if (found.isEmpty()) {
        return tr("Il profilo %1 non si può rinominare.").arg(Shown(from));
    }
    if (QString problem = SameName(found, to) ? platform::ProfileNameProblem(to) : NewNameProblem(to);
        !problem.isEmpty()) {
        return problem;
    }
    if (to == found) {
        return {};  // nothing to rename
    }
    const bool wasActive = SameName(found, Active()) && CommandLineFile().isEmpty();
    if (!QFile::rename(PathOf(found), PathOf(to))) {
        return tr("Il file %1 non si può rinominare.").arg(QDir::toNativeSeparators(PathOf(found)));
    }
    if (userChoice == PathOf(found)) {
        userChoice = PathOf(to);
    }
    if (SameName(platform::ReadActiveProfile(), found)) {
        platform::WriteActiveProfile(to);  // the remembered choice follows its file
    }
    if (wasActive && userChoice) {
        Load(PathOf(to));  // still the window's, still not remembered
    } else if (wasActive) {
        Switch(to);
    }
    return {};
}

QString ProfileSet::Trash(const QString& name) {
    const QString found = name.isEmpty() ? QString() : Find(name);
    if (found.isEmpty()) {
        return tr("Il profilo %1 non si può eliminare.").arg(Shown(name));
    }
    const bool wasActive = SameName(found, Active()) && CommandLineFile().isEmpty();
    if (!platform::MoveToTrash(PathOf(found))) {
        return tr("Il file %1 non si può spostare nel cestino.").arg(QDir::toNativeSeparators(PathOf(found)));
    }
    if (userChoice == PathOf(found)) {
        userChoice = QString();  // the default is the user's choice once theirs has gone
    }
    if (wasActive && userChoice) {
        Load(*std::exchange(userChoice, std::nullopt));  // the window's profile went: the user's is back
    } else if (wasActive) {
        Switch({});
    }
    return {};
}

QString ProfileSet::Find(const QString& name) {
    const QStringList names = Names();
    const auto found =
        std::find_if(names.cbegin(), names.cend(), [&name](const QString& n) { return SameName(n, name); });
    return found == names.cend() ? QString() : *found;
}

QString ProfileSet::NewNameProblem(const QString& name) {
    if (QString problem = platform::ProfileNameProblem(name); !problem.isEmpty()) {
        return problem;
    }
    if (DefaultsName(name) || !Find(name).isEmpty()) {
        return tr("Esiste già un profilo di nome %1.").arg(name);
    }
    return {};
}
