#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "batch/batch_run.h"
#include "core/app_state.h"
#include "core/variable_table.h"
#include "forms/chitest_window.h"
#include "forms/runtest_window.h"
#include "support/recording_user_interface.h"
#include "support/temp_dir.h"
#include "support/widget_driver.h"

namespace vesk {
namespace {

using testing::TempDir;

// The example data loaded once through vesk-batch; then the windows and vesk-batch each write
// their result files from them, which must agree byte for byte.
class BatchAndWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string examples = VESK_EXAMPLES_DIR;
        batch({"values", "--db", db, "--layout", examples + "/layout.csv", "--input",
               examples + "/survey.txt", "--param", "AGEGRP"});
    }
    void batch(const std::vector<std::string>& args) {
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(run_batch(args, out, err), 0) << err.str();
    }
    // Runs the window's test on the state the windows find after a load (the layout and the
    // frozen groups), then vesk-batch's on the same data; their result files must be the same.
    template <typename Window>
    void expect_same_files(const std::function<void()>& use_window,
                           std::vector<std::string> batch_args, const std::string& suffix) {
        AppState state(Database::open(db));
        state.var_defs = read_var_defs(state.db_conn, LayoutTable::loaded);
        state.data_loaded = state.grp_frozen = true;
        state.grp_vars = "STATE, SECTOR";
        state.out_file = dir.file("window");
        auto* window = new Window(state, ui, &main_window);
        window->open();
        driver.root = window;
        driver.pick("Combo_ss", "SAMPLE");
        use_window();
        driver.click("Cmdproceed");
        delete window;
        batch_args.insert(batch_args.end(), {"--db", db, "--groups", "STATE,SECTOR", "--sample",
                                             "SAMPLE", "--out", dir.file("batch")});
        batch(batch_args);
        const std::string from_window = TempDir::read(dir.file("window") + suffix);
        EXPECT_GT(std::count(from_window.begin(), from_window.end(), '\n'), 2);
        EXPECT_EQ(from_window, TempDir::read(dir.file("batch") + suffix));
    }

    TempDir dir;
    std::string db = dir.file("shared.db");
    QWidget main_window;
    testing::RecordingUserInterface ui;
    testing::WidgetDriver driver;
};

TEST_F(BatchAndWindows, RunsTestFilesAreIdentical) {
    expect_same_files<RuntestWindow>([&] { driver.pick("Combo_par", "AMOUNT"); },
                                     {"runtest", "--param", "AMOUNT"}, "_run.csv");
}

TEST_F(BatchAndWindows, ChiSquareFilesAreIdentical) {
    expect_same_files<ChitestWindow>(
        [&] {
            driver.pick("Combo_par", "AGEGRP");
            // Classes: {3}, then {1, 2}, then {4, 5}: the values' lines are taken top to bottom.
            auto* values = driver.control<QListWidget>("listpar");
            ASSERT_EQ(values->count(), 5);
            for (const std::vector<int>& rows : {std::vector<int>{2}, {0, 1}, {0, 1}}) {
                testing::select_rows(values, rows);
                driver.click("cmdadd");
            }
            driver.click("cmdclass");
        },
        {"chitest", "--param", "AGEGRP", "--class", "3", "--class", "1,2", "--class", "4,5"},
        "_chi.csv");
}

}  // namespace
}  // namespace vesk
