#include "link/SerialLink.h"

#include <charconv>

#include "link/CommandFrame.h"
#include "link/PortSelection.h"

namespace travenor {

std::optional<int> portNumberOf(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    const auto last = text.find_last_not_of(' ');
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+') ++begin;
    int number = 0;
    const auto [stop, error] = std::from_chars(begin, end, number);
    if (error != std::errc() || stop != end) return std::nullopt;
    return number;
}

SerialLink::SerialLink(SerialPort& port, const PortSelection& selection)
    : port(port), selection(selection) {}

void SerialLink::openPort() {
    if (port.isOpen()) port.close();
    if (const auto number = portNumberOf(selection.portText())) commPort = *number;
    if (port.open(commPort, LineSettings{})) port.setReceiveThreshold(RECEIVE_THRESHOLD);
}

void SerialLink::sendCommand(std::int32_t value) {
    if (sending) return;
    sending = true;
    if (port.isOpen()) {
        // The receive side is emptied before the write, not after: writes leave
        // from the event loop, and a fast reply must not be thrown away.
        port.clearInput();
        port.write(CommandFrame::forValue(value).toBytes());
    }
    sending = false;
}

std::optional<ReplyFrame> SerialLink::receiveStep() {
    if (!port.isOpen() || port.bytesWaiting() < ReplyFrame::SIZE) return std::nullopt;
    const std::vector<std::uint8_t> bytes = port.read(ReplyFrame::SIZE);
    if (bytes.size() < ReplyFrame::SIZE) return std::nullopt;
    ReplyFrame frame = ReplyFrame::fromBytes(bytes);
    if (!frame.isValid()) return std::nullopt;
    return frame;
}

}  // namespace travenor
