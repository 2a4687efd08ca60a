#include "app/SharedTooltip_win.h"

#include <commctrl.h>

namespace Brisvane {

namespace {

TOOLINFOW toolInfo(HWND holder, HWND tool) {
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = holder;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    return info;
}

} // namespace

HWND SharedTooltip::ensure(int initialDelay, int autoPopDelay) {
    if (!window_) {
        // Owned by no window: it lives as long as the application object, and a
        // single hidden topmost window costs the window manager nothing per sticky.
        window_.reset(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                                      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
        if (!window_) {
            return nullptr;
        }
    }
    if (initialDelay != initialDelay_) {
        SendMessageW(window_.get(), TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(initialDelay & 0xFFFF, 0));
        initialDelay_ = initialDelay;
    }
    if (autoPopDelay != autoPopDelay_) {
        SendMessageW(window_.get(), TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(autoPopDelay & 0xFFFF, 0));
        autoPopDelay_ = autoPopDelay;
    }
    return window_.get();
}

void SharedTooltip::addTools(HWND holder, std::initializer_list<HWND> tools) {
    if (!window_) {
        return;
    }
    for (HWND tool : tools) {
        TOOLINFOW info = toolInfo(holder, tool);
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.lpszText = LPSTR_TEXTCALLBACKW;
        GetClientRect(tool, &info.rect);
        SendMessageW(window_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void SharedTooltip::removeTools(HWND holder, std::initializer_list<HWND> tools) {
    if (!window_) {
        return;
    }
    for (HWND tool : tools) {
        TOOLINFOW info = toolInfo(holder, tool);
        SendMessageW(window_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void SharedTooltip::renewRects(HWND holder, std::initializer_list<HWND> tools) {
    if (!window_) {
        return;
    }
    for (HWND tool : tools) {
        TOOLINFOW info = toolInfo(holder, tool);
        GetClientRect(tool, &info.rect);
        SendMessageW(window_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

int SharedTooltip::toolCount() const {
    return window_ ? static_cast<int>(SendMessageW(window_.get(), TTM_GETTOOLCOUNT, 0, 0)) : 0;
}

void SharedTooltip::destroy() {
    window_.reset();
    initialDelay_ = autoPopDelay_ = -1;
}

} // namespace Brisvane
