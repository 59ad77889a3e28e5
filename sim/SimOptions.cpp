#include "sim/SimOptions.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace travenor::sim {

namespace {

bool toDouble(const std::string& text, double& value) {
    try {
        std::size_t used = 0;
        value = std::stod(text, &used);
        return used == text.size() && std::isfinite(value);
    } catch (...) {
        return false;
    }
}

bool toLong(const std::string& text, long& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::string simUsage() {
    return R"(Usage: travenor-sim [options]

Serves a simulated ratio test set on a pseudo-terminal at 38400 baud, 8N1.
Prints the device path (and the link, if one is made) on standard output.

Options:
  --link PATH              make a symbolic link PATH to the device (removed on exit)
  --records N              number of stored records (default 120)
  --seed N                 seed of the generated records (default 1)
  --record-file FILE       replay the frames of FILE (hex, one frame per line)
  --turnaround MS          instrument turnaround time in ms (default 1)
  --no-line-delay          answer at once instead of at line rate (6.25 ms a exchange)
  --count N                report N as the record count (0, 4001, 40000 ...)
  --drop-fraction F        drop this share of replies (0 to 1)
  --drop-every K           drop every K-th reply
  --drop-count-replies N   leave the first N record-count requests unanswered
  --corrupt-fraction F     send this share of replies with a wrong checksum
  --late MS                send every reply MS later
  --wrong-record-fraction F  answer this share of record requests with the previous record
  --silent-after SEC       fall silent SEC seconds after start
  --silent-after-record N  fall silent once record N has been sent
  --silent-for SEC         answer again after SEC seconds of silence (default: never)
  --hang-up-after SEC      hang the line up SEC seconds after start
  --hang-up-for SEC        offer the line again after SEC seconds (default 1)
  --stray-every K          send three stray bytes before every K-th reply
  --log FILE               log every frame in and out (time, hex, kind); "-" for stderr
  --help                   show this text
  --version                show the version
)";
}

std::optional<SimOptions> parseSimOptions(const std::vector<std::string>& args,
                                          std::string& error) {
    SimOptions options;
    Faults& f = options.config.faults;

    auto fraction = [](double& target) {
        return [&target](const std::string& v) {
            double x = 0;
            if (!toDouble(v, x) || x < 0 || x > 1) return false;
            target = x;
            return true;
        };
    };
    auto nonNegative = [](double& target) {
        return [&target](const std::string& v) {
            double x = 0;
            if (!toDouble(v, x) || x < 0) return false;
            target = x;
            return true;
        };
    };
    auto whole = [](auto& target, long low, long high) {
        return [&target, low, high](const std::string& v) {
            long x = 0;
            if (!toLong(v, x) || x < low || x > high) return false;
            target = static_cast<std::remove_reference_t<decltype(target)>>(x);
            return true;
        };
    };
    auto text = [](std::string& target) {
        return [&target](const std::string& v) {
            if (v.empty()) return false;
            target = v;
            return true;
        };
    };
    long count = 0;

    const std::map<std::string, std::function<bool(const std::string&)>> valued = {
        {"--link", text(options.linkPath)},
        {"--records", whole(options.config.recordCount, 0, 65535)},
        {"--seed", whole(options.config.seed, 0, 4294967295L)},
        {"--record-file", text(options.config.recordFile)},
        {"--turnaround", nonNegative(options.config.turnaroundMs)},
        {"--count",
         [&](const std::string& v) {
             return whole(count, 0, 65535)(v) && (f.reportedCount = count, true);
         }},
        {"--drop-fraction", fraction(f.dropFraction)},
        {"--drop-every", whole(f.dropEvery, 1, 1000000)},
        {"--drop-count-replies", whole(f.dropCountReplies, 1, 1000000)},
        {"--corrupt-fraction", fraction(f.corruptFraction)},
        {"--late", whole(f.lateMs, 0, 60000)},
        {"--wrong-record-fraction", fraction(f.wrongRecordFraction)},
        {"--silent-after", nonNegative(f.silentAfterSeconds)},
        {"--silent-after-record", whole(f.silentAfterRecord, 1, 65535)},
        {"--silent-for", nonNegative(f.silentForSeconds)},
        {"--hang-up-after", nonNegative(f.hangUpAfterSeconds)},
        {"--hang-up-for", nonNegative(f.hangUpForSeconds)},
        {"--stray-every", whole(f.strayEvery, 1, 1000000)},
        {"--log", text(options.logPath)},
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg == "--version" || arg == "-v") {
            options.version = true;
            continue;
        }
        if (arg == "--no-line-delay") {
            options.config.lineRate = false;
            continue;
        }
        const auto option = valued.find(arg);
        if (option == valued.end()) {
            error = "unknown option '" + arg + "'";
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = "option " + arg + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (!option->second(value)) {
            error = "bad value '" + value + "' for " + arg;
            return std::nullopt;
        }
    }
    return options;
}

}  // namespace travenor::sim
