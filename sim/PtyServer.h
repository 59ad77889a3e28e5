#pragma once

#include <atomic>
#include <cstdio>
#include <string>

#include "sim/InstrumentModel.h"

namespace travenor::sim {

// Serves the instrument model on a pseudo-terminal: reads command frames from
// the line, answers them after the model's delay, hangs up and comes back on
// demand. Single-threaded, driven by poll().
class PtyServer {
  public:
    // Throws std::runtime_error when no pseudo-terminal can be had.
    PtyServer(InstrumentModel& model, std::string linkPath, std::FILE* log);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    const std::string& devicePath() const { return device; }
    // Runs until `stop` becomes true.
    void run(const std::atomic<bool>& stop);

  private:
    void openLine();
    void closeLine();
    static void handToSudoUser(const std::string& path, bool link);
    void logFrame(const char* direction, const std::uint8_t* bytes, std::size_t size,
                  const char* kind);
    double now() const;

    InstrumentModel& model;
    std::string linkPath;
    std::FILE* log;
    std::string device;
    int master = -1;
    int slave = -1;
    double started = 0;
};

}  // namespace travenor::sim
