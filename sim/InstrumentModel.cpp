#include "sim/InstrumentModel.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "format/RatioText.h"
#include "platform/SafeFile.h"

namespace travenor::sim {

namespace {

std::uint64_t splitMix(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

void putCurrent(ReplyFrame& frame, std::size_t offset, unsigned count, std::uint8_t code) {
    frame.bytes[offset] = static_cast<std::uint8_t>(count >> 8);
    frame.bytes[offset + 1] = static_cast<std::uint8_t>(count & 0xFF);
    frame.bytes[offset + 2] = code;
}

// A current in amperes as a count and range code, keeping four significant digits.
void putAmperes(ReplyFrame& frame, std::size_t offset, double amperes, bool preferMilli) {
    if (preferMilli && amperes < 0.9999) {
        const double milli = amperes * 1000.0;
        if (milli < 999.9) {
            putCurrent(frame, offset, static_cast<unsigned>(std::lround(milli * 10)), 0x41);
            return;
        }
    }
    static constexpr struct {
        double below;
        double scale;
        std::uint8_t code;
    } RANGES[] = {{9.9995, 1000, 0x33}, {99.995, 100, 0x32}, {999.95, 10, 0x31}, {9999.5, 1, 0x30}};
    for (const auto& range : RANGES) {
        if (amperes < range.below) {
            putCurrent(frame, offset, static_cast<unsigned>(std::lround(amperes * range.scale)),
                       range.code);
            return;
        }
    }
    putCurrent(frame, offset, 10000, 0x30);  // beyond the range: overload
}

void putSetRatio(ReplyFrame& frame, unsigned setPrimary, std::uint8_t rated, std::uint8_t battery) {
    frame.bytes[15] = static_cast<std::uint8_t>(battery | ((setPrimary >> 8) & 0x3F));
    frame.bytes[16] = static_cast<std::uint8_t>(setPrimary & 0xFF);
    frame.bytes[17] = rated;
}

std::uint8_t errorByte(int tenths) {
    const auto magnitude = static_cast<std::uint8_t>(std::min(std::abs(tenths), 127));
    return static_cast<std::uint8_t>((tenths > 0 ? 0x80 : 0x00) | magnitude);
}

ReplyFrame sealed(ReplyFrame frame, int channel, FrameKind kind) {
    frame.setChannelAndKind(channel, static_cast<std::uint8_t>(kind));
    frame.seal();
    return frame;
}

ReplyFrame generatedRecord(int n, std::uint32_t seed) {
    std::uint64_t state = (static_cast<std::uint64_t>(seed) << 32) ^ static_cast<std::uint64_t>(n);
    auto pick = [&state](std::uint64_t size) { return splitMix(state) % size; };
    auto unit = [&state] {
        return static_cast<double>(splitMix(state) >> 11) / 9007199254740992.0;
    };

    static constexpr unsigned SET_PRIMARIES[] = {50,  100, 150,  200,  300,  400,  500,
                                                 600, 800, 1000, 1200, 1500, 2000, 3000};
    static constexpr std::uint8_t RATINGS[] = {50, 50, 50, 10, 10, 5, 15};
    const unsigned setPrimary = SET_PRIMARIES[pick(std::size(SET_PRIMARIES))];
    const std::uint8_t rated = RATINGS[pick(std::size(RATINGS))];
    const int channel = static_cast<int>(pick(3));
    const double load = 0.05 + 1.1 * unit();
    const double primary = setPrimary * load;
    const int errorTenths = static_cast<int>(pick(41)) - 20;
    const double secondary = primary * (rated / 10.0) / setPrimary * (1.0 + errorTenths / 1000.0);
    const bool milli = pick(3) == 0;

    ReplyFrame frame;
    putAmperes(frame, ReplyFrame::PRIMARY, primary, false);
    for (int phase = 0; phase < 3; ++phase) {
        const double reading = phase == channel ? secondary : secondary * (0.97 + 0.06 * unit());
        putAmperes(frame, ReplyFrame::SECONDARY_R + 3 * static_cast<std::size_t>(phase), reading,
                   milli);
    }
    frame.bytes[12] = static_cast<std::uint8_t>(n >> 8);
    frame.bytes[13] = static_cast<std::uint8_t>(n & 0xFF);
    frame.bytes[14] = errorByte(errorTenths);

    std::uint8_t battery = 0;
    if (n % 11 == 0) battery |= 0x80;
    if (n % 17 == 0) battery |= 0x40;
    putSetRatio(frame, setPrimary, rated, battery);

    // The rarer readings, so that every text form turns up in a download.
    if (n % 13 == 0) frame.bytes[14] = NO_RATIO_ERROR;
    if (n % 53 == 0) frame.bytes[14] = 0xFF;
    if (n % 59 == 0) frame.bytes[14] = 0x7F;
    if (n % 29 == 0) putCurrent(frame, ReplyFrame::PRIMARY, 10000, 0x31);
    if (n % 31 == 0) putCurrent(frame, ReplyFrame::PRIMARY, 20000, 0x31);
    if (n % 37 == 0) putCurrent(frame, ReplyFrame::SECONDARY_S, 10000, 0x33);
    if (n % 41 == 0) putCurrent(frame, ReplyFrame::SECONDARY_T, 1234, 0x40);
    if (n % 43 == 0) putCurrent(frame, ReplyFrame::SECONDARY_T, 500, 0x42);
    if (n % 47 == 0) putCurrent(frame, ReplyFrame::PRIMARY, 1234, 0x05);
    if (n % 61 == 0) putCurrent(frame, ReplyFrame::SECONDARY_R, 0, 0x33);
    return sealed(frame, channel, FrameKind::Record);
}

}  // namespace

std::vector<ReplyFrame> InstrumentModel::generateRecords(int count, std::uint32_t seed) {
    std::vector<ReplyFrame> records;
    records.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int n = 1; n <= count; ++n) records.push_back(generatedRecord(n, seed));
    return records;
}

std::vector<ReplyFrame> InstrumentModel::parseRecordFile(const std::string& text) {
    std::vector<ReplyFrame> records;
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        std::string hex;
        for (char c : line) {
            if (c == '#') break;
            if (std::isxdigit(static_cast<unsigned char>(c))) {
                hex += c;
            } else if (c != ' ' && c != '\t' && c != '\r' && c != ',') {
                throw std::runtime_error("line " + std::to_string(lineNumber) +
                                         ": not a hex digit: '" + std::string(1, c) + "'");
            }
        }
        if (hex.empty()) continue;
        if (hex.size() != 2 * ReplyFrame::SIZE)
            throw std::runtime_error("line " + std::to_string(lineNumber) + ": " +
                                     std::to_string(hex.size() / 2) + " bytes, a frame has 20");
        ReplyFrame frame;
        for (std::size_t i = 0; i < ReplyFrame::SIZE; ++i)
            frame.bytes[i] =
                static_cast<std::uint8_t>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
        records.push_back(frame);
    }
    return records;
}

