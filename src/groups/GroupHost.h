#pragma once
// What the groups, the rule engine and the group dialogs need of the
// application: its documents, the ordered list of groups with look-ups over
// it, and the requests to save a change. The application object implements
// the requests; tests implement them with a recording core.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "groups/Group.h"
#include "groups/Sticky.h"
#include "storage/Documents.h"
#include "storage/Json.h"

namespace Brisvane {

class GroupHost : public Documents {
public:
    GroupHost() = default;
    GroupHost(const GroupHost&) = delete;
    GroupHost& operator=(const GroupHost&) = delete;
    virtual ~GroupHost() = default;

    // Save requests, carried out by the auto-save.
    virtual void markSettingsChanged() = 0;
    virtual void markStickyChanged(const std::wstring& stickyGuid, std::uint32_t flags) = 0;

    // Replaces the group's rules with those read from `ruleArray`, each with its own timer id.
    virtual void loadRules(Group& group, const Json& ruleArray) = 0;
    // The name shown for the group at `groupIndex`: default names in the user's language.
    std::wstring displayName(std::size_t groupIndex) const;

    // Lookups, comparing guids exactly.
    Group* groupByGuid(std::wstring_view groupGuid);
    Sticky* stickyByGuid(std::wstring_view stickyGuid) const;
    std::wstring groupGuidOfSticky(std::wstring_view stickyGuid) const;
    std::wstring groupGuidAt(std::size_t index) const;
    std::size_t stickyCountAt(std::size_t index) const;
    std::size_t groupCount() const { return groups.size(); }
    std::vector<Sticky*> allStickies() const;
    std::size_t stickyCount() const;

    // What activity detection and the rule engine ask of the window system. A
    // host without one has no cursor, no focus and no buttons held.
    virtual bool cursorPosition(int& x, int& y) const;
    virtual Sticky* focusedSticky() const;
    virtual bool mouseButtonsHeld() const;

    std::vector<Group> groups; // the last one is always the uncategorized group
};

} // namespace Brisvane
