#pragma once

#include <string>

namespace travenor {

// What every front end does first: a standard output or error whose reader
// has gone (a closed pipe) must not end the program at its first warning.
void prepareProcess();

// The folder that holds the running program, in the file system's own bytes
// (a folder name that is not valid text stays as it is). Empty when unknown.
std::string programFolder();

}  // namespace travenor
