// Global hotkeys as the main window receives them, the combinations another
// program holds, and a reminder falling due while the program runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "AppFixture.h"
#include "StoredNotes.h"
#include "dialogs/DialogIds.h"
#include "dialogs/Dialogs_win.h"
#include "note/RichEdit_win.h"
#include "storage/Reminder.h"

using namespace Brisvane;
using namespace Brisvane::testing;

namespace {

// What the main window gets from Windows for each command's hotkey.
void pressHotkey(TackaroonNotes& app, HotkeyCommand command) {
    SendMessageW(app.mainWindow, WM_HOTKEY, 1 + static_cast<int>(command),
                 MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_F9));
    pumpMessages(100);
}

Note* newestNote(const TackaroonNotes& app, std::size_t before) {
    auto all = app.allStickies();
    return all.size() == before + 1 ? static_cast<Note*>(all.back()) : nullptr;
}

bool putTextOnClipboard(const std::wstring& text) {
    if (!OpenClipboard(nullptr)) {
        return false;
    }
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (memory) {
        memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(memory);
        SetClipboardData(CF_UNICODETEXT, memory);
    }
    CloseClipboard();
    return memory != nullptr;
}

std::wstring itemText(HWND dialog, int id) {
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

} // namespace

TEST(QuickAccess, HotkeysMakeStickiesAtTheCursorAndFromTheClipboard) {
    AppFixture fixture;
    fixture.storeSettings(R"({"language": "English"})");
    fixture.storeNote(guidA, noteAt(100, "Here already"));
    fixture.start();
    TackaroonNotes& app = *fixture.app;
    ASSERT_TRUE(app.heldHotkey(HotkeyCommand::newSticky));

    SetCursorPos(500, 300);
    pressHotkey(app, HotkeyCommand::newSticky);
    Note* made = newestNote(app, 1);
    ASSERT_NE(made, nullptr);
    RECT r = rectOf(made->window);
    EXPECT_TRUE(r.left <= 500 && 500 < r.right && r.top <= 300 && 300 < r.bottom) << r.left << "," << r.top;
    EXPECT_EQ(app.groupGuidOfSticky(made->guid), app.groupGuidAt(0));
    EXPECT_EQ(GetAncestor(GetFocus(), GA_ROOT), made->window);

    ASSERT_TRUE(putTextOnClipboard(L"Captured from anywhere"));
    pressHotkey(app, HotkeyCommand::newFromClipboard);
    Note* captured = newestNote(app, 2);
    ASSERT_NE(captured, nullptr);
    EXPECT_EQ(editText(captured->bodyEdit, 100), L"Captured from anywhere");

    // While a modal window of the system menu is up, the hotkeys wait.
    app.modalOpen = true;
    pressHotkey(app, HotkeyCommand::newSticky);
    app.modalOpen = false;
    EXPECT_EQ(app.stickyCount(), 3u);
}

TEST(QuickAccess, ATakenCombinationIsReportedAndTheOthersWork) {
    // Another holder of the new-sticky combination, there before the program.
    ASSERT_TRUE(RegisterHotKey(nullptr, 77, MOD_CONTROL | MOD_ALT | MOD_NOREPEAT, VK_F9));
    AppFixture fixture;
    fixture.storeSettings(R"({"language": "English", "hotkey": {"showAll": "Win+Hyper+S"}})");
    fixture.start();
    TackaroonNotes& app = *fixture.app;
    EXPECT_FALSE(app.heldHotkey(HotkeyCommand::newSticky));
    EXPECT_EQ(app.heldHotkey(HotkeyCommand::newFromClipboard), parseHotkey("Ctrl+Alt+F10"));
    EXPECT_FALSE(app.heldHotkey(HotkeyCommand::showAll)); // not understood: off, and kept

    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(generalSettingsDialogId),
                                     nullptr, generalSettingsDialogProc, dialogParameter(app));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(itemText(dialog, IDC_SETTINGS_HOTKEY_FRAME), L"Keyboard shortcuts");
    EXPECT_EQ(itemText(dialog, IDC_SETTINGS_HOTKEY_STATUS), L"Used by another program");
    EXPECT_EQ(itemText(dialog, IDC_SETTINGS_HOTKEY_STATUS + 1), L"");
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(dialog, IDC_SETTINGS_HOTKEY), GWL_STYLE) & WS_TABSTOP);

    // Another combination, free: the note goes, and OK registers it.
    SendDlgItemMessageW(dialog, IDC_SETTINGS_HOTKEY, HKM_SETHOTKEY,
                        MAKEWORD(VK_F7, HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_SETTINGS_HOTKEY, EN_CHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_SETTINGS_HOTKEY)));
    EXPECT_EQ(itemText(dialog, IDC_SETTINGS_HOTKEY_STATUS), L"");
    // Backspace in a field turns its shortcut off.
    SendDlgItemMessageW(dialog, IDC_SETTINGS_HOTKEY + 3, WM_KEYDOWN, VK_BACK, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    DestroyWindow(dialog);
    EXPECT_EQ(hotkeyText(app.settings, HotkeyCommand::newSticky), "Ctrl+Shift+F7");
    EXPECT_EQ(app.heldHotkey(HotkeyCommand::newSticky), parseHotkey("Ctrl+Shift+F7"));
    EXPECT_EQ(hotkeyText(app.settings, HotkeyCommand::showAll), "Win+Hyper+S");
    EXPECT_EQ(hotkeyText(app.settings, HotkeyCommand::search), "");
    EXPECT_FALSE(app.heldHotkey(HotkeyCommand::search));
    UnregisterHotKey(nullptr, 77);
}

