#include "app/FirstStart.h"

#include <string_view>

#include "storage/Language.h"

namespace Brisvane {

namespace {

constexpr std::wstring_view folderPlaceholder = L"${folder}";

constexpr wchar_t englishWelcome[] =
    L"Welcome to Tackaroon notes!\n\n"
    L"While you work, this sticky turns translucent and folds to its title bar; it comes back when you "
    L"pause for 30 seconds or rest the mouse on it. That is the rule of its group, which you can change "
    L"in the group manager.\n\n"
    L"Right-click the title bar for the sticky's menu. The program's menu is on its icon in the "
    L"notification area.\n\n"
    L"New sticky: the + on the title bar, or \"Select group and Create new Sticky\" in the program's "
    L"menu.\n\n"
    L"Your notes are kept in ${folder}";

} // namespace

std::wstring welcomeText(const Json& languages, const Json& settings, const std::wstring& notesFolder) {
    std::wstring text = lookupText(languages, settings, "firstStart.text", englishWelcome);
    for (std::size_t at = text.find(folderPlaceholder); at != std::wstring::npos;
         at = text.find(folderPlaceholder, at + notesFolder.size())) {
        text.replace(at, folderPlaceholder.size(), notesFolder);
    }
    return text;
}

Rect centredIn(const Rect& area, int width, int height) {
    int left = area.left + (area.width() > width ? (area.width() - width) / 2 : 0);
    int top = area.top + (area.height() > height ? (area.height() - height) / 2 : 0);
    return rectFromSize(left, top, width, height);
}

} // namespace Brisvane
