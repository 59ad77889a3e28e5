#include <gtest/gtest.h>

#include "records/AccuracyClass.h"

namespace travenor {
namespace {

constexpr PercentE4 pct(double percent) {
    return static_cast<PercentE4>(percent * 10000 + 0.5);
}

// Every class at every point of the standard's tables, between points (a
// straight line in the current), on to the rating factor, and outside.
TEST(AccuracyClass, LimitsAtThePointsBetweenThemAndBeyond) {
    const struct {
        const char* name;
        double percent;
        int factor;
        const char* limit;  // nullptr: not evaluated there
    } cases[] = {
        {"0.1", 5, 120, "0.4000"},
        {"0.1", 20, 120, "0.2000"},
        {"0.1", 100, 120, "0.1000"},
        {"0.1", 120, 120, "0.1000"},
        {"0.2", 5, 120, "0.7500"},
        {"0.2", 20, 120, "0.3500"},
        {"0.2", 100, 120, "0.2000"},
        {"0.2", 120, 120, "0.2000"},
        {"0.5", 5, 120, "1.5000"},
        {"0.5", 20, 120, "0.7500"},
        {"0.5", 100, 120, "0.5000"},
        {"0.5", 120, 120, "0.5000"},
        {"1", 5, 120, "3.0000"},
        {"1", 20, 120, "1.5000"},
        {"1", 100, 120, "1.0000"},
        {"1", 120, 120, "1.0000"},
        {"0.2S", 1, 120, "0.7500"},
        {"0.2S", 5, 120, "0.3500"},
        {"0.2S", 20, 120, "0.2000"},
        {"0.2S", 100, 120, "0.2000"},
        {"0.2S", 120, 120, "0.2000"},
        {"0.5S", 1, 120, "1.5000"},
        {"0.5S", 5, 120, "0.7500"},
        {"0.5S", 20, 120, "0.5000"},
        {"0.5S", 100, 120, "0.5000"},
        {"0.5S", 120, 120, "0.5000"},
        {"3", 50, 120, "3.0000"},
        {"3", 120, 120, "3.0000"},
        {"5", 50, 120, "5.0000"},
        {"5", 120, 120, "5.0000"},
        // Between points: linear in the current.
        {"0.5", 12.5, 120, "1.1250"},
        {"0.5", 60, 120, "0.6250"},
        {"0.2", 10, 120, "0.6167"},
        {"0.2S", 3, 120, "0.5500"},
        // Above the top point the top limit holds up to the rating factor.
        {"0.5", 150, 150, "0.5000"},
        {"0.5", 200, 200, "0.5000"},
        {"3", 90, 120, "3.0000"},
        // Outside: below the lowest point, above the rating factor.
        {"0.5", 4.9999, 120, nullptr},
        {"0.5S", 0.9999, 120, nullptr},
        {"3", 49.99, 120, nullptr},
        {"0.5", 120.0001, 120, nullptr},
        {"0.5", 150.0001, 150, nullptr},
    };
    for (const auto& c : cases) {
        const AccuracyClass* accuracy = accuracyClass(c.name);
        ASSERT_NE(accuracy, nullptr) << c.name;
        const auto limit = limitAt(*accuracy, pct(c.percent), c.factor);
        if (c.limit == nullptr) {
            EXPECT_FALSE(limit) << c.name << " at " << c.percent;
            continue;
        }
        ASSERT_TRUE(limit) << c.name << " at " << c.percent;
        EXPECT_EQ(limit->percentText(), c.limit) << c.name << " at " << c.percent;
    }
    EXPECT_EQ(accuracyClass("0.3"), nullptr);
    EXPECT_EQ(accuracyClasses().size(), 8u);
    for (const int factor : {120, 150, 200}) EXPECT_TRUE(isRatingFactor(factor));
    EXPECT_FALSE(isRatingFactor(130));
    EXPECT_TRUE(limitWithinResolution(*accuracyClass("0.1")));
    EXPECT_FALSE(limitWithinResolution(*accuracyClass("0.2")));
}

Record at(std::uint16_t primaryTenths, std::uint8_t error, std::int16_t channel = 0,
          std::optional<std::int16_t> setPrimary = 600) {
    Record r;
    r.slot = Record::Slot::Filled;
    r.primary = {primaryTenths, 0x31};
    r.secondary = {Current{1000, 0x33}, Current{1000, 0x33}, Current{1000, 0x33}};
    r.error = {error};
    r.ratio = {true, 600, 50};
    r.channel = channel;
    r.setPrimary = setPrimary;
    return r;
}

// The verdict on a record: pass up to the limit (equal passes), fail above
// it, not evaluated with the reason where it cannot be judged.
TEST(AccuracyClass, VerdictsAndTheirReasons) {
    const AccuracyClass& c05 = *accuracyClass("0.5");
    Record overload = at(1200, 0x85);
    overload.primary = {Current::OVERLOAD, 0x31};
    Record secondaryError = at(1200, 0x85, 1);
    secondaryError.secondary[1] = {Current::MEASURING_ERROR, 0x33};
    Record otherPhaseError = at(1200, 0x85, 0);
    otherPhaseError.secondary[2] = {Current::MEASURING_ERROR, 0x33};
    const struct {
        const char* what;
        Record record;
        std::optional<int> ratedPrimary;
        Verdict verdict;
        const char* reason;
    } cases[] = {
        {"600 A at 600 A rated, +0.5 %: on the limit", at(6000, 0x85), {}, Verdict::Pass, ""},
        {"-0.5 % on the limit too", at(6000, 0x05), {}, Verdict::Pass, ""},
        {"+0.6 % above it", at(6000, 0x86), {}, Verdict::Fail, ""},
        {"60 A is 10 %: limit 1.25 %, -1.2 %", at(600, 0x0C), {}, Verdict::Pass, ""},
        {"60 A, -1.3 %", at(600, 0x0D), {}, Verdict::Fail, ""},
        {"zero error", at(6000, 0x80), {}, Verdict::Pass, ""},
        {"rated primary from the option", at(6000, 0x86), 1200, Verdict::Pass, ""},
        {"primary overload", overload, {}, Verdict::NotEvaluated, "primary overload"},
        {"measured phase's error",
         secondaryError,
         {},
         Verdict::NotEvaluated,
         "secondary S measuring error"},
        {"another phase's error does not matter", otherPhaseError, {}, Verdict::Pass, ""},
        {"no ratio error", at(6000, 110), {}, Verdict::NotEvaluated, "no ratio error"},
        {"no phase", at(6000, 0x85, 3), {}, Verdict::NotEvaluated, "no phase"},
        {"no rated primary",
         at(6000, 0x85, 0, std::nullopt),
         {},
         Verdict::NotEvaluated,
         "no rated primary current"},
        {"rated primary 0",
         at(6000, 0x85, 0, 0),
         {},
         Verdict::NotEvaluated,
         "no rated primary current"},
        {"24 A is 4 %", at(240, 0x85), {}, Verdict::NotEvaluated, "below 5 % of rated current"},
        {"750 A is 125 %",
         at(7500, 0x85),
         {},
         Verdict::NotEvaluated,
         "above the rating factor (120 %)"},
    };
    for (const auto& c : cases) {
        const Judgement j = judge(c.record, c05, c.ratedPrimary, 120);
        EXPECT_EQ(verdictName(j.verdict), std::string(verdictName(c.verdict))) << c.what;
        EXPECT_EQ(j.reason, c.reason) << c.what;
    }
    EXPECT_EQ(*judge(at(6000, 0x85), c05, {}, 120).percentOfRated, 100 * 10000);
    EXPECT_EQ(judge(at(7500, 0x85), c05, {}, 150).verdict, Verdict::Pass);
}

}  // namespace
}  // namespace travenor
