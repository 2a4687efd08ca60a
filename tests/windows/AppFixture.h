#pragma once
// An application object with its own main window and a scratch data folder,
// started and stopped inside the test process.
#include <memory>
#include <string>

#include "TempFolder.h"
#include "app/TackaroonNotes_win.h"
#include "note/Note_win.h"
#include "storage/Json.h"

namespace Brisvane::testing {

// Delivers the thread's messages (timers, layout) for a while.
void pumpMessages(int milliseconds);

// What the system says of a window.
BYTE alphaOf(HWND window);
RECT rectOf(HWND window);
inline int heightOf(HWND window) {
    RECT r = rectOf(window);
    return r.bottom - r.top;
}
inline LONG exStyleOf(HWND window) {
    return GetWindowLongW(window, GWL_EXSTYLE);
}

class AppFixture {
public:
    AppFixture();
    ~AppFixture();

    // Writes notes\<guid>\note.json (and text.rtf when given) before the start.
    void storeNote(const std::wstring& guid, const std::string& noteJson, const std::string& rtf = {});
    void storeSettings(const std::string& settingsJson);
    // Runs the start-up sequence; layout and focus settle while messages are pumped.
    void start();
    // Destroys the main window: the shutdown sequence runs.
    void stop();
    // Stops, then starts a fresh application object on the same data folder.
    void restart();

    Note* note(const std::wstring& guid) const;
    Note* firstNote() const;
    Json readNoteJson(const std::wstring& guid) const;
    std::string readNoteFile(const std::wstring& guid, const std::wstring& name) const;
    bool noteFileExists(const std::wstring& guid, const std::wstring& name) const;

    TempFolder temp;
    std::unique_ptr<TackaroonNotes> app;
};

} // namespace Brisvane::testing