InstrumentModel::InstrumentModel(Config config)
    : settings(std::move(config)), randomState(settings.seed * 0x2545F4914F6CDD1Dull + 1) {
    if (!settings.recordFile.empty()) {
        // A record file is a few hundred kilobytes; a device or an endless
        // file is refused before it is read.
        std::string text;
        const FileOutcome read = readRegularFile(settings.recordFile, text);
        if (!read.ok)
            throw std::runtime_error("cannot read record file " + settings.recordFile + ": " +
                                     read.reason);
        try {
            stored = parseRecordFile(text);
        } catch (const std::runtime_error& error) {
            throw std::runtime_error(settings.recordFile + ": " + error.what());
        }
    } else {
        stored = generateRecords(settings.recordCount, settings.seed);
    }
}

double InstrumentModel::random() {
    return static_cast<double>(splitMix(randomState) >> 11) / 9007199254740992.0;
}

long InstrumentModel::reportedCount() const {
    return settings.faults.reportedCount.value_or(static_cast<long>(stored.size()));
}

bool InstrumentModel::hungUp(double now) const {
    const Faults& f = settings.faults;
    return f.hangUpAfterSeconds >= 0 && now >= f.hangUpAfterSeconds &&
           now < f.hangUpAfterSeconds + f.hangUpForSeconds;
}

