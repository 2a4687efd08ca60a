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
