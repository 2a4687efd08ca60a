#pragma once
// The magnet while a sticky is moved, by the mouse or the keyboard: snapping
// to monitor edges and other stickies, and carrying the stickies stuck to it.
#include <vector>

#include <windows.h>

namespace Brisvane {

class Note;

class NoteMagnet {
public:
    explicit NoteMagnet(Note& note) : note_(note) {}
    NoteMagnet(const NoteMagnet&) = delete;
    NoteMagnet& operator=(const NoteMagnet&) = delete;

    // Every sticky's start rectangle, taken when a move begins.
    void onEnterSizeMove();
    // A drag step; true when `rect` was replaced.
    bool onMoving(RECT& rect);
    // The same snapping for a travel of (dx, dy) since the move began, however
    // made; the windows of the stickies carried along go into `carried` when given.
    bool snapMoving(RECT& rect, int dx, int dy, std::vector<HWND>* carried);

private:
    Note& note_;
};

} // namespace Brisvane
