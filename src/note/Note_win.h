#pragma once
// One sticky: its top-level window and children, its note document and the
// run-time state that is never stored.
#include <string>
#include <vector>

#include <windows.h>

#include "app/Timer.h"
#include "app/UniqueHandle_win.h"
#include "note/Colour.h"
#include "note/Sticky.h"
#include "storage/Json.h"

namespace Brisvane {

class TackaroonNotes;

// Window properties carried by every window of a sticky.
inline constexpr wchar_t notePropName[] = L"TackaroonNotesAppProp";
inline constexpr wchar_t roleProp[] = L"TackaroonNotesAppPropIndex";

// Child roles, stored in the role property.
enum NoteRole : int {
    RoleSticky = 0,
    RoleScribble = 1,
    RoleNewButton = 2,
    RoleTrashButton = 3,
    RoleTitle = 4,
    RoleBody = 5,
    RoleHScroll = 6,
    RoleVScroll = 7,
    RoleScrollCorner = 8,
};

inline constexpr int titleControlId = 5;
inline constexpr int bodyControlId = 6;
inline constexpr UINT_PTR layoutTimerId = 1;
inline constexpr UINT layoutDelay = 100;

// Menu commands carried out by the sticky window.
enum NoteCommand : int {
    CommandCancel = 10,
    CommandNew = 50,
    CommandTrash = 51,
    CommandShadow = 52,
    CommandTitlebar = 53,
    CommandLock = 54,
    CommandBorder = 55,
    CommandFold = 56,
    CommandAlwaysOnTop = 57,
    CommandFixPosition = 58,
    CommandFixSize = 59,
    CommandEditTitle = 61,
    CommandOpacityFirst = 500, // 500 + n - 1 sets n tenths, n = 1..10
    CommandOpacityLast = 509,
};

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
    bool isAlwaysOnTop() const override;

    // Registers the window classes (once per process) and builds every window.
    bool createWindows(TackaroonNotes* application, const std::wstring& rtfPath);
    void destroyWindows();
    // True while the sticky's windows exist and are bound to it.
    bool hasWindows() const { return window != nullptr; }
    // The procedure of every window class of a sticky.
    static WNDPROC sharedWindowProc();

    std::wstring groupGuid() const;
    void setGroupGuid(const std::wstring& groupGuid);
    float storedOpacity() const;

    // Geometry.
    void setBounds(int left, int top, int width, int height, bool keepOnScreen);
    void resizeAtStoredPosition(int width, int height, bool keepOnScreen);
    void restoreGeometry();
    void showNote();

    // Stored and rule states.
    void setFold(bool fold, bool ruleFold, bool repaint);
    void setOpacity(float value, float factor);
    void setHighlightFactor(float factor);
    void setAlwaysOnTop(bool on, ZOrder level);
    void applyZOrder(ZOrder level);
    void setFullScreenActive(bool on, ZOrder groupLevel);
    void setShadow(bool on);
    void setRuleExempt(bool exempt);

    // Title bar and theme.
    void applyTheme(const std::wstring& base, bool repaint);
    std::wstring themeBase() const;
    void layout();
    void paintBackground(HDC dc);
    void setTitleEditing(bool on);
    void setMode(bool scribbleMode, bool takeFocus);

    // Marks the body (or the drawing) to take the keyboard focus at the next layout.
    void armFocus();
    void markChanged(std::uint32_t flags);

    TackaroonNotes* app = nullptr;
    const std::wstring guid;
    HWND window = nullptr;
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
    HWND hScroll = nullptr;
    HWND vScroll = nullptr;
    HWND scrollCorner = nullptr;
    Timer layoutTimer;
    HWND tooltip = nullptr;
    std::wstring savedThemeBase;
    std::vector<Note*> menuNotes;
    Json data;
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
    bool programmaticResize = false;
    bool loading = true;
    bool focusPending = false;
    bool titleComposing = false;
    bool bodyComposing = false;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Sizing cursors and the system's resize loop for the edges; true when handled.
    bool handleResizeZone(HWND hwnd, UINT message, LPARAM lParam, bool locked, LRESULT& result);
    LRESULT stickyMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT buttonMessage(HWND hwnd, int index, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT titleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT bodyMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool command(int id);
    LRESULT notify(NMHDR* header);
    void paintButton(HWND button, int index);
    HWND createChild(const wchar_t* className, DWORD style, int controlId, NoteRole role);
    void bind(HWND hwnd, NoteRole role);
    void unbind(HWND hwnd);
    void forgetWindows();
    void createTooltip();
    void renewToolRects();
    void focusContent();
    bool storedFlag(const char* name) const;
    bool storedFix(const char* name) const;
    int storedPosition(const char* name) const;
    void toggleFlag(const char* name);
    bool scribbleMode() const;

    SIZE lastBodySize_{};
    RECT lastTextArea_{};
};

} // namespace Brisvane
