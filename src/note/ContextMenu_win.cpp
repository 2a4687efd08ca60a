// The note context menu: the drawing menu in scribble mode, the text menu
// otherwise, and the commands of the drawing menu.
#include "note/ContextMenu_win.h"

#include <algorithm>

#include <richedit.h>

#include "base/UniqueHandle_win.h"
#include "note/MenuText.h"
#include "note/NoteHost_win.h"
#include "note/Note_win.h"
#include "note/RichEdit_win.h"
#include "scribble/FigureLibrary.h"
#include "scribble/DrawingMenu.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

void appendItem(HMENU menu, UINT id, const std::wstring& label, bool checked = false, bool greyed = false,
                bool newColumn = false) {
    UINT flags =
        MF_STRING | (checked ? MF_CHECKED : 0) | (greyed ? MF_GRAYED : 0) | (newColumn ? MF_MENUBARBREAK : 0);
    AppendMenuW(menu, flags, id, label.c_str());
}

void appendSeparator(HMENU menu) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
}

void appendSubMenu(HMENU menu, HMENU sub, const std::wstring& label) {
    AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), label.c_str());
}

} // namespace

std::wstring ContextMenu::menuText(const char* key, const wchar_t* english) const {
    return note_.app ? note_.app->lookupText(key, english) : std::wstring(english);
}

HMENU ContextMenu::colourMenu(int firstId, const char* checkedMember) {
    HMENU menu = CreatePopupMenu();
    const std::string stored =
        checkedMember ? stringAt(note_.document.json, {"scribble", checkedMember}, "") : std::string();
    const std::vector<std::wstring>& colours = note_.app->colourList();
    for (size_t i = 0; i < colours.size(); ++i) {
        // The item's data is the colour text; the sticky window draws the swatch.
        UINT flags = MF_OWNERDRAW | (i != 0 && i % coloursPerColumn == 0 ? MF_MENUBARBREAK : 0) |
                     (checkedMember && wideToUtf8(colours[i]) == stored ? MF_CHECKED : 0);
        AppendMenuW(menu, flags, static_cast<UINT_PTR>(firstId) + i, colours[i].c_str());
    }
    return menu;
}

HMENU ContextMenu::opacityMenu(int firstId, const char* member) {
    HMENU menu = CreatePopupMenu();
    const float stored = numberAt(note_.document.json, {"scribble", member}, -1);
    const std::string keyBase = std::string("menu.scribble.") + member + ".level";
    for (int i = 0; i < opacityLevels; ++i) {
        const std::wstring english = std::to_wstring(i * 10) + L"%";
        appendItem(menu, static_cast<UINT>(firstId + i),
                   menuText((keyBase + std::to_string(i * 10)).c_str(), english.c_str()),
                   nearlyEqual(stored, static_cast<float>(i) / 10.0f));
    }
    return menu;
}

void ContextMenu::appendDrawingItems(HMENU menu) {
    Scribble& scribble = note_.drawing.scribble;
    appendItem(menu, CommandFigureUndo, menuText("menu.common.undo", L"Undo"), false, !scribble.canUndo());
    appendItem(menu, CommandFigureRedo, menuText("menu.common.redo", L"Redo"), false, !scribble.canRedo());
    appendSeparator(menu);

    HMENU tools = CreatePopupMenu();
    appendItem(tools, CommandFreeline, menuText("menu.scribble.tools.freeline", L"Free line"),
               scribble.tool == toolFreeline);
    const Json& library = note_.app->figureLibrary;
    const std::string language = stringAt(note_.app->settings, {"language"}, "English");
    for (size_t i = 0; i < figureCount(library); ++i) {
        appendItem(tools, static_cast<UINT>(CommandFigureToolFirst + i),
                   figureLocalName(library, i, language), scribble.tool == figureName(library, i), false,
                   i != 0 && (i + 1) % toolsPerColumn == 0);
    }
    appendSubMenu(menu, tools, menuText("menu.scribble.tool", L"Tools"));

    HMENU widths = CreatePopupMenu();
    const float storedWidth = numberAt(note_.document.json, {"scribble", "strokeWidth"}, -1);
    for (size_t i = 0; i < strokeWidths.size(); ++i) {
        appendItem(widths, static_cast<UINT>(CommandStrokeWidthFirst + i), strokeWidthLabel(strokeWidths[i]),
                   nearlyEqual(storedWidth, strokeWidths[i]));
    }
    appendSubMenu(menu, widths, menuText("menu.scribble.strokeWidth", L"Stroke width"));
    appendSeparator(menu);

    appendSubMenu(menu, colourMenu(CommandStrokeColourFirst, "strokeColor"),
                  menuText("menu.scribble.strokeColor", L"Stroke color"));
    appendSubMenu(menu, opacityMenu(CommandStrokeOpacityFirst, "strokeOpacity"),
                  menuText("menu.scribble.strokeOpacity.name", L"Stroke opacity"));
    appendSubMenu(menu, colourMenu(CommandFillColourFirst, "fillColor"),
                  menuText("menu.scribble.fillColor", L"Fill color"));
    appendSubMenu(menu, opacityMenu(CommandFillOpacityFirst, "fillOpacity"),
                  menuText("menu.scribble.fillOpacity.name", L"Fill opacity"));
    appendSeparator(menu);
    appendItem(menu, CommandEraser, menuText("menu.scribble.eraser", L"Eraser"), scribble.eraser);
    appendItem(menu, CommandClear, menuText("menu.scribble.clear", L"Clear"));
}

