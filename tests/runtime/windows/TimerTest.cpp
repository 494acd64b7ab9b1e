#include "WindowSpy.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A shown window holding one timer "T" bound to the spy's handler.
Ref<SpyWindow> windowWithTimer(const DesignRecord& design)
{
    Ref<SpyWindow> window = makeRef<SpyWindow>();
    window->onLayout = [](SpyWindow& w) { RuntimeMassPropertySetter(w, spyWindowDesign(300, 200)); };
    window->onCreateControls = [&design](SpyWindow& w) { w.addControl<Timer>("T", design, { kTimerActionEvent }); };
    window->Constructor();
    return window;
}

Ref<Timer> timerOf(const Ref<SpyWindow>& window)
{
    return RuntimeCheckCast<Timer>(window->_ControlByName("T"));
}

} // namespace

TEST(TimerRun, ADesignWithARunModeRunsFromTheWindowsCreation)
{
    Ref<SpyWindow> window = windowWithTimer(DesignRecord({ { "Period", 20 }, { "RunMode", 2 } }));
    EXPECT_TRUE(runUntil([&] { return window->count("Action T") >= 3; }, 2000));
}

TEST(TimerRun, APeriodOfZeroNeverFiresAndAPositivePeriodStartsIt)
{
    for (int64_t period : { 0, -5 }) {
        Ref<SpyWindow> window = windowWithTimer(DesignRecord({ { "RunMode", 2 }, { "Period", period } }));
        runFor(100);
        EXPECT_EQ(window->count("Action T"), 0) << period;
        timerOf(window)->Period(20);
        EXPECT_TRUE(runUntil([&] { return window->count("Action T") >= 2; }, 2000));
        timerOf(window)->Period(0);
        int ticks = window->count("Action T");
        runFor(100);
        EXPECT_EQ(window->count("Action T"), ticks) << "a period of 0 stops it at once";
        window->Close();
    }
}

TEST(TimerRun, SingleModeFiresOnceAndTurnsOff)
{
    Ref<SpyWindow> window = windowWithTimer(DesignRecord({ { "Period", 20 }, { "RunMode", 1 } }));
    EXPECT_TRUE(runUntil([&] { return window->count("Action T") == 1; }, 2000));
    runFor(100);
    EXPECT_EQ(window->count("Action T"), 1);
    EXPECT_EQ(timerOf(window)->Mode(), Timer::kOff);
}

TEST(TimerRhythm, EnablingARunningTimerKeepsItsRhythmEnablingAStoppedOneStartsAfresh)
{
    constexpr int kPeriod = 400;
    constexpr int kNudgeAfter = 200;
    struct Case {
        bool stopFirst;
        int earliest, latest; // of the next tick, counted from the last one
    };
    const Case cases[] = {
        { false, kPeriod - 100, kPeriod + kNudgeAfter - 50 },
        { true, kNudgeAfter + kPeriod - 50, kNudgeAfter + kPeriod + 150 },
    };
    for (const Case& c : cases) {
        Ref<SpyWindow> window = windowWithTimer(DesignRecord({ { "Period", kPeriod }, { "RunMode", 2 } }));
        ASSERT_TRUE(runUntil([&] { return window->count("Action T") == 1; }));
        QElapsedTimer sinceTick;
        sinceTick.start();
        Ref<Timer> timer = timerOf(window);
        if (c.stopFirst)
            timer->Enabled(false);
        QTimer::singleShot(kNudgeAfter, [&] {
            timer->Enabled(true);
            timer->Mode(Timer::kRepeating);
        });
        ASSERT_TRUE(runUntil([&] { return window->count("Action T") == 2; }, 3000));
        qint64 next = sinceTick.elapsed();
        EXPECT_GE(next, c.earliest) << c.stopFirst;
        EXPECT_LE(next, c.latest) << c.stopFirst;
        window->Close();
    }
}

TEST(TimerRhythm, ANewPeriodTakesEffectFromTheNextTick)
{
    Ref<SpyWindow> window = windowWithTimer(DesignRecord({ { "Period", 300 }, { "RunMode", 2 } }));
    ASSERT_TRUE(runUntil([&] { return window->count("Action T") == 1; }));
    QElapsedTimer clock;
    clock.start();
    timerOf(window)->Period(50);
    ASSERT_TRUE(runUntil([&] { return window->count("Action T") == 2; }));
    EXPECT_GE(clock.elapsed(), 250) << "the running interval is not cut short";
    clock.restart();
    ASSERT_TRUE(runUntil([&] { return window->count("Action T") == 3; }));
    EXPECT_LT(clock.elapsed(), 200) << "then the new period";
}
