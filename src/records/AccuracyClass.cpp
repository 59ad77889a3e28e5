#include "records/AccuracyClass.h"

#include <algorithm>
#include <cstdlib>

#include "format/NumberText.h"

namespace travenor {

namespace {

// IEC 61869-2, table 201: classes 0.1 to 1 at 5, 20, 100 and 120 % of rated
// current; table 202: classes 0.2S and 0.5S at 1, 5, 20, 100 and 120 %;
// table 203: classes 3 and 5 at 50 and 120 %. Limits in hundredths of a
// percent.
constexpr LimitPoint C01[] = {{5, 40}, {20, 20}, {100, 10}, {120, 10}};
constexpr LimitPoint C02[] = {{5, 75}, {20, 35}, {100, 20}, {120, 20}};
constexpr LimitPoint C05[] = {{5, 150}, {20, 75}, {100, 50}, {120, 50}};
constexpr LimitPoint C1[] = {{5, 300}, {20, 150}, {100, 100}, {120, 100}};
constexpr LimitPoint C02S[] = {{1, 75}, {5, 35}, {20, 20}, {100, 20}, {120, 20}};
constexpr LimitPoint C05S[] = {{1, 150}, {5, 75}, {20, 50}, {100, 50}, {120, 50}};
constexpr LimitPoint C3[] = {{50, 300}, {120, 300}};
constexpr LimitPoint C5[] = {{50, 500}, {120, 500}};

constexpr AccuracyClass CLASSES[] = {
    {"0.1", C01},   {"0.2", C02},   {"0.5", C05}, {"1", C1},
    {"0.2S", C02S}, {"0.5S", C05S}, {"3", C3},    {"5", C5},
};

constexpr PercentE4 E4 = 10000;

}  // namespace

const AccuracyClass* accuracyClass(std::string_view name) {
    for (const AccuracyClass& c : CLASSES)
        if (name == c.name) return &c;
    return nullptr;
}

std::span<const AccuracyClass> accuracyClasses() {
    return CLASSES;
}

bool isRatingFactor(int percent) {
    return percent == 120 || percent == 150 || percent == 200;
}

std::string Limit::percentText() const {
    // num / den hundredths of a percent, rounded half up to 1/10000 percent.
    const std::int64_t e4 = (num * 100 * 2 + den) / (2 * den);
    return decimalText(e4, 4);
}

std::optional<Limit> limitAt(const AccuracyClass& accuracy, PercentE4 current, int ratingFactor) {
    const auto& p = accuracy.points;
    if (current < p.front().percentOfRated * E4 || current > ratingFactor * E4) return std::nullopt;
    for (std::size_t i = 0; i + 1 < p.size(); ++i) {
        const PercentE4 x0 = p[i].percentOfRated * E4;
        const PercentE4 x1 = p[i + 1].percentOfRated * E4;
        if (current > x1) continue;
        // l0 + (l1 - l0) (x - x0) / (x1 - x0), as one fraction.
        const std::int64_t den = x1 - x0;
        return Limit{p[i].limitHundredths * den +
                         (p[i + 1].limitHundredths - p[i].limitHundredths) * (current - x0),
                     den};
    }
    return Limit{p.back().limitHundredths, 1};
}

namespace {

const char* markerOf(const Current& current) {
    return current.isOverload()         ? " overload"
           : current.isMeasuringError() ? " measuring error"
                                        : nullptr;
}

}  // namespace

Judgement judge(const Record& record, const AccuracyClass& accuracy,
                std::optional<int> ratedPrimary, int ratingFactor) {
    Judgement j;
    static constexpr const char* PHASES[] = {"R", "S", "T"};
    if (const char* marker = markerOf(record.primary)) {
        j.reason = std::string("primary") + marker;
        return j;
    }
    if (record.channel < 0 || record.channel > 2) {
        j.reason = "no phase";
        return j;
    }
    const auto phase = static_cast<std::size_t>(record.channel);
    if (const char* marker = markerOf(record.secondary[phase])) {
        j.reason = std::string("secondary ") + PHASES[phase] + marker;
        return j;
    }
    const std::optional<int> rated =
        ratedPrimary ? ratedPrimary
                     : (record.setPrimary ? std::optional<int>(*record.setPrimary) : std::nullopt);
    if (!rated || *rated <= 0) {
        j.reason = "no rated primary current";
        return j;
    }
    // microamperes / rated amperes is the percent in ten-thousandths.
    j.percentOfRated = record.primary.microamperes() / *rated;
    if (!record.error.present()) {
        j.reason = "no ratio error";
        return j;
    }
    j.limit = limitAt(accuracy, *j.percentOfRated, ratingFactor);
    if (!j.limit) {
        j.reason = *j.percentOfRated < accuracy.points.front().percentOfRated * E4
                       ? "below " + std::to_string(accuracy.points.front().percentOfRated) +
                             " % of rated current"
                       : "above the rating factor (" + std::to_string(ratingFactor) + " %)";
        return j;
    }
    // |error| in tenths, so times 10 in hundredths: at most num / den.
    const std::int64_t error = std::abs(record.error.tenths()) * 10;
    j.verdict = error * j.limit->den <= j.limit->num ? Verdict::Pass : Verdict::Fail;
    return j;
}

const char* verdictName(Verdict verdict) {
    switch (verdict) {
        case Verdict::Pass:
            return "pass";
        case Verdict::Fail:
            return "fail";
        case Verdict::NotEvaluated:
            break;
    }
    return "not evaluated";
}

bool limitWithinResolution(const AccuracyClass& accuracy) {
    return std::any_of(accuracy.points.begin(), accuracy.points.end(),
                       [](const LimitPoint& p) { return p.limitHundredths <= 10; });
}

}  // namespace travenor
