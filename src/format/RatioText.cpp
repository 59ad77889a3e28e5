#include "format/RatioText.h"

#include "format/NumberText.h"

namespace travenor {

std::string ratioErrorText(std::uint8_t error) {
    if (error == NO_RATIO_ERROR) return "--%";
    const unsigned magnitude = error & 0x7Fu;
    if (magnitude == 0) return "0.0%";
    const char* sign = (error & 0x80u) != 0 ? "+" : "-";
    return sign + tenthsText(magnitude) + "%";
}

namespace {

long long factorOf(std::uint8_t code) {
    switch (code) {
        case 0x30:
            return 100000;
        case 0x31:
            return 10000;
        case 0x32:
            return 1000;
        case 0x33:
            return 100;
        case 0x40:
            return 100;
        case 0x41:
            return 10;
        default:
            return 1;
    }
}

}  // namespace

std::string scaledCount(unsigned count, std::uint8_t code) {
    return std::to_string(static_cast<long long>(count) * factorOf(code));
}

std::string outOfRangeRatioText(std::uint8_t rated) {
    return "---/" + tenthsText(rated) + "A";
}

std::string ratioText(std::uint8_t primaryHigh, std::uint8_t primaryLow, std::uint8_t primaryCode,
                      std::uint8_t secondaryHigh, std::uint8_t secondaryLow,
                      std::uint8_t secondaryCode, std::uint8_t rated) {
    const std::string ratedText = tenthsText(rated);
    const unsigned primary = primaryHigh * 256u + primaryLow;
    const unsigned secondary = secondaryHigh * 256u + secondaryLow;

    // Classified in this order, so an out-of-range count wins over a zero one.
    enum class State { Normal, Zero, OutOfRange } state = State::Normal;
    if (primary == 0) state = State::Zero;
    if (secondary == 0) state = State::Zero;
    if (secondary >= 10000) state = State::OutOfRange;
    if (primary >= 10000) state = State::OutOfRange;

    if (state == State::OutOfRange) return "---/" + ratedText + "A";
    if (state == State::Zero) return "0/" + ratedText + "A";

    // 64-bit throughout: the product passes 2^31 for ordinary readings
    // (any primary above about 429.5 A at a 5 A rating).
    const long long scaledPrimary = std::stoll(scaledCount(primary, primaryCode));
    const long long scaledSecondary = std::stoll(scaledCount(secondary, secondaryCode));
    const long long product = scaledPrimary * rated;
    const long long quotient = product / scaledSecondary;
    return std::to_string(roundTenthsToEven(quotient)) + "/" + ratedText + "A";
}

}  // namespace travenor
