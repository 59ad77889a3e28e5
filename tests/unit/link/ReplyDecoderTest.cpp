#include <gtest/gtest.h>

#include "format/CurrentText.h"
#include "format/RatioText.h"
#include "link/LinkSupervisor.h"
#include "link/LiveReadings.h"
#include "link/RecordSink.h"
#include "link/ReplyDecoder.h"
#include "link/SerialLink.h"
#include "support/FakePort.h"
#include "support/FakeViews.h"
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

struct RecordingLive : LiveReadings {
    std::vector<DecodedReply> readings;
    void showLiveReading(const DecodedReply& reading) override { readings.push_back(reading); }
};

struct ReplyDecoderTest : ::testing::Test {
    test::FakePort port;
    test::FakeViews views;
    SerialLink link{port, views};
    LinkSupervisor supervisor{link, views, [] { return false; }};
    RecordingLive live;
    RecordingSink sink;
    ReplyDecoder decoder{link, supervisor, views, live, sink};

    void loseLink() {
        for (int i = 0; i <= LinkSupervisor::TOLERATED_SILENT_TICKS; ++i)
            supervisor.discoveryTick();
    }
};

TEST_F(ReplyDecoderTest, EveryValidFrameMarksTheLinkAlive) {
    for (std::uint8_t kind = 0; kind < 16; ++kind) {
        loseLink();
        ASSERT_FALSE(supervisor.isLinked());
        decoder.decodeReply(test::frameOfKind(kind, kind % 3));
        EXPECT_TRUE(supervisor.isLinked()) << int(kind);
        EXPECT_EQ(supervisor.silentTicks(), 0);
    }
}

TEST_F(ReplyDecoderTest, LiveFramesGoToTheLiveReadingsWhole) {
    decoder.decodeReply(test::exampleLiveFrame());
    decoder.decodeReply(test::recordFrame(7, 2));
    ASSERT_EQ(live.readings.size(), 1u);
    const DecodedReply& r = live.readings.front();
    EXPECT_EQ(currentText(r.primary), "120.0A");
    EXPECT_EQ(currentText(r.secondary[0]), "1.000A");
    EXPECT_EQ(ratioErrorText(r.error), "+0.5%");
    EXPECT_EQ(r.channel, 0);
    EXPECT_EQ(r.setPrimary, 600);
    EXPECT_EQ(r.rated, 50);
    EXPECT_TRUE(sink.calls == std::vector<std::string>{"record 7"});
}

TEST_F(ReplyDecoderTest, PortFoundReopensThatPort) {
    decoder.decodeReply(test::portFoundFrame(3));
    EXPECT_EQ(views.port, "3");
    EXPECT_TRUE(port.openNow);
    EXPECT_EQ(port.openNumber, 3);
}

TEST_F(ReplyDecoderTest, DownloadKindsGoToTheRecordSink) {
    decoder.decodeReply(test::countFrame(513));
    decoder.decodeReply(test::recordFrame(7, 2));
    decoder.decodeReply(test::frameOfKind(5));
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"count 513", "record 7", "end"}));
    const Record& r = sink.records.at(0).second;
    EXPECT_EQ(r.texts(), (RecordTexts{"120.0A", "1.000A", "0.000A", "0.000A", "+0.5%", "0/5A", 2}));
}

TEST_F(ReplyDecoderTest, ReceiveDecodesOnlyValidFrames) {
    link.openPort();
    auto bad = test::bytesOf(test::exampleLiveFrame());
    bad[19] ^= 1;
    port.receive(bad);
    decoder.receive();
    EXPECT_FALSE(supervisor.isLinked());
    port.receive(test::bytesOf(test::exampleLiveFrame()));
    decoder.receive();
    EXPECT_TRUE(supervisor.isLinked());
    ASSERT_EQ(live.readings.size(), 1u);
    EXPECT_EQ(currentText(live.readings.front().primary), "120.0A");
}

}  // namespace
}  // namespace travenor
