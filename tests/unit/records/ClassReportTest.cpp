#include <gtest/gtest.h>

#include "records/ClassReport.h"
#include "support/FieldRecord.h"

namespace travenor {
namespace {

using test::fieldRecord;

ClassReport reportOf(const std::vector<std::pair<int, Record>>& records, const char* name = "0.5",
                     std::optional<int> rated = std::nullopt, int factor = 120) {
    return classReport(records, *accuracyClass(name), rated, factor);
}

// Each phase counts its own records; the worst is the evaluated record
// farthest from zero, the first of equals; records come out by number.
TEST(ClassReport, SummarisesEachPhase) {
    const ClassReport report = reportOf({
        {9, fieldRecord(0, 6000, 3)},             // R 100 %: pass
        {2, fieldRecord(0, 3600, -7)},            // R 60 %: fail, the worst of R
        {5, fieldRecord(0, 1200, 7)},             // R 20 %: pass, as far out but later by number
        {4, fieldRecord(0, 120, 1)},              // R 2 %: not evaluated, not the worst
        {7, fieldRecord(1, 6000, 9)},             // S: fail
        {8, fieldRecord(1, 6000, std::nullopt)},  // S: no ratio error
        {3, fieldRecord(3, 6000, 1)},             // no phase
    });
    ASSERT_EQ(report.rows.size(), 7u);
    EXPECT_EQ(report.rows.front().number, 2);
    EXPECT_EQ(report.rows.back().number, 9);
    const struct {
        std::size_t phase;
        int records, passed, failed, notEvaluated;
        const char* worst;
    } cases[] = {
        {0, 4, 2, 1, 1, "-0.7 % at 60.0 % of rated (360.0 A, record 2)"},
        {1, 2, 0, 1, 1, "0.9 % at 100.0 % of rated (600.0 A, record 7)"},
        {2, 0, 0, 0, 0, ""},
        {ClassReport::NO_PHASE, 1, 0, 0, 1, ""},
    };
    for (const auto& c : cases) {
        const PhaseSummary& p = report.phases[c.phase];
        EXPECT_EQ(p.records, c.records) << c.phase;
        EXPECT_EQ(p.passed, c.passed) << c.phase;
        EXPECT_EQ(p.failed, c.failed) << c.phase;
        EXPECT_EQ(p.notEvaluated, c.notEvaluated) << c.phase;
        EXPECT_EQ(worstText(report, p), c.worst) << c.phase;
    }
    EXPECT_EQ(report.failed(), 2);
}

TEST(ClassReport, SaysTheRatingsItJudgedAgainst) {
    Record oneAmpere = fieldRecord(0, 6000, 1, 100);
    oneAmpere.ratio.rated = 10;
    const struct {
        std::vector<std::pair<int, Record>> records;
        std::optional<int> rated;
        const char* primary;
        const char* secondary;
    } cases[] = {
        {{{1, fieldRecord(0, 6000, 1)}, {2, fieldRecord(1, 6000, 1)}},
         std::nullopt,
         "600 A, the set ratio's",
         "5.0 A"},
        {{{1, fieldRecord(0, 6000, 1)}, {2, oneAmpere}},
         std::nullopt,
         "each record's set primary, 100 A to 600 A",
         "1.0 A, 5.0 A"},
        {{{1, fieldRecord(0, 6000, 1, std::nullopt)}}, std::nullopt, "unknown", "5.0 A"},
        {{{1, fieldRecord(0, 6000, 1, std::nullopt)}}, 800, "800 A", "5.0 A"},
        {{}, std::nullopt, "unknown", "unknown"},
    };
    for (const auto& c : cases) {
        const ClassReport report = reportOf(c.records, "0.5", c.rated);
        EXPECT_EQ(ratedPrimaryText(report), c.primary);
        EXPECT_EQ(ratedSecondaryText(report), c.secondary);
    }
    EXPECT_EQ(limitPointsText(*accuracyClass("0.5")),
              "1.5 % at 5 %, 0.75 % at 20 %, 0.5 % at 100 % and 120 %");
    EXPECT_EQ(limitPointsText(*accuracyClass("0.2S")),
              "0.75 % at 1 %, 0.35 % at 5 %, 0.2 % at 20 % and 100 % and 120 %");
    EXPECT_EQ(limitPointsText(*accuracyClass("3")), "3 % at 50 % and 120 %");
}

// The chart runs a step past the rating factor and holds the ratio errors
// up to twice the widest limit; the envelope runs to the rating factor.
TEST(ClassReport, ChartAxesAndEnvelope) {
    const struct {
        const char* name;
        int factor;
        std::vector<std::pair<int, Record>> records;
        ChartAxes axes;
    } cases[] = {
        {"0.5", 120, {}, {140, 20, 200, 50}},
        {"0.5", 200, {{1, fieldRecord(0, 6000, 20)}}, {220, 20, 250, 50}},
        {"0.5", 120, {{1, fieldRecord(0, 6000, -127)}}, {140, 20, 400, 100}},
        {"0.5", 120, {{1, fieldRecord(1, 6000, -127)}}, {140, 20, 200, 50}},  // another phase
        {"0.2S", 150, {}, {180, 20, 100, 20}},
        {"0.1", 120, {{1, fieldRecord(0, 6000, 5)}}, {140, 20, 60, 20}},
        {"5", 120, {}, {140, 20, 600, 200}},
    };
    for (const auto& c : cases) {
        const ChartAxes a = chartAxes(reportOf(c.records, c.name, std::nullopt, c.factor), 0);
        EXPECT_EQ(std::tie(a.xMax, a.xStep, a.yMax, a.yStep),
                  std::tie(c.axes.xMax, c.axes.xStep, c.axes.yMax, c.axes.yStep))
            << c.name << " " << c.factor << ": " << a.xMax << " " << a.yMax << " " << a.yStep;
    }
    using Corners = std::vector<std::pair<int, int>>;
    EXPECT_EQ(envelope(*accuracyClass("0.5"), 120),
              (Corners{{5, 150}, {20, 75}, {100, 50}, {120, 50}}));
    EXPECT_EQ(envelope(*accuracyClass("0.5"), 200),
              (Corners{{5, 150}, {20, 75}, {100, 50}, {120, 50}, {200, 50}}));
    EXPECT_EQ(envelope(*accuracyClass("3"), 150), (Corners{{50, 300}, {120, 300}, {150, 300}}));
}

}  // namespace
}  // namespace travenor
