// Cost of one activity event: dispatched to 100 groups of 10 stickies each,
// every rule matching and applying at once. It has to stay far below the
// 20 ms raw-input throttle period.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/Activity.h"
#include "app/AppCore.h"
#include "storage/Json.h"

using namespace Brisvane;

namespace {

class NoTimers : public TimerService {
public:
    void setTimer(WindowRef, std::uint32_t, std::uint32_t) override {}
    void killTimer(WindowRef, std::uint32_t) override {}
};

// Stickies that keep what they are given, as the window layer keeps its fields.
class PlainSticky : public Sticky {
public:
    PlainSticky(std::wstring guid, Rect r) : guid_(std::move(guid)), rect_(r) {}
    const std::wstring& stickyGuid() const override { return guid_; }
    void applyOpacityFactor(float factor) override { opacity = factor; }
    void setZOrderLevel(ZOrder level) override { zOrder = level; }
    void applyRuleFold(bool fold) override { folded = fold; }
    void setClickThrough(bool on) override { clickThrough = on; }
    bool isActive() const override { return false; }
    void setRuleExemption(bool) override {}
    bool isAlwaysOnTop() const override { return false; }
    void setFullScreenActive(bool, ZOrder) override {}
    std::wstring groupGuid() const override { return group; }
    void setGroupGuid(const std::wstring& guid) override { group = guid; }
    bool windowRect(Rect& out) const override {
        out = rect_;
        return true;
    }

    float opacity = 1.0f;
    ZOrder zOrder = ZOrder::usually;
    bool folded = false;
    bool clickThrough = false;
    std::wstring group;

private:
    std::wstring guid_;
    Rect rect_;
};

// The cursor rests on the last sticky, so the lookup walks all thousand.
class BenchCore : public AppCore {
public:
    explicit BenchCore(TimerService* timers) : AppCore(timers) {}
    bool cursorPosition(int& x, int& y) const override {
        x = 99 * 10 + 5;
        y = 9 * 10 + 5;
        return true;
    }

protected:
    bool saveSettings() override { return true; }
    bool saveStickyText(Sticky&) override { return true; }
    bool saveStickyJson(Sticky&, bool) override { return true; }
};

void BM_ActivityEvent(benchmark::State& state) {
    NoTimers timers;
    BenchCore core(&timers);
    Json groups = Json::array();
    for (int g = 0; g < 100; ++g) {
        groups.push_back(Json::parse(R"({"guid": "g)" + std::to_string(g) + R"(", "name": "n", "rule": [
                {"action": "input", "opacity": 0.2, "fold": true, "except": ["mouse-hover"]},
                {"action": "mouse-hover", "opacity": 1, "fold": false, "transparent": false},
                {"action": "keyboard-input", "zOrder": -1, "transparent": true}]})"));
    }
    core.settings = Json::object();
    core.settings["group"] = groups;
    core.loadGroups();
    for (int g = 0; g < 100; ++g) {
        for (int s = 0; s < 10; ++s) {
            auto sticky = std::make_unique<PlainSticky>(std::to_wstring(g * 10 + s),
                                                        Rect{g * 10, s * 10, g * 10 + 10, s * 10 + 10});
            core.groups[static_cast<std::size_t>(g)].notes.push_back(std::move(sticky));
        }
    }
    for (auto _ : state) {
        onActivity(core, EVENT_KEYBOARD);
    }
    state.counters["per event"] = benchmark::Counter(
        static_cast<double>(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_ActivityEvent)->Unit(benchmark::kMicrosecond);
