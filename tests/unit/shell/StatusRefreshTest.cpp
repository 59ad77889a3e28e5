#include <gtest/gtest.h>

#include "link/LinkSupervisor.h"
#include "shell/LivePresenter.h"
#include "shell/StatusRefresh.h"
#include "support/CoreOnFakes.h"
#include "support/Frames.h"

namespace travenor {
namespace {

constexpr int SCAN = StatusRefresh::SCANNING_PERIOD;
constexpr int LINKED = StatusRefresh::LINKED_PERIOD;
constexpr int DOWNLOAD = StatusRefresh::DOWNLOAD_PERIOD;

TEST(StatusPolicy, EveryStateAndPeriod) {
    const struct {
        const char* what;
        StatusState state;
        StatusShown shown;
    } rows[] = {
        {"scanning",
         {false, false, 100, 0},
         {"Unconnect", "Device Finding...", true, false, true, SCAN, 0}},
        {"scanning, already fast",
         {false, false, SCAN, 0},
         {"Unconnect", "Device Finding...", true, false, true, SCAN, 0}},
        {"just linked: the scan slows",
         {true, false, SCAN, 0},
         {"Connected", "", true, false, false, LINKED, 0}},
        {"linked, start-up period kept",
         {true, false, 100, 0},
         {"Connected", "", true, false, false, 100, 0}},
        {"download starts: its tick starts",
         {true, true, LINKED, 0},
         {"Connected", "Reading...", false, true, false, LINKED, DOWNLOAD}},
        {"download runs, another period kept",
         {true, true, LINKED, 30},
         {"Connected", "Reading...", false, true, false, LINKED, 30}},
        {"download over: its tick stops",
         {true, false, LINKED, DOWNLOAD},
         {"Connected", "", true, false, false, LINKED, 0}},
        {"download over, another period kept",
         {true, false, LINKED, 30},
         {"Connected", "", true, false, false, LINKED, 30}},
        {"unlinked while downloading",
         {false, true, LINKED, DOWNLOAD},
         {"Unconnect", "Reading...", false, true, true, SCAN, DOWNLOAD}},
    };
    for (const auto& row : rows) {
        const StatusShown shown = statusFor(row.state);
        EXPECT_STREQ(shown.connection, row.shown.connection) << row.what;
        EXPECT_STREQ(shown.activity, row.shown.activity) << row.what;
        EXPECT_EQ(shown.recordCommandsEnabled, row.shown.recordCommandsEnabled) << row.what;
        EXPECT_EQ(shown.progressEnabled, row.shown.progressEnabled) << row.what;
        EXPECT_EQ(shown.blankReadings, row.shown.blankReadings) << row.what;
        EXPECT_EQ(shown.discoveryPeriod, row.shown.discoveryPeriod) << row.what;
        EXPECT_EQ(shown.downloadPeriod, row.shown.downloadPeriod) << row.what;
    }
}

// The refresh on fakes: what it reads, what it writes, what it ends.
struct StatusRefreshTest : ::testing::Test, test::CoreOnFakes {
    void SetUp() override {
        views.periods = {{Tick::Discovery, 100}, {Tick::Download, 0}};
        status.loadMainWindow();
    }
};

TEST_F(StatusRefreshTest, LoadOpensThePortAndShowsTheEmptyTable) {
    EXPECT_TRUE(link.portOpen());
    EXPECT_EQ(port.openNumber, 1);
    EXPECT_EQ(views.progress, 0);
    EXPECT_EQ(views.table, RecordTable::tableText(store, 1, 3500));
    EXPECT_EQ(views.print, views.table);
}

TEST_F(StatusRefreshTest, TheBarShowsTheConnectionOfTheTickBefore) {
    views.port = "7";
    status.refreshStatus();
    EXPECT_EQ(views.sizeHolds, 1);
    EXPECT_EQ(views.statusBar, (std::array<std::string, 3>{"", StatusRefresh::MAKER, "12:34:56"}));
    EXPECT_EQ(views.connection, "Unconnect");
    EXPECT_EQ(views.portName, "COM7");
    EXPECT_EQ(views.portState, "ComOpen");
    EXPECT_EQ(views.activity, "Device Finding...");
    for (const auto& text : views.primary) EXPECT_EQ(text, "- - - -");
    EXPECT_EQ(views.setRatio, "Set:---/-.-A");
    EXPECT_EQ(views.period(Tick::Discovery), SCAN);

    supervisor.markAlive();
    status.refreshStatus();
    EXPECT_EQ(views.statusBar[0], "Unconnect");
    EXPECT_EQ(views.connection, "Connected");
    EXPECT_EQ(views.period(Tick::Discovery), LINKED);
    port.close();
    status.refreshStatus();
    EXPECT_EQ(views.statusBar[0], "Connected");
    EXPECT_EQ(views.portState, "ComClose");
}

TEST_F(StatusRefreshTest, LinkedReadingsStayAndADownloadHoldsTheCommands) {
    supervisor.markAlive();
    core.presenter.showLiveReading(DecodedReply::from(test::exampleLiveFrame()));
    download.startDownload();
    status.refreshStatus();
    EXPECT_EQ(views.primary[0], "120.0A");
    EXPECT_FALSE(views.recordCommandsEnabled);
    EXPECT_TRUE(views.progressEnabled);
    EXPECT_EQ(views.activity, "Reading...");
    EXPECT_EQ(views.period(Tick::Download), DOWNLOAD);
}

TEST_F(StatusRefreshTest, ARefreshWithoutTheInstrumentEndsTheDownload) {
    download.startDownload();
    download.acceptRecordCount(4);
    download.acceptRecord(1, DecodedReply::from(test::recordFrame(1)).record());
    views.periods[Tick::Download] = DOWNLOAD;
    status.refreshStatus();
    EXPECT_FALSE(download.isDownloading());
    EXPECT_TRUE(views.recordCommandsEnabled);
    EXPECT_EQ(views.period(Tick::Download), 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first,
              "Read stopped after record 1 of 4: the link to the instrument was lost.\r\nPress Read "
              "to fetch them again.");
}

// Read before any instrument answered: no link was lost, none was there.
TEST_F(StatusRefreshTest, ReadWithoutAnInstrumentSaysNoneIsConnected) {
    download.startDownload();
    status.refreshStatus();
    EXPECT_FALSE(download.isDownloading());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first,
              "Read cannot fetch records: no instrument is connected.\r\nConnect the instrument "
              "and press Read once the status bar says Connected.");
    EXPECT_EQ(download.outcome().end, DownloadOutcome::End::StoppedShort);
}

}  // namespace
}  // namespace travenor
