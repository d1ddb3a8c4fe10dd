#include "profiles/ProfileSet.h"

#include "keymap/Generale.h"
#include "platform/desktop/MapFile.h"
#include "platform/desktop/ProfileName.h"
#include "platform/desktop/Settings.h"
#include "platform/desktop/Trash.h"
#include "platform/files/FileAccess.h"
#include "platform/files/ProfileReader.h"
#include "platform/files/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

// The profile the settings hold, as the next start finds it: the default when they hold none, or one
// that has gone.
QString RememberedProfile() {
    return ProfileStore::Lookup(platform::ReadActiveProfile()).value_or(QString());
}

// The profile the next start takes when it is not this one.
std::optional<QString> NextStartBesides(const QString& name) {
    const QString remembered = RememberedProfile();
    return remembered == name ? std::nullopt : std::optional(remembered);
}

}  // namespace

ProfileSet::ProfileSet(QObject* parent) : QObject(parent) {
    if (!platform::ChosenMapFile().isEmpty()) {
        // --map FILE for this run, or --profile NAME, which the launch remembered before any window. When
        // it could not, the terminal it was typed in hears it too: the window may stay hidden.
        const QString active = Active();
        nextStart = active.isEmpty() ? std::nullopt : NextStartBesides(active);
        if (nextStart) {
            std::fputs(qPrintable(tr("corvane: il profilo %1 non è ricordato: al prossimo avvio vale il "
                                     "profilo %2.\n")
                                      .arg(active, ProfileStore::Shown(*nextStart))),
                       stderr);
        }
        return;
    }
    const QString remembered = platform::ReadActiveProfile();
    if (remembered.isEmpty()) {
        return;
    }
    const QString name = ProfileStore::Find(remembered);
    if (name.isEmpty()) {
        notice = tr("Il profilo \"%1\" non c'è più: vale il profilo %2.")
                     .arg(remembered, ProfileStore::DefaultName());
        return;
    }
    platform::SetMapFile(ProfileStore::PathOf(name));
}

QString ProfileSet::Active() const {
    const QFileInfo chosen(platform::ChosenMapFile());
    if (chosen.filePath().isEmpty() ||
        chosen.absolutePath() != QDir(ProfileStore::Directory()).absolutePath()) {
        return {};
    }
    return ProfileStore::NameOfFile(chosen.fileName());
}

QString ProfileSet::CommandLineFile() const {
    return Active().isEmpty() ? platform::ChosenMapFile() : QString();
}

QString ProfileSet::Next() const {
    // From a --map file the round starts again at the default.
    return CommandLineFile().isEmpty() ? ProfileStore::After(Active()) : QString();
}

bool ProfileSet::Switch(const QString& name) {
    const QString found = name.isEmpty() ? QString() : ProfileStore::Find(name);
    if (!name.isEmpty() && found.isEmpty()) {
        return false;
    }
    userChoice.reset();
    // In force first, remembered after: the settings file's write may wait on the disk. Told once both
    // are done, so that a choice the next start will not find is said with it.
    platform::SetMapFile(ProfileStore::PathOf(found));
    Generale::CaricaMappaNuova();
    nextStart = platform::ReadActiveProfile() == found || platform::WriteActiveProfile(found)
                    ? std::nullopt
                    : NextStartBesides(found);
    Tell(false);
    return true;
}

