#pragma once

#include <cstdint>
#include <string>

namespace travenor {

inline constexpr std::uint8_t NO_RATIO_ERROR = 110;

// "--%" for 110, "0.0%" for a zero magnitude, else a signed percentage ("+0.5%", "-1%").
std::string ratioErrorText(std::uint8_t error);

// count times the factor of its range code, as a decimal integer text; the common
// unit is 10 microamperes.
std::string scaledCount(unsigned count, std::uint8_t code);

// The measured ratio in the form of the set ratio: "600/5A", "0/5A" or "---/5A".
std::string ratioText(std::uint8_t primaryHigh, std::uint8_t primaryLow, std::uint8_t primaryCode,
                      std::uint8_t secondaryHigh, std::uint8_t secondaryLow,
                      std::uint8_t secondaryCode, std::uint8_t rated);

// The out-of-range ratio form for a rated secondary byte: "---/5A".
std::string outOfRangeRatioText(std::uint8_t rated);

}  // namespace travenor
