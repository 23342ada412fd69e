#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include "core/app_state.h"
#include "forms/vesk_window.h"
#include "load/load_data.h"
#include "support/recording_user_interface.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

using testing::RecordingUserInterface;
using testing::TempState;
using Rows = std::vector<std::vector<std::string>>;

// HHID C 1-3 key, STATE C 4-5, SEX N 6, AGE N 7-9.
constexpr const char* four_variables =
    "insert into variable values (1, 'HHID', 1, 3, 'C', 'Y'), (2, 'STATE', 4, 2, 'C', 'N'), "
    "(3, 'SEX', 6, 1, 'N', 'N'), (4, 'AGE', 7, 3, 'N', 'N')";

class LoadCommand : public ::testing::Test {
  protected:
    void open_window() {
        t.state.inp_file = t.dir.write("survey.txt", "001021 34\r\n002022 35\r\n003011 36\r\n");
        window = std::make_unique<VeskWindow>(t.state, ui);
        ui.clear();
    }
    template <typename W>
    W* control(const char* name) {
        auto* found = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char* name) { control<QAbstractButton>(name)->click(); }
    void type_condition(const QString& text) { control<QLineEdit>("Condition")->setText(text); }
    bool visible(const char* name) { return control<QWidget>(name)->isVisibleTo(window.get()); }

    Rows hhids() {
        auto query = t.state.db_conn.prepare("select HHID from data order by HHID");
        Rows found;
        while (query.step()) {
            found.push_back({query.text(0)});
        }
        return found;
    }

    TempState t;
    RecordingUserInterface ui;
    std::unique_ptr<VeskWindow> window;
};

QStringList alert(const QString& text) {
    return {QStringLiteral("beep"), QStringLiteral("beep"), QStringLiteral("beep"),
            QStringLiteral("message: ") + text};
}

TEST_F(LoadCommand, FewerThanFourVariablesAreRefusedWithTheTwoLineMessage) {
    t.state.db_conn.execute(
        "insert into variable values (1, 'HHID', 1, 3, 'C', 'Y'), (2, 'STATE', 4, 2, 'C', 'N'), "
        "(3, 'SEX', 6, 1, 'N', 'N')");
    t.state.filter_cond = " WHERE not(SEX = 1)";
    open_window();
    click("save");

    EXPECT_EQ(ui.events, alert("Minimum of 4 variables should be defined\r"
                               "Group var, primary key, sample and parameter"));
    EXPECT_FALSE(t.state.db_conn.table_exists("data"));
    EXPECT_EQ(t.state.filter_cond, " WHERE not(SEX = 1)");
}

TEST_F(LoadCommand, FourVariablesLoadAndTheUserIsToldWhatWasLoadedAndRejected) {
    t.state.db_conn.execute(four_variables);
    open_window();
    t.state.inp_file = t.dir.write("rejects.txt", "001021 34\n\n001011 36\n002012  1\n");
    click("save");

    EXPECT_EQ(ui.events, QStringList{"message: 4 lines read: 2 loaded, 2 rejected.\n"
                                     "Rejected lines:\nline 2: blank line\nline 3: duplicate key"});
    EXPECT_EQ(hhids(), (Rows{{"001"}, {"002"}}));
    EXPECT_TRUE(t.state.data_loaded);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    t.state.db_conn.execute("update variable set PKEY = 'y'");
    ui.clear();
    click("save");
    QStringList expected = alert("primary keys not defined");
    expected.append(
        "message: 4 lines read: 3 loaded, 1 rejected.\nRejected lines:\n"
        "line 2: blank line");
    EXPECT_EQ(ui.events, expected);
    EXPECT_FALSE(t.state.data_loaded);
}

