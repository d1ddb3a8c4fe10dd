#pragma once
// The profiles as menu entries, for the main window's "Profilo" menu and the tray's: the default
// first, then the profiles by name with a check on the one in force; each entry switches.

class ProfileSet;
class QMenu;

// How many profiles a menu lists before "Altri…", which offers them all in a list that scrolls.
inline constexpr int ProfiliNelMenu = 20;

void AggiungiProfili(QMenu& menu, ProfileSet& profili);
