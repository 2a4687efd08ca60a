#include "base/SharedTooltip_win.h"

#include <commctrl.h>

namespace Brisvane {

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
    send(TTM_ADDTOOLW, holder, tools);
}

void SharedTooltip::removeTools(HWND holder, std::initializer_list<HWND> tools) {
    send(TTM_DELTOOLW, holder, tools);
}

void SharedTooltip::renewRects(HWND holder, std::initializer_list<HWND> tools) {
    send(TTM_NEWTOOLRECTW, holder, tools);
}

void SharedTooltip::send(UINT message, HWND holder, std::initializer_list<HWND> tools) {
    if (!window_) {
        return;
    }
    for (HWND tool : tools) {
        // The whole description serves every message: each reads what it needs.
        TOOLINFOW info{};
        info.cbSize = sizeof info;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = holder;
        info.uId = reinterpret_cast<UINT_PTR>(tool);
        info.lpszText = LPSTR_TEXTCALLBACKW;
        GetClientRect(tool, &info.rect);
        SendMessageW(window_.get(), message, 0, reinterpret_cast<LPARAM>(&info));
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
