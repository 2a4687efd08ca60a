#pragma once
// The rule engine: which rules an activity event selects, which stickies a rule
// changes and in what order, and the state each group's rules applied last.
// Stickies are reached only through the Sticky interface, so all of it runs
// against test stickies as well as live windows.
#include <string_view>

#include "groups/Group.h"
#include "groups/Rule.h"
#include "groups/Sticky.h"

namespace Brisvane {

class GroupHost;

// Each rule of the group whose action names the event: a delayed rule starts
// its timer, an immediate one applies now. Rules run in list order.
void dispatchEvent(GroupHost& app, Group& group, std::wstring_view event, Sticky* under, Sticky* focused);

// Records the rule's values as the group's applied state and changes the
// targets, unless a mouse button is held; always stops the rule's timer.
void applyRule(GroupHost& app, Group& group, Rule& rule, std::wstring_view event, Sticky* under,
               Sticky* focused);

// Takes every rule effect off the group's stickies and stops its rule timers;
// the applied state is kept for later.
void resetRuleEffects(Group& group);

// Gives the sticky the state its group's rules applied last.
void takeAppliedState(const Group& group, Sticky& sticky);

// Moves a sticky to another group, taking that group's applied state.
// False, and nothing changed, when either is unknown.
bool moveStickyToGroup(GroupHost& app, std::wstring_view stickyGuid, std::wstring_view groupGuid);

// Exempts a sticky from rules while it is the active window. With the effects
// following, exemption lifts them and its end restores the group's state.
void setRuleExempt(GroupHost& app, Sticky& sticky, bool exempt, bool effectsFollow);

} // namespace Brisvane
