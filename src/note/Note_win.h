#pragma once
// One sticky: its top-level window and children, its note document and the
// run-time state that is never stored.
#include <cstdint>
#include <string>

#include <windows.h>

#include "note/ContextMenu_win.h"
#include "note/NoteBodyEdit_win.h"
#include "note/NoteCommands.h"
#include "note/NoteDocument.h"
#include "note/NoteDpi_win.h"
#include "note/NoteDrawing_win.h"
#include "note/NoteFrame_win.h"
#include "note/NoteKeyboard_win.h"
#include "note/NoteLift_win.h"
#include "note/NoteMagnet_win.h"
#include "note/NoteNames_win.h"
#include "note/NoteTips_win.h"
#include "note/NoteTitle_win.h"
#include "note/NoteRunState_win.h"
#include "note/NoteWindowSet_win.h"
#include "note/ScrollBar_win.h"
#include "note/TitleMenu_win.h"
#include "groups/Sticky.h"

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
    // Lets go of every window: tools, regions, timers, subclassing and bindings,
    // so nothing routes to this note any more. The windows themselves stay.
    void releaseWindows();
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

    // Title bar and theme.
    void applyTheme(const std::wstring& base, bool repaint);
    std::wstring themeBase() const;
    void layout();
    // Without a device context the window's own is taken for the call.
    void paintBackground(HDC dc);
    void setTitleEditing(bool on);
    void setMode(bool scribbleMode, bool takeFocus);

    void paintButton(HWND button, int index);

    // A command of the sticky's menus and buttons; true when it was one.
    bool command(int id);
    // Marks the body (or the drawing) to take the keyboard focus at the next layout.
    void armFocus();
    void focusContent();
    void markChanged(std::uint32_t flags);

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
    NoteMagnet magnet{*this};
    NoteKeyboard keyboard{*this};
    NoteNames names{*this};
    NoteTips tips{*this};
    NoteDpi density{*this};
    NoteFrame frameHandler{*this};
    NoteTitle titleHandler{*this};
    NoteBody bodyHandler{*this};
    std::uint32_t editsInProgress() const;

private:
    friend class ScrollBars; // makes its windows as children of the sticky
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The note a window of a sticky's own classes, or one of its edits, is bound
    // to; null once unbound. Other windows keep other things in their user data.
    static Note* noteOf(HWND hwnd);
    bool formatCommand(int id);
    HWND createChild(const wchar_t* className, DWORD style, int controlId, NoteRole role, const Rect& at,
                     bool visible);
    void bind(HWND hwnd, NoteRole role);
    void unbind(HWND hwnd);
    void setTitleRegion(bool used, const Rect& r);
    // Selection, scroll position and input method as stored, once after the text is in.
    void restoreLoadedState();
    void takePendingFocus();
    void toggleFlag(const char* name);
};

} // namespace Brisvane
