#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/verdict.h"

namespace vesk {
namespace {

// A runs test group of 10 and 10 records: its adjusted p-values by hand; with ties, T's z
// differs from the z of the runs as sorted.
RunGroupStats runs_group(bool tied) {
    RunGroupStats group;
    group.n = group.m = 10;
    group.blocks = tied ? 12 : 20;
    group.z = -2.5;
    group.z_t = tied ? -1.5 : -2.5;
    group.p = Probability::of(0.01);
    group.p_holm = Probability::of(0.04);
    group.p_bh = Probability::of(0.06);
    return group;
}

TEST(Verdict, RunsGroupsAreJudgedByTheChosenAdjustmentAndPlottedWhereTheirPValueIs) {
    RunGroupStats one_sample;
    one_sample.n = 10;
    one_sample.blocks = 10;
    one_sample.missing = "no state records";
    const struct {
        const char* what;
        RunGroupStats group;
        Choices choices;
        bool significant;
        Mark mark;
        std::optional<double> point;
        std::optional<double> beside = std::nullopt;
        std::string flags = "";
    } cases[] = {
        {"Holm 0.04 below 0.05",
         runs_group(false),
         {0.05, Adjustment::holm},
         true,
         Mark::significant,
         -2.5},
        {"BH 0.06 not below 0.05", runs_group(false), {}, false, Mark::plain, -2.5},
        {"a level equal to the adjusted p is not passed",
         runs_group(false),
         {0.04, Adjustment::holm},
         false,
         Mark::plain,
         -2.5},
        {"with ties the point is z of T, the z as sorted beside it",
         runs_group(true),
         {0.05, Adjustment::holm},
         true,
         Mark::significant,
         -1.5,
         -2.5},
        {"one sample missing",
         one_sample,
         {},
         false,
         Mark::flagged,
         std::nullopt,
         std::nullopt,
         "one sample missing"},
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
    tiny.p = Probability::from_log(-800);  // below what a double holds
    tiny.p_bh = tiny.p;
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
    const std::pair<std::optional<Probability>, const char*> cases[] = {
        {Probability::of(0.05), "0.05000"},
        {Probability::of(1.2345e-5), "1.234e-05"},
        {Probability::from_log(-800), "< 1e-300"},
        {Probability::of(1e-301), "< 1e-300"},
        {Probability::from_log(1e-12), "1.000"},  // a sum of logs a hair above 0
        {std::nullopt, ""},
    };
    for (const auto& [p, text] : cases) {
        EXPECT_EQ(p_text(p), text);
    }
}

}  // namespace
}  // namespace vesk
