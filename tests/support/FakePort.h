#pragma once

#include <deque>
#include <functional>
#include <set>

#include "platform/SerialPort.h"

namespace travenor::test {

// A serial port that records what is asked of it; the test puts bytes on the
// receive side by hand.
class FakePort : public SerialPort {
  public:
    std::set<int> existing{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    std::vector<int> opens;  // every attempted open, by number
    int closes = 0;
    bool openNow = false;
    int openNumber = 0;
    LineSettings lastSettings;
    std::vector<std::uint8_t> written;
    std::vector<std::uint8_t> received;
    std::size_t threshold = 0;
    std::function<void()> handler;
    std::function<void()> onWrite;  // runs inside write(), for re-entry tests

    bool open(int number, const LineSettings& settings) override {
        opens.push_back(number);
        lastSettings = settings;
        if (!existing.count(number)) return false;
        openNow = true;
        openNumber = number;
        return true;
    }
    void close() override {
        ++closes;
        openNow = false;
    }
    bool isOpen() const override { return openNow; }
    void write(const std::vector<std::uint8_t>& bytes) override {
        if (!openNow) return;
        written.insert(written.end(), bytes.begin(), bytes.end());
        if (onWrite) onWrite();
    }
    void clearInput() override { received.clear(); }
    std::size_t bytesWaiting() const override { return received.size(); }
    std::vector<std::uint8_t> read(std::size_t maxBytes) override {
        const std::size_t n = std::min(maxBytes, received.size());
        std::vector<std::uint8_t> out(received.begin(), received.begin() + static_cast<long>(n));
        received.erase(received.begin(), received.begin() + static_cast<long>(n));
        return out;
    }
    void setReceiveThreshold(std::size_t t) override { threshold = t; }
    void setReceiveHandler(std::function<void()> h) override { handler = std::move(h); }
    std::string deviceName(int number) const override {
        return existing.count(number) ? "/dev/fake" + std::to_string(number) : "";
    }

    void receive(const std::vector<std::uint8_t>& bytes) {
        received.insert(received.end(), bytes.begin(), bytes.end());
    }
    std::vector<std::uint8_t> takeWritten() {
        std::vector<std::uint8_t> out;
        out.swap(written);
        return out;
    }
};

}  // namespace travenor::test
