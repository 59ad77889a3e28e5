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

long long roundTenthsToEven(long long q) {
    long long whole = q / 10;
    const long long rest = q % 10;
    if (rest > 5 || (rest == 5 && whole % 2 != 0)) ++whole;
    return whole;
}

}  // namespace travenor
