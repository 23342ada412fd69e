#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest/QTest>

#include "core/app_state.h"
#include "forms/chitest_window.h"
#include "forms/picture_button.h"
#include "forms/vesk_window.h"
#include "support/recording_user_interface.h"
#include "support/temp_dir.h"
#include "survey_data.h"

namespace vesk {
namespace {

using testing::add_records;
using testing::make_survey;
using testing::RecordingUserInterface;
using testing::TempDir;
using testing::TempState;

const VarDef sample_def{"SAMPLE", 4, 1, "N", "N"};
const VarDef numeric_param{"P", 5, 1, "N", "N"};
const VarDef character_param{"CODE", 6, 3, "C", "N"};

QString blanks(int n) {
    return QString(n, QLatin1Char(' '));
}

QStringList alert(const QString& text) {
    return {QStringLiteral("beep"), QStringLiteral("beep"), QStringLiteral("beep"),
            QStringLiteral("message: ") + text};
}

class ChitestWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        make_survey(t.state, sample_def, numeric_param);
        t.state.var_defs.push_back(character_param);
        t.state.db_conn.execute("alter table data add column CODE varchar(3)");
        t.state.out_file = t.dir.file("survey");
        main_window.show();
    }
    void TearDown() override { delete window.data(); }

    void open() {
        window = new ChitestWindow(t.state, ui, &main_window);
        window->open();
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
    void pick(const char* combo_name, const QString& text) {
        auto* combo = control<QComboBox>(combo_name);
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    QListWidget* list(const char* name) { return control<QListWidget>(name); }
    QStringList lines(const char* name) {
        QStringList texts;
        for (int row = 0; row < list(name)->count(); ++row) {
            texts.append(list(name)->item(row)->text());
        }
        return texts;
    }
    std::vector<qlonglong> frequencies(const char* name) {
        std::vector<qlonglong> data;
        for (int row = 0; row < list(name)->count(); ++row) {
            data.push_back(list(name)->item(row)->data(Qt::UserRole).toLongLong());
        }
        return data;
    }
    // Selects the lines of listpar at the given rows and presses Add.
    void add_class(std::initializer_list<int> rows) {
        list("listpar")->clearSelection();
        for (int row : rows) {
            list("listpar")->item(row)->setSelected(true);
        }
        click("cmdadd");
    }
    void select_class(int row) { list("Listclass")->setCurrentRow(row); }
    // Numeric P: 1 (5 records), 2 (7), 3 (1); character CODE: "AB " and "O'H".
    void add_standard_records() {
        add_records(t.state, std::string("01"), 1, 1.0, 1.0, 5);
        add_records(t.state, std::string("01"), 1, 2.0, 2.0, 7);
        add_records(t.state, std::string("02"), 1, 2.0, 3.0, 1);
        t.state.db_conn.execute(
            "update data set CODE = case when P = 2 then 'O''H' else 'AB ' end");
    }

    TempState t;
    RecordingUserInterface ui;
    QWidget main_window;
    QPointer<ChitestWindow> window;
};

TEST_F(ChitestWindowTest, ControlsCarryTheirNamesCaptionsAndVariables) {
    open();
    EXPECT_EQ(window->objectName(), "chitest");
    EXPECT_EQ(window->windowTitle(), "chi squrare test");
    const std::pair<const char*, const char*> labels[] = {
        {"Label2", "CHI-SQUARE TEST: Formation of Class for the parameter"},
        {"Label5", "Sample vaiable:"},
        {"Label6", "Test Parameter vaiable:"},
        {"lblistpar", "heading"},
        {"lblistclass", "heading"},
        {"Label4", "Reorder  classes"},
        {"Label1", "priority"},
    };
    for (const auto& [name, caption] : labels) {
        EXPECT_EQ(control<QLabel>(name)->text(), caption) << name;
    }
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdadd", "&Add >"},
        {"Cmdremove", "< &Remove"},
        {"cmdclass", "&Freeze Class Definition"},
        {"Cmdproceed", "&Proceed"},
        {"Cmdexit", "E&xit"},
    };
    for (const auto& [name, caption] : buttons) {
        EXPECT_EQ(control<QPushButton>(name)->text(), caption) << name;
    }
    EXPECT_NE(control<PictureButton>("Picture1"), nullptr);
    EXPECT_NE(control<PictureButton>("Picture2"), nullptr);
    EXPECT_EQ(list("listpar")->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(list("Listclass")->selectionMode(), QAbstractItemView::SingleSelection);
    for (const char* name : {"listpar", "Listclass", "lblistpar", "lblistclass"}) {
        const QFontMetrics metrics(control<QWidget>(name)->font());
        EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("iiii")),
                  metrics.horizontalAdvance(QStringLiteral("####")))
            << name;
    }
    for (const char* combo : {"Combo_ss", "Combo_par"}) {
        QStringList names;
        for (int i = 0; i < control<QComboBox>(combo)->count(); ++i) {
            names.append(control<QComboBox>(combo)->itemText(i));
        }
        EXPECT_EQ(names, (QStringList{"STATE", "SECTOR", "SAMPLE", "P", "CODE"})) << combo;
    }
    EXPECT_FALSE(t.state.sample_set || t.state.param_set || t.state.class_frozen);
    EXPECT_FALSE(main_window.isVisible());
}

