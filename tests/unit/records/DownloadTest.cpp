#include <gtest/gtest.h>

#include <algorithm>

#include "link/CommandFrame.h"
#include "support/CoreOnFakes.h"
#include "support/RecordOfTexts.h"

namespace travenor {
namespace {

Record sample(int n) {
    return test::recordOf(
        {std::to_string(n) + "A", "1.000A", "1.000A", "1.000A", "+0.1%", "600/5A", 0});
}

// The download on fakes: every request it writes, every message it shows,
// every progress value.
struct DownloadTest : ::testing::Test, test::CoreOnFakes {
    void SetUp() override { link.openPort(); }

    // The request values written since the last look.
    std::vector<std::int32_t> requests() {
        const std::vector<std::uint8_t> bytes = port.takeWritten();
        std::vector<std::int32_t> values;
        const std::size_t size = CommandFrame::forValue(0).toBytes().size();
        for (std::size_t at = 0; at + size <= bytes.size(); at += size) {
            const std::vector<std::uint8_t> frame(bytes.begin() + static_cast<long>(at),
                                                  bytes.begin() + static_cast<long>(at + size));
            for (std::int32_t v : {RECORD_COUNT_COMMAND, 0, 1, 2, 3, 4, 5, 3999, 4000, 4001})
                if (CommandFrame::forValue(v).toBytes() == frame) values.push_back(v);
        }
        return values;
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i) download.downloadTick();
    }
};

TEST_F(DownloadTest, AsksForTheCountThenEachRecordInTurn) {
    download.startDownload();
    EXPECT_TRUE(download.isDownloading());
    EXPECT_EQ(pendingEventRuns, 1);
    EXPECT_EQ(requests(), (std::vector<std::int32_t>{RECORD_COUNT_COMMAND}));

    download.acceptRecordCount(3);
    EXPECT_EQ(requests(), (std::vector<std::int32_t>{1}));
    EXPECT_TRUE(views.progressShown);
    EXPECT_EQ(views.progress, 0);

    // Each step: the reply offered, what is asked next, the progress shown.
    const struct {
        int number;
        std::int32_t asked;
        int progress;
    } steps[] = {{1, 2, 66}, {1, 2, 66}, {2, 3, 100}, {3, 4, 100}};
    for (const auto& step : steps) {
        download.acceptRecord(step.number, sample(step.number));
        EXPECT_EQ(requests(), (std::vector<std::int32_t>{step.asked})) << step.number;
        EXPECT_EQ(views.progress, step.progress) << step.number;
    }
    download.endOfRecords();
    EXPECT_FALSE(download.isDownloading());
    EXPECT_FALSE(views.progressShown);
    EXPECT_EQ(download.recordsRead(), 3);
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(*store.read(n), sample(n));
    EXPECT_EQ(views.table, RecordTable::tableText(store, 1, 3500));
    EXPECT_NE(views.table.find("NO.0003"), std::string::npos);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DownloadTest, ResendsTheMissingRequestAndGivesUpAfterTheThirdResend) {
    // Without a count the count is asked for again; with one, the record.
    for (const bool countCame : {false, true}) {
        messages.shown.clear();
        download.startDownload();
        if (countCame) {
            download.acceptRecordCount(5);
            download.acceptRecord(1, sample(1));
        }
        requests();
        const std::int32_t missing = countCame ? 2 : RECORD_COUNT_COMMAND;
        ticks(3);
        EXPECT_TRUE(requests().empty()) << countCame;
        ticks(1);
        EXPECT_EQ(requests(), (std::vector<std::int32_t>{missing})) << countCame;
        ticks(1);
        EXPECT_EQ(requests(), (std::vector<std::int32_t>{missing})) << countCame;
        EXPECT_TRUE(download.isDownloading());
        ticks(1);
        EXPECT_FALSE(download.isDownloading()) << countCame;
        EXPECT_EQ(download.resendCount(), 3);
        ASSERT_EQ(messages.shown.size(), 1u) << countCame;
        EXPECT_EQ(messages.shown[0].first,
                  countCame ? "Read stopped after record 1 of 5: the instrument did not "
                              "answer.\r\nPress Read to fetch them again."
                            : "Read stopped before the instrument reported its records: the "
                              "instrument did not answer.\r\nPress Read to fetch them again.");
        EXPECT_EQ(messages.shown[0].second, "Read");
        // The ticks go on until the status refresh stops them; nothing more is said.
        ticks(10);
        EXPECT_EQ(messages.shown.size(), 1u);
    }
}

TEST_F(DownloadTest, AnEndSaysSoOnlyWhenItCameShort) {
    using End = DownloadOutcome::End;
    const struct {
        const char* what;
        int read;  // records accepted of 3
        bool linkLost;
        const char* message;
        End end;
    } cases[] = {
        {"all read, link lost after", 3, true, nullptr, End::Complete},
        {"all read, the instrument ends", 3, false, nullptr, End::Complete},
        {"link lost on the way", 1, true,
         "Read stopped after record 1 of 3: the link to the instrument was lost.\r\nPress Read "
         "to fetch them again.",
         End::StoppedShort},
        {"instrument ends early", 1, false,
         "Read stopped after record 1 of 3: the instrument sent no more records.\r\nPress Read "
         "to fetch them again.",
         End::StoppedShort},
    };
    for (const auto& c : cases) {
        messages.shown.clear();
        download.startDownload();
        download.acceptRecordCount(3);
        for (int n = 1; n <= c.read; ++n) download.acceptRecord(n, sample(n));
        if (c.linkLost) {
            download.linkLost();
        } else {
            download.endOfRecords();
        }
        EXPECT_FALSE(download.isDownloading()) << c.what;
        EXPECT_EQ(download.outcome().end, c.end) << c.what;
        EXPECT_EQ(download.outcome().read, c.read) << c.what;
        EXPECT_EQ(download.outcome().reported, 3) << c.what;
        if (c.message) {
            ASSERT_EQ(messages.shown.size(), 1u) << c.what;
            EXPECT_EQ(messages.shown[0].first, c.message);
        } else {
            EXPECT_TRUE(messages.shown.empty()) << c.what;
        }
    }
    // A lost link with no download running changes nothing.
    messages.shown.clear();
    views.table.clear();
    download.linkLost();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(views.table.empty());
}

TEST_F(DownloadTest, ACountOfZeroShowsTheErrorBoxAndAsksNothing) {
    download.startDownload();
    requests();
    download.acceptRecordCount(0);
    EXPECT_TRUE(requests().empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], (std::pair<std::string, std::string>{"Error\r\n", "  Error!"}));
    EXPECT_FALSE(views.progressShown);
    // The download then ends through its ticks, and stays a download of no records.
    ticks(10);
    EXPECT_FALSE(download.isDownloading());
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(download.outcome().end, DownloadOutcome::End::NoRecords);
}

