#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "link/LinkSupervisor.h"
#include "link/RecordSink.h"
#include "link/ReplyDecoder.h"
#include "link/SerialLink.h"
#include "platform/MessageBox.h"
#include "records/Download.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "shell/LivePresenter.h"
#include "support/FakeFileSystem.h"
#include "support/FakePort.h"
#include "support/FakeViews.h"

namespace travenor {
namespace {

struct CountingMessages : MessageBox {
    int shown = 0;
    void show(const std::string&, const std::string&) override { ++shown; }
};

// Presents the live readings, counting them.
struct CountedReadings : LiveReadings {
    LivePresenter presenter;
    int readings = 0;
    explicit CountedReadings(LiveView& view) : presenter(view) {}
    void showLiveReading(const DecodedReply& reading) override {
        ++readings;
        presenter.showLiveReading(reading);
    }
};

// Passes the decoder's download replies on, remembering every record offered
// under each number.
struct OfferedRecords : RecordSink {
    RecordSink& next;
    std::map<std::int32_t, std::vector<Record>> offered;
    int replies = 0;
    explicit OfferedRecords(RecordSink& next) : next(next) {}
    void acceptRecordCount(std::int32_t count) override {
        ++replies;
        next.acceptRecordCount(count);
    }
    void acceptRecord(std::int32_t number, const Record& record) override {
        ++replies;
        offered[number].push_back(record);
        next.acceptRecord(number, record);
    }
    void endOfRecords() override {
        ++replies;
        next.endOfRecords();
    }
};

// A million random and corrupted frames through the receive step, the decoder
// and the download: nothing leaves the store's slots (the sanitizer build
// watches the memory), nothing throws, and the program stays consistent.
TEST(LineNoise, RandomAndCorruptedStreams) {
    test::FakePort port;
    test::FakeViews views;
    test::FakeFileSystem files;
    CountingMessages messages;
    RecordStore store;
    SerialLink link(port, views);
    RecordTable table(store, views, files, "/tmp");
    Download download(link, store, table, views, messages, nullptr);
    LinkSupervisor supervisor(link, views, [&] { return download.isDownloading(); });
    CountedReadings live(views);
    OfferedRecords sink(download);
    ReplyDecoder decoder(link, supervisor, views, live, sink);
    link.openPort();

    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 1'000'000; ++i) {
        std::vector<std::uint8_t> bytes(20);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(random));
        const int mode = i % 4;
        if (mode >= 1) {
            // Make it valid, so the decoder sees every kind and channel.
            ReplyFrame f = ReplyFrame::fromBytes(bytes);
            f.seal();
            bytes.assign(f.bytes.begin(), f.bytes.end());
            if (mode == 3)
                bytes[static_cast<std::size_t>(byte(random) % 20)] ^= 0x10;  // one bit off
        }
        // Now and then a count and the records it asks for, their texts
        // random, so records really are stored amid the noise.
        const int phase = i % 5000;
        if (phase == 1 || (phase >= 2 && phase < 40 && phase % 2 == 0)) {
            ReplyFrame f = ReplyFrame::fromBytes(bytes);
            if (phase == 1) {
                f.bytes[0] = 0;
                f.bytes[1] = 30;
                f.setChannelAndKind(0, 3);
            } else {
                f.bytes[12] = static_cast<std::uint8_t>(download.recordIndex() >> 8);
                f.bytes[13] = static_cast<std::uint8_t>(download.recordIndex() & 0xFF);
                f.setChannelAndKind(byte(random) % 3, 1);
            }
            f.seal();
            bytes.assign(f.bytes.begin(), f.bytes.end());
            // A port confirmation in the noise may have moved the port away.
            if (!link.portOpen()) {
                views.port = "1";
                link.openPort();
            }
            port.received.clear();
        } else if (i % 97 == 0) {
            bytes.resize(static_cast<std::size_t>(byte(random) % 40));  // short or long bursts
        }
        port.receive(bytes);
        decoder.receive();
        if (i % 1000 == 0) port.received.clear();
        if (i % 5000 == 0) download.startDownload();
        if (i % 7 == 0) download.downloadTick();
        port.written.clear();
        // The chain never asks outside the records, and progress stays a percentage.
        ASSERT_GE(download.recordIndex(), 0) << i;
        ASSERT_LE(download.recordIndex(), RecordStore::LAST_SLOT + 1) << i;
        ASSERT_GE(views.progress, 0) << i;
        ASSERT_LE(views.progress, 100) << i;
    }
    // Valid frames of every kind came through.
    EXPECT_GT(live.readings, 0);
    EXPECT_GT(sink.replies, 0);
    // Every slot holds what it was given: the empty mark, the empty texts of
    // a slot never written, or a record offered under that very number.
    const Record blank{};
    int stored = 0;
    for (int n = 0; n <= RecordStore::LAST_SLOT; ++n) {
        const Record* slot = store.read(n);
        ASSERT_NE(slot, nullptr) << n;
        if (store.isEmpty(n) || *slot == blank) continue;
        const auto& candidates = sink.offered[n];
        EXPECT_NE(std::find(candidates.begin(), candidates.end(), *slot), candidates.end())
            << "slot " << n << " holds a record never offered under that number";
        ++stored;
    }
    EXPECT_GT(stored, 0);
    std::printf("%d slots hold records from the noise\n", stored);
}

}  // namespace
}  // namespace travenor
