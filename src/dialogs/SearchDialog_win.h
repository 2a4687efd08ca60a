#pragma once
// Finding a text in the body of a sticky.
#include <string>
#include <vector>

#include <windows.h>

#include <richedit.h>

namespace Brisvane {

class Note;

// Every hit of the text in the body, searched forward from the start, each
// search going on from the end of the previous hit.
std::vector<CHARRANGE> findHits(HWND body, const std::wstring& text, bool matchCase);
// One excerpt per hit: the hit with the words around it.
std::vector<std::wstring> findInNote(const Note& note, const std::wstring& text, bool matchCase);

} // namespace Brisvane
