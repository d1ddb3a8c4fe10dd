#pragma once
// Runs the scope it lives in as the user nobody, on a file tree given to nobody first: root reads any
// file and writes into a read-only folder, and CI runs as root. Real, effective and saved ids change
// together (access() checks the real one); root stays the saved id, to come back to at the end. Run by
// an ordinary user it changes nothing. Only what root owns is given: files of others stay theirs.
// Nobody is then a member of SharedGroup and of no group of root's.

#include <QString>
#include <sys/types.h>
#include <vector>

class UnprivilegedUser {
public:
    static constexpr uid_t Nobody = 65534;
    static constexpr uid_t OtherUser = 4242;       // someone else sharing a group with nobody
    static constexpr gid_t SharedGroup = 4242;     // nobody's second group
    static constexpr gid_t StrangersGroup = 4343;  // a group nobody is not in

    explicit UnprivilegedUser(const QString& tree);
    ~UnprivilegedUser();
    UnprivilegedUser(const UnprivilegedUser&) = delete;
    UnprivilegedUser& operator=(const UnprivilegedUser&) = delete;

private:
    bool switched_;
    std::vector<gid_t> rootGroups_;
};
