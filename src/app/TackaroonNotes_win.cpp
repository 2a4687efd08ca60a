#include "app/TackaroonNotes_win.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <objbase.h>
#include <shellapi.h>
#include <windowsx.h>

#include "app/Activity.h"
#include "app/SingleInstance_win.h"
#include "base/SystemLibrary_win.h"
#include "base/Timer_win.h"
#include "note/Geometry.h"
#include "note/Note_win.h"
#include "note/RichEdit_win.h"
#include "note/ScreenPlacement_win.h"
#include "scribble/FigureLibrary_win.h"
#include "storage/DiskState_win.h"
#include "storage/File_win.h"
#include "storage/Guid.h"
#include "storage/Language.h"
#include "storage/NoteFormat.h"
#include "storage/OutsideChange.h"
#include "storage/Resource_win.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

constexpr wchar_t settingsFileName[] = L"settings.json";

// The default groups table, or a discarded value when the resource is missing or
// broken (the settings then keep whatever groups they have).
Json defaultGroupsResource() {
    std::string bytes = loadJsonResource(resourceDefaultGroups);
    std::string_view text = bytes;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    return parseJson(text.substr(0, text.find('\0')));
}

// The document already holds the title and the body's state as they are now.
bool holdsBodyState(const Json& data, const std::string& title, const BodyState& state) {
    return stringAt(data, {"title"}, "") == title &&
           integerAt(data, {"text", "selection", "start"}, -1) == state.selectionStart &&
           integerAt(data, {"text", "selection", "end"}, -1) == state.selectionEnd &&
           integerAt(data, {"text", "scroll", "left"}, -1) == state.scrollLeft &&
           integerAt(data, {"text", "scroll", "top"}, -1) == state.scrollTop;
}

} // namespace

TackaroonNotes::TackaroonNotes(std::wstring folder)
    : AppCore(&windowTimers()), userLanguageId(userDefaultLanguageId()), folder_(std::move(folder)) {
    lastInputTime = timeGetTime();
}

TackaroonNotes::~TackaroonNotes() {
    shutDown();
    autoSaveTimer.stop();
    fullScreenTimer.stop();
}

