#pragma once

#include <optional>
#include <string>

#include "platform/ProcessControl.h"

namespace travenor {

// What every front end does first: a standard output or error whose reader
// has gone (a closed pipe), or a file size limit, must not end the program.
void prepareProcess();

// The program's identity, its command line and its display, before the
// window toolkit starts: --help and --version answer and end the program
// (0), an unknown option gives a usage message (2), and with no display to
// show a window on it says so in one line (1). Nothing when the program is
// to start.
std::optional<int> startFromCommandLine(int argc, char* argv[], const char* name,
                                        const char* description);

// The id of the desktop entry, the icon and the metadata.
inline constexpr const char* APPLICATION_ID = "org.travenor.Travenor";

// A request to end (SIGTERM, SIGINT, SIGHUP; Ctrl-C or a closed console on
// Windows) ends the event loop as Exit does, so the serial port is closed and
// its lock released; killed hard, the port's lock file would stay behind and
// refuse the next user. Call once the application object exists.
void quitOnTerminationSignals();

}  // namespace travenor
