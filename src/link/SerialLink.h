#pragma once

#include <cstdint>
#include <optional>

#include "link/ReplyFrame.h"
#include "platform/SerialPort.h"

namespace travenor {

class PortSelection;

// The one serial port to the instrument: opening it by the number in the port
// box, sending command frames, and taking reply frames off the line.
class SerialLink {
  public:
    static constexpr std::size_t RECEIVE_THRESHOLD = ReplyFrame::SIZE;
    static constexpr int FIRST_PORT = 1;
    static constexpr int LAST_PORT = 16;

    SerialLink(SerialPort& port, const PortSelection& selection);

    // Closes the port and opens the one whose number the port box holds; a
    // failing open leaves the port closed without a word.
    void openPort();
    // Sends one command frame. A send entered while another is being written
    // is dropped.
    void sendCommand(std::int32_t value);
    // One receive notification: the first 20 waiting bytes when they form a
    // valid frame, nothing otherwise (short of 20 bytes, or a bad checksum).
    std::optional<ReplyFrame> receiveStep();

    bool portOpen() const { return port.isOpen(); }
    // True only while sendCommand is writing.
    bool isSending() const { return sending; }
    // Forgets a send that never finished (the program starting over).
    void reset() { sending = false; }

  private:
    SerialPort& port;
    const PortSelection& selection;
    bool sending = false;
    // The number the next open uses; kept when the box holds no number.
    int commPort = FIRST_PORT;
};

// The whole number a port box text stands for, if it is one (blanks around it allowed).
std::optional<int> portNumberOf(const std::string& text);

}  // namespace travenor
