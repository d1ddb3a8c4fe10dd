#pragma once
// The profile folder: the profiles there are, each a file in Corvane.ini's format in
// $XDG_CONFIG_HOME/corvane/profili/ named NAME.ini, where their files are and how their names compare.
// Which profile is in force is not the folder's: each pad has its own (ProfileSet for the pad shown).

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <optional>

class ProfileStore {
    Q_DECLARE_TR_FUNCTIONS(ProfileSet)

public:
    // $XDG_CONFIG_HOME/corvane/profili (under ~/.config when unset).
    static QString Directory();
    // "Predefinito": how the default profile, the empty name, is shown.
    static QString DefaultName();

    // The profiles on disk in name order, without regard to case; of names equal but for case, the
    // first file only. The default is not among them, nor a file named as the default is shown.
    static QStringList Names();
    // How many files in the folder no name reaches, their names not being UTF-8.
    static qsizetype NotUtf8();
    // How many NAME.ini files in the folder, hidden ones aside, have a NAME the name rules refuse (too
    // long, an invisible character): none of them is a profile.
    static qsizetype Refused();
    // What the menus and --profiles say of the files left out, NotUtf8() and Refused(): a line for
    // each that is not none.
    static QStringList LeftOut();
    // The profile of that name without regard to case, as its file spells it; the empty name for
    // DefaultName(); nothing when there is none.
    static std::optional<QString> Lookup(const QString& name);
    // A name for the user: the profile's, DefaultName() for the empty one.
    static QString Shown(const QString& name);
    // The file of a profile; empty for the default.
    static QString PathOf(const QString& name);
    // False when the profile's file is there but cannot be read as a map (it reads as no map).
    static bool Readable(const QString& name);
    // The profile after that one in the order of the menus: the default, then Names(), round again
    // after the last.
    static QString After(const QString& name);

    // The profile a file of the folder is, by its file name; empty when it is none.
    static QString NameOfFile(const QString& file);
    // Two names of one profile: without regard to case, in one normal form.
    static bool SameName(const QString& a, const QString& b);
    // The name as spelled on disk of the profile equal to name, or empty.
    static QString Find(const QString& name);
    // Why another profile cannot take that name, or empty.
    static QString NewNameProblem(const QString& name);
};
