#include "link/CommandFrame.h"

namespace travenor {

CommandFrame CommandFrame::forValue(std::int32_t value) {
    CommandFrame frame;
    frame.bytes[0] = LEAD_0;
    frame.bytes[1] = LEAD_1;
    frame.bytes[2] = static_cast<std::uint8_t>((value / 256) & 0xFF);
    frame.bytes[3] = static_cast<std::uint8_t>(value & 0xFF);
    return frame;
}

}  // namespace travenor
