#include "app/AdministratorsOnlyAccess.h"
#include "app/RunFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

// Wine keeps no access list on a file or folder (it answers one made from
// the Unix mode bits, and enforces none), so the list is read back from the
// descriptor an elevated run's folder is created with: Administrators and
// SYSTEM alone, inherited, protected from the temporary folder's.
TEST(RunFolder, AnElevatedRunsFolderIsAdministratorsAndSystemsAlone)
{
    AdministratorsOnlyAccess access;
    ASSERT_TRUE(access.build());
    PSECURITY_DESCRIPTOR descriptor = access.attributes()->lpSecurityDescriptor;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL list = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted));
    ASSERT_TRUE(present && list);
    ASSERT_EQ(list->AceCount, 2);
    for (WORD index = 0; index < list->AceCount; ++index) {
        ACCESS_ALLOWED_ACE *entry = nullptr;
        ASSERT_TRUE(GetAce(list, index, reinterpret_cast<void **>(&entry)));
        EXPECT_EQ(entry->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        EXPECT_EQ(entry->Header.AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
        EXPECT_TRUE(IsWellKnownSid(&entry->SidStart, index == 0 ? WinBuiltinAdministratorsSid : WinLocalSystemSid));
    }

    // Made with it, and removed through a handle with the object.
    CreateDirectoryA("D:\\temp", nullptr);
    {
        RunFolder folder;
        ASSERT_TRUE(folder.create("D:\\temp\\"));
    }
    EXPECT_TRUE(RemoveDirectoryA("D:\\temp"));
}
