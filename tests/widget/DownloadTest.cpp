#include <QAction>

#include "link/DecodedReply.h"
#include "records/RecordLine.h"
#include "support/AppFixture.h"
#include "support/Frames.h"

namespace travenor {
namespace {

using test::AppFixture;

// Read on the real window against the in-process instrument.
struct DownloadWindow : AppFixture {};

// Runs the download as the program would: replies as they come (a reply
// that arrives after a time-out is still taken), a download tick whenever the
// line is quiet while the download runs. Returns the ticks it took.
int runDownload(AppFixture& f, int limit = 200000) {
    int ticks = 0;
    while (ticks < limit) {
        if (f.pump() > 0) continue;
        if (!f.download().isDownloading()) break;
        f.download().downloadTick();
        ++ticks;
    }
    return ticks;
}

void expectStoredAsSent(AppFixture& f, int first, int last) {
    const auto& records = f.port->model().records();
    for (int n = first; n <= last; ++n) {
        const Record* stored = f.app->store().read(n);
        ASSERT_NE(stored, nullptr);
        EXPECT_EQ(*stored, DecodedReply::from(records[static_cast<std::size_t>(n - 1)]).record())
            << "record " << n;
    }
}

TEST_F(DownloadWindow, DownloadOfThreeRecords) {
    start(quietInstrument(3));
    connect();
    download().startDownload();
    EXPECT_EQ(requests(), std::vector<std::int32_t>{40000});
    EXPECT_TRUE(download().isDownloading());

    pump();  // count 3
    EXPECT_TRUE(window().isVisible("ProgressBar1"));
    EXPECT_EQ(window().value("ProgressBar1"), 0);
    pump();  // record 1
    EXPECT_EQ(window().value("ProgressBar1"), 66);
    pump();  // record 2
    EXPECT_EQ(window().value("ProgressBar1"), 100);
    window().setValue("ProgressBar1", 7);
    pump();  // record 3: no progress update
    EXPECT_EQ(window().value("ProgressBar1"), 7);
    pump();  // end of records
    EXPECT_EQ(requests(), (std::vector<std::int32_t>{1, 2, 3, 4}));
    EXPECT_FALSE(download().isDownloading());
    EXPECT_FALSE(window().isVisible("ProgressBar1"));

    const std::string table = t("RichTextBox1");
    for (int n = 1; n <= 3; ++n)
        EXPECT_NE(table.find(*recordLine(app->store(), n) + "\r\n"), std::string::npos) << n;
    EXPECT_EQ(t("RichTextBox2"), table);
    expectStoredAsSent(*this, 1, 3);
}

TEST_F(DownloadWindow, TableShownOnceAtRecord64) {
    start(quietInstrument(70));
    connect();
    download().startDownload();
    for (int i = 0; i < 65; ++i) pump();  // count, then records 1 to 64
    EXPECT_EQ(download().recordIndex(), 65);
    const std::string table = t("RichTextBox1");
    EXPECT_NE(table.find("NO.0064"), std::string::npos);
    EXPECT_EQ(table.find("NO.0065"), std::string::npos);
    runDownload(*this);
    EXPECT_NE(t("RichTextBox1").find("NO.0070"), std::string::npos);
}

TEST_F(DownloadWindow, RepeatedReplyStoresNothingAndAsksAgain) {
    start(quietInstrument(10));
    connect();
    download().startDownload();
    for (int i = 0; i < 6; ++i) pump();  // count and records 1 to 5; 6 is asked for
    ASSERT_EQ(download().recordIndex(), 6);
    requests();
    port->inject(test::bytesOf(test::recordFrame(5, 1)));
    EXPECT_EQ(requests(), std::vector<std::int32_t>{6});  // the expected record, asked for again
    EXPECT_EQ(download().recordIndex(), 6);
    expectStoredAsSent(*this, 1, 5);
}

TEST_F(DownloadWindow, CountOfZeroShowsTheErrorBoxAndTheTimerEndsTheDownload) {
    sim::Config config = quietInstrument(5);
    config.faults.reportedCount = 0;
    start(config);
    connect();
    download().startDownload();
    pump();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].first, "Error\r\n");
    EXPECT_EQ(messages->shown[0].second, "  Error!");
    EXPECT_TRUE(download().isDownloading());
    EXPECT_EQ(requests(), std::vector<std::int32_t>{40000});

    for (int tick = 1; tick <= 6; ++tick) download().downloadTick();
    EXPECT_EQ(requests(), (std::vector<std::int32_t>{1, 1, 1}));
    EXPECT_FALSE(download().isDownloading());
    EXPECT_TRUE(app->store().isEmpty(1));
}

