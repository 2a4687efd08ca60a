// The formatting commands of a sticky's body: editing, character effects,
// colours, sizes, fonts and word wrap, each reporting what it changed.
#include <array>

#include <richedit.h>

#include "note/NoteHost_win.h"
#include "note/Note_win.h"
#include "note/RichEdit_win.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

void setSelectionFormat(HWND body, CHARFORMAT2W& format) {
    format.cbSize = sizeof format;
    SendMessageW(body, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

} // namespace

bool Note::formatCommand(int id) {
    if (!bodyEdit) {
        return false;
    }
    switch (id) {
    case CommandUndo:
    case CommandRedo:
    case CommandCut:
    case CommandPaste:
    case CommandDelete: {
        UINT message = id == CommandUndo    ? EM_UNDO
                       : id == CommandRedo  ? EM_REDO
                       : id == CommandCut   ? WM_CUT
                       : id == CommandPaste ? WM_PASTE
                                            : WM_CLEAR;
        SendMessageW(bodyEdit, message, 0, 0);
        markChanged(SaveText);
        return true;
    }
    case CommandCopy:
        SendMessageW(bodyEdit, WM_COPY, 0, 0);
        return true;
    case CommandSelectAll: {
        CHARRANGE all{0, -1};
        SendMessageW(bodyEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
        return true;
    }
    case CommandBold:
        toggleCharEffect(bodyEdit, CFM_BOLD, CFE_BOLD);
        markChanged(SaveText);
        return true;
    case CommandItalic:
        toggleCharEffect(bodyEdit, CFM_ITALIC, CFE_ITALIC);
        markChanged(SaveText);
        return true;
    case CommandUnderline:
        toggleCharEffect(bodyEdit, CFM_UNDERLINE, CFE_UNDERLINE);
        markChanged(SaveText);
        return true;
    case CommandStrikeout:
        toggleCharEffect(bodyEdit, CFM_STRIKEOUT, CFE_STRIKEOUT);
        markChanged(SaveText);
        return true;
    case CommandWordWrap: {
        bool wrap = !booleanAt(document.json, {"text", "wordwrap"}, true);
        storeAt(document.json, {"text", "wordwrap"}, wrap);
        setWordWrap(bodyEdit, wrap);
        scrollBars.resetThumbs();
        layout();
        markChanged(SaveJson);
        return true;
    }
    default:
        break;
    }
    if (!app) {
        return false;
    }
    const bool textColour = id >= CommandTextColourFirst && id < CommandTextColourFirst + 300;
    const bool backColour = id >= CommandBackColourFirst && id < CommandBackColourFirst + 300;
    if (textColour || backColour) {
        const std::vector<std::wstring>& colours = app->colourList();
        size_t index =
            static_cast<size_t>(id - (textColour ? CommandTextColourFirst : CommandBackColourFirst));
        std::optional<Colour> colour = index < colours.size() ? parseColour(colours[index]) : std::nullopt;
        if (colour) {
            CHARFORMAT2W format{};
            if (textColour) {
                format.dwMask = CFM_COLOR;
                format.crTextColor = *colour;
            } else {
                format.dwMask = CFM_BACKCOLOR;
                format.crBackColor = *colour;
            }
            setSelectionFormat(bodyEdit, format);
            markChanged(SaveText);
        }
        return true;
    }
    if (id >= CommandFontSizeFirst && id < CommandFontSizeFirst + static_cast<int>(bodyFontSizes.size())) {
        CHARFORMAT2W format{};
        format.dwMask = CFM_SIZE;
        format.yHeight = bodyFontSizes[static_cast<size_t>(id - CommandFontSizeFirst)] * bodyTwipsPerUnit;
        setSelectionFormat(bodyEdit, format);
        markChanged(SaveText);
        return true;
    }
    if (id >= CommandFontNameFirst && id < CommandFontNameFirst + 300) {
        const std::vector<std::wstring>& names = app->fontFamilyNames();
        size_t index = static_cast<size_t>(id - CommandFontNameFirst);
        if (index < names.size()) {
            CHARFORMAT2W format{};
            format.dwMask = CFM_FACE;
            lstrcpynW(format.szFaceName, names[index].c_str(), LF_FACESIZE);
            setSelectionFormat(bodyEdit, format);
            markChanged(SaveText);
        }
        return true;
    }
    return false;
}

} // namespace Brisvane
