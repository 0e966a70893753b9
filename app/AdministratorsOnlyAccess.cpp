#include "app/AdministratorsOnlyAccess.h"

namespace {

bool wellKnownSid(WELL_KNOWN_SID_TYPE type, BYTE (&sid)[SECURITY_MAX_SID_SIZE])
{
    DWORD size = sizeof sid;
    return CreateWellKnownSid(type, nullptr, sid, &size) != 0;
}

} // namespace

bool AdministratorsOnlyAccess::build()
{
    const DWORD inherited = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    auto *list = reinterpret_cast<ACL *>(accessList_);
    if (!wellKnownSid(WinBuiltinAdministratorsSid, administrators_) || !wellKnownSid(WinLocalSystemSid, system_) ||
        !InitializeAcl(list, sizeof accessList_, ACL_REVISION) ||
        !AddAccessAllowedAceEx(list, ACL_REVISION, inherited, FILE_ALL_ACCESS, administrators_) ||
        !AddAccessAllowedAceEx(list, ACL_REVISION, inherited, FILE_ALL_ACCESS, system_) ||
        !InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor_, TRUE, list, FALSE) ||
        !SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED))
        return false;
    attributes_ = SECURITY_ATTRIBUTES{sizeof attributes_, &descriptor_, FALSE};
    return true;
}
