#include "dialogs/EarlierVersionsDialog_win.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <commctrl.h>
#include <richedit.h>

#include "dialogs/DialogCommon_win.h"
#include "storage/History_win.h"

namespace Brisvane {

namespace {

// Shown in the list at most; the preview holds the rest.
constexpr std::size_t firstLineChars = 80;

struct VersionsState {
    EarlierVersionsRequest* request = nullptr;
    std::vector<VersionEntry> versions;
};

struct StreamSource {
    const std::string* bytes;
    std::size_t at = 0;
};

DWORD CALLBACK readSource(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    const std::size_t count =
        std::min<std::size_t>(static_cast<std::size_t>(wanted), source->bytes->size() - source->at);
    std::copy_n(source->bytes->data() + source->at, count, buffer);
    source->at += count;
    *given = static_cast<LONG>(count);
    return 0;
}

// Shows a version's text as it looked; a text that is not RTF shows as it is.
void showText(HWND preview, const std::string& rtf) {
    StreamSource source{&rtf};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, readSource};
    const bool isRtf = rtf.rfind("{\\rtf", 0) == 0;
    SendMessageW(preview, EM_STREAMIN, isRtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&stream));
}

std::wstring localTimeText(std::uint64_t utcMilliseconds) {
    const std::uint64_t ticks = utcMilliseconds * 10'000 + 116444736000000000ull;
    FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME universal{}, local{};
    if (!FileTimeToSystemTime(&utc, &universal) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
        return {};
    }
    wchar_t date[80] = {}, time[80] = {};
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 80, nullptr);
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &local, nullptr, time, 80);
    return std::wstring(date) + L" " + time;
}

std::wstring firstLine(HWND preview) {
    std::wstring text = windowText(preview);
    text = text.substr(0, std::min(text.find_first_of(L"\r\n"), firstLineChars));
    return text;
}

void addColumn(HWND list, int index, const std::wstring& title, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(title.c_str());
    column.cx = width;
    column.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

void setCell(HWND list, int item, int column, const std::wstring& text) {
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, item, reinterpret_cast<LPARAM>(&cell));
}

int selectedIndex(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_HISTORY_LIST, LVM_GETNEXTITEM,
                                                static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void showSelected(HWND dialog, VersionsState& state) {
    const int index = selectedIndex(dialog);
    const bool chosen = index >= 0 && static_cast<std::size_t>(index) < state.versions.size();
    HWND preview = GetDlgItem(dialog, IDC_HISTORY_PREVIEW);
    std::string json, text;
    if (chosen) {
        readVersion(state.request->folder, state.request->noteGuid, state.versions[index].name, json, text);
    }
    showText(preview, text);
    EnableWindow(GetDlgItem(dialog, IDC_HISTORY_RESTORE), chosen);
    EnableWindow(GetDlgItem(dialog, IDC_HISTORY_OPEN), chosen);
}

void fillList(HWND dialog, VersionsState& state) {
    HWND list = GetDlgItem(dialog, IDC_HISTORY_LIST);
    HWND preview = GetDlgItem(dialog, IDC_HISTORY_PREVIEW);
    const DialogHost& app = *state.request->host;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    RECT client{};
    GetClientRect(list, &client);
    const int width = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
    addColumn(list, 0, app.lookupText("earlierVersions.time", L"Saved"), width * 2 / 5);
    addColumn(list, 1, app.lookupText("earlierVersions.text", L"First line"), width * 2 / 5);
    addColumn(list, 2, app.lookupText("earlierVersions.size", L"Size"), width - width * 4 / 5);
    for (const VersionEntry& version : listVersions(state.request->folder, state.request->noteGuid)) {
        std::string json, text;
        // One that cannot be read now (a sync client still writing it) is left out.
        if (!readVersion(state.request->folder, state.request->noteGuid, version.name, json, text)) {
            continue;
        }
        const std::size_t i = state.versions.size();
        state.versions.push_back(version);
        showText(preview, text); // the preview turns RTF into text for the first line
        std::wstring when = localTimeText(version.time);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = when.data();
        const int at =
            static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        setCell(list, at, 1, firstLine(preview));
        setCell(list, at, 2, versionSizeText(version.size));
    }
    if (state.versions.empty()) {
        SetWindowTextW(preview, app.lookupText("earlierVersions.none",
                                               L"No earlier versions are kept of this sticky yet.")
                                    .c_str());
        EnableWindow(GetDlgItem(dialog, IDC_HISTORY_RESTORE), FALSE);
        EnableWindow(GetDlgItem(dialog, IDC_HISTORY_OPEN), FALSE);
        return;
    }
    LVITEMW select{};
    select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    select.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&select));
    showSelected(dialog, state);
}

void initialize(HWND dialog, VersionsState& state) {
    const DialogHost& app = *state.request->host;
    setDialogText(dialog, 0, app, "earlierVersions.title", L"Earlier versions");
    setDialogText(dialog, IDC_HISTORY_LIST_LABEL, app, "earlierVersions.list", L"Versions:", L'V');
    setDialogText(dialog, IDC_HISTORY_PREVIEW_LABEL, app, "earlierVersions.preview", L"Preview:", L'P');
    setDialogText(dialog, IDC_HISTORY_RESTORE, app, "earlierVersions.restore", L"Restore", L'R');
    setDialogText(dialog, IDC_HISTORY_OPEN, app, "earlierVersions.open", L"Open as new sticky", L'O');
    setDialogText(dialog, IDCANCEL, app, "earlierVersions.close", L"Close");
    HWND preview = GetDlgItem(dialog, IDC_HISTORY_PREVIEW);
    SendMessageW(preview, EM_SETEVENTMASK, 0, 0);
    fillList(dialog, state);
}

void choose(HWND dialog, VersionsState& state, int button) {
    const int index = selectedIndex(dialog);
    if (index < 0 || static_cast<std::size_t>(index) >= state.versions.size()) {
        return;
    }
    state.request->chosen = state.versions[index].name;
    EndDialog(dialog, button);
}

} // namespace

INT_PTR CALLBACK earlierVersionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    VersionsState* state = dialogState<VersionsState>(dialog);
    switch (message) {
    case WM_INITDIALOG: {
        auto made = std::make_unique<VersionsState>();
        made->request = reinterpret_cast<EarlierVersionsRequest*>(lParam);
        state = made.get();
        attachState(dialog, std::move(made));
        initialize(dialog, *state);
        // The list takes the keys: arrows choose, Enter restores, Esc closes.
        SetFocus(GetDlgItem(dialog, state->versions.empty() ? IDCANCEL : IDC_HISTORY_LIST));
        return FALSE;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (state && header->idFrom == IDC_HISTORY_LIST && header->code == LVN_ITEMCHANGED) {
            const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if ((change->uNewState ^ change->uOldState) & LVIS_SELECTED) {
                showSelected(dialog, *state);
            }
        }
        return FALSE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDC_HISTORY_RESTORE:
            if (state) {
                choose(dialog, *state, IDC_HISTORY_RESTORE);
            }
            return TRUE;
        case IDC_HISTORY_OPEN:
            if (state) {
                choose(dialog, *state, IDC_HISTORY_OPEN);
            }
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_NCDESTROY:
        releaseState<VersionsState>(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace Brisvane