TEST_F(DownloadWindow, SilenceEndsTheDownloadAfterTheThirdResendAndReadStartsAgain) {
    sim::Config config = quietInstrument(5);
    config.faults.silentAfterRecord = 2;
    config.faults.silentForSeconds = 1e9;
    start(config);
    connect();
    download().startDownload();
    for (int i = 0; i < 3; ++i) pump();
    requests();
    for (int tick = 1; tick <= 3; ++tick) download().downloadTick();
    EXPECT_TRUE(requests().empty());
    download().downloadTick();
    download().downloadTick();
    EXPECT_TRUE(download().isDownloading());
    download().downloadTick();
    EXPECT_EQ(requests(), (std::vector<std::int32_t>{3, 3, 3}));
    EXPECT_FALSE(download().isDownloading());
    EXPECT_NE(t("RichTextBox1").find("NO.0002"), std::string::npos);
    EXPECT_EQ(t("RichTextBox1").find("NO.0003"), std::string::npos);
    refresh();
    EXPECT_EQ(period(Tick::Download), 0);

    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].first,
              "Read stopped after record 2 of 5: the instrument did not answer.\r\n"
              "Press Read to fetch them again.");
    EXPECT_EQ(messages->shown[0].second, "Read");

    // Read again: the wait count is still high, so the first tick already
    // re-sends; the count has not come yet in this download, so it is asked for.
    download().startDownload();
    requests();
    download().downloadTick();
    EXPECT_EQ(requests(), std::vector<std::int32_t>{40000});
}

TEST_F(DownloadWindow, ReplyAfterTheTimeOutIsStillTaken) {
    sim::Config config = quietInstrument(5);
    config.faults.silentAfterRecord = 2;
    start(config);
    connect();
    download().startDownload();
    for (int i = 0; i < 3; ++i) pump();
    for (int tick = 1; tick <= 6; ++tick) download().downloadTick();
    ASSERT_FALSE(download().isDownloading());
    requests();
    port->inject(test::bytesOf(port->model().records()[2]));
    EXPECT_EQ(requests(), std::vector<std::int32_t>{4});
    expectStoredAsSent(*this, 3, 3);
}

// A link lost in the middle of a download ends it; what was read stays in the
// store, is shown, and the user is told how far Read got.
TEST_F(DownloadWindow, LinkLossDuringADownloadShowsWhatWasReadAndSaysSo) {
    sim::Config config = quietInstrument(10);
    config.faults.silentAfterRecord = 4;
    start(config);
    connect();
    download().startDownload();
    for (int i = 0; i < 5; ++i) pump();
    refresh();
    EXPECT_EQ(t("Text4"), "Reading...");
    EXPECT_EQ(t("RichTextBox1").find("NO.0001"), std::string::npos);
    for (int tick = 0; tick < 31; ++tick) discovery();
    refresh();
    EXPECT_FALSE(download().isDownloading());
    EXPECT_EQ(period(Tick::Download), 0);
    EXPECT_EQ(t("Text4"), "Device Finding...");
    EXPECT_TRUE(window().isEnabled("Command2"));
    EXPECT_TRUE(window().isVisible("ProgressBar1"));  // left as it was, disabled
    EXPECT_FALSE(window().isEnabled("ProgressBar1"));
    EXPECT_EQ(t("RichTextBox1"), RecordTable::tableText(app->store(), 1, 3500));
    EXPECT_NE(t("RichTextBox1").find("NO.0004"), std::string::npos);
    expectStoredAsSent(*this, 1, 4);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].first,
              "Read stopped after record 4 of 10: the link to the instrument was lost.\r\n"
              "Press Read to fetch them again.");
    refresh();  // said once
    EXPECT_EQ(messages->shown.size(), 1u);
}

// A count reply lost on the way: the re-send asks for the count again, and
// the download then reads every record.
TEST_F(DownloadWindow, ALostCountReplyIsAskedForAgain) {
    for (int dropped : {1, 2}) {
        sim::Config config = quietInstrument(12);
        config.faults.dropCountReplies = dropped;
        start(config);
        connect();
        download().startDownload();
        runDownload(*this);
        EXPECT_FALSE(download().isDownloading()) << dropped;
        const auto sent = requests();
        ASSERT_GE(sent.size(), static_cast<std::size_t>(dropped + 2)) << dropped;
        for (int i = 0; i <= dropped; ++i) EXPECT_EQ(sent[static_cast<std::size_t>(i)], 40000);
        EXPECT_EQ(sent[static_cast<std::size_t>(dropped + 1)], 1) << dropped;
        expectStoredAsSent(*this, 1, 12);
        EXPECT_TRUE(messages->shown.empty()) << dropped;
    }
}

