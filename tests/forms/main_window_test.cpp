#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QLabel>
#include <QPointer>

#include "forms/database_title.h"
#include "forms/datagroup_window.h"
#include "forms/secondary_window.h"
#include "forms/variable_grid.h"
#include "forms/vesk_window.h"
#include "support/data_table.h"
#include "support/window_harness.h"

namespace vesk {
namespace {

using testing::alert;

class MainWindow : public testing::MainWindowHarness {
  protected:
    void SetUp() override { open_main(); }
    // A path of exactly the given length to a file whose first line has 80 characters.
    QString input_file_named_with(int length) {
        const std::string folder = t.dir.path().string() + "/";
        const std::string name(static_cast<std::size_t>(length) - folder.size(), 'f');
        return QString::fromStdString(t.dir.write(name, std::string(80, 'x') + "\r\n"));
    }
};

TEST_F(MainWindow, FileNamesUpToSeventyCharactersAreTakenOnEnterOrDownAndNoOtherKey) {
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Tab, Qt::Key_A, Qt::Key_Escape, Qt::Key_PageDown}) {
        type_and_press("inptxt", input_file_named_with(40), key);
        type_and_press("outtxt", QStringLiteral("result"), key);
    }
    EXPECT_EQ(t.state.inp_file, "");
    EXPECT_EQ(t.state.out_file, "");
    EXPECT_FALSE(shown("DataGridX"));
    const QString seventy = input_file_named_with(70);
    type_and_press("inptxt", "  " + seventy + " ", Qt::Key_Return);
    EXPECT_EQ(t.state.inp_file, seventy.toStdString());
    EXPECT_EQ(t.state.rec_len, 80);
    EXPECT_TRUE(shown("DataGridX"));
    EXPECT_TRUE(ui.events.isEmpty());

    type_and_press("inptxt", input_file_named_with(71), Qt::Key_Down);
    EXPECT_EQ(ui.events, alert("File Name Max 70 char pl"));
    EXPECT_EQ(t.state.inp_file, seventy.toStdString());

    ui.clear();
    type_and_press("outtxt", QString(70, 'o'), Qt::Key_Enter);
    EXPECT_EQ(t.state.out_file, std::string(70, 'o'));
    type_and_press("outtxt", QString(71, 'p'), Qt::Key_Return);
    EXPECT_EQ(ui.events, alert("File Name Max 70 char pl"));
    EXPECT_EQ(t.state.out_file, std::string(70, 'o'));
}

TEST_F(MainWindow, BrowseOrAFileNameTakesAReadableFileAndRefusesOthersChangingNothing) {
    click("brow");  // cancelled
    ui.file_names.push_back(QString::fromStdString(t.dir.write("empty.txt", "")));
    click("brow");  // an empty file ends quietly
    EXPECT_EQ(ui.events, QStringList({"open file", "open file"}));
    EXPECT_EQ(ui.last_filter, "All Files (*.*);;Text Files(*.txt);;Batch Files (*.bat)");
    EXPECT_EQ(ui.last_folder, "");  // no input file yet: the dialog's own choice
    ui.clear();
    type_and_press("inptxt", QString::fromStdString(t.dir.file("missing.txt")), Qt::Key_Return);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains("missing.txt")) << ui.messages()[0].toStdString();
    EXPECT_FALSE(shown("DataGridX"));

    const std::string file = t.dir.write("survey.txt", std::string(57, ' ') + "\n");
    ui.file_names.push_back(QString::fromStdString(file));
    click("brow");
    EXPECT_EQ(control<QLineEdit>("inptxt")->text().toStdString(), file);
    EXPECT_EQ(t.state.inp_file, file);
    EXPECT_EQ(t.state.rec_len, 57);
    EXPECT_TRUE(shown("DataGridX"));
    EXPECT_EQ(control<QLabel>("Lblreclen")->text(), "Record length: 57");
    EXPECT_TRUE(shown("Lblreclen"));

    const std::string fifo = t.dir.file("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ui.clear();
    type_and_press("inptxt", QString::fromStdString(fifo), Qt::Key_Return);
    ui.file_names.push_back(QString::fromStdString(fifo));
    click("brow");
    ASSERT_EQ(ui.messages().size(), 2);
    for (const QString& message : ui.messages()) {
        EXPECT_TRUE(message.contains("pipe is not a regular file")) << message.toStdString();
    }
    EXPECT_EQ(t.state.inp_file, file);
    EXPECT_EQ(t.state.rec_len, 57);

    t.state.inp_file = t.dir.file("round2/survey.txt");
    click("brow");  // cancelled
    EXPECT_EQ(ui.last_folder.toStdString(), t.dir.file("round2"));
}

