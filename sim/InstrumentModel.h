#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/CommandFrame.h"
#include "link/ReplyFrame.h"

namespace travenor::sim {

// Faults the simulated instrument can show on demand. Negative times and
// zero counts mean "off".
struct Faults {
    double dropFraction = 0;         // share of replies never sent
    int dropEvery = 0;               // every k-th reply never sent
    double corruptFraction = 0;      // share of replies with a wrong checksum
    int lateMs = 0;                  // every reply this much later
    double wrongRecordFraction = 0;  // share of record requests answered with the previous record
    double silentAfterSeconds = -1;  // falls silent this long after start
    int silentAfterRecord = 0;       // falls silent once record n has been sent
    double silentForSeconds = -1;    // and answers again after this long (never when negative)
    double hangUpAfterSeconds = -1;  // hangs the line up this long after start
    double hangUpForSeconds = 1;     // and offers it again after this long
    int strayEvery = 0;              // every k-th reply comes after 3 stray bytes
    std::optional<long> reportedCount;  // the record count it claims (0, 4001, 40000 ...)
    int dropCountReplies = 0;           // the first n answers to the count request never sent
};

struct Config {
    int recordCount = 120;
    std::uint32_t seed = 1;
    std::string recordFile;  // frames as hex, one per line; replaces the generated records
    Faults faults;
    double turnaroundMs = 1.0;
    bool lineRate = true;  // the line's own time: 24 bytes at 38400 baud 8N1 = 6.25 ms
};

// A protocol-true stand-in for the test set: answers each command frame the
// way the instrument does, with faults on demand.
class InstrumentModel {
  public:
    struct Reply {
        std::vector<std::uint8_t> bytes;
        double delayMs = 0;  // from the end of the request to the last byte of the reply
    };

    // Throws std::runtime_error for a record file that cannot be read.
    explicit InstrumentModel(Config config);

    // The answer to one request at time `now` (seconds since the start), if any.
    std::optional<Reply> respond(const CommandFrame& command, double now);
    // True while the line is hung up.
    bool hungUp(double now) const;

    ReplyFrame liveFrame(double now) const;
    const std::vector<ReplyFrame>& records() const { return stored; }
    long reportedCount() const;
    const Config& config() const { return settings; }

    static constexpr double LINE_MS = 24 * 10 * 1000.0 / 38400.0;

    static std::vector<ReplyFrame> generateRecords(int count, std::uint32_t seed);
    // Parses frames written as hex, one per line; blank lines and "#" comments skipped.
    static std::vector<ReplyFrame> parseRecordFile(const std::string& text);

  private:
    bool silent(double now) const;
    double random();

    Config settings;
    std::vector<ReplyFrame> stored;
    std::uint64_t randomState;
    long repliesMade = 0;
    int countRepliesDropped = 0;
    double silentSince = -1;
};

}  // namespace travenor::sim
