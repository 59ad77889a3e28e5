#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace travenor {

inline constexpr std::int32_t LIVE_READING_COMMAND = 30000;
inline constexpr std::int32_t RECORD_COUNT_COMMAND = 40000;
inline constexpr std::int32_t PROBE_COMMAND_BASE = 60000;

// The 4 bytes of every request: 0x64 0x65, then the 16-bit command value,
// high byte first. Values are record numbers (1 up), 30000, 40000 and 60000 + port.
struct CommandFrame {
    static constexpr std::uint8_t LEAD_0 = 0x64;
    static constexpr std::uint8_t LEAD_1 = 0x65;
    static constexpr std::size_t SIZE = 4;

    std::array<std::uint8_t, SIZE> bytes{};

    static CommandFrame forValue(std::int32_t value);
    std::int32_t value() const { return bytes[2] * 256 + bytes[3]; }
    bool hasLead() const { return bytes[0] == LEAD_0 && bytes[1] == LEAD_1; }
    std::vector<std::uint8_t> toBytes() const { return {bytes.begin(), bytes.end()}; }
};

}  // namespace travenor
