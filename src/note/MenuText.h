#pragma once
// Texts that come from the user (titles, note text, group names) shown as menu
// items: one line, no tab (it would start the accelerator column) and every
// "&" shown as itself rather than underlining the next letter.
#include <string>
#include <string_view>

namespace Brisvane {

// Longer texts (a hand-made title.txt, say) are cut.
inline constexpr std::size_t maxMenuItemChars = 255;

// `fallback` (shown as it is) when nothing of `text` remains.
std::wstring menuItemText(std::wstring_view text, std::wstring_view fallback = {});

// The text menu's Undo and Redo name what they take back: the language key of
// a Rich Edit undo action code, empty for unknown codes, and its English.
const char* undoNameKey(int code);
const wchar_t* undoNameText(int code);

} // namespace Brisvane
