// The Windows side of activity detection: reads raw input, touch, the game
// pads, the cursor and the focus, and looks for full-screen programs. What the
// events mean is decided by the portable activity code.
#include <windows.h>

#include <mmsystem.h>
#include <shellapi.h>
#include <xinput.h>

#include <vector>

#include "app/Activity.h"
#include "app/TackaroonNotes_win.h"
#include "note/Note_win.h"

namespace Brisvane {

namespace {

using XInputGetStateFunction = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);

class XInputPads : public PadReader {
public:
    explicit XInputPads(XInputGetStateFunction getState) : getState_(getState) {}
    bool readPad(unsigned index, PadState& state) override {
        XINPUT_STATE raw{};
        if (getState_(index, &raw) != ERROR_SUCCESS) {
            return false;
        }
        state.buttons = raw.Gamepad.wButtons;
        state.leftTrigger = raw.Gamepad.bLeftTrigger;
        state.rightTrigger = raw.Gamepad.bRightTrigger;
        state.thumbLX = raw.Gamepad.sThumbLX;
        state.thumbLY = raw.Gamepad.sThumbLY;
        state.thumbRX = raw.Gamepad.sThumbRX;
        state.thumbRY = raw.Gamepad.sThumbRY;
        return true;
    }

private:
    XInputGetStateFunction getState_;
};

bool foregroundCoversPrimaryMonitor(HWND foreground) {
    RECT windowRect;
    if (!GetWindowRect(foreground, &windowRect)) {
        return false;
    }
    HMONITOR monitor = MonitorFromRect(&windowRect, MONITOR_DEFAULTTONULL);
    MONITORINFO info{sizeof info};
    if (!monitor || !GetMonitorInfoW(monitor, &info) || !(info.dwFlags & MONITORINFOF_PRIMARY)) {
        return false;
    }
    RECT clipped;
    IntersectRect(&clipped, &windowRect, &info.rcMonitor);
    if (!EqualRect(&clipped, &info.rcMonitor)) {
        return false;
    }
    LONG style = GetWindowLongW(foreground, GWL_STYLE);
    LONG exStyle = GetWindowLongW(foreground, GWL_EXSTYLE);
    return (style & (WS_DLGFRAME | WS_THICKFRAME)) == 0 &&
           (exStyle & (WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE)) == 0;
}

bool foregroundConsoleFullScreen(HWND foreground) {
    DWORD process = 0;
    GetWindowThreadProcessId(foreground, &process);
    if (process == 0 || !AttachConsole(process)) {
        return false;
    }
    DWORD mode = 0;
    BOOL read = GetConsoleDisplayMode(&mode);
    FreeConsole();
    return read && (mode & (CONSOLE_FULLSCREEN | CONSOLE_FULLSCREEN_HARDWARE)) != 0;
}

} // namespace

void TackaroonNotes::onRawInput(HRAWINPUT input) {
    // Mouse input alone can arrive hundreds of times a second: the throttle comes first.
    std::uint32_t now = timeGetTime();
    if (!acceptRawInput(now, lastInputTime)) {
        return;
    }
    UINT size = 0;
    GetRawInputData(input, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER));
    std::vector<BYTE> buffer(size >= sizeof(RAWINPUTHEADER) ? size : sizeof(RAWINPUTHEADER));
    size = static_cast<UINT>(buffer.size());
    GetRawInputData(input, RID_INPUT, buffer.data(), &size, sizeof(RAWINPUTHEADER));
    const auto* header = reinterpret_cast<const RAWINPUTHEADER*>(buffer.data());
    switch (classifyRawInput(header->dwType)) {
    case RawInputKind::mouse:
        onActivity(*this, EVENT_MOUSE);
        break;
    case RawInputKind::keyboard:
        onActivity(*this, EVENT_KEYBOARD);
        break;
    case RawInputKind::gamePadPoll:
        if (pollGamePads()) {
            onActivity(*this, EVENT_GAMEPAD);
        }
        break;
    case RawInputKind::none:
        break;
    }
}

bool TackaroonNotes::pollGamePads() {
    if (!xinputGetState_) {
        return false;
    }
    XInputPads pads(reinterpret_cast<XInputGetStateFunction>(reinterpret_cast<void*>(xinputGetState_)));
    return anyPadActive(pads);
}

bool TackaroonNotes::detectFullScreen() const {
    QUERY_USER_NOTIFICATION_STATE state;
    if (SUCCEEDED(SHQueryUserNotificationState(&state)) &&
        (state == QUNS_RUNNING_D3D_FULL_SCREEN || state == QUNS_PRESENTATION_MODE)) {
        return true;
    }
    // The desktop itself covers the monitor without a frame too, and Wine
    // reports it as the foreground window when no program is in front.
    HWND foreground = GetForegroundWindow();
    if (!foreground || foreground == GetDesktopWindow() || foreground == GetShellWindow()) {
        return false;
    }
    return foregroundCoversPrimaryMonitor(foreground) || foregroundConsoleFullScreen(foreground);
}

bool TackaroonNotes::cursorPosition(int& x, int& y) const {
    POINT point;
    if (!GetCursorPos(&point)) {
        return false;
    }
    x = point.x;
    y = point.y;
    return true;
}

Sticky* TackaroonNotes::focusedSticky() const {
    std::vector<Sticky*> stickies = allStickies();
    for (HWND window = GetFocus(); window; window = GetParent(window)) {
        for (Sticky* sticky : stickies) {
            if (static_cast<Note*>(sticky)->window == window) {
                return sticky;
            }
        }
    }
    return nullptr;
}

bool TackaroonNotes::mouseButtonsHeld() const {
    // A click that is long over must not hold a rule back.
    auto down = [](int key) { return keyDownNow(GetAsyncKeyState(key)); };
    return down(VK_LBUTTON) || down(VK_MBUTTON) || down(VK_RBUTTON);
}

} // namespace Brisvane