TEST_F(MainWindow, TheMainAndGroupWindowsShrinkToALaptopScreen) {
    type_and_press("inptxt", input_file_named_with(60), Qt::Key_Return);
    ASSERT_TRUE(shown("DataGridX"));
    EXPECT_TRUE(testing::fits_laptop_screen(window.get()));

    t.state.data_loaded = true;
    t.state.var_defs = {{"HHID", 1, 3, "C", "Y"}, {"STATE", 4, 2, "C", "N"}};
    window->show();
    click("cmdgrp");
    auto* group = testing::shown_window<DataGroupWindow>();
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(testing::fits_laptop_screen(group));
    delete group;
}

TEST_F(MainWindow, ProceedChecksInOrderThenOpensTheChosenTestsWindowInItsPlace) {
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
        {"", "result", true, true, names_missing},     {"in.txt", "", true, true, names_missing},
        {"in.txt", "result", false, true, not_ready},  {"in.txt", "result", true, false, not_ready},
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

    // Once all is defined, the chosen test's window opens in the main window's place.
    testing::make_data(
        t.state, {{"STATE", 1, 2, "C", "Y"}, {"SAMPLE", 3, 1, "N", "N"}, {"P", 4, 1, "N", "N"}});
    t.state.data_loaded = t.state.grp_frozen = true;
    t.state.grp_vars = "STATE";
    window->show();
    const std::pair<const char*, QString> choices[] = {{"Optmain_0", "runtest"},
                                                       {"Optmain_1", "chitest"}};
    for (const auto& [option, opened_name] : choices) {
        click(option);
        click("Cmdproceed");
        QPointer<SecondaryWindow> opened = testing::shown_window<SecondaryWindow>();
        ASSERT_FALSE(opened.isNull());
        EXPECT_EQ(opened->objectName(), opened_name);
        EXPECT_FALSE(window->isVisible());
        opened->close();
        testing::flush_deletes();
        EXPECT_TRUE(opened.isNull());
        EXPECT_TRUE(window->isVisible());
    }
}

TEST_F(MainWindow, RefreshRereadsTheLayoutAndClearVariablesEmptiesItAndDropsTheData) {
    t.state.db_conn.execute(
        "insert into variable_draft (ID, VN, ST, LEN, TYPE, PKEY) values (1, 'A', 1, 1, 'C', "
        "'Y'), "
        "(2, 'B', 2, 1, 'C', 'N')");
    click("Refresh");
    EXPECT_EQ(window->grid().record_count(), 2);

    // A table that cannot be read is told once, as a plain message.
    t.state.db_conn.execute("alter table variable_draft rename to kept");
    t.state.db_conn.execute("alter table variable rename to kept_loaded");
    for (const char* command : {"Refresh", "Cmd_clr_var"}) {
        click(command);
        ASSERT_EQ(ui.events.size(), 1) << command;
        EXPECT_TRUE(ui.events[0].startsWith("message: ")) << ui.events[0].toStdString();
        ui.clear();
    }
    t.state.db_conn.execute("alter table kept rename to variable_draft");
    t.state.db_conn.execute("alter table kept_loaded rename to variable");

    t.state.db_conn.execute("create table data (A varchar(1), B varchar(1))");
    t.state.data_loaded = true;
    click("Cmd_clr_var");
    EXPECT_TRUE(ui.events.isEmpty());  // no question asked
    EXPECT_FALSE(t.state.data_loaded);
    EXPECT_FALSE(t.state.db_conn.table_exists("data"));
    EXPECT_EQ(window->grid().record_count(), 0);
    click("cmdgrp");
    EXPECT_EQ(ui.events, alert("variables not yet defined"));
}

TEST_F(MainWindow, TheTitleNamesTheDatabaseFileThenItsFolder) {
    const QString program = QStringLiteral(" \u2014 Vesk sample comparison");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("test.db (") +
                                         QString::fromStdString(t.dir.path().string()) +
                                         QStringLiteral(")") + program);

    const QString here = QDir::currentPath();
    const std::pair<std::string, QString> cases[] = {
        {"/data/round42.db", QStringLiteral("round42.db (/data)")},
        {"/data/rounds 2024/r1.sqlite", QStringLiteral("r1.sqlite (/data/rounds 2024)")},
        {"round42.db", QStringLiteral("round42.db (") + here + QStringLiteral(")")},
        {":memory:", QStringLiteral("database in memory")},
        {"", QStringLiteral("database in memory")},
    };
    for (const auto& [path, named] : cases) {
        EXPECT_EQ(database_title(path), named + program) << path;
    }
}

}  // namespace
}  // namespace vesk
