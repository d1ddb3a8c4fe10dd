#pragma once
// Who may read a file of the user's stays the same when a save puts a new file in its place.

#include <QString>

namespace platform {

// Gives the open descriptor (the new file, still empty, about to replace path) the owner, group, mode,
// access list (ACL) and extended attributes of the file at path; nothing to give when there is none.
// False with the reason in error when any of them cannot be carried over: a file of another user
// (only root can give the new file to them), a group the saver is not a member of, an access list or
// an attribute the file system or the saver's rights refuse. The new file never grants more.
bool KeepAccess(const QString& path, int descriptor, QString& error);

// For a copy of the file at source into the open descriptor (a new file, still empty): the user's own
// file's access is kept as KeepAccess keeps it; another's (the system's map, the example) stays the
// user's, and is readable by no one the umask or the source would not let read it.
bool KeepAccessOfCopy(const QString& source, int descriptor, QString& error);

}  // namespace platform
