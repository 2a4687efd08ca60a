// A sticky from the keyboard (its window menu, moving by arrow keys, where the
// caret goes), for screen readers in another process, and its stored DPI.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>
#include <wrl/client.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "note/KeyboardMove.h"
#include "storage/TextCodec.h"

using namespace Brisvane;
using namespace Brisvane::testing;
using Microsoft::WRL::ComPtr;

namespace {

const std::wstring guidK = L"0e0e0e0e-0000-4000-8000-00000000000e";
constexpr char namesWindowsVariable[] = "TACKAROON_NAMED_WINDOWS";
constexpr char namesOutputVariable[] = "TACKAROON_NAMES_OUT";

struct KeyboardSticky : ::testing::Test {
    AppFixture fixture;
    Note* note = nullptr;
    void open(const std::string& window = "", const std::string& settings = "{}") {
        fixture.storeSettings(settings);
        fixture.storeNote(
            guidK,
            R"({"title": "keys", "window": {"position": {"left": 400, "top": 300, "width": 300, "height": 260})" +
                window + "}}",
            "{\\rtf1 body\\par}");
        fixture.start();
        note = fixture.note(guidK);
        ASSERT_NE(note, nullptr);
    }
    // Alt+Space in the body, then the keys one by one as a person types them,
    // into the window menu and the move that follows.
    static inline std::vector<WPARAM> pending;
    static inline HWND target = nullptr;
    void altSpaceThen(const std::vector<WPARAM>& keys) {
        SetFocus(note->bodyEdit);
        pending.assign(keys.rbegin(), keys.rend());
        target = note->bodyEdit;
        const UINT_PTR typist = SetTimer(nullptr, 0, 80, [](HWND, UINT, UINT_PTR, DWORD) {
            if (pending.empty()) {
                // Should a key go astray, the menu and the move end anyway.
                EndMenu();
                ReleaseCapture();
                return;
            }
            PostMessageW(target, WM_KEYDOWN, pending.back(), 1);
            pending.pop_back();
        });
        SendMessageW(note->bodyEdit, WM_SYSCHAR, VK_SPACE, 1 << 29);
        KillTimer(nullptr, typist);
        EXPECT_TRUE(pending.empty()) << "every key was taken";
        pumpMessages(150);
    }
};

std::wstring windowText(HWND window) {
    wchar_t text[512]{};
    GetWindowTextW(window, text, 512);
    return text;
}

} // namespace

TEST_F(KeyboardSticky, AltSpaceThenArrowsMoveItAndEnterKeepsIt) {
    open();
    const RECT before = rectOf(note->window);
    const int step = scaleToDpi(keyboardStep, note->dpi);
    // Move is the first item: Down selects it, Enter starts the move.
    altSpaceThen({VK_DOWN, VK_RETURN, VK_RIGHT, VK_RIGHT, VK_DOWN, VK_RETURN});
    RECT after = rectOf(note->window);
    EXPECT_EQ(after.left, before.left + 2 * step);
    EXPECT_EQ(after.top, before.top + step);
    EXPECT_EQ(GetCapture(), nullptr) << "the move ended";
    EXPECT_EQ(integerAt(note->data, {"window", "position", "left"}, 0), after.left) << "stored";
    EXPECT_EQ(integerAt(note->data, {"window", "position", "top"}, 0), after.top);

    // Esc puts it back where that move began.
    altSpaceThen({VK_DOWN, VK_RETURN, VK_LEFT, VK_UP, VK_ESCAPE});
    const RECT back = rectOf(note->window);
    EXPECT_TRUE(EqualRect(&back, &after));

    // Size is the second item: the arrows grow it to the right and down.
    altSpaceThen({VK_DOWN, VK_DOWN, VK_RETURN, VK_RIGHT, VK_DOWN, VK_RETURN});
    pumpMessages(200); // the layout stores the new size
    const RECT sized = rectOf(note->window);
    EXPECT_EQ(sized.right - sized.left, (after.right - after.left) + step);
    EXPECT_EQ(sized.bottom - sized.top, (after.bottom - after.top) + step);
    EXPECT_EQ(sized.left, after.left);
    EXPECT_EQ(integerAt(note->data, {"window", "position", "width"}, 0), sized.right - sized.left);
}

