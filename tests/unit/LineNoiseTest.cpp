#include <gtest/gtest.h>

#include <random>

#include "link/LinkSupervisor.h"
#include "link/ReplyDecoder.h"
#include "link/SerialLink.h"
#include "platform/MessageBox.h"
#include "records/Download.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "support/FakeControls.h"
#include "support/FakeFileSystem.h"
#include "support/FakePort.h"

namespace travenor {
namespace {

struct CountingMessages : MessageBox {
    int shown = 0;
    void show(const std::string&, const std::string&) override { ++shown; }
};

// A million random and corrupted frames through the receive step, the decoder
// and the download: nothing leaves the store's slots (the sanitizer build
// watches the memory), nothing throws, and the program stays consistent.
TEST(LineNoise, RandomAndCorruptedStreams) {
    test::FakePort port;
    test::FakeControls controls;
    test::FakeFileSystem files;
    CountingMessages messages;
    RecordStore store;
    SerialLink link(port, controls);
    RecordTable table(store, controls, files, "/tmp");
    Download download(link, store, table, controls, messages, nullptr);
    LinkSupervisor supervisor(link, controls, [&] { return download.downloading == 1; });
    ReplyDecoder decoder(link, supervisor, controls, download);
    link.openPort();

    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> byte(0, 255);
    int valid = 0;
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
        if (i % 97 == 0)
            bytes.resize(static_cast<std::size_t>(byte(random) % 40));  // short or long bursts
        port.receive(bytes);
        const auto before = supervisor.linkUp;
        decoder.receive();
        valid += supervisor.linkUp == 1 && before == 0;
        if (i % 50 == 0) supervisor.linkUp = 0;
        if (i % 1000 == 0) port.received.clear();
        if (i % 5000 == 0) download.startDownload();
        if (i % 7 == 0) download.downloadTick();
        port.written.clear();
    }
    EXPECT_GT(valid, 0);
    EXPECT_FALSE(RecordStore::hasSlot(4001));
    for (int n = 0; n <= RecordStore::LAST_SLOT; ++n) ASSERT_NE(store.read(n), nullptr);
}

}  // namespace
}  // namespace travenor
