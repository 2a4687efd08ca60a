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

// The whole file and its hashed stamp, taken through one handle. Files larger
// than `limit` give errorReadFault unread, stamped as seen (a hash of
// nothing). A file that is there but cannot be read now gets its stamp
// without a hash; a missing one an absent stamp.
ErrorCode readBytesAt(const std::wstring& path, std::string& bytes, FileStamp& stamp,
                      std::uint64_t limit = maxStoredTextBytes);

// As readTextFileAt, recording what was seen (also that the file is missing),
// the hash taken from the very bytes decoded.
TextRead readTextSeen(DiskState& disk, const std::wstring& path, std::wstring& text);

// The disk's stamp of a file: what was last seen when nothing changed since,
// otherwise read anew (and its bytes given in `bytes`), without a hash when
// it cannot be read now.
FileStamp currentStamp(const DiskState& disk, const std::wstring& path, std::string* bytes = nullptr);

// Writes the bytes unless the disk holds them already, and records the new
// stamp. A file the program did not see as it is now (rewritten, created
// since, never read) is read and kept first (keepOutsideCopy), so that a save
// never swallows it; one that cannot be read now is not written over.
ErrorCode writeIfChanged(DiskState& disk, const std::wstring& path, std::string_view bytes);

// Copies the file beside itself as "<stem>.changed-elsewhere<ext>" (numbered
// when taken) and returns the copy's path; empty when nothing was copied.
std::wstring keepOutsideCopy(const std::wstring& path);

} // namespace Brisvane
