#pragma once
// The profiles as menu entries, for the main window's "Profilo" menu and the tray's: the default
// first, then the profiles by name with a check on the one in force; each entry switches.

#include <QString>

#include <functional>

class ProfileSet;
class QMenu;

// What an entry does with the profile it names.
using SceltaProfilo = std::function<void(const QString& nome)>;

// How many profiles a menu lists before "Altri…", which offers them all in a list that scrolls.
inline constexpr int ProfiliNelMenu = 20;

// The profiles in force on the pad shown.
void AggiungiProfili(QMenu& menu, ProfileSet& profili);
// The profiles of any pad: attivo is checked, an entry hands its name to scegli; with a --map file, that
// file is listed first and checked.
void AggiungiProfili(QMenu& menu, const QString& attivo, const SceltaProfilo& scegli,
                     const QString& file = {});
