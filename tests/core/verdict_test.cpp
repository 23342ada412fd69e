#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/verdict.h"

namespace vesk {
namespace {

// A runs test group of 10 and 10 records: its p-values by hand, its runs over ties as given.
RunGroupStats runs_group(std::int64_t fewest, std::int64_t most, std::optional<double> p_fewest,
                         std::optional<double> p_most) {
    RunGroupStats group;
    group.n = group.m = 10;
    group.runs = fewest;
    group.fewest_runs = fewest;
    group.most_runs = most;
    group.z = -2.5;
    group.z_most = 1.5;
    group.p_fewest = p_fewest;
    group.p_most = p_most;
    group.p = fewest < most ? p_most : p_fewest;
    group.p_holm = 0.04;
    group.p_bh = 0.06;
    return group;
}

TEST(Verdict, RunsGroupsAreJudgedByTheChosenAdjustmentAndPlottedWhereTheirPValueIs) {
    const struct {
        const char* what;
        RunGroupStats group;
        Choices choices;
        bool significant;
        std::string flags;
        Mark mark;
        std::optional<double> point;
        std::optional<double> beside;
    } cases[] = {
        {"Holm 0.04 below 0.05",
         runs_group(4, 4, 0.01, 0.01),
         {0.05, Adjustment::holm},
         true,
         "",
         Mark::significant,
         -2.5,
         std::nullopt},
        {"BH 0.06 not below 0.05",
         runs_group(4, 4, 0.01, 0.01),
         {},
         false,
         "",
         Mark::plain,
         -2.5,
         std::nullopt},
        {"a level equal to the adjusted p is not passed",
         runs_group(4, 4, 0.01, 0.01),
         {0.04, Adjustment::holm},
         false,
         "",
         Mark::plain,
         -2.5,
         std::nullopt},
        {"ties decide at 0.05",
         runs_group(4, 12, 0.01, 0.5),
         {},
         false,
         "ties decide",
         Mark::flagged,
         1.5,
         -2.5},
        {"ties do not decide where both ends are below the level",
         runs_group(4, 12, 0.01, 0.02),
         {0.05, Adjustment::holm},
         true,
         "",
         Mark::significant,
         1.5,
         -2.5},
    };
    for (const auto& c : cases) {
        const Verdict verdict = judge(c.group, c.choices);
        EXPECT_EQ(verdict.significant, c.significant) << c.what;
        EXPECT_EQ(flag_names(verdict.flags), c.flags) << c.what;
        EXPECT_EQ(verdict.mark, c.mark) << c.what;
        EXPECT_EQ(verdict.point, c.point) << c.what;
        EXPECT_EQ(verdict.beside, c.beside) << c.what;
    }
}

TEST(Verdict, ChiSquareGroupsWithoutAPValueAreFlaggedAndTinyOnesDrawnAtTheAxisFloor) {
    ChiGroupStats tiny;
    tiny.n = tiny.m = 50;
    tiny.p = 0;  // below what a double holds
    tiny.p_bh = 0;
    const Verdict drawn = judge(tiny, {});
    EXPECT_TRUE(drawn.significant);
    EXPECT_EQ(drawn.point, smallest_drawn_p);
    EXPECT_EQ(drawn.beside, smallest_drawn_p);

    ChiGroupStats one_sample;
    one_sample.n = 50;
    one_sample.missing = "no state records in the classes";
    const Verdict missing = judge(one_sample, {});
    EXPECT_EQ(flag_names(missing.flags), "one sample missing");
    EXPECT_EQ(missing.mark, Mark::flagged);
    EXPECT_FALSE(missing.point.has_value());
}

TEST(Verdict, PValuesReadWithFourDigitsAndNeverAsZeroOrAboveOne) {
    const std::pair<std::optional<double>, const char*> cases[] = {
        {0.05, "0.05000"},    {1.2345e-5, "1.234e-05"}, {0.0, "< 1e-300"},
        {1.0000001, "1.000"}, {std::nullopt, ""},
    };
    for (const auto& [p, text] : cases) {
        EXPECT_EQ(p_text(p), text);
    }
}

}  // namespace
}  // namespace vesk