bool InstrumentModel::silent(double now) const {
    const Faults& f = settings.faults;
    auto within = [&f, now](double since) {
        return since >= 0 && now >= since &&
               (f.silentForSeconds < 0 || now < since + f.silentForSeconds);
    };
    return within(f.silentAfterSeconds) || within(silentSince);
}

ReplyFrame InstrumentModel::liveFrame(double now) const {
    // 120 A on a 600/5 A transformer, drifting a little; the measured phase
    // steps R, S, T every five seconds.
    const int channel = static_cast<int>(now / 5.0) % 3;
    ReplyFrame frame;
    const double primary = 120.0 + 1.5 * std::sin(now * 0.9);
    const double secondary = primary / 120.0 * (1.0 + 0.002 * std::sin(now * 0.37));
    putAmperes(frame, ReplyFrame::PRIMARY, primary, false);
    for (int phase = 0; phase < 3; ++phase)
        putAmperes(frame, ReplyFrame::SECONDARY_R + 3 * static_cast<std::size_t>(phase),
                   secondary * (1.0 + 0.001 * phase), false);
    frame.bytes[14] = errorByte(static_cast<int>(std::lround(5 * std::sin(now * 0.21))));
    putSetRatio(frame, 600, 50, 0);
    return sealed(frame, channel, FrameKind::Live);
}

std::optional<InstrumentModel::Reply> InstrumentModel::respond(const CommandFrame& command,
                                                               double now) {
    if (hungUp(now) || silent(now) || !command.hasLead()) return std::nullopt;

    const std::int32_t value = command.value();
    const long count = static_cast<long>(stored.size());
    ReplyFrame frame;
    bool recordSent = false;
    if (value == LIVE_READING_COMMAND) {
        frame = liveFrame(now);
    } else if (value == RECORD_COUNT_COMMAND) {
        if (countRepliesDropped < settings.faults.dropCountReplies) {
            ++countRepliesDropped;
            return std::nullopt;
        }
        const long reported = std::clamp(reportedCount(), 0L, 65535L);
        frame.bytes[0] = static_cast<std::uint8_t>(reported >> 8);
        frame.bytes[1] = static_cast<std::uint8_t>(reported & 0xFF);
        frame = sealed(frame, 0, FrameKind::RecordCount);
    } else if (value > PROBE_COMMAND_BASE) {
        frame.bytes[1] = static_cast<std::uint8_t>((value - PROBE_COMMAND_BASE) & 0xFF);
        frame = sealed(frame, 0, FrameKind::PortFound);
    } else if (value >= 1 && value <= count) {
        int n = value;
        if (n > 1 && random() < settings.faults.wrongRecordFraction) --n;
        frame = stored[static_cast<std::size_t>(n - 1)];
        recordSent = n == settings.faults.silentAfterRecord;
    } else if (value > count) {
        frame = sealed(frame, 0, FrameKind::RecordsEnd);
    } else {
        return std::nullopt;  // there is no record 0
    }

    const Faults& f = settings.faults;
    ++repliesMade;
    if (recordSent) silentSince = now;
    if (f.dropEvery > 0 && repliesMade % f.dropEvery == 0) return std::nullopt;
    if (f.dropFraction > 0 && random() < f.dropFraction) return std::nullopt;
    if (f.corruptFraction > 0 && random() < f.corruptFraction) frame.bytes[19] ^= 0x5A;

    Reply reply;
    if (f.strayEvery > 0 && repliesMade % f.strayEvery == 0) reply.bytes = {0x00, 0xAA, 0x64};
    reply.bytes.insert(reply.bytes.end(), frame.bytes.begin(), frame.bytes.end());
    reply.delayMs = (settings.lineRate ? LINE_MS : 0.0) + settings.turnaroundMs + f.lateMs;
    return reply;
}

}  // namespace travenor::sim
