#pragma once
// One sticky: its top-level window and children, its note document and the
// run-time state that is never stored.
#include <cstdint>
#include <optional>
#include <string>

#include <windows.h>

#include "base/UniqueHandle_win.h"
#include "note/ContextMenu_win.h"
#include "note/NoteCommands.h"
#include "note/NoteDocument.h"
#include "note/NoteDrawing_win.h"
#include "note/NoteLift_win.h"
#include "note/NoteRunState_win.h"
#include "note/NoteWindowSet_win.h"
#include "note/ScrollBar_win.h"
#include "note/TitleMenu_win.h"
#include "groups/Sticky.h"
#include "storage/Json.h"

namespace Brisvane {

class NoteHost;

class Note : public Sticky, public NoteWindowSet, public NoteRunState {
public:
    explicit Note(std::wstring guid);
    Note(const Note&) = delete;
    Note& operator=(const Note&) = delete;
    ~Note() override;

    // Sticky: what rules and activation change.
    const std::wstring& stickyGuid() const override { return guid; }
    void applyOpacityFactor(float factor) override;
    void setZOrderLevel(ZOrder level) override;
    void applyRuleFold(bool fold) override;
    void setClickThrough(bool on) override;
    bool isActive() const override { return active; }
    void setRuleExemption(bool exempt) override { active = exempt; }
    bool isAlwaysOnTop() const override;
    bool windowRect(Rect& out) const override;

    // Registers the window classes (once per process) and builds every window
    // where the layout puts it.
    bool createWindows(NoteHost* application, const std::wstring& rtfPath);
    // Shows the sticky just made, gives it the focus when asked and paints it at once.
    void showMade(bool activate);
    // Lets go of the windows, then destroys them: a sticky the user closes.
    void destroyWindows();
    // The procedure of every window class of a sticky.
    static WNDPROC sharedWindowProc();
    NoteRole roleOf(HWND hwnd) const;

    std::wstring groupGuid() const override;
    void setGroupGuid(const std::wstring& groupGuid) override;
    float storedOpacity() const;

    // Geometry.
    void setBounds(int left, int top, int width, int height, bool keepOnScreen);
    void resizeAtStoredPosition(int width, int height, bool keepOnScreen);
    void restoreGeometry();
    // Moves the sticky back on screen when no work area holds its centre.
    void keepOnScreenNow();
    void showNote();

    // Stored and rule states.
    void setFold(bool fold, bool ruleFold, bool repaint);
    void setOpacity(float value, float factor);
    void setHighlightFactor(float factor);
    void setAlwaysOnTop(bool on, ZOrder level);
    void applyZOrder(ZOrder level);
    void setFullScreenActive(bool on, ZOrder groupLevel) override;
    void setShadow(bool on);
    void setRuleExempt(bool exempt);

    // The unfolded and folded title bar heights at the sticky's DPI.
    int titleHeight() const;
    int foldHeight() const;
    // WM_DPICHANGED: takes the new DPI and the suggested rectangle and lays out again.
    void changeDpi(int newDpi, const RECT& suggested);
    // Title and body text drawn at the sticky's DPI rather than the system's.
    void applyTextZoom();
    // The body's side margins from the settings, at the sticky's DPI.
    void applyMargins();

    // Title bar and theme.
    void applyTheme(const std::wstring& base, bool repaint);
    std::wstring themeBase() const;
    void layout();
    // Without a device context the window's own is taken for the call.
    void paintBackground(HDC dc);
    void setTitleEditing(bool on);
    void setMode(bool scribbleMode, bool takeFocus);

    // Magnet snapping while the sticky is dragged; true when `rect` was replaced.
    void onEnterSizeMove();
    bool onMoving(RECT& rect);
    // The same snapping for a travel of (dx, dy) since the move began, however
    // made; the windows of the stickies carried along go into `carried` when given.
    bool snapMoving(RECT& rect, int dx, int dy, std::vector<HWND>* carried);

    // Keyboard: the window menu (Alt+Space) with moving and sizing by the arrow
    // keys, and links opened from the caret.
    void openWindowMenu();
    void moveByKeyboard(bool size);
    // A link of the body opened with the shell, asking first where a click would.
    bool openBodyLink(long cpMin, long cpMax);
    // Enter on a locked sticky, Ctrl+Enter in its body: the link at the caret; false when there is none.
    bool openLinkAtCaret();

    // Screen readers: every part named, the name also given as window text
    // where that text is not the part's content.
    std::wstring partName(NoteRole role) const;
    void nameWindows();
    // The sticky's own name follows its title.
    void renewStickyName();

    // Sizes stored at another DPI are scaled to the sticky's before it is made;
    // after a DPI change the stored DPI follows (and, folded, the stored size).
    void adoptStoredDpi();
    void keepStoredDpi(int oldDpi);

    // Marks the body (or the drawing) to take the keyboard focus at the next layout.
    void armFocus();
    void markChanged(std::uint32_t flags);

    // The drawing layer: pen and figures read from the note, the device chain
    // made when there is something to draw.
    void loadDrawing();

    // The application, as much of it as a sticky needs.
    NoteHost* app = nullptr;
    const std::wstring guid;
    NoteDocument document;
    // The drawing reaches the sticky only through its host.
    NoteDrawingHost drawingHost{*this};
    DrawingLayer drawing{drawingHost};
    ScrollBars scrollBars{*this};
    ContextMenu contextMenu{*this};
    TitleMenu titleMenu{*this};
    NoteLift lifter{*this};
    std::uint32_t editsInProgress() const;

private:
    friend class ScrollBars; // makes its windows as children of the sticky
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The note a window of a sticky's own classes, or one of its edits, is bound
    // to; null once unbound. Other windows keep other things in their user data.
    static Note* noteOf(HWND hwnd);
    // WM_GETOBJECT: each part of the sticky named for screen readers; true when answered.
    bool accessibleObject(HWND hwnd, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Shift+F10 or the Menu key on one of the sticky's windows.
    void keyboardMenu(HWND source);
    // Sizing cursors and the system's resize loop for the edges; true when handled.
    bool handleResizeZone(HWND hwnd, UINT message, LPARAM lParam, bool locked, LRESULT& result);
    LRESULT stickyMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT buttonMessage(HWND hwnd, int index, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT titleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT bodyMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool command(int id);
    bool formatCommand(int id);
    // The body's paint, buffered so that it reaches the screen together with
    // the drawing laid over it, when the drawing is shown that way.
    LRESULT paintBodyAndDrawing(HWND hwnd);
    LRESULT notify(NMHDR* header);
    void paintButton(HWND button, int index);
    HWND createChild(const wchar_t* className, DWORD style, int controlId, NoteRole role, const Rect& at,
                     bool visible);
    void bind(HWND hwnd, NoteRole role);
    void unbind(HWND hwnd);
    // Lets go of every window: tools, regions, timers, subclassing and bindings,
    // so nothing routes to this note any more. The windows themselves stay.
    void releaseWindows();
    void renewToolRects();
    // Takes this sticky's tools out of the program's tooltip.
    void releaseTools();
    void setTitleRegion(bool used, const Rect& r);
    // Selection, scroll position and input method as stored, once after the text is in.
    void restoreLoadedState();
    void takePendingFocus();
    // The tooltip's width for a text, measured in the tooltip's device context.
    void fitTipWidth(const wchar_t* text, int length);
    void focusContent();
    void toggleFlag(const char* name);

    // The folded title's tip: the start of the body, kept while the tooltip shows it.
    wchar_t tipText_[128]{};
    RECT lastTextArea_{};
};

} // namespace Brisvane
