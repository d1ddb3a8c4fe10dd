#pragma once
// Runs the scope it lives in as the user nobody, on a file tree given to nobody first: root reads any
// file and writes into a read-only folder, and CI runs as root. Real, effective and saved ids change
// together (access() checks the real one); root stays the saved id, to come back to at the end. Run by
// an ordinary user it changes nothing.

#include <QString>

class UnprivilegedUser {
public:
    explicit UnprivilegedUser(const QString& tree);
    ~UnprivilegedUser();
    UnprivilegedUser(const UnprivilegedUser&) = delete;
    UnprivilegedUser& operator=(const UnprivilegedUser&) = delete;

private:
    bool switched_;
};
