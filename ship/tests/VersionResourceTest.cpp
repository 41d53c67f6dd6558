// Every shipped module, read back from build/bin as Windows reads it: the release's
// version, the product name and a Japanese file description.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <windows.h>

namespace {

const char* const SHIPPED_MODULES[] = {
    "Keelwork.dll",  "Ledgerkit.dll", "Inkwell.dll", "Panekind.dll", "Fernhold.exe",
#ifdef FERN_HAS_UPDATER
    "FRNUpdate.exe",
#endif
};

struct VersionBlock {
    std::vector<char> data;

    std::wstring Text(const wchar_t* name) const
    {
        std::wstring path = std::wstring(L"\\StringFileInfo\\041104b0\\") + name;
        wchar_t* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
            !value)
            return L"<missing>";
        return value;
    }
};

bool ReadVersionBlock(const char* file, VersionBlock& block)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(file, &ignored);
    if (size == 0) return false;
    block.data.resize(size);
    return GetFileVersionInfoA(file, 0, size, block.data.data()) != 0;
}

} // namespace

TEST(VersionResource, EveryShippedModuleCarriesTheRelease)
{
    for (const char* module : SHIPPED_MODULES) {
        SCOPED_TRACE(module);
        VersionBlock block;
        ASSERT_TRUE(ReadVersionBlock(module, block));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(
            VerQueryValueW(block.data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(13, 1));
        EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(13, 1));
        bool program = std::string(module).find(".exe") != std::string::npos;
        EXPECT_EQ(fixed->dwFileType, program ? DWORD(VFT_APP) : DWORD(VFT_DLL));

        EXPECT_EQ(block.Text(L"FileVersion"), L"1.13");
        EXPECT_EQ(block.Text(L"ProductVersion"), L"1.13");
        EXPECT_EQ(block.Text(L"ProductName"), L"Fernhold");
        std::wstring file(module, module + strlen(module));
        EXPECT_EQ(block.Text(L"OriginalFilename"), file);

        // Japanese: at least one kana or kanji, which a description mangled by a wrong
        // code page would have lost.
        std::wstring description = block.Text(L"FileDescription");
        bool japanese = false;
        for (wchar_t c : description)
            japanese |= c >= 0x3040 && c <= 0x9FFF;
        EXPECT_TRUE(japanese) << "FileDescription has no Japanese text";
    }
}
