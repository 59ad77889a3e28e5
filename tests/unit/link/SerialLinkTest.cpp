#include <gtest/gtest.h>

#include "link/SerialLink.h"
#include "support/FakePort.h"
#include "support/FakeViews.h"
#include "support/Frames.h"

namespace travenor {
namespace {

using test::bytesOf;

struct SerialLinkTest : ::testing::Test {
    test::FakePort port;
    test::FakeViews views;
    SerialLink link{port, views};
};

TEST_F(SerialLinkTest, OpenPortUsesTheBoxNumberAndLineSettings) {
    views.port = "7";
    link.openPort();
    ASSERT_TRUE(port.openNow);
    EXPECT_EQ(port.openNumber, 7);
    EXPECT_EQ(port.lastSettings.baudRate, 38400);
    EXPECT_EQ(port.lastSettings.parity, 'n');
    EXPECT_EQ(port.lastSettings.dataBits, 8);
    EXPECT_EQ(port.lastSettings.stopBits, 1);
    EXPECT_EQ(port.threshold, 20u);

    // On an open port: closes first, then opens the number now in the box.
    views.port = "9";
    link.openPort();
    EXPECT_EQ(port.closes, 1);
    EXPECT_EQ(port.openNumber, 9);
}

TEST_F(SerialLinkTest, MissingPortStaysClosedAndTextThatIsNoNumberKeepsThePort) {
    port.existing = {2};
    views.port = "5";
    link.openPort();
    EXPECT_FALSE(port.openNow);
    EXPECT_FALSE(link.portOpen());

    views.port = "2";
    link.openPort();
    views.port = "abc";
    link.openPort();
    EXPECT_TRUE(port.openNow);
    EXPECT_EQ(port.opens.back(), 2);
}

TEST(PortNumberOf, Texts) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"1", 1},
        {"16", 16},
        {" 3 ", 3},
        {"+4", 4},
        {"-2", -2},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"3a", std::nullopt},
        {"3.5", std::nullopt},
        {"99999999999", std::nullopt},
        {"   ", std::nullopt},
    };
    for (const auto& [text, number] : cases) EXPECT_EQ(portNumberOf(text), number) << text;
}

TEST_F(SerialLinkTest, SendCommandWritesOneFrameAndEmptiesTheReceiveSide) {
    link.openPort();
    port.receive({1, 2, 3, 4, 5, 6, 7});  // half a reply
    link.sendCommand(30000);
    EXPECT_EQ(port.takeWritten(), test::command({0x64, 0x65, 0x75, 0x30}));
    EXPECT_EQ(port.bytesWaiting(), 0u);
    EXPECT_FALSE(link.isSending());
}

TEST_F(SerialLinkTest, SendCommandOnClosedPortSendsNothing) {
    link.sendCommand(40000);
    EXPECT_TRUE(port.written.empty());
    EXPECT_FALSE(link.isSending());
}

TEST_F(SerialLinkTest, SendEnteredWhileWritingIsDropped) {
    link.openPort();
    int reentries = 0;
    port.onWrite = [&] {
        if (reentries++ == 0) link.sendCommand(1);
    };
    link.sendCommand(40000);
    EXPECT_EQ(port.takeWritten(), test::command({0x64, 0x65, 0x9C, 0x40}));
    EXPECT_FALSE(link.isSending());
}

TEST_F(SerialLinkTest, ReceiveStepTakesExactlyTwentyValidBytes) {
    link.openPort();
    const auto frame = bytesOf(test::exampleLiveFrame());

    port.receive(std::vector<std::uint8_t>(frame.begin(), frame.begin() + 19));
    EXPECT_FALSE(link.receiveStep());
    EXPECT_EQ(port.bytesWaiting(), 19u);

    port.received.clear();
    port.receive(frame);
    auto got = link.receiveStep();
    ASSERT_TRUE(got);
    EXPECT_EQ(got->bytes, test::exampleLiveFrame().bytes);
    EXPECT_EQ(port.bytesWaiting(), 0u);

    port.receive(frame);
    port.receive(bytesOf(test::countFrame(3)));
    got = link.receiveStep();
    ASSERT_TRUE(got);
    EXPECT_EQ(got->kindValue(), 2);
    EXPECT_EQ(port.bytesWaiting(), 20u);  // the second frame waits for the next notification

    port.received.clear();
    auto bad = frame;
    bad[19] = 0x7D;
    port.receive(bad);
    EXPECT_FALSE(link.receiveStep());
    EXPECT_EQ(port.bytesWaiting(), 0u);  // dropped without trace
}

}  // namespace
}  // namespace travenor
