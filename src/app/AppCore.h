#pragma once
// The platform-free heart of the application object: the documents it owns,
// the groups with their stickies and rules, and the auto-save bookkeeping.
// The Windows application object derives from it and supplies the saving.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/Timer.h"
#include "groups/Group.h"
#include "note/Sticky.h"
#include "storage/Json.h"

namespace Brisvane {

inline constexpr std::uint32_t TIMER_FULLSCREEN = 2;
inline constexpr std::uint32_t TIMER_AUTOSAVE = 500;
inline constexpr std::uint32_t FIRST_RULE_TIMER = 1000;
inline constexpr std::size_t MaxNotes = 1000;
inline constexpr std::size_t MaxGroups = 100;
// The auto-save delay is bounded to what the settings dialog offers.
inline constexpr std::int64_t maxAutoSaveSeconds = 600;

struct PendingSave {
    std::wstring guid;
    std::uint32_t flags = 0;
};

class AppCore {
public:
    explicit AppCore(TimerService* timers);
    AppCore(const AppCore&) = delete;
    AppCore& operator=(const AppCore&) = delete;
    virtual ~AppCore();

    // Auto-save.
    void prepareAutoSaveTimer(); // on timerWindow; period from "autoSave"."elapse", bounded
    void markSettingsChanged();
    void markStickyChanged(const std::wstring& stickyGuid, std::uint32_t flags);
    void clearPendingSaves();
    void flushAutoSave(); // the auto-save timer fired
    // A change of the settings or of a sticky that is not written yet.
    bool anythingUnsaved() const;

    // Groups.
    void loadGroups(); // from settings."group", at most 100, then the uncategorized group
    void loadRules(Group& group, const Json& ruleArray);
    std::uint32_t nextRuleTimerId() const; // smallest free id from FIRST_RULE_TIMER
    std::wstring displayName(std::size_t groupIndex) const;
    void destroyGroups();

    // Lookups, comparing guids exactly.
    Group* groupByGuid(std::wstring_view groupGuid);
    Sticky* stickyByGuid(std::wstring_view stickyGuid) const;
    std::wstring groupGuidOfSticky(std::wstring_view stickyGuid) const;
    std::wstring groupGuidAt(std::size_t index) const;
    std::size_t stickyCountAt(std::size_t index) const;
    std::size_t groupCount() const { return groups.size(); }
    std::vector<Sticky*> allStickies() const;
    std::size_t stickyCount() const;

    std::wstring lookupText(std::string_view key, std::wstring_view fallback) const;

    // What activity detection and the rule engine ask of the window system. A
    // core without one has no cursor, no focus and no buttons held.
    virtual bool cursorPosition(int& x, int& y) const;
    virtual Sticky* focusedSticky() const;
    virtual bool mouseButtonsHeld() const;

    Json settings;
    Json languages;
    Json palette;
    Json figureLibrary;
    std::vector<Group> groups; // the last one is always the uncategorized group
    bool rulesSuspended = false;
    bool settingsDirty = false;
    // A change of the settings not yet written, recorded also while auto-save is off.
    bool settingsUnsaved = false;
    std::vector<PendingSave> pendingSaves;
    Timer autoSaveTimer;
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

    TimerService* timers() const { return timers_; }

private:
    TimerService* timers_;
};

} // namespace Brisvane