std::wstring ContextMenu::undoLabel(bool redo) {
    std::wstring label = redo ? menuText("menu.common.redo", L"Redo") : menuText("menu.common.undo", L"Undo");
    int code = static_cast<int>(SendMessageW(note_.bodyEdit, redo ? EM_GETREDONAME : EM_GETUNDONAME, 0, 0));
    const char* key = undoNameKey(code);
    if (*key) {
        label += L" - " + menuText(key, undoNameText(code));
    }
    return label;
}

void ContextMenu::appendTextItems(HMENU menu) {
    const bool canUndo = SendMessageW(note_.bodyEdit, EM_CANUNDO, 0, 0) != 0;
    const bool canRedo = SendMessageW(note_.bodyEdit, EM_CANREDO, 0, 0) != 0;
    appendItem(menu, CommandUndo, canUndo ? undoLabel(false) : menuText("menu.common.undo", L"Undo"), false,
               !canUndo);
    appendItem(menu, CommandRedo, canRedo ? undoLabel(true) : menuText("menu.common.redo", L"Redo"), false,
               !canRedo);
    appendSeparator(menu);
    appendItem(menu, CommandCut, menuText("menu.text.cut", L"Cut"));
    appendItem(menu, CommandCopy, menuText("menu.text.copy", L"Copy"));
    appendItem(menu, CommandPaste, menuText("menu.text.paste", L"Paste"));
    appendSeparator(menu);
    appendItem(menu, CommandBold, menuText("menu.text.bold", L"Bold"));
    appendItem(menu, CommandItalic, menuText("menu.text.italic", L"Italic"));
    appendItem(menu, CommandUnderline, menuText("menu.text.underline", L"Underline"));
    appendItem(menu, CommandStrikeout, menuText("menu.text.strikeThrough", L"Strikethrough"));
    appendSeparator(menu);
    appendSubMenu(menu, colourMenu(CommandTextColourFirst, nullptr),
                  menuText("menu.text.textColor", L"Text color"));
    appendSubMenu(menu, colourMenu(CommandBackColourFirst, nullptr),
                  menuText("menu.text.backColor", L"Back color"));
    HMENU sizes = CreatePopupMenu();
    for (size_t i = 0; i < bodyFontSizes.size(); ++i) {
        appendItem(sizes, static_cast<UINT>(CommandFontSizeFirst + i), std::to_wstring(bodyFontSizes[i]));
    }
    appendSubMenu(menu, sizes, menuText("menu.text.fontSize", L"Font size"));
    HMENU fonts = CreatePopupMenu();
    const std::vector<std::wstring>& names = note_.app->fontFamilyNames();
    for (size_t i = 0; i < names.size(); ++i) {
        appendItem(fonts, static_cast<UINT>(CommandFontNameFirst + i), names[i]);
    }
    appendSubMenu(menu, fonts, menuText("menu.text.fontName", L"Font name"));
    appendItem(menu, CommandWordWrap, menuText("menu.text.wordwrap", L"Word wrap"),
               booleanAt(note_.document.json, {"text", "wordwrap"}, true));
}

