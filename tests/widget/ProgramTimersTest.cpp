#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "shell/ProgramTimers.h"

namespace travenor {
namespace {

TEST(ProgramTimers, EachTickHasItsTimerAndStartingPeriod) {
    ProgramTimers timers;
    const struct {
        Tick tick;
        const char* name;
        int period;
    } rows[] = {{Tick::Status, "Timer1", 70},
                {Tick::Discovery, "Timer2", 100},
                {Tick::Poll, "Timer3", 500},
                {Tick::Download, "Timer4", 0},
                {Tick::PrintRequest, "Timer5", 500}};
    for (const auto& row : rows) {
        EXPECT_EQ(timers.timer(row.tick), timers.findChild<QTimer*>(row.name)) << row.name;
        EXPECT_EQ(timers.period(row.tick), row.period) << row.name;
        EXPECT_FALSE(timers.timer(row.tick)->isActive()) << row.name;  // not live yet
    }
    timers.setLive(true);
    for (const auto& row : rows)
        EXPECT_EQ(timers.timer(row.tick)->isActive(), row.period > 0) << row.name;
    timers.setLive(false);
    for (const auto& row : rows) EXPECT_FALSE(timers.timer(row.tick)->isActive()) << row.name;
}

TEST(ProgramTimers, PeriodsChangeOnlyWhenDifferent) {
    ProgramTimers timers;
    timers.setLive(true);
    QTimer* download = timers.timer(Tick::Download);
    EXPECT_FALSE(download->isActive());  // period 0: stopped, never a 0 ms timer
    timers.setPeriod(Tick::Download, 50);
    EXPECT_TRUE(download->isActive());
    EXPECT_EQ(download->interval(), 50);
    // The same period again does not restart the timer: its time keeps running.
    timers.setPeriod(Tick::Download, 1000);
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 200) QCoreApplication::processEvents();
    timers.setPeriod(Tick::Download, 1000);
    EXPECT_LE(download->remainingTime(), 850);
    timers.setPeriod(Tick::Download, 0);
    EXPECT_FALSE(download->isActive());
    EXPECT_EQ(timers.period(Tick::Download), 0);

    // While not live, a period is only recorded.
    timers.setLive(false);
    timers.setPeriod(Tick::Download, 50);
    EXPECT_FALSE(download->isActive());
    timers.setLive(true);
    EXPECT_TRUE(download->isActive());
    EXPECT_EQ(download->interval(), 50);
    timers.setLive(false);
}

}  // namespace
}  // namespace travenor
