// Starts the real program from a scratch data folder and talks to it as the
// system would.
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "app/TackaroonNotes_win.h"
#include "base/UniqueHandle_win.h"
#include "storage/File_win.h"
#include "storage/Json.h"
#include "storage/TextCodec.h"

using namespace Brisvane;
using Brisvane::testing::readBytes;
using Brisvane::testing::TempFolder;
using Brisvane::testing::writeBytes;

namespace {

std::wstring programPath() {
    return dataFolder() + L"app\\Tackaroon notes.exe";
}

UniqueKernel startProgram(const std::wstring& exe) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "CreateProcessW failed: " << GetLastError();
        return UniqueKernel();
    }
    CloseHandle(process.hThread);
    return UniqueKernel(process.hProcess);
}

HWND waitForMainWindow(HANDLE process) {
    for (int i = 0; i < 400; ++i) {
        if (HWND window = FindWindowW(mainWindowClassName, applicationTitle)) {
            return window;
        }
        if (WaitForSingleObject(process, 25) == WAIT_OBJECT_0) {
            break;
        }
    }
    return nullptr;
}

DWORD waitForExit(HANDLE process, DWORD milliseconds) {
    if (WaitForSingleObject(process, milliseconds) != WAIT_OBJECT_0) {
        TerminateProcess(process, 99);
        return STILL_ACTIVE;
    }
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return code;
}

Json readSettings(const std::wstring& path) {
    std::string bytes = readBytes(path);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    return parseJson(std::string_view(bytes).substr(bytes.size() >= 3 ? 3 : 0));
}

struct Program : ::testing::Test {
    TempFolder temp;
    std::wstring exe;

    void SetUp() override {
        ASSERT_TRUE(isFile(programPath())) << "the program is built beside the tests";
        exe = temp.path() + L"Tackaroon notes.exe";
        ASSERT_TRUE(CopyFileW(programPath().c_str(), exe.c_str(), FALSE));
    }

    // Starts the program, waits for its window, closes it the way the system does
    // and returns the exit code.
    DWORD runAndClose() {
        UniqueKernel process = startProgram(exe);
        if (!process) {
            return STILL_ACTIVE;
        }
        HWND window = waitForMainWindow(process.get());
        EXPECT_NE(window, nullptr) << "the main window appears";
        EXPECT_FALSE(IsWindowVisible(window)) << "the main window stays hidden";
        PostMessageW(window, WM_CLOSE, 0, 0);
        return waitForExit(process.get(), 15000);
    }
};

} // namespace

TEST_F(Program, SecondInstanceEndsAtOnceAndCloseWritesSettings) {
    UniqueKernel first = startProgram(exe);
    ASSERT_TRUE(first);
    HWND window = waitForMainWindow(first.get());
    ASSERT_NE(window, nullptr);

    UniqueKernel second = startProgram(exe);
    ASSERT_TRUE(second);
    EXPECT_EQ(waitForExit(second.get(), 10000), 0u) << "a second instance exits with 0 at once";
    EXPECT_EQ(FindWindowW(mainWindowClassName, applicationTitle), window) << "the first instance stays";

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(waitForExit(first.get(), 15000), 0u);

    Json settings = readSettings(temp.path() + L"settings.json");
    ASSERT_TRUE(settings.is_object());
    EXPECT_TRUE(settings["language"].is_string());
    EXPECT_EQ(settings["autoSave"]["elapse"], 5);
    EXPECT_EQ(settings["font"]["size"], 16);
    ASSERT_TRUE(settings["group"].is_array());
    EXPECT_EQ(settings["group"].size(), 13u) << "no settings file: the default groups are installed";
    EXPECT_EQ(settings["group"][0]["name"], "${name0}");
}