bool TackaroonNotes::registerMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(largeIconId));
    windowClass.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(smallIconId));
    windowClass.lpszClassName = mainWindowClassName;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND TackaroonNotes::createMainWindow(HINSTANCE instance) {
    // Never shown: it only receives notifications.
    mainWindow =
        CreateWindowExW(0, mainWindowClassName, applicationTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    return mainWindow;
}

void TackaroonNotes::registerForInput() {
    const USHORT usages[] = {2, 6, 7, 4, 5, 8}; // mouse, keyboard, keypad, joystick, game pad, multi-axis
    RAWINPUTDEVICE devices[6];
    for (int i = 0; i < 6; ++i) {
        devices[i] = {1, usages[i], RIDEV_INPUTSINK, mainWindow};
    }
    RegisterRawInputDevices(devices, 6, sizeof(RAWINPUTDEVICE));
    RegisterTouchWindow(mainWindow, 0);
}

bool TackaroonNotes::startUp() {
    startupSteps = StartupSteps{};
    InitCommonControls();
    if (!loadRichEditLibrary()) {
        return false;
    }
    timerWindow = mainWindow;
    figureLibrary = loadFigureLibrary();
    // Watched before anything is read, and everything compared once soon
    // after: a sync client catching up at log-on changes files meanwhile.
    startWatching();
    loadSettings();
    watchNoteFolders();
    folderWatch_.postpone(FolderChanges{false, true, {}});
    prepareAutoSaveTimer();
    // Missing on older systems: the program then runs without game pads.
    if (!xinputModule_) {
        xinputModule_.reset(loadSystemLibrary(L"xinput1_4.dll"));
        xinputGetState_ = xinputModule_ ? GetProcAddress(xinputModule_.get(), "XInputGetState") : nullptr;
    }
    fullScreen = detectFullScreen();
    if (fullScreen) {
        applyFullScreen(*this, true);
    }
    fullScreenTimer.prepare(timers(), mainWindow, TIMER_FULLSCREEN, fullScreenPeriod, false);
    fullScreenTimer.start();
    taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
    addTrayIcon();
    startQuickAccess();
    displayNotification_ = RegisterPowerSettingNotification(mainWindow, &GUID_CONSOLE_DISPLAY_STATE,
                                                            DEVICE_NOTIFY_WINDOW_HANDLE);
    comInitialized_ = SUCCEEDED(CoInitialize(nullptr));
    purgeExpiredTrash();
    scheduleHistoryThinning(true);
    initialized = true;
    if (closeRequested_) {
        // A close that came while starting: now it can save everything.
        PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    }
    return true;
}

bool TackaroonNotes::loadSettings() {
    removeLeftoverTemporaries(folder_);
    const std::wstring path = folder_ + settingsFileName;
    std::wstring text;
    TextRead read = readTextSeen(disk_, path, text);
    bool loaded = false;
    settings = settingsFromText(read, text, loaded);
    if (mustKeepBeforeWriting(read, text, settings.is_object())) {
        keptCopies_.remember(path);
    }
    completeSettings(settings, loaded, loaded ? Json() : defaultGroupsResource(), userLanguageId);
    settingsSeen_ = settings;
    settingsRead_ = true;
    languages = loadLanguageTableResource();
    palette = loadPaletteResource();
    loadGroups();
    scanNotes();
    return true;
}

bool TackaroonNotes::saveSettings() {
    const std::wstring path = folder_ + settingsFileName;
    if (settingsElsewhere_) {
        // Nothing changed here: the version from elsewhere stays.
        if (!settingsUnsaved) {
            return true;
        }
        if (keepOutsideCopy(path).empty() && isFile(path)) {
            return false;
        }
        settingsElsewhere_ = false;
    }
    if (!writeSeen(path, utf8TextFileBytes(serializeJson(settings)))) {
        return false;
    }
    settingsUnsaved = false;
    settingsSeen_ = settings;
    return true;
}

bool TackaroonNotes::writeSeen(const std::wstring& path, std::string_view bytes) {
    if (disk_.holds(path, stampOnDisk(path), bytes)) {
        return true;
    }
    return keptCopies_.beforeWrite(path) && writeIfChanged(disk_, path, bytes) == errorSuccess;
}

std::wstring TackaroonNotes::noteFolder(const std::wstring& noteGuid) const {
    return folder_ + L"notes\\" + noteGuid + L"\\";
}

bool TackaroonNotes::scanNotes() {
    WIN32_FIND_DATAW entry;
    UniqueFind find = findFirstFile(folder_ + L"notes\\*", entry);
    if (!find) {
        if (pathExists(folder_ + settingsFileName)) {
            return false;
        }
        // First run: one sticky in the first group, in front with the focus.
        return openWelcomeSticky();
    }
    std::vector<std::wstring> names;
    do {
        std::wstring name = entry.cFileName;
        // A sync service's own folders and its conflict copies of a note's
        // folder are not notes.
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && isNoteFolderName(name)) {
            names.push_back(std::move(name));
        }
    } while (names.size() < MaxNotes && findNextFile(find.get(), entry));
    find.reset();
    for (const std::wstring& name : names) {
        // A folder holding neither file (a sync client still making it, the
        // rest of a note moved away) is no note yet.
        if (isFile(noteFolder(name) + L"note.json") || isFile(noteFolder(name) + L"text.rtf")) {
            loadNote(folder_ + L"notes\\" + name, name, std::nullopt, false);
        }
    }
    for (const std::wstring& name : names) {
        if (stickyByGuid(name)) {
            showSideVersions(name, true, {});
        }
    }
    return true;
}

