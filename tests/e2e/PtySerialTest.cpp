#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <memory>

#include "link/SerialLink.h"
#include "platform/QtSerialPort.h"
#include "support/FakeViews.h"
#include "support/Frames.h"
#include "support/Wait.h"

namespace travenor {
namespace {

// A pseudo-terminal whose far end (the master) the test holds.
struct PtyTest : ::testing::Test {
    int master = -1;
    std::string device;
    std::unique_ptr<QtSerialPort> port;
    test::FakeViews views;
    std::unique_ptr<SerialLink> link;

    void SetUp() override {
        int slave = -1;
        char name[256] = {};
        ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
        ::close(slave);
        device = name;
        port = std::make_unique<QtSerialPort>(
            std::make_unique<FixedPortDirectory>(std::map<int, std::string>{{5, device}}));
        link = std::make_unique<SerialLink>(*port, views);
        views.port = "5";
        link->openPort();
        ASSERT_TRUE(port->isOpen());
    }
    void TearDown() override {
        port.reset();
        if (master >= 0) ::close(master);
    }

    std::vector<std::uint8_t> readFarEnd(std::size_t count, int timeoutMs = 2000) {
        std::vector<std::uint8_t> bytes;
        test::waitFor(
            [&] {
                pollfd fd{master, POLLIN, 0};
                if (::poll(&fd, 1, 0) > 0) {
                    std::uint8_t buffer[64];
                    const ssize_t n = ::read(master, buffer, sizeof buffer);
                    if (n > 0) bytes.insert(bytes.end(), buffer, buffer + n);
                }
                return bytes.size() >= count;
            },
            timeoutMs);
        return bytes;
    }
};

TEST_F(PtyTest, FramesArriveByteExactAtTheFarEnd) {
    const std::pair<std::int32_t, std::vector<std::uint8_t>> cases[] = {
        {30000, {0x64, 0x65, 0x75, 0x30}},
        {40000, {0x64, 0x65, 0x9C, 0x40}},
        {60016, {0x64, 0x65, 0xEA, 0x70}},
        {1, {0x64, 0x65, 0x00, 0x01}},
        {256, {0x64, 0x65, 0x01, 0x00}}};
    for (const auto& [value, bytes] : cases) {
        link->sendCommand(value);
        EXPECT_EQ(readFarEnd(4), bytes) << value;
    }
}

TEST_F(PtyTest, ReplyReachesTheReceiveStepAndTheRestWaits) {
    std::vector<ReplyFrame> frames;
    port->setReceiveHandler([&] {
        if (auto f = link->receiveStep()) frames.push_back(*f);
    });
    const auto reply = test::bytesOf(test::exampleLiveFrame());
    // In two pieces: nothing happens until all 20 bytes wait.
    ASSERT_EQ(::write(master, reply.data(), 12), 12);
    test::runFor(100);
    EXPECT_TRUE(frames.empty());
    ASSERT_EQ(::write(master, reply.data() + 12, 8), 8);
    ASSERT_TRUE(test::waitFor([&] { return !frames.empty(); }, 2000));
    EXPECT_EQ(frames[0].bytes, test::exampleLiveFrame().bytes);
}

TEST_F(PtyTest, StaleInputIsThrownAwayBeforeARequest) {
    const auto reply = test::bytesOf(test::exampleLiveFrame());
    ASSERT_EQ(::write(master, reply.data(), 7), 7);
    test::runFor(50);
    link->sendCommand(30000);
    EXPECT_EQ(port->bytesWaiting(), 0u);
}

TEST_F(PtyTest, HangUpClosesThePortWithoutSpinning) {
    ::close(master);
    master = -1;
    ASSERT_TRUE(test::waitFor([&] { return !port->isOpen(); }, 3000));
    const double before = test::processCpuSeconds();
    test::runFor(1000);
    const double used = test::processCpuSeconds() - before;
    EXPECT_LT(used, 0.2) << "CPU seconds in one second after the hang-up";
    link->sendCommand(30000);  // writing to the dead line does nothing
    EXPECT_FALSE(link->isSending());
}

TEST_F(PtyTest, APortHeldByAnotherIsNotTakenOver) {
    QtSerialPort other(
        std::make_unique<FixedPortDirectory>(std::map<int, std::string>{{5, device}}));
    EXPECT_FALSE(other.open(5, LineSettings{}));
    EXPECT_TRUE(port->isOpen());
    link->sendCommand(30000);
    EXPECT_EQ(readFarEnd(4), test::command({0x64, 0x65, 0x75, 0x30}));
}

TEST(QtSerialPortTest, NumbersWithoutADeviceFailQuietly) {
    QtSerialPort port(std::make_unique<FixedPortDirectory>(
        std::map<int, std::string>{{2, "/dev/nonexistent-tty"}}));
    EXPECT_FALSE(port.open(1, LineSettings{}));
    EXPECT_FALSE(port.open(2, LineSettings{}));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.deviceName(2), "/dev/nonexistent-tty");
    EXPECT_EQ(port.deviceName(3), "");
}

}  // namespace
}  // namespace travenor
