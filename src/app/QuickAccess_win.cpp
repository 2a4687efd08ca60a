// Reaching the program from anywhere: global hotkeys for a new sticky (empty
// or from the clipboard), "show all" and the search; and the messages of the
// main window that drive them and the reminders.
#include <richedit.h>

#include <algorithm>
#include <vector>

#include "app/ShowAll.h"
#include "app/TackaroonNotes_win.h"
#include "note/Note_win.h"
#include "storage/Guid.h"
#include "storage/Language.h"
#include "storage/NoteFormat.h"

namespace Brisvane {

namespace {

// RegisterHotKey ids on the main window: 1 + the command's index.
constexpr int firstHotkeyId = 1;
constexpr UINT commandSearch = 20003;

int hotkeyId(HotkeyCommand command) {
    return firstHotkeyId + static_cast<int>(command);
}

std::optional<InputSample> readInput(HRAWINPUT handle) {
    RAWINPUT input{};
    UINT size = sizeof input;
    // Larger reports (game pads) do not fit and are no keys or clicks.
    if (GetRawInputData(handle, RID_INPUT, &input, &size, sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1)) {
        return std::nullopt;
    }
    InputSample sample;
    sample.kind = classifyRawInput(input.header.dwType);
    if (sample.kind == RawInputKind::keyboard) {
        sample.keyDown = !(input.data.keyboard.Flags & RI_KEY_BREAK);
        sample.key = input.data.keyboard.VKey;
    } else if (sample.kind == RawInputKind::mouse) {
        sample.buttonFlags = input.data.mouse.usButtonFlags;
    }
    return sample;
}

// The clipboard's RTF when it holds some, else its text, into the body.
void pasteClipboard(Note& note) {
    const UINT rtf = RegisterClipboardFormatW(L"Rich Text Format");
    const UINT format = IsClipboardFormatAvailable(rtf)              ? rtf
                        : IsClipboardFormatAvailable(CF_UNICODETEXT) ? CF_UNICODETEXT
                                                                     : 0;
    if (format == 0 || !note.bodyEdit) {
        return;
    }
    SendMessageW(note.bodyEdit, EM_PASTESPECIAL, format, 0);
    SendMessageW(note.bodyEdit, EM_SETSEL, 0, 0);
    note.markChanged(SaveText);
}

} // namespace

void TackaroonNotes::startQuickAccess() {
    registerHotkeys();
    // Not silently off: the settings dialog names which ones are taken.
    for (HotkeyCommand command : hotkeyCommands) {
        if (hotkeyFor(settings, command) && !heldHotkey(command)) {
            showNotification(lookupText("notification.hotkeysTaken",
                                        L"A keyboard shortcut is used by another program. General settings "
                                        L"shows which one."));
            break;
        }
    }
    scheduleReminderCheck();
}

void TackaroonNotes::stopQuickAccess() {
    unregisterHotkeys();
    endShowAll();
    if (mainWindow) {
        KillTimer(mainWindow, TIMER_REMINDER);
    }
}

std::optional<Hotkey> TackaroonNotes::heldHotkey(HotkeyCommand command) const {
    return heldHotkeys_[static_cast<std::size_t>(command)];
}

void TackaroonNotes::registerHotkeys() {
    unregisterHotkeys();
    if (!mainWindow) {
        return;
    }
    // One that another program holds stays off; the settings dialog tells so.
    for (HotkeyCommand command : hotkeyCommands) {
        std::optional<Hotkey> hotkey = hotkeyFor(settings, command);
        if (hotkey &&
            RegisterHotKey(mainWindow, hotkeyId(command), hotkey->modifiers | MOD_NOREPEAT, hotkey->key)) {
            heldHotkeys_[static_cast<std::size_t>(command)] = hotkey;
        }
    }
}

void TackaroonNotes::unregisterHotkeys() {
    for (HotkeyCommand command : hotkeyCommands) {
        auto& held = heldHotkeys_[static_cast<std::size_t>(command)];
        if (held && mainWindow) {
            UnregisterHotKey(mainWindow, hotkeyId(command));
        }
        held.reset();
    }
}

void TackaroonNotes::onHotkey(HotkeyCommand command, std::uint32_t key) {
    // A modal window of the system menu has the stickies; the hotkeys wait.
    if (modalOpen || !initialized) {
        return;
    }
    switch (command) {
    case HotkeyCommand::newSticky:
        newStickyAtCursor(false);
        break;
    case HotkeyCommand::newFromClipboard:
        newStickyAtCursor(true);
        break;
    case HotkeyCommand::showAll:
        showAllStickies(key);
        break;
    case HotkeyCommand::search:
        onCommand(commandSearch);
        if (searchDialog) {
            SetForegroundWindow(searchDialog);
        }
        break;
    }
}

bool TackaroonNotes::newStickyAtCursor(bool fromClipboard) {
    if (groups.empty() || stickyCount() >= MaxNotes) {
        return false;
    }
    const std::wstring noteGuid = newGuidString();
    auto note = std::make_unique<Note>(noteGuid);
    completeNoteJson(note->document.json, titleFormat(languages, settings));
    note->setGroupGuid(groupGuidAt(0));
    POINT cursor{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetCursorPos(&cursor) &&
        GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &monitor)) {
        // Its title bar under the cursor, all of it on the cursor's monitor.
        const RECT& work = monitor.rcWork;
        const auto width = integerAt(note->document.json, {"window", "position", "width"}, 240);
        const auto height = integerAt(note->document.json, {"window", "position", "height"}, 300);
        const std::int64_t left = std::clamp<std::int64_t>(
            cursor.x - width / 2, work.left, std::max<std::int64_t>(work.left, work.right - width));
        const std::int64_t top = std::clamp<std::int64_t>(
            cursor.y - 10, work.top, std::max<std::int64_t>(work.top, work.bottom - height));
        valueAt(note->document.json, {"window", "position", "left"}) = left;
        valueAt(note->document.json, {"window", "position", "top"}) = top;
    }
    Group* group = groupByGuid(note->groupGuid());
    if (!group) {
        group = groupByGuid(L"");
    }
    Note* made = note.get();
    if (!group || !openNote(std::move(note), *group, std::wstring(), true)) {
        return false;
    }
    markStickyChanged(noteGuid, SaveJson);
    markSettingsChanged();
    // The hotkey lets this program take the foreground from the one in front.
    SetForegroundWindow(made->window);
    if (fromClipboard) {
        pasteClipboard(*made);
    }
    return true;
}