TEST_F(ChitestWindowTest, ValuesAreListedFormClassesAndComeBackWhenTheClassIsRemoved) {
    add_standard_records();
    open();
    pick("Combo_par", "P");
    EXPECT_TRUE(t.state.param_set);
    EXPECT_EQ(control<QLabel>("lblistpar")->text(), "P" + blanks(10) + "Total Frequency");
    EXPECT_EQ(control<QLabel>("lblistclass")->text(),
              "Class values                                 Total Frequency");
    const QStringList listed = {"1" + blanks(10) + "#        5", "2" + blanks(10) + "#        7",
                                "3" + blanks(10) + "#        1"};
    EXPECT_EQ(lines("listpar"), listed);
    EXPECT_EQ(frequencies("listpar"), (std::vector<qlonglong>{5, 7, 1}));

    add_class({0, 2});
    add_class({0});
    EXPECT_EQ(lines("Listclass"), (QStringList{"1,3     #        6", "2     #        7"}));
    EXPECT_EQ(frequencies("Listclass"), (std::vector<qlonglong>{6, 7}));
    EXPECT_TRUE(lines("listpar").isEmpty());
    click("cmdadd");  // nothing selected: nothing happens
    EXPECT_EQ(lines("Listclass").size(), 2);

    select_class(0);
    click("Cmdremove");
    EXPECT_EQ(lines("Listclass"), QStringList{"2     #        7"});
    EXPECT_EQ(lines("listpar"), (QStringList{listed[0], listed[2]}));
    EXPECT_EQ(frequencies("listpar"), (std::vector<qlonglong>{5, 1}));
    select_class(0);
    click("Cmdremove");
    EXPECT_EQ(lines("listpar"), listed);
    EXPECT_EQ(frequencies("listpar"), (std::vector<qlonglong>{5, 7, 1}));
    EXPECT_TRUE(ui.events.isEmpty());

    add_class({1});  // picking a parameter again discards the classes
    pick("Combo_par", "CODE");
    EXPECT_TRUE(lines("Listclass").isEmpty());
    EXPECT_EQ(lines("listpar").size(), 2);
}

TEST_F(ChitestWindowTest, CharacterValuesKeepTrailingBlanksAndQuotesInsideTheirQuotes) {
    add_standard_records();
    open();
    pick("Combo_par", "CODE");
    EXPECT_EQ(lines("listpar"),
              (QStringList{"AB " + blanks(10) + "#        6", "O'H" + blanks(10) + "#        7"}));
    add_class({1});
    add_class({0});
    EXPECT_EQ(lines("Listclass"), (QStringList{"'O'H'     #        7", "'AB '     #        6"}));
    pick("Combo_ss", "SAMPLE");
    click("cmdclass");
    ASSERT_EQ(t.state.class_count(), 2);
    EXPECT_EQ(t.state.class_defs[1].values, "'AB '");
    EXPECT_EQ(t.state.class_defs[1].type, "C");
    EXPECT_EQ(t.state.class_defs[0].members, std::vector<std::string>{"O'H"});

    click("Cmdproceed");
    EXPECT_EQ(ui.messages(), QStringList{"Generated Test result in file: " +
                                         QString::fromStdString(t.state.out_file) + "_chi.csv"});
    EXPECT_TRUE(
        TempDir::read(t.state.out_file + "_chi.csv").ends_with("\n02,1,0,1,1,0,0,0,1,0,1,1,0\n"));
}

TEST_F(ChitestWindowTest, ChevronsReorderTheClassesAndTheOrderNumbersThem) {
    add_standard_records();
    open();
    pick("Combo_ss", "SAMPLE");
    pick("Combo_par", "P");
    add_class({0});
    add_class({0});
    add_class({0});
    const QStringList built = lines("Listclass");  // values 1, 2, 3

    select_class(0);
    click("Picture1");  // first up: no change
    select_class(2);
    click("Picture2");  // last down: no change
    EXPECT_EQ(lines("Listclass"), built);

    click("Picture1");  // value 3 moves up, twice, and stays selected
    click("Picture1");
    EXPECT_EQ(lines("Listclass"), (QStringList{built[2], built[0], built[1]}));
    EXPECT_EQ(list("Listclass")->currentRow(), 0);
    click("Picture2");
    EXPECT_EQ(lines("Listclass"), (QStringList{built[0], built[2], built[1]}));
    EXPECT_EQ(list("Listclass")->currentRow(), 1);

    click("cmdclass");
    ASSERT_EQ(t.state.class_count(), 3);
    EXPECT_EQ(t.state.class_defs[1].values, "3");
    click("Cmdproceed");
    auto query = t.state.db_conn.prepare("select P, CLASS from data group by P order by P");
    std::vector<std::string> assigned;
    while (query.step()) {
        assigned.push_back(query.text(0) + "," + query.text(1));
    }
    EXPECT_EQ(assigned, (std::vector<std::string>{"1,1", "2,3", "3,2"}));
}

