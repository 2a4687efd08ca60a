#pragma once
// Stand-ins for the platform side of the application core: a timer service
// and stickies that record what is done to them, and an application core that
// records what it is asked to write. Everything lands in one shared log so
// tests can check the order across objects.
#include <cstdint>
#include <fstream>
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
    bool isAlwaysOnTop() const override { return alwaysOnTop; }

    float opacityFactor = 1.0f;
    Brisvane::ZOrder zOrder = Brisvane::ZOrder::usually;
    bool fold = false;
    bool clickThrough = false;
    bool active = false;
    bool alwaysOnTop = false;

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

    Log* log;

protected:
    bool saveSettings() override {
        log->push_back("settings");
        return true;
    }
    bool saveStickyText(Brisvane::Sticky& sticky) override {
        log->push_back("text " + narrow(sticky.stickyGuid()));
        return true;
    }
    bool saveStickyJson(Brisvane::Sticky& sticky, bool withFigures) override {
        log->push_back((withFigures ? "json+figures " : "json ") + narrow(sticky.stickyGuid()));
        return true;
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
