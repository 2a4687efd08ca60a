#include <gtest/gtest.h>

#include "TempFolder.h"
#include "storage/File_win.h"

using namespace Brisvane;
using Brisvane::testing::readBytes;
using Brisvane::testing::TempFolder;
using Brisvane::testing::writeBytes;

namespace {

ErrorCode readFileText(const std::wstring& path, std::wstring& text) {
    return readTextFileAt(path, text);
}

struct FileLayer : ::testing::Test {
    TempFolder temp;
    std::wstring at(const std::wstring& name) const { return temp.path() + name; }
    ErrorCode readWith(const std::string& bytes, std::wstring& text) {
        writeBytes(at(L"in.txt"), bytes);
        return readFileText(at(L"in.txt"), text);
    }
};

} // namespace

TEST_F(FileLayer, ReaderRefusesWideAndSevenBitMarks) {
    std::wstring text = L"left over";
    EXPECT_EQ(readWith("\xFE\xFF\x00\x41", text), errorReadFault);
    EXPECT_EQ(readWith("\xFF\xFE\x41\x00", text), errorReadFault);
    EXPECT_EQ(readWith(std::string("\xFF\xFE\x00\x00", 4), text), errorReadFault);
    EXPECT_EQ(readWith(std::string("\x00\x00\xFE\xFF", 4), text), errorReadFault);
    for (char fourth : {'8', '9', '+', '/'}) {
        EXPECT_EQ(readWith(std::string("+/v") + fourth + "abc", text), errorReadFault) << fourth;
    }
    // "+/v" followed by anything else is plain text.
    EXPECT_EQ(readWith("+/vA", text), errorSuccess);
    EXPECT_EQ(text, L"+/vA");
}

TEST_F(FileLayer, ReaderDecodesUtf8AfterMarkAndShiftJisWithout) {
    std::wstring text;
    EXPECT_EQ(readWith("\xEF\xBB\xBF", text), errorSuccess);
    EXPECT_EQ(text, L"");
    EXPECT_EQ(readWith("", text), errorSuccess);
    EXPECT_EQ(text, L"");
    EXPECT_EQ(readWith("\xEF\xBB\xBF\xE4\xBB\x98\xE7\xAE\x8B", text), errorSuccess);
    EXPECT_EQ(text, L"付箋");
    EXPECT_EQ(readWith("\x93\xFA\x96\x7B\x8C\xEA", text), errorSuccess);
    EXPECT_EQ(text, L"日本語");
    EXPECT_EQ(readWith(std::string("\xEF\xBB\xBFkept\0dropped", 15), text), errorSuccess);
    EXPECT_EQ(text, L"kept");
    EXPECT_EQ(readWith("a\r\nb\rc\nd", text), errorSuccess);
    EXPECT_EQ(text, L"a\nb\rc\nd");
}

TEST_F(FileLayer, ReaderReportsMissingFile) {
    std::wstring text;
    EXPECT_EQ(readFileText(at(L"missing.json"), text), static_cast<ErrorCode>(ERROR_FILE_NOT_FOUND));
}

TEST_F(FileLayer, WriterPutsMarkAndCreatesMissingFolders) {
    std::wstring path = at(L"notes\\0f\\deeper\\note.json");
    ASSERT_EQ(writeTextFile(path, L"{\"title\": \"付箋\"}"), errorSuccess);
    EXPECT_EQ(readBytes(path), "\xEF\xBB\xBF{\"title\": \"\xE4\xBB\x98\xE7\xAE\x8B\"}");
    std::wstring text;
    EXPECT_EQ(readFileText(path, text), errorSuccess);
    EXPECT_EQ(text, L"{\"title\": \"付箋\"}");
    EXPECT_TRUE(isFile(path));
    EXPECT_FALSE(isFile(at(L"notes\\0f")));
    EXPECT_FALSE(isFile(at(L"notes\\nothing")));
    EXPECT_FALSE(pathExists(path + L".saving")) << "no temporary file may stay behind";
}

