#pragma once
// The title menu: every window setting of a sticky, its group and the trash,
// opened by a right click on the title bar; the theme preview and sticky
// highlight while a menu of the sticky is open; and the colour swatches its
// menus draw.
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace Brisvane {

class Note;

class TitleMenu {
public:
    explicit TitleMenu(Note& note) : note_(note) {}
    TitleMenu(const TitleMenu&) = delete;
    TitleMenu& operator=(const TitleMenu&) = delete;

    // Appends every item to `menu`.
    void build(HMENU menu, bool withCancel);
    // At the cursor unless a place is given (a menu opened from the keyboard).
    void open(std::optional<POINT> at = std::nullopt);
    // Its commands that the window commands do not carry out; true when handled.
    bool command(int id);
    void onMenuLoop(UINT message, WPARAM wParam, LPARAM lParam);

    // Owner-drawn items of the sticky's menus: theme and colour swatches.
    bool measureSwatch(MEASUREITEMSTRUCT* item);
    bool drawSwatch(const DRAWITEMSTRUCT* item);
    // Entry `index` of the palette's themes.
    std::optional<std::wstring> paletteText(int index) const;

private:
    Note& note_;
    std::wstring savedThemeBase_;
    std::vector<std::wstring> menuNotes_; // guids, in the order of the last menu
};

} // namespace Brisvane
