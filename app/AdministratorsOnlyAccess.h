#pragma once
#include <windows.h>

// The security of a folder an elevated Kestrel makes for itself: an access
// list granting Administrators and SYSTEM alone full access, inherited by
// what is made in it and marked protected, so that nothing comes from the
// folder above (a temporary folder every program of the user may write).
class AdministratorsOnlyAccess {
public:
    AdministratorsOnlyAccess() = default;
    AdministratorsOnlyAccess(const AdministratorsOnlyAccess &) = delete;
    AdministratorsOnlyAccess &operator=(const AdministratorsOnlyAccess &) = delete;

    // False when the list cannot be made; the folder must then not be made.
    bool build();
    // For CreateDirectory; valid after build succeeded, while this lives.
    SECURITY_ATTRIBUTES *attributes() { return &attributes_; }

private:
    BYTE administrators_[SECURITY_MAX_SID_SIZE] = {};
    BYTE system_[SECURITY_MAX_SID_SIZE] = {};
    // The list's header and two entries, each a SID at most.
    BYTE accessList_[sizeof(ACL) + 2 * (sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE)] = {};
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
};
