#include "format/RatioText.h"

#include "format/NumberText.h"

namespace travenor {

std::string ratioErrorText(RatioError error) {
    if (!error.present()) return "--%";
    const int tenths = error.tenths();
    if (tenths == 0) return "0.0%";
    return (tenths > 0 ? "+" : "-") +
           tenthsText(static_cast<unsigned>(tenths > 0 ? tenths : -tenths)) + "%";
}

std::string ratioErrorText(std::uint8_t error) {
    return ratioErrorText(RatioError{error});
}

std::string percentText(RatioError error) {
    if (!error.present()) return {};
    const int tenths = error.tenths();
    const int magnitude = tenths < 0 ? -tenths : tenths;
    return (tenths < 0 ? "-" : "") + decimalText(magnitude, 1);
}

std::string scaledCount(unsigned count, std::uint8_t code) {
    return std::to_string(scaledCountOf(count, code));
}

std::string outOfRangeRatioText(std::uint8_t rated) {
    return "---/" + tenthsText(rated) + "A";
}

std::string ratioText(const MeasuredRatio& ratio) {
    if (!ratio.inRange) return outOfRangeRatioText(ratio.rated);
    return std::to_string(ratio.primary) + "/" + tenthsText(ratio.rated) + "A";
}

std::string ratioText(std::uint8_t primaryHigh, std::uint8_t primaryLow, std::uint8_t primaryCode,
                      std::uint8_t secondaryHigh, std::uint8_t secondaryLow,
                      std::uint8_t secondaryCode, std::uint8_t rated) {
    return ratioText(measuredRatio(Current::fromBytes(primaryHigh, primaryLow, primaryCode),
                                   Current::fromBytes(secondaryHigh, secondaryLow, secondaryCode),
                                   rated));
}

std::string setRatioText(std::int16_t setPrimary, std::uint8_t rated) {
    return std::to_string(setPrimary) + "/" + tenthsText(rated) + "A";
}

std::string ratedAmperesText(std::uint8_t rated) {
    return decimalText(rated, 1);
}

namespace {

// A count of tenths written by tenthsText, up to `most`.
std::optional<unsigned> tenthsFromText(std::string_view text, unsigned most) {
    if (text.empty() || text.size() > 8) return std::nullopt;
    unsigned tenths = 0;
    bool point = false;
    unsigned afterPoint = 0;
    for (const char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9' && afterPoint == 0) {
            tenths = tenths * 10 + static_cast<unsigned>(c - '0');
            if (point) ++afterPoint;
        } else {
            return std::nullopt;
        }
    }
    if (!point) tenths *= 10;
    if (tenths > most || tenthsText(tenths) != text) return std::nullopt;
    return tenths;
}

}  // namespace

std::optional<RatioError> ratioErrorFromText(std::string_view text) {
    if (!text.ends_with('%')) return std::nullopt;
    text.remove_suffix(1);
    if (text == "--") return RatioError{RatioError::NONE};
    if (text == "0.0") return RatioError{0};
    if (text.empty() || (text.front() != '+' && text.front() != '-')) return std::nullopt;
    const bool positive = text.front() == '+';
    const auto magnitude = tenthsFromText(text.substr(1), 127);
    if (!magnitude || *magnitude == 0) return std::nullopt;
    const RatioError error{static_cast<std::uint8_t>((positive ? 0x80 : 0) | *magnitude)};
    // "-11%" is the byte that means no error: no text of the program says it.
    if (!error.present()) return std::nullopt;
    return error;
}

std::optional<MeasuredRatio> ratioFromText(std::string_view text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos || !text.ends_with('A')) return std::nullopt;
    const auto rated = tenthsFromText(text.substr(slash + 1, text.size() - slash - 2), 255);
    if (!rated) return std::nullopt;
    const std::string_view primary = text.substr(0, slash);
    MeasuredRatio ratio{false, 0, static_cast<std::uint8_t>(*rated)};
    if (primary == "---") return ratio;
    if (primary.empty() || primary.size() > 15 || (primary.size() > 1 && primary.front() == '0'))
        return std::nullopt;
    for (const char c : primary) {
        if (c < '0' || c > '9') return std::nullopt;
        ratio.primary = ratio.primary * 10 + (c - '0');
    }
    ratio.inRange = true;
    return ratio;
}

}  // namespace travenor
