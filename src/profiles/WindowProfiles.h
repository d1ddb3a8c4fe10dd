#pragma once
// Which profile the window in front calls for: the first profile, in name order, whose own file lists
// one of the window's classes in [Profili] Finestre. Each file is read again only when it changed, so
// a change of window costs a directory listing.

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

class WindowProfiles {
public:
    // The profile for a window of these WM_CLASS names (instance and class, any case), or none.
    std::optional<QString> For(const QStringList& classes);

private:
    struct Lista {
        QDateTime modificato;
        qint64 dimensione = -1;
        QStringList classi;  // case-folded
    };
    const QStringList& Classi(const QString& name);

    QHash<QString, Lista> liste;  // by profile name
};
