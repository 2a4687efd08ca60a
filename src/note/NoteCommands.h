#pragma once
// The ids of a sticky: the roles and properties of its windows, its control
// and timer ids, and the commands of its menus.
#include <windows.h>

namespace Brisvane {

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
inline constexpr UINT_PTR flashTimerId = 2; // a reminder flashing the title
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
    CommandEarlierVersions = 62,
    CommandMagnetMonitor = 64,
    CommandMagnetSticky = 65,
    CommandRemind = 66,
    CommandUndo = 100,
    CommandRedo = 101,
    CommandCut = 102,
    CommandCopy = 103,
    CommandPaste = 104,
    CommandSelectAll = 105,
    CommandDelete = 106,
    CommandBold = 107,
    CommandItalic = 108,
    CommandUnderline = 109,
    CommandStrikeout = 110,
    CommandWordWrap = 111,
    CommandMode = 400,
    CommandOpacityFirst = 500, // 500 + n - 1 sets n tenths, n = 1..10
    CommandOpacityLast = 509,
    CommandThemeFirst = 600, // 600 + j: palette entry j
    CommandThemeLast = 699,
    CommandTextColourFirst = 3200, // + index into the colour list
    CommandBackColourFirst = 4000,
    CommandFontSizeFirst = 5000, // + index into the font sizes
    CommandFontNameFirst = 6000, // + index into the font family names
};

// Commands of the drawing menu.
enum DrawingCommand : int {
    CommandFigureUndo = 200,
    CommandFigureRedo = 201,
    CommandEraser = 300,
    CommandClear = 301,
    CommandFreeline = 302,
    CommandStrokeColourFirst = 7000, // + index into the colour list
    CommandFillColourFirst = 8000,
    CommandFigureToolFirst = 9000,     // + index into the figure library
    CommandStrokeWidthFirst = 10000,   // + index into strokeWidths
    CommandStrokeOpacityFirst = 11000, // + tenths
    CommandFillOpacityFirst = 12000,
};

// The title menu's ranges: each id plus an index into its list.
inline constexpr int groupSubmenuFirst = 800;
inline constexpr int showNoteFirst = 1000;
inline constexpr int moveToGroupFirst = 3000;
inline constexpr int moveToGroupLast = 3099;
inline constexpr int recoverFirst = 13000;
inline constexpr int rangeSize = 1000;

// Scroll bar timers, window timers of the bar windows.
inline constexpr UINT_PTR scrollRepeatTimerId = 100;
inline constexpr UINT_PTR scrollFollowTimerId = 200;
inline constexpr UINT scrollTimerPeriod = 10;

} // namespace Brisvane
