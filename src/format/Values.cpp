#include "format/Values.h"

#include "format/NumberText.h"

namespace travenor {

namespace {

constexpr std::int64_t POWERS_OF_TEN[] = {1, 10, 100, 1000, 10000, 100000, 1000000};

// The factor that brings a count of this range code to 10 microamperes; 1 for
// a code outside the six the instrument uses for its ratio.
std::int64_t factorOf(std::uint8_t code) {
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

std::int64_t Current::microamperes() const {
    return count * POWERS_OF_TEN[6 - ampereDecimals()];
}

bool Current::operator==(const Current& other) const {
    if (!hasValue() || !other.hasValue()) return count == other.count;
    return microamperes() == other.microamperes();
}

std::int64_t scaledCountOf(unsigned count, std::uint8_t code) {
    return static_cast<std::int64_t>(count) * factorOf(code);
}

MeasuredRatio measuredRatio(Current primary, Current secondary, std::uint8_t rated) {
    // Classified in this order, so an out-of-range count wins over a zero one.
    enum class State { Normal, Zero, OutOfRange } state = State::Normal;
    if (primary.count == 0) state = State::Zero;
    if (secondary.count == 0) state = State::Zero;
    if (secondary.count >= 10000) state = State::OutOfRange;
    if (primary.count >= 10000) state = State::OutOfRange;

    if (state == State::OutOfRange) return {false, 0, rated};
    if (state == State::Zero) return {true, 0, rated};
    // 64-bit throughout: the product passes 2^31 for ordinary readings
    // (any primary above about 429.5 A at a 5 A rating).
    const std::int64_t product = scaledCountOf(primary.count, primary.code) * rated;
    const std::int64_t quotient = product / scaledCountOf(secondary.count, secondary.code);
    return {true, roundTenthsToEven(quotient), rated};
}

}  // namespace travenor
