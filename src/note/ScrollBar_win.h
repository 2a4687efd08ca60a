#pragma once
// The sticky's own scroll bars: thin windows in the theme colours standing in
// for the body's system bars, which a window region cuts off. They own their
// windows, what each remembers between messages and their timers.
#include <windows.h>

#include "base/Timer.h"
#include "note/ScrollMath.h"

namespace Brisvane {

class Note;

// The window classes of the bars, registered with the sticky's own.
inline constexpr wchar_t hScrollClass[] = L"TackaroonNotesHScrollWindowClass";
inline constexpr wchar_t vScrollClass[] = L"TackaroonNotesVScrollWindowClass";
inline constexpr wchar_t cornerClass[] = L"TackaroonNotesScrollIntersectionWindowClass";

// What one of the sticky's own scroll bars remembers between messages.
struct ScrollBarState {
    // The thumb as last painted; emptying it forces the next paint.
    RECT thumbRect{};
    int dragMode = DragNone;
    // Thumb drag: offset from the thumb's leading edge and the press across the
    // bar. Track press: the press point.
    int grabAlong = 0, grabAcross = 0;
    DWORD pressTime = 0;
    Timer repeatTimer; // auto-repeat of a held track press
    DWORD lastBodyEvent = 0;
    Timer followTimer; // keeps the thumb with the body's own smooth scrolling
    int lastSeenPosition = 0;
};

class ScrollBars {
public:
    explicit ScrollBars(Note& note) : note_(note) {}
    ScrollBars(const ScrollBars&) = delete;
    ScrollBars& operator=(const ScrollBars&) = delete;

    // Each window, null until the body first needs it.
    HWND hWindow() const { return hScroll_; }
    HWND vWindow() const { return vScroll_; }
    HWND cornerWindow() const { return corner_; }
    ScrollBarState& barState(bool horizontal) { return horizontal ? hBar_ : vBar_; }

    // Places body, drawing layer and bars in the text area.
    void layout(int x, int y, int width, int height);
    // The body's size as laid out, when it is laid out without the bars.
    void keepBodySize();
    // After the body changed or scrolled: repaint the bars and follow the body
    // for a while.
    void refresh();
    void resetThumbs();
    // The horizontal thumb repainted after a sideways wheel turn.
    void resetHorizontalThumb();
    void invalidate();
    void stopTimers();
    // The body's notifications that may change its size or scroll position.
    void bodyMoved(bool filteredMouseMove);
    // Their windows are gone or about to be: only the handles are dropped.
    void forgetWindows();

    LRESULT barMessage(HWND hwnd, bool horizontal, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT cornerMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Each bar, and their corner, made the first time the body needs it.
    void ensure(bool horizontal, bool vertical, bool corner);
    void paint(HWND bar, bool horizontal);
    void timer(HWND bar, bool horizontal, UINT_PTR id);

    Note& note_;
    HWND hScroll_ = nullptr;
    HWND vScroll_ = nullptr;
    HWND corner_ = nullptr;
    ScrollBarState hBar_;
    ScrollBarState vBar_;
    SIZE lastBodySize_{};
    // Set while the bars are laid out: the body's trial sizes must not start
    // another layout.
    bool layingOut_ = false;
};

} // namespace Brisvane
