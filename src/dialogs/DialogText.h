#pragma once
// Texts the dialogs build from numbers and labels.
#include <cstdint>
#include <string>
#include <string_view>

namespace Brisvane {

// The value formatted with six decimals, then cut (not rounded) after `digits`
// decimals: 0.15 with two gives "0.15", 1 gives "1.00".
std::wstring decimalText(double value, int digits);

// Unit names of a delay, looked up in the current language.
struct DelayUnits {
    std::wstring hour = L"h";
    std::wstring minute = L"m";
    std::wstring second = L"s";
};

// A delay in milliseconds as hours, minutes and seconds, each part a number, a
// blank and its unit, the parts apart by a blank; tenths of a second are cut,
// not rounded. 0 gives "0 s", 3723500 gives "1 h 2 m 3.5 s".
std::wstring delayText(std::uint32_t milliseconds, const DelayUnits& units);

// A control text with its access key: ampersands of the text are doubled, and
// `key` (either case) is marked, at the start of a word where it can; a text
// without it (Japanese, say) gets the key appended as "(&K)", as Windows
// programs do.
std::wstring withMnemonic(std::wstring_view text, wchar_t key);

} // namespace Brisvane
