#pragma once

#include <functional>
#include <string>

namespace travenor {

// What differs between the systems in how a program lives and ends.

// A standard output whose reader has gone (a closed pipe) or a file size
// limit must not end the program: writes fail with a reason instead.
void ignoreWriteSignals();

// Calls `requested` on the event loop when the user or the system asks the
// program to end: SIGTERM, SIGINT or SIGHUP here, Ctrl-C, Ctrl-Break or the
// console window closing on Windows. Call once the application object exists.
void onTerminationRequest(std::function<void()> requested);

// The folder that holds the running program, in the file system's own bytes
// (a folder name that is not valid text stays as it is). Empty when unknown.
std::string programFolder();

// Whether there is a screen to show a window on: always on Windows, where
// X11 or Wayland must be named.
bool hasDisplay();

// Standard output takes bytes as they are: Windows would otherwise turn
// each LF into CR LF, and a table's CR LF into CR CR LF.
void binaryStandardOutput();

// Whether standard error is a terminal a person watches.
bool standardErrorIsTerminal();
// Whether standard output is a pipe whose reader has gone, so that nothing
// written there can arrive. Found without writing; false where unknown.
bool standardOutputClosed();

}  // namespace travenor
