#pragma once

#include <cstdint>
#include <string>

namespace travenor {

// A count of tenths in the program's one number form: shortest decimal, no
// exponent, a "0" before the point below 1 (5 -> "0.5", 50 -> "5", 255 -> "25.5").
std::string tenthsText(unsigned tenths);

// A non-negative value with a decimal point `decimals` places from the
// right, a "0" before a point that would come first: (1989, 4) -> "0.1989",
// (5000, 3) -> "5.000", (12, 0) -> "12".
std::string decimalText(std::int64_t value, unsigned decimals);

// Rounds a non-negative quotient q / 10 to the nearest integer, a tie going to
// the even neighbour (6005 -> 600, 6015 -> 602).
long long roundTenthsToEven(long long q);

}  // namespace travenor
