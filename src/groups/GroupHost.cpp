#include "groups/GroupHost.h"

#include <algorithm>

#include "storage/Language.h"
#include "storage/Strings.h"

namespace Brisvane {

std::wstring GroupHost::displayName(std::size_t groupIndex) const {
    if (groupIndex >= groups.size()) {
        return std::wstring();
    }
    if (groupIndex + 1 == groups.size()) {
        return lookupText("group.uncategorized", L"(Uncategorized)");
    }
    const std::wstring& stored = groups[groupIndex].name;
    std::vector<std::wstring> names = defaultGroupNames(languages, settings);
    // A language without its own list (or a missing language) shows the English names.
    std::vector<std::wstring> english = defaultGroupNames(languages, Json{{"language", "English"}});
    std::size_t count = std::max(names.size(), english.size());
    for (std::size_t n = 0; n < count; ++n) {
        if (!equalsIgnoreCase(L"${name" + std::to_wstring(n) + L"}", stored)) {
            continue;
        }
        if (n < names.size() && !names[n].empty()) {
            return names[n];
        }
        if (n < english.size() && !english[n].empty()) {
            return english[n];
        }
        return stored;
    }
    return stored;
}

Group* GroupHost::groupByGuid(std::wstring_view groupGuid) {
    for (Group& group : groups) {
        if (group.guid == groupGuid) {
            return &group;
        }
    }
    return nullptr;
}

Sticky* GroupHost::stickyByGuid(std::wstring_view stickyGuid) const {
    for (const Group& group : groups) {
        if (Sticky* sticky = group.findSticky(stickyGuid)) {
            return sticky;
        }
    }
    return nullptr;
}

std::wstring GroupHost::groupGuidOfSticky(std::wstring_view stickyGuid) const {
    for (const Group& group : groups) {
        if (group.findSticky(stickyGuid) != nullptr) {
            return group.guid;
        }
    }
    return std::wstring();
}

std::wstring GroupHost::groupGuidAt(std::size_t index) const {
    return index < groups.size() ? groups[index].guid : std::wstring();
}

std::size_t GroupHost::stickyCountAt(std::size_t index) const {
    return index < groups.size() ? groups[index].notes.size() : 0;
}

std::vector<Sticky*> GroupHost::allStickies() const {
    std::vector<Sticky*> all;
    all.reserve(stickyCount());
    for (const Group& group : groups) {
        for (const auto& sticky : group.notes) {
            if (sticky) {
                all.push_back(sticky.get());
            }
        }
    }
    return all;
}

std::size_t GroupHost::stickyCount() const {
    std::size_t count = 0;
    for (const Group& group : groups) {
        count += group.notes.size();
    }
    return count;
}

bool GroupHost::cursorPosition(int&, int&) const {
    return false;
}

Sticky* GroupHost::focusedSticky() const {
    return nullptr;
}

bool GroupHost::mouseButtonsHeld() const {
    return false;
}

} // namespace Brisvane
