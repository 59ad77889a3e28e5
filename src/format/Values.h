#pragma once

#include <cstdint>

namespace travenor {

// The values one reply frame carries, as numbers. The texts the window shows
// and the table holds are made from them in format/ alone.

// One current reading: a 16-bit count and its range code (high nibble 4:
// milliamperes, else amperes; low nibble 1 to 3: decimals, else none). Two
// counts are markers, whatever the code: 10000 overload, 20000 measuring error.
struct Current {
    static constexpr std::uint16_t OVERLOAD = 10000;
    static constexpr std::uint16_t MEASURING_ERROR = 20000;

    std::uint16_t count = 0;
    std::uint8_t code = 0;

    static Current fromBytes(std::uint8_t high, std::uint8_t low, std::uint8_t rangeCode) {
        return {static_cast<std::uint16_t>(high * 256u + low), rangeCode};
    }

    bool isOverload() const { return count == OVERLOAD; }
    bool isMeasuringError() const { return count == MEASURING_ERROR; }
    bool hasValue() const { return !isOverload() && !isMeasuringError(); }
    bool inMilliamperes() const { return (code >> 4) == 4; }
    unsigned decimals() const {
        const unsigned d = code & 0x0Fu;
        return d <= 3 ? d : 0;
    }
    // Decimal places of the value in amperes: 0 to 6.
    unsigned ampereDecimals() const { return decimals() + (inMilliamperes() ? 3 : 0); }
    // The value in microamperes, exact (a count is at most 65535 A).
    std::int64_t microamperes() const;

    // Two readings are equal when they stand for the same value or marker,
    // whatever range code says so.
    bool operator==(const Current& other) const;
};

// The ratio-error byte: bit 7 the sign (1 positive), bits 6 to 0 the magnitude
// in tenths of a percent. Exactly 110 means there is none.
struct RatioError {
    static constexpr std::uint8_t NONE = 110;

    std::uint8_t byte = 0;

    bool present() const { return byte != NONE; }
    // Signed tenths of a percent, -127 to 127; 0 for both signs of zero.
    int tenths() const {
        const int magnitude = byte & 0x7F;
        return (byte & 0x80) != 0 ? magnitude : -magnitude;
    }
    bool operator==(const RatioError& other) const {
        return present() == other.present() && (!present() || tenths() == other.tenths());
    }
};

// The measured ratio: the primary current that belongs to the rated secondary
// current (`rated`, tenths of an ampere) at the ratio of the two readings, or
// none when a reading is out of range. A zero reading gives a primary of 0.
struct MeasuredRatio {
    bool inRange = false;
    std::int64_t primary = 0;
    std::uint8_t rated = 0;

    bool operator==(const MeasuredRatio&) const = default;
};

// count times the factor of its range code: the count in units of 10
// microamperes for the six codes the instrument uses, the count itself else.
std::int64_t scaledCountOf(unsigned count, std::uint8_t code);

// The ratio of a primary and a secondary reading, worked out in units of
// 10 microamperes from the counts and their range codes, the quotient's last
// digit rounded half to even.
MeasuredRatio measuredRatio(Current primary, Current secondary, std::uint8_t rated);

}  // namespace travenor
