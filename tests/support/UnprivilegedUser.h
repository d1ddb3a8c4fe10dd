#pragma once
// Runs the scope it lives in as the user nobody, on a file tree given to nobody first. Root reads any
// file and writes into a read-only folder, and CI runs as root, so permission faults show only this way.
// Real, effective and saved ids are changed together (access() checks the real one); root stays the
// saved id, to come back to at the end. Run by an ordinary user it changes nothing.

#include <QString>
#include <sys/types.h>
#include <vector>

class UnprivilegedUser {
public:
    explicit UnprivilegedUser(const QString& tree);
    ~UnprivilegedUser();
    UnprivilegedUser(const UnprivilegedUser&) = delete;
    UnprivilegedUser& operator=(const UnprivilegedUser&) = delete;

private:
    bool switched_;
    std::vector<gid_t> groups_;  // root's supplementary groups, given back at the end
};
