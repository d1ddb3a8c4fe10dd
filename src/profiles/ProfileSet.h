#pragma once
// The profile in force on the pad shown: one of the profile folder's (ProfileStore), or the default
// one, the map that the usual search finds. The one in force is the map file that platform::MapFile
// names; the user's choice is remembered in the settings, never in a map. Every way of switching ends
// in Switch, which loads the map and tells whoever shows it.

#include "profiles/ProfileStore.h"
#include "profiles/WindowProfiles.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

class ProfileSet final : public QObject {
    Q_OBJECT
public:
    // Restores the remembered profile unless a map was given on the command line; a remembered profile
    // that has gone leaves the default in force and a notice in Notice(). A profile the command line put
    // in force that the settings do not hold is said on standard error, and by Describe().
    explicit ProfileSet(QObject* parent = nullptr);

    // For --profiles: a line a profile, the default first, "* " before the remembered choice; then how
    // many files were left out for their names (ProfileStore::LeftOut).
    static QString Listing();
    // The profile in force: its name, empty for the default; empty too while CommandLineFile() is set.
    QString Active() const;
    // The map given with --map (or by a later launch) while it is in force; empty otherwise.
    QString CommandLineFile() const;
    // The profile after the active one in the order of Switch's menu: the default, then Names(),
    // round again after the last.
    QString Next() const;

    // The one switch: the profile's file becomes the map (the default: the search's), is loaded over the
    // defaults (an entry that is no number reads as its default, whichever map was before), is
    // remembered, and Switched tells it, saying so when it cannot be remembered. False (nothing
    // changed) for a profile that does not exist.
    bool Switch(const QString& name);
    // The window in front changed (its WM_CLASS names): the first profile whose own file lists one of
    // them in [Profili] Finestre is put in force as Switch would, without being remembered; when none
    // does, the map the user chose is back.
    void FollowWindow(const QStringList& classes);
    // A later launch's --map: the file becomes the map the user chose, which the window in front hands
    // back when it changes. Not loaded here, nor remembered.
    void UseMapFile(const QString& file);
    // Creates the profile as a copy of the map in force and switches to it. Empty, or why not.
    QString Create(const QString& name);
    // Renames a profile; the active one stays active under its new name. Empty, or why not.
    QString Rename(const QString& from, const QString& to);
    // Moves a profile's file to the desktop's trash (never deletes it); the default cannot go. When it
    // was active the default takes over. Empty, or why not.
    QString Trash(const QString& name);

    // The map in force, for the user: "Profilo NAME", saying so when its file cannot be read, when the
    // window in front chose it, or when the next start will not find it; or the command line's file.
    QString Describe() const;
    // The fallback at start, until the first switch; else empty.
    QString Notice() const { return notice; }

signals:
    // After every switch, with Describe() to show; byWindow when the window in front made it.
    void Switched(const QString& notice, bool byWindow);

private:
    // Puts the map file in force (empty: the search's), loads it and tells it.
    void Load(const QString& file, bool byWindow = false);
    // Tells the map in force through Switched.
    void Tell(bool byWindow);

    QString notice;
    WindowProfiles windows;
    // While the window in front chose the profile: the map file the user chose, to come back to.
    std::optional<QString> userChoice;
    // While the user's choice cannot be remembered: the profile the next start takes instead.
    std::optional<QString> nextStart;
};
