#include <gtest/gtest.h>

#include <set>

#include "link/CommandFrame.h"
#include "sim/CommandReader.h"
#include "sim/InstrumentModel.h"
#include "sim/SimOptions.h"

namespace travenor::sim {
namespace {

ReplyFrame frameOf(const InstrumentModel::Reply& reply) {
    return ReplyFrame::fromBytes(std::span(reply.bytes).last(ReplyFrame::SIZE));
}

std::optional<InstrumentModel::Reply> ask(InstrumentModel& model, std::int32_t value,
                                          double now = 0) {
    return model.respond(CommandFrame::forValue(value), now);
}

Config quiet(int records = 10) {
    Config c;
    c.recordCount = records;
    c.lineRate = false;
    c.turnaroundMs = 0;
    return c;
}

TEST(InstrumentModel, AnswersEachCommandWithItsKind) {
    InstrumentModel model(quiet(10));
    const std::tuple<std::int32_t, FrameKind> cases[] = {
        {30000, FrameKind::Live},      {40000, FrameKind::RecordCount},
        {60001, FrameKind::PortFound}, {60016, FrameKind::PortFound},
        {1, FrameKind::Record},        {10, FrameKind::Record},
        {11, FrameKind::RecordsEnd},   {4000, FrameKind::RecordsEnd},
    };
    for (const auto& [value, kind] : cases) {
        const auto reply = ask(model, value);
        ASSERT_TRUE(reply) << value;
        ASSERT_EQ(reply->bytes.size(), 20u);
        const ReplyFrame f = frameOf(*reply);
        EXPECT_TRUE(f.isValid()) << value;
        EXPECT_EQ(f.kindValue(), static_cast<int>(kind)) << value;
    }
    EXPECT_EQ(frameOf(*ask(model, 60016)).bytes[1], 16);
    EXPECT_EQ(frameOf(*ask(model, 60003)).bytes[1], 3);
    EXPECT_EQ(frameOf(*ask(model, 40000)).countAt(0), 10u);
    EXPECT_EQ(frameOf(*ask(model, 7)).recordNumber(), 7);
    EXPECT_FALSE(ask(model, 0));
    CommandFrame noLead = CommandFrame::forValue(30000);
    noLead.bytes[0] = 0x00;
    EXPECT_FALSE(model.respond(noLead, 0));
}

TEST(InstrumentModel, GeneratedRecordsAreValidDeterministicAndVaried) {
    const auto a = InstrumentModel::generateRecords(600, 7);
    const auto b = InstrumentModel::generateRecords(600, 7);
    const auto c = InstrumentModel::generateRecords(600, 8);
    EXPECT_EQ(a.size(), 600u);
    std::set<std::uint8_t> codes, errors;
    std::set<unsigned> specialCounts;
    std::set<int> channels;
    std::set<std::uint8_t> batteries;
    bool differs = false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        ASSERT_TRUE(a[i].isValid());
        ASSERT_EQ(a[i].bytes, b[i].bytes);
        differs |= a[i].bytes != c[i].bytes;
        EXPECT_EQ(a[i].recordNumber(), static_cast<int>(i + 1));
        EXPECT_EQ(a[i].kindValue(), 1);
        for (std::size_t off : {0u, 3u, 6u, 9u}) {
            codes.insert(a[i].bytes[off + 2]);
            specialCounts.insert(a[i].countAt(off));
        }
        errors.insert(a[i].ratioError());
        channels.insert(a[i].channel());
        batteries.insert(a[i].bytes[15] & 0xC0);
    }
    EXPECT_TRUE(differs);
    for (std::uint8_t code : {0x30, 0x31, 0x32, 0x33, 0x40, 0x41})
        EXPECT_TRUE(codes.count(code)) << int(code);
    EXPECT_TRUE(specialCounts.count(10000));
    EXPECT_TRUE(specialCounts.count(20000));
    EXPECT_TRUE(errors.count(110));
    EXPECT_TRUE(
        std::any_of(errors.begin(), errors.end(), [](auto e) { return e != 110 && (e & 0x80); }));
    EXPECT_TRUE(std::any_of(errors.begin(), errors.end(),
                            [](auto e) { return e != 110 && !(e & 0x80) && e; }));
    EXPECT_EQ(channels, (std::set<int>{0, 1, 2}));
    EXPECT_EQ(batteries, (std::set<std::uint8_t>{0x00, 0x40, 0x80, 0xC0}));
}

TEST(InstrumentModel, RecordFileIsReplayedExactly) {
    const std::string text =
        "# two frames\n"
        "04 B0 31 03 E8 33 00 00 33 00 00 33 00 01 85 02 58 32 01 7C\n"
        "\n"
        "04B03103E8330000330000330002850258320100\r\n";
    const auto frames = InstrumentModel::parseRecordFile(text);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].bytes[13], 1);
    EXPECT_EQ(frames[1].bytes[19], 0x00);  // kept as given, bad checksum and all
    EXPECT_THROW(InstrumentModel::parseRecordFile("04 B0 31\n"), std::runtime_error);
    EXPECT_THROW(InstrumentModel::parseRecordFile("zz\n"), std::runtime_error);
    Config c = quiet();
    c.recordFile = "/nonexistent/records.txt";
    EXPECT_THROW(InstrumentModel{c}, std::runtime_error);
}

TEST(InstrumentModel, TimingOfAnExchange) {
    Config c;
    c.turnaroundMs = 2;
    c.faults.lateMs = 30;
    InstrumentModel model(c);
    EXPECT_DOUBLE_EQ(InstrumentModel::LINE_MS, 6.25);
    EXPECT_DOUBLE_EQ(ask(model, 30000)->delayMs, 6.25 + 2 + 30);
}