TEST_F(Program, KeepsStoredValuesAndUnknownMembers) {
    writeBytes(
        temp.path() + L"settings.json",
        "\xEF\xBB\xBF{\"language\": \"English\", \"font\": {\"size\": 22}, \"trash\": {\"deadline\": -1},"
        " \"window\": {\"margin\": {\"left\": -4}}, \"mine\": {\"kept\": [1, \"\xE4\xBB\x98\"]}}");
    EXPECT_EQ(runAndClose(), 0u);

    Json settings = readSettings(temp.path() + L"settings.json");
    ASSERT_TRUE(settings.is_object());
    EXPECT_EQ(settings["font"]["size"], 22);
    EXPECT_EQ(settings["trash"]["deadline"], -1);
    EXPECT_EQ(settings["window"]["margin"]["left"], 0);
    EXPECT_EQ(settings["mine"]["kept"][1], "\xE4\xBB\x98");
    EXPECT_EQ(settings["group"], Json::array()) << "a readable file gets no default groups";
    EXPECT_EQ(settings["tooltip"]["autoPopup"], 10000);
}

TEST_F(Program, UnreadableSettingsFallBackToDefaults) {
    writeBytes(temp.path() + L"settings.json", "\xFF\xFE{\x00}\x00");
    EXPECT_EQ(runAndClose(), 0u);
    Json settings = readSettings(temp.path() + L"settings.json");
    ASSERT_TRUE(settings.is_object());
    EXPECT_EQ(settings["group"].size(), 13u);
    EXPECT_EQ(settings["magnet"]["monitor"]["x"], 30);
}

TEST(ApplicationObject, SavesSettingsIntoItsOwnFolder) {
    TempFolder temp;
    {
        TackaroonNotes app(temp.path());
        ASSERT_TRUE(app.loadSettings());
        EXPECT_EQ(app.settings["group"].size(), 13u);
        EXPECT_EQ(app.lookupText("menu.titlebar.new", L"fallback").empty(), false);
        app.settings["autoSave"]["available"] = false;
        app.markSettingsChanged();
        EXPECT_FALSE(app.settingsDirty) << "with auto-save off nothing is recorded";
        app.settings["autoSave"]["available"] = true;
        app.markSettingsChanged();
        EXPECT_TRUE(app.settingsDirty);
        EXPECT_TRUE(app.saveSettings());
    }
    Json settings = readSettings(temp.path() + L"settings.json");
    EXPECT_EQ(settings["autoSave"]["available"], true);
}

TEST_F(Program, CloseAsSoonAsTheWindowExistsEndsAndSaves) {
    // A user quitting at once, or a session ending while the program starts.
    for (int run = 0; run < 3; ++run) {
        DeleteFileW((temp.path() + L"settings.json.unreadable").c_str());
        writeBytes(temp.path() + L"settings.json", std::string("\xFF\xFE{\0}\0", 6));
        UniqueKernel process = startProgram(exe);
        ASSERT_TRUE(process);
        HWND window = nullptr;
        for (DWORD start = GetTickCount(); !window && GetTickCount() - start < 10000;) {
            window = FindWindowW(mainWindowClassName, applicationTitle);
        }
        ASSERT_NE(window, nullptr);
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(waitForExit(process.get(), 15000), 0u) << "run " << run;
        EXPECT_TRUE(readSettings(temp.path() + L"settings.json").is_object()) << "run " << run;
        EXPECT_EQ(readBytes(temp.path() + L"settings.json.unreadable"), std::string("\xFF\xFE{\0}\0", 6));
    }
}

TEST(ApplicationObject, CloseDuringStartUpWaitsForItsEnd) {
    TempFolder temp;
    TackaroonNotes app(temp.path());
    HINSTANCE instance = GetModuleHandleW(nullptr);
    ASSERT_TRUE(TackaroonNotes::registerMainWindowClass(instance));
    HWND window = app.createMainWindow(instance);
    ASSERT_NE(window, nullptr);
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window)) << "nothing is saved or destroyed half-way";
    ASSERT_TRUE(app.startUp());
    MSG message;
    for (DWORD start = GetTickCount(); IsWindow(window) && GetTickCount() - start < 10000;) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
    EXPECT_FALSE(IsWindow(window)) << "the close is carried out once start-up is done";
    EXPECT_TRUE(readSettings(temp.path() + L"settings.json").is_object());
}
