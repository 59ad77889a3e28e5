#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace travenor {

enum class FrameKind : std::uint8_t {
    Record = 1,
    Live = 2,
    RecordCount = 3,
    PortFound = 4,
    RecordsEnd = 5,
};

// The 20 bytes of every reply. Byte 19 is the sum of bytes 0 to 18 modulo 256.
struct ReplyFrame {
    static constexpr std::size_t SIZE = 20;

    // Offsets of the three-byte current fields.
    static constexpr std::size_t PRIMARY = 0;
    static constexpr std::size_t SECONDARY_R = 3;
    static constexpr std::size_t SECONDARY_S = 6;
    static constexpr std::size_t SECONDARY_T = 9;

    std::array<std::uint8_t, SIZE> bytes{};

    static std::uint8_t checksumOf(std::span<const std::uint8_t> firstNineteen);
    static ReplyFrame fromBytes(std::span<const std::uint8_t> twenty);

    bool isValid() const { return bytes[19] == checksumOf(std::span(bytes).first(19)); }
    // Writes the checksum that makes the frame valid.
    void seal() { bytes[19] = checksumOf(std::span(bytes).first(19)); }

    std::uint8_t kindValue() const { return bytes[18] & 0x0F; }
    int channel() const { return bytes[18] >> 4; }
    void setChannelAndKind(int channel, std::uint8_t kind) {
        bytes[18] = static_cast<std::uint8_t>(((channel & 0x0F) << 4) | (kind & 0x0F));
    }

    unsigned countAt(std::size_t offset) const { return bytes[offset] * 256u + bytes[offset + 1]; }
    std::int32_t recordNumber() const { return bytes[12] * 256 + bytes[13]; }
    std::uint8_t ratioError() const { return bytes[14]; }
    std::int16_t setPrimary() const {
        return static_cast<std::int16_t>((bytes[15] & 0x3F) * 256 + bytes[16]);
    }
    std::uint8_t ratedSecondary() const { return bytes[17]; }
    bool lowVoltageBatteryLow() const { return (bytes[15] & 0x80) != 0; }
    bool highVoltageBatteryLow() const { return (bytes[15] & 0x40) != 0; }
};

}  // namespace travenor
