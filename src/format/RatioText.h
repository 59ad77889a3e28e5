#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "format/Values.h"

namespace travenor {

inline constexpr std::uint8_t NO_RATIO_ERROR = RatioError::NONE;

// "--%" for 110, "0.0%" for a zero magnitude, else a signed percentage ("+0.5%", "-1%").
std::string ratioErrorText(RatioError error);
std::string ratioErrorText(std::uint8_t error);

// The ratio error in percent as a plain decimal with its tenth ("0.5",
// "-12.7", "0.0"); empty when there is none.
std::string percentText(RatioError error);

// count times the factor of its range code, as a decimal integer text; the common
// unit is 10 microamperes.
std::string scaledCount(unsigned count, std::uint8_t code);

// The measured ratio in the form of the set ratio: "600/5A", "0/5A" or "---/5A".
std::string ratioText(const MeasuredRatio& ratio);
std::string ratioText(std::uint8_t primaryHigh, std::uint8_t primaryLow, std::uint8_t primaryCode,
                      std::uint8_t secondaryHigh, std::uint8_t secondaryLow,
                      std::uint8_t secondaryCode, std::uint8_t rated);

// The set ratio: the set primary, "/", the rated secondary and "A" ("600/5A").
std::string setRatioText(std::int16_t setPrimary, std::uint8_t rated);

// The out-of-range ratio form for a rated secondary byte: "---/5A".
std::string outOfRangeRatioText(std::uint8_t rated);

// A rated secondary current (tenths of an ampere) in amperes with its tenth: "5.0", "0.5".
std::string ratedAmperesText(std::uint8_t rated);

// The values the texts stand for, when the text makers above would write
// exactly those texts for them; any other text reads as nothing.
std::optional<RatioError> ratioErrorFromText(std::string_view text);
std::optional<MeasuredRatio> ratioFromText(std::string_view text);

}  // namespace travenor