TEST_F(DownloadTest, TheStoreEndsTheDownloadAtItsLastSlot) {
    download.startDownload();
    download.acceptRecordCount(9000);
    for (int n = 1; n <= RecordStore::LAST_SLOT; ++n) download.acceptRecord(n, sample(n));
    EXPECT_FALSE(download.isDownloading());
    EXPECT_EQ(download.recordIndex(), RecordStore::LAST_SLOT + 1);
    // The last request is for the last slot; nothing beyond it is asked.
    const auto asked = requests();
    EXPECT_EQ(asked.back(), RecordStore::LAST_SLOT);
    EXPECT_EQ(std::count(asked.begin(), asked.end(), RecordStore::LAST_SLOT + 1), 0);
    EXPECT_EQ(*store.read(RecordStore::LAST_SLOT), sample(RecordStore::LAST_SLOT));
    // What could not be read is said, and the download did not end complete.
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first,
              "Read stopped after record 4000 of 9000: the program holds 4000 records at "
              "most.\r\n5000 records were not read.");
    EXPECT_EQ(download.outcome().end, DownloadOutcome::End::StoppedShort);
    EXPECT_EQ(download.outcome().read, RecordStore::LAST_SLOT);
}

TEST_F(DownloadTest, ResetForgetsTheDownloadAndItsCount) {
    download.startDownload();
    download.acceptRecordCount(7);
    ticks(5);
    download.reset();
    EXPECT_FALSE(download.isDownloading());
    EXPECT_FALSE(download.countKnown());
    EXPECT_EQ(download.recordCount(), 0);
    EXPECT_EQ(download.resendCount(), 0);
}

}  // namespace
}  // namespace travenor
