#include <gtest/gtest.h>

#include <QJsonObject>

#include <algorithm>
#include <cmath>

#include "core/load_provenance.h"
#include "core/number_text.h"
#include "core/result_details.h"
#include "core/sha256.h"
#include "core/text.h"
#include "runtest/runs_test.h"
#include "support/detail_files.h"

namespace vesk {
namespace {

class Details : public ::testing::Test {
  protected:
    void SetUp() override { testing::make_details_survey(t); }
    testing::TempState t;
};

TEST_F(Details, RunsDetailFilesParseBackAndNameTheResult) {
    // The input's path, size, digest, filter and layout are read back by the batch test.
    LoadProvenance load;
    load.first_rejected = {"line 1: blank line"};
    store_load_provenance(t.state.db_conn, load);
    const ResultFile result = run_runs_test(t.state);
    const DetailFiles files = write_result_details(t.state, TestKind::runs);
    EXPECT_EQ(files.stats_path, t.state.out_file + "_run_stats.csv");
    EXPECT_EQ(files.provenance_path, t.state.out_file + "_run.provenance.json");

    const auto stats = testing::file_lines(files.stats_path);
    ASSERT_EQ(stats.size(), 4u);
    EXPECT_EQ(stats[0],
              "STATE,n,m,runs_as_sorted,z_as_sorted,p_normal_as_sorted,p_exact_as_sorted,blocks,"
              "tied_values,fewest_runs,most_runs,T,expected_runs,sd_T,z_T,p,p_source,"
              "p_monte_carlo_se,p_holm,p_bh,missing_runs_share,flag,reason");
    const auto fields = [&](std::size_t line, std::vector<std::string> names) {
        const std::vector<std::string> header = split(stats[0], ',');
        const std::vector<std::string> values = split(stats[line], ',');
        for (std::string& name : names) {
            const auto at = std::find(header.begin(), header.end(), name) - header.begin();
            name = values.at(static_cast<std::size_t>(at));
        }
        return names;
    };
    using Texts = std::vector<std::string>;
    const Texts columns = {"runs_as_sorted", "T",    "expected_runs",      "p",   "p_source",
                           "p_holm",         "p_bh", "missing_runs_share", "flag"};
    // 01, C C S S C without ties: T is the 3 runs of E = 1 + 2 * 6 / 5 = 3.4, missing 0.4 / 3.4;
    // 5 of the 10 orders have at most 3 runs. 02, blocks (2, 1) (0, 2) (1, 0): sorted C C S S S C,
    // 3 runs; T = 1 + 4/3 + 4/6 + 1 = 4 = E; of the C(6, 3) = 20 relabellings 8 have T <= 4. Over
    // 0.5 and 0.4, Holm gives 2 * 0.4 = 0.8 to both, BH min(0.8, 0.5) = 0.5 to both.
    EXPECT_EQ(fields(1, columns),
              (Texts{"3", "3", "3.4", "0.5", "exact", "0.8", "0.5", "0.117647058823529", ""}));
    EXPECT_EQ(fields(2, columns),
              (Texts{"3", "4", "4", "0.4", "exact over ties", "0.8", "0.5", "0", ""}));
    // Var T = 7/15 by enumeration of the 20 relabellings.
    EXPECT_EQ(fields(2, {"sd_T"}), Texts{general_form(std::sqrt(7.0 / 15))});
    EXPECT_EQ(fields(3, {"p", "p_source", "missing_runs_share", "flag", "reason"}),
              (Texts{"", "", "", "one sample missing", "no state records"}));

    const QJsonObject provenance = testing::json_object(files.provenance_path);
    EXPECT_EQ(provenance["test"].toString(), "runs");
    EXPECT_EQ(provenance["database"].toString().toStdString(), t.state.db_conn.path());
    EXPECT_TRUE(provenance["input"]["modified"].isNull());
    EXPECT_EQ(provenance["load"]["first_rejected"][0].toString(), "line 1: blank line");
    EXPECT_EQ(provenance["group_variables"][0].toString(), "STATE");
    EXPECT_EQ(provenance["parameter_variable"].toString(), "INCOME");
    EXPECT_EQ(provenance["result_file"]["path"].toString().toStdString(), result.path);
    EXPECT_EQ(provenance["result_file"]["sha256"].toString().toStdString(),
              sha256_of_file(result.path));
    EXPECT_EQ(provenance["statistics_file"]["sha256"].toString().toStdString(),
              sha256_of_file(files.stats_path));
    EXPECT_FALSE(provenance.contains("classes"));
}

TEST_F(Details, PValuesBelowTheDoubleRangeAreWrittenWithTheirExponent) {
    // 600 central records below 600 state ones: 2 of the C(1200, 600) orders have 2 runs, so
    // p = 5.044013e-360 (mpmath: 2 / binomial(1200, 600)). One group: its adjusted p-values are
    // its own.
    t.state.db_conn.execute("delete from data");
    testing::add_rows(t.state, "('01', 1, 1, 1)", 600);
    testing::add_rows(t.state, "('01', 2, 2, 1)", 600);
    run_runs_test(t.state);
    ASSERT_EQ(t.state.run_stats.size(), 1u);
    const RunGroupStats& group = t.state.run_stats[0];
    // Two values, each held by one sample: T = 2, found exactly over the 601 block counts.
    EXPECT_EQ(group.p_source, "exact over ties");
    EXPECT_NEAR(group.p->log(), std::log(5.044013478702454) - 360 * std::log(10.0), 1e-8);
    EXPECT_EQ(p_text(group.p), "< 1e-300");
    const auto stats =
        testing::file_lines(write_result_details(t.state, TestKind::runs).stats_path);
    const std::vector<std::string> values = split(stats[1], ',');
    EXPECT_EQ((std::vector<std::string>{values[15], values[18], values[19]}),
              (std::vector<std::string>{"5.04401e-360", "5.04401e-360", "5.04401e-360"}))
        << stats[1];
}

TEST_F(Details, MonteCarloGroupsDrawTheirOwnNumbersAndTwoRunsWriteTheSameFiles) {
    // Two groups of the same records, seven values of seven records, 24 central: 134,512
    // block-count vectors, past the enumeration, so their p-values are drawn.
    t.state.db_conn.execute("delete from data");
    for (const char* state : {"'04'", "'05'"}) {
        for (int value = 1; value <= 7; ++value) {
            const int central = std::vector<int>{6, 5, 4, 3, 3, 2, 1}[value - 1];
            const std::string row = std::string("(") + state + ", ";
            testing::add_rows(t.state, row + "1, " + std::to_string(value) + ", 1)", central);
            testing::add_rows(t.state, row + "2, " + std::to_string(value) + ", 1)", 7 - central);
        }
    }
    std::vector<std::string> files;
    for (int round = 0; round < 2; ++round) {
        run_runs_test(t.state);
        files.push_back(
            testing::TempDir::read(write_result_details(t.state, TestKind::runs).stats_path));
    }
    EXPECT_EQ(files[0], files[1]);
    ASSERT_EQ(t.state.run_stats.size(), 2u);
    const RunGroupStats& first = t.state.run_stats[0];
    const RunGroupStats& second = t.state.run_stats[1];
    EXPECT_EQ(first.p_source, "Monte Carlo over ties (10000)");
    ASSERT_TRUE(first.p_standard_error.has_value());
    EXPECT_NEAR(*first.p_standard_error,
                std::sqrt(first.p->value() * (1 - first.p->value()) / 10000), 1e-12);
    // Exact: 0.0842843592266487 (enumerated in rational arithmetic).
    EXPECT_NEAR(first.p->value(), 0.0842843592266487, 3 * *first.p_standard_error);
    EXPECT_NE(first.p, second.p);  // each group its own draws
}

}  // namespace
}  // namespace vesk
