#pragma once
// One rule of a group: the event it listens to and the changes it makes to the
// group's stickies, at once or after its timer's delay.
#include <cstdint>
#include <string>
#include <vector>

#include "base/Timer.h"
#include "storage/Json.h"

namespace Brisvane {

enum RuleEffect : std::uint32_t {
    EffectOpacity = 1,
    EffectZOrder = 2,
    EffectFold = 4,
    EffectTransparent = 8
};

class Rule : public Timer {
public:
    ~Rule() override = default; // the Timer part kills a running timer

    std::wstring action;
    std::uint32_t effects = 0;
    float opacity = 1.0f;
    std::int32_t zOrder = 0;
    bool fold = false;
    bool transparent = false;
    std::vector<std::wstring> except;
};

// Reads a stored rule object into `rule` (action, delay as `elapse`, reset,
// effects with their values, except). False, and `rule` untouched, when the
// element is not an object with a string "action".
bool readRule(const Json& element, Rule& rule);

} // namespace Brisvane
