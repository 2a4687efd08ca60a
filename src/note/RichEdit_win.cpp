#include "note/RichEdit_win.h"

#include <algorithm>
#include <cwchar>
#include <new>

#include <imm.h>
#include <shellapi.h>

#include "base/SystemLibrary_win.h"
#include "note/LinkTarget.h"
#include "note/OleCallback_win.h"
#include "storage/RtfCheck.h"

namespace Brisvane {

using Microsoft::WRL::ComPtr;

namespace {

CHARFORMATW noteCharFormat(int twips, Colour colour) {
    CHARFORMATW format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_SIZE | CFM_COLOR | CFM_FACE;
    format.yHeight = twips;
    format.crTextColor = colour;
    std::wcscpy(format.szFaceName, noteFontFace);
    return format;
}

void addEvents(HWND edit, DWORD events) {
    LRESULT mask = SendMessageW(edit, EM_GETEVENTMASK, 0, 0);
    SendMessageW(edit, EM_SETEVENTMASK, 0, static_cast<LPARAM>(static_cast<DWORD>(mask) | events));
}

DWORD CALLBACK appendChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* transferred) {
    auto* bytes = reinterpret_cast<std::string*>(cookie);
    *transferred = 0;
    if (size < 0) {
        return 1;
    }
    // An exception must not unwind through the control.
    try {
        bytes->append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(size));
    } catch (...) {
        return 1;
    }
    *transferred = size;
    return 0;
}

// The input context of a window for the life of the scope.
class ScopedImeContext {
public:
    explicit ScopedImeContext(HWND window) : window_(window), context_(ImmGetContext(window)) {}
    ScopedImeContext(const ScopedImeContext&) = delete;
    ScopedImeContext& operator=(const ScopedImeContext&) = delete;
    ~ScopedImeContext() {
        if (context_) {
            ImmReleaseContext(window_, context_);
        }
    }
    HIMC get() const { return context_; }

private:
    HWND window_;
    HIMC context_;
};

// Frees a BSTR when the scope ends.
class ScopedBstr {
public:
    ScopedBstr() = default;
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;
    ~ScopedBstr() { SysFreeString(text_); }
    BSTR* out() { return &text_; }
    BSTR get() const { return text_; }

private:
    BSTR text_ = nullptr;
};

bool isHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

} // namespace

bool loadRichEditLibrary() {
    // Kept for the process: every body and title edit needs the class.
    static const HMODULE module = loadSystemLibrary(L"Msftedit.dll");
    return module != nullptr;
}