// Each fault knob, by what a series of 100 requests sees.
TEST(InstrumentModel, FaultKnobs) {
    struct Case {
        const char* name;
        void (*set)(Faults&);
        int answered;   // replies out of 100 record requests
        int corrupted;  // replies with a bad checksum
        int stray;      // replies longer than 20 bytes
        int stale;      // record replies for another number
    };
    const Case cases[] = {
        {"none", [](Faults&) {}, 100, 0, 0, 0},
        {"drop every 4th", [](Faults& f) { f.dropEvery = 4; }, 75, 0, 0, 0},
        {"drop all", [](Faults& f) { f.dropFraction = 1; }, 0, 0, 0, 0},
        {"corrupt all", [](Faults& f) { f.corruptFraction = 1; }, 100, 100, 0, 0},
        {"stray every 10th", [](Faults& f) { f.strayEvery = 10; }, 100, 0, 10, 0},
        {"wrong records", [](Faults& f) { f.wrongRecordFraction = 1; }, 100, 0, 0, 99},
        {"silent after record 40", [](Faults& f) { f.silentAfterRecord = 40; }, 40, 0, 0, 0},
        {"silent from the start", [](Faults& f) { f.silentAfterSeconds = 0; }, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        Config config = quiet(200);
        c.set(config.faults);
        InstrumentModel model(config);
        int answered = 0, corrupted = 0, stray = 0, stale = 0;
        for (int n = 1; n <= 100; ++n) {
            const auto reply = ask(model, n, 1.0);
            if (!reply) continue;
            ++answered;
            const ReplyFrame f = frameOf(*reply);
            corrupted += !f.isValid();
            stray += reply->bytes.size() > 20;
            stale += f.recordNumber() != n;
        }
        EXPECT_EQ(answered, c.answered) << c.name;
        EXPECT_EQ(corrupted, c.corrupted) << c.name;
        EXPECT_EQ(stray, c.stray) << c.name;
        EXPECT_EQ(stale, c.stale) << c.name;
    }
}

TEST(InstrumentModel, SilenceAndHangUpComeAndGo) {
    Config c = quiet();
    c.faults.silentAfterSeconds = 2;
    c.faults.silentForSeconds = 3;
    c.faults.hangUpAfterSeconds = 10;
    c.faults.hangUpForSeconds = 1;
    InstrumentModel model(c);
    const std::tuple<double, bool, bool> times[] = {
        {1.9, true, false},  {2.0, false, false}, {4.9, false, false}, {5.0, true, false},
        {10.0, false, true}, {10.9, false, true}, {11.0, true, false}};
    for (const auto& [t, answers, hungUp] : times) {
        EXPECT_EQ(bool(ask(model, 30000, t)), answers) << t;
        EXPECT_EQ(model.hungUp(t), hungUp) << t;
    }
}

TEST(InstrumentModel, ReportedCounts) {
    for (long count : {0L, 4001L, 40000L, 65535L}) {
        Config c = quiet();
        c.faults.reportedCount = count;
        InstrumentModel model(c);
        EXPECT_EQ(frameOf(*ask(model, 40000)).countAt(0), static_cast<unsigned>(count));
    }
}

TEST(SimOptions, GoodAndBadCommandLines) {
    std::string error;
    auto options = parseSimOptions(
        {"--link", "/tmp/x", "--records", "500", "--drop-every", "3", "--corrupt-fraction", "0.1",
         "--no-line-delay", "--count", "0", "--turnaround", "2.5", "--silent-after-record", "9"},
        error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->linkPath, "/tmp/x");
    EXPECT_EQ(options->config.recordCount, 500);
    EXPECT_EQ(options->config.faults.dropEvery, 3);
    EXPECT_DOUBLE_EQ(options->config.faults.corruptFraction, 0.1);
    EXPECT_FALSE(options->config.lineRate);
    EXPECT_EQ(options->config.faults.reportedCount, 0);
    EXPECT_DOUBLE_EQ(options->config.turnaroundMs, 2.5);
    EXPECT_EQ(options->config.faults.silentAfterRecord, 9);

    const std::vector<std::vector<std::string>> bad = {{"--bogus"},
                                                       {"--records"},
                                                       {"--records", "many"},
                                                       {"--records", "-1"},
                                                       {"--corrupt-fraction", "1.5"},
                                                       {"--late", "x"},
                                                       {"--link", ""},
                                                       {"--silent-after", "-2"},
                                                       {"--count", "70000"}};
    for (const auto& args : bad) {
        error.clear();
        EXPECT_FALSE(parseSimOptions(args, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace travenor::sim

namespace travenor::sim {
namespace {

TEST(CommandReader, FindsFramesInNoiseAndAcrossPieces) {
    CommandReader reader;
    const std::uint8_t noisy[] = {0x00, 0x64, 0x13, 0x64, 0x65, 0x75};
    reader.append(noisy, sizeof noisy);
    EXPECT_FALSE(reader.next());
    const std::uint8_t rest[] = {0x30, 0x64, 0x65, 0x9C, 0x40, 0x64};
    reader.append(rest, sizeof rest);
    EXPECT_EQ(reader.next()->value(), 30000);
    EXPECT_EQ(reader.next()->value(), 40000);
    EXPECT_FALSE(reader.next());
    reader.clear();
    const std::uint8_t probe[] = {0x65, 0xEA, 0x61, 0x64, 0x65, 0xEA, 0x61};
    reader.append(probe, sizeof probe);
    EXPECT_EQ(reader.next()->value(), 60001);  // the half lead kept before the clear is gone
    EXPECT_FALSE(reader.next());
}

}  // namespace
}  // namespace travenor::sim
