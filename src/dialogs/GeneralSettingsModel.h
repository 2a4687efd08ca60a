#pragma once
// The values the general settings dialog edits, read from the settings and
// written back through their setters.
#include <string>

namespace Brisvane {

class GroupHost;

struct GeneralSettingsValues {
    std::wstring language; // empty: no language chosen
    bool imeOpen = true;
    bool autoSave = true;
    int autoSaveSeconds = 5; // 0-600
    int trashDays = 31;      // 1-1000
    int fontSize = 16;       // 1-50
    int marginLeft = 0;      // 0-50
    int marginRight = 0;     // 0-50
};

// The spin ranges.
struct SpinRange {
    int low;
    int high;
};
inline constexpr SpinRange autoSaveRange{0, 600};
inline constexpr SpinRange trashRange{1, 1000};
inline constexpr SpinRange fontSizeRange{1, 50};
inline constexpr SpinRange marginRange{0, 50};

GeneralSettingsValues readGeneralSettings(const GroupHost& app);

// Stores each value through its setter, in the dialog's order (language, input
// method, auto-save, trash, font size, left and right margins), marking the
// settings changed after every setter that changed something. Values are
// clamped to their ranges first. True when anything changed.
bool applyGeneralSettings(GroupHost& app, GeneralSettingsValues values);

} // namespace Brisvane
