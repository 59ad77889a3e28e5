#include <gtest/gtest.h>

#include "link/CommandFrame.h"
#include "link/ReplyFrame.h"
#include "support/Frames.h"

namespace travenor {
namespace {

TEST(CommandFrame, BytesOnTheWire) {
    const std::pair<std::int32_t, std::array<std::uint8_t, 4>> cases[] = {
        {30000, {0x64, 0x65, 0x75, 0x30}}, {40000, {0x64, 0x65, 0x9C, 0x40}},
        {60016, {0x64, 0x65, 0xEA, 0x70}}, {60001, {0x64, 0x65, 0xEA, 0x61}},
        {1, {0x64, 0x65, 0x00, 0x01}},     {256, {0x64, 0x65, 0x01, 0x00}},
        {0, {0x64, 0x65, 0x00, 0x00}},     {65535, {0x64, 0x65, 0xFF, 0xFF}},
    };
    for (const auto& [value, bytes] : cases) {
        const CommandFrame frame = CommandFrame::forValue(value);
        EXPECT_EQ(frame.bytes, bytes) << value;
        EXPECT_EQ(frame.value(), value) << value;
        EXPECT_TRUE(frame.hasLead()) << value;
    }
}

TEST(ReplyFrame, ChecksumRule) {
    ReplyFrame live = test::exampleLiveFrame();
    EXPECT_TRUE(live.isValid());
    EXPECT_EQ(ReplyFrame::checksumOf(std::span(live.bytes).first(19)), 0x7C);
    live.bytes[19] = 0x7D;
    EXPECT_FALSE(live.isValid());

    ReplyFrame full;
    full.bytes.fill(0xFF);
    full.bytes[18] = 0x02;
    full.bytes[19] = 0xF0;
    EXPECT_TRUE(full.isValid());
    full.bytes[19] = 0xEF;
    EXPECT_FALSE(full.isValid());

    const ReplyFrame zeros;
    EXPECT_TRUE(zeros.isValid());
    EXPECT_EQ(zeros.kindValue(), 0);
}

TEST(ReplyFrame, FieldsOfTheExample) {
    const ReplyFrame f = test::exampleLiveFrame();
    EXPECT_EQ(f.kindValue(), 2);
    EXPECT_EQ(f.channel(), 0);
    EXPECT_EQ(f.countAt(ReplyFrame::PRIMARY), 1200u);
    EXPECT_EQ(f.countAt(ReplyFrame::SECONDARY_R), 1000u);
    EXPECT_EQ(f.ratioError(), 0x85);
    EXPECT_EQ(f.setPrimary(), 600);
    EXPECT_EQ(f.ratedSecondary(), 50);
    EXPECT_FALSE(f.lowVoltageBatteryLow());
    EXPECT_FALSE(f.highVoltageBatteryLow());

    ReplyFrame flags;
    flags.bytes[15] = 0xFF;
    flags.bytes[16] = 0xFF;
    EXPECT_EQ(flags.setPrimary(), 16383);
    EXPECT_TRUE(flags.lowVoltageBatteryLow());
    EXPECT_TRUE(flags.highVoltageBatteryLow());
}

}  // namespace
}  // namespace travenor
