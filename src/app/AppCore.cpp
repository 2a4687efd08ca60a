#include "app/AppCore.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "groups/Rule.h"
#include "storage/Language.h"
#include "storage/Settings.h"
#include "storage/Strings.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

const Json& memberOrNull(const Json& object, const char* name) {
    static const Json none;
    if (!object.is_object()) {
        return none;
    }
    auto it = object.find(name);
    return it == object.end() ? none : *it;
}

void collectRuleIds(const Group& group, std::vector<std::uint32_t>& ids) {
    for (const auto& rule : group.rules) {
        if (rule) {
            ids.push_back(rule->id);
        }
    }
}

// The smallest id from FIRST_RULE_TIMER that no rule of the list uses, nor any
// rule of `outside`, a group being built that is not in the list yet.
std::uint32_t freeRuleId(const std::vector<Group>& groups, const Group* outside) {
    std::vector<std::uint32_t> ids;
    for (const Group& group : groups) {
        collectRuleIds(group, ids);
    }
    if (outside != nullptr) {
        collectRuleIds(*outside, ids);
    }
    std::sort(ids.begin(), ids.end());
    std::uint32_t candidate = FIRST_RULE_TIMER;
    for (std::uint32_t id : ids) {
        if (id == candidate) {
            ++candidate;
        } else if (id > candidate) {
            break;
        }
    }
    return candidate;
}

} // namespace

AppCore::AppCore(TimerService* timers) : timers_(timers) {}

AppCore::~AppCore() {
    autoSaveTimer.stop();
    fullScreenTimer.stop();
    destroyGroups();
}

void AppCore::prepareAutoSaveTimer() {
    // Bounded here only; the stored value stays as the user (or a hand edit) left it.
    std::int64_t seconds = std::clamp<std::int64_t>(autoSaveElapse(settings), 0, maxAutoSaveSeconds);
    autoSaveTimer.prepare(timers_, timerWindow, TIMER_AUTOSAVE, static_cast<std::uint32_t>(seconds * 1000),
                          true);
}

void AppCore::markSettingsChanged() {
    settingsUnsaved = true;
    if (!autoSaveAvailable(settings)) {
        return;
    }
    settingsDirty = true;
    autoSaveTimer.start();
}

void AppCore::markStickyChanged(const std::wstring& stickyGuid, std::uint32_t flags) {
    if (Sticky* sticky = stickyByGuid(stickyGuid)) {
        sticky->unsavedFlags |= flags;
    }
    if (!autoSaveAvailable(settings)) {
        return;
    }
    auto it = std::find_if(pendingSaves.begin(), pendingSaves.end(),
                           [&](const PendingSave& pending) { return pending.guid == stickyGuid; });
    if (it != pendingSaves.end()) {
        it->flags |= flags;
    } else {
        pendingSaves.push_back({stickyGuid, flags});
    }
    autoSaveTimer.start();
}

void AppCore::clearPendingSaves() {
    settingsDirty = false;
    pendingSaves.clear();
    autoSaveTimer.stop();
}

void AppCore::flushAutoSave() {
    // A write that fails (a full disk, a read-only file) stays pending and is
    // tried again at the next auto-save and at shutdown.
    bool settingsFailed = settingsDirty && !saveSettings();
    std::vector<PendingSave> failed;
    // By index: a save that records another change appends and must not
    // invalidate the walk.
    for (std::size_t i = 0; i < pendingSaves.size(); ++i) {
        std::wstring guid = pendingSaves[i].guid;
        std::uint32_t flags = pendingSaves[i].flags;
        Sticky* sticky = stickyByGuid(guid);
        if (sticky == nullptr) {
            continue; // deleted since the change
        }
        std::uint32_t unsaved = 0;
        if ((flags & SaveText) && !saveStickyText(*sticky)) {
            unsaved |= SaveText;
        }
        if ((flags & (SaveJson | SaveFigures)) && !saveStickyJson(*sticky, (flags & SaveFigures) != 0)) {
            unsaved |= flags & (SaveJson | SaveFigures);
        }
        if (unsaved != 0) {
            failed.push_back({std::move(guid), unsaved});
        }
    }
    clearPendingSaves();
    settingsDirty = settingsFailed;
    pendingSaves = std::move(failed);
}

