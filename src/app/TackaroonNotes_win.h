#pragma once
// The application object: owns the settings, language and palette documents for
// the whole run and the hidden main window that receives every notification
// not addressed to a sticky.
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "storage/Json.h"

namespace Brisvane {

inline constexpr UINT WM_TRAYICON = WM_APP + 4;
inline constexpr UINT_PTR TIMER_FULLSCREEN = 2;
inline constexpr UINT_PTR TIMER_AUTOSAVE = 500;
inline constexpr UINT_PTR FIRST_RULE_TIMER = 1000;

inline constexpr wchar_t mainWindowClassName[] = L"TackaroonNotesMainWindowClass";
inline constexpr wchar_t applicationTitle[] = L"Tackaroon notes";
inline constexpr wchar_t instanceMutexName[] = L"TackaroonNotesAppMutex";
inline constexpr int largeIconId = 101;
inline constexpr int smallIconId = 105;

class TackaroonNotes {
public:
    // `folder` is the data folder, ending in "\": the executable's folder in the
    // program, a scratch folder in tests.
    explicit TackaroonNotes(std::wstring folder);
    TackaroonNotes(const TackaroonNotes&) = delete;
    TackaroonNotes& operator=(const TackaroonNotes&) = delete;
    virtual ~TackaroonNotes();

    // Registers the main window class once per process.
    static bool registerMainWindowClass(HINSTANCE instance);
    // Creates the hidden main window bound to this object.
    HWND createMainWindow(HINSTANCE instance);

    bool startUp();
    void shutDown();

    // Reads and completes settings.json, then loads the tables that hang on it.
    bool loadSettings();
    bool saveSettings();
    void markSettingsChanged();

    std::wstring lookupText(std::string_view key, std::wstring_view fallback) const;

    const std::wstring& folder() const { return folder_; }

    bool initialized = false;
    HWND mainWindow = nullptr;
    Json settings;
    Json languages;
    Json palette;
    Json figureLibrary;
    bool rulesSuspended = false;
    bool settingsDirty = false;
    bool fullScreen = false;
    bool modalOpen = false;
    HWND searchDialog = nullptr;

private:
    static LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::wstring folder_;
};

} // namespace Brisvane