// How a download ends decides what the user is told.
TEST_F(DownloadWindow, OnlyADownloadThatStopsShortSaysSo) {
    const struct {
        const char* what;
        int records;
        int silentAfterRecord;
        int droppedCounts;
        std::string message;
    } cases[] = {
        {"normal end", 7, 0, 0, ""},
        {"silent after the last record", 7, 7, 0, ""},
        {"silent after record 3", 7, 3, 0,
         "Read stopped after record 3 of 7: the instrument did not answer.\r\n"
         "Press Read to fetch them again."},
        {"silent before record 1", 7, 0, 3,
         "Read stopped before the instrument reported its records: the instrument did not "
         "answer.\r\nPress Read to fetch them again."},
    };
    for (const auto& c : cases) {
        sim::Config config = quietInstrument(c.records);
        config.faults.silentAfterRecord = c.silentAfterRecord;
        config.faults.dropCountReplies = c.droppedCounts;
        start(config);
        messages->shown.clear();
        connect();
        download().startDownload();
        runDownload(*this);
        EXPECT_FALSE(download().isDownloading()) << c.what;
        if (c.message.empty()) {
            EXPECT_TRUE(messages->shown.empty()) << c.what;
        } else {
            ASSERT_EQ(messages->shown.size(), 1u) << c.what;
            EXPECT_EQ(messages->shown[0].first, c.message) << c.what;
        }
    }
}

TEST_F(DownloadWindow, RecordsAbove4000EndTheDownloadAtTheLastSlot) {
    for (long reported : {4001L, 40000L}) {
        sim::Config config = quietInstrument(4005);
        config.faults.reportedCount = reported;
        start(config);
        connect();
        download().startDownload();
        runDownload(*this);
        EXPECT_FALSE(download().isDownloading());
        EXPECT_FALSE(window().isVisible("ProgressBar1"));
        const auto sent = requests();
        EXPECT_EQ(sent.back(), 4000) << reported;
        EXPECT_EQ(std::count(sent.begin(), sent.end(), 4001), 0) << reported;
        expectStoredAsSent(*this, 3995, 4000);
        EXPECT_EQ(window().value("ProgressBar1"), static_cast<int>(4000 * 100 / reported));
        // Every record read is shown, and so saved: 3501 to 4000 too.
        for (const char* shown : {"NO.3500", "NO.3501", "NO.4000"}) {
            EXPECT_NE(t("RichTextBox1").find(shown), std::string::npos) << shown;
            EXPECT_NE(t("RichTextBox2").find(shown), std::string::npos) << shown;
        }
        ASSERT_FALSE(messages->shown.empty());
        EXPECT_EQ(messages->shown.back().first,
                  "Read stopped after record 4000 of " + std::to_string(reported) +
                      ": the program holds 4000 records at most.\r\n" +
                      std::to_string(reported - 4000) +
                      (reported == 4001 ? " record was not read." : " records were not read."));
        messages->shown.clear();
    }
}

TEST_F(DownloadWindow, CorruptedAndStaleRepliesStillGiveEveryRecordRight) {
    sim::Config config = quietInstrument(300);
    config.faults.corruptFraction = 0.1;
    config.faults.wrongRecordFraction = 0.05;
    config.faults.strayEvery = 37;
    start(config);
    connect();
    download().startDownload();
    runDownload(*this);
    EXPECT_FALSE(download().isDownloading());
    // Whatever was stored is exactly what the instrument holds under that
    // number, and the records come in order: the stored ones are 1 to k, no
    // holes. (Three lost replies in a row end the download early by design.)
    int stored = 0;
    while (stored < 300 && !app->store().isEmpty(stored + 1)) ++stored;
    for (int n = stored + 1; n <= 300; ++n) EXPECT_TRUE(app->store().isEmpty(n)) << n;
    EXPECT_GT(stored, 0);
    expectStoredAsSent(*this, 1, stored);
    std::printf("stored %d of 300 records through 10%% corrupted replies\n", stored);
}

TEST_F(DownloadWindow, ToolbarIsIgnoredWhileDownloading) {
    connect();
    download().startDownload();
    requests();
    auto* read = window().findChild<QAction*>("Read");
    ASSERT_NE(read, nullptr);
    read->trigger();
    EXPECT_TRUE(requests().empty());
    auto* menuRead = window().findChild<QAction*>(QString::fromUtf8("读取"));
    menuRead->trigger();
    EXPECT_EQ(requests(), std::vector<std::int32_t>{40000});
}

}  // namespace
}  // namespace travenor
