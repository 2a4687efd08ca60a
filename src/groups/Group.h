#pragma once
// A group of stickies with its rules and the rule state it last applied.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "groups/Rule.h"
#include "groups/Sticky.h"

namespace Brisvane {

class Group {
public:
    Group(std::wstring guid, std::wstring name);
    Group(Group&&) noexcept = default;
    Group& operator=(Group&&) noexcept = default;
    virtual ~Group();

    // The sticky with this guid (exact comparison), or null.
    Sticky* findSticky(std::wstring_view stickyGuid) const;
    // Closes and destroys the sticky; false when the group has none with this guid.
    bool removeSticky(std::wstring_view stickyGuid);
    // Takes the sticky out of the group without destroying it (moving between groups).
    std::unique_ptr<Sticky> detachSticky(std::wstring_view stickyGuid);
    void destroyStickies();
    void destroyRules();
    bool hasRuleWithId(std::uint32_t id) const;

    std::wstring guid; // empty for the uncategorized group
    std::vector<std::unique_ptr<Sticky>> notes;
    std::vector<std::unique_ptr<Rule>> rules;
    std::wstring name; // stored name, or "${nameN}" for a default group
    float appliedOpacity = 1.0f;
    std::int32_t appliedZOrder = 0;
    bool appliedFold = false;
    bool appliedTransparent = false;
};

} // namespace Brisvane
