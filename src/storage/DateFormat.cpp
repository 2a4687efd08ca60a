#include "storage/DateFormat.h"

#include <array>
#include <utility>
#include <vector>

namespace Brisvane {

namespace {

constexpr std::array<const wchar_t*, 12> monthNames{L"January",   L"February", L"March",    L"April",
                                                    L"May",       L"June",     L"July",     L"August",
                                                    L"September", L"October",  L"November", L"December"};
constexpr std::array<const wchar_t*, 12> monthAbbreviations{L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                                            L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
constexpr std::array<const wchar_t*, 7> japaneseWeekdayNames{
    L"\u65E5\u66DC\u65E5", L"\u6708\u66DC\u65E5", L"\u706B\u66DC\u65E5", L"\u6C34\u66DC\u65E5",
    L"\u6728\u66DC\u65E5", L"\u91D1\u66DC\u65E5", L"\u571F\u66DC\u65E5"}; // 日曜日 ... 土曜日
constexpr std::array<const wchar_t*, 7> japaneseWeekdays{L"\u65E5", L"\u6708", L"\u706B", L"\u6C34",
                                                         L"\u6728", L"\u91D1", L"\u571F"}; // 日 ... 土
constexpr std::array<const wchar_t*, 7> weekdayNames{L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                                     L"Thursday", L"Friday", L"Saturday"};
constexpr std::array<const wchar_t*, 7> weekdayAbbreviations{L"Sun", L"Mon", L"Tue", L"Wed",
                                                             L"Thu", L"Fri", L"Sat"};
constexpr std::array<const wchar_t*, 7> weekdayInitials{L"S", L"M", L"T", L"W", L"T", L"F", L"S"};

std::wstring plain(int value) {
    return std::to_wstring(value);
}

std::wstring twoDigits(int value) {
    std::wstring text = std::to_wstring(value);
    if (value >= 0 && text.size() < 2) {
        text.insert(0, 1, L'0');
    }
    return text;
}

template <size_t N> std::wstring nameAt(const std::array<const wchar_t*, N>& names, int index) {
    return index >= 0 && static_cast<size_t>(index) < N ? names[static_cast<size_t>(index)] : L"";
}

// Replaces every occurrence of `token`, scanning left to right; the replacement
// is never searched again.
void replaceAll(std::wstring& text, std::wstring_view token, std::wstring_view value) {
    size_t at = text.find(token);
    while (at != std::wstring::npos) {
        text.replace(at, token.size(), value);
        at = text.find(token, at + value.size());
    }
}

} // namespace

std::wstring formatDate(std::wstring_view format, const LocalTime& time) {
    // The passes, in this order, make the longest token of each family win.
    const std::pair<std::wstring_view, std::wstring> passes[] = {
        {L"$hh", twoDigits(time.hour)},
        {L"$h", plain(time.hour)},
        {L"$mm", twoDigits(time.minute)},
        {L"$m", plain(time.minute)},
        {L"$ss", twoDigits(time.second)},
        {L"$s", plain(time.second)},
        {L"$YYYY", plain(time.year)},
        {L"$YY", plain(time.year % 100)},
        {L"$MMMM", nameAt(monthNames, time.month - 1)},
        {L"$MMM", nameAt(monthAbbreviations, time.month - 1)},
        {L"$MM", twoDigits(time.month)},
        {L"$M", plain(time.month)},
        {L"$DD", twoDigits(time.day)},
        {L"$D", plain(time.day)},
        {L"$WWWW", nameAt(japaneseWeekdayNames, time.weekday)},
        {L"$WWW", nameAt(japaneseWeekdays, time.weekday)},
        {L"$wwww", nameAt(weekdayNames, time.weekday)},
        {L"$www", nameAt(weekdayAbbreviations, time.weekday)},
        {L"$ww", nameAt(weekdayInitials, time.weekday)},
    };

    // "\$" is protected by cutting the template there and running the passes on
    // each piece: no token can reach across the cut, so this equals marking the
    // pairs and restoring them afterwards, without reserving a marker character
    // that might occur in the template itself.
    constexpr std::wstring_view protectedDollar = L"\\$";
    std::vector<std::wstring> pieces;
    size_t start = 0;
    for (size_t cut = format.find(protectedDollar); cut != std::wstring_view::npos;
         cut = format.find(protectedDollar, start)) {
        pieces.emplace_back(format.substr(start, cut - start));
        start = cut + protectedDollar.size();
    }
    pieces.emplace_back(format.substr(start));

    for (const auto& [token, value] : passes) {
        for (std::wstring& piece : pieces) {
            replaceAll(piece, token, value);
        }
    }

    std::wstring result = std::move(pieces.front());
    for (size_t i = 1; i < pieces.size(); ++i) {
        result.append(protectedDollar);
        result.append(pieces[i]);
    }
    return result;
}

std::wstring formatNow(std::wstring_view format) {
    return formatDate(format, currentLocalTime());
}

} // namespace Brisvane
