#include <gtest/gtest.h>

#include <string>

#include "format/CurrentText.h"
#include "format/RatioText.h"

namespace travenor {
namespace {

// A decimal text ("0.1989", "12", "-0.5") in millionths, read digit by digit.
long long millionths(const std::string& text) {
    std::size_t at = text.front() == '-' || text.front() == '+' ? 1 : 0;
    long long whole = 0, fraction = 0;
    int places = 0;
    for (; at < text.size() && text[at] != '.'; ++at) whole = whole * 10 + (text[at] - '0');
    for (++at; at < text.size(); ++at, ++places) fraction = fraction * 10 + (text[at] - '0');
    for (; places < 6; ++places) fraction *= 10;
    return (text.front() == '-' ? -1 : 1) * (whole * 1000000 + fraction);
}

// The number of a value text in millionths of an ampere: "198.9mA" is 198900.
long long microamperesOf(const std::string& text) {
    const bool milli = text.ends_with("mA");
    const long long value = millionths(text.substr(0, text.size() - (milli ? 2 : 1)));
    return milli ? value / 1000 : value;
}

TEST(CurrentValue, AmperesAreTheCountsOwnDecimals) {
    const struct {
        std::uint8_t high, low, code;
        const char* text;
        const char* amperes;
    } cases[] = {
        {0x07, 0xC5, 0x41, "198.9mA", "0.1989"},     {0x13, 0x88, 0x33, "5.000A", "5.000"},
        {0x04, 0xCE, 0x32, "12.3A", "12.30"},        {0x00, 0x05, 0x33, "0.005A", "0.005"},
        {0x00, 0x00, 0x30, "0A", "0"},               {0x00, 0x00, 0x41, "0.0mA", "0.0000"},
        {0x01, 0xF4, 0x42, "5.00mA", "0.00500"},     {0x04, 0xD2, 0x45, "1234mA", "1.234"},
        {0x04, 0xD2, 0x43, "1.234mA", "0.001234"},   {0x04, 0xD2, 0x04, "1234A", "1234"},
        {0xFF, 0xFF, 0x31, "6553.5A", "6553.5"},     {0x27, 0x10, 0x33, "    OL", ""},
        {0x4E, 0x20, 0x41, "err", ""},               {0x27, 0x11, 0x33, "10.001A", "10.001"},
    };
    for (const auto& c : cases) {
        const Current current = Current::fromBytes(c.high, c.low, c.code);
        EXPECT_EQ(currentText(current), c.text) << c.text;
        EXPECT_EQ(amperesText(current), c.amperes) << c.text;
    }
}

// The text and the number are two views of one value, for every count of
// every range code: the number is the text's value, and the text reads back
// to the reading it came from.
TEST(CurrentValue, TextAndNumberAgreeForEveryCount) {
    for (const std::uint8_t code : {0x30, 0x31, 0x32, 0x33, 0x40, 0x41, 0x42, 0x43, 0x04, 0x45, 0xF7}) {
        for (unsigned count = 0; count < 65536; ++count) {
            const Current current{static_cast<std::uint16_t>(count), code};
            const std::string text = currentText(current);
            const auto back = currentFromText(text);
            ASSERT_TRUE(back) << text;
            ASSERT_EQ(*back, current) << text;
            ASSERT_EQ(currentText(*back), text);
            if (!current.hasValue()) {
                ASSERT_EQ(amperesText(current), "");
                continue;
            }
            const std::string amperes = amperesText(current);
            ASSERT_EQ(amperes.find_first_not_of("0123456789."), std::string::npos) << amperes;
            ASSERT_EQ(millionths(amperes), microamperesOf(text)) << text << " " << amperes;
            ASSERT_EQ(millionths(amperes), current.microamperes()) << text;
        }
    }
}

TEST(CurrentValue, TextsTheProgramNeverWritesReadAsNothing) {
    for (const char* text : {"", "A", "mA", "12.30A", "012A", "1.A", ".5A", "1.2345A", "10.000A",
                             "20.000A", "65536A", "5,0A", "5.0 A", "5.0", "OL", "ERR", "1e3A"})
        EXPECT_FALSE(currentFromText(text)) << text;
}

TEST(RatioErrorValue, EveryByteIsOnePercentage) {
    for (unsigned byte = 0; byte < 256; ++byte) {
        const RatioError error{static_cast<std::uint8_t>(byte)};
        const std::string text = ratioErrorText(error);
        const std::string percent = percentText(error);
        const auto back = ratioErrorFromText(text);
        ASSERT_TRUE(back) << text;
        EXPECT_EQ(*back, error) << text;
        EXPECT_EQ(ratioErrorText(*back), text);
        if (byte == RatioError::NONE) {
            EXPECT_EQ(percent, "");
            continue;
        }
        EXPECT_EQ(millionths(percent), millionths(text.substr(0, text.size() - 1))) << text;
        EXPECT_EQ(percent.substr(percent.size() - 2, 1), ".") << percent;  // one tenth, always
    }
    for (const char* text : {"-11%", "+0.0%", "0%", "+12.8%", "+1.0%", "1%", "+0.50%", "--"})
        EXPECT_FALSE(ratioErrorFromText(text)) << text;
}

TEST(RatioValue, TextsReadBackAndNothingElseDoes) {
    const struct {
        const char* text;
        bool inRange;
        long long primary;
        std::uint8_t rated;
    } cases[] = {
        {"600/5A", true, 600, 50},  {"0/5A", true, 0, 50},    {"---/0.5A", false, 0, 5},
        {"180/1.5A", true, 180, 15}, {"12345678901/25.5A", true, 12345678901, 255},
    };
    for (const auto& c : cases) {
        const auto ratio = ratioFromText(c.text);
        ASSERT_TRUE(ratio) << c.text;
        EXPECT_EQ(*ratio, (MeasuredRatio{c.inRange, c.primary, c.rated})) << c.text;
        EXPECT_EQ(ratioText(*ratio), c.text);
    }
    for (const char* text : {"0600/5A", "600/5", "600/5.0A", "600/25.6A", "/5A", "-1/5A", "600A"})
        EXPECT_FALSE(ratioFromText(text)) << text;
    EXPECT_EQ(ratedAmperesText(5), "0.5");
    EXPECT_EQ(ratedAmperesText(50), "5.0");
}

}  // namespace
}  // namespace travenor
