#include <gtest/gtest.h>

#include <cmath>

#include "chitest/chi_statistics.h"
#include "chitest/class_cells.h"

namespace vesk {
namespace {

// A worked 2 x 3 table, by hand. Central 18, 16, 6 (n = 40), state 12, 34, 14 (m = 60), classes
// of 30, 50 and 20 of N = 100 records. Expected central 12, 20, 8 and state 18, 30, 12, so
// X2 = 36/12 + 16/20 + 4/8 + 36/18 + 16/30 + 4/12 = 43/6 and V = sqrt(43/600) = 0.2677063.
// Residuals (O - E) / sqrt(E (1 - 0.4)(1 - class/100)): 6/sqrt(5.04) = 2.6726124,
// -4/sqrt(6) = -1.6329932, -2/sqrt(3.84) = -1.0206207.
struct WorkedCell {
    std::int64_t central, state;
    double central_share, state_share, expected_central, expected_state, residual;
    bool marked;
};
const WorkedCell worked[] = {
    {18, 12, 0.45, 0.2, 12, 18, 2.6726124, true},
    {16, 34, 0.40, 0.5666667, 20, 30, -1.6329932, false},
    {6, 14, 0.15, 0.2333333, 8, 12, -1.0206207, false},
};

void expect_worked(const ChiClassCell& cell, const WorkedCell& want, const std::string& what) {
    EXPECT_EQ(cell.central, want.central) << what;
    EXPECT_EQ(cell.state, want.state) << what;
    EXPECT_NEAR(cell.central_share, want.central_share, 1e-7) << what;
    EXPECT_NEAR(cell.state_share, want.state_share, 1e-7) << what;
    EXPECT_NEAR(cell.expected_central, want.expected_central, 1e-12) << what;
    EXPECT_NEAR(cell.expected_state, want.expected_state, 1e-12) << what;
    EXPECT_NEAR(cell.residual, want.residual, 1e-7) << what;
    EXPECT_EQ(cell.marked, want.marked) << what;
}

TEST(ClassCells, WorkedTableByHand) {
    const std::vector<ChiClassCell> cells = class_cells({18, 16, 6}, {12, 34, 14});
    ASSERT_EQ(cells.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        expect_worked(cells[k], worked[k], "class " + std::to_string(k + 1));
    }
}

TEST(ClassCells, GroupStatisticsCarryTheCellsAndCramersV) {
    // The same table with a class between that holds no record of the group: the statistic, V
    // and the other cells are those of the 2 x 3 table.
    const ChiGroupStats group = chi_group_stats({"07"}, 0, 3, {18, 0, 16, 6}, {12, 0, 34, 14});
    EXPECT_NEAR(group.statistic, 43.0 / 6, 1e-12);
    EXPECT_EQ(group.df, 2);
    EXPECT_NEAR(group.cramers_v, 0.2677063, 1e-7);
    ASSERT_EQ(group.classes.size(), 4u);
    expect_worked(group.classes[0], worked[0], "class 1");
    expect_worked(group.classes[2], worked[1], "class 3");
    expect_worked(group.classes[3], worked[2], "class 4");
    const ChiClassCell& empty = group.classes[1];
    EXPECT_EQ(empty.central_share, 0);
    EXPECT_EQ(empty.expected_state, 0);
    EXPECT_TRUE(std::isnan(empty.residual));
    EXPECT_FALSE(empty.marked);
}

TEST(ClassCells, NothingToCompareHasNoResidualNorV) {
    struct Case {
        const char* what;
        std::vector<double> central;
        std::vector<double> state;
    };
    const Case cases[] = {
        {"no state records", {5, 3}, {0, 0}},
        {"no central records", {0, 0}, {2, 7}},
        {"one class holds every record", {5, 0}, {4, 0}},
    };
    for (const Case& c : cases) {
        const ChiGroupStats group = chi_group_stats({"g"}, 0, 1, c.central, c.state);
        EXPECT_TRUE(std::isnan(group.cramers_v)) << c.what;
        for (const ChiClassCell& cell : group.classes) {
            EXPECT_TRUE(std::isnan(cell.residual)) << c.what;
            EXPECT_FALSE(cell.marked) << c.what;
        }
    }
    // The sample that is there keeps its shares.
    const std::vector<ChiClassCell> half = class_cells({5, 3}, {0, 0});
    EXPECT_NEAR(half[0].central_share, 0.625, 1e-12);
    EXPECT_TRUE(std::isnan(half[0].state_share));
}

TEST(ClassCells, MarkedFromAResidualOfTwoEitherWay) {
    // Equal samples of 50 over two classes of 50: residual (O - 25) / sqrt(25 / 4) = (O - 25)
    // / 2.5, so 30 central records in class 1 give exactly 2, 29 give 1.6; class 2 the negatives.
    struct Case {
        double central_first;
        double residual;
        bool marked;
    };
    const Case cases[] = {{30, 2, true}, {29, 1.6, false}, {20, -2, true}, {21, -1.6, false}};
    for (const Case& c : cases) {
        const std::vector<ChiClassCell> cells = class_cells(
            {c.central_first, 50 - c.central_first}, {50 - c.central_first, c.central_first});
        EXPECT_NEAR(cells[0].residual, c.residual, 1e-12) << c.central_first;
        EXPECT_EQ(cells[0].marked, c.marked) << c.central_first;
        EXPECT_EQ(cells[1].marked, c.marked) << c.central_first;
    }
}

TEST(CramersV, ReadInCohensSteps) {
    const std::pair<double, const char*> cases[] = {
        {0.01, "negligible"}, {0.0999, "negligible"}, {0.1, "small"}, {0.2999, "small"},
        {0.3, "medium"},      {0.4999, "medium"},     {0.5, "large"}, {NAN, ""},
    };
    for (const auto& [v, words] : cases) {
        EXPECT_EQ(effect_size_words(v), words) << v;
    }
    // 40,000 records with a statistic of 4 (significant at 5% on one df): V = 0.01.
    EXPECT_NEAR(cramers_v(4, 40000, 2), 0.01, 1e-15);
}

}  // namespace
}  // namespace vesk
