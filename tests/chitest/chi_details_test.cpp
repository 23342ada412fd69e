#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>

#include "chitest/chi_test.h"
#include "chitest/class_lines.h"
#include "core/result_details.h"
#include "core/text.h"
#include "support/detail_files.h"

namespace vesk {
namespace {

class Details : public ::testing::Test {
  protected:
    void SetUp() override { testing::make_details_survey(t); }
    testing::TempState t;
};

TEST_F(Details, ChiSquareStatisticsAndDetailFiles) {
    t.state.param_var = "GRP";
    t.state.class_defs = {make_class({{"1", 0, 1, "N"}}), make_class({{"2", 0, 1, "N"}})};
    run_chi_test(t.state);

    const DetailFiles files = write_result_details(t.state, TestKind::chi_square);
    const auto stats = testing::file_lines(files.stats_path);
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
    const QJsonObject provenance = testing::json_object(files.provenance_path);
    EXPECT_EQ(provenance["test"].toString(), "chi-square");
    EXPECT_TRUE(provenance["input"].isNull());  // the data carry no record of their import
    EXPECT_EQ(provenance["classes"].toArray().size(), 2);
    EXPECT_EQ(provenance["classes"][1][0].toString(), "2");
    EXPECT_EQ(provenance["result_file"]["path"].toString().toStdString(),
              t.state.out_file + "_chi.csv");
}

}  // namespace
}  // namespace vesk
