#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace travenor {

struct LineSettings {
    int baudRate = 38400;
    char parity = 'n';
    int dataBits = 8;
    int stopBits = 1;
};

// The serial line to the instrument. Port numbers are 1 to 16; how they map
// onto devices is the implementation's business.
class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // Opens port `number`; false when it does not exist, is busy or refuses
    // the settings. Never reports anything else.
    virtual bool open(int number, const LineSettings& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Queues bytes for the line and starts them on their way.
    virtual void write(const std::vector<std::uint8_t>& bytes) = 0;
    // Throws away every byte received and not yet read.
    virtual void clearInput() = 0;

    virtual std::size_t bytesWaiting() const = 0;
    // Removes and returns up to maxBytes waiting bytes.
    virtual std::vector<std::uint8_t> read(std::size_t maxBytes) = 0;

    // The receive notification: called on the UI thread whenever new bytes
    // leave at least `threshold` bytes waiting.
    virtual void setReceiveThreshold(std::size_t threshold) = 0;
    virtual void setReceiveHandler(std::function<void()> handler) = 0;

    // What port `number` stands for on this machine ("" when nothing).
    virtual std::string deviceName(int number) const = 0;

    // Why the device behind port `number` would not open, in words for the
    // user ("" when it opened or was not tried).
    virtual std::string refusalOf(int /*number*/) const { return {}; }
    // Told once per device and run when a device exists but refuses to open
    // (no permission, held by another program); the scan goes on meanwhile.
    virtual void setRefusalHandler(
        std::function<void(int number, const std::string& notice)> /*told*/) {}
};

}  // namespace travenor
