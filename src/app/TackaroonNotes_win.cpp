#include "app/TackaroonNotes_win.h"

#include <commctrl.h>

#include "app/SingleInstance_win.h"
#include "storage/File_win.h"
#include "storage/Language.h"
#include "storage/Resource_win.h"
#include "storage/Settings.h"

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

} // namespace

TackaroonNotes::TackaroonNotes(std::wstring folder) : folder_(std::move(folder)) {}

TackaroonNotes::~TackaroonNotes() {
    shutDown();
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

bool TackaroonNotes::startUp() {
    InitCommonControls();
    loadSettings();
    initialized = true;
    return true;
}

void TackaroonNotes::shutDown() {
    if (searchDialog) {
        DestroyWindow(searchDialog);
        searchDialog = nullptr;
    }
    if (initialized) {
        saveSettings();
        settingsDirty = false;
    }
}

bool TackaroonNotes::loadSettings() {
    std::wstring text;
    ErrorCode read = readTextFileAt(folder_ + settingsFileName, text);
    bool loaded = false;
    settings = settingsFromText(read, text, loaded);
    completeSettings(settings, loaded, loaded ? Json() : defaultGroupsResource(), userDefaultLanguageId());
    languages = loadLanguageTableResource();
    palette = loadPaletteResource();
    return true;
}

bool TackaroonNotes::saveSettings() {
    return writeUtf8TextFile(folder_ + settingsFileName, serializeJson(settings)) == errorSuccess;
}

void TackaroonNotes::markSettingsChanged() {
    if (autoSaveAvailable(settings)) {
        settingsDirty = true;
    }
}

std::wstring TackaroonNotes::lookupText(std::string_view key, std::wstring_view fallback) const {
    return Brisvane::lookupText(languages, settings, key, fallback);
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
    switch (message) {
    case WM_DESTROY:
        shutDown();
        releaseSingleInstance();
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (mainWindow == window) {
            mainWindow = nullptr;
        }
        PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace Brisvane