TEST_F(ChitestWindowTest, FreezeIsRefusedUntilEveryValueIsClassedAndUnfreezeEmptiesTheClasses) {
    add_standard_records();
    open();
    click("cmdclass");
    EXPECT_EQ(ui.events, alert("No Classes are formed"));
    pick("Combo_par", "P");
    add_class({0});
    ui.clear();
    click("cmdclass");
    EXPECT_EQ(ui.events, alert("Some parameter values are not classified"));
    EXPECT_FALSE(t.state.class_frozen);

    add_class({0, 1});
    ui.clear();
    click("cmdclass");
    EXPECT_TRUE(ui.events.isEmpty());
    EXPECT_TRUE(t.state.class_frozen);
    EXPECT_EQ(control<QPushButton>("cmdclass")->text(), "&UnFreeze Class Definition");
    const char* frozen_controls[] = {"listpar",  "Listclass", "Picture1", "Picture2",
                                     "Combo_ss", "Combo_par", "cmdadd",   "Cmdremove"};
    for (const char* name : frozen_controls) {
        EXPECT_FALSE(control<QWidget>(name)->isEnabled()) << name;
    }

    click("cmdclass");
    EXPECT_FALSE(t.state.class_frozen);
    EXPECT_EQ(t.state.class_count(), 0);
    EXPECT_EQ(control<QPushButton>("cmdclass")->text(), "&Freeze Class Definition");
    for (const char* name : frozen_controls) {
        EXPECT_TRUE(control<QWidget>(name)->isEnabled()) << name;
    }
}

TEST_F(ChitestWindowTest, ProceedNeedsASampleAndFrozenClassesAndNamesOnlyAFileWithRows) {
    add_standard_records();
    open();
    pick("Combo_par", "P");
    add_class({0, 1, 2});
    click("cmdclass");
    click("Cmdproceed");
    EXPECT_EQ(ui.events, alert("Either sample or Parameter class not defined"));

    click("cmdclass");
    pick("Combo_ss", "SAMPLE");
    ui.clear();
    click("Cmdproceed");
    EXPECT_EQ(ui.events, alert("Either sample or Parameter class not defined"));

    click("cmdclass");
    t.state.db_conn.execute("delete from data");
    ui.clear();
    click("Cmdproceed");
    EXPECT_TRUE(ui.events.isEmpty());
    EXPECT_EQ(TempDir::read(t.state.out_file + "_chi.csv"), "");
}

TEST_F(ChitestWindowTest, FailuresAreToldAndTheWindowGoesOn) {
    add_standard_records();
    t.state.var_defs.push_back({"MISSING", 9, 1, "N", "N"});
    open();
    pick("Combo_par", "MISSING");
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains("MISSING"));
    EXPECT_TRUE(lines("listpar").isEmpty());

    pick("Combo_par", "P");
    pick("Combo_ss", "MISSING");
    add_class({0, 1, 2});
    click("cmdclass");
    ui.clear();
    click("Cmdproceed");
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].startsWith("The frequency table could not be built"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ChitestWindowTest, ExitAndTheFrameCloseControlBringTheMainWindowBack) {
    for (const bool by_exit : {true, false}) {
        open();
        EXPECT_FALSE(main_window.isVisible());
        if (by_exit) {
            click("Cmdexit");
        } else {
            window->close();
        }
        EXPECT_TRUE(main_window.isVisible()) << by_exit;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.isNull()) << by_exit;
    }
}

TEST(ChitestFromMainWindow, ProceedWithTheChiSquareChoiceOpensTheClassWindow) {
    TempState t;
    RecordingUserInterface ui;
    make_survey(t.state, sample_def, numeric_param);
    t.state.inp_file = t.dir.write("survey.txt", "0111\n");
    t.state.data_loaded = true;
    t.state.grp_frozen = true;
    VeskWindow main_window(t.state, ui);
    main_window.show();
    main_window.findChild<QLineEdit*>("outtxt")->setText("result");
    QTest::mouseClick(main_window.findChild<QRadioButton*>("Optmain_1"), Qt::LeftButton);
    QTest::mouseClick(main_window.findChild<QPushButton*>("Cmdproceed"), Qt::LeftButton);

    QPointer<QWidget> opened;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "chitest" && widget->isVisible()) {
            opened = widget;
        }
    }
    ASSERT_FALSE(opened.isNull());
    EXPECT_FALSE(main_window.isVisible());
    opened->close();
    EXPECT_TRUE(main_window.isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(opened.isNull());
}

}  // namespace
}  // namespace vesk
