#include <gtest/gtest.h>

#include <memory>

#include "CoreFakes.h"
#include "base/Timer.h"
#include "groups/Rule.h"

using namespace Brisvane;
using namespace CoreFakes;

namespace {

int mainWindow;

struct TimerFixture : ::testing::Test {
    Log log;
    FakeTimerService service{&log};
};

} // namespace

TEST(Timer, NewTimerIsIdleWithNothingSet) {
    Timer timer;
    EXPECT_EQ(timer.window, nullptr);
    EXPECT_EQ(timer.id, 0u);
    EXPECT_EQ(timer.elapse, 0u);
    EXPECT_FALSE(timer.reset);
    EXPECT_FALSE(timer.running);
}

TEST_F(TimerFixture, StartSetsTheTimerWithItsIdAndPeriod) {
    Timer timer;
    timer.prepare(&service, &mainWindow, 1234, 750, false);
    EXPECT_TRUE(log.empty()) << "preparing must not start the timer";
    EXPECT_FALSE(timer.running);

    timer.start();
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(log, (Log{"set 1234 750"}));
}

TEST_F(TimerFixture, StartWithoutResetKeepsTheFirstDueTime) {
    Timer timer;
    timer.prepare(&service, &mainWindow, 7, 100, false);
    timer.start();
    timer.start();
    timer.start();
    EXPECT_EQ(log, (Log{"set 7 100"}));
    EXPECT_TRUE(timer.running);
}

TEST_F(TimerFixture, StartWithResetRestartsTheCount) {
    Timer timer;
    timer.prepare(&service, &mainWindow, 7, 100, true);
    timer.start();
    timer.start();
    EXPECT_EQ(log, (Log{"set 7 100", "kill 7", "set 7 100"}));
    EXPECT_TRUE(timer.running);
}

TEST_F(TimerFixture, StopKillsOnlyASetTimer) {
    Timer timer;
    timer.prepare(&service, &mainWindow, 9, 10, false);
    timer.stop();
    EXPECT_TRUE(log.empty()) << "stopping an idle timer does nothing";

    timer.start();
    timer.stop();
    timer.stop();
    EXPECT_EQ(log, (Log{"set 9 10", "kill 9"}));
    EXPECT_FALSE(timer.running);

    // Stopped timers start again from idle.
    timer.start();
    EXPECT_EQ(log.back(), "set 9 10");
}

TEST_F(TimerFixture, DestructionKillsARunningTimerOnly) {
    {
        Timer idle;
        idle.prepare(&service, &mainWindow, 3, 10, false);
    }
    EXPECT_TRUE(log.empty());
    {
        Timer running;
        running.prepare(&service, &mainWindow, 4, 10, false);
        running.start();
    }
    EXPECT_EQ(log, (Log{"set 4 10", "kill 4"}));
}

TEST_F(TimerFixture, PreparingARunningTimerStopsItUnderItsOldId) {
    Timer timer;
    timer.prepare(&service, &mainWindow, 1000, 10, false);
    timer.start();
    timer.prepare(&service, &mainWindow, 1001, 20, true);
    EXPECT_EQ(log, (Log{"set 1000 10", "kill 1000"}));
    EXPECT_FALSE(timer.running);
    EXPECT_EQ(timer.id, 1001u);
    EXPECT_EQ(timer.elapse, 20u);
    EXPECT_TRUE(timer.reset);
}

TEST_F(TimerFixture, RuleDestructionKillsItsRunningTimer) {
    auto rule = std::make_unique<Rule>();
    ASSERT_TRUE(readRule(parseJson(R"({"action": "input", "delay": 30000, "reset": true})"), *rule));
    rule->prepare(&service, &mainWindow, 1005, rule->elapse, rule->reset);
    rule->start();
    rule.reset();
    EXPECT_EQ(log, (Log{"set 1005 30000", "kill 1005"}));
}
