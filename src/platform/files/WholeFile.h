#pragma once
// A file written whole or not at all: the bytes go into a temporary file in the same folder, which a
// rename then puts in place. A write refused halfway (a full disk, a file-size limit) leaves what stood
// at the path as it was, and no file cut short where a program would read it.

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace platform {

// Settles who may read the new file, an open descriptor still empty, before a byte is in it. False,
// with the reason in error, when it cannot: nothing is written then.
using SettleAccess = std::function<bool(int descriptor, QString& error)>;

// Replaces the file at path, or makes it; a symbolic link keeps pointing at its target, which is
// written. The other hard links of the old file keep the old bytes. False with the reason in error.
bool ReplaceWhole(const QString& path, QByteArrayView bytes, const SettleAccess& access, QString& error);

// Makes the file at path, never over a file that stands there, before or meanwhile. Its mode is what
// the umask leaves of 0666 until access settles it. False with the reason in error.
bool CreateWhole(const QString& path, QByteArrayView bytes, const SettleAccess& access, QString& error);

}  // namespace platform
