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

std::uint32_t saveRetryDelay(int failures) {
    const int doublings = std::clamp(failures - 1, 0, 5);
    return std::min<std::uint32_t>(2000u << doublings, 60000u);
}

AppCore::AppCore(TimerService* timers) : timers_(timers) {}

AppCore::~AppCore() {
    autoSaveTimer.stop();
    retryTimer.stop();
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
    // View state waits for the next save of the note or the exit.
    if (!(flags & SaveEdits) || !autoSaveAvailable(settings)) {
        return;
    }
    addPendingSave(stickyGuid, flags);
    autoSaveTimer.start();
}

void AppCore::addPendingSave(const std::wstring& stickyGuid, std::uint32_t flags) {
    auto it = std::find_if(pendingSaves.begin(), pendingSaves.end(),
                           [&](const PendingSave& pending) { return pending.guid == stickyGuid; });
    if (it != pendingSaves.end()) {
        it->flags |= flags;
    } else {
        pendingSaves.push_back({stickyGuid, flags});
    }
}

void AppCore::clearPendingSaves() {
    settingsDirty = false;
    pendingSaves.clear();
    autoSaveTimer.stop();
    retryTimer.stop();
}

void AppCore::startRetry() {
    if (!retryTimer.running) {
        retryTimer.prepare(timers_, timerWindow, TIMER_SAVE_RETRY, saveRetryDelay(std::max(saveFailures, 1)),
                           false);
        retryTimer.start();
    }
}

void AppCore::queueFailedSettingsSave() {
    settingsDirty = true;
    startRetry();
}

void AppCore::queueFailedSave(const std::wstring& stickyGuid, std::uint32_t flags) {
    addPendingSave(stickyGuid, flags);
    startRetry();
}

void AppCore::flushAutoSave() {
    // A write that fails (a full disk, a locked file) stays pending and is
    // tried again on the retry timer, ever less often, and at shutdown.
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
        if ((flags & (SaveJson | SaveFigures | SaveView)) &&
            !saveStickyJson(*sticky, (flags & SaveFigures) != 0)) {
            unsaved |= flags & (SaveJson | SaveFigures | SaveView);
        }
        if (unsaved != 0) {
            failed.push_back({std::move(guid), unsaved});
        }
    }
    clearPendingSaves();
    settingsDirty = settingsFailed;
    pendingSaves = std::move(failed);
    if (!settingsDirty && pendingSaves.empty()) {
        saveFailures = 0;
        return;
    }
    ++saveFailures;
    retryTimer.prepare(timers_, timerWindow, TIMER_SAVE_RETRY, saveRetryDelay(saveFailures), false);
    retryTimer.start();
    if (saveFailures == saveFailuresBeforeTelling) {
        tellSavesFailing();
    }
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

void AppCore::destroyGroups() {
    for (Group& group : groups) {
        group.destroyRules();
    }
    for (Group& group : groups) {
        group.destroyStickies();
    }
    groups.clear();
}

} // namespace Brisvane
