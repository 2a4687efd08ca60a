// A sticky from the keyboard (its window menu, moving by arrow keys, where the
// caret goes), and named for a screen reader in another process.
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

namespace {

const std::wstring guidK = L"0e0e0e0e-0000-4000-8000-00000000000e";
constexpr char windowsVariable[] = "TACKAROON_NAMED_WINDOWS";
constexpr char outputVariable[] = "TACKAROON_NAMES_OUT";

struct KeyboardSticky : ::testing::Test {
    AppFixture fixture;
    Note* note = nullptr;
    void open(const std::string& settings = "{}") {
        fixture.storeSettings(settings);
        fixture.storeNote(
            guidK,
            R"({"title": "keys", "window": {"position": {"left": 400, "top": 300, "width": 300, "height": 260}}})",
            "{\\rtf1 body\\par}");
        fixture.start();
        note = fixture.note(guidK);
        ASSERT_NE(note, nullptr);
    }
    // Alt+Space in the body, then the keys one by one as a person types them.
    static inline std::vector<WPARAM> pending;
    static inline HWND target = nullptr;
    void altSpaceThen(const std::vector<WPARAM>& keys) {
        SetFocus(note->bodyEdit);
        pending.assign(keys.rbegin(), keys.rend());
        target = note->bodyEdit;
        const UINT_PTR typist = SetTimer(nullptr, 0, 80, [](HWND, UINT, UINT_PTR, DWORD) {
            if (pending.empty()) {
                EndMenu(); // should a key go astray, the menu and the move end anyway
                ReleaseCapture();
                return;
            }
            PostMessageW(target, WM_KEYDOWN, pending.back(), 1);
            pending.pop_back();
        });
        SendMessageW(note->bodyEdit, WM_SYSCHAR, VK_SPACE, 1 << 29);
        KillTimer(nullptr, typist);
        EXPECT_TRUE(pending.empty()) << "every key was taken";
        pumpMessages(200);
    }
};

} // namespace

