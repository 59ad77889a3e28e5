#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "link/Record.h"

namespace travenor {

// One point of a class's ratio-error limit: at this percent of rated
// current, the limit in hundredths of a percent.
struct LimitPoint {
    int percentOfRated;
    int limitHundredths;
};

// An accuracy class of measuring current transformers and its ratio-error
// limits, as IEC 61869-2 gives them (table 201 for classes 0.1 to 1, table
// 202 for 0.2S and 0.5S, table 203 for 3 and 5). Only the ratio error is
// judged: the instrument does not measure phase displacement.
struct AccuracyClass {
    const char* name;
    std::span<const LimitPoint> points;  // by rising current
};

// The class of that name ("0.1", "0.2", "0.5", "1", "0.2S", "0.5S", "3", "5").
const AccuracyClass* accuracyClass(std::string_view name);
std::span<const AccuracyClass> accuracyClasses();

// The rating factors the standard's extended ratings allow, in percent.
bool isRatingFactor(int percent);

// A current as a percent of rated current, in ten-thousandths of a percent:
// exact for every reading the instrument sends.
using PercentE4 = std::int64_t;

// The limit at a current, in hundredths of a percent: linear between two
// points, the top point's limit from there up to the rating factor; nothing
// below the lowest point or above the rating factor. Exact, as a fraction
// num / den.
struct Limit {
    std::int64_t num;
    std::int64_t den;
    // The limit as a decimal text in percent, to four places ("0.3500").
    std::string percentText() const;
};
std::optional<Limit> limitAt(const AccuracyClass& accuracy, PercentE4 current, int ratingFactor);

enum class Verdict { Pass, Fail, NotEvaluated };

struct Judgement {
    Verdict verdict = Verdict::NotEvaluated;
    std::string reason;                       // why not evaluated; empty otherwise
    std::optional<PercentE4> percentOfRated;  // where the current is known
    std::optional<Limit> limit;
};

// The verdict on one record: pass when |ratio error| is at most the limit at
// its current (equal passes), fail otherwise, not evaluated with a reason
// where a value is missing or the current lies outside the class's range.
// The rated primary current is `ratedPrimary` when given, else the record's
// set primary.
Judgement judge(const Record& record, const AccuracyClass& accuracy,
                std::optional<int> ratedPrimary, int ratingFactor);

const char* verdictName(Verdict verdict);

// The instrument's ratio error has a resolution of 0.1 %: whether the
// class's tightest limit is no coarser than that (class 0.1), so that a
// verdict near the limit rests on the last digit.
bool limitWithinResolution(const AccuracyClass& accuracy);

}  // namespace travenor
