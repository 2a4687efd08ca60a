#pragma once
// A menu bar holding one empty pop-up menu: the pop-up (GetSubMenu of the bar
// at 0) is filled and tracked, and goes with the bar.
#include "base/UniqueHandle_win.h"

namespace Brisvane {

inline UniqueMenu createMenuBarWithPopup() {
    UniqueMenu bar(CreateMenu());
    HMENU popup = CreatePopupMenu();
    if (!bar || !popup) {
        if (popup) {
            DestroyMenu(popup);
        }
        return UniqueMenu();
    }
    AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"");
    return bar;
}

} // namespace Brisvane
