#pragma once
// The file layer: every file the program reads or writes goes through here.
// Results are Win32 error codes (0 for success) or Booleans, never exceptions.
// Each primitive is tried first on the long-path form ("\\?\" + path) and once
// more on the path as given.
#include <string>
#include <string_view>

#include "base/UniqueHandle_win.h"
#include "storage/FileErrors.h"
#include "storage/TextRead.h"

namespace Brisvane {

// The folder of the running executable, ending in "\"; empty when unknown.
std::wstring dataFolder();

UniqueFile openFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition);
UniqueFile openForReading(const std::wstring& path);
bool pathExists(const std::wstring& path);
bool createFolder(const std::wstring& path);
UniqueFind findFirstFile(const std::wstring& pattern, WIN32_FIND_DATAW& entry);
bool findNextFile(HANDLE find, WIN32_FIND_DATAW& entry);
// The long-path prefix goes on the source only.
bool moveFile(const std::wstring& from, const std::wstring& to);
// Only an empty folder can be removed.
bool removeFolder(const std::wstring& path);
bool deleteFile(const std::wstring& path);
// Deletes a folder with everything in it; links inside are removed, not followed.
bool removeFolderTree(const std::wstring& path);
// True for an existing path that is not a folder.
bool isFile(const std::wstring& path);
// Sends a file or folder tree to the recycle bin, silently.
bool recycleTree(const std::wstring& path);

// Reads a whole text file opened for reading (see decodeTextFile for the
// encoding rules). Files above maxStoredTextBytes give errorReadFault unread.
TextRead readTextFile(HANDLE file, std::wstring& text);
// Opens, reads and closes; the system's error code when the file cannot be opened.
TextRead readTextFileAt(const std::wstring& path, std::wstring& text);

// Writes the UTF-8 mark and the text as UTF-8, creating missing folders on the way.
ErrorCode writeTextFile(const std::wstring& path, std::wstring_view text);
// The same for a text that is UTF-8 already (a serialized JSON document).
ErrorCode writeUtf8TextFile(const std::wstring& path, std::string_view utf8);
// The bytes writeUtf8TextFile writes.
std::string utf8TextFileBytes(std::string_view utf8);
// Writes bytes as given. The target is replaced in one step from a flushed
// temporary file in the same folder, so a failure at any point leaves the
// previous file whole.
ErrorCode writeFileBytes(const std::wstring& path, std::string_view bytes);

} // namespace Brisvane