void ProfileSet::FollowWindow(const QStringList& classes) {
    if (const std::optional<QString> chosen = windows.For(classes)) {
        if (!userChoice) {
            userChoice = platform::ChosenMapFile();
        }
        if (platform::ChosenMapFile() != ProfileStore::PathOf(*chosen)) {
            Load(ProfileStore::PathOf(*chosen), true);
        }
    } else if (userChoice) {
        QString file = *std::exchange(userChoice, std::nullopt);
        if (QFileInfo(file).absolutePath() == QDir(ProfileStore::Directory()).absolutePath() &&
            !QFileInfo::exists(file)) {
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
    Tell(byWindow);
}

void ProfileSet::Tell(bool byWindow) {
    notice.clear();
    emit Switched(Describe(), byWindow);
}

QString ProfileSet::Listing() {
    const QString active = RememberedProfile();
    QString lines;
    for (const QString& name : QStringList{QString()} + ProfileStore::Names()) {
        lines += (name == active ? QStringLiteral("* ") : QStringLiteral("  ")) + ProfileStore::Shown(name) +
                 (ProfileStore::Readable(name) ? QString() : tr(" (non si può leggere)")) + u'\n';
    }
    for (const QString& leftOut : ProfileStore::LeftOut()) {
        lines += leftOut + u'\n';
    }
    return lines;
}

QString ProfileSet::Describe() const {
    const QString file = CommandLineFile();
    if (!file.isEmpty()) {
        return tr("Mappa %1").arg(QDir::toNativeSeparators(file));
    }
    const QString active = Active();
    if (!ProfileStore::Readable(active)) {
        return tr("Profilo %1: il file non si può leggere, valgono i valori predefiniti.")
            .arg(ProfileStore::Shown(active));
    }
    if (userChoice) {
        return tr("Profilo %1, per la finestra in primo piano").arg(ProfileStore::Shown(active));
    }
    if (nextStart && *nextStart != active) {
        return tr("Profilo %1, non ricordato: al prossimo avvio vale %2")
            .arg(ProfileStore::Shown(active), ProfileStore::Shown(*nextStart));
    }
    return tr("Profilo %1").arg(ProfileStore::Shown(active));
}

QString ProfileSet::Create(const QString& name) {
    if (QString problem = ProfileStore::NewNameProblem(name); !problem.isEmpty()) {
        return problem;
    }
    const QString path = ProfileStore::PathOf(name);
    if (!QDir().mkpath(ProfileStore::Directory())) {
        return tr("Non si può creare la cartella %1.")
            .arg(QDir::toNativeSeparators(ProfileStore::Directory()));
    }
    // A copy of the map in force (one that cannot be read gives an empty file, read as it was read);
    // without any map, of the commented example; without that, empty. Never over a file standing there.
    const QString inForce = platform::MapFile();
    const QString source = inForce.isEmpty() ? platform::ExampleMapPath() : inForce;
    const QByteArray bytes =
        source.isEmpty() ? QByteArray() : platform::ProfileReader::ReadBytes(source).value_or(QByteArray());
    // A private map's copy stays private: who may read it is settled before a byte is in it. Written
    // whole, so that a copy refused halfway (a full disk, a file-size limit) lists as no profile.
    QString error;
    if (!platform::CreateWhole(
            path, bytes,
            [&source](int descriptor, QString& why) {
                return source.isEmpty() || platform::KeepAccessOfCopy(source, descriptor, why);
            },
            error)) {
        return tr("Non si può creare il file %1: %2").arg(QDir::toNativeSeparators(path), error);
    }
    Switch(name);
    return {};
}

QString ProfileSet::Rename(const QString& from, const QString& to) {
    const QString found = from.isEmpty() ? QString() : ProfileStore::Find(from);
    if (found.isEmpty()) {
        return tr("Il profilo %1 non si può rinominare.").arg(ProfileStore::Shown(from));
    }
    if (QString problem = ProfileStore::SameName(found, to) ? platform::ProfileNameProblem(to)
                                                            : ProfileStore::NewNameProblem(to);
        !problem.isEmpty()) {
        return problem;
    }
    if (to == found) {
        return {};  // nothing to rename
    }
    const bool wasActive = ProfileStore::SameName(found, Active()) && CommandLineFile().isEmpty();
    if (!QFile::rename(ProfileStore::PathOf(found), ProfileStore::PathOf(to))) {
        return tr("Il file %1 non si può rinominare.")
            .arg(QDir::toNativeSeparators(ProfileStore::PathOf(found)));
    }
    if (userChoice == ProfileStore::PathOf(found)) {
        userChoice = ProfileStore::PathOf(to);
    }
    if (ProfileStore::SameName(platform::ReadActiveProfile(), found)) {
        platform::WriteActiveProfile(to);  // the remembered choice follows its file
    }
    if (wasActive && userChoice) {
        Load(ProfileStore::PathOf(to));  // still the window's, still not remembered
    } else if (wasActive) {
        Switch(to);
    }
    return {};
}

QString ProfileSet::Trash(const QString& name) {
    const QString found = name.isEmpty() ? QString() : ProfileStore::Find(name);
    if (found.isEmpty()) {
        return tr("Il profilo %1 non si può eliminare.").arg(ProfileStore::Shown(name));
    }
    const bool wasActive = ProfileStore::SameName(found, Active()) && CommandLineFile().isEmpty();
    if (!platform::MoveToTrash(ProfileStore::PathOf(found))) {
        return tr("Il file %1 non si può spostare nel cestino.")
            .arg(QDir::toNativeSeparators(ProfileStore::PathOf(found)));
    }
    if (userChoice == ProfileStore::PathOf(found)) {
        userChoice = QString();  // the default is the user's choice once theirs has gone
    }
    if (wasActive && userChoice) {
        Load(*std::exchange(userChoice, std::nullopt));  // the window's profile went: the user's is back
    } else if (wasActive) {
        Switch({});
    }
    return {};
}
