#pragma once
// Names for screen readers: a window's client object as the system builds it,
// with the name (and, where given, the role) the program chooses.
#include <string>

#include <windows.h>

namespace Brisvane {

// Answers WM_GETOBJECT for OBJID_CLIENT; false for any other object, which the
// caller then leaves to the window's own procedure. role 0 keeps the system's.
bool answerAccessibleName(HWND hwnd, WPARAM wParam, LPARAM lParam, const std::wstring& name, long role,
                          LRESULT& result);

} // namespace Brisvane
