#pragma once
// Loading a sticky's text.rtf into its body, telling apart a file that is not
// there, one that loaded, one that held plain text and one that could not be
// read (so that nothing writes over it until the user changes the text).
#include <string>

#include <windows.h>

#include "storage/DiskState.h"

namespace Brisvane {

enum class BodyLoad {
    Missing,    // no file: the body starts empty
    Loaded,     // RTF read whole
    PlainText,  // not RTF: shown as plain text
    Unreadable, // locked, too large, cut off, refused or damaged
};

// Reads the file whole (files above maxBodyFileBytes are refused) and streams
// it into the body, in chunks as large as the control asks for. `seen`, when
// given, gets what was on disk.
BodyLoad loadBodyFile(HWND body, const std::wstring& path, FileStamp* seen = nullptr);

} // namespace Brisvane
