#include "groups/Rule.h"

#include <cmath>
#include <limits>

#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

std::uint32_t readDelay(const Json* value) {
    if (value == nullptr || !isNumber(*value)) {
        return 0;
    }
    double delay = numberValue(*value);
    if (!(delay > 0.0)) {
        return 0;
    }
    constexpr double largest = std::numeric_limits<std::uint32_t>::max();
    if (delay >= largest) {
        return std::numeric_limits<std::uint32_t>::max();
    }
    return static_cast<std::uint32_t>(std::trunc(delay));
}

float readOpacity(const Json& value) {
    if (!isNumber(value)) {
        return 1.0f;
    }
    double opacity = numberValue(value);
    if (opacity <= 0.0) {
        return 0.0f;
    }
    if (opacity >= 1.0) {
        return 1.0f;
    }
    return static_cast<float>(opacity);
}

// The group manager stores 2 for "Always top"; reading it as 2 keeps that
// choice alive instead of folding it into plain top.
std::int32_t readZOrder(const Json& value) {
    if (!isNumber(value)) {
        return 0;
    }
    double level = numberValue(value);
    if (level >= 2.0) {
        return 2;
    }
    if (level >= 1.0) {
        return 1;
    }
    if (level <= -1.0) {
        return -1;
    }
    return 0;
}

bool readBoolean(const Json& value) {
    return value.is_boolean() && value.get<bool>();
}

const Json* member(const Json& object, const char* name) {
    auto it = object.find(name);
    return it == object.end() ? nullptr : &*it;
}

} // namespace

bool readRule(const Json& element, Rule& rule) {
    if (!element.is_object()) {
        return false;
    }
    const Json* action = member(element, "action");
    if (action == nullptr || !action->is_string()) {
        return false;
    }

    rule.action = utf8ToWide(action->get_ref<const std::string&>());
    rule.elapse = readDelay(member(element, "delay"));

    // An absent key means the rule leaves that property alone, so each effect
    // bit follows presence, whatever the value's type.
    rule.effects = 0;
    rule.opacity = 1.0f;
    rule.zOrder = 0;
    rule.fold = false;
    rule.transparent = false;
    if (const Json* opacity = member(element, "opacity")) {
        rule.effects |= EffectOpacity;
        rule.opacity = readOpacity(*opacity);
    }
    if (const Json* zOrder = member(element, "zOrder")) {
        rule.effects |= EffectZOrder;
        rule.zOrder = readZOrder(*zOrder);
    }
    if (const Json* fold = member(element, "fold")) {
        rule.effects |= EffectFold;
        rule.fold = readBoolean(*fold);
    }
    if (const Json* transparent = member(element, "transparent")) {
        rule.effects |= EffectTransparent;
        rule.transparent = readBoolean(*transparent);
    }

    // Entries that are not strings are skipped rather than read as empty names:
    // an empty exception could never match an event and would only confuse the
    // group manager's list.
    rule.except.clear();
    if (const Json* except = member(element, "except"); except != nullptr && except->is_array()) {
        for (const Json& entry : *except) {
            if (entry.is_string()) {
                rule.except.push_back(utf8ToWide(entry.get_ref<const std::string&>()));
            }
        }
    }

    const Json* reset = member(element, "reset");
    rule.reset = reset != nullptr && readBoolean(*reset);
    return true;
}

} // namespace Brisvane
