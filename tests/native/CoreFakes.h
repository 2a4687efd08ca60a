#pragma once
// Stand-ins for the platform side of the application core: a timer service
// and stickies that record what is done to them, and an application core that
// records what it is asked to write. Everything lands in one shared log so
// tests can check the order across objects.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/AppCore.h"
#include "storage/Json.h"
#include "storage/Language.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"

namespace CoreFakes {

using Log = std::vector<std::string>;

inline std::string narrow(const std::wstring& text) {
    return Brisvane::wideToUtf8(text);
}

class FakeTimerService : public Brisvane::TimerService {
public:
    explicit FakeTimerService(Log* sharedLog = nullptr) : log(sharedLog ? sharedLog : &ownLog) {}

    void setTimer(Brisvane::WindowRef window, std::uint32_t id, std::uint32_t elapse) override {
        log->push_back("set " + std::to_string(id) + " " + std::to_string(elapse) + windowSuffix(window));
    }
    void killTimer(Brisvane::WindowRef window, std::uint32_t id) override {
        log->push_back("kill " + std::to_string(id) + windowSuffix(window));
    }

    Log* log;

private:
    static std::string windowSuffix(Brisvane::WindowRef window) { return window ? "" : " (no window)"; }
    Log ownLog;
};

// Timers on a test clock: a set timer fires every period as the clock advances,
// earliest first, until it is killed, as window timers do.
class ClockTimers : public Brisvane::TimerService {
public:
    void setTimer(Brisvane::WindowRef, std::uint32_t id, std::uint32_t elapse) override {
        killTimer(nullptr, id);
        // Window timers never run faster than 10 ms.
        std::uint64_t period = std::max<std::uint32_t>(elapse, 10);
        timers.push_back({id, period, now + period});
    }
    void killTimer(Brisvane::WindowRef, std::uint32_t id) override {
        timers.erase(
            std::remove_if(timers.begin(), timers.end(), [id](const Entry& e) { return e.id == id; }),
            timers.end());
    }

    // Moves the clock on by `ms`, handing each firing to `fire` at its due time.
    void advance(std::uint64_t ms, const std::function<void(std::uint32_t)>& fire) {
        std::uint64_t end = now + ms;
        for (;;) {
            auto next = std::min_element(timers.begin(), timers.end(),
                                         [](const Entry& a, const Entry& b) { return a.due < b.due; });
            if (next == timers.end() || next->due > end) {
                break;
            }
            now = next->due;
            next->due += next->period;
            std::uint32_t id = next->id;
            fired.push_back({now, id});
            fire(id);
        }
        now = end;
    }

    bool isSet(std::uint32_t id) const {
        return std::any_of(timers.begin(), timers.end(), [id](const Entry& e) { return e.id == id; });
    }

    struct Entry {
        std::uint32_t id;
        std::uint64_t period;
        std::uint64_t due;
    };
    struct Firing {
        std::uint64_t at;
        std::uint32_t id;
    };
    std::uint64_t now = 0;
    std::vector<Entry> timers;
    std::vector<Firing> fired;
};

class FakeSticky : public Brisvane::Sticky {
public:
    explicit FakeSticky(std::wstring guid, Log* sharedLog = nullptr)
        : guid_(std::move(guid)), log(sharedLog) {}
    ~FakeSticky() override {
        if (log) {
            log->push_back("destroy " + narrow(guid_));
        }
    }

    const std::wstring& stickyGuid() const override { return guid_; }
    void applyOpacityFactor(float factor) override { opacityFactor = factor; }
    void setZOrderLevel(Brisvane::ZOrder level) override { zOrder = level; }
    void applyRuleFold(bool ruleFold) override { fold = ruleFold; }
    void setClickThrough(bool on) override { clickThrough = on; }
    bool isActive() const override { return active; }
    void setRuleExemption(bool exempt) override { active = exempt; }
    bool isAlwaysOnTop() const override { return alwaysOnTop; }
    void setFullScreenActive(bool on, Brisvane::ZOrder groupLevel) override {
        fullScreenActive = on;
        zOrder = groupLevel;
    }
    std::wstring groupGuid() const override { return group; }
    void setGroupGuid(const std::wstring& groupGuid) override { group = groupGuid; }
    bool windowRect(Brisvane::Rect& out) const override {
        out = rect;
        return hasWindow;
    }

    float opacityFactor = 1.0f;
    Brisvane::ZOrder zOrder = Brisvane::ZOrder::usually;
    bool fold = false;
    bool clickThrough = false;
    bool active = false;
    bool alwaysOnTop = false;
    bool fullScreenActive = false;
    std::wstring group;
    Brisvane::Rect rect;
    bool hasWindow = true;

private:
    std::wstring guid_;
    Log* log;
};

// Records every write it is asked for as "settings", "text <guid>",
// "json <guid>" or "json+figures <guid>".
class TestCore : public Brisvane::AppCore {
public:
    explicit TestCore(Brisvane::TimerService* timers, Log* sharedLog) : AppCore(timers), log(sharedLog) {
        // Any non-null handle: the fake service only tells a missing window apart.
        static int mainWindow;
        timerWindow = &mainWindow;
    }

    bool cursorPosition(int& x, int& y) const override {
        x = cursorX;
        y = cursorY;
        return true;
    }
    Brisvane::Sticky* focusedSticky() const override {
        ++focusLookups;
        return focused;
    }
    bool mouseButtonsHeld() const override { return buttonsHeld; }

    Log* log;
    // The window system as the rules see it; far off any sticky by default.
    int cursorX = -10000;
    int cursorY = -10000;
    Brisvane::Sticky* focused = nullptr;
    bool buttonsHeld = false;
    mutable int focusLookups = 0;
    // Writes that fail, named as they are logged ("settings", "text a").
    std::vector<std::string> failing;
    // How often the user was told that saves keep failing.
    int told = 0;

protected:
    bool write(std::string entry) {
        bool fails = std::find(failing.begin(), failing.end(), entry) != failing.end();
        log->push_back(std::move(entry));
        return !fails;
    }
    bool saveSettings() override { return write("settings"); }
    void tellSavesFailing() override { ++told; }
    bool saveStickyText(Brisvane::Sticky& sticky) override {
        return write("text " + narrow(sticky.stickyGuid()));
    }
    bool saveStickyJson(Brisvane::Sticky& sticky, bool withFigures) override {
        return write((withFigures ? "json+figures " : "json ") + narrow(sticky.stickyGuid()));
    }
};

inline std::string readResource(const char* name) {
    std::ifstream in(std::string(TACKAROON_RESOURCE_DIR) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline const Brisvane::Json& languageTable() {
    static const Brisvane::Json table = [] {
        Brisvane::Json t = Brisvane::loadResourceTable(readResource("language.json"));
        Brisvane::completeLanguageTable(t);
        return t;
    }();
    return table;
}

// Settings as read from a file with this text and completed, so every member
// the core reads has its checked type.
inline Brisvane::Json completedSettings(const char* text) {
    Brisvane::Json settings = Brisvane::parseJson(text);
    Brisvane::completeSettings(settings, true, Brisvane::Json::array(), 0x0409);
    return settings;
}

} // namespace CoreFakes
