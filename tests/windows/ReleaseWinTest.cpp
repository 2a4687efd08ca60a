// What Windows reads from the program's executable: the version resource and
// the manifest carry the build's one version, as the version dialog does.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "base/Version.h"
#include "storage/File_win.h"

using namespace Brisvane;

namespace {

std::wstring versionString(const std::vector<BYTE>& block, const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || length == 0) {
        return L"(none)";
    }
    return static_cast<const wchar_t*>(value);
}

} // namespace

TEST(Release, ExecutableCarriesTheBuildsVersion) {
    const std::wstring exe = dataFolder() + L"app\\Tackaroon notes.exe";
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &handle);
    ASSERT_GT(size, 0u) << "the executable has a version resource";
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    const DWORD high = MAKELONG(TACKAROON_VERSION_MINOR, TACKAROON_VERSION_MAJOR);
    const DWORD low = MAKELONG(0, TACKAROON_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    EXPECT_EQ(versionString(block, L"FileVersion"), versionText);
    EXPECT_EQ(versionString(block, L"ProductVersion"), versionText);
    EXPECT_EQ(versionString(block, L"ProductName"), L"Tackaroon notes");
    EXPECT_EQ(versionString(block, L"FileDescription"), L"Tackaroon notes");
    EXPECT_EQ(versionString(block, L"OriginalFilename"), L"Tackaroon notes.exe");
    EXPECT_NE(versionString(block, L"LegalCopyright").find(L"Brisvane Software"), std::wstring::npos);

    // The manifest's assembly version is the same, with a fourth part of 0.
    HMODULE image =
        LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(image, nullptr);
    HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr) << "the executable has its manifest";
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(image, found)));
    std::string manifest(bytes, SizeofResource(image, found));
    FreeLibrary(image);
    EXPECT_NE(manifest.find("name=\"Brisvane.TackaroonNotes\" version=\"" TACKAROON_VERSION_TEXT ".0\""),
              std::string::npos)
        << manifest.substr(0, 300);
}
