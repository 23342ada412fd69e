#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QPointer>

#include <sqlite3.h>

#include "forms/chitest_window.h"
#include "support/data_table.h"
#include "support/window_harness.h"

namespace vesk {
namespace {

using testing::alert;

QString blanks(int n) {
    return QString(n, QLatin1Char(' '));
}

class ChitestWindowTest : public testing::SecondaryWindowHarness<ChitestWindow> {
  protected:
    // Numeric P: 1 (5 records), 2 (7), 3 (1); character CODE: "AB " (6) and "O'H" (7).
    void SetUp() override {
        testing::make_data(t.state, {{"STATE", 1, 2, "C", "N"},
                                     {"SECTOR", 3, 1, "N", "N"},
                                     {"SAMPLE", 4, 1, "N", "N"},
                                     {"P", 5, 1, "N", "N"},
                                     {"CODE", 6, 3, "C", "N"}});
        testing::add_rows(t.state, "('01', 1, 1, 1, 'AB ')", 5);
        testing::add_rows(t.state, "('01', 1, 2, 2, 'O''H')", 7);
        testing::add_rows(t.state, "('02', 1, 2, 3, 'AB ')");
        t.state.grp_vars = "STATE, SECTOR";
        t.state.out_file = t.dir.file("survey");
    }