bool TackaroonNotes::loadNote(const std::optional<std::wstring>& noteFolderPath, const std::wstring& noteGuid,
                              const std::optional<std::wstring>& groupGuid, bool activate) {
    if (stickyCount() >= MaxNotes) {
        return false;
    }
    std::wstring text;
    Json parsed = Json::object();
    if (noteFolderPath) {
        removeLeftoverTemporaries(*noteFolderPath);
        TextRead read = readTextSeen(disk_, *noteFolderPath + L"\\note.json", text);
        parsed = parseJson(wideToUtf8(text));
        if (mustKeepBeforeWriting(read, text, parsed.is_object())) {
            keptCopies_.remember(noteFolder(noteGuid) + L"note.json");
        }
    }
    auto note = std::make_unique<Note>(noteGuid);
    note->seenJson = parsed;
    note->data = parsed.is_object() ? std::move(parsed) : Json::object();
    const Json asRead = note->data;
    completeNoteJson(note->data, titleFormat(languages, settings));
    // What the defaults added (a title, members of a newer or older version)
    // is written at the next save, though the user changed nothing.
    note->jsonUnsaved = note->data != asRead;
    if (groupGuid) {
        note->setGroupGuid(*groupGuid);
    }
    // A group guid that names no group puts the sticky in the uncategorized group.
    Group* group = groupByGuid(note->groupGuid());
    if (!group) {
        group = groupByGuid(L"");
    }
    return group && openNote(std::move(note), *group,
                             noteFolderPath ? *noteFolderPath + L"\\text.rtf" : std::wstring(), activate);
}

bool TackaroonNotes::openNote(std::unique_ptr<Note> note, Group& group, const std::wstring& rtfPath,
                              bool activate) {
    Note* created = note.get();
    group.notes.push_back(std::move(note));
    if (!created->createWindows(this, rtfPath)) {
        group.removeSticky(created->guid);
        return false;
    }
    if (!rtfPath.empty()) {
        disk_.record(rtfPath, created->bodyStamp);
    }
    if (created->bodyLoad == BodyLoad::Unreadable || created->bodyLoad == BodyLoad::PlainText) {
        keptCopies_.remember(noteFolder(created->guid) + L"text.rtf");
    }
    if (!created->figuresReadWhole) {
        keptCopies_.remember(noteFolder(created->guid) + L"note.json");
    }
    created->setOpacity(created->storedOpacity(), group.appliedOpacity);
    created->showMade(activate);
    scheduleReminderCheck(); // it may bring a reminder
    return true;
}

bool TackaroonNotes::createNoteNextTo(const std::wstring& sourceGuid) {
    if (stickyCount() >= MaxNotes) {
        return false;
    }
    const std::wstring noteGuid = newGuidString();
    auto note = std::make_unique<Note>(noteGuid);
    completeNoteJson(note->data, titleFormat(languages, settings));
    auto* source = static_cast<Note*>(stickyByGuid(sourceGuid));
    if (source) {
        copyNoteDefaults(note->data, source->data, monitorNearest);
    }
    Group* group = groupByGuid(source ? groupGuidOfSticky(sourceGuid) : std::wstring());
    if (!group || !openNote(std::move(note), *group, std::wstring(), true)) {
        return false;
    }
    markStickyChanged(noteGuid, SaveJson);
    markSettingsChanged();
    return true;
}

std::wstring TackaroonNotes::noteTitle(const Note& note) const {
    return note.hasWindows() ? noteTitleText(note.titleEdit, note.bodyEdit) : std::wstring();
}

