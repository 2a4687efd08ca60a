#pragma once
// Rich Edit building blocks of a sticky: setting up the title and body edits,
// loading and saving the body as RTF, its selection and scroll state, its text,
// character effects and links.
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include <windows.h>

#include <ole2.h>
#include <richedit.h>
#include <richole.h>
#include <tom.h>
#include <wrl/client.h>

#include "base/Colour.h"

namespace Brisvane {

// ITextDocument, which the import libraries do not define.
inline constexpr IID iidTextDocument = {
    0x8CC497C0, 0xA1DF, 0x11CE, {0x80, 0x98, 0x00, 0xAA, 0x00, 0x47, 0xBE, 0x5D}};

// The face used for title and body text.
inline constexpr wchar_t noteFontFace[] = L"メイリオ";

// Font sizes are points; Rich Edit heights are twips. The body multiplies by
// 14, the title bar height by 9.
inline constexpr int bodyTwipsPerUnit = 14;
// Points offered by the font-size commands.
inline constexpr std::array<int, 16> bodyFontSizes{8,  9,  10, 11, 12, 14, 16, 18,
                                                   20, 22, 24, 26, 28, 36, 48, 72};
inline constexpr int titleTwipsPerUnit = 9;

// Everything the sticky window wants to hear from its body.
inline constexpr DWORD bodyEventMask = ENM_CHANGE | ENM_SCROLL | ENM_DRAGDROPDONE | ENM_KEYEVENTS |
                                       ENM_MOUSEEVENTS | ENM_REQUESTRESIZE | ENM_SELCHANGE | ENM_DROPFILES |
                                       ENM_LINK;
// Characters a body takes; far beyond any note, within what the control holds.
inline constexpr LPARAM bodyTextLimit = 0x7FFFFFFE;
inline constexpr LPARAM bodyUrlDetection = AURL_ENABLEURL | AURL_ENABLEEMAILADDR | AURL_ENABLEDRIVELETTERS;

// Loads Msftedit.dll (class "RICHEDIT50W") once; the module stays for the
// life of the process. True when it is loaded.
bool loadRichEditLibrary();

// The title edit: background, text, centred font of titlebarHeight x 9 twips,
// read-only, reporting changes.
void setUpTitleEdit(HWND title, const std::wstring& text, int titlebarHeight, Colour background,
                    Colour textColour);

// The body edit: an OleCallback (owned by the control from here on),
// background, word wrap, URL detection and the body's event mask.
void setUpBody(HWND body, bool wordWrap, bool autoDetectUrl, Colour background);
// Wraps at the window edge, or not at all.
void setWordWrap(HWND body, bool wordWrap);
// Makes fontSize x 14 twips, the colour and the note face, with no effects,
// the control's default format and gives them to all text; leaves the caret at
// the start and sets the side margins in pixels. Called before the text loads.
void applyBodyFormat(HWND body, int fontSize, Colour textColour, int marginLeft, int marginRight);

// The body as RTF bytes, without a NUL after the document; nothing when the
// control reports a stream error.
std::optional<std::string> streamOutRtf(HWND body);

// What a note remembers of its body between runs.
struct BodyState {
    long selectionStart = 0, selectionEnd = 0;
    int scrollLeft = 0, scrollTop = 0;
};
BodyState readBodyState(HWND body);
// Selection first, then the scroll position, so the caret does not scroll the
// view away again; openIme opens the input method on the body.
void restoreBodyState(HWND body, const BodyState& state, bool openIme);

// The control's plain text, at most maxChars characters; a surrogate pair is
// never split at the cut.
std::wstring editText(HWND edit, std::size_t maxChars);
// The title as shown in lists: the title text, or the start of the body text
// when the title is empty; at most 255 characters.
inline constexpr std::size_t maxTitleChars = 255;
std::wstring noteTitleText(HWND title, HWND body);

// Flips one character effect (CFE_BOLD with CFM_BOLD and so on) over the
// selection: all of it takes the opposite of what the control reports for it.
void toggleCharEffect(HWND body, DWORD mask, DWORD effect);

// The body's text object model; empty when the control offers none.
Microsoft::WRL::ComPtr<ITextDocument> textDocument(HWND edit);
// The text of characters cpMin to cpMax, read through the text object model;
// nothing when a step fails.
std::optional<std::wstring> rangeText(HWND edit, long cpMin, long cpMax);
// Opens a link with the shell: web and mail links at once, anything else only
// when `confirm` (given the target) says yes. False when the text cannot be
// read, the user declines or the shell refuses it.
bool openLinkAt(HWND body, long cpMin, long cpMax, const std::function<bool(const std::wstring&)>& confirm);

// Asks in a message box, naming the target, whether to open a link that is
// not a web or mail link; No is the default.
bool askToOpenLink(HWND owner, const std::wstring& target, const std::wstring& question);

} // namespace Brisvane
