#pragma once

#include <cstdint>
#include <string>

namespace travenor {

inline constexpr unsigned OVERLOAD_COUNT = 10000;
inline constexpr unsigned MEASURING_ERROR_COUNT = 20000;
inline constexpr const char* OVERLOAD_TEXT = "    OL";
inline constexpr const char* MEASURING_ERROR_TEXT = "err";

// Text of one current field (count high byte, count low byte, range code):
// "12.345A", "123.4mA", "    OL" for the overload count, "err" for the error count.
std::string currentText(std::uint8_t high, std::uint8_t low, std::uint8_t code);

}  // namespace travenor
