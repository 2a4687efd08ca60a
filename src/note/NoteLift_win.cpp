// A sticky brought forward for the user: by "show all" until the next
// activity, or by its reminder until a click or Esc in it. And the bell and
// tip that tell a reminder is set.
#include "note/NoteLift_win.h"

#include <array>

#include "groups/RuleEngine.h"
#include "note/ButtonPress_win.h"
#include "note/Note_win.h"
#include "note/NoteHost_win.h"
#include "storage/Reminder_win.h"

namespace Brisvane {

namespace {

constexpr UINT flashPeriod = 500;
// Title colour changes of one reminder: three seconds of flashing.
constexpr int flashCount = 6;
constexpr UINT zOrderOnly = SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE;

void CALLBACK flashTick(HWND window, UINT, UINT_PTR id, DWORD) {
    auto* note = reinterpret_cast<Note*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!note || note->flashesLeft <= 0 || note->lifted != Note::Lift::reminder) {
        KillTimer(window, id);
        if (note) {
            note->flashesLeft = 0;
            SendMessageW(note->titleEdit, EM_SETBKGNDCOLOR, 0,
                         themeColour(note->themeColours, L"title-background"));
        }
        return;
    }
    --note->flashesLeft;
    const wchar_t* colour = note->flashesLeft % 2 ? L"title-active" : L"title-background";
    SendMessageW(note->titleEdit, EM_SETBKGNDCOLOR, 0, themeColour(note->themeColours, colour));
}

std::wstring localDateTime(const CivilTime& at) {
    const SYSTEMTIME time = systemTimeOf(at);
    wchar_t date[80] = {};
    wchar_t clock[80] = {};
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 80, nullptr);
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &time, nullptr, clock, 80);
    return std::wstring(date) + L" " + clock;
}

} // namespace

void NoteLift::lift(Lift kind) {
    if (!note_.window || !note_.app) {
        return;
    }
    // A reminder outranks "show all": its lift ends only by the user's hand.
    if (note_.lifted != Lift::reminder) {
        note_.lifted = kind;
    }
    Brisvane::setRuleExempt(*note_.app, note_, true, true);
    note_.setFold(note_.document.flag("fold"), false, true);
    note_.applyOpacityFactor(1.0f);
    if (note_.lifted == Lift::reminder) {
        note_.setZOrderLevel(note_.zOrderRequest);
        note_.flashesLeft = flashCount;
        SetTimer(note_.window, flashTimerId, flashPeriod, flashTick);
        FLASHWINFO flash{sizeof flash, note_.window, FLASHW_ALL, flashCount, 0};
        FlashWindowEx(&flash);
    } else if (!note_.isAlwaysOnTop()) {
        // In front of every other window, without keeping the topmost band.
        SetWindowPos(note_.window, HWND_TOPMOST, 0, 0, 0, 0, zOrderOnly);
        SetWindowPos(note_.window, HWND_NOTOPMOST, 0, 0, 0, 0, zOrderOnly);
    }
    InvalidateRect(note_.window, nullptr, FALSE);
}

void NoteLift::drop(bool clicked) {
    if (note_.lifted == Lift::none || !note_.window) {
        return;
    }
    note_.lifted = Lift::none;
    if (clicked && note_.document.flag("fold")) {
        note_.setFold(false, note_.ruleFold, true);
    }
    note_.setFold(note_.document.flag("fold"), note_.ruleFold, true);
    note_.applyOpacityFactor(note_.ruleOpacityFactor);
    note_.setZOrderLevel(note_.zOrderRequest);
    // The active sticky stays out of the rules until it loses activation.
    if (note_.app && GetActiveWindow() != note_.window) {
        Brisvane::setRuleExempt(*note_.app, note_, false, true);
    }
    InvalidateRect(note_.window, nullptr, FALSE);
}

void NoteLift::noticeInput(UINT message, WPARAM wParam) {
    if (isButtonPress(message)) {
        drop(true);
    } else if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        drop(false);
    }
}

void NoteLift::showReminderBell() {
    const bool wanted = readReminder(note_.document.json).has_value();
    if (!note_.titleEdit || wanted == note_.bellShown) {
        return;
    }
    note_.bellShown = wanted;
    // The same on both sides, so that the centred title stays centred.
    const int margin = wanted ? note_.titleHeight() : 0;
    SendMessageW(note_.titleEdit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
    InvalidateRect(note_.titleEdit, nullptr, TRUE);
}

LRESULT NoteLift::paintTitleWithBell(HWND title, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallWindowProcW(note_.titleEditProc, title, WM_PAINT, wParam, lParam);
    RECT client;
    GetClientRect(title, &client);
    const int side = std::min<int>(client.bottom, note_.titleHeight());
    if (side < 6) {
        return result;
    }
    // A bell: a dome widening to its rim, and the clapper below.
    constexpr std::array<std::array<float, 2>, 9> outline{{{0.50f, 0.12f},
                                                           {0.63f, 0.18f},
                                                           {0.69f, 0.33f},
                                                           {0.71f, 0.55f},
                                                           {0.84f, 0.72f},
                                                           {0.16f, 0.72f},
                                                           {0.29f, 0.55f},
                                                           {0.31f, 0.33f},
                                                           {0.37f, 0.18f}}};
    const int top = (client.bottom - side) / 2;
    std::array<POINT, outline.size()> points{};
    for (std::size_t i = 0; i < outline.size(); ++i) {
        points[i] = {static_cast<LONG>(outline[i][0] * side), static_cast<LONG>(top + outline[i][1] * side)};
    }
    ScopedWindowDC dc(title);
    UniqueBrush ink(CreateSolidBrush(themeColour(note_.themeColours, L"title-color")));
    if (!dc.get() || !ink) {
        return result;
    }
    UniqueRegion bell(CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING));
    if (bell) {
        FillRgn(dc.get(), bell.get(), ink.get());
    }
    const int radius = std::max(1, side / 10);
    const int cx = side / 2;
    const int cy = top + static_cast<int>(0.80f * side);
    UniqueRegion clapper(CreateEllipticRgn(cx - radius, cy - radius, cx + radius + 1, cy + radius + 1));
    if (clapper) {
        FillRgn(dc.get(), clapper.get(), ink.get());
    }
    return result;
}

std::wstring NoteLift::reminderTip() const {
    std::optional<Reminder> reminder = readReminder(note_.document.json);
    if (!reminder || !note_.app) {
        return {};
    }
    std::wstring tip =
        note_.app->lookupText("reminder.label", L"Reminder:") + L" " + localDateTime(reminder->at);
    if (reminder->repeat != Repeat::none) {
        tip +=
            L", " + note_.app->lookupText(repeatTextKey(reminder->repeat), repeatEnglish(reminder->repeat));
    }
    return tip;
}

} // namespace Brisvane