HMENU ContextMenu::build() {
    HMENU menu = CreatePopupMenu();
    const bool drawing = note_.document.scribbleMode();
    if (drawing) {
        appendDrawingItems(menu);
    } else {
        appendTextItems(menu);
    }
    appendSeparator(menu);
    appendItem(menu, CommandMode, menuText("menu.common.scribbleMode", L"Scribble mode"), drawing);
    appendSeparator(menu);
    HMENU titleMenu = CreatePopupMenu();
    note_.titleMenu.build(titleMenu, false);
    appendSubMenu(menu, titleMenu, menuText("menu.common.titleMenu", L"Title menu"));
    appendSeparator(menu);
    appendItem(menu, CommandCancel, menuText("menu.common.cancel", L"Cancel"));
    return menu;
}

void ContextMenu::show(std::optional<POINT> at) {
    if (!note_.app || !note_.window) {
        return;
    }
    UniqueMenu menu(build());
    const POINT place = menuPlace(at);
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, place.x, place.y, 0, note_.window, nullptr);
}

bool ContextMenu::command(int id) {
    Scribble& scribble = note_.drawing.scribble;
    auto storePen = [&](const char* member, const Json& value) {
        storeAt(note_.document.json, {"scribble", member}, value);
        note_.markChanged(SaveJson);
        return true;
    };
    switch (id) {
    case CommandFigureUndo:
    case CommandFigureRedo:
        if (id == CommandFigureUndo ? scribble.undo() : scribble.redo()) {
            note_.drawing.changed();
        }
        return true;
    case CommandEraser:
        scribble.eraser = !scribble.eraser;
        return storePen("eraser", scribble.eraser);
    case CommandClear:
        // A drawing cleared by mistake can be taken back from the sticky's
        // earlier versions, even once its undo is gone.
        if (note_.app &&
            std::any_of(scribble.figures.begin() + static_cast<std::ptrdiff_t>(scribble.lastClear()),
                        scribble.figures.begin() +
                            static_cast<std::ptrdiff_t>(std::min(scribble.position, scribble.figures.size())),
                        [](const Figure& figure) { return figure.tool != toolClear; })) {
            note_.app->keepVersion(note_, Replacement::ClearDrawing);
        }
        scribble.clearDrawing();
        note_.drawing.render();
        note_.markChanged(SaveFigures);
        return true;
    case CommandFreeline:
        scribble.tool = toolFreeline;
        return storePen("tool", "freeline");
    default:
        break;
    }
    if (!note_.app) {
        return false;
    }
    if (id >= CommandFigureToolFirst && id < CommandStrokeWidthFirst) {
        scribble.tool =
            figureName(note_.app->figureLibrary, static_cast<size_t>(id - CommandFigureToolFirst));
        return storePen("tool", wideToUtf8(scribble.tool));
    }
    if (id >= CommandStrokeWidthFirst &&
        id < CommandStrokeWidthFirst + static_cast<int>(strokeWidths.size())) {
        scribble.strokeWidth = strokeWidths[static_cast<size_t>(id - CommandStrokeWidthFirst)];
        return storePen("strokeWidth", scribble.strokeWidth);
    }
    for (bool stroke : {true, false}) {
        const int first = stroke ? CommandStrokeColourFirst : CommandFillColourFirst;
        if (id >= first && id < first + 1000) {
            const std::vector<std::wstring>& colours = note_.app->colourList();
            const size_t index = static_cast<size_t>(id - first);
            std::optional<Colour> colour =
                index < colours.size() ? parseColour(colours[index]) : std::nullopt;
            if (!colour) {
                return true;
            }
            if (stroke) {
                scribble.setStrokeColour(*colour);
            } else {
                scribble.setFillColour(*colour);
            }
            return storePen(stroke ? "strokeColor" : "fillColor", wideToUtf8(colours[index]));
        }
        const int opacityFirst = stroke ? CommandStrokeOpacityFirst : CommandFillOpacityFirst;
        if (id >= opacityFirst && id < opacityFirst + opacityLevels) {
            const float opacity = static_cast<float>(id - opacityFirst) / 10.0f;
            if (stroke) {
                scribble.setStrokeOpacity(opacity);
            } else {
                scribble.setFillOpacity(opacity);
            }
            return storePen(stroke ? "strokeOpacity" : "fillOpacity", opacity);
        }
    }
    return false;
}

} // namespace Brisvane
