#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlTableModel>
#include <QTableView>
#include <QtTest/QTest>

#include "core/app_state.h"
#include "forms/navigation_bar.h"
#include "forms/variable_grid.h"
#include "forms/variable_table_model.h"
#include "forms/vesk_window.h"
#include "support/recording_user_interface.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

using testing::RecordingUserInterface;
using testing::TempState;

class MainWindow : public ::testing::Test {
protected:
    void open_window() { window = std::make_unique<VeskWindow>(t.state, ui); }

    template <typename W>
    W* control(const char* name) {
        auto* found = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char* name) { QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton); }
    void type_and_press(const char* box, const QString& text, Qt::Key key) {
        auto* edit = control<QLineEdit>(box);
        edit->setText(text);
        QTest::keyClick(edit, key);
    }
    // A path of exactly the given length to a readable file whose first line has 80 characters.
    std::string input_file_named_with(int length) {
        const std::string folder = t.dir.path().string() + "/";
        const std::string name(static_cast<std::size_t>(length) - folder.size(), 'f');
        return t.dir.write(name, std::string(80, 'x') + "\r\n");
    }
    bool grid_visible() { return window->findChild<QTableView*>("DataGridX")->isVisibleTo(window.get()); }

    TempState t;
    RecordingUserInterface ui;
    std::unique_ptr<VeskWindow> window;
};

const QStringList alert(const QString& text) {
    return {QStringLiteral("beep"), QStringLiteral("beep"), QStringLiteral("beep"),
            QStringLiteral("message: ") + text};
}

TEST_F(MainWindow, OpensWithEmptyNamesHiddenGridAndANewFirstRecord) {
    open_window();
    EXPECT_EQ(window->windowTitle(), product_title());
    EXPECT_TRUE(control<QLineEdit>("inptxt")->text().isEmpty());
    EXPECT_TRUE(control<QLineEdit>("outtxt")->text().isEmpty());
    EXPECT_FALSE(grid_visible());
    EXPECT_FALSE(control<NavigationBar>("AdodcX")->isVisibleTo(window.get()));
    EXPECT_EQ(window->grid().record_count(), 1);
    EXPECT_EQ(window->grid().model()->data(window->grid().model()->index(0, 0)).toInt(), 1);
    EXPECT_EQ(control<QPushButton>("save")->text(), "&Save&&LoadData");
    EXPECT_EQ(control<QPushButton>("cmdgrp")->text(), "&Data Group Variable Definition");
    EXPECT_EQ(control<QLabel>("Label6")->text(),
              "Press ESC twice before leaving blank new record marked *  in the GRID");
    EXPECT_EQ(window->size(), QSize(1333, 800).boundedTo(window->size()));
}

TEST_F(MainWindow, GridShowsTheLayoutWithCaptionsAndPosition) {
    t.state.db_conn.execute(
        "insert into variable values (1, 'HHID', 1, 3, 'C', 'Y'), (2, 'STATE', 4, 2, 'C', 'N'), "
        "(3, 'SEX', 6, 1, 'N', 'N')");
    open_window();
    auto* view = control<QTableView>("DataGridX");
    auto* model = window->grid().model();
    EXPECT_TRUE(view->isColumnHidden(0));
    const QStringList expected = {"VARIABLE", "START POSITION", "LENGTH", "VAR TYPE", "PKEY(Y/N)"};
    for (int column = 1; column <= 5; ++column) {
        EXPECT_FALSE(view->isColumnHidden(column));
        EXPECT_EQ(model->headerData(column, Qt::Horizontal).toString(), expected[column - 1]);
    }
    EXPECT_EQ(model->data(model->index(2, 1)).toString(), "SEX");
    EXPECT_EQ(control<NavigationBar>("AdodcX")->caption(), "Record  3/3");
    window->grid().move_to_row(0);
    EXPECT_EQ(control<NavigationBar>("AdodcX")->caption(), "Record  1/3");
}

TEST_F(MainWindow, FileNamesUpToSeventyCharactersAreTakenOnEnterOrDown) {
    open_window();
    const std::string seventy = input_file_named_with(70);
    type_and_press("inptxt", QString::fromStdString("  " + seventy + " "), Qt::Key_Return);
    EXPECT_EQ(t.state.inp_file, seventy);
    EXPECT_EQ(t.state.rec_len, 80);
    EXPECT_TRUE(grid_visible());
    EXPECT_TRUE(ui.events.isEmpty());

    const std::string seventy_one = input_file_named_with(71);
    type_and_press("inptxt", QString::fromStdString(seventy_one), Qt::Key_Down);
    EXPECT_EQ(ui.events, alert("File Name Max 70 char pl"));
    EXPECT_EQ(t.state.inp_file, seventy);

    ui.clear();
    type_and_press("outtxt", QString(70, 'o'), Qt::Key_Enter);
    EXPECT_EQ(t.state.out_file, std::string(70, 'o'));
    type_and_press("outtxt", QString(71, 'p'), Qt::Key_Return);
    EXPECT_EQ(ui.events, alert("File Name Max 70 char pl"));
    EXPECT_EQ(t.state.out_file, std::string(70, 'o'));
}

TEST_F(MainWindow, OtherKeysChangeNothing) {
    open_window();
    const std::string file = input_file_named_with(40);
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Tab, Qt::Key_A, Qt::Key_Escape, Qt::Key_PageDown}) {
        type_and_press("inptxt", QString::fromStdString(file), key);
        type_and_press("outtxt", QStringLiteral("result"), key);
    }
    EXPECT_EQ(t.state.inp_file, "");
    EXPECT_EQ(t.state.out_file, "");
    EXPECT_FALSE(grid_visible());
    EXPECT_TRUE(ui.events.isEmpty());
}

