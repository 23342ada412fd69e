#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "chitest/chi_test.h"
#include "chitest/class_lines.h"
#include "core/load_provenance.h"
#include "core/result_details.h"
#include "core/sha256.h"
#include "core/text.h"
#include "runtest/run_calc.h"
#include "runtest/run_report.h"
#include "support/data_table.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

// Groups of STATE with SAMPLE (1 central, 2 state) ranked by INCOME.
class Details : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::make_data(t.state, {{"STATE", 1, 2, "C", "Y"},
                                     {"SAMPLE", 3, 1, "N", "N"},
                                     {"INCOME", 4, 5, "N", "N"},
                                     {"GRP", 9, 1, "N", "N"}});
        // 01: the group 1,1,2,2,1. 02: ties at 5 (both kinds) and 7 (state only). 03: central
        // records only.
        testing::add_rows(t.state,
                          "('01', 1, 10, 1), ('01', 1, 20, 1), ('01', 2, 30, 2), ('01', 2, 40, 2), "
                          "('01', 1, 50, 1), ('02', 1, 5, 1), ('02', 2, 5, 2), ('02', 1, 5, 1), "
                          "('02', 2, 7, 2), ('02', 2, 7, 1), ('02', 1, 9, 2), ('03', 1, 1, 1), "
                          "('03', 1, 2, 2)");
        t.state.grp_vars = "STATE";
        t.state.sample_var = "SAMPLE";
        t.state.param_var = "INCOME";
        t.state.out_file = t.dir.file("round");
    }
    // The lines of a file, without the line end of the last.
    static std::vector<std::string> lines(const std::string& path) {
        std::string text = testing::TempDir::read(path);
        text.pop_back();
        return split(text, '\n');
    }
    static QJsonObject json(const std::string& path) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(
            QByteArray::fromStdString(testing::TempDir::read(path)), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        return document.object();
    }
    testing::TempState t;
};

TEST_F(Details, RunsDetailFilesParseBackAndNameTheResult) {
    // The input's path, size, digest, filter and layout are read back by the batch test.
    LoadProvenance load;
    load.first_rejected = {"line 1: blank line"};
    store_load_provenance(t.state.db_conn, load);
    run_calc(t.state);
    const ResultFile result = run_report(t.state);
    const DetailFiles files = write_result_details(t.state, TestKind::runs);
    EXPECT_EQ(files.stats_path, t.state.out_file + "_run_stats.csv");
    EXPECT_EQ(files.provenance_path, t.state.out_file + "_run.provenance.json");

    const auto stats = lines(files.stats_path);
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

    const QJsonObject provenance = json(files.provenance_path);
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

TEST_F(Details, ChiSquareStatisticsAndDetailFiles) {
    t.state.param_var = "GRP";
    t.state.class_defs = {make_class({{"1", 0, 1, "N"}}), make_class({{"2", 0, 1, "N"}})};
    run_chi_test(t.state);

    const DetailFiles files = write_result_details(t.state, TestKind::chi_square);
    const auto stats = lines(files.stats_path);
    ASSERT_EQ(stats.size(), 4u);
    EXPECT_EQ(stats[0],
              "STATE,n,m,chisqval,zero_cells_set_to_1,statistic,df,p_chi_square,p_monte_carlo,p,"
              "p_source,cells,expected_below_5,smallest_expected,p_holm,p_bh,flag,reason");
    // 01: three central records in class 1, two state ones in class 2: X2 = 5 on 1 df, but
    // expected counts below 1, so the p-value is a Monte Carlo one.
    const std::vector<std::string> first = split(stats[1], ',');
    EXPECT_EQ((std::vector<std::string>{first[1], first[2], first[4], first[5], first[6], first[10],
                                        first[16]}),
              (std::vector<std::string>{"3", "2", "2", "5", "1", "Monte Carlo (10000 tables)",
                                        "small expected counts"}))
        << stats[1];
    const QJsonObject provenance = json(files.provenance_path);
    EXPECT_EQ(provenance["test"].toString(), "chi-square");
    EXPECT_TRUE(provenance["input"].isNull());  // the data carry no record of their import
    EXPECT_EQ(provenance["classes"].toArray().size(), 2);
    EXPECT_EQ(provenance["classes"][1][0].toString(), "2");
    EXPECT_EQ(provenance["result_file"]["path"].toString().toStdString(),
              t.state.out_file + "_chi.csv");
}

}  // namespace
}  // namespace vesk