void setUpTitleEdit(HWND title, const std::wstring& text, int titlebarHeight, Colour background,
                    Colour textColour) {
    SendMessageW(title, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(background));
    SetWindowTextW(title, text.c_str());
    SendMessageW(title, EM_SETSEL, 0, -1);
    CHARFORMATW format = noteCharFormat(titlebarHeight * titleTwipsPerUnit, textColour);
    SendMessageW(title, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    PARAFORMAT paragraph{};
    paragraph.cbSize = sizeof paragraph;
    paragraph.dwMask = PFM_ALIGNMENT;
    paragraph.wAlignment = PFA_CENTER;
    SendMessageW(title, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
    SendMessageW(title, EM_SETSEL, 0, 0);
    SendMessageW(title, EM_SETREADONLY, TRUE, 0);
    addEvents(title, ENM_CHANGE);
}

void setUpBody(HWND body, bool wordWrap, bool autoDetectUrl, Colour background) {
    // The control takes its own reference; ours goes at the end of the scope,
    // which also frees the callback should the control refuse it.
    ComPtr<OleCallback> callback(new (std::nothrow) OleCallback);
    if (callback) {
        SendMessageW(body, EM_SETOLECALLBACK, 0, reinterpret_cast<LPARAM>(callback.Get()));
    }
    SendMessageW(body, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(background));
    // The default limit stops typing at 32,767 characters.
    SendMessageW(body, EM_EXLIMITTEXT, 0, bodyTextLimit);
    setWordWrap(body, wordWrap);
    if (autoDetectUrl) {
        SendMessageW(body, EM_AUTOURLDETECT, bodyUrlDetection, 0);
    }
    addEvents(body, bodyEventMask);
}

void setWordWrap(HWND body, bool wordWrap) {
    // Line width 0 wraps at the window; 1 means a line never wraps.
    SendMessageW(body, EM_SETTARGETDEVICE, 0, wordWrap ? 0 : 1);
}

void applyBodyFormat(HWND body, int fontSize, Colour textColour, int marginLeft, int marginRight) {
    CHARFORMATW format = noteCharFormat(fontSize * bodyTwipsPerUnit, textColour);
    // Stored text that leaves font, size or effects to the control takes its
    // default format: this one, plain, on every system (Wine's own default is
    // a bold "System").
    CHARFORMATW plain = format;
    plain.dwMask |= CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    SendMessageW(body, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&plain));
    SendMessageW(body, EM_SETSEL, 0, -1);
    SendMessageW(body, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    SendMessageW(body, EM_SETSEL, 0, 0);
    SendMessageW(body, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                 MAKELONG(static_cast<WORD>(marginLeft), static_cast<WORD>(marginRight)));
}

std::optional<std::string> streamOutRtf(HWND body) {
    std::string bytes;
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&bytes);
    stream.pfnCallback = appendChunk;
    SendMessageW(body, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    if (stream.dwError != 0) {
        return std::nullopt;
    }
    bytes.resize(withoutTrailingNuls(bytes).size());
    return bytes;
}

BodyState readBodyState(HWND body) {
    CHARRANGE selection{};
    SendMessageW(body, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    POINT scroll{};
    SendMessageW(body, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    return {selection.cpMin, selection.cpMax, static_cast<int>(scroll.x), static_cast<int>(scroll.y)};
}

void restoreBodyState(HWND body, const BodyState& state, bool openIme) {
    CHARRANGE selection{state.selectionStart, state.selectionEnd};
    SendMessageW(body, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    if (openIme) {
        ScopedImeContext context(body);
        if (context.get()) {
            ImmSetOpenStatus(context.get(), TRUE);
        }
    }
    POINT scroll{state.scrollLeft, state.scrollTop};
    SendMessageW(body, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
}

std::wstring editText(HWND edit, std::size_t maxChars) {
    int length = GetWindowTextLengthW(edit);
    if (length <= 0 || maxChars == 0) {
        return {};
    }
    // One character more than kept shows whether the cut falls inside a pair.
    std::size_t wanted = std::min(static_cast<std::size_t>(length), maxChars + 1);
    std::wstring text(wanted + 1, L'\0');
    int copied = GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    if (text.size() > maxChars) {
        text.resize(maxChars);
        if (isHighSurrogate(text.back())) {
            text.pop_back();
        }
    }
    return text;
}

std::wstring noteTitleText(HWND title, HWND body) {
    std::wstring text = editText(title, maxTitleChars);
    return text.empty() ? editText(body, maxTitleChars) : text;
}

void toggleCharEffect(HWND body, DWORD mask, DWORD effect) {
    CHARFORMATW format{};
    format.cbSize = sizeof format;
    format.dwMask = mask;
    SendMessageW(body, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    // A mixed selection comes back with the mask bit cleared; it is set again
    // so that the flipped effect reaches every character.
    format.dwMask = mask;
    format.dwEffects ^= effect;
    SendMessageW(body, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

ComPtr<ITextDocument> textDocument(HWND edit) {
    ComPtr<IRichEditOle> ole;
    if (!SendMessageW(edit, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(ole.GetAddressOf())) || !ole) {
        return {};
    }
    ComPtr<ITextDocument> document;
    if (FAILED(ole->QueryInterface(iidTextDocument, reinterpret_cast<void**>(document.GetAddressOf())))) {
        return {};
    }
    return document;
}

std::optional<std::wstring> rangeText(HWND edit, long cpMin, long cpMax) {
    ComPtr<ITextDocument> document = textDocument(edit);
    if (!document) {
        return std::nullopt;
    }
    ComPtr<ITextRange> range;
    if (FAILED(document->Range(cpMin, cpMax, range.GetAddressOf())) || !range) {
        return std::nullopt;
    }
    ScopedBstr text;
    if (FAILED(range->GetText(text.out()))) {
        return std::nullopt;
    }
    return std::wstring(text.get() ? text.get() : L"", SysStringLen(text.get()));
}

bool openLinkAt(HWND body, long cpMin, long cpMax, const std::function<bool(const std::wstring&)>& confirm) {
    std::optional<std::wstring> target = rangeText(body, cpMin, cpMax);
    if (!target || target->empty()) {
        return false;
    }
    // A path or another scheme could start a program: only on the user's word.
    if (!opensWithoutAsking(*target) && !confirm(*target)) {
        return false;
    }
    HINSTANCE result = ShellExecuteW(body, nullptr, target->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

} // namespace Brisvane
