#include "app/RunFolder.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>

// Elevated, as every run under Wine is, the folder's access list is read
// back as Administrators and SYSTEM alone, protected from the temporary
// folder's; Wine does not enforce it, so only the list itself is shown.
TEST(RunFolder, AnElevatedRunsFolderIsAdministratorsAndSystemsAlone)
{
    CreateDirectoryA("D:\\temp", nullptr);
    {
        RunFolder folder;
        ASSERT_TRUE(folder.create("D:\\temp\\"));
        PACL list = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_EQ(GetNamedSecurityInfoA(folder.path(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                        nullptr, &list, nullptr, &descriptor),
                  static_cast<DWORD>(ERROR_SUCCESS));
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        GetSecurityDescriptorControl(descriptor, &control, &revision);
        EXPECT_TRUE(control & SE_DACL_PROTECTED);
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->AceCount, 2);
        for (WORD index = 0; index < list->AceCount; ++index) {
            ACCESS_ALLOWED_ACE *entry = nullptr;
            ASSERT_TRUE(GetAce(list, index, reinterpret_cast<void **>(&entry)));
            EXPECT_EQ(entry->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
            PSID sid = &entry->SidStart;
            EXPECT_TRUE(IsWellKnownSid(sid, index == 0 ? WinBuiltinAdministratorsSid : WinLocalSystemSid));
        }
        LocalFree(descriptor);
    }
    // Removed with the object, through a handle.
    EXPECT_TRUE(RemoveDirectoryA("D:\\temp"));
}
