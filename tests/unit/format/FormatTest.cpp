#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "format/CurrentText.h"
#include "format/FillText.h"
#include "format/NumberText.h"
#include "format/RatioText.h"

namespace travenor {
namespace {

struct CurrentCase {
    std::uint8_t high, low, code;
    const char* text;
};

TEST(CurrentText, ReadingsByRangeCode) {
    const CurrentCase cases[] = {
        {0x30, 0x39, 0x33, "12.345A"}, {0x13, 0x88, 0x33, "5.000A"},  {0x04, 0xCE, 0x32, "12.3A"},
        {0x00, 0x05, 0x33, "0.005A"},  {0x00, 0x00, 0x31, "0.0A"},    {0x00, 0x00, 0x30, "0A"},
        {0x17, 0x70, 0x31, "600.0A"},  {0x04, 0xD2, 0x30, "1234A"},   {0x04, 0xD2, 0x41, "123.4mA"},
        {0x01, 0xF4, 0x42, "5.00mA"},  {0x04, 0xD2, 0x04, "1234A"},   {0x04, 0xD2, 0x45, "1234mA"},
        {0x27, 0x0F, 0x33, "9.999A"},  {0x27, 0x10, 0x33, "    OL"},  {0x27, 0x11, 0x33, "10.001A"},
        {0x4E, 0x20, 0x31, "err"},     {0xFF, 0xFF, 0x31, "6553.5A"}, {0x27, 0x10, 0x40, "    OL"},
        {0x4E, 0x20, 0x00, "err"},     {0x00, 0x32, 0x32, "0.5A"},    {0x00, 0x0A, 0x33, "0.01A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(currentText(c.high, c.low, c.code), c.text)
            << std::hex << int(c.high) << " " << int(c.low) << " " << int(c.code);
}

// Every one of the 2^24 fields: at most 8 characters, the right unit, and the
// text reads back as count / divisor.
TEST(CurrentText, EveryFieldReadsBackAsItsValue) {
    for (unsigned code = 0; code < 256; ++code) {
        const unsigned d = (code & 0x0F) >= 1 && (code & 0x0F) <= 3 ? (code & 0x0F) : 0;
        const unsigned divisor = d == 1 ? 10 : d == 2 ? 100 : d == 3 ? 1000 : 1;
        const std::string unit = (code >> 4) == 4 ? "mA" : "A";
        for (unsigned count = 0; count < 65536; ++count) {
            const std::string text =
                currentText(static_cast<std::uint8_t>(count >> 8), static_cast<std::uint8_t>(count),
                            static_cast<std::uint8_t>(code));
            ASSERT_LE(text.size(), 8u) << text;
            if (count == 10000) {
                ASSERT_EQ(text, "    OL");
                continue;
            }
            if (count == 20000) {
                ASSERT_EQ(text, "err");
                continue;
            }
            ASSERT_EQ(text.substr(text.size() - unit.size()), unit) << text;
            ASSERT_TRUE(text.size() == unit.size() + 1 ||
                        text[text.size() - unit.size() - 1] != 'm');
            const std::string number = text.substr(0, text.size() - unit.size());
            // Integer digits, then either exactly d zeros or a fraction without trailing zeros.
            const auto point = number.find('.');
            unsigned whole = 0, fraction = 0, scale = 1;
            if (point == std::string::npos) {
                ASSERT_EQ(d, 0u) << text;
                whole = static_cast<unsigned>(std::stoul(number));
            } else {
                ASSERT_GT(point, 0u) << text;
                const std::string digits = number.substr(point + 1);
                ASSERT_LE(digits.size(), d) << text;
                if (count % divisor == 0) {
                    ASSERT_EQ(digits, std::string(d, '0')) << text;
                } else {
                    ASSERT_NE(digits.back(), '0') << text;
                }
                whole = static_cast<unsigned>(std::stoul(number.substr(0, point)));
                fraction = static_cast<unsigned>(std::stoul(digits));
                for (std::size_t i = 0; i < digits.size(); ++i) scale *= 10;
            }
            ASSERT_EQ(
                static_cast<unsigned long long>(whole) * divisor + fraction * (divisor / scale),
                count)
                << text;
        }
    }
}

TEST(RatioErrorText, ErrorBytesAndTheirTexts) {
    const std::pair<std::uint8_t, const char*> cases[] = {
        {0x00, "0.0%"},   {0x80, "0.0%"},   {0x6E, "--%"},    {0xEE, "+11%"}, {0x01, "-0.1%"},
        {0x81, "+0.1%"},  {0x85, "+0.5%"},  {0x0A, "-1%"},    {0x8A, "+1%"},  {0x64, "-10%"},
        {0x65, "-10.1%"}, {0x7F, "-12.7%"}, {0xFF, "+12.7%"},
    };
    for (const auto& [byte, text] : cases) EXPECT_EQ(ratioErrorText(byte), text) << int(byte);
}

// All 256 bytes: the sign from bit 7, the magnitude from bits 6-0 in tenths.
TEST(RatioErrorText, EveryByteHasSignMagnitudeAndForm) {
    for (unsigned byte = 0; byte < 256; ++byte) {
        const std::string text = ratioErrorText(static_cast<std::uint8_t>(byte));
        ASSERT_LE(text.size(), 6u);
        ASSERT_EQ(text.back(), '%');
        if (byte == 110) {
            ASSERT_EQ(text, "--%");
            continue;
        }
        const unsigned magnitude = byte & 0x7F;
        if (magnitude == 0) {
            ASSERT_EQ(text, "0.0%");
            continue;
        }
        ASSERT_EQ(text[0], (byte & 0x80) ? '+' : '-') << text;
        const double value = std::stod(text.substr(1, text.size() - 2));
        ASSERT_NEAR(value * 10, magnitude, 1e-9) << text;
        ASSERT_EQ(text.find(".0%"), std::string::npos) << text;
    }
}

struct RatioCase {
    std::uint8_t ph, pl, pc, sh, sl, sc, rated;
    const char* text;
};

TEST(RatioText, SetAndMeasuredRatios) {
    const RatioCase cases[] = {
        {0x04, 0xB0, 0x31, 0x03, 0xE8, 0x33, 50, "600/5A"},
        {0x04, 0xB0, 0x31, 0x03, 0xE8, 0x33, 10, "120/1A"},
        {0x04, 0xB0, 0x31, 0x03, 0xE8, 0x33, 15, "180/1.5A"},
        {0x04, 0xB0, 0x31, 0x01, 0xF4, 0x40, 5, "120/0.5A"},
        {0x00, 0x78, 0x30, 0x03, 0xE8, 0x33, 50, "600/5A"},
        {0x04, 0xB0, 0x32, 0x03, 0xE8, 0x33, 50, "60/5A"},
        {0x04, 0xB1, 0x31, 0x03, 0xE8, 0x33, 50, "600/5A"},
        {0x04, 0xB3, 0x31, 0x03, 0xE8, 0x33, 50, "602/5A"},
        {0x04, 0xB2, 0x31, 0x03, 0xE8, 0x33, 50, "601/5A"},
        {0x00, 0x00, 0x31, 0x03, 0xE8, 0x33, 50, "0/5A"},
        {0x00, 0x00, 0x99, 0x03, 0xE8, 0x33, 50, "0/5A"},
        {0x04, 0xB0, 0x31, 0x00, 0x00, 0x33, 50, "0/5A"},
        {0x27, 0x10, 0x31, 0x00, 0x00, 0x33, 50, "---/5A"},
        {0x04, 0xB0, 0x31, 0x27, 0x10, 0x33, 50, "---/5A"},
        {0x4E, 0x20, 0x31, 0x03, 0xE8, 0x33, 50, "---/5A"},
        {0x04, 0xB0, 0x31, 0x03, 0xE8, 0x33, 0, "0/0A"},
        {0x04, 0xB0, 0x31, 0x03, 0xE8, 0x33, 255, "3060/25.5A"},
        // Products above 2^31: 600.0 A against 5.000 A at 5 A.
        {0x17, 0x70, 0x31, 0x13, 0x88, 0x33, 50, "600/5A"},
        {0x27, 0x0F, 0x30, 0x00, 0x01, 0x41, 255, "2549745000/25.5A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ratioText(c.ph, c.pl, c.pc, c.sh, c.sl, c.sc, c.rated), c.text) << c.text;
}

long long factor(std::uint8_t code) {
    switch (code) {
        case 0x30:
            return 100000;
        case 0x31:
            return 10000;
        case 0x32:
            return 1000;
        case 0x33:
        case 0x40:
            return 100;
        case 0x41:
            return 10;
        default:
            return 1;
    }
}

// Across the counts and codes, the ratio agrees with a plain rational
// computation: n = round-half-even(floor(P*f*rated / (S*g)) / 10).
TEST(RatioText, AgreesWithRationalComputation) {
    const std::uint8_t codes[] = {0x30, 0x31, 0x32, 0x33, 0x40, 0x41, 0x00, 0x45};
    const std::uint8_t ratings[] = {1, 5, 10, 15, 50, 255};
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int i = 0; i < 200000; ++i) {
        const unsigned p = 1 + next() % 9999, s = 1 + next() % 9999;
        const std::uint8_t pc = codes[next() % 8], sc = codes[next() % 8],
                           rated = ratings[next() % 6];
        const long long q = p * factor(pc) * rated / (s * factor(sc));
        long long n = q / 10;
        if (q % 10 > 5 || (q % 10 == 5 && n % 2 == 1)) ++n;
        const std::string ratedText = tenthsText(rated);
        ASSERT_EQ(
            ratioText(static_cast<std::uint8_t>(p >> 8), static_cast<std::uint8_t>(p), pc,
                      static_cast<std::uint8_t>(s >> 8), static_cast<std::uint8_t>(s), sc, rated),
            std::to_string(n) + "/" + ratedText + "A");
    }
}

TEST(NumberText, TenthsAndEvenRounding) {
    const std::pair<unsigned, const char*> tenths[] = {
        {0, "0"}, {5, "0.5"}, {10, "1"}, {15, "1.5"}, {50, "5"}, {255, "25.5"}, {127, "12.7"}};
    for (const auto& [n, text] : tenths) EXPECT_EQ(tenthsText(n), text) << n;
    const std::pair<long long, long long> rounding[] = {
        {6005, 600}, {6015, 602}, {6004, 600}, {6006, 601}, {5, 0}, {15, 2}, {0, 0}};
    for (const auto& [q, n] : rounding) EXPECT_EQ(roundTenthsToEven(q), n) << q;
}

TEST(ScaledCount, FactorsOfTheRangeCodes) {
    const std::tuple<unsigned, std::uint8_t, const char*> cases[] = {
        {9999, 0x30, "999900000"}, {1200, 0x31, "12000000"}, {1, 0x32, "1000"},
        {1000, 0x33, "100000"},    {500, 0x40, "50000"},     {7, 0x41, "70"},
        {42, 0x42, "42"},          {42, 0x00, "42"},
    };
    for (const auto& [count, code, text] : cases)
        EXPECT_EQ(scaledCount(count, code), text) << count << " at code " << std::hex << int(code);
}

TEST(FillText, ZerosBlanksAndLetters) {
    EXPECT_EQ(zeroFill(0), "");
    EXPECT_EQ(zeroFill(1), "0");
    EXPECT_EQ(zeroFill(4), "0000");
    EXPECT_EQ(zeroFill(255), std::string(255, '0'));
    EXPECT_EQ(blankFill(0), " ");
    EXPECT_EQ(blankFill(1), " ");
    EXPECT_EQ(blankFill(10), std::string(10, ' '));
    EXPECT_EQ(blankFill(255), std::string(255, ' '));
    const std::pair<std::int16_t, const char*> letters[] = {
        {0, "R"}, {1, "S"}, {2, "T"}, {3, "- -"}, {-1, "- -"}, {15, "- -"}, {32767, "- -"}};
    for (const auto& [channel, letter] : letters)
        EXPECT_EQ(channelLetter(channel), letter) << "channel " << channel;
}

}  // namespace
}  // namespace travenor
