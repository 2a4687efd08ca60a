#pragma once
// One tooltip window for the whole program. Each sticky adds its tools when it
// is made and takes them away when it goes; a tool's text is asked of the
// window that holds it, so every sticky answers for its own tools.
#include <initializer_list>

#include <windows.h>

#include "base/UniqueHandle_win.h"

namespace Brisvane {

class SharedTooltip {
public:
    // Makes the window on first use (topmost, shown even over inactive windows)
    // and gives it the delays in milliseconds, of which the low 16 bits count.
    // Null when the window cannot be made.
    HWND ensure(int initialDelay, int autoPopDelay);
    HWND window() const { return window_.get(); }

    // Each tool is a window of `holder`, which receives its TTN_GETDISPINFOW.
    void addTools(HWND holder, std::initializer_list<HWND> tools);
    void removeTools(HWND holder, std::initializer_list<HWND> tools);
    // After the tools' windows moved or changed size.
    void renewRects(HWND holder, std::initializer_list<HWND> tools);
    int toolCount() const;
    void destroy();

private:
    void send(UINT message, HWND holder, std::initializer_list<HWND> tools);

    UniqueWindow window_;
    int initialDelay_ = -1;
    int autoPopDelay_ = -1;
};

} // namespace Brisvane
