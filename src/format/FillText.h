#pragma once

#include <cstdint>
#include <string>

namespace travenor {

// n zeros; the empty text for 0.
std::string zeroFill(std::uint8_t n);

// n blanks; one blank (not the empty text) for 0, so a text that exactly fills
// its field is still set off from the one before it.
std::string blankFill(std::uint8_t n);

// "R", "S", "T" for 0, 1, 2; "- -" for any other channel.
std::string channelLetter(std::int16_t channel);

}  // namespace travenor
