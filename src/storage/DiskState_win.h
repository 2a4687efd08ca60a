#pragma once
// The Windows half of knowing what is on disk: stamps taken from the file
// system, reads that record what they saw, and writes that skip bytes the
// disk holds already.
#include <string>
#include <string_view>

#include "storage/DiskState.h"
#include "storage/File_win.h"

namespace Brisvane {

// Size and last-write time as the file system reports them (no hash); a
// folder or a missing path is not present.
FileStamp stampOnDisk(const std::wstring& path);
std::uint64_t lastWriteTimeOf(HANDLE file);

// The whole file and its hashed stamp, taken through one handle.
// Files of 4 GiB or more give errorReadFault.
ErrorCode readBytesAt(const std::wstring& path, std::string& bytes, FileStamp& stamp);

// As readTextFileAt, recording what was seen (also that the file is missing).
TextRead readTextSeen(DiskState& disk, const std::wstring& path, std::wstring& text);

// Writes the bytes unless the disk holds them already, and records the new
// stamp. A file rewritten by someone else since the program last saw it is
// kept first (keepOutsideCopy), so that a save never swallows it.
ErrorCode writeIfChanged(DiskState& disk, const std::wstring& path, std::string_view bytes);

// Copies the file beside itself as "<stem>.changed-elsewhere<ext>" (numbered
// when taken) and returns the copy's path; empty when nothing was copied.
std::wstring keepOutsideCopy(const std::wstring& path);

} // namespace Brisvane