TEST(QuickAccess, ADueReminderBringsItsStickyForwardUntilEsc) {
    AppFixture fixture;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const CivilTime next =
        civilFromMinutes(civilMinutes({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute}) + 1);
    fixture.storeSettings(R"({"language": "English"})");
    fixture.storeNote(guidA, R"({"title": "Call back", "window": {"fold": true, "opacity": 0.4, "position":
        {"left": 100, "top": 100, "width": 200, "height": 150}}, "reminder": {"at": ")" +
                                 formatCivilTime(next) + R"(", "repeat": "none"}})");
    fixture.start();
    Note* note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    const int folded = heightOf(note->window);
    EXPECT_LT(folded, 60);
    EXPECT_EQ(alphaOf(note->window), 102);
    EXPECT_TRUE(note->bellShown);

    // Due at the next full minute: its one timer fires then.
    for (int waited = 0; waited < 65000 && note->lifted == Note::Lift::none; waited += 200) {
        pumpMessages(200);
    }
    ASSERT_EQ(note->lifted, Note::Lift::reminder);
    pumpMessages(200);
    EXPECT_EQ(alphaOf(note->window), 255);
    EXPECT_GT(heightOf(note->window), 100);
    EXPECT_TRUE(exStyleOf(note->window) & WS_EX_TOPMOST);
    EXPECT_FALSE(readReminder(note->document.json)) << "a one-time reminder is gone once it fired";
    EXPECT_FALSE(note->bellShown);

    SendMessageW(note->bodyEdit, WM_KEYDOWN, VK_ESCAPE, 0);
    pumpMessages(200);
    EXPECT_EQ(note->lifted, Note::Lift::none);
    EXPECT_EQ(heightOf(note->window), folded);
    EXPECT_EQ(alphaOf(note->window), 102);
    EXPECT_FALSE(exStyleOf(note->window) & WS_EX_TOPMOST);
}

TEST(QuickAccess, ShowAllLiftsEveryStickyUntilAKeyIsPressed) {
    AppFixture fixture;
    fixture.storeSettings(R"({"language": "English"})");
    fixture.storeNote(guidA, R"({"window": {"fold": true, "position": {"left": 100, "top": 100, "width": 200,
        "height": 150}}})");
    fixture.storeNote(guidB,
                      R"({"window": {"opacity": 0.4, "position": {"left": 400, "top": 100, "width": 200,
        "height": 150}}})");
    fixture.start();
    fixture.app->registerForInput();
    Note* folded = fixture.note(guidA);
    Note* faint = fixture.note(guidB);
    ASSERT_TRUE(folded && faint);
    const int foldedHeight = heightOf(folded->window);

    SendMessageW(fixture.app->mainWindow, WM_HOTKEY, 1 + static_cast<int>(HotkeyCommand::showAll),
                 MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_F11));
    pumpMessages(200);
    EXPECT_GT(heightOf(folded->window), 100);
    EXPECT_EQ(alphaOf(faint->window), 255);

    // The next key pressed anywhere ends it. (Wine hands raw input only to
    // the program in front, so a sticky takes the foreground first.)
    SetForegroundWindow(faint->window);
    pumpMessages(100);
    INPUT key[2]{};
    key[0].type = INPUT_KEYBOARD;
    key[0].ki.wVk = 'A';
    key[1] = key[0];
    key[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(2, key, sizeof(INPUT)), 2u);
    for (int waited = 0; waited < 2000 && folded->lifted != Note::Lift::none; waited += 100) {
        pumpMessages(100);
    }
    EXPECT_EQ(heightOf(folded->window), foldedHeight);
    EXPECT_EQ(alphaOf(faint->window), 102);
}
