#pragma once
// Earlier versions of the notes: how a version's folder is named, when a
// save keeps one, and which versions thinning lets go.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Brisvane {

inline constexpr std::uint64_t millisecondsPerMinute = 60'000;
inline constexpr std::uint64_t millisecondsPerDay = 24 * 60 * millisecondsPerMinute;

// What replaces a note's content: the user's own saves while typing, or a
// whole new content from elsewhere.
enum class Replacement {
    Save,         // a save writes over the files
    Reload,       // a version from elsewhere is loaded into the sticky
    Fork,         // the sticky writes over a version from elsewhere
    Recovery,     // the note comes back from the trash
    ClearDrawing, // the drawing is cleared
    Restore,      // an earlier version is taken back
};

struct VersionRule {
    // Saves keep one version per span; the other replacements always keep one.
    bool spanLimited;
    // The version kept is what the sticky shows (its files on disk are
    // another's already), or the files as they stand.
    bool fromSticky;
};

VersionRule versionRule(Replacement replacement);

// A save at `now` keeps the files as they stood when no version was kept
// for the note within the span before it (nor ever, this run); a clock
// that went back starts a new span.
bool spanOpen(std::optional<std::uint64_t> lastKept, std::uint64_t now, std::uint64_t spanMilliseconds);

// "2026-12-08T21-15-30.123Z_<machine>": a version's folder name, from UTC
// milliseconds since 1970 and the machine's name made safe for a file name.
// Two machines sharing the folder never make the same name.
std::wstring versionEntryName(std::uint64_t utcMilliseconds, std::wstring_view machine);
// The UTC milliseconds of a version's folder name; none for another name.
std::optional<std::uint64_t> versionEntryTime(std::wstring_view name);
// A machine name as it goes into an entry name: no characters a file name
// refuses, no dots, at most 40 characters, never empty.
std::wstring safeMachineName(std::wstring_view machine);

// A version's size as the list shows it: "512 bytes", "12.5 KB", "3.1 MB".
std::wstring versionSizeText(std::uint64_t bytes);

struct StoredVersion {
    std::wstring note;      // the note's guid
    std::uint64_t time = 0; // UTC milliseconds
    std::uint64_t size = 0; // both files together
    std::uint64_t hash = 0; // of both files; 0 when not known
};

struct ThinningLimits {
    std::uint64_t now = 0;
    std::uint64_t sizeLimit = 0; // bytes over all notes; 0 for none
};

// The indexes into `versions` that thinning removes: per note, every version
// of the last 24 hours stays, then the newest of each day for 30 days, the
// newest of each week for a year, nothing older; a version identical (same
// known hash) to the one before it goes; then, while all together are
// larger than the limit, the oldest go first. Versions from the future (a
// clock ahead elsewhere) count as new.
std::vector<std::size_t> versionsToRemove(const std::vector<StoredVersion>& versions,
                                          const ThinningLimits& limits);

} // namespace Brisvane
