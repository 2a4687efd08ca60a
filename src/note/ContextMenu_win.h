#pragma once
// The note context menu of the body and the drawing: the drawing menu in
// scribble mode, the text menu otherwise, both ending with the title menu.
#include <optional>
#include <string>

#include <windows.h>

namespace Brisvane {

class Note;

class ContextMenu {
public:
    explicit ContextMenu(Note& note) : note_(note) {}
    ContextMenu(const ContextMenu&) = delete;
    ContextMenu& operator=(const ContextMenu&) = delete;

    // At the cursor or at `at`.
    void show(std::optional<POINT> at = std::nullopt);
    // Built anew each time, the caller destroying it.
    HMENU build();
    // The drawing menu's commands; true when `id` is one of them.
    bool command(int id);

private:
    void appendDrawingItems(HMENU menu);
    void appendTextItems(HMENU menu);
    HMENU colourMenu(int firstId, const char* checkedMember);
    HMENU opacityMenu(int firstId, const char* member);
    std::wstring undoLabel(bool redo);
    std::wstring menuText(const char* key, const wchar_t* english) const;

    Note& note_;
};

} // namespace Brisvane
