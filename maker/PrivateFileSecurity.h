#pragma once
#include <windows.h>

#include <vector>

// The security of a file only its maker may open: an access list granting the
// current user alone full access, marked protected so that nothing is
// inherited from the folder (a folder shared with Users or Everyone would
// otherwise hand them the file too). The list holds the user alone: SYSTEM
// and administrators reach the file only through their privileges (taking
// ownership, backup), not through an entry of its list.
class PrivateFileSecurity {
public:
    PrivateFileSecurity() = default;
    PrivateFileSecurity(const PrivateFileSecurity &) = delete;
    PrivateFileSecurity &operator=(const PrivateFileSecurity &) = delete;

    // False when the current user's account or the list cannot be made; the
    // file must then not be created.
    bool build();

    // For CreateFile; valid after build succeeded, while this object lives.
    SECURITY_ATTRIBUTES *attributes() { return &attributes_; }

private:
    std::vector<unsigned char> user_;
    std::vector<unsigned char> accessList_;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
};
