#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/PortDirectory.h"

class QFileSystemWatcher;

namespace travenor {

// The machine's serial ports by number. On Windows port p is COMp. Elsewhere
// port p is the p-th of the USB adapters (/dev/ttyUSB*, then /dev/ttyACM*,
// each in numeric order), then the on-board ports the serial layer reports.
class SystemPortDirectory : public PortDirectory {
  public:
    // The on-board ports' device paths, in any order.
    using OnBoardLister = std::function<std::vector<std::string>()>;

    // onBoardPorts lists the on-board ports; the serial layer's list when empty.
    explicit SystemPortDirectory(std::string deviceFolder = "/dev",
                                 OnBoardLister onBoardPorts = {});
    ~SystemPortDirectory() override;
    std::string deviceFor(int number) override;

    // The USB adapter names of a folder listing, in port order.
    static std::vector<std::string> adapterNames(const std::vector<std::string>& entries);
    // Orders names as a person counts: the digits in them as numbers
    // ("ttyS2" before "ttyS10").
    static bool naturalLess(const std::string& a, const std::string& b);

  private:
    void listDevices();

    std::string deviceFolder;
    OnBoardLister listOnBoard;
    // The device folder is watched: the lists are made again only when
    // something in it came or went, so a scan pass costs no file-system work.
    std::unique_ptr<QFileSystemWatcher> watcher;
    bool watching = false;
    bool stale = true;
    std::vector<std::string> adapters;
    std::vector<std::string> onBoard;
    std::chrono::steady_clock::time_point onBoardListedAt{};
    bool onBoardListed = false;
};

}  // namespace travenor