bool AppCore::anythingUnsaved() const {
    if (settingsUnsaved || settingsDirty || !pendingSaves.empty()) {
        return true;
    }
    std::vector<Sticky*> all = allStickies();
    return std::any_of(all.begin(), all.end(),
                       [](const Sticky* sticky) { return sticky->unsavedFlags != 0; });
}

void AppCore::loadGroups() {
    destroyGroups();
    const Json& entries = memberOrNull(settings, "group");
    if (entries.is_array()) {
        // Counted by position, so entries past the limit stay stored but unused
        // even when an earlier one is unusable.
        std::size_t limit = std::min(entries.size(), MaxGroups);
        for (std::size_t i = 0; i < limit; ++i) {
            const Json& entry = entries[i];
            const Json& guid = memberOrNull(entry, "guid");
            const Json& name = memberOrNull(entry, "name");
            // An empty guid would pose as the uncategorized group in lookups.
            if (!guid.is_string() || !name.is_string() || guid.get_ref<const std::string&>().empty()) {
                continue;
            }
            groups.emplace_back(utf8ToWide(guid.get_ref<const std::string&>()),
                                utf8ToWide(name.get_ref<const std::string&>()));
            loadRules(groups.back(), memberOrNull(entry, "rule"));
        }
    }
    groups.emplace_back(std::wstring(), std::wstring());
}

void AppCore::loadRules(Group& group, const Json& ruleArray) {
    group.destroyRules();
    if (!ruleArray.is_array()) {
        return;
    }
    // A group being built outside the list (the group manager's new group)
    // still has to keep its own ids apart.
    bool listed = std::any_of(groups.begin(), groups.end(), [&](const Group& g) { return &g == &group; });
    const Group* outside = listed ? nullptr : &group;
    for (const Json& element : ruleArray) {
        auto rule = std::make_unique<Rule>();
        if (!readRule(element, *rule)) {
            continue;
        }
        rule->prepare(timers_, timerWindow, freeRuleId(groups, outside), rule->elapse, rule->reset);
        group.rules.push_back(std::move(rule));
    }
}

std::uint32_t AppCore::nextRuleTimerId() const {
    return freeRuleId(groups, nullptr);
}

std::wstring AppCore::displayName(std::size_t groupIndex) const {
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

void AppCore::destroyGroups() {
    for (Group& group : groups) {
        group.destroyRules();
    }
    for (Group& group : groups) {
        group.destroyStickies();
    }
    groups.clear();
}

Group* AppCore::groupByGuid(std::wstring_view groupGuid) {
    for (Group& group : groups) {
        if (group.guid == groupGuid) {
            return &group;
        }
    }
    return nullptr;
}

Sticky* AppCore::stickyByGuid(std::wstring_view stickyGuid) const {
    for (const Group& group : groups) {
        if (Sticky* sticky = group.findSticky(stickyGuid)) {
            return sticky;
        }
    }
    return nullptr;
}

std::wstring AppCore::groupGuidOfSticky(std::wstring_view stickyGuid) const {
    for (const Group& group : groups) {
        if (group.findSticky(stickyGuid) != nullptr) {
            return group.guid;
        }
    }
    return std::wstring();
}

std::wstring AppCore::groupGuidAt(std::size_t index) const {
    return index < groups.size() ? groups[index].guid : std::wstring();
}

std::size_t AppCore::stickyCountAt(std::size_t index) const {
    return index < groups.size() ? groups[index].notes.size() : 0;
}

std::vector<Sticky*> AppCore::allStickies() const {
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

std::size_t AppCore::stickyCount() const {
    std::size_t count = 0;
    for (const Group& group : groups) {
        count += group.notes.size();
    }
    return count;
}

bool AppCore::cursorPosition(int&, int&) const {
    return false;
}

Sticky* AppCore::focusedSticky() const {
    return nullptr;
}

bool AppCore::mouseButtonsHeld() const {
    return false;
}

std::wstring AppCore::lookupText(std::string_view key, std::wstring_view fallback) const {
    return Brisvane::lookupText(languages, settings, key, fallback);
}

} // namespace Brisvane
