// The main program refuses to start unless Keelwork.dll says a ProductVersion of at least 1.0;
// it carries the release's version like every shipped module.
#include <Keelwork/TobjectBase.h>

#include <gtest/gtest.h>

#include <vector>
#include <windows.h>

TEST(VersionResource, ProductVersionIsTheRelease)
{
    HINSTANCE dll = TobjectBase::GetDllHandle();
    ASSERT_NE(dll, nullptr);
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(dll, path, MAX_PATH), 0u);

    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, info.data()));

    char* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\041104b0\\ProductVersion",
                               reinterpret_cast<void**>(&value), &length));
    EXPECT_STREQ(value, "1.13");
}