TEST_F(LoadCommand, TheTickedFilterKeepsTheRowsItHoldsFor) {
    t.state.db_conn.execute(four_variables);
    open_window();
    click("fltChk");
    type_condition(" SEX = 1 ");
    click("save");

    EXPECT_EQ(t.state.filter_cond, " WHERE not( SEX = 1 )");
    EXPECT_EQ(hhids(), (Rows{{"001"}, {"003"}}));
    EXPECT_EQ(ui.messages(), QStringList{"3 lines read: 3 loaded, 0 rejected.\n"
                                         "The filter removed 1 row; 2 rows stay."});

    // A load without the filter afterwards is not filtered.
    click("fltChk");
    click("save");
    EXPECT_EQ(t.state.filter_cond, "");
    EXPECT_EQ(hhids(), (Rows{{"001"}, {"002"}, {"003"}}));
}

TEST_F(LoadCommand, ARefusedFilterOrAMissingFileKeepsTheDataLoadedBefore) {
    t.state.db_conn.execute(four_variables);
    open_window();
    click("save");
    ASSERT_EQ(hhids().size(), 3U);

    click("fltChk");
    type_condition("SEXX = 1");
    ui.clear();
    click("save");
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].startsWith("The filter condition cannot be used: no such column"))
        << ui.messages()[0].toStdString();
    EXPECT_FALSE(ui.events.contains("beep"));
    EXPECT_EQ(hhids().size(), 3U);
    EXPECT_FALSE(t.state.data_loaded);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    type_condition("");
    t.state.inp_file = t.dir.file("gone.txt");
    ui.clear();
    click("save");
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains("gone.txt"));
    EXPECT_EQ(hhids().size(), 3U);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(LoadCommand, ALongLoadShowsProgressTakesNoSecondClickAndCanBeCancelled) {
    t.state.db_conn.execute(four_variables);
    open_window();
    click("save");
    ASSERT_EQ(hhids().size(), 3U);

    t.state.db_conn.execute(
        "update variable set VN = 'ID', ST = 1, LEN = 7, TYPE = 'C', PKEY = 'Y' where ID = 1");
    std::string lines;
    for (int i = 0; i < 300000; ++i) {
        lines += std::to_string(10000000 + i).substr(1) + "\n";
    }
    t.state.inp_file = t.dir.write("large.txt", lines);
    ui.clear();

    // Runs whenever the window processes events during the load.
    bool seen = false;
    QTimer watch;
    watch.setInterval(5);
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
        click("save");  // ignored while the load runs
        progress->cancel();
    });
    watch.start();
    click("save");
    watch.stop();

    EXPECT_TRUE(seen);
    EXPECT_EQ(ui.messages(),
              QStringList{"The import was cancelled; the data loaded before are kept."});
    EXPECT_EQ(hhids().size(), 3U);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(LoadCommand, TickingShowsTheEmptyConditionAndUntickingHidesAndEmptiesIt) {
    open_window();
    EXPECT_FALSE(visible("Lbfilter"));
    EXPECT_FALSE(visible("Condition"));

    click("fltChk");
    EXPECT_TRUE(control<QCheckBox>("fltChk")->isChecked());
    EXPECT_TRUE(visible("Lbfilter"));
    EXPECT_TRUE(visible("Condition"));
    EXPECT_TRUE(t.state.filter_on);
    type_condition("SEX = 1");

    click("fltChk");
    EXPECT_FALSE(control<QCheckBox>("fltChk")->isChecked());
    EXPECT_FALSE(visible("Lbfilter"));
    EXPECT_FALSE(visible("Condition"));
    EXPECT_FALSE(t.state.filter_on);

    click("fltChk");
    EXPECT_TRUE(control<QCheckBox>("fltChk")->isChecked());
    EXPECT_EQ(control<QLineEdit>("Condition")->text(), "");
    EXPECT_EQ(control<QLabel>("Lbfilter")->text(),
              "ENTER FILTER CONDITION BELOW: Eg SEX = 1 AND STATE = '02'");
}

}  // namespace
}  // namespace vesk
