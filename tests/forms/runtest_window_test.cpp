#include <gtest/gtest.h>

#include "forms/runtest_window.h"
#include "support/data_table.h"
#include "support/window_harness.h"

namespace vesk {
namespace {

using testing::alert;
using testing::TempDir;

const QString refusal = QStringLiteral("Either sample or parameter to be tested not defined");

class RuntestWindowTest : public testing::SecondaryWindowHarness<RuntestWindow> {
  protected:
    void SetUp() override {
        testing::make_data(
            t.state,
            {{"STATE", 1, 2, "C", "Y"}, {"SAMPLE", 3, 1, "N", "N"}, {"INCOME", 4, 5, "N", "N"}});
        testing::add_rows(t.state, "('01', 1, 10), ('01', 2, 20), ('01', 1, 30)");
        t.state.grp_vars = "STATE";
        t.state.out_file = t.dir.file("survey");
    }
};

TEST_F(RuntestWindowTest, ProceedRefusesUntilBothListsArePickedInThisWindowThenRunsOrTellsWhy) {
    // Picks made elsewhere (the class window) do not count here.
    t.state.sample_var = "SAMPLE";
    t.state.param_var = "INCOME";
    t.state.sample_set = t.state.param_set = true;
    open_window();
    for (const char* combo : {"Combo_ss", "Combo_par"}) {
        EXPECT_EQ(control<QComboBox>(combo)->currentIndex(), -1);
        EXPECT_EQ(control<QComboBox>(combo)->itemText(2), "INCOME");
    }
    click("Cmdproceed");
    EXPECT_EQ(ui.events, alert(refusal));

    ui.clear();
    pick("Combo_ss", "SAMPLE");
    click("Cmdproceed");
    EXPECT_EQ(ui.events, alert(refusal));

    ui.clear();
    pick("Combo_par", "INCOME");
    click("Cmdproceed");
    EXPECT_EQ(ui.messages(), QStringList{"Generated Test result in file: " +
                                         QString::fromStdString(t.dir.file("survey_run.csv"))});
    EXPECT_EQ(TempDir::read(t.dir.file("survey_run.csv")),
              "STATE,cent_run,state_run,total_run,n,m,erun,vrun,zvalue\n"
              "01,2,1,3,2,1,2.33333333333333,0.222222222222222,1.4142135623731\n");

    // No rows: no message. A failure is shown and the cursor restored.
    ui.clear();
    t.state.db_conn.execute("delete from data");
    click("Cmdproceed");
    EXPECT_TRUE(ui.events.isEmpty()) << ui.events.join('|').toStdString();
    EXPECT_EQ(TempDir::read(t.dir.file("survey_run.csv")), "");
    t.state.db_conn.execute("drop table data");
    click("Cmdproceed");
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains("cannot read the data"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Exit, then a fresh window: the flags start false again, the names stay.
    click("Cmdexit");
    testing::flush_deletes();
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(main_window.isVisible());
    ui.clear();
    open_window();
    click("Cmdproceed");
    EXPECT_EQ(ui.events, alert(refusal));
    EXPECT_EQ(t.state.sample_var, "SAMPLE");
}

// STATE reads 01 in every record: no group has a central sample. One message says why, with
// the rule, before the file it explains.
TEST_F(RuntestWindowTest, ASampleVariableThatNeverReadsOneIsToldOnceWithTheRule) {
    open_window();
    pick("Combo_ss", "STATE");
    pick("Combo_par", "INCOME");
    click("Cmdproceed");
    EXPECT_EQ(
        ui.messages(),
        QStringList{"No record of the sample variable STATE reads 1, so every group lacks its "
                    "central sample and has no p-value. The rule is central = the value 1: "
                    "a record whose STATE reads exactly 1 is central, any other value is "
                    "state. Its values here: 01.\nGenerated Test result in file: " +
                    QString::fromStdString(t.dir.file("survey_run.csv"))});
}

}  // namespace
}  // namespace vesk
