#pragma once

namespace Brisvane {

// The program's name as the user sees it: captions, message boxes, the version dialog.
inline constexpr wchar_t applicationTitle[] = L"Tackaroon notes";

} // namespace Brisvane
