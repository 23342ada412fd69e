#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

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
              "STATE,n,m,chisqval,zero_cells_set_to_1,statistic,df,cramers_v,p_chi_square,"
              "p_monte_carlo,p_monte_carlo_se,p,p_source,cells,expected_below_5,smallest_expected,"
              "p_holm,p_bh,flag,reason");
    // 01: three central records in class 1, two state ones in class 2: X2 = 5 on 1 df, V =
    // sqrt(5 / 5), but expected counts below 1, so the p-value is a Monte Carlo one.
    const std::vector<std::string> first = split(stats[1], ',');
    EXPECT_EQ((std::vector<std::string>{first[1], first[2], first[4], first[5], first[6], first[7],
                                        first[12], first[18]}),
              (std::vector<std::string>{"3", "2", "2", "5", "1", "1", "Monte Carlo (10000 tables)",
                                        "small expected counts"}))
        << stats[1];
    // Of the tables with rows 3, 2 and classes 3, 2 only the group's own is as extreme: exact
    // p = C(3, 3) C(2, 0) / C(5, 3) = 0.1. The standard error sits beside the drawn p.
    const double p = std::stod(first[9]);
    const double standard_error = std::stod(first[10]);
    EXPECT_NEAR(standard_error, std::sqrt(p * (1 - p) / 10000), 1e-12);
    EXPECT_NEAR(p, 0.1, 3 * standard_error);

    // By hand. 01: expected central 3 x 3/5 = 1.8 and 3 x 2/5 = 1.2, state 1.2 and 0.8; in a
    // 2 x 2 table each residual is +-sqrt(X2) = +-sqrt(5). 02: two and one central, one and two
    // state records: expected 1.5 each, residuals +-0.5 / sqrt(1.5 x 0.5 x 0.5) = +-0.8164966.
    // 03: no state sample, so no state share nor residual.
    EXPECT_EQ(files.cells_path, t.state.out_file + "_chi_cells.csv");
    const auto cells = testing::file_lines(files.cells_path);
    const std::vector<std::string> expected = {
        "STATE,class,values,central,central_share,state,state_share,expected_central,"
        "expected_state,residual_central,residual_state,marked",
        "01,1,1,3,1,0,0,1.8,1.2,2.23606797749979,-2.23606797749979,yes",
        "01,2,2,0,0,2,1,1.2,0.8,-2.23606797749979,2.23606797749979,yes",
        "02,1,1,2,0.666666666666667,1,0.333333333333333,1.5,1.5,0.816496580927726,"
        "-0.816496580927726,no",
        "02,2,2,1,0.333333333333333,2,0.666666666666667,1.5,1.5,-0.816496580927726,"
        "0.816496580927726,no",
        "03,1,1,1,0.5,0,,1,0,,,",
        "03,2,2,1,0.5,0,,1,0,,,",
    };
    EXPECT_EQ(cells, expected);
    const QJsonObject provenance = testing::json_object(files.provenance_path);
    EXPECT_EQ(provenance["test"].toString(), "chi-square");
    EXPECT_TRUE(provenance["input"].isNull());  // the data carry no record of their import
    EXPECT_EQ(provenance["classes"].toArray().size(), 2);
    EXPECT_EQ(provenance["classes"][1][0].toString(), "2");
    EXPECT_EQ(provenance["result_file"]["path"].toString().toStdString(),
              t.state.out_file + "_chi.csv");
    EXPECT_EQ(provenance["cells_file"]["sha256"].toString().size(), 64);
}

}  // namespace
}  // namespace vesk
