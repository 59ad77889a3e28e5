#include "format/CurrentText.h"

namespace travenor {

std::string currentText(std::uint8_t high, std::uint8_t low, std::uint8_t code) {
    const unsigned count = high * 256u + low;
    if (count == OVERLOAD_COUNT) return OVERLOAD_TEXT;
    if (count == MEASURING_ERROR_COUNT) return MEASURING_ERROR_TEXT;

    const char* unit = (code >> 4) == 4 ? "mA" : "A";
    unsigned decimals = code & 0x0F;
    if (decimals > 3) decimals = 0;
    static constexpr unsigned DIVISORS[] = {1, 10, 100, 1000};
    const unsigned divisor = DIVISORS[decimals];

    std::string text = std::to_string(count / divisor);
    if (decimals > 0) {
        const unsigned fraction = count % divisor;
        std::string digits = std::to_string(fraction);
        digits.insert(0, decimals - digits.size(), '0');
        if (fraction != 0) {
            // A real fraction is written in its shortest form, never filled out.
            while (digits.back() == '0') digits.pop_back();
        }
        text += '.';
        text += digits;
    }
    return text + unit;
}

}  // namespace travenor
