#pragma once

#include "shell/Views.h"

namespace travenor {

// The program's ticks and their periods in milliseconds, for the window and
// the command line alike.
inline constexpr int STATUS_PERIOD = 70;
// Discovery: 100 ms until the first status refresh, then 20 ms while no
// instrument answers and 70 ms while one does.
inline constexpr int DISCOVERY_START_PERIOD = 100;
inline constexpr int SCANNING_PERIOD = 20;
inline constexpr int LINKED_PERIOD = 70;
inline constexpr int POLL_PERIOD = 500;
// The download tick runs only while a download does.
inline constexpr int DOWNLOAD_PERIOD = 50;
inline constexpr int PRINT_REQUEST_PERIOD = 500;

struct TickPlan {
    Tick tick;
    const char* name;  // the timer's object name
    int period;        // at start; 0: stopped
};

inline constexpr TickPlan TICKS[] = {
    {Tick::Status, "Timer1", STATUS_PERIOD},
    {Tick::Discovery, "Timer2", DISCOVERY_START_PERIOD},
    {Tick::Poll, "Timer3", POLL_PERIOD},
    {Tick::Download, "Timer4", 0},
    {Tick::PrintRequest, "Timer5", PRINT_REQUEST_PERIOD},
};

}  // namespace travenor
