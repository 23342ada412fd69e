#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest/QTest>

#include "core/app_state.h"
#include "forms/runtest_window.h"
#include "forms/vesk_window.h"
#include "support/recording_user_interface.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

using testing::RecordingUserInterface;
using testing::TempDir;
using testing::TempState;

const QString refusal = QStringLiteral("Either sample or parameter to be tested not defined");

class RuntestWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.state.var_defs = {
            {"STATE", 1, 2, "C", "Y"}, {"SAMPLE", 3, 1, "N", "N"}, {"INCOME", 4, 5, "N", "N"}};
        t.state.db_conn.execute(
            "create table data (STATE varchar( 2), SAMPLE double, INCOME "
            "double)");
        t.state.db_conn.execute(
            "insert into data values ('01', 1, 10), ('01', 2, 20), ('01', 1, 30)");
        t.state.grp_vars = "STATE";
        t.state.out_file = t.dir.file("survey");
        main_window.show();
    }
    void TearDown() override {
        if (window) {
            delete window.data();
        }
    }

    void open_window() {
        window = new RuntestWindow(t.state, ui, &main_window);
        window->open();
    }
    template <typename W>
    W* control(const char* name) {
        auto* found = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    // Picks the item by typing its name, as the user would.
    void pick(const char* combo, const char* name) {
        QTest::keyClicks(control<QComboBox>(combo), QString::fromLatin1(name));
    }
    void click(const char* button) {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }
    // Lets the deferred deletion of a closed window happen.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    TempState t;
    RecordingUserInterface ui;
    QWidget main_window;
    QPointer<RuntestWindow> window;
};

const QStringList alert(const QString& text) {
    return {QStringLiteral("beep"), QStringLiteral("beep"), QStringLiteral("beep"),
            QStringLiteral("message: ") + text};
}

TEST_F(RuntestWindowTest, OpensWithBothListsOfNamesAndNoPick) {
    open_window();
    EXPECT_EQ(window->windowTitle(), "Run Test");
    EXPECT_EQ(control<QLabel>("Label2")->text(),
              "WALD WOOLFWITZ RUN TEST FOR CENTAL AND STATE SAMPLE");
    EXPECT_EQ(control<QLabel>("Label5")->text(), "Sample vaiable:");
    EXPECT_EQ(control<QLabel>("Label6")->text(), "Test Parameter vaiable:");
    EXPECT_EQ(control<QPushButton>("Cmdproceed")->text(), "&Proceed");
    EXPECT_EQ(control<QPushButton>("Cmdexit")->text(), "E&xit");
    for (const char* name : {"Combo_ss", "Combo_par"}) {
        auto* combo = control<QComboBox>(name);
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) {
            items.append(combo->itemText(i));
        }
        EXPECT_EQ(items, QStringList({"STATE", "SAMPLE", "INCOME"})) << name;
        EXPECT_EQ(combo->currentIndex(), -1) << name;
    }
    EXPECT_FALSE(main_window.isVisible());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(RuntestWindowTest, ProceedRefusesUntilBothListsArePickedInThisWindow) {
    // Picks made elsewhere (the class window) do not count here.
    t.state.sample_var = "SAMPLE";
    t.state.param_var = "INCOME";
    t.state.sample_set = t.state.param_set = true;
    open_window();
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
    EXPECT_EQ(t.state.sample_var, "SAMPLE");
    EXPECT_EQ(t.state.param_var, "INCOME");

    // Exit, then a fresh window: the flags start false again, the names stay.
    click("Cmdexit");
    settle();
    EXPECT_TRUE(window.isNull());
    ui.clear();
    open_window();
    click("Cmdproceed");
    EXPECT_EQ(ui.events, alert(refusal));
    EXPECT_EQ(t.state.sample_var, "SAMPLE");
}

TEST_F(RuntestWindowTest, FailuresAreShownAndNoRowsMeanNoMessage) {
    open_window();
    pick("Combo_ss", "SAMPLE");
    pick("Combo_par", "INCOME");

    t.state.db_conn.execute("delete from data");
    click("Cmdproceed");
    EXPECT_TRUE(ui.events.isEmpty()) << ui.events.join('|').toStdString();
    EXPECT_EQ(TempDir::read(t.dir.file("survey_run.csv")), "");

    t.state.out_file = t.dir.file("no/such/folder/survey");
    click("Cmdproceed");
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains("no/such/folder/survey_run.csv"))
        << ui.messages()[0].toStdString();

    ui.clear();
    t.state.db_conn.execute("drop table data");
    click("Cmdproceed");
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains("cannot read the data"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(RuntestWindowTest, ExitAndTheFrameCloseControlBringTheMainWindowBack) {
    for (const bool by_exit : {true, false}) {
        open_window();
        EXPECT_FALSE(main_window.isVisible());
        if (by_exit) {
            click("Cmdexit");
        } else {
            window->close();
        }
        settle();
        EXPECT_TRUE(main_window.isVisible()) << by_exit;
        EXPECT_TRUE(window.isNull()) << by_exit;
    }
}

TEST_F(RuntestWindowTest, TheMainWindowsProceedOpensIt) {
    RecordingUserInterface main_ui;
    VeskWindow vesk(t.state, main_ui);
    vesk.show();
    t.state.inp_file = t.dir.file("survey.txt");
    t.state.data_loaded = true;
    t.state.grp_frozen = true;
    vesk.findChild<QLineEdit*>("outtxt")->setText(QString::fromStdString(t.dir.file("survey")));
    QTest::mouseClick(vesk.findChild<QPushButton*>("Cmdproceed"), Qt::LeftButton);
    RuntestWindow* opened = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "runtest" && widget->isVisible()) {
            opened = qobject_cast<RuntestWindow*>(widget);
        }
    }
    ASSERT_NE(opened, nullptr);
    EXPECT_FALSE(vesk.isVisible());
    opened->Cmdexit_Click();
    settle();
    EXPECT_TRUE(vesk.isVisible());
}

}  // namespace
}  // namespace vesk
