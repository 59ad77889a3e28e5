#include <gtest/gtest.h>

#include "records/Printing.h"

namespace travenor {
namespace {

// The range entries of the print dialog: decimal numbers with blanks around,
// halves to the even neighbour, nothing else and nothing beyond 16 bits.
TEST(RangeNumber, ConvertsDecimalEntriesAndRejectsEverythingElse) {
    const struct {
        const char* text;
        std::optional<std::int16_t> number;
    } cases[] = {
        {" 12 ", 12},     {"1.5", 2},         {"2.5", 2},         {"3.5", 4},
        {"2.50001", 3},   {"2.4999", 2},      {"-3", -3},         {"-2.5", -2},
        {"-1.5", -2},     {"+7", 7},          {"0", 0},           {"-0", 0},
        {"007", 7},       {"1.", 1},          {".5", 0},          {"\t9\t", 9},
        {"32767", 32767}, {"32767.4", 32767}, {"-32768", -32768}, {"-32768.5", -32768},
        {"32767.5", {}},  {"32768", {}},      {"-32769", {}},     {"99999999999999", {}},
        {"", {}},         {"   ", {}},        {"abc", {}},        {"1e3x", {}},
        {"1e3", {}},      {"1,5", {}},        {"1 2", {}},        {"--1", {}},
        {"-", {}},        {".", {}},          {"0x10", {}},       {"1.2.3", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(rangeNumber(c.text), c.number) << '"' << c.text << '"';
}

}  // namespace
}  // namespace travenor
