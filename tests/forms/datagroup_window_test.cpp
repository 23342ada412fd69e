#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QWindow>
#include <QtTest/QTest>

#include <memory>
#include <vector>

#include "core/app_state.h"
#include "forms/datagroup_window.h"
#include "forms/picture_button.h"
#include "forms/vesk_window.h"
#include "support/recording_user_interface.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

using testing::RecordingUserInterface;
using testing::TempState;

const QString freeze = QStringLiteral("&Freeze Group variables");
const QString unfreeze = QStringLiteral("&UnFreeze Group variables");
const QString no_groups = QStringLiteral("No Group variables are formmed");

QStringList texts(const QListWidget* list) {
    QStringList result;
    for (int i = 0; i < list->count(); ++i) {
        result.append(list->item(i)->text());
    }
    return result;
}

std::vector<int> selected_rows(const QListWidget* list) {
    std::vector<int> rows;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected()) {
            rows.push_back(i);
        }
    }
    return rows;
}

const QStringList alert(const QString& text) {
    return {QStringLiteral("beep"), QStringLiteral("beep"), QStringLiteral("beep"),
            QStringLiteral("message: ") + text};
}

// Windows closed with WA_DeleteOnClose go at the next deferred delete.
void flush_deletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// What the window system sends when the user presses the frame's close control.
void close_by_frame(QWidget* window) {
    QCloseEvent event;
    QApplication::sendEvent(window->windowHandle(), &event);
    flush_deletes();
}

// The group window as the main window opens it.
class DataGroup : public ::testing::Test {
  protected:
    void SetUp() override {
        t.state.data_loaded = true;
        main = std::make_unique<VeskWindow>(t.state, ui);
        main->show();
    }
    void TearDown() override {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<SecondaryWindow*>(widget)) {
                delete widget;
            }
        }
    }

    void open_window(const std::vector<std::string>& names = {"HHID", "STATE", "SECTOR", "DISTRICT",
                                                              "SEX"}) {
        t.state.var_defs.clear();
        for (const std::string& name : names) {
            t.state.var_defs.push_back(VarDef{name, 1, 1, "C", "N"});
        }
        QTest::mouseClick(main->findChild<QPushButton*>("cmdgrp"), Qt::LeftButton);
        window = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<DataGroupWindow*>(widget); found && found->isVisible()) {
                window = found;
            }
        }
        ASSERT_FALSE(window.isNull());
        listvar = control<QListWidget>("listvar");
        Listgrp = control<QListWidget>("Listgrp");
    }
    // Closes the window as Exit does and lets it go.
    void exit_window() {
        click("Cmdexit");
        flush_deletes();
    }

    template <typename W>
    W* control(const char* name) {
        auto* found = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char* name) {
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }
    // Selects exactly the given rows of a list.
    static void select(QListWidget* list, const std::vector<int>& rows) {
        list->clearSelection();
        for (int row : rows) {
            list->item(row)->setSelected(true);
        }
    }
    // Fills the group list through the window's own Add, in the given order of available rows.
    void add_in_turn(const std::vector<int>& available_rows) {
        const QStringList names = texts(listvar);
        for (int row : available_rows) {
            select(listvar, {static_cast<int>(texts(listvar).indexOf(names[row]))});
            click("cmdadd");
        }
    }

    TempState t;
    RecordingUserInterface ui;
    std::unique_ptr<VeskWindow> main;
    QPointer<DataGroupWindow> window;
    QListWidget* listvar = nullptr;
    QListWidget* Listgrp = nullptr;
};

