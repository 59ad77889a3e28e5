#include "records/ClassReport.h"

#include <algorithm>
#include <cstdlib>
#include <set>

#include "format/CurrentText.h"
#include "format/NumberText.h"
#include "format/RatioText.h"

namespace travenor {

int ClassReport::failed() const {
    int failed = 0;
    for (const PhaseSummary& phase : phases) failed += phase.failed;
    return failed;
}

ClassReport classReport(const std::vector<std::pair<int, Record>>& records,
                        const AccuracyClass& accuracy, std::optional<int> ratedPrimary,
                        int ratingFactor) {
    ClassReport report;
    report.accuracy = &accuracy;
    report.ratedPrimary = ratedPrimary;
    report.ratingFactor = ratingFactor;
    for (const auto& [number, record] : records)
        report.rows.push_back(
            {number, record, judge(record, accuracy, ratedPrimary, ratingFactor)});
    std::stable_sort(report.rows.begin(), report.rows.end(),
                     [](const ReportRow& a, const ReportRow& b) { return a.number < b.number; });
    for (std::size_t i = 0; i < report.rows.size(); ++i) {
        const ReportRow& row = report.rows[i];
        const int channel = row.record.channel;
        PhaseSummary& phase =
            report.phases[channel >= 0 && channel <= 2 ? static_cast<std::size_t>(channel)
                                                       : ClassReport::NO_PHASE];
        ++phase.records;
        switch (row.judgement.verdict) {
            case Verdict::Pass:
                ++phase.passed;
                break;
            case Verdict::Fail:
                ++phase.failed;
                break;
            case Verdict::NotEvaluated:
                ++phase.notEvaluated;
                continue;
        }
        const auto magnitude = [&report](std::size_t at) {
            return std::abs(report.rows[at].record.error.tenths());
        };
        if (!phase.worst || magnitude(i) > magnitude(*phase.worst)) phase.worst = i;
    }
    return report;
}

std::string ratedPrimaryText(const ClassReport& report) {
    if (report.ratedPrimary) return std::to_string(*report.ratedPrimary) + " A";
    std::set<int> set;
    for (const ReportRow& row : report.rows)
        if (row.record.setPrimary && *row.record.setPrimary > 0) set.insert(*row.record.setPrimary);
    if (set.empty()) return "unknown";
    if (set.size() == 1) return std::to_string(*set.begin()) + " A, the set ratio's";
    return "each record's set primary, " + std::to_string(*set.begin()) + " A to " +
           std::to_string(*set.rbegin()) + " A";
}

std::string ratedSecondaryText(const ClassReport& report) {
    std::set<int> rated;
    for (const ReportRow& row : report.rows)
        if (row.record.rated() > 0) rated.insert(row.record.rated());
    std::string text;
    for (const int r : rated)
        text += (text.empty() ? "" : ", ") + ratedAmperesText(static_cast<std::uint8_t>(r)) + " A";
    return text.empty() ? "unknown" : text;
}

std::string percentOfRatedText(PercentE4 percent) {
    return decimalText((percent + 500) / 1000, 1);
}

std::string worstText(const ClassReport& report, const PhaseSummary& phase) {
    if (!phase.worst) return {};
    const ReportRow& row = report.rows[*phase.worst];
    return percentText(row.record.error) + " % at " +
           percentOfRatedText(*row.judgement.percentOfRated) + " % of rated (" +
           amperesText(row.record.primary) + " A, record " + std::to_string(row.number) + ")";
}

std::string limitPointsText(const AccuracyClass& accuracy) {
    std::string text;
    const auto& p = accuracy.points;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const bool sameAsLast = i > 0 && p[i - 1].limitHundredths == p[i].limitHundredths;
        // Shortest decimal of the hundredths: 150 -> 1.5, 75 -> 0.75, 300 -> 3.
        std::string limit = decimalText(p[i].limitHundredths, 2);
        while (limit.back() == '0') limit.pop_back();
        if (limit.back() == '.') limit.pop_back();
        const std::string at = std::to_string(p[i].percentOfRated) + " %";
        if (sameAsLast) {
            text += " and " + at;
        } else {
            text += (i == 0 ? "" : ", ") + limit + " % at " + at;
        }
    }
    return text;
}

namespace {

int roundUp(int value, int step) {
    return (value + step - 1) / step * step;
}

}  // namespace

ChartAxes chartAxes(const ClassReport& report, std::size_t phase) {
    // Up to a step past the rating factor, and up to twice the widest limit:
    // a point beyond is drawn on the edge, so that the limits stay readable.
    const int widest = report.accuracy->points.front().limitHundredths;
    int yMost = widest;
    for (const ReportRow& row : report.rows)
        if (static_cast<std::size_t>(row.record.channel) == phase && row.record.error.present())
            yMost = std::max(yMost, std::min(std::abs(row.record.error.tenths()) * 10, 2 * widest));
    const int xStep = 20;
    const int xMost = report.ratingFactor + xStep;
    // A fifth of room above the largest value, in a step of 1, 2 or 5 times
    // a power of ten with at most five steps each side.
    const int yRoom = yMost + yMost / 5;
    int yStep = 500;
    for (const int step : {5, 10, 20, 25, 50, 100, 200, 250, 500})
        if (yRoom <= 5 * step) {
            yStep = step;
            break;
        }
    return {roundUp(xMost, xStep), xStep, std::max(roundUp(yRoom, yStep), yStep), yStep};
}

std::vector<std::pair<int, int>> envelope(const AccuracyClass& accuracy, int ratingFactor) {
    std::vector<std::pair<int, int>> corners;
    for (const LimitPoint& p : accuracy.points)
        if (p.percentOfRated <= ratingFactor)
            corners.emplace_back(p.percentOfRated, p.limitHundredths);
    if (corners.back().first < ratingFactor)
        corners.emplace_back(ratingFactor, accuracy.points.back().limitHundredths);
    return corners;
}

}  // namespace travenor
