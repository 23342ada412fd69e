#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QWindow>

#include "forms/datagroup_window.h"
#include "support/window_harness.h"

namespace vesk {
namespace {

using testing::flush_deletes;
using testing::lines_of;
using testing::select_rows;
using testing::selected_rows;

const QString freeze = QStringLiteral("&Freeze Group variables");
const QString unfreeze = QStringLiteral("&UnFreeze Group variables");

// The group window as the main window opens it.
class DataGroup : public testing::MainWindowHarness {
  protected:
    void SetUp() override {
        t.state.data_loaded = true;
        open_main();
        window->show();
    }
    ~DataGroup() override { delete group.data(); }

    void open_group(const std::vector<std::string>& names = {"HHID", "STATE", "SECTOR", "DISTRICT",
                                                             "SEX"}) {
        t.state.var_defs.clear();
        for (const std::string& name : names) {
            t.state.var_defs.push_back(VarDef{name, 1, 1, "C", "N"});
        }
        QTest::mouseClick(window->findChild<QPushButton*>("cmdgrp"), Qt::LeftButton);
        group = testing::shown_window<DataGroupWindow>();
        ASSERT_FALSE(group.isNull());
        root = group;
        listvar = control<QListWidget>("listvar");
        Listgrp = control<QListWidget>("Listgrp");
    }
    // Fills the group list through the window's own Add, in the given order of available rows.
    void add_in_turn(const std::vector<int>& available_rows) {
        const QStringList names = lines_of(listvar);
        for (int row : available_rows) {
            select_rows(listvar, {static_cast<int>(lines_of(listvar).indexOf(names[row]))});
            click("cmdadd");
        }
    }
    void click_line(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    QPointer<DataGroupWindow> group;
    QListWidget* listvar = nullptr;
    QListWidget* Listgrp = nullptr;
};

TEST_F(DataGroup, AfterAddOrRemoveOnlyWhatTheWindowSelectsIsSelectedAndNoEntryIsLost) {
    open_group();
    // After each step the first available entry is selected, and nothing else.
    const auto check = [&](const QStringList& available, const QStringList& grouped) {
        EXPECT_EQ(lines_of(listvar), available) << grouped.join(' ').toStdString();
        EXPECT_EQ(lines_of(Listgrp), grouped);
        EXPECT_EQ(selected_rows(listvar), std::vector<int>{0}) << grouped.join(' ').toStdString();
        EXPECT_EQ(selected_rows(Listgrp), std::vector<int>{}) << grouped.join(' ').toStdString();
    };
    // Each line picked with a click, as the user does; the selection is the one Qt leaves.
    click_line(listvar, 1);
    click("cmdadd");
    check({"HHID", "SECTOR", "DISTRICT", "SEX"}, {"STATE"});
    click_line(listvar, 1);
    click("cmdadd");
    check({"HHID", "DISTRICT", "SEX"}, {"STATE", "SECTOR"});
    click_line(Listgrp, 1);
    click("Cmdremove");
    check({"HHID", "DISTRICT", "SEX", "SECTOR"}, {"STATE"});
    click("Cmdremove");  // nothing is selected in the group list any more
    check({"HHID", "DISTRICT", "SEX", "SECTOR"}, {"STATE"});

    // The keyboard goes on from the entry the window selected.
    click_line(listvar, 2);
    click("cmdadd");
    check({"HHID", "DISTRICT", "SECTOR"}, {"STATE", "SEX"});
    listvar->setFocus();
    QTest::keyClick(listvar, Qt::Key_Down);
    EXPECT_EQ(selected_rows(listvar), std::vector<int>{1});
    EXPECT_EQ(listvar->currentRow(), 1);
    EXPECT_TRUE(ui.events.isEmpty());
}

TEST_F(DataGroup, FreezingJoinsTheTrimmedNamesInPriorityOrder) {
    struct Case {
        std::vector<std::string> variables;
        std::vector<int> picked;
        const char* picture;  // clicked with this row of the group list selected, if any
        int row;
        std::string grp_vars;
    };
    const std::vector<Case> cases = {
        {{"HHID", "STATE"}, {1}, nullptr, 0, "STATE"},
        {{"HHID", "STATE", "SECTOR", "DIST"}, {3, 1, 2}, "Picture1", 2, "DIST, SECTOR, STATE"},
        {{"HHID  ", "STATE     ", "SECTOR    "}, {1, 2}, "Picture2", 0, "SECTOR, STATE"},
    };
    for (const Case& c : cases) {
        t.state.grp_frozen = false;
        open_group(c.variables);
        add_in_turn(c.picked);
        // The lists show the names as stored.
        EXPECT_EQ(Listgrp->item(0)->text().toStdString(), c.variables[c.picked[0]]);
        if (c.picture) {
            select_rows(Listgrp, {c.row});
            click(c.picture);
        }
        click("cmdgrp");
        EXPECT_EQ(t.state.grp_vars, c.grp_vars);
        EXPECT_TRUE(t.state.grp_frozen);
        EXPECT_EQ(control<QPushButton>("cmdgrp")->text(), unfreeze);
        click("Cmdexit");
        flush_deletes();
    }
    EXPECT_TRUE(ui.events.isEmpty());
}

TEST_F(DataGroup, TheFrozenListRefusesAddAndRemoveUntilUnfrozenAndKeepsItsList) {
    const char* const frozen_controls[] = {"listvar",  "Listgrp", "Picture1",
                                           "Picture2", "cmdadd",  "Cmdremove"};
    open_group();
    add_in_turn({1, 2});  // STATE, SECTOR
    select_rows(Listgrp, {1});
    click("cmdgrp");
    for (const char* name : frozen_controls) {
        EXPECT_FALSE(control<QWidget>(name)->isEnabled()) << name;
    }
    // Both act on entries still selected in the disabled lists, were they not disabled.
    click("cmdadd");
    click("Cmdremove");
    EXPECT_EQ(lines_of(Listgrp), QStringList({"STATE", "SECTOR"}));
    EXPECT_EQ(lines_of(listvar), QStringList({"HHID", "DISTRICT", "SEX"}));

    click("cmdgrp");
    EXPECT_FALSE(t.state.grp_frozen);
    EXPECT_EQ(t.state.grp_vars, "STATE, SECTOR");
    EXPECT_EQ(control<QPushButton>("cmdgrp")->text(), freeze);
    for (const char* name : frozen_controls) {
        EXPECT_TRUE(control<QWidget>(name)->isEnabled()) << name;
    }
    select_rows(Listgrp, {0});
    click("Cmdremove");
    click("cmdgrp");
    EXPECT_EQ(t.state.grp_vars, "SECTOR");
    EXPECT_TRUE(ui.events.isEmpty());
}

TEST_F(DataGroup, FreezingAnEmptyListAlertsAndLeavesTheLastFrozenListInForce) {
    open_group();
    add_in_turn({1});  // STATE
    click("cmdgrp");
    click("cmdgrp");
    select_rows(Listgrp, {0});
    click("Cmdremove");
    click("cmdgrp");
    EXPECT_EQ(ui.events, testing::alert("No Group variables are formmed"));
    EXPECT_FALSE(t.state.grp_frozen);
    EXPECT_EQ(t.state.grp_vars, "STATE");
    EXPECT_EQ(control<QPushButton>("cmdgrp")->text(), freeze);
    EXPECT_TRUE(listvar->isEnabled() && control<QWidget>("cmdadd")->isEnabled());
}

TEST_F(DataGroup, AFrozenListOutlivesTheWindowAndProceedAcceptsIt) {
    open_group();
    select_rows(listvar, {2, 1});
    click("cmdadd");
    click("cmdgrp");
    click("Cmdexit");
    flush_deletes();
    EXPECT_TRUE(group.isNull());
    EXPECT_TRUE(window->isVisible());

    open_group();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Listgrp->count(), 0);
    EXPECT_EQ(control<QPushButton>("cmdgrp")->text(), freeze);
    EXPECT_EQ(t.state.grp_vars, "STATE, SECTOR");
    EXPECT_TRUE(t.state.grp_frozen);
    // What the window system sends when the user presses the frame's close control.
    QCloseEvent close;
    QApplication::sendEvent(group->windowHandle(), &close);
    flush_deletes();
    EXPECT_TRUE(group.isNull());
    EXPECT_TRUE(window->isVisible());

    t.state.inp_file = "survey.txt";
    window->findChild<QLineEdit*>("outtxt")->setText(QStringLiteral("result"));
    QTest::mouseClick(window->findChild<QPushButton*>("Cmdproceed"), Qt::LeftButton);
    EXPECT_FALSE(ui.messages().contains("Either Variables or Data Groupining not defined"));
}

}  // namespace
}  // namespace vesk
