#include "maker/PrivateFileSecurity.h"

#include "toolkit/KernelHandles.h"

bool PrivateFileSecurity::build()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    const FileHandle tokenOwner(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    if (size == 0)
        return false;
    user_.assign(size, 0);
    if (!GetTokenInformation(token, TokenUser, user_.data(), size, &size))
        return false;
    PSID user = reinterpret_cast<TOKEN_USER *>(user_.data())->User.Sid;

    const DWORD listSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(user);
    accessList_.assign(listSize, 0);
    PACL list = reinterpret_cast<PACL>(accessList_.data());
    if (!InitializeAcl(list, listSize, ACL_REVISION) || !AddAccessAllowedAce(list, ACL_REVISION, FILE_ALL_ACCESS, user) ||
        !InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor_, TRUE, list, FALSE) ||
        !SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED))
        return false;
    attributes_.nLength = sizeof attributes_;
    attributes_.lpSecurityDescriptor = &descriptor_;
    attributes_.bInheritHandle = FALSE;
    return true;
}