void TackaroonNotes::showAllStickies(std::uint32_t hotkeyKey) {
    for (Sticky* sticky : allStickies()) {
        static_cast<Note*>(sticky)->lifter.lift(Note::Lift::shown);
    }
    showingAll_ = true;
    showAllKey_ = hotkeyKey;
}

void TackaroonNotes::endShowAll() {
    if (!showingAll_) {
        return;
    }
    showingAll_ = false;
    for (Sticky* sticky : allStickies()) {
        auto* note = static_cast<Note*>(sticky);
        if (note->lifted == Note::Lift::shown) {
            note->lifter.drop(false);
        }
    }
}

bool TackaroonNotes::quickAccessMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HOTKEY:
        for (HotkeyCommand command : hotkeyCommands) {
            if (static_cast<int>(wParam) == hotkeyId(command)) {
                onHotkey(command, HIWORD(lParam));
            }
        }
        return true;
    case WM_INPUT:
        // Looked at before activity detection, which reads it again.
        if (showingAll_) {
            std::optional<InputSample> sample = readInput(reinterpret_cast<HRAWINPUT>(lParam));
            if (sample && endsShowAll(*sample, showAllKey_)) {
                endShowAll();
            }
        }
        return false;
    case WM_TOUCH:
        endShowAll();
        return false;
    case WM_TIMER:
        if (wParam != TIMER_REMINDER) {
            return false;
        }
        checkReminders();
        return true;
    case WM_CHECK_REMINDERS:
        reminderCheckPosted_ = false;
        checkReminders();
        return true;
    case WM_TIMECHANGE:
        scheduleReminderCheck();
        return false;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) {
            scheduleReminderCheck();
        }
        return false;
    case WM_TRAYICON:
        if (LOWORD(lParam) == NIN_BALLOONUSERCLICK && !notifiedGuid_.empty()) {
            if (auto* note = static_cast<Note*>(stickyByGuid(notifiedGuid_))) {
                note->showNote();
                SetForegroundWindow(note->window);
            }
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace Brisvane