TEST_F(KeyboardSticky, WindowMenuFoldsAndKeepsOnTopInJapanese) {
    open("", R"({"language": "日本語"})");
    // Fold is the third item, Always on top the fourth.
    altSpaceThen({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_TRUE(booleanAt(note->data, {"window", "fold"}, false));
    EXPECT_EQ(heightOf(note->window), note->foldHeight());
    altSpaceThen({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_TRUE(booleanAt(note->data, {"window", "alwaysOnTop"}, false));
    EXPECT_TRUE(exStyleOf(note->window) & WS_EX_TOPMOST);
}

TEST_F(KeyboardSticky, CaretGoesToTheBodyAfterUnlockUnfoldAndShow) {
    open();
    SendMessageW(note->window, WM_COMMAND, CommandLock, 0);
    EXPECT_EQ(GetFocus(), note->window) << "locked: the frame holds the keyboard";
    SendMessageW(note->window, WM_COMMAND, CommandLock, 0);
    EXPECT_EQ(GetFocus(), note->bodyEdit) << "after the unlock";

    SendMessageW(note->window, WM_COMMAND, CommandFold, 0);
    pumpMessages(200);
    SendMessageW(note->window, WM_COMMAND, CommandFold, 0);
    pumpMessages(200);
    EXPECT_EQ(GetFocus(), note->bodyEdit) << "after the unfold";

    // Shown from the tray while its own frame has the focus, folded.
    SendMessageW(note->window, WM_COMMAND, CommandFold, 0);
    pumpMessages(200);
    SetFocus(note->window);
    ASSERT_EQ(GetFocus(), note->window);
    note->showNote();
    pumpMessages(200);
    EXPECT_FALSE(note->folded);
    EXPECT_EQ(GetFocus(), note->bodyEdit) << "after Show sticky";
}

TEST_F(KeyboardSticky, NamesAreReadFromAnotherProcess) {
    for (const bool japanese : {false, true}) {
        if (japanese) {
            fixture.stop();
            fixture.storeSettings(R"({"language": "日本語"})");
            fixture.start();
            note = fixture.note(guidK);
        } else {
            open("", R"({"language": "English"})");
        }
        ASSERT_NE(note, nullptr);
        const struct {
            HWND part;
            std::wstring english, japanese;
        } cases[] = {
            {note->window, L"Sticky note: keys", L"付箋: keys"},
            {note->newButton, L"New sticky", L"新しい付箋"},
            {note->trashButton, L"Move sticky to trash", L"付箋をゴミ箱へ"},
            {note->scribbleWindow, L"Drawing", L"手書き"},
        };
        std::ostringstream handles;
        for (const auto& c : cases) {
            handles << reinterpret_cast<std::uintptr_t>(c.part) << ' ';
        }
        wchar_t exe[MAX_PATH]{};
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        const std::wstring out = fixture.temp.path() + L"names.txt";
        SetEnvironmentVariableA(namesWindowsVariable, handles.str().c_str());
        SetEnvironmentVariableW(utf8ToWide(namesOutputVariable).c_str(), out.c_str());
        std::wstring command =
            L"\"" + std::wstring(exe) +
            L"\" --gtest_filter=SecondProcess.DISABLED_ReadsNames --gtest_also_run_disabled_tests";
        STARTUPINFOW startup{sizeof startup};
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessW(exe, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &process));
        // The reader's questions are answered by this thread: it keeps pumping.
        const DWORD began = GetTickCount();
        while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 200, QS_ALLINPUT) != WAIT_OBJECT_0 &&
               GetTickCount() - began < 60000) {
            pumpMessages(0);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        std::vector<std::wstring> lines;
        std::string bytes;
        {
            std::ifstream raw(wideToUtf8(out), std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(raw), {});
        }
        std::wistringstream text(utf8ToWide(bytes));
        for (std::wstring line; std::getline(text, line);) {
            lines.push_back(line);
        }
        ASSERT_EQ(lines.size(), std::size(cases) * 2) << "the reader answered";
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            const std::wstring& expected = japanese ? cases[i].japanese : cases[i].english;
            EXPECT_EQ(lines[2 * i], expected) << "window text " << i;
            EXPECT_EQ(lines[2 * i + 1], expected) << "the system's accessible name " << i;
        }
    }
    SetEnvironmentVariableA(namesWindowsVariable, nullptr);
}

// Run by the test above in a process of its own: reads each window's text and
// the name the system's accessible object gives it, one line each.
TEST(SecondProcess, DISABLED_ReadsNames) {
    const char* handles = std::getenv(namesWindowsVariable);
    const char* out = std::getenv(namesOutputVariable);
    ASSERT_TRUE(handles && out);
    CoInitialize(nullptr);
    std::string lines;
    std::istringstream list(handles);
    for (std::uintptr_t value = 0; list >> value;) {
        HWND window = reinterpret_cast<HWND>(value);
        lines += wideToUtf8(windowText(window)) + "\n";
        ComPtr<IAccessible> object;
        BSTR name = nullptr;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        if (SUCCEEDED(CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible,
                                                reinterpret_cast<void**>(object.GetAddressOf()))) &&
            object->get_accName(self, &name) == S_OK) {
            lines += wideToUtf8(std::wstring(name, SysStringLen(name)));
            SysFreeString(name);
        }
        lines += "\n";
    }
    std::ofstream(out, std::ios::binary) << lines;
    CoUninitialize();
}

TEST_F(KeyboardSticky, TitleChangeIsAnnounced) {
    open();
    static int changes = 0;
    static HWND watched = nullptr;
    changes = 0;
    watched = note->window;
    HWINEVENTHOOK hook = SetWinEventHook(
        EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
        [](HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
            if (hwnd == watched && object == OBJID_CLIENT && child == CHILDID_SELF) {
                ++changes;
            }
        },
        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    SendMessageW(note->window, WM_COMMAND, CommandEditTitle, 0);
    SendMessageW(note->titleEdit, EM_SETSEL, 0, -1);
    SendMessageW(note->titleEdit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"renamed"));
    pumpMessages(100);
    UnhookWinEvent(hook);
    EXPECT_EQ(windowText(note->window), L"Sticky note: renamed");
    EXPECT_GE(changes, 1) << "the new name is announced";
}

TEST_F(KeyboardSticky, OpensAtItsSizeOnAScreenOfAnotherDpi) {
    // Stored on a screen of half this one's density: twice the pixels here.
    const int half = scaleToDpi(48, static_cast<int>(GetDpiForSystem()));
    open(R"(, "dpi": )" + std::to_string(half));
    const RECT r = rectOf(note->window);
    EXPECT_EQ(r.right - r.left, 600);
    EXPECT_EQ(r.bottom - r.top, 520);
    EXPECT_EQ(r.left, 400) << "the position stays";
    EXPECT_EQ(integerAt(note->data, {"window", "dpi"}, 0), note->dpi);
    fixture.stop();
    EXPECT_EQ(integerAt(fixture.readNoteJson(guidK), {"window", "position", "width"}, 0), 600) << "written";
}