bool TackaroonNotes::saveNoteText(Note& note, bool atExit) {
    if (note.bodyComposing && !atExit) {
        return false;
    }
    const std::wstring path = noteFolder(note.guid) + L"text.rtf";
    if (note.hasWindows()) {
        // A body that did not load holds nothing of the file: it is not written
        // until the user changes the text.
        if (note.bodyLoad == BodyLoad::Unreadable && !note.textChanged) {
            note.unsavedFlags &= ~SaveText;
            return true;
        }
        // A text unchanged since it was read or written is what the file holds
        // (plain text read is written once in the program's own form).
        const FileStamp* last = disk_.find(path);
        if (!(note.unsavedFlags & SaveText) && note.bodyLoad != BodyLoad::PlainText && last &&
            last->present && sameOnDisk(*last, stampOnDisk(path))) {
            return true;
        }
        note.unsavedRtf = streamOutRtf(note.bodyEdit);
    }
    // Without its windows (closed by Alt+F4) a sticky writes what an earlier
    // save could not, kept until a write succeeds.
    if (!note.unsavedRtf) {
        return false;
    }
    keepBeforeWrite(note, path, *note.unsavedRtf);
    if (!writeSeen(path, *note.unsavedRtf)) {
        return false;
    }
    note.unsavedRtf.reset();
    note.unsavedFlags &= ~SaveText;
    return true;
}

bool TackaroonNotes::saveNoteJson(Note& note, bool withFigures) {
    if (note.titleComposing) {
        return false;
    }
    const std::wstring path = noteFolder(note.guid) + L"note.json";
    if (note.hasWindows()) {
        BodyState state = readBodyState(note.bodyEdit);
        std::string title = wideToUtf8(noteTitle(note));
        // Nothing unsaved and the file as last read or written: nothing to
        // rebuild, serialize or write (a close with many stickies).
        const FileStamp* last = disk_.find(path);
        if (!(note.unsavedFlags & (SaveJson | SaveFigures | SaveView)) && !note.jsonUnsaved &&
            holdsBodyState(note.data, title, state) && last && last->present &&
            sameOnDisk(*last, stampOnDisk(path))) {
            return true;
        }
        note.data["title"] = std::move(title);
        valueAt(note.data, {"text", "selection", "start"}) = static_cast<std::int64_t>(state.selectionStart);
        valueAt(note.data, {"text", "selection", "end"}) = static_cast<std::int64_t>(state.selectionEnd);
        valueAt(note.data, {"text", "scroll", "left"}) = static_cast<std::int64_t>(state.scrollLeft);
        valueAt(note.data, {"text", "scroll", "top"}) = static_cast<std::int64_t>(state.scrollTop);
        if (withFigures) {
            saveFigures(note.scribble, valueAt(note.data, {"scribble", "figure"}));
        }
        note.jsonUnsaved = true;
    }
    // Without its windows the document holds what they last showed.
    if (!note.jsonUnsaved) {
        return false;
    }
    const std::string bytes = utf8TextFileBytes(serializeJson(note.data));
    keepBeforeWrite(note, path, bytes);
    if (!writeSeen(path, bytes)) {
        return false;
    }
    note.jsonUnsaved = false;
    note.seenJson = note.data;
    note.unsavedFlags &= ~(withFigures ? SaveJson | SaveFigures | SaveView : SaveJson | SaveView);
    return true;
}

void TackaroonNotes::saveSticky(Note& note) {
    std::uint32_t failed = saveNoteText(note) ? 0 : SaveText;
    if (!saveNoteJson(note, true)) {
        failed |= SaveJson | SaveFigures;
    }
    if (failed) {
        queueFailedSave(note.guid, failed);
    }
}

bool TackaroonNotes::saveEverything() {
    // What changed elsewhere since the last look is dealt with first, so that
    // no save writes over it.
    checkEverything();
    bool saved = saveSettings();
    for (Group& group : groups) {
        for (auto& sticky : group.notes) {
            auto& note = static_cast<Note&>(*sticky);
            saved = saveNoteText(note, true) && saved;
            saved = saveNoteJson(note, true) && saved;
        }
    }
    return saved;
}

bool TackaroonNotes::saveStickyText(Sticky& sticky) {
    return saveNoteText(static_cast<Note&>(sticky));
}

