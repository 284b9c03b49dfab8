#include "EventLoop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace qv {
namespace {

using namespace std::chrono_literals;

TEST(EventLoop, PostedWorkRunsOnTheLoopThreadInOrder) {
    EventLoop loop;
    std::vector<int> seen;
    std::vector<std::thread::id> threads;
    std::thread poster([&] {
        for (int i = 0; i < 100; ++i) {
            loop.Post([&, i] {
                seen.push_back(i);
                threads.push_back(std::this_thread::get_id());
            });
        }
    });
    ASSERT_TRUE(loop.RunUntil([&] { return seen.size() == 100; }, 5s));
    poster.join();
    for (int i = 0; i < 100; ++i) ASSERT_EQ(seen[i], i);
    for (const auto& id : threads) ASSERT_EQ(id, std::this_thread::get_id());
}

TEST(EventLoop, TimerRepeatsUntilItKillsItself) {
    EventLoop loop;
    int ticks = 0;
    loop.SetTimer(1000, 10, [&] {
        if (++ticks == 3) loop.KillTimer(1000);
    });
    EXPECT_FALSE(loop.RunUntil([&] { return ticks > 3; }, 300ms));
    EXPECT_EQ(ticks, 3);
}

TEST(EventLoop, SettingARunningIdReplacesItsPeriodAndCallback) {
    EventLoop loop;
    int slow = 0;
    int fast = 0;
    loop.SetTimer(1001, 100000, [&] { ++slow; });
    loop.SetTimer(1001, 10, [&] { ++fast; });
    ASSERT_TRUE(loop.RunUntil([&] { return fast >= 2; }, 2s));
    EXPECT_EQ(slow, 0);
}

TEST(EventLoop, TimersKeepTheirOwnPeriods) {
    EventLoop loop;
    int quick = 0;
    int slow = 0;
    loop.SetTimer(1, 10, [&] { ++quick; });
    loop.SetTimer(2, 150, [&] { ++slow; });
    loop.RunUntil([] { return false; }, 400ms);
    EXPECT_GE(quick, 10);
    EXPECT_GE(slow, 1);
    EXPECT_LE(slow, 3);
}

TEST(EventLoop, PostedWorkGoesBeforeADueTimer) {
    EventLoop loop;
    std::vector<char> order;
    loop.SetTimer(5000, 1, [&] {
        order.push_back('t');
        loop.KillTimer(5000);
    });
    std::this_thread::sleep_for(20ms);  // the timer is due now
    loop.Post([&] { order.push_back('p'); });
    ASSERT_TRUE(loop.RunUntil([&] { return order.size() == 2; }, 1s));
    EXPECT_EQ(order, (std::vector<char>{'p', 't'}));
}

TEST(EventLoop, QuitFromAnotherThreadEndsRun) {
    EventLoop loop;
    bool ran = false;
    loop.Post([&] { ran = true; });
    std::thread quitter([&] {
        std::this_thread::sleep_for(50ms);
        loop.Quit();
    });
    loop.Run();
    quitter.join();
    EXPECT_TRUE(ran);
}

TEST(EventLoop, RunUntilGivesUpAtItsTimeout) {
    EventLoop loop;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(loop.RunUntil([] { return false; }, 100ms));
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_GE(took, 100ms);
    EXPECT_LT(took, 1s);
}

}  // namespace
}  // namespace qv