    QListWidget* list(const char* name) { return control<QListWidget>(name); }
    QStringList lines(const char* name) { return testing::lines_of(list(name)); }
    // Selects the lines of listpar at the given rows and presses Add.
    void add_class(const std::vector<int>& rows) {
        testing::select_rows(list("listpar"), rows);
        click("cmdadd");
    }
    void select_class(int row) { list("Listclass")->setCurrentRow(row); }
};

TEST_F(ChitestWindowTest, ValuesAreListedFormClassesComeBackWhenRemovedAndGoWithANewParameter) {
    open_window();
    // The lines' columns line up only in a font of one width.
    for (const char* name : {"listpar", "Listclass", "lblistpar", "lblistclass"}) {
        const QFontMetrics metrics(control<QWidget>(name)->font());
        EXPECT_EQ(metrics.horizontalAdvance("iiii"), metrics.horizontalAdvance("####")) << name;
    }
    // Before a parameter is picked the captions say what to do and head an empty list.
    const QString class_heading = "No.  Class values  Total Frequency";
    EXPECT_EQ(control<QLabel>("lblistpar")->text(), "Pick the test parameter to list its values");
    EXPECT_EQ(control<QLabel>("lblistclass")->text(), class_heading);
    pick("Combo_par", "P");
    EXPECT_TRUE(t.state.param_set);
    EXPECT_EQ(control<QLabel>("lblistpar")->text(), "P" + blanks(10) + "Total Frequency");
    EXPECT_EQ(control<QLabel>("lblistclass")->text(), class_heading);
    const QStringList listed = {"1" + blanks(10) + "#        5", "2" + blanks(10) + "#        7",
                                "3" + blanks(10) + "#        1"};
    EXPECT_EQ(lines("listpar"), listed);

    add_class({0, 2});
    add_class({0});
    // Numbered, the "#" under "Total Frequency".
    EXPECT_EQ(lines("Listclass"),
              (QStringList{"  1  1,3           #        6", "  2  2             #        7"}));
    EXPECT_TRUE(lines("listpar").isEmpty());
    click("cmdadd");  // nothing selected: nothing happens
    EXPECT_EQ(lines("Listclass").size(), 2);

    select_class(0);
    click("Cmdremove");
    EXPECT_EQ(lines("Listclass"), QStringList{"  1  2             #        7"});  // numbered anew
    EXPECT_EQ(lines("listpar"), (QStringList{listed[0], listed[2]}));
    select_class(0);
    click("Cmdremove");
    EXPECT_EQ(lines("listpar"), listed);
    EXPECT_TRUE(ui.events.isEmpty());

    // Picking a parameter again discards the classes. Character values keep trailing blanks, and
    // quotes inside their quotes.
    add_class({1});
    pick("Combo_par", "CODE");
    EXPECT_TRUE(lines("Listclass").isEmpty());
    EXPECT_EQ(lines("listpar"),
              (QStringList{"AB " + blanks(10) + "#        6", "O'H" + blanks(10) + "#        7"}));
    add_class({1});
    add_class({0});
    EXPECT_EQ(lines("Listclass"),
              (QStringList{"  1  'O'H'         #        7", "  2  'AB '         #        6"}));
    click("cmdclass");
    ASSERT_EQ(t.state.class_count(), 2);
    EXPECT_EQ(t.state.class_defs[0].members, std::vector<std::string>{"O'H"});
    EXPECT_EQ(t.state.class_defs[1].members, std::vector<std::string>{"AB "});
}

TEST_F(ChitestWindowTest, FreezeNeedsEveryValueClassedAndNumbersTheClassesInTheirOrder) {
    open_window();
    click("cmdclass");
    EXPECT_EQ(ui.events, alert("No Classes are formed"));
    pick("Combo_par", "P");
    add_class({0});
    ui.clear();
    click("cmdclass");
    EXPECT_EQ(ui.events, alert("Some parameter values are not classified"));
    EXPECT_FALSE(t.state.class_frozen);

    add_class({0});
    add_class({0});
    select_class(2);
    click("Picture1");  // value 3 moves up, twice, and stays selected
    click("Picture1");
    click("Picture2");
    // The numbers stay with the places, the classes move.
    EXPECT_EQ(lines("Listclass"),
              (QStringList{"  1  1             #        5", "  2  3             #        1",
                           "  3  2             #        7"}));
    EXPECT_EQ(list("Listclass")->currentRow(), 1);
    ui.clear();
    click("cmdclass");
    EXPECT_TRUE(ui.events.isEmpty());
    EXPECT_TRUE(t.state.class_frozen);
    ASSERT_EQ(t.state.class_count(), 3);
    EXPECT_EQ(t.state.class_defs[1].values, "3");
    const char* frozen_controls[] = {"listpar",  "Listclass", "Picture1", "Picture2",
                                     "Combo_ss", "Combo_par", "cmdadd",   "Cmdremove"};
    for (const char* name : frozen_controls) {
        EXPECT_FALSE(control<QWidget>(name)->isEnabled()) << name;
    }

    click("cmdclass");  // unfreezing empties the classes
    EXPECT_FALSE(t.state.class_frozen);
    EXPECT_EQ(t.state.class_count(), 0);
    for (const char* name : frozen_controls) {
        EXPECT_TRUE(control<QWidget>(name)->isEnabled()) << name;
    }
}

TEST_F(ChitestWindowTest, SuggestFillsTheClassListWithLinesLikeHandMadeOnes) {
    open_window();
    pick("Combo_par", "P");
    click("cmdsuggest");
    EXPECT_EQ(ui.events, alert("Either sample or Parameter class not defined"));
    pick("Combo_ss", "SAMPLE");
    control<QLineEdit>("txtexpected")->setText("0");
    ui.clear();
    click("cmdsuggest");
    EXPECT_EQ(ui.events, alert("The smallest expected count must be a number above 0"));

    // Group 01, 1 holds 5 central and 7 state records: a class expects 2 of each from 4.8 records.
    // Classes already formed are replaced only on Yes.
    add_class({1});
    control<QLineEdit>("txtexpected")->setText("2");
    const QStringList question = {"question: Replace the class formed with the suggested classes?"};
    const QStringList formed = lines("Listclass");
    ui.clear();
    ui.answers = {false};
    click("cmdsuggest");
    EXPECT_EQ(ui.events, question);
    EXPECT_EQ(lines("Listclass"), formed);
    EXPECT_EQ(lines("listpar").size(), 2);
    ui.clear();
    click("cmdsuggest");
    EXPECT_EQ(ui.events, question);
    EXPECT_TRUE(lines("listpar").isEmpty());
    const QStringList suggested = lines("Listclass");
    select_class(1);
    click("Cmdremove");
    select_class(0);
    click("Cmdremove");
    add_class({0});
    add_class({0, 1});
    EXPECT_EQ(lines("Listclass"), suggested);
    EXPECT_EQ(suggested,
              (QStringList{"  1  1             #        5", "  2  2,3           #        8"}));

    // With the engine's column limit at 10 the tables of two group variables hold (10 - 7) / 3 = 1
    // class: the two that meet the count are joined.
    const int columns = sqlite3_limit(t.state.db_conn.handle(), SQLITE_LIMIT_COLUMN, 10);
    ui.clear();
    click("cmdsuggest");
    EXPECT_EQ(lines("Listclass"), QStringList{"  1  1,2,3         #       13"});
    EXPECT_EQ(ui.messages(),
              QStringList{"2 classes meet the smallest expected count, but a test "
                          "takes at most 1: neighbouring classes are joined into 1."});
    sqlite3_limit(t.state.db_conn.handle(), SQLITE_LIMIT_COLUMN, columns);
    ui.clear();

    control<QLineEdit>("txtexpected")->setText("6");
    click("cmdsuggest");
    EXPECT_EQ(lines("Listclass"), QStringList{"  1  1,2,3         #       13"});
    EXPECT_EQ(ui.messages(), QStringList{"Left out of the suggestion:\ngroup 01, 1 is left out: 5 "
                                         "central and 7 state records cannot expect 6 of each "
                                         "sample"});
    click("cmdclass");
    EXPECT_TRUE(t.state.class_frozen);
    EXPECT_FALSE(control<QWidget>("cmdsuggest")->isEnabled());
}

TEST_F(ChitestWindowTest, ProceedNeedsASampleAndFrozenClassesAndFailuresAreToldOnTheWay) {
    t.state.var_defs.push_back({"MISSING", 9, 1, "N", "N"});
    open_window();
    pick("Combo_par", "MISSING");
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains("MISSING"));
    EXPECT_TRUE(lines("listpar").isEmpty());

    const QStringList refused = alert("Either sample or Parameter class not defined");
    pick("Combo_par", "P");
    add_class({0, 1, 2});
    click("cmdclass");
    ui.clear();
    click("Cmdproceed");
    EXPECT_EQ(ui.events, refused);
    click("cmdclass");
    pick("Combo_ss", "MISSING");
    ui.clear();
    click("Cmdproceed");
    EXPECT_EQ(ui.events, refused);

    click("cmdclass");
    ui.clear();
    click("Cmdproceed");
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].startsWith("The frequency table could not be built"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    click("cmdclass");  // no rows: no message
    pick("Combo_ss", "SAMPLE");
    click("cmdclass");
    t.state.db_conn.execute("delete from data");
    ui.clear();
    click("Cmdproceed");
    EXPECT_TRUE(ui.events.isEmpty());
    EXPECT_EQ(testing::TempDir::read(t.state.out_file + "_chi.csv"), "");

    click("Cmdexit");
    testing::flush_deletes();
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(main_window.isVisible());
}

}  // namespace
}  // namespace vesk
