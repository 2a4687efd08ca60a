// "Remind me...": a date, a time and a repeat for one sticky, or its
// reminder removed.
#include "dialogs/ReminderDialog_win.h"

#include <windows.h>

#include <commctrl.h>

#include "dialogs/DialogCommon_win.h"
#include "dialogs/DialogIds.h"
#include "dialogs/Dialogs_win.h"
#include "storage/Reminder_win.h"

namespace Brisvane {

namespace {

// The user's own short time format, which has no seconds.
std::wstring shortTimeFormat() {
    wchar_t format[80] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SSHORTTIME, format, 80) > 0 && format[0] != L'\0') {
        return format;
    }
    return L"HH:mm";
}

void initialize(HWND dialog, const ReminderRequest& request) {
    const DialogHost& app = request.app;
    setDialogText(dialog, 0, app, "dialog.reminder.title", L"Reminder");
    setDialogText(dialog, IDC_REMINDER_DATE_LABEL, app, "dialog.reminder.date", L"Date", L'D');
    setDialogText(dialog, IDC_REMINDER_TIME_LABEL, app, "dialog.reminder.time", L"Time", L'T');
    setDialogText(dialog, IDC_REMINDER_REPEAT_LABEL, app, "dialog.reminder.repeat", L"Repeat", L'R');
    setDialogText(dialog, IDC_REMINDER_REMOVE, app, "dialog.reminder.remove", L"Remove reminder", L'M');
    setDialogText(dialog, IDOK, app, "dialog.ok", L"OK");
    setDialogText(dialog, IDCANCEL, app, "dialog.cancel", L"Cancel");

    const std::wstring timeFormat = shortTimeFormat();
    SendDlgItemMessageW(dialog, IDC_REMINDER_TIME, DTM_SETFORMATW, 0,
                        reinterpret_cast<LPARAM>(timeFormat.c_str()));
    SYSTEMTIME at = systemTimeOf(request.current ? request.current->at : request.suggested);
    for (int id : {IDC_REMINDER_DATE, IDC_REMINDER_TIME}) {
        SendDlgItemMessageW(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&at));
    }
    HWND repeat = GetDlgItem(dialog, IDC_REMINDER_REPEAT);
    const Repeat chosen = request.current ? request.current->repeat : Repeat::none;
    for (Repeat each : repeats) {
        const std::wstring label = app.lookupText(repeatTextKey(each), repeatEnglish(each));
        const auto index = SendMessageW(repeat, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
        if (each == chosen) {
            SendMessageW(repeat, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
    }
    EnableWindow(GetDlgItem(dialog, IDC_REMINDER_REMOVE), request.current.has_value());
}

Reminder chosenReminder(HWND dialog) {
    SYSTEMTIME date{};
    SYSTEMTIME time{};
    SendDlgItemMessageW(dialog, IDC_REMINDER_DATE, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    SendDlgItemMessageW(dialog, IDC_REMINDER_TIME, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    Reminder reminder;
    reminder.at = {date.wYear, date.wMonth, date.wDay, time.wHour, time.wMinute};
    const auto selected = SendDlgItemMessageW(dialog, IDC_REMINDER_REPEAT, CB_GETCURSEL, 0, 0);
    if (selected >= 0 && static_cast<std::size_t>(selected) < std::size(repeats)) {
        reminder.repeat = repeats[selected];
    }
    return firstOccurrence(reminder);
}

} // namespace

INT_PTR CALLBACK reminderDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* request = reinterpret_cast<ReminderRequest*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        initialize(dialog, *reinterpret_cast<ReminderRequest*>(lParam));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            request->chosen = chosenReminder(dialog);
            request->outcome = ReminderRequest::Outcome::set;
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDC_REMINDER_REMOVE:
            request->outcome = ReminderRequest::Outcome::removed;
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

} // namespace Brisvane
