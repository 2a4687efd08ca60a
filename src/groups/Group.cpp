#include "groups/Group.h"

#include <algorithm>
#include <utility>

namespace Brisvane {

namespace {

auto stickyWithGuid(std::wstring_view stickyGuid) {
    return [stickyGuid](const std::unique_ptr<Sticky>& sticky) {
        return sticky && sticky->stickyGuid() == stickyGuid;
    };
}

} // namespace

Group::Group(std::wstring groupGuid, std::wstring groupName)
    : guid(std::move(groupGuid)), name(std::move(groupName)) {}

// Rules first: a rule's timer must not outlive the stickies it would act on.
Group::~Group() {
    destroyRules();
    destroyStickies();
}

Sticky* Group::findSticky(std::wstring_view stickyGuid) const {
    auto it = std::find_if(notes.begin(), notes.end(), stickyWithGuid(stickyGuid));
    return it == notes.end() ? nullptr : it->get();
}

bool Group::removeSticky(std::wstring_view stickyGuid) {
    return detachSticky(stickyGuid) != nullptr; // the sticky's destructor closes its window
}

std::unique_ptr<Sticky> Group::detachSticky(std::wstring_view stickyGuid) {
    auto it = std::find_if(notes.begin(), notes.end(), stickyWithGuid(stickyGuid));
    if (it == notes.end()) {
        return nullptr;
    }
    std::unique_ptr<Sticky> sticky = std::move(*it);
    notes.erase(it);
    return sticky;
}

void Group::destroyStickies() {
    // Taken out of the list before destruction, so a sticky that looks at its
    // group while closing never sees a half-destroyed entry.
    std::vector<std::unique_ptr<Sticky>> closing = std::move(notes);
    notes.clear();
    closing.clear();
}

void Group::destroyRules() {
    std::vector<std::unique_ptr<Rule>> stopping = std::move(rules);
    rules.clear();
    stopping.clear(); // each Rule stops its timer as it goes
}

bool Group::hasRuleWithId(std::uint32_t id) const {
    return std::any_of(rules.begin(), rules.end(),
                       [id](const std::unique_ptr<Rule>& rule) { return rule && rule->id == id; });
}

} // namespace Brisvane
