#pragma once
// The platform-free heart of the application object: it loads the groups
// with their stickies and rules, and keeps the auto-save bookkeeping. The
// documents and the list of groups live in its GroupHost base.
// The Windows application object derives from it and supplies the saving.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Timer.h"
#include "groups/Group.h"
#include "groups/GroupHost.h"
#include "groups/Sticky.h"
#include "storage/Json.h"

namespace Brisvane {

inline constexpr std::uint32_t TIMER_FULLSCREEN = 2;
inline constexpr std::uint32_t TIMER_AUTOSAVE = 500;
inline constexpr std::uint32_t TIMER_SAVE_RETRY = 501;
inline constexpr std::uint32_t FIRST_RULE_TIMER = 1000;
inline constexpr std::size_t MaxNotes = 1000;
inline constexpr std::size_t MaxGroups = 100;
// The auto-save delay is bounded to what the settings dialog offers.
inline constexpr std::int64_t maxAutoSaveSeconds = 600;

// After this many failed tries in a row the user is told.
inline constexpr int saveFailuresBeforeTelling = 3;

// The wait before the next try of saves that failed `failures` times in a
// row: 2 s, doubling, at most a minute.
std::uint32_t saveRetryDelay(int failures);

struct PendingSave {
    std::wstring guid;
    std::uint32_t flags = 0;
};

class AppCore : public virtual GroupHost {
public:
    explicit AppCore(TimerService* timers);
    AppCore(const AppCore&) = delete;
    AppCore& operator=(const AppCore&) = delete;
    virtual ~AppCore();

    // Auto-save.
    void prepareAutoSaveTimer(); // on timerWindow; period from "autoSave"."elapse", bounded
    void markSettingsChanged() override;
    void markStickyChanged(const std::wstring& stickyGuid, std::uint32_t flags) override;
    void clearPendingSaves();
    void flushAutoSave(); // the auto-save or the retry timer fired
    // A save outside auto-save (a change from elsewhere) that failed: tried
    // again on the retry timer.
    void queueFailedSave(const std::wstring& stickyGuid, std::uint32_t flags);
    void queueFailedSettingsSave();
    // A change of the settings or of a sticky that is not written yet.
    bool anythingUnsaved() const;

    // Groups.
    void loadGroups(); // from settings."group", at most 100, then the uncategorized group
    void loadRules(Group& group, const Json& ruleArray) override;
    // settings.json from elsewhere: its groups taken in by guid, against
    // `seen`, the version this run last read or wrote. A group made on
    // either side survives; one changed on one side only takes that side's
    // version; one changed on both keeps this side's. True when a group made
    // or changed here is missing or different there: the file needs writing.
    bool mergeGroupsFrom(const Json& seen, const Json& theirs);
    std::uint32_t nextRuleTimerId() const; // smallest free id from FIRST_RULE_TIMER
    void destroyGroups();

    bool rulesSuspended = false;
    bool settingsDirty = false;
    // A change of the settings not yet written, recorded also while auto-save is off.
    bool settingsUnsaved = false;
    std::vector<PendingSave> pendingSaves;
    Timer autoSaveTimer;
    Timer retryTimer;
    // Flushes in a row that left something unsaved.
    int saveFailures = 0;
    Timer fullScreenTimer;
    bool fullScreen = false;
    // The millisecond clock at the last accepted raw input (throttle).
    std::uint32_t lastInputTime = 0;
    bool modalOpen = false;
    // The window that receives the auto-save and rule timers (the main window).
    WindowRef timerWindow = nullptr;

protected:
    // The writing itself, supplied by the platform layer.
    virtual bool saveSettings() = 0;
    virtual bool saveStickyText(Sticky& sticky) = 0;
    virtual bool saveStickyJson(Sticky& sticky, bool withFigures) = 0;
    // Saves kept failing: the user is told once.
    virtual void tellSavesFailing() {}

    TimerService* timers() const { return timers_; }

private:
    // One entry a sticky: the parts to save join what is waiting already.
    void addPendingSave(const std::wstring& stickyGuid, std::uint32_t flags);
    void startRetry();

    TimerService* timers_;
};

} // namespace Brisvane
