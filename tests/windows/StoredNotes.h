#pragma once
// Stored notes shared by the tests of dialogs and of outside changes.
#include <string>

namespace Brisvane::testing {

// Three stored notes' names, and a note.json placing a 200 x 150 sticky at
// (left, 100) with a title and a group.
inline const std::wstring guidA = L"0a0a0a0a-0000-4000-8000-00000000000a";
inline const std::wstring guidB = L"0b0b0b0b-0000-4000-8000-00000000000b";
inline const std::wstring guidC = L"0c0c0c0c-0000-4000-8000-00000000000c";
inline std::string noteAt(int left, const std::string& title, const std::string& group = "") {
    return "{\"title\": \"" + title + "\", \"group\": {\"guid\": \"" + group +
           "\"}, \"window\": {\"position\": {\"left\": " + std::to_string(left) +
           ", \"top\": 100, \"width\": 200, \"height\": 150}}}";
}

} // namespace Brisvane::testing
