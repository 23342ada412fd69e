#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "batch/batch_run.h"
#include "core/text.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

using testing::TempDir;

// The class cells of the example data's chi-square test, one group worked out by hand from
// examples/survey.txt, not from the program's own files.
TEST(ExampleCells, OneGroupByHand) {
    TempDir dir;
    std::vector<std::string> args = {
        "chitest", "--groups", "STATE,SECTOR", "--sample", "SAMPLE",  "--param", "AGEGRP",
        "--class", "1",        "--class",      "2",        "--class", "3",       "--class",
        "4,5"};
    args.insert(args.end(),
                {"--db", dir.file("example.db"), "--out", dir.file("example"), "--details",
                 "--layout", std::string(VESK_EXAMPLES_DIR) + "/layout.csv", "--input",
                 std::string(VESK_EXAMPLES_DIR) + "/survey.txt"});
    std::ostringstream output;
    std::ostringstream errors;
    ASSERT_EQ(run_batch(args, output, errors), 0) << errors.str();
    const std::string cells = TempDir::read(dir.file("example") + "_chi_cells.csv");
    EXPECT_EQ(std::count(cells.begin(), cells.end(), '\n'), 17);  // the header, 4 x 4 classes

    // Group 19 / 1 of the result file: 125, 139, 127, 224 central (n = 615) and 182, 175, 140,
    // 210 state records (m = 707) in classes of 307, 314, 267 and 434 of N = 1322. By hand:
    // class 4 expects 615 x 434 / 1322 = 201.898638 central records, and its residual is
    // (224 - 201.898638) / sqrt(201.898638 x (707 / 1322) x (888 / 1322)) = 2.595181.
    struct Class {
        const char* values;
        double central_share, state_share, expected_central, expected_state, residual;
        const char* marked;
    };
    const Class by_hand[] = {
        {"1", 0.2032520, 0.2574257, 142.817700, 164.182300, -2.326748, "yes"},
        {"2", 0.2260163, 0.2475248, 146.074130, 167.925870, -0.916596, "no"},
        {"3", 0.2065041, 0.1980198, 124.209531, 142.790469, 0.383262, "no"},
        {"4,5", 0.3642276, 0.2970297, 201.898638, 232.101362, 2.595181, "yes"},
    };
    std::vector<std::vector<std::string>> group;
    for (const std::string& line : split(cells, '\n')) {
        if (line.starts_with("19,1,")) {
            // The class values "4,5" are quoted: read the fields after them from the end.
            group.push_back(split(line, ','));
        }
    }
    ASSERT_EQ(group.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        const std::vector<std::string>& f = group[k];
        const std::size_t end = f.size();
        const Class& want = by_hand[k];
        EXPECT_EQ(f[2], std::to_string(k + 1));
        EXPECT_EQ(f[3], k < 3 ? want.values : "\"4");
        EXPECT_NEAR(std::stod(f[end - 8]), want.central_share, 1e-7) << k;
        EXPECT_NEAR(std::stod(f[end - 6]), want.state_share, 1e-7) << k;
        EXPECT_NEAR(std::stod(f[end - 5]), want.expected_central, 1e-6) << k;
        EXPECT_NEAR(std::stod(f[end - 4]), want.expected_state, 1e-6) << k;
        EXPECT_NEAR(std::stod(f[end - 3]), want.residual, 1e-6) << k;
        EXPECT_NEAR(std::stod(f[end - 2]), -want.residual, 1e-6) << k;
        EXPECT_EQ(f[end - 1], want.marked) << k;
    }
    EXPECT_NE(cells.find("19,1,4,\"4,5\",224,"), std::string::npos);
    // V = sqrt(X2 / N) = sqrt(9.438311 / 1322).
    const std::string stats = TempDir::read(dir.file("example") + "_chi_stats.csv");
    const std::vector<std::string> header = split(split(stats, '\n')[0], ',');
    const std::vector<std::string> line = split(split(stats, '\n')[3], ',');
    const auto v = std::find(header.begin(), header.end(), "cramers_v") - header.begin();
    EXPECT_EQ(line[0] + "," + line[1], "19,1");
    EXPECT_NEAR(std::stod(line[v]), 0.0844951, 1e-7);
}

}  // namespace
}  // namespace vesk
