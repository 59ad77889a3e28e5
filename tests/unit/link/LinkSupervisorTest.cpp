#include <gtest/gtest.h>

#include "link/LinkSupervisor.h"
#include "link/SerialLink.h"
#include "support/FakePort.h"
#include "support/FakeViews.h"
#include "support/Frames.h"

namespace travenor {
namespace {

struct LinkSupervisorTest : ::testing::Test {
    test::FakePort port;
    test::FakeViews views;
    SerialLink link{port, views};
    bool downloading = false;
    LinkSupervisor supervisor{link, views, [this] { return downloading; }};

    // Silence long enough for the link to count as lost.
    void loseLink() {
        for (int i = 0; i <= LinkSupervisor::TOLERATED_SILENT_TICKS; ++i)
            supervisor.discoveryTick();
        port.written.clear();
    }
};

TEST_F(LinkSupervisorTest, ScanMovesToTheNextPortAndProbesIt) {
    const std::tuple<const char*, const char*, std::uint8_t> cases[] = {
        {"16", "1", 0x61},  {"1", "2", 0x62},   {"5", "6", 0x66},
        {"15", "16", 0x70}, {"abc", "1", 0x61}, {"", "1", 0x61},
        {"40", "1", 0x61},  {"0", "1", 0x61},   {"-5", "1", 0x61},
    };
    for (const auto& [before, after, probe] : cases) {
        views.port = before;
        supervisor.discoveryTick();
        EXPECT_EQ(views.port, after) << before;
        EXPECT_EQ(port.openNumber, std::stoi(after)) << before;
        EXPECT_EQ(port.takeWritten(), test::command({0x64, 0x65, 0xEA, probe})) << before;
    }
}

TEST_F(LinkSupervisorTest, LinkedTickOnlyCounts) {
    views.port = "4";
    link.openPort();
    supervisor.markAlive();
    const auto opens = port.opens.size();
    supervisor.discoveryTick();
    EXPECT_EQ(views.port, "4");
    EXPECT_EQ(port.opens.size(), opens);
    EXPECT_TRUE(port.written.empty());
    EXPECT_EQ(supervisor.silentTicks(), 1);
}

TEST_F(LinkSupervisorTest, WatchdogDeclaresLossOnThe31stSilentTickAndCapsAt1300) {
    supervisor.markAlive();
    for (int i = 0; i < 30; ++i) supervisor.discoveryTick();
    EXPECT_TRUE(supervisor.isLinked());
    supervisor.discoveryTick();
    EXPECT_FALSE(supervisor.isLinked());
    for (int i = 0; i < 5000; ++i) supervisor.discoveryTick();
    EXPECT_EQ(supervisor.silentTicks(), 1300);
    supervisor.markAlive();
    EXPECT_EQ(supervisor.silentTicks(), 0);
    EXPECT_TRUE(supervisor.isLinked());
}

TEST_F(LinkSupervisorTest, AfterLossTheScanGoesOnFromThePortAfterTheInstrument) {
    views.port = "5";
    link.openPort();
    supervisor.markAlive();
    for (int i = 0; i < 31; ++i) supervisor.discoveryTick();
    port.written.clear();
    supervisor.discoveryTick();
    EXPECT_EQ(views.port, "6");
    EXPECT_EQ(port.takeWritten(), test::command({0x64, 0x65, 0xEA, 0x66}));
}

TEST_F(LinkSupervisorTest, PollOnlyWhileLinkedAndNotDownloading) {
    link.openPort();
    const std::tuple<bool, bool, bool> cases[] = {
        {true, false, true}, {true, true, false}, {false, false, false}, {false, true, false}};
    for (const auto& [linked, busy, sends] : cases) {
        if (linked) {
            supervisor.markAlive();
        } else {
            loseLink();
        }
        downloading = busy;
        supervisor.pollTick();
        EXPECT_EQ(port.takeWritten(),
                  sends ? test::command({0x64, 0x65, 0x75, 0x30}) : std::vector<std::uint8_t>{})
            << (linked ? "linked" : "unlinked") << (busy ? ", downloading" : "");
    }
}

}  // namespace
}  // namespace travenor
