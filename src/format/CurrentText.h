#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "format/Values.h"

namespace travenor {

inline constexpr unsigned OVERLOAD_COUNT = Current::OVERLOAD;
inline constexpr unsigned MEASURING_ERROR_COUNT = Current::MEASURING_ERROR;
inline constexpr const char* OVERLOAD_TEXT = "    OL";
inline constexpr const char* MEASURING_ERROR_TEXT = "err";

// Text of one current field: "12.345A", "123.4mA", "    OL" for the overload
// count, "err" for the error count.
std::string currentText(Current current);
std::string currentText(std::uint8_t high, std::uint8_t low, std::uint8_t code);

// The reading in amperes as a plain decimal with the count's own precision
// ("0.1989" for 198.9 mA, "5.000" for 5.000 A, "1234" for 1234 A); empty for
// a marker.
std::string amperesText(Current current);

// The reading a current text stands for, when currentText would write exactly
// that text for it; a text it could not have written reads as nothing.
std::optional<Current> currentFromText(std::string_view text);

}  // namespace travenor
