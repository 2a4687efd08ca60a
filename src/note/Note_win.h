#pragma once
// One sticky: its top-level window and children, its note document and the
// run-time state that is never stored.
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "base/Timer.h"
#include "base/UniqueHandle_win.h"
#include "note/BodyFile_win.h"
#include "base/Colour.h"
#include "note/DpiScale.h"
#include "note/Geometry.h"
#include "note/NoteCommands.h"
#include "note/NoteDocument.h"
#include "note/ScrollBar_win.h"
#include "note/ScrollMath.h"
#include "groups/Sticky.h"
#include "scribble/DrawingDevice_win.h"
#include "scribble/Render.h"
#include "scribble/Scribble.h"
#include "storage/Json.h"

namespace Brisvane {

class NoteHost;

// Where a menu opens: the given place, or else the cursor.
inline POINT menuPlace(const std::optional<POINT>& at) {
    POINT place{};
    if (at) {
        place = *at;
    } else {
        GetCursorPos(&place);
    }
    return place;
}

// Moves a child of a sticky without repainting and shows or hides it.
void placeChild(HWND child, const Rect& r, bool visible);

class Note : public Sticky {
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
    // True while the sticky's windows exist and are bound to it.
    bool hasWindows() const { return window != nullptr; }
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

    // Screen density: every 96-DPI measure of the sticky goes through px.
    int px(int measure, int minimum = 0) const { return scaleToDpi(measure, dpi, minimum); }
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

    // Title menu: appends every item to `menu`; opens it at the cursor; carries
    // out its commands that the window commands do not (true when handled);
    // previews themes and highlights stickies while any menu of the sticky is open.
    void buildTitleMenu(HMENU menu, bool withCancel);
    // At the cursor unless a place is given (a menu opened from the keyboard).
    void openTitleMenu(std::optional<POINT> at = std::nullopt);
    bool titleMenuCommand(int id);
    void onMenuLoop(UINT message, WPARAM wParam, LPARAM lParam);

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
    void renderScribble();
    // The context menu of the body and the drawing, at the cursor or at `at`;
    // built anew each time, the caller destroying it.
    void showNoteMenu(std::optional<POINT> at = std::nullopt);
    HMENU buildNoteMenu();

    // Brought forward for the user (NoteLift_win.cpp): unfolded, opaque and out
    // of its group's rules while lifted. "Show all" lifts every sticky until
    // the next activity; a reminder also keeps it on top and flashes its title
    // until a click or Esc in it.
    enum class Lift { none, shown, reminder };
    void lift(Lift kind);
    // Back to the stored look and the group's rules; after a click the user
    // reads it, so it stays unfolded.
    void dropLift(bool clicked);
    // Every message of the sticky's windows while a reminder lifts it.
    void noticeInput(UINT message, WPARAM wParam);
    // The small bell at the title's left while a reminder is set, and the
    // reminder's time in the title's tip.
    void showReminderBell();
    LRESULT paintTitleWithBell(HWND title, WPARAM wParam, LPARAM lParam);
    std::wstring reminderTip() const;
    Lift lifted = Lift::none;
    bool bellShown = false;
    int flashesLeft = 0;

    // The application, as much of it as a sticky needs.
    NoteHost* app = nullptr;
    const std::wstring guid;
    HWND window = nullptr;
    // The DPI of the monitor the sticky is on.
    int dpi = baseDpi;
    HWND newButton = nullptr;
    HWND trashButton = nullptr;
    HWND titleEdit = nullptr;
    WNDPROC titleEditProc = nullptr;
    // The folded title's window region; the title edit owns it once it is set.
    HRGN titleRegion = nullptr;
    bool titleEditing = false;
    HWND bodyEdit = nullptr;
    WNDPROC bodyEditProc = nullptr;
    HWND scribbleWindow = nullptr;
    Scribble scribble;
    DrawingDevice drawingDevice;
    ScribbleView drawingView;
    // The zoom the body's text is shown at, which the drawing follows.
    float drawingScale = 1.0f;
    ScrollBars scrollBars{*this};
    Timer layoutTimer;
    HWND tooltip = nullptr; // the program's one tooltip, shared with every sticky
    std::wstring savedThemeBase;
    std::vector<std::wstring> menuNotes; // guids, in the order of the last title menu
    NoteDocument document;
    float highlightFactor = 1.0f;
    float ruleOpacityFactor = 1.0f;
    int appliedAlpha = 255;
    bool fullScreenActive = false;
    ZOrder zOrderRequest = ZOrder::usually;
    ZOrder zOrderApplied = ZOrder::usually;
    bool ruleFold = false;
    bool folded = false;
    bool clickThrough = false;
    bool active = false;
    ThemeMap themeColours;
    RECT moveStartRect{};
    POINT moveStartCursor{};
    bool suppressMoveStore = false;
    // The next WM_MOVE is the program putting the sticky back on screen: no edit.
    bool positionFixed = false;
    bool programmaticResize = false;
    bool loading = true;
    // How text.rtf loaded, and whether the user changed the text since: a body
    // that could not be read is not written until then.
    BodyLoad bodyLoad = BodyLoad::Missing;
    FileStamp bodyStamp; // text.rtf as it was when the body was loaded
    // The parts edited in the last few seconds, saved or not: the user is still
    // at it, so a version from elsewhere opens beside rather than replacing
    // what is being typed into.
    static constexpr DWORD recentEditMilliseconds = 3000;
    std::uint32_t recentEdits = 0;
    DWORD lastEditTick = 0;
    std::uint32_t editsInProgress() const;
    bool focusPending = false;
    bool titleComposing = false;
    bool bodyComposing = false;

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
    LRESULT scribbleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool createDrawingDevice();
    // Where the drawing shows now: the drawing window's size, the body's scroll and the text zoom.
    Viewport drawingViewport() const;
    // A mouse position of the drawing window in content coordinates.
    PointF contentPoint(LPARAM lParam) const;
    // After undo and redo: redraw and the save request.
    void drawingChanged();
    // Ends the stroke and keeps it as a figure, unless note.json would then grow
    // past what the program reads back: the user is told instead.
    void commitStroke();
    // The body's paint, buffered so that it reaches the screen together with
    // the drawing laid over it, when the drawing is shown that way.
    LRESULT paintBodyAndDrawing(HWND hwnd);
    // The note context menu (its own file) and its commands.
    bool noteMenuCommand(int id);
    void appendDrawingItems(HMENU menu);
    void appendTextItems(HMENU menu);
    HMENU colourMenu(int firstId, const char* checkedMember);
    HMENU opacityMenu(int firstId, const char* member);
    std::wstring undoLabel(bool redo);
    std::wstring menuText(const char* key, const wchar_t* english) const;
    bool measureSwatch(MEASUREITEMSTRUCT* item);
    bool drawSwatch(const DRAWITEMSTRUCT* item);
    std::optional<std::wstring> paletteText(int index) const;
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