TEST_F(MainWindow, AnUnreadableNameOnEnterIsReportedAndTheProgramGoesOn) {
    open_window();
    const std::string missing = t.dir.file("missing.txt");
    type_and_press("inptxt", QString::fromStdString(missing), Qt::Key_Return);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains(QString::fromStdString(missing)));
    EXPECT_FALSE(grid_visible());

    ui.clear();
    const std::string empty = t.dir.write("empty.txt", "");
    type_and_press("inptxt", QString::fromStdString(empty), Qt::Key_Return);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains("empty"));
}

TEST_F(MainWindow, BrowseTakesTheChosenFileAndEndsQuietlyOnCancelOrAnUnreadableFile) {
    open_window();
    click("brow");  // cancelled
    EXPECT_EQ(ui.events, QStringList{"open file"});
    EXPECT_EQ(ui.last_filter, "All Files (*.*);;Text Files(*.txt);;Batch Files (*.bat)");
    EXPECT_FALSE(grid_visible());

    ui.clear();
    ui.file_names.push_back(QString::fromStdString(t.dir.write("empty.txt", "")));
    click("brow");
    EXPECT_EQ(ui.events, QStringList{"open file"});
    EXPECT_FALSE(grid_visible());

    const std::string file = t.dir.write("survey.txt", std::string(57, ' ') + "\n");
    ui.file_names.push_back(QString::fromStdString(file));
    click("brow");
    EXPECT_EQ(control<QLineEdit>("inptxt")->text().toStdString(), file);
    EXPECT_EQ(t.state.inp_file, file);
    EXPECT_EQ(t.state.rec_len, 57);
    EXPECT_TRUE(grid_visible());
}

TEST_F(MainWindow, ProceedChecksInOrder) {
    open_window();
    const QString names_missing = "Either input textfile name or output file name not defined";
    const QString not_ready = "Either Variables or Data Groupining not defined";
    struct Step {
        std::string inp_file;
        QString out_text;
        bool data_loaded;
        bool grp_frozen;
        QString message;
    };
    const Step steps[] = {
        {"", "result", true, true, names_missing},
        {"in.txt", "", true, true, names_missing},
        {"in.txt", "result", false, true, not_ready},
        {"in.txt", "result", true, false, not_ready},
        {"in.txt", "result", false, false, not_ready},
    };
    for (const auto& step : steps) {
        ui.clear();
        t.state.inp_file = step.inp_file;
        t.state.data_loaded = step.data_loaded;
        t.state.grp_frozen = step.grp_frozen;
        control<QLineEdit>("outtxt")->setText(step.out_text);
        click("Cmdproceed");
        EXPECT_EQ(ui.events, alert(step.message)) << step.inp_file << " " << step.data_loaded;
    }
    // The output name is taken as typed, blanks included, without Enter.
    control<QLineEdit>("outtxt")->setText("  my result ");
    click("Cmdproceed");
    EXPECT_EQ(t.state.out_file, "  my result ");
}

TEST_F(MainWindow, TestOptionsAreExclusive) {
    open_window();
    auto* runs = control<QRadioButton>("Optmain_0");
    auto* chi = control<QRadioButton>("Optmain_1");
    EXPECT_EQ(runs->text(), "Runtest");
    EXPECT_EQ(chi->text(), "Chi Square Test");
    click("Optmain_1");
    EXPECT_TRUE(chi->isChecked());
    EXPECT_FALSE(runs->isChecked());
    click("Optmain_0");
    EXPECT_TRUE(runs->isChecked());
    EXPECT_FALSE(chi->isChecked());
}

TEST_F(MainWindow, ClearVariablesEmptiesTheLayoutAndDropsTheData) {
    t.state.db_conn.execute("insert into variable values (1, 'A', 1, 1, 'C', 'Y'), "
                            "(2, 'B', 2, 1, 'C', 'N')");
    t.state.db_conn.execute("create table data (A varchar(1), B varchar(1))");
    t.state.data_loaded = true;
    open_window();
    EXPECT_EQ(window->grid().record_count(), 2);
    click("Cmd_clr_var");
    EXPECT_TRUE(ui.events.isEmpty());  // no question asked
    EXPECT_FALSE(t.state.data_loaded);
    EXPECT_FALSE(t.state.db_conn.table_exists("data"));
    auto count = t.state.db_conn.prepare("select count(*) from variable");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.integer(0), 0);
    EXPECT_EQ(window->grid().record_count(), 0);
    click("cmdgrp");
    EXPECT_EQ(ui.events, alert("variables not yet defined"));
}

TEST_F(MainWindow, RefreshRereadsTheTable) {
    open_window();
    t.state.db_conn.execute("insert into variable values (1, 'A', 1, 1, 'C', 'Y'), "
                            "(2, 'B', 2, 1, 'C', 'N')");
    click("Refresh");
    EXPECT_EQ(window->grid().record_count(), 2);
    EXPECT_EQ(control<NavigationBar>("AdodcX")->caption(), "Record  2/2");
    EXPECT_TRUE(ui.events.isEmpty());
}

TEST_F(MainWindow, ExitClosesTheWindow) {
    open_window();
    window->show();
    click("Cmdexit");
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace vesk