TEST_F(FileLayer, WriterReplacesExistingContentWhole) {
    std::wstring path = at(L"settings.json");
    ASSERT_EQ(writeTextFile(path, std::wstring(5000, L'x')), errorSuccess);
    ASSERT_EQ(writeTextFile(path, L"short"), errorSuccess);
    EXPECT_EQ(readBytes(path), "\xEF\xBB\xBFshort");
}

TEST_F(FileLayer, PathsBeyondTheOldLimitWork) {
    std::wstring path = temp.path();
    while (path.size() < 300) {
        path += L"a-folder-name-of-some-forty-characters-xyz\\";
    }
    path += L"note.json";
    ASSERT_GT(path.size(), static_cast<size_t>(MAX_PATH));
    ASSERT_EQ(writeTextFile(path, L"long"), errorSuccess);
    std::wstring text;
    EXPECT_EQ(readFileText(path, text), errorSuccess);
    EXPECT_EQ(text, L"long");
    EXPECT_TRUE(isFile(path));
    EXPECT_TRUE(deleteFile(path));
    EXPECT_FALSE(pathExists(path));
}

TEST_F(FileLayer, FailedWriteKeepsThePreviousFile) {
    std::wstring path = at(L"note.json");
    ASSERT_EQ(writeTextFile(path, L"precious"), errorSuccess);

    // The temporary file cannot be made: a folder stands in its place.
    ASSERT_TRUE(createFolder(path + L".saving"));
    EXPECT_NE(writeTextFile(path, L"replacement"), errorSuccess);
    EXPECT_EQ(readBytes(path), "\xEF\xBB\xBFprecious");
    ASSERT_TRUE(removeFolder(path + L".saving"));

    // The target is read-only: it cannot be replaced.
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_NE(writeTextFile(path, L"replacement"), errorSuccess);
    EXPECT_EQ(readBytes(path), "\xEF\xBB\xBFprecious");
    EXPECT_FALSE(pathExists(path + L".saving"));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileLayer, WriterReportsFolderThatCannotBeMade) {
    writeBytes(at(L"blocker"), "a file where a folder should be");
    EXPECT_EQ(writeTextFile(at(L"blocker\\inner\\note.json"), L"x"), errorCannotMake);
    EXPECT_EQ(readBytes(at(L"blocker")), "a file where a folder should be");
}

TEST_F(FileLayer, FolderPrimitives) {
    std::wstring folder = at(L"box");
    ASSERT_TRUE(createFolder(folder));
    ASSERT_EQ(writeTextFile(folder + L"\\a.txt", L"a"), errorSuccess);
    ASSERT_EQ(writeTextFile(folder + L"\\b.txt", L"b"), errorSuccess);
    EXPECT_FALSE(removeFolder(folder)) << "only an empty folder can be removed";

    WIN32_FIND_DATAW entry;
    int files = 0;
    UniqueFind find = findFirstFile(folder + L"\\*.txt", entry);
    ASSERT_TRUE(find);
    do {
        ++files;
    } while (findNextFile(find.get(), entry));
    EXPECT_EQ(files, 2);

    EXPECT_TRUE(moveFile(folder + L"\\a.txt", folder + L"\\c.txt"));
    EXPECT_FALSE(pathExists(folder + L"\\a.txt"));
    EXPECT_TRUE(isFile(folder + L"\\c.txt"));
    EXPECT_TRUE(deleteFile(folder + L"\\b.txt"));
    EXPECT_TRUE(deleteFile(folder + L"\\c.txt"));
    EXPECT_TRUE(removeFolder(folder));
    EXPECT_FALSE(pathExists(folder));
}

TEST_F(FileLayer, RecycleTreeRemovesTheTree) {
    std::wstring folder = at(L"trash\\0123");
    ASSERT_EQ(writeTextFile(folder + L"\\note.json", L"{}"), errorSuccess);
    EXPECT_TRUE(recycleTree(folder));
    EXPECT_FALSE(pathExists(folder));
}

TEST(DataFolder, IsTheExecutablesFolder) {
    std::wstring folder = dataFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    EXPECT_TRUE(isFile(folder + L"tackaroon_win_tests.exe"));
}
