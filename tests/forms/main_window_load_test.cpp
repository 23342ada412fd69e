#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTableView>
#include <QTimer>

#include "core/layout_check.h"
#include "forms/vesk_window.h"
#include "support/data_table.h"
#include "support/window_harness.h"

namespace vesk {
namespace {

using testing::alert;
using testing::rows;

// Tells whether a widget of this name was shown.
class ShowWatch : public QObject {
  public:
    explicit ShowWatch(const QString& name) : name_(name) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        seen = seen || (event->type() == QEvent::Show && watched->objectName() == name_);
        return false;
    }
    bool seen = false;

  private:
    QString name_;
};

class LoadCommand : public testing::MainWindowHarness {
  protected:
    void open_window(const std::vector<VarDef>& layout = testing::four_variables()) {
        testing::write_layout(t.state.db_conn, layout);
        t.state.inp_file = t.dir.write("survey.txt", "001021 34\r\n002022 35\r\n003011 36\r\n");
        open_main();
    }
    void type_condition(const QString& text) { control<QLineEdit>("Condition")->setText(text); }
    // Types into a box of the record type and presses Return there.
    void type_record_type(const char* box, const QString& text) {
        control<QComboBox>(box)->setEditText(text);
        QTest::keyClick(control<QComboBox>(box)->lineEdit(), Qt::Key_Return);
    }
    QString record_length() { return control<QLabel>("Lblreclen")->text(); }
    std::vector<std::string> hhids() {
        return rows(t.state.db_conn, "select HHID from data order by HHID");
    }
};

TEST_F(LoadCommand, FewerThanFourVariablesAreRefusedWithTheTwoLineMessage) {
    std::vector<VarDef> three = testing::four_variables();
    three.pop_back();
    open_window(three);
    t.state.filter_cond = " WHERE not(SEX = 1)";
    click("save");
    EXPECT_EQ(ui.events, alert("Minimum of 4 variables should be defined\r"
                               "Group var, primary key, sample and parameter"));
    EXPECT_FALSE(t.state.db_conn.table_exists("data"));
    EXPECT_EQ(t.state.filter_cond, " WHERE not(SEX = 1)");
}

TEST_F(LoadCommand, TheUserIsToldWhatWasLoadedAndRejected) {
    open_window();
    t.state.inp_file = t.dir.write("rejects.txt", "001021 34\n\n001011 36\n002012  1\n");
    click("save");
    EXPECT_EQ(ui.events, QStringList{"message: 4 lines read: 2 loaded, 2 rejected.\n"
                                     "Rejected lines:\nline 2: blank line\nline 3: duplicate key"});
    EXPECT_EQ(hhids(), (std::vector<std::string>{"001", "002"}));
    EXPECT_TRUE(t.state.data_loaded);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    t.state.db_conn.execute("update variable_draft set PKEY = 'y'");
    ui.clear();
    click("save");
    EXPECT_EQ(ui.events, alert("primary keys not defined") +
                             QStringList{"message: 4 lines read: 3 loaded, 1 rejected.\n"
                                         "Rejected lines:\nline 2: blank line"});
    EXPECT_FALSE(t.state.data_loaded);
}

TEST_F(LoadCommand, TheTickedFilterShowsAndKeepsTheRowsItHoldsForUntilUntickedWhichEmptiesIt) {
    open_window();
    EXPECT_FALSE(shown("Lbfilter") || shown("Condition"));
    click("fltChk");
    EXPECT_TRUE(shown("Lbfilter") && shown("Condition"));
    EXPECT_TRUE(t.state.filter_on);
    type_condition(" SEX = 1 ");
    click("save");
    EXPECT_EQ(t.state.filter_cond, " WHERE not( SEX = 1 )");
    EXPECT_EQ(hhids(), (std::vector<std::string>{"001", "003"}));
    EXPECT_EQ(ui.messages(), QStringList{"3 lines read: 3 loaded, 0 rejected.\n"
                                         "The filter removed 1 row; 2 rows stay."});
    click("fltChk");
    EXPECT_FALSE(shown("Lbfilter") || shown("Condition"));
    EXPECT_FALSE(t.state.filter_on);
    click("save");
    EXPECT_EQ(t.state.filter_cond, "");
    EXPECT_EQ(hhids().size(), 3U);
    click("fltChk");
    EXPECT_EQ(control<QLineEdit>("Condition")->text(), "");
}

TEST_F(LoadCommand, ARefusedFilterOrAnUnreadableFileIsToldAndKeepsTheDataLoadedBefore) {
    open_window();
    click("save");
    click("fltChk");
    const std::string survey = t.state.inp_file;
    const std::string fifo = t.dir.file("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        QString condition;
        std::string file;
        QString said;
    } cases[] = {
        {"SEXX = 1", survey, "The filter condition cannot be used: no such column"},
        {"", t.dir.file("gone.txt"), "gone.txt"},
        {"", fifo, "pipe is not a regular file"},
    };
    for (const auto& [condition, file, said] : cases) {
        type_condition(condition);
        t.state.inp_file = file;
        ui.clear();
        click("save");
        ASSERT_EQ(ui.events.size(), 1) << said.toStdString();
        EXPECT_TRUE(ui.events[0].contains(said)) << ui.events[0].toStdString();
        EXPECT_EQ(hhids().size(), 3U);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(LoadCommand, AFilterThatLeavesNoRecordAsksBeforeReplacingTheData) {
    struct Case {
        QString condition;
        bool replace;
        QString hint;  // in the question, whose whole text the batch test pins; empty: no hint
    };
    const Case cases[] = {
        {"STATE = 7", false, "for example STATE = '07'."},
        {"SEX = 1 AND 44 = state", true, "for example STATE = '44'"},
        {"STATE = '7'", false, ""},
        {"AGE > 99", true, ""},
    };
    for (const Case& c : cases) {
        open_window();
        click("save");
        ASSERT_TRUE(t.state.data_loaded);
        click("fltChk");
        type_condition(c.condition);
        ui.clear();
        ui.answers = {c.replace};
        // The progress dialog shows at once, and is gone before the question: left over it,
        // being modal, it would take the question's clicks.
        window->set_progress_delay(0);
        const ShowWatch progress_shown("loadProgress");
        bool progress_at_question = true;
        ui.on_question = [&] {
            const auto* progress = window->findChild<QProgressDialog*>("loadProgress");
            progress_at_question = progress != nullptr && progress->isVisible();
        };
        click("save");
        const std::string what = c.condition.toStdString();
        EXPECT_TRUE(progress_shown.seen) << what;
        EXPECT_FALSE(progress_at_question) << what;
        ASSERT_GE(ui.events.size(), 2) << what;
        EXPECT_TRUE(ui.events[0].startsWith(
            "question: The filter leaves no record: it removes all 3 rows loaded.\n"))
            << ui.events[0].toStdString();
        EXPECT_EQ(ui.events[0].contains(" is a character variable"), !c.hint.isEmpty()) << what;
        EXPECT_TRUE(ui.events[0].contains(c.hint)) << ui.events[0].toStdString();
        EXPECT_EQ(hhids().size(), c.replace ? 0U : 3U) << what;
        EXPECT_TRUE(t.state.data_loaded) << what;
        if (!c.replace) {
            EXPECT_EQ(ui.messages(),
                      QStringList{"Nothing was replaced; the data loaded before are kept."});
        }
    }
}

TEST_F(LoadCommand, TheRecordTypeBoxSetsTheRecordLengthAndWithTheLineKeyShapesTheLoad) {
    testing::write_layout(t.state.db_conn, testing::person_variables());
    const std::string file = t.dir.write("households.txt", testing::household_person_file(6));
    open_main();
    type_and_press("inptxt", QString::fromStdString(file), Qt::Key_Return);
    EXPECT_EQ(record_length(), "Record length: 25");
    type_record_type("RecTypeVar", "RECTYPE");
    type_record_type("RecTypeValue", "P");
    EXPECT_EQ(record_length(), "Record length: 32 (line 2, the first of record type RECTYPE = P)");
    EXPECT_EQ(t.state.rec_len, 32);

    type_record_type("RecTypeVar", "");
    EXPECT_EQ(record_length(), "Record length: 25");
    click("save");
    EXPECT_EQ(ui.events, alert("Record type: give the variable and the value its field reads in "
                               "the lines to load, or leave both blank."));
    EXPECT_FALSE(t.state.db_conn.table_exists("data"));

    type_record_type("RecTypeVar", "RECTYPE");
    click("lineKeyChk");
    ui.clear();
    click("save");
    // Six households of 1 + h % 3 persons.
    EXPECT_EQ(ui.messages(), QStringList{"18 lines read: 12 loaded, 0 rejected, 6 of other record "
                                         "types skipped (record type RECTYPE = P).\nKey: LINE_NO, "
                                         "each line's number in the file."});
    EXPECT_EQ(rows(t.state.db_conn, "select min(LINE_NO), max(LINE_NO) from data"),
              std::vector<std::string>{"2,18"});
    EXPECT_EQ(t.state.var_defs.back().name, "LINE_NO");
    EXPECT_TRUE(t.state.data_loaded);
}

// The record type chosen before its variable is in the layout: the record length follows once a
// row of the grid names it.
TEST_F(LoadCommand, TheRecordLengthFollowsTheLayoutWhenTheTypesVariableComesAfterTheType) {
    std::vector<VarDef> layout = testing::person_variables();
    layout[0].name = "KIND";
    testing::write_layout(t.state.db_conn, layout);
    open_main();
    type_and_press(
        "inptxt",
        QString::fromStdString(t.dir.write("households.txt", testing::household_person_file(3))),
        Qt::Key_Return);
    type_record_type("RecTypeVar", "RECTYPE");
    type_record_type("RecTypeValue", "P");
    EXPECT_EQ(record_length(), "Record length: 25");

    auto* grid = control<QTableView>("DataGridX")->model();
    grid->setData(grid->index(0, column_name), "RECTYPE");
    ASSERT_TRUE(grid->submit());
    EXPECT_EQ(record_length(), "Record length: 32 (line 2, the first of record type RECTYPE = P)");
    EXPECT_EQ(t.state.rec_len, 32);
}

// The grid edits a draft; the layout the data were loaded with changes only with them.
TEST_F(LoadCommand, ARefusedLoadKeepsTheTypedLayoutInTheGridAndTheDataWithTheirOwn) {
    open_window();
    click("save");
    auto* grid = control<QTableView>("DataGridX");
    grid->model()->setData(grid->model()->index(3, column_name), "YEARS");
    const std::string survey = t.state.inp_file;
    t.state.inp_file = t.dir.write("blank.txt", "004021   \n005021   \n");
    ui.clear();
    click("save");
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].startsWith(
        "No line was loaded. 2 lines read: 0 loaded, 2 rejected.\nRejected lines:\nline 1: YEARS "
        "is blank\n"))
        << ui.messages()[0].toStdString();
    EXPECT_TRUE(ui.messages()[0].endsWith(
        "The grid keeps the layout as typed; the data loaded before keep the layout they were "
        "loaded with."));
    const auto names = [this](const char* table) {
        return rows(t.state.db_conn, std::string("select VN from ") + table + " order by ID");
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(grid->model()->index(3, column_name).data().toString(), "YEARS");
    EXPECT_EQ(names("variable_draft"), (Names{"HHID", "STATE", "SEX", "YEARS"}));
    EXPECT_EQ(names("variable"), (Names{"HHID", "STATE", "SEX", "AGE"}));
    EXPECT_EQ(rows(t.state.db_conn, "select AGE from data order by HHID"),
              (Names{"34", "35", "36"}));
    EXPECT_EQ(t.state.var_defs.at(3).name, "AGE");
    EXPECT_TRUE(t.state.data_loaded);

    t.state.inp_file = survey;
    ui.clear();
    click("save");
    EXPECT_EQ(ui.messages(), QStringList{"3 lines read: 3 loaded, 0 rejected."});
    EXPECT_EQ(names("variable"), (Names{"HHID", "STATE", "SEX", "YEARS"}));
    EXPECT_EQ(rows(t.state.db_conn, "select YEARS from data order by HHID"),
              (Names{"34", "35", "36"}));
}

TEST_F(LoadCommand, ALongLoadShowsProgressTakesNoSecondClickAndCanBeCancelled) {
    open_window();
    click("save");
    ASSERT_EQ(hhids().size(), 3U);
    std::vector<VarDef> long_key = testing::four_variables();
    long_key[0].length = 7;
    testing::write_layout(t.state.db_conn, long_key);
    std::string lines;
    for (int i = 0; i < 300000; ++i) {
        lines += std::to_string(10000000 + i).substr(1) + "\n";
    }
    t.state.inp_file = t.dir.write("large.txt", lines);
    ui.clear();

    // The dialog shows at the first progress past zero, and the import processes events at each
    // later step while it shows: the watch runs then, however fast the machine.
    window->set_progress_delay(0);
    bool seen = false;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* progress = window->findChild<QProgressDialog*>("loadProgress");
        if (seen || progress == nullptr || !progress->isVisible()) {
            return;
        }
        seen = true;
        EXPECT_GT(progress->value(), 0);
        EXPECT_LT(progress->value(), progress->maximum());
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        control<QAbstractButton>("save")->click();  // ignored while the load runs
        progress->cancel();
    });
    watch.start();
    click("save");
    watch.stop();

    EXPECT_TRUE(seen);
    EXPECT_EQ(ui.messages(),
              QStringList{"The import was cancelled; the data loaded before are kept.\nThe grid "
                          "keeps the layout as typed; the data loaded before keep the layout they "
                          "were loaded with."});
    EXPECT_EQ(hhids().size(), 3U);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace vesk
