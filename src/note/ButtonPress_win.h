#pragma once
// A press of any mouse button on a sticky, in its client area or its frame:
// what ends a keyboard move and what a click on a lifted sticky means.
#include <windows.h>

namespace Brisvane {

inline bool isButtonPress(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

} // namespace Brisvane
