#pragma once

#include <map>
#include <string>

namespace travenor {

// Which device stands behind port number 1 to 16.
class PortDirectory {
  public:
    virtual ~PortDirectory() = default;
    // The device path for `number`, or "" when there is none.
    virtual std::string deviceFor(int number) = 0;
};

// A fixed table of port numbers and device paths (tests, pseudo-terminals).
class FixedPortDirectory : public PortDirectory {
  public:
    explicit FixedPortDirectory(std::map<int, std::string> devices) : devices(std::move(devices)) {}
    std::string deviceFor(int number) override {
        const auto found = devices.find(number);
        return found == devices.end() ? std::string() : found->second;
    }

  private:
    std::map<int, std::string> devices;
};

}  // namespace travenor
