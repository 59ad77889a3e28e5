#include <gtest/gtest.h>

#include "link/LinkSupervisor.h"
#include "link/RecordSink.h"
#include "link/ReplyDecoder.h"
#include "link/SerialLink.h"
#include "support/FakeControls.h"
#include "support/FakePort.h"
#include "support/Frames.h"

namespace travenor {
namespace {

struct RecordingSink : RecordSink {
    std::vector<std::string> calls;
    std::vector<std::pair<std::int32_t, Record>> records;
    void acceptRecordCount(std::int32_t count) override {
        calls.push_back("count " + std::to_string(count));
    }
    void acceptRecord(std::int32_t number, const Record& record) override {
        calls.push_back("record " + std::to_string(number));
        records.emplace_back(number, record);
    }
    void endOfRecords() override { calls.push_back("end"); }
};

struct ReplyDecoderTest : ::testing::Test {
    test::FakePort port;
    test::FakeControls controls;
    SerialLink link{port, controls};
    LinkSupervisor supervisor{link, controls, [] { return false; }};
    RecordingSink sink;
    ReplyDecoder decoder{link, supervisor, controls, sink};

    std::string t(const char* name) { return controls.text(name); }
};

TEST_F(ReplyDecoderTest, EveryValidFrameMarksTheLinkAlive) {
    for (std::uint8_t kind = 0; kind < 16; ++kind) {
        supervisor.linkUp = 0;
        supervisor.silentTicks = 25;
        decoder.decodeReply(test::frameOfKind(kind, kind % 3));
        EXPECT_EQ(supervisor.linkUp, 1) << int(kind);
        EXPECT_EQ(supervisor.silentTicks, 0);
    }
}

TEST_F(ReplyDecoderTest, ExampleLiveFrameFillsPhaseR) {
    controls.setVisible("Label15", true);
    controls.setVisible("Label16", true);
    decoder.decodeReply(test::exampleLiveFrame());
    EXPECT_EQ(t("Label8"), "120.0A");
    EXPECT_EQ(t("Label9"), "- - - -");
    EXPECT_EQ(t("Label10"), "- - - -");
    EXPECT_EQ(t("Label2"), "1.000A");
    EXPECT_EQ(t("Label4"), "0.000A");
    EXPECT_EQ(t("Label5"), "0.000A");
    EXPECT_EQ(t("Label13"), "+0.5%");
    EXPECT_EQ(t("Label19"), "0.0%");
    EXPECT_EQ(t("Label20"), "0.0%");
    EXPECT_EQ(t("Label14"), "Set:600/5A");
    EXPECT_EQ(t("Label17"), "Rat:600/5A");
    EXPECT_FALSE(controls.isVisible("Label15"));
    EXPECT_FALSE(controls.isVisible("Label16"));
}

TEST_F(ReplyDecoderTest, ChannelPicksThePrimaryAndErrorLabels) {
    const char* primaries[] = {"Label8", "Label9", "Label10"};
    const char* errors[] = {"Label13", "Label19", "Label20"};
    for (int channel = 0; channel < 3; ++channel) {
        ReplyFrame f = test::exampleLiveFrame();
        f.setChannelAndKind(channel, 2);
        // The measured phase's own secondary is the second reading of the ratio.
        f.bytes[3 + 3 * channel] = 0x03;
        f.bytes[4 + 3 * channel] = 0xE8;
        f.seal();
        decoder.decodeReply(f);
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(t(primaries[c]), c == channel ? "120.0A" : "- - - -") << channel;
            EXPECT_EQ(t(errors[c]), c == channel ? "+0.5%" : "0.0%") << channel;
        }
        EXPECT_EQ(t("Label17"), "Rat:600/5A");
    }
}

TEST_F(ReplyDecoderTest, ErrorPrimaryShowsNoPhaseAndKeepsTheErrorLabels) {
    for (const char* label : {"Label13", "Label19", "Label20"}) controls.setText(label, "kept");
    ReplyFrame f = test::exampleLiveFrame();
    f.bytes[0] = 0x4E;
    f.bytes[1] = 0x20;
    f.seal();
    decoder.decodeReply(f);
    for (const char* label : {"Label8", "Label9", "Label10"}) EXPECT_EQ(t(label), "- - - -");
    for (const char* label : {"Label13", "Label19", "Label20"}) EXPECT_EQ(t(label), "kept");
    EXPECT_EQ(t("Label17"), "Rat:---/5A");
}

TEST_F(ReplyDecoderTest, ChannelsBeyondTheThreePhasesReadNothingOutsideTheFrame) {
    for (int channel = 3; channel < 16; ++channel) {
        ReplyFrame f = test::exampleLiveFrame();
        f.setChannelAndKind(channel, 2);
        f.seal();
        decoder.decodeReply(f);
        EXPECT_EQ(t("Label17"), "Rat:---/5A") << channel;
        EXPECT_EQ(t("Label8"), "- - - -");
    }
}

TEST_F(ReplyDecoderTest, BatteryWarningsFollowBits7And6) {
    const std::tuple<std::uint8_t, bool, bool> cases[] = {{0x80, true, false},
                                                          {0x40, false, true},
                                                          {0xC0, true, true},
                                                          {0x3F, false, false},
                                                          {0x00, false, false}};
    for (const auto& [byte15, low, high] : cases) {
        ReplyFrame f = test::exampleLiveFrame();
        f.bytes[15] = byte15;
        f.seal();
        decoder.decodeReply(f);
        EXPECT_EQ(controls.isVisible("Label16"), low) << int(byte15);
        EXPECT_EQ(controls.isVisible("Label15"), high) << int(byte15);
    }
}

TEST_F(ReplyDecoderTest, SetRatioTexts) {
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
        decoder.decodeReply(f);
        EXPECT_EQ(t("Label14"), text);
    }
}

TEST_F(ReplyDecoderTest, PortFoundReopensThatPort) {
    decoder.decodeReply(test::portFoundFrame(3));
    EXPECT_EQ(t("Combo1"), "3");
    EXPECT_TRUE(port.openNow);
    EXPECT_EQ(port.openNumber, 3);
}

TEST_F(ReplyDecoderTest, DownloadKindsGoToTheRecordSink) {
    decoder.decodeReply(test::countFrame(513));
    decoder.decodeReply(test::recordFrame(7, 2));
    decoder.decodeReply(test::frameOfKind(5));
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"count 513", "record 7", "end"}));
    const Record& r = sink.records.at(0).second;
    EXPECT_EQ(r, (Record{"120.0A", "1.000A", "0.000A", "0.000A", "+0.5%", "0/5A", 2}));
}

TEST_F(ReplyDecoderTest, ReceiveDecodesOnlyValidFrames) {
    link.openPort();
    auto bad = test::bytesOf(test::exampleLiveFrame());
    bad[19] ^= 1;
    port.receive(bad);
    decoder.receive();
    EXPECT_EQ(supervisor.linkUp, 0);
    port.receive(test::bytesOf(test::exampleLiveFrame()));
    decoder.receive();
    EXPECT_EQ(supervisor.linkUp, 1);
    EXPECT_EQ(t("Label8"), "120.0A");
}

}  // namespace
}  // namespace travenor
