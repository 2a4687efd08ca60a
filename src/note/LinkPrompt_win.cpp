// The question before a link that is not a web or mail link is opened.
#include "base/ProgramName.h"
#include "note/RichEdit_win.h"

namespace Brisvane {

bool askToOpenLink(HWND owner, const std::wstring& target, const std::wstring& question) {
    std::wstring text = question + L"\n\n" + target;
    return MessageBoxW(owner, text.c_str(), applicationTitle, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) ==
           IDYES;
}

} // namespace Brisvane
