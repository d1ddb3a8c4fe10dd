#pragma once
// Reading a small file of the user's without ever waiting on it: a named pipe, a device or a folder in
// its place, or a file far larger than it should be, must not hold the program before its window.

#include <QByteArray>
#include <QString>

namespace platform {

struct RegularFile {
    enum class Status {
        Read,        // bytes holds the whole file
        Missing,     // no such file
        NotRegular,  // a folder, a named pipe, a device, ...
        Unreadable,  // no permission, or a read error
        TooLarge,    // larger than the limit asked for: not read
    };
    Status status = Status::Missing;
    QByteArray bytes;
};

// Opens path without blocking and checks the open descriptor (a check of the path before the open could
// be outrun), then reads at most maxBytes + 1 bytes of it.
RegularFile ReadRegularFile(const QString& path, qint64 maxBytes);

}  // namespace platform