TEST_F(DataGroup, OpensWithItsControlsAndEveryVariableAvailable) {
    open_window();
    EXPECT_EQ(window->objectName(), "datagroup");
    EXPECT_EQ(window->windowTitle(), "Data grouping");
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(window->isVisible());

    const std::vector<std::pair<const char*, QString>> labels = {
        {"Label2", "Formation of Group vaiables "},
        {"Label1", "List of available vaiables"},
        {"Label3", "List of group Variables"},
        {"Label4", "Reorder  group Variables"},
        {"Label7", "priority"},
    };
    for (const auto& [name, caption] : labels) {
        EXPECT_EQ(control<QLabel>(name)->text(), caption) << name;
    }
    const std::vector<std::pair<const char*, QString>> buttons = {
        {"cmdadd", "&Add >"},
        {"Cmdremove", "< &Remove"},
        {"cmdgrp", freeze},
        {"Cmdexit", "E&xit"},
    };
    for (const auto& [name, caption] : buttons) {
        EXPECT_EQ(control<QPushButton>(name)->text(), caption) << name;
    }
    EXPECT_NE(control<PictureButton>("Picture1"), nullptr);
    EXPECT_NE(control<PictureButton>("Picture2"), nullptr);

    EXPECT_EQ(listvar->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(Listgrp->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(texts(listvar), QStringList({"HHID", "STATE", "SECTOR", "DISTRICT", "SEX"}));
    EXPECT_EQ(selected_rows(listvar), std::vector<int>{0});
    EXPECT_EQ(Listgrp->count(), 0);
}

TEST_F(DataGroup, AddMovesTheSelectedVariablesInListOrderAndSelectsTheFirstLeft) {
    struct Case {
        std::vector<int> selected;  // in the order they are picked
        QStringList available;
        QStringList group;
    };
    const std::vector<Case> cases = {
        {{3, 1}, {"HHID", "SECTOR", "SEX"}, {"STATE", "DISTRICT"}},
        {{4, 2, 0}, {"STATE", "DISTRICT"}, {"HHID", "SECTOR", "SEX"}},
        {{}, {"HHID", "STATE", "SECTOR", "DISTRICT", "SEX"}, {}},
        {{0, 1, 2, 3, 4}, {}, {"HHID", "STATE", "SECTOR", "DISTRICT", "SEX"}},
    };
    for (const Case& c : cases) {
        open_window();
        listvar->clearSelection();
        // Control clicks, as the user picks several variables.
        for (int row : c.selected) {
            QTest::mouseClick(listvar->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              listvar->visualItemRect(listvar->item(row)).center());
        }
        ASSERT_EQ(selected_rows(listvar).size(), c.selected.size());
        click("cmdadd");
        EXPECT_EQ(texts(listvar), c.available) << c.group.join(",").toStdString();
        EXPECT_EQ(texts(Listgrp), c.group);
        EXPECT_EQ(selected_rows(listvar),
                  c.available.isEmpty() ? std::vector<int>{} : std::vector<int>{0});
        EXPECT_TRUE(ui.events.isEmpty());
        exit_window();
    }
}

TEST_F(DataGroup, RemoveSendsTheGroupVariableToTheEndOfTheAvailableList) {
    open_window();
    add_in_turn({1, 2, 3});  // STATE, SECTOR, DISTRICT
    ASSERT_EQ(texts(Listgrp), QStringList({"STATE", "SECTOR", "DISTRICT"}));
    ASSERT_EQ(texts(listvar), QStringList({"HHID", "SEX"}));

    listvar->item(1)->setSelected(true);  // SEX stays selected beside the first entry
    QTest::mouseClick(Listgrp->viewport(), Qt::LeftButton, Qt::NoModifier,
                      Listgrp->visualItemRect(Listgrp->item(0)).center());
    click("Cmdremove");
    EXPECT_EQ(texts(Listgrp), QStringList({"SECTOR", "DISTRICT"}));
    EXPECT_EQ(texts(listvar), QStringList({"HHID", "SEX", "STATE"}));
    EXPECT_EQ(selected_rows(listvar), std::vector<int>({0, 1}));

    // Nothing selected in the group list, then an empty group list: nothing moves.
    Listgrp->clearSelection();
    click("Cmdremove");
    EXPECT_EQ(texts(Listgrp), QStringList({"SECTOR", "DISTRICT"}));
    select(Listgrp, {0});
    click("Cmdremove");
    select(Listgrp, {0});
    click("Cmdremove");
    click("Cmdremove");
    EXPECT_EQ(texts(listvar), QStringList({"HHID", "SEX", "STATE", "SECTOR", "DISTRICT"}));
    EXPECT_EQ(Listgrp->count(), 0);
    EXPECT_TRUE(ui.events.isEmpty());
}

TEST_F(DataGroup, EachChevronClickMovesTheSelectedEntryOnePlaceAndTheEdgesStay) {
    struct Case {
        const char* picture;
        int selected;  // -1: nothing selected
        QStringList order;
        int selected_after;
    };
    const std::vector<Case> cases = {
        {"Picture1", 2, {"STATE", "DISTRICT", "SECTOR"}, 1},
        {"Picture1", 1, {"SECTOR", "STATE", "DISTRICT"}, 0},
        {"Picture1", 0, {"STATE", "SECTOR", "DISTRICT"}, 0},
        {"Picture2", 0, {"SECTOR", "STATE", "DISTRICT"}, 1},
        {"Picture2", 1, {"STATE", "DISTRICT", "SECTOR"}, 2},
        {"Picture2", 2, {"STATE", "SECTOR", "DISTRICT"}, 2},
        {"Picture1", -1, {"STATE", "SECTOR", "DISTRICT"}, -1},
        {"Picture2", -1, {"STATE", "SECTOR", "DISTRICT"}, -1},
    };
    for (const Case& c : cases) {
        open_window();
        add_in_turn({1, 2, 3});
        select(Listgrp, c.selected < 0 ? std::vector<int>{} : std::vector<int>{c.selected});
        click(c.picture);
        const std::string what = std::string(c.picture) + " " + std::to_string(c.selected);
        EXPECT_EQ(texts(Listgrp), c.order) << what;
        EXPECT_EQ(selected_rows(Listgrp),
                  c.selected_after < 0 ? std::vector<int>{} : std::vector<int>{c.selected_after})
            << what;
        EXPECT_TRUE(ui.events.isEmpty());
        exit_window();
    }
}

TEST_F(DataGroup, FreezingJoinsTheTrimmedNamesInPriorityOrder) {
    struct Case {
        std::vector<std::string> variables;
        std::vector<int> picked;
        std::string grp_vars;
    };
    const std::vector<Case> cases = {
        {{"HHID", "STATE"}, {1}, "STATE"},
        {{"HHID", "STATE", "SECTOR", "DISTRICT"}, {3, 1, 2}, "DISTRICT, STATE, SECTOR"},
        {{"HHID  ", "STATE     ", "SECTOR    "}, {1, 2}, "STATE, SECTOR"},
        {{"STATE   "}, {0}, "STATE"},
    };
    for (const Case& c : cases) {
        t.state.grp_frozen = false;
        open_window(c.variables);
        add_in_turn(c.picked);
        // The lists show the names as stored.
        EXPECT_EQ(Listgrp->item(0)->text().toStdString(), c.variables[c.picked[0]]);
        click("cmdgrp");
        EXPECT_EQ(t.state.grp_vars, c.grp_vars);
        EXPECT_TRUE(t.state.grp_frozen);
        EXPECT_EQ(control<QPushButton>("cmdgrp")->text(), unfreeze);
        exit_window();
    }
    EXPECT_TRUE(ui.events.isEmpty());
}

TEST_F(DataGroup, FreezingDisablesOnlyTheListsAndPicturesAndUnfreezingKeepsTheList) {
    open_window();
    add_in_turn({1, 2});
    click("cmdgrp");
    const std::vector<std::pair<const char*, bool>> enabled = {
        {"listvar", false}, {"Listgrp", false},  {"Picture1", false}, {"Picture2", false},
        {"cmdadd", true},   {"Cmdremove", true}, {"cmdgrp", true},    {"Cmdexit", true},
    };
    for (const auto& [name, state] : enabled) {
        EXPECT_EQ(control<QWidget>(name)->isEnabled(), state) << name;
    }

    // Added while frozen: the list changes, grp_vars keeps what was frozen.
    click("cmdadd");
    EXPECT_EQ(texts(Listgrp), QStringList({"STATE", "SECTOR", "HHID"}));
    EXPECT_EQ(t.state.grp_vars, "STATE, SECTOR");

    click("cmdgrp");
    EXPECT_FALSE(t.state.grp_frozen);
    EXPECT_EQ(t.state.grp_vars, "STATE, SECTOR");
    EXPECT_EQ(control<QPushButton>("cmdgrp")->text(), freeze);
    for (const auto& [name, state] : enabled) {
        EXPECT_TRUE(control<QWidget>(name)->isEnabled()) << name;
    }
    click("cmdgrp");
    EXPECT_EQ(t.state.grp_vars, "STATE, SECTOR, HHID");
    EXPECT_TRUE(ui.events.isEmpty());
}

TEST_F(DataGroup, RemovingTheFrozenVariableThenFreezingAlertsAndAddThenAllowsUnfreezing) {
    open_window();
    add_in_turn({1});  // STATE
    select(Listgrp, {0});
    click("cmdgrp");
    ASSERT_EQ(t.state.grp_vars, "STATE");

    click("Cmdremove");  // acts on the entry still selected in the disabled list
    EXPECT_EQ(Listgrp->count(), 0);
    EXPECT_EQ(texts(listvar), QStringList({"HHID", "SECTOR", "DISTRICT", "SEX", "STATE"}));
    EXPECT_EQ(selected_rows(listvar), std::vector<int>{0});

    click("cmdgrp");
    EXPECT_EQ(ui.events, alert(no_groups));
    EXPECT_FALSE(t.state.grp_frozen);
    EXPECT_EQ(t.state.grp_vars, "STATE");
    EXPECT_EQ(control<QPushButton>("cmdgrp")->text(), unfreeze);
    EXPECT_FALSE(listvar->isEnabled());
    EXPECT_FALSE(Listgrp->isEnabled());

    click("cmdadd");
    EXPECT_EQ(texts(Listgrp), QStringList{"HHID"});
    click("cmdgrp");
    EXPECT_EQ(control<QPushButton>("cmdgrp")->text(), freeze);
    EXPECT_TRUE(listvar->isEnabled());
    EXPECT_FALSE(t.state.grp_frozen);
    EXPECT_EQ(t.state.grp_vars, "STATE");
}

TEST_F(DataGroup, AFrozenListOutlivesTheWindowAndProceedAcceptsIt) {
    open_window();
    select(listvar, {2, 1});
    click("cmdadd");
    click("cmdgrp");
    exit_window();
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(main->isVisible());

    open_window();
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(Listgrp->count(), 0);
    EXPECT_EQ(texts(listvar), QStringList({"HHID", "STATE", "SECTOR", "DISTRICT", "SEX"}));
    EXPECT_EQ(control<QPushButton>("cmdgrp")->text(), freeze);
    EXPECT_EQ(t.state.grp_vars, "STATE, SECTOR");
    EXPECT_TRUE(t.state.grp_frozen);
    close_by_frame(window);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(main->isVisible());

    t.state.inp_file = "survey.txt";
    main->findChild<QLineEdit*>("outtxt")->setText(QStringLiteral("result"));
    QTest::mouseClick(main->findChild<QPushButton*>("Cmdproceed"), Qt::LeftButton);
    EXPECT_FALSE(ui.messages().contains("Either Variables or Data Groupining not defined"));
}

}  // namespace
}  // namespace vesk
