#pragma once
// What the search dialog decides without windows: the search history in the
// settings and the excerpt shown for a hit.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace Brisvane {

class GroupHost;

// Moves the text to the front of "search"."recently" (the first equal entry,
// compared exactly, is removed), drops the last entry past "recentlyMax" and
// marks the settings changed.
void addSearchTerm(GroupHost& app, const std::wstring& text);
// The history, newest first.
std::vector<std::wstring> searchTerms(const GroupHost& app);

// The characters around a hit from `start` to `end` in `text`: five more on
// each side (clipped to the text), widened to whole words. A word is a run of
// letters and digits of one script; a very long run is cut so that an excerpt
// stays short.
struct TextSpan {
    std::size_t start = 0;
    std::size_t end = 0;
};
TextSpan excerptSpan(std::wstring_view text, std::size_t start, std::size_t end);
// The excerpt's text, each line break a blank, without blanks at its ends.
std::wstring excerptText(std::wstring_view text, std::size_t start, std::size_t end);

} // namespace Brisvane
