#include <gtest/gtest.h>

#include "link/DecodedReply.h"
#include "shell/LivePresenter.h"
#include "support/FakeViews.h"
#include "support/Frames.h"

namespace travenor {
namespace {

struct LivePresenterTest : ::testing::Test {
    test::FakeViews views;
    LivePresenter presenter{views};

    void present(const ReplyFrame& frame) { presenter.showLiveReading(DecodedReply::from(frame)); }
};

TEST_F(LivePresenterTest, ExampleLiveFrameFillsPhaseR) {
    views.highVoltageBatteryLow = true;
    views.lowVoltageBatteryLow = true;
    present(test::exampleLiveFrame());
    EXPECT_EQ(views.primary[0], "120.0A");
    EXPECT_EQ(views.primary[1], "- - - -");
    EXPECT_EQ(views.primary[2], "- - - -");
    EXPECT_EQ(views.secondary[0], "1.000A");
    EXPECT_EQ(views.secondary[1], "0.000A");
    EXPECT_EQ(views.secondary[2], "0.000A");
    EXPECT_EQ(views.ratioError[0], "+0.5%");
    EXPECT_EQ(views.ratioError[1], "0.0%");
    EXPECT_EQ(views.ratioError[2], "0.0%");
    EXPECT_EQ(views.setRatio, "Set:600/5A");
    EXPECT_EQ(views.measuredRatio, "Rat:600/5A");
    EXPECT_FALSE(views.highVoltageBatteryLow);
    EXPECT_FALSE(views.lowVoltageBatteryLow);
}

TEST_F(LivePresenterTest, ChannelPicksThePhaseThatShowsPrimaryAndError) {
    for (int channel = 0; channel < 3; ++channel) {
        ReplyFrame f = test::exampleLiveFrame();
        f.setChannelAndKind(channel, 2);
        // The measured phase's own secondary is the second reading of the ratio.
        f.bytes[3 + 3 * channel] = 0x03;
        f.bytes[4 + 3 * channel] = 0xE8;
        f.seal();
        present(f);
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(views.primary[c], c == channel ? "120.0A" : "- - - -") << channel;
            EXPECT_EQ(views.ratioError[c], c == channel ? "+0.5%" : "0.0%") << channel;
        }
        EXPECT_EQ(views.measuredRatio, "Rat:600/5A");
    }
}

TEST_F(LivePresenterTest, ErrorPrimaryShowsNoPhaseAndKeepsTheRatioErrors) {
    views.ratioError = {"kept", "kept", "kept"};
    ReplyFrame f = test::exampleLiveFrame();
    f.bytes[0] = 0x4E;
    f.bytes[1] = 0x20;
    f.seal();
    present(f);
    for (const auto& text : views.primary) EXPECT_EQ(text, "- - - -");
    for (const auto& text : views.ratioError) EXPECT_EQ(text, "kept");
    EXPECT_EQ(views.measuredRatio, "Rat:---/5A");
}

TEST_F(LivePresenterTest, ChannelsBeyondTheThreePhasesReadNothingOutsideTheFrame) {
    for (int channel = 3; channel < 16; ++channel) {
        ReplyFrame f = test::exampleLiveFrame();
        f.setChannelAndKind(channel, 2);
        f.seal();
        present(f);
        EXPECT_EQ(views.measuredRatio, "Rat:---/5A") << channel;
        EXPECT_EQ(views.primary[0], "- - - -");
    }
}

TEST_F(LivePresenterTest, BatteryWarningsFollowBits7And6) {
    const std::tuple<std::uint8_t, bool, bool> cases[] = {{0x80, true, false},
                                                          {0x40, false, true},
                                                          {0xC0, true, true},
                                                          {0x3F, false, false},
                                                          {0x00, false, false}};
    for (const auto& [byte15, low, high] : cases) {
        ReplyFrame f = test::exampleLiveFrame();
        f.bytes[15] = byte15;
        f.seal();
        present(f);
        EXPECT_EQ(views.lowVoltageBatteryLow, low) << int(byte15);
        EXPECT_EQ(views.highVoltageBatteryLow, high) << int(byte15);
    }
}

TEST_F(LivePresenterTest, SetRatioTexts) {
    const std::tuple<std::uint8_t, std::uint8_t, std::uint8_t, const char*> cases[] = {
        {0x02, 0x58, 0x32, "Set:600/5A"},
        {0x00, 0x00, 0x00, "Set:0/0A"},
        {0x00, 0x64, 15, "Set:100/1.5A"},
        {0x00, 0x64, 5, "Set:100/0.5A"},
        {0xFF, 0xFF, 10, "Set:16383/1A"}};
    for (const auto& [b15, b16, b17, text] : cases) {
        ReplyFrame f = test::exampleLiveFrame();
        f.bytes[15] = b15;
        f.bytes[16] = b16;
        f.bytes[17] = b17;
        f.seal();
        present(f);
        EXPECT_EQ(views.setRatio, text) << text;
    }
}

TEST_F(LivePresenterTest, NoInstrumentBlanksTheReadingsAndRatiosButNotTheErrors) {
    present(test::exampleLiveFrame());
    presenter.showNoInstrument();
    for (const auto& text : views.primary) EXPECT_EQ(text, "- - - -");
    for (const auto& text : views.secondary) EXPECT_EQ(text, "- - - -");
    EXPECT_EQ(views.ratioError[0], "+0.5%");
    EXPECT_EQ(views.setRatio, "Set:---/-.-A");
    EXPECT_EQ(views.measuredRatio, "Rat:---/-.-A");
}

}  // namespace
}  // namespace travenor
