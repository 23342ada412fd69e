#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>
#include <QtTest/QTest>

#include <sstream>

#include "batch/batch_run.h"
#include "core/app_state.h"
#include "forms/chitest_window.h"
#include "forms/runtest_window.h"
#include "load/record_layout.h"
#include "support/recording_user_interface.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

using testing::RecordingUserInterface;
using testing::TempDir;

// Loaded once through vesk-batch; then the windows and vesk-batch each write their result files
// from the same data, which must agree byte for byte.
class BatchAndWindows : public ::testing::Test {
protected:
    void SetUp() override {
        std::string text;
        for (int i = 1; i <= 120; ++i) {
            char line[40];
            std::snprintf(line, sizeof line, "%04d%s%d%d%6.1f%d\n", i, i % 3 ? "07" : "12",
                          i % 2, i % 4 == 0 ? 2 : 1, 20.0 + (i * 53) % 40 / 2.0, 1 + i % 3);
            text += line;
        }
        input = dir.write("survey.txt", text);
        layout = dir.write("layout.csv",
                           "name,start,length,type,key\nHHID,1,4,C,Y\nSTATE,5,2,C,N\n"
                           "SECTOR,7,1,N,N\nSAMPLE,8,1,N,N\nINCOME,9,6,N,N\nGRP,15,1,N,N\n");
        db = dir.file("shared.db");
        ASSERT_EQ(batch({"values", "--db", db, "--layout", layout, "--input", input, "--param",
                         "GRP"}),
                  0);
    }
    int batch(std::vector<std::string> args) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = run_batch(args, out, err);
        EXPECT_EQ(status, 0) << err.str();
        return status;
    }
    // The state the windows find after a load: the layout and the frozen groups.
    AppState window_state(const std::string& out_name) {
        AppState state(Database::open(db));
        state.var_defs = read_var_defs(state.db_conn);
        state.data_loaded = true;
        state.grp_vars = "STATE, SECTOR";
        state.grp_frozen = true;
        state.out_file = dir.file(out_name);
        return state;
    }
    template <typename W>
    static W* control(QWidget* window, const char* name) {
        auto* found = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static void pick(QWidget* window, const char* combo_name, const QString& text) {
        auto* combo = control<QComboBox>(window, combo_name);
        const int index = combo->findText(text);
        ASSERT_GE(index, 0);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    static void click(QWidget* window, const char* name) {
        QTest::mouseClick(control<QAbstractButton>(window, name), Qt::LeftButton);
    }

    TempDir dir;
    std::string input;
    std::string layout;
    std::string db;
    QWidget main_window;
    RecordingUserInterface ui;
};

TEST_F(BatchAndWindows, RunsTestFilesAreIdentical) {
    AppState state = window_state("window");
    auto* window = new RuntestWindow(state, ui, &main_window);
    window->open();
    pick(window, "Combo_ss", "SAMPLE");
    pick(window, "Combo_par", "INCOME");
    click(window, "Cmdproceed");
    delete window;
    ASSERT_EQ(batch({"runtest", "--db", db, "--groups", "STATE,SECTOR", "--sample", "SAMPLE",
                     "--param", "INCOME", "--out", dir.file("batch")}),
              0);
    const std::string from_window = TempDir::read(dir.file("window_run.csv"));
    EXPECT_GT(std::count(from_window.begin(), from_window.end(), '\n'), 2);
    EXPECT_EQ(from_window, TempDir::read(dir.file("batch_run.csv")));
}

TEST_F(BatchAndWindows, ChiSquareFilesAreIdentical) {
    AppState state = window_state("window");
    auto* window = new ChitestWindow(state, ui, &main_window);
    window->open();
    pick(window, "Combo_ss", "SAMPLE");
    pick(window, "Combo_par", "GRP");
    auto* values = control<QListWidget>(window, "listpar");
    ASSERT_EQ(values->count(), 3);
    // Classes: {3}, then {1, 2}: the values' lines are taken top to bottom.
    values->item(2)->setSelected(true);
    click(window, "cmdadd");
    values->item(0)->setSelected(true);
    values->item(1)->setSelected(true);
    click(window, "cmdadd");
    click(window, "cmdclass");
    click(window, "Cmdproceed");
    delete window;
    ASSERT_EQ(batch({"chitest", "--db", db, "--groups", "STATE,SECTOR", "--sample", "SAMPLE",
                     "--param", "GRP", "--class", "3", "--class", "1,2", "--out",
                     dir.file("batch")}),
              0);
    const std::string from_window = TempDir::read(dir.file("window_chi.csv"));
    EXPECT_GT(std::count(from_window.begin(), from_window.end(), '\n'), 2);
    EXPECT_EQ(from_window, TempDir::read(dir.file("batch_chi.csv")));
}

}  // namespace
}  // namespace vesk
