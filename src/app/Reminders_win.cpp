// Reminders of the stickies: one main-window timer for the nearest one,
// looked at again after sleep, clock and time-zone changes and whenever a
// sticky arrives; the reminder dialog and what a due reminder does.
#include <algorithm>
#include <utility>
#include <vector>

#include "app/TackaroonNotes_win.h"
#include "dialogs/Dialogs_win.h"
#include "dialogs/ReminderDialog_win.h"
#include "note/Note_win.h"
#include "storage/Reminder.h"
#include "storage/Reminder_win.h"

namespace Brisvane {

namespace {

// The timer is set for at most this long and then looks again, so that a
// clock that drifted or slept is caught without a poll per sticky.
constexpr std::int64_t longestWaitSeconds = 3600;
// While a modal window holds the stickies a due reminder waits this long.
constexpr UINT modalRetryMilliseconds = 2000;
// Between 1601-01-01 (file times) and 1970-01-01, in 100-nanosecond units.
constexpr std::int64_t unixEpochFileTime = 116444736000000000;

// The system's time zone with the rules of each year, read once per year.
class LocalTimeZone : public TimeZone {
public:
    int offsetMinutesAt(std::int64_t utcMinutes) const override {
        const CivilTime civilUtc = civilFromMinutes(utcMinutes);
        SYSTEMTIME utc = systemTimeOf(civilUtc);
        SYSTEMTIME local{};
        const TIME_ZONE_INFORMATION* zone = rulesOf(civilUtc.year);
        if (!zone || !SystemTimeToTzSpecificLocalTime(zone, &utc, &local)) {
            return 0;
        }
        const CivilTime civil{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute};
        return static_cast<int>(civilMinutes(civil) - utcMinutes);
    }

private:
    const TIME_ZONE_INFORMATION* rulesOf(int year) const {
        for (const auto& [known, rules] : years_) {
            if (known == year) {
                return &rules;
            }
        }
        TIME_ZONE_INFORMATION rules{};
        if (!GetTimeZoneInformationForYear(static_cast<USHORT>(year), nullptr, &rules) &&
            GetTimeZoneInformation(&rules) == TIME_ZONE_ID_INVALID) {
            return nullptr;
        }
        years_.emplace_back(year, rules);
        return &years_.back().second;
    }

    mutable std::vector<std::pair<int, TIME_ZONE_INFORMATION>> years_;
};

std::int64_t nowSeconds() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const std::int64_t ticks = (static_cast<std::int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (ticks - unixEpochFileTime) / 10000000;
}

CivilTime localNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
}

} // namespace

void TackaroonNotes::scheduleReminderCheck() {
    if (!reminderCheckPosted_ && mainWindow) {
        reminderCheckPosted_ = PostMessageW(mainWindow, WM_CHECK_REMINDERS, 0, 0) != FALSE;
    }
}

void TackaroonNotes::checkReminders() {
    if (!mainWindow) {
        return;
    }
    KillTimer(mainWindow, TIMER_REMINDER);
    if (modalOpen) {
        SetTimer(mainWindow, TIMER_REMINDER, modalRetryMilliseconds, nullptr);
        return;
    }
    const LocalTimeZone zone;
    const std::int64_t now = nowSeconds();
    std::vector<Note*> notes;
    std::vector<Reminder> reminders;
    for (Sticky* sticky : allStickies()) {
        auto* note = static_cast<Note*>(sticky);
        note->lifter.showReminderBell();
        if (std::optional<Reminder> reminder = readReminder(note->document.json)) {
            notes.push_back(note);
            reminders.push_back(*reminder);
        }
    }
    ReminderCheck check = Brisvane::checkReminders(reminders, now, zone);
    for (std::size_t index : check.due) {
        fireReminder(*notes[index], now);
        // A repeating one moved on; it may be the nearest now.
        if (std::optional<Reminder> next = readReminder(notes[index]->document.json)) {
            const std::int64_t due = utcMinutesOf(next->at, zone) * 60;
            check.nextDueSeconds = std::min(check.nextDueSeconds.value_or(due), due);
        }
    }
    if (check.nextDueSeconds) {
        const std::int64_t wait =
            std::clamp<std::int64_t>(*check.nextDueSeconds - now, 1, longestWaitSeconds);
        SetTimer(mainWindow, TIMER_REMINDER, static_cast<UINT>(wait * 1000), nullptr);
    }
}

void TackaroonNotes::fireReminder(Note& note, std::int64_t nowSeconds) {
    std::optional<Reminder> reminder = readReminder(note.document.json);
    if (!reminder) {
        return;
    }
    if (writeReminder(note.document.json, afterFiring(*reminder, nowSeconds, LocalTimeZone()))) {
        note.markChanged(SaveJson);
    }
    note.lifter.showReminderBell();
    note.lifter.lift(Note::Lift::reminder);
    showNotification(lookupText("reminder.label", L"Reminder:") + L" " + noteTitle(note), note.guid);
}

void TackaroonNotes::openReminderDialog(const std::wstring& noteGuid) {
    auto* note = static_cast<Note*>(stickyByGuid(noteGuid));
    if (modalOpen || !note) {
        return;
    }
    ReminderRequest request(*this);
    request.current = readReminder(note->document.json);
    // Offered: an hour from now, on the minute.
    request.suggested = civilFromMinutes(civilMinutes(localNow()) + 60);
    enterModal();
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(reminderDialogId), nullptr,
                    reminderDialogProc, reinterpret_cast<LPARAM>(&request));
    leaveModal();
    // The sticky may have gone while the dialog was open. It had the keyboard
    // before, and has it again (every sticky was disabled when the dialog went).
    note = static_cast<Note*>(stickyByGuid(noteGuid));
    if (!note) {
        return;
    }
    SetForegroundWindow(note->window);
    if (request.outcome == ReminderRequest::Outcome::cancelled) {
        return;
    }
    std::optional<Reminder> chosen;
    if (request.outcome == ReminderRequest::Outcome::set) {
        chosen = request.chosen;
    }
    if (writeReminder(note->document.json, chosen)) {
        note->markChanged(SaveJson);
    }
    note->lifter.showReminderBell();
    checkReminders();
}

} // namespace Brisvane
