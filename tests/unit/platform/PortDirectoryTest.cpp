#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/SystemPortDirectory.h"
#include "support/Wait.h"

namespace travenor {
namespace {

TEST(PortDirectory, NamesAreOrderedAsAPersonCounts) {
    const struct {
        const char* a;
        const char* b;
        bool less;
    } cases[] = {
        {"ttyS2", "ttyS10", true},           {"ttyS10", "ttyS2", false}, {"ttyS3", "ttyS3", false},
        {"ttyS9", "ttyS31", true},           {"ttyS", "ttyS0", true},    {"ttyAMA0", "ttyS0", true},
        {"/dev/ttyS2", "/dev/ttyS10", true}, {"ttyS02", "ttyS3", true},  {"ttyS1a", "ttyS1b", true},
        {"ttyS100", "ttyS99", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SystemPortDirectory::naturalLess(c.a, c.b), c.less) << c.a << " < " << c.b;
}

// The directory learns of new devices through the event loop.
void ensureEventLoop() {
    static int argc = 1;
    static char name[] = "unit_tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
}

struct DeviceFolder : ::testing::Test {
    void SetUp() override { ensureEventLoop(); }

    QTemporaryDir dev;
    std::vector<std::string> onBoard;
    int listings = 0;

    void make(const char* name) {
        QFile file(dev.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    SystemPortDirectory directory() {
        return SystemPortDirectory(dev.path().toStdString(), [this] {
            ++listings;
            return onBoard;
        });
    }
    std::string at(const std::string& name) { return dev.path().toStdString() + "/" + name; }
};

// Adapters first (ttyUSB, then ttyACM, each by number, links too), then the
// on-board ports by number; nothing past the last device or outside 1 to 16.
TEST_F(DeviceFolder, NumbersFollowAdaptersThenOnBoardPorts) {
    for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyUSB0", "ttyACM1", "ttyACM0", "tty0",
                             "ttyUSBx", "console", "ttyUSB"})
        make(name);
    ASSERT_TRUE(QFile::link(dev.filePath("ttyUSB0"), dev.filePath("ttyUSB1")));
    onBoard = {"/dev/ttyS10", "/dev/ttyS2", "/dev/ttyS0", "/dev/ttyS3"};
    SystemPortDirectory ports = directory();
    const std::string expected[] = {"",
                                    at("ttyUSB0"),
                                    at("ttyUSB1"),
                                    at("ttyUSB2"),
                                    at("ttyUSB10"),
                                    at("ttyACM0"),
                                    at("ttyACM1"),
                                    "/dev/ttyS0",
                                    "/dev/ttyS2",
                                    "/dev/ttyS3",
                                    "/dev/ttyS10",
                                    "",
                                    "",
                                    "",
                                    "",
                                    "",
                                    "",
                                    ""};
    for (int number = 0; number <= 17; ++number)
        EXPECT_EQ(ports.deviceFor(number), expected[number]) << "port " << number;
}

TEST_F(DeviceFolder, ThirtyTwoOnBoardPortsKeepTheirCountingOrder) {
    for (int n = 31; n >= 0; --n) onBoard.push_back("/dev/ttyS" + std::to_string(n));
    SystemPortDirectory ports = directory();
    for (int number = 1; number <= 16; ++number)
        EXPECT_EQ(ports.deviceFor(number), "/dev/ttyS" + std::to_string(number - 1));
}

// An adapter plugged in (or pulled) between two passes of the scan is seen on
// the next one; while nothing changes the folder is not listed again.
TEST_F(DeviceFolder, AnAdapterPluggedInOrPulledIsSeenOnTheNextPass) {
    onBoard = {"/dev/ttyS0"};
    SystemPortDirectory ports = directory();
    for (int pass = 0; pass < 3; ++pass)
        for (int number = 1; number <= 16; ++number) ports.deviceFor(number);
    test::runFor(50);
    EXPECT_EQ(ports.deviceFor(1), "/dev/ttyS0");
    EXPECT_EQ(ports.deviceFor(2), "");
    EXPECT_EQ(listings, 1);
    make("ttyUSB0");
    EXPECT_TRUE(test::waitFor([&] { return ports.deviceFor(1) == at("ttyUSB0"); }, 2000));
    EXPECT_EQ(listings, 2);
    EXPECT_EQ(ports.deviceFor(2), "/dev/ttyS0");
    ASSERT_TRUE(QFile::remove(dev.filePath("ttyUSB0")));
    EXPECT_TRUE(test::waitFor([&] { return ports.deviceFor(1) == "/dev/ttyS0"; }, 2000));
    EXPECT_EQ(ports.deviceFor(2), "");
}

}  // namespace
}  // namespace travenor
