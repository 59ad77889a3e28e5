#include "format/FillText.h"

namespace travenor {

std::string zeroFill(std::uint8_t n) {
    return std::string(n, '0');
}

std::string blankFill(std::uint8_t n) {
    return n == 0 ? std::string(" ") : std::string(n, ' ');
}

std::string channelLetter(std::int16_t channel) {
    switch (channel) {
        case 0:
            return "R";
        case 1:
            return "S";
        case 2:
            return "T";
        default:
            return "- -";
    }
}

}  // namespace travenor