bool TackaroonNotes::saveStickyJson(Sticky& sticky, bool withFigures) {
    return saveNoteJson(static_cast<Note&>(sticky), withFigures);
}

void TackaroonNotes::onTimer(UINT_PTR id) {
    if (id == TIMER_AUTOSAVE || id == TIMER_SAVE_RETRY) {
        // A change from elsewhere that has come in is dealt with before the
        // save, so that a sticky typed into forks rather than writes over it.
        checkBeforeSaving();
        if (folderWatch_.holdsChanges()) {
            // Held back by a menu or a drag: the save waits for the look.
            retryTimer.prepare(timers(), mainWindow, TIMER_SAVE_RETRY, saveRetryDelay(1), false);
            retryTimer.start();
            return;
        }
        flushAutoSave();
    } else if (id == TIMER_FOLDER_WATCH) {
        onFolderWatchTimer();
    } else if (id == TIMER_FULLSCREEN) {
        updateFullScreen(*this, detectFullScreen());
    } else {
        onRuleTimer(*this, static_cast<std::uint32_t>(id));
    }
}

LRESULT CALLBACK TackaroonNotes::mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* app = reinterpret_cast<TackaroonNotes*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!app) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return app->handleMainMessage(window, message, wParam, lParam);
}

LRESULT TackaroonNotes::handleMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (quickAccessMessage(message, wParam, lParam)) {
        return 0;
    }
    switch (message) {
    case WM_DESTROY:
        if (endProcessAtExit) {
            endProcess();
        }
        shutDown();
        releaseSingleInstance();
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        mainWindow = nullptr;
        timerWindow = nullptr;
        PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        // During start-up nothing could be saved yet: the close waits for its end.
        if (!initialized) {
            closeRequested_ = true;
            return 0;
        }
        if (interactive && !askToRetrySaves()) {
            return 0;
        }
        DestroyWindow(window);
        return 0;
    case WM_TIMER:
        onTimer(wParam);
        break;
    case WM_INPUT:
        onRawInput(reinterpret_cast<HRAWINPUT>(lParam));
        break; // the default procedure frees the input
    case WM_TOUCH:
        // Not throttled; the default procedure closes the touch handle.
        onActivity(*this, EVENT_TOUCH);
        break;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
        // The session may end without WM_DESTROY: everything shutdown writes is
        // written now, also what auto-save (perhaps switched off) has not, and
        // only once when nothing changed between the two messages.
        if (message == WM_ENDSESSION && (!wParam || (sessionSaved_ && !anythingUnsaved()))) {
            sessionSaved_ = false;
            break;
        }
        sessionSaved_ = false;
        if (initialized && saveEverything()) {
            clearPendingSaves();
            sessionSaved_ = message == WM_QUERYENDSESSION;
        }
        break;
    case WM_TRAYICON:
        onTrayIcon(LOWORD(lParam), HIWORD(lParam), POINT{GET_X_LPARAM(wParam), GET_Y_LPARAM(wParam)});
        return 0;
    case WM_COMMAND:
        onCommand(LOWORD(wParam));
        return 0;
    case WM_MENUSELECT:
        onMenuSelect(wParam, lParam);
        return 0;
    case WM_EXITMENULOOP:
        clearHighlight();
        return 0;
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
        keepStickiesOnScreen();
        break;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETWORKAREA) {
            keepStickiesOnScreen();
        }
        break;
    case WM_POWERBROADCAST:
        if (wParam == PBT_POWERSETTINGCHANGE) {
            auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(lParam);
            if (setting && IsEqualGUID(setting->PowerSetting, GUID_CONSOLE_DISPLAY_STATE) &&
                setting->DataLength >= 1 && setting->Data[0] == 1) {
                purgeExpiredTrash();
            }
        }
        break;
    default:
        if (message == taskbarCreatedMessage_ && message != 0) {
            // The shell restarted: the icon is the only permanent way in.
            addTrayIcon();
            return 0;
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace Brisvane
