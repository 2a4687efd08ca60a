#include "groups/RuleEngine.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "groups/GroupHost.h"
#include "storage/Strings.h"

namespace Brisvane {

namespace {

constexpr std::wstring_view hoverEvent = L"mouse-hover";

bool inGroup(const Group& group, const Sticky* sticky) {
    return sticky != nullptr && std::any_of(group.notes.begin(), group.notes.end(),
                                            [sticky](const auto& note) { return note.get() == sticky; });
}

bool exceptsHovered(const Rule& rule) {
    return std::any_of(rule.except.begin(), rule.except.end(),
                       [](const std::wstring& entry) { return equalsIgnoreCase(entry, hoverEvent); });
}

// Collected before any change, so a change cannot alter who else is a target.
std::vector<Sticky*> chooseTargets(const Group& group, const Rule& rule, std::wstring_view event,
                                   Sticky* under, Sticky* focused) {
    std::vector<Sticky*> targets;
    if (equalsIgnoreCase(event, hoverEvent)) {
        if (inGroup(group, under)) {
            targets.push_back(under);
        }
        return targets;
    }
    bool skipUnder = exceptsHovered(rule);
    targets.reserve(group.notes.size());
    for (const auto& note : group.notes) {
        Sticky* sticky = note.get();
        if (sticky == nullptr || sticky == focused || sticky->isActive() || (skipUnder && sticky == under)) {
            continue;
        }
        targets.push_back(sticky);
    }
    return targets;
}

} // namespace

void dispatchEvent(GroupHost& app, Group& group, std::wstring_view event, Sticky* under, Sticky* focused) {
    for (const auto& rule : group.rules) {
        if (!rule || !equalsIgnoreCase(rule->action, event)) {
            continue;
        }
        if (rule->elapse != 0) {
            rule->start();
        } else {
            applyRule(app, group, *rule, event, under, focused);
        }
    }
}

void applyRule(GroupHost& app, Group& group, Rule& rule, std::wstring_view event, Sticky* under,
               Sticky* focused) {
    // Nothing changes under a held button (a drag, say); the firing is still used up.
    if (!app.mouseButtonsHeld()) {
        std::vector<Sticky*> targets = chooseTargets(group, rule, event, under, focused);
        if (rule.effects & EffectOpacity) {
            group.appliedOpacity = rule.opacity;
            for (Sticky* sticky : targets) {
                sticky->applyOpacityFactor(rule.opacity);
            }
        }
        if (rule.effects & EffectZOrder) {
            group.appliedZOrder = rule.zOrder;
            for (Sticky* sticky : targets) {
                sticky->setZOrderLevel(static_cast<ZOrder>(rule.zOrder));
            }
        }
        if (rule.effects & EffectFold) {
            group.appliedFold = rule.fold;
            for (Sticky* sticky : targets) {
                sticky->applyRuleFold(rule.fold);
            }
        }
        if (rule.effects & EffectTransparent) {
            group.appliedTransparent = rule.transparent;
            for (Sticky* sticky : targets) {
                sticky->setClickThrough(rule.transparent);
            }
        }
    }
    rule.stop();
}

void resetRuleEffects(Group& group) {
    for (const auto& note : group.notes) {
        if (note) {
            note->applyOpacityFactor(1.0f);
            note->setZOrderLevel(ZOrder::usually);
            note->applyRuleFold(false);
            note->setClickThrough(false);
        }
    }
    for (const auto& rule : group.rules) {
        if (rule) {
            rule->stop();
        }
    }
}

void takeAppliedState(const Group& group, Sticky& sticky) {
    sticky.applyOpacityFactor(group.appliedOpacity);
    sticky.setZOrderLevel(static_cast<ZOrder>(group.appliedZOrder));
    sticky.applyRuleFold(group.appliedFold);
    sticky.setClickThrough(group.appliedTransparent);
}

bool moveStickyToGroup(GroupHost& app, std::wstring_view stickyGuid, std::wstring_view groupGuid) {
    Group* target = app.groupByGuid(groupGuid);
    Group* source = app.groupByGuid(app.groupGuidOfSticky(stickyGuid));
    if (target == nullptr || source == nullptr) {
        return false;
    }
    std::unique_ptr<Sticky> sticky = source->detachSticky(stickyGuid);
    if (!sticky) {
        return false;
    }
    sticky->setGroupGuid(target->guid);
    Sticky& moved = *sticky;
    target->notes.push_back(std::move(sticky));
    takeAppliedState(*target, moved);
    app.markSettingsChanged();
    app.markStickyChanged(moved.stickyGuid(), SaveJson);
    return true;
}

void setRuleExempt(GroupHost& app, Sticky& sticky, bool exempt, bool effectsFollow) {
    if (sticky.isActive() == exempt) {
        return;
    }
    sticky.setRuleExemption(exempt);
    if (!effectsFollow) {
        return;
    }
    if (exempt) {
        sticky.applyOpacityFactor(1.0f);
        sticky.setZOrderLevel(ZOrder::usually);
        sticky.applyRuleFold(false);
        sticky.setClickThrough(false);
        return;
    }
    if (const Group* group = app.groupByGuid(sticky.groupGuid())) {
        takeAppliedState(*group, sticky);
    }
}

} // namespace Brisvane
