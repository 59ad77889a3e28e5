#include "format/CurrentText.h"

#include "format/NumberText.h"

namespace travenor {

std::string currentText(Current current) {
    if (current.isOverload()) return OVERLOAD_TEXT;
    if (current.isMeasuringError()) return MEASURING_ERROR_TEXT;
    std::string text = decimalText(current.count, current.decimals());
    // A real fraction is written in its shortest form, never filled out; a
    // whole value keeps its decimals written out ("5.000A").
    if (const std::size_t point = text.find('.'); point != std::string::npos) {
        std::size_t end = text.size();
        while (end > point + 1 && text[end - 1] == '0') --end;
        if (end > point + 1) text.erase(end);
    }
    return text + (current.inMilliamperes() ? "mA" : "A");
}

std::string currentText(std::uint8_t high, std::uint8_t low, std::uint8_t code) {
    return currentText(Current::fromBytes(high, low, code));
}

std::string amperesText(Current current) {
    if (!current.hasValue()) return {};
    return decimalText(current.count, current.ampereDecimals());
}

std::optional<Current> currentFromText(std::string_view text) {
    if (text == OVERLOAD_TEXT) return Current{Current::OVERLOAD, 0x30};
    if (text == MEASURING_ERROR_TEXT) return Current{Current::MEASURING_ERROR, 0x30};
    bool milli = false;
    if (text.ends_with("mA")) {
        milli = true;
        text.remove_suffix(2);
    } else if (text.ends_with("A")) {
        text.remove_suffix(1);
    } else {
        return std::nullopt;
    }
    unsigned count = 0;
    unsigned decimals = 0;
    bool point = false;
    std::size_t digits = 0;
    for (const char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            count = count * 10 + static_cast<unsigned>(c - '0');
            if (count > 65535) return std::nullopt;
            ++digits;
            if (point) ++decimals;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || decimals > 3 || (point && decimals == 0)) return std::nullopt;
    const Current current{static_cast<std::uint16_t>(count),
                          static_cast<std::uint8_t>((milli ? 0x40 : 0x30) | decimals)};
    // Only the program's own form: no leading zeros, no filled-out fraction,
    // no marker count written as a value.
    if (currentText(current) != std::string(text) + (milli ? "mA" : "A")) return std::nullopt;
    return current;
}

}  // namespace travenor
