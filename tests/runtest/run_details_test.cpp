#include <gtest/gtest.h>

#include <QJsonObject>

#include "core/load_provenance.h"
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
              "STATE,n,m,runs,z,p_normal,p_exact,tied_values,fewest_runs,z_fewest,p_fewest,"
              "most_runs,z_most,p_most,p,p_source,p_holm,p_bh,flag,reason");
    EXPECT_TRUE(stats[1].starts_with("01,3,2,3,")) << stats[1];
    EXPECT_EQ(split(stats[1], ',')[14], "0.5");  // 5 of the 10 orders have at most 3 runs
    EXPECT_EQ(split(stats[1], ',')[15], "exact");
    // 02: the tie at 5 holds both kinds: judged at the most runs.
    EXPECT_EQ(split(stats[2], ',')[15], "exact at the most runs over ties");
    // 02 at its most runs, 1 2 1 2 2 1: 18 of the 20 orders of three and three have at most 5
    // runs, p = 0.9. Over 0.5 and 0.9, Holm gives 2 * 0.5 = 1 to both, BH min(0.9, 2 * 0.5).
    for (const std::string& line : {stats[1], stats[2]}) {
        const std::vector<std::string> fields = split(line, ',');
        EXPECT_EQ((std::vector<std::string>{fields[16], fields[17]}),
                  (std::vector<std::string>{"1", "0.9"}))
            << line;
    }
    EXPECT_EQ(stats[3], "03,2,0,1,,,,0,1,,,1,,,,,,,one sample missing,no state records");

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

}  // namespace
}  // namespace vesk
