#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "link/Record.h"
#include "records/AccuracyClass.h"

namespace travenor {

// One record and its verdict.
struct ReportRow {
    int number;
    Record record;
    Judgement judgement;
};

// The verdicts of one phase's records.
struct PhaseSummary {
    int records = 0;
    int passed = 0;
    int failed = 0;
    int notEvaluated = 0;
    // The evaluated record whose ratio error lies farthest from zero (the
    // first of equals), as an index into the report's rows.
    std::optional<std::size_t> worst;
};

// The records judged against a class: what a test report holds.
struct ClassReport {
    static constexpr std::size_t NO_PHASE = 3;

    const AccuracyClass* accuracy = nullptr;
    std::optional<int> ratedPrimary;  // as given; else each record's set primary
    int ratingFactor = 120;
    std::vector<ReportRow> rows;           // by record number
    std::array<PhaseSummary, 4> phases{};  // R, S, T and no phase

    int failed() const;
};

ClassReport classReport(const std::vector<std::pair<int, Record>>& records,
                        const AccuracyClass& accuracy, std::optional<int> ratedPrimary,
                        int ratingFactor);

// "600 A" as given; "600 A, the set ratio's" when every record was set to
// one; "each record's set primary, 100 A to 600 A"; "unknown" without one.
std::string ratedPrimaryText(const ClassReport& report);
// "5.0 A", or the ratings the records were set to ("1.0 A, 5.0 A").
std::string ratedSecondaryText(const ClassReport& report);
// "-0.6 % at 45.0 % of rated (270.0 A)", empty without an evaluated record.
std::string worstText(const ClassReport& report, const PhaseSummary& phase);
// A percent of rated current to one decimal, rounded half up: "45.0".
std::string percentOfRatedText(PercentE4 percent);
// The class's points: "1.5 % at 5 %, 0.75 % at 20 %, 0.5 % at 100 % and 120 %".
std::string limitPointsText(const AccuracyClass& accuracy);

// The axes of a phase's chart: current from 0 to xMax percent of rated in
// steps of xStep, a step past the rating factor; ratio error from -yMax to
// +yMax hundredths of a percent in steps of yStep, room for the phase's
// ratio errors up to twice the class's widest limit.
struct ChartAxes {
    int xMax;
    int xStep;
    int yMax;
    int yStep;
};
ChartAxes chartAxes(const ClassReport& report, std::size_t phase);

// The limit envelope's corners, (percent of rated, limit in hundredths of a
// percent), from the lowest point to the rating factor: drawn as +limit and
// -limit, straight between corners.
std::vector<std::pair<int, int>> envelope(const AccuracyClass& accuracy, int ratingFactor);

}  // namespace travenor
