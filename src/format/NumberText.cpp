#include "format/NumberText.h"

namespace travenor {

std::string tenthsText(unsigned tenths) {
    std::string text = std::to_string(tenths / 10);
    if (const unsigned digit = tenths % 10; digit != 0) {
        text += '.';
        text += static_cast<char>('0' + digit);
    }
    return text;
}

std::string decimalText(std::int64_t value, unsigned decimals) {
    const std::string digits = std::to_string(value);
    if (decimals == 0) return digits;
    // Zeros in front make at least one digit before the point.
    const std::size_t width = digits.size() > decimals ? digits.size() : decimals + 1;
    std::string padded(width - digits.size(), '0');
    padded += digits;
    std::string text = padded.substr(0, width - decimals);
    text += '.';
    text += padded.substr(width - decimals);
    return text;
}

long long roundTenthsToEven(long long q) {
    long long whole = q / 10;
    const long long rest = q % 10;
    if (rest > 5 || (rest == 5 && whole % 2 != 0)) ++whole;
    return whole;
}

}  // namespace travenor