TEST_F(KeyboardSticky, AltSpaceThenArrowsMoveItAndEnterKeepsIt) {
    open(R"({"language": "日本語"})");
    // Wine without a window manager turns the sticky into a managed X window at
    // its first move as the active window, unmapping and mapping it again. Had
    // it the X focus (left to this process by an earlier test's sticky in
    // front), the unmap reads as the user leaving for another program: the
    // foreground goes to the desktop and the capture ends, as no move on
    // Windows would. That change is made here, before the move begins.
    SetWindowPos(note->window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    pumpMessages(200);
    const RECT before = rectOf(note->window);
    const int step = scaleToDpi(keyboardStep, note->dpi);
    // Move is the first item: Down selects it, Enter starts the move.
    altSpaceThen({VK_DOWN, VK_RETURN, VK_RIGHT, VK_RIGHT, VK_DOWN, VK_RETURN});
    const RECT after = rectOf(note->window);
    EXPECT_EQ(after.left, before.left + 2 * step);
    EXPECT_EQ(after.top, before.top + step);
    EXPECT_EQ(integerAt(note->document.json, {"window", "position", "left"}, 0), after.left) << "stored";
    // Esc puts it back where that move began.
    altSpaceThen({VK_DOWN, VK_RETURN, VK_LEFT, VK_UP, VK_ESCAPE});
    const RECT back = rectOf(note->window);
    EXPECT_TRUE(EqualRect(&back, &after));
    // Size, the second item, grows it; Fold, the third, folds it.
    altSpaceThen({VK_DOWN, VK_DOWN, VK_RETURN, VK_RIGHT, VK_RETURN});
    EXPECT_EQ(rectOf(note->window).right, after.right + step);
    altSpaceThen({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_EQ(heightOf(note->window), note->foldHeight());
}

TEST_F(KeyboardSticky, CaretGoesToTheBodyAfterUnlockUnfoldAndShow) {
    open();
    SendMessageW(note->window, WM_COMMAND, CommandLock, 0);
    EXPECT_EQ(GetFocus(), note->window) << "locked: the frame holds the keyboard";
    SendMessageW(note->window, WM_COMMAND, CommandLock, 0);
    EXPECT_EQ(GetFocus(), note->bodyEdit) << "after the unlock";
    for (const bool show : {false, true}) {
        SendMessageW(note->window, WM_COMMAND, CommandFold, 0);
        pumpMessages(200);
        SetFocus(note->window); // folded, the frame keeps it
        if (show) {
            note->showNote(); // "Show sticky" from the tray
        } else {
            SendMessageW(note->window, WM_COMMAND, CommandFold, 0);
        }
        pumpMessages(200);
        EXPECT_FALSE(note->folded);
        EXPECT_EQ(GetFocus(), note->bodyEdit) << (show ? "after Show sticky" : "after the unfold");
    }
}

TEST_F(KeyboardSticky, NamedForAReaderInAnotherProcess) {
    open(R"({"language": "日本語"})");
    const std::pair<HWND, std::wstring> cases[] = {
        {note->window, L"付箋: keys"},
        {note->newButton, L"新しい付箋"},
        {note->trashButton, L"付箋をゴミ箱へ"},
        {note->drawing.window, L"手書き"},
    };
    std::ostringstream handles;
    for (const auto& [part, name] : cases) {
        handles << reinterpret_cast<std::uintptr_t>(part) << ' ';
    }
    wchar_t exe[MAX_PATH]{};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring out = fixture.temp.path() + L"names.txt";
    SetEnvironmentVariableA(windowsVariable, handles.str().c_str());
    SetEnvironmentVariableA(outputVariable, wideToUtf8(out).c_str());
    for (const char* shard : {"GTEST_TOTAL_SHARDS", "GTEST_SHARD_INDEX", "GTEST_SHARD_STATUS_FILE"}) {
        SetEnvironmentVariableA(shard, nullptr); // the reader runs whole, not as a shard of this run
    }
    std::wstring command =
        L"\"" + std::wstring(exe) +
        L"\" --gtest_filter=SecondProcess.DISABLED_ReadsNames --gtest_also_run_disabled_tests";
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(exe, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    // This thread answers the reader's questions: it keeps pumping meanwhile.
    for (const DWORD began = GetTickCount();
         MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 200, QS_ALLINPUT) != WAIT_OBJECT_0 &&
         GetTickCount() - began < 60000;) {
        pumpMessages(0);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::ifstream raw(wideToUtf8(out), std::ios::binary);
    std::wistringstream lines(utf8ToWide(std::string(std::istreambuf_iterator<char>(raw), {})));
    for (const auto& [part, name] : cases) {
        std::wstring read;
        std::getline(lines, read);
        EXPECT_EQ(read, name);
    }

    // A new title renames the sticky.
    SendMessageW(note->window, WM_COMMAND, CommandEditTitle, 0);
    SendMessageW(note->titleEdit, EM_SETSEL, 0, -1);
    SendMessageW(note->titleEdit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"renamed"));
    wchar_t name[64]{};
    GetWindowTextW(note->window, name, 64);
    EXPECT_STREQ(name, L"付箋: renamed");
}

// Run by the test above in a process of its own: the name the system's
// accessible object gives each window (its window text), a line each.
TEST(SecondProcess, DISABLED_ReadsNames) {
    const char* handles = std::getenv(windowsVariable);
    const char* out = std::getenv(outputVariable);
    ASSERT_TRUE(handles && out);
    std::string lines;
    std::istringstream list(handles);
    for (std::uintptr_t value = 0; list >> value;) {
        HWND window = reinterpret_cast<HWND>(value);
        Microsoft::WRL::ComPtr<IAccessible> object;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        if (SUCCEEDED(CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible,
                                                reinterpret_cast<void**>(object.GetAddressOf()))) &&
            object->get_accName(self, &name) == S_OK) {
            lines += wideToUtf8(std::wstring(name, SysStringLen(name)));
            SysFreeString(name);
        }
        lines += "\n";
    }
    std::ofstream(out, std::ios::binary) << lines;
}
