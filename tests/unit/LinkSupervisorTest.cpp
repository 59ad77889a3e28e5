#include <gtest/gtest.h>

#include "link/LinkSupervisor.h"
#include "link/SerialLink.h"
#include "support/FakeControls.h"
#include "support/FakePort.h"
#include "support/Frames.h"

namespace travenor {
namespace {

struct LinkSupervisorTest : ::testing::Test {
    test::FakePort port;
    test::FakeControls controls;
    SerialLink link{port, controls};
    bool downloading = false;
    LinkSupervisor supervisor{link, controls, [this] { return downloading; }};
};

TEST_F(LinkSupervisorTest, ScanMovesToTheNextPortAndProbesIt) {
    const std::tuple<const char*, const char*, std::uint8_t> cases[] = {
        {"16", "1", 0x61},  {"1", "2", 0x62},   {"5", "6", 0x66},
        {"15", "16", 0x70}, {"abc", "1", 0x61}, {"", "1", 0x61},
        {"40", "1", 0x61},  {"0", "1", 0x61},   {"-5", "1", 0x61},
    };
    for (const auto& [before, after, probe] : cases) {
        controls.setText("Combo1", before);
        supervisor.discoveryTick();
        EXPECT_EQ(controls.text("Combo1"), after) << before;
        EXPECT_EQ(port.openNumber, std::stoi(after));
        EXPECT_EQ(port.takeWritten(), test::command({0x64, 0x65, 0xEA, probe})) << before;
    }
}

TEST_F(LinkSupervisorTest, LinkedTickOnlyCounts) {
    controls.setText("Combo1", "4");
    link.openPort();
    supervisor.markAlive();
    const auto opens = port.opens.size();
    supervisor.discoveryTick();
    EXPECT_EQ(controls.text("Combo1"), "4");
    EXPECT_EQ(port.opens.size(), opens);
    EXPECT_TRUE(port.written.empty());
    EXPECT_EQ(supervisor.silentTicks, 1);
}

TEST_F(LinkSupervisorTest, WatchdogDeclaresLossOnThe31stSilentTickAndCapsAt1300) {
    supervisor.markAlive();
    for (int i = 0; i < 30; ++i) supervisor.discoveryTick();
    EXPECT_EQ(supervisor.linkUp, 1);
    supervisor.discoveryTick();
    EXPECT_EQ(supervisor.linkUp, 0);
    for (int i = 0; i < 5000; ++i) supervisor.discoveryTick();
    EXPECT_EQ(supervisor.silentTicks, 1300);
    supervisor.markAlive();
    EXPECT_EQ(supervisor.silentTicks, 0);
    EXPECT_EQ(supervisor.linkUp, 1);
}

TEST_F(LinkSupervisorTest, AfterLossTheScanGoesOnFromThePortAfterTheInstrument) {
    controls.setText("Combo1", "5");
    link.openPort();
    supervisor.markAlive();
    for (int i = 0; i < 31; ++i) supervisor.discoveryTick();
    port.written.clear();
    supervisor.discoveryTick();
    EXPECT_EQ(controls.text("Combo1"), "6");
    EXPECT_EQ(port.takeWritten(), test::command({0x64, 0x65, 0xEA, 0x66}));
}

TEST_F(LinkSupervisorTest, PollOnlyWhileLinkedAndNotDownloading) {
    link.openPort();
    const std::tuple<bool, bool, bool> cases[] = {
        {true, false, true}, {true, true, false}, {false, false, false}, {false, true, false}};
    for (const auto& [linked, busy, sends] : cases) {
        supervisor.linkUp = linked ? 1 : 0;
        downloading = busy;
        supervisor.pollTick();
        EXPECT_EQ(port.takeWritten(),
                  sends ? test::command({0x64, 0x65, 0x75, 0x30}) : std::vector<std::uint8_t>{});
    }
}

}  // namespace
}  // namespace travenor
