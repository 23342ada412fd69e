#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QtTest/QTest>

#include "core/layout_check.h"
#include "core/text.h"
#include "forms/navigation_bar.h"
#include "forms/variable_grid.h"
#include "forms/vesk_window.h"
#include "support/data_table.h"
#include "support/recording_user_interface.h"
#include "support/temp_dir.h"
#include "support/widget_driver.h"

namespace vesk {
namespace {

using testing::alert;
using Table = std::vector<std::string>;

// HHID ends at 73, STATE is the last character of an 80-character record, AGE has no start yet.
const char* const three_rows =
    "insert into variable_draft (ID, VN, ST, LEN, TYPE, PKEY) values (1, 'HHID', 71, 3, 'C', "
    "'N'), "
    "(2, 'STATE', 80, 1, 'C', 'N'), (3, 'AGE', NULL, NULL, NULL, NULL)";
const char* const one_row =
    "insert into variable_draft (ID, VN, ST, LEN, TYPE, PKEY) values (1, 'HHID', 1, 3, 'C', 'Y')";

const QString key_msg = QString::fromUtf8(key_message) + ": the cell is empty";

// Drives the grid of a shown main window whose input file has records of 80 characters.
class GridFixture {
  public:
    explicit GridFixture(const char* rows = nullptr, const std::string& database = "test.db")
        : state(Database::open(database.starts_with(":") ? database : dir.file(database))) {
        if (rows) {
            state.db_conn.execute(rows);
        }
        window = std::make_unique<VeskWindow>(state, ui);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        auto* input = window->findChild<QLineEdit*>("inptxt");
        input->setText(QString::fromStdString(dir.write("survey.txt", std::string(80, 'x'))));
        QTest::keyClick(input, Qt::Key_Return);
        view = window->findChild<QTableView*>("DataGridX");
        view->setFocus();
        settle();
    }

    static void settle() { QCoreApplication::processEvents(); }
    QWidget* focus() const { return QApplication::focusWidget(); }
    bool focus_in_grid() const { return focus() == view || view->isAncestorOf(focus()); }

    void go(int row, int column) {
        const QRect cell = view->visualRect(view->model()->index(row, column));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        settle();
    }
    void type(const QString& text) {
        for (const QChar c : text) {
            QTest::keyClick(focus(), c.toLatin1());
        }
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(focus(), key, modifiers);
        settle();
    }
    // Opens the editor on the current cell and empties it.
    void clear_cell() {
        press(Qt::Key_F2);
        press(Qt::Key_A, Qt::ControlModifier);
        press(Qt::Key_Backspace);
    }
    void leave() {
        QTest::mouseClick(window->findChild<QLineEdit*>("outtxt"), Qt::LeftButton);
        settle();
    }

    QPoint cursor() const { return {view->currentIndex().row(), view->currentIndex().column()}; }
    QString shown(int row, int column) const {
        return view->model()->data(view->model()->index(row, column)).toString();
    }
    QString caption() const { return window->findChild<NavigationBar*>("AdodcX")->caption(); }
    // The marks of the rows, as the grid's row headers show them.
    QStringList marks() const {
        QStringList texts;
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            texts.append(view->model()->headerData(row, Qt::Vertical).toString());
        }
        return texts;
    }

    // The layout the grid edits as stored, one "ID,VN,ST,LEN,TYPE,PKEY,DEC" line a row.
    Table table() {
        return testing::rows(
            state.db_conn,
            "select ID, VN, ST, LEN, TYPE, PKEY, DEC from variable_draft order by ID");
    }
    std::string stored(int row, int column) { return split(table()[row], ',')[column]; }

    testing::TempDir dir;
    AppState state;
    testing::RecordingUserInterface ui;
    std::unique_ptr<VeskWindow> window;
    QTableView* view = nullptr;
};

// The grid's own part: the cursor, the focus and what is stored; the rules themselves are
// pinned by the layout check's tests.
TEST(CellCheckInGrid, SameVerdictOnEnterAndOnLeavingButForAnEmptyKeyFlag) {
    struct Verdict {
        QString message;     // empty: the cell passes
        const char* stored;  // the cell's value afterwards
        QPoint cursor;       // (row, column)
    };
    struct Case {
        const char* what;
        int column;
        const char* typed;  // nullptr: the cell is emptied
        Verdict on_enter;
        Verdict on_leaving;
    };
    // The cursor rests on a cell that failed; Enter moves on from one that passed, to the next
    // row's name after the decimals.
    const QPoint name(0, column_name), start(0, column_start), key(0, column_key);
    const QPoint decimals(0, column_decimals), next_row(1, column_name);
    const QString beyond_length =
        "Decimals: a whole number from 0 to the length 3 please, not \"4\"";
    const QString start_msg = "Start 81 is beyond the record length 80";
    const Case cases[] = {
        {"lower-case name", column_name, "sex", {"", "SEX", start}, {"", "SEX", name}},
        {"start beyond", column_start, "81", {start_msg, "71", start}, {start_msg, "71", start}},
        {"lower-case key", column_key, "y", {"", "Y", decimals}, {"", "Y", key}},
        {"empty key", column_key, nullptr, {"", "", decimals}, {key_msg, "N", key}},
        {"decimals", column_decimals, "2", {"", "2", next_row}, {"", "2", next_row}},
        {"empty decimals", column_decimals, nullptr, {"", "", next_row}, {"", "", next_row}},
        {"decimals beyond",
         column_decimals,
         "4",
         {beyond_length, "", decimals},
         {beyond_length, "", decimals}},
    };
    for (const Case& c : cases) {
        for (const bool enter : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (enter ? " on Enter" : " on leaving"));
            const Verdict& v = enter ? c.on_enter : c.on_leaving;
            GridFixture g(three_rows);
            g.go(0, c.column);
            c.typed ? g.type(QString::fromLatin1(c.typed)) : g.clear_cell();
            g.ui.clear();
            enter ? g.press(Qt::Key_Return) : g.leave();
            const bool passes = v.message.isEmpty();
            EXPECT_EQ(g.ui.events, passes ? QStringList{} : alert(v.message));
            EXPECT_EQ(g.shown(0, c.column), v.stored);
            EXPECT_EQ(g.cursor(), v.cursor);
            EXPECT_EQ(g.focus_in_grid(), !passes || enter);

            g.go(1, column_name);  // leaving the row stores it
            EXPECT_EQ(g.stored(0, c.column), *v.stored ? v.stored : "NULL");
        }
    }
}

TEST(LeavingTheGrid, AFailedCheckKeepsTheClickOrShortcutFromActing) {
    const std::function<void(GridFixture&)> ways[] = {
        [](GridFixture& g) {
            QTest::mouseClick(g.window->findChild<QWidget*>("Cmd_clr_var"), Qt::LeftButton);
        },
        [](GridFixture& g) {
            g.press(Qt::Key_C, Qt::AltModifier);  // &Clear Variables
            QTest::qWait(200);                    // a shortcut clicks its button a moment later
        },
    };
    for (const auto& clear_variables : ways) {
        GridFixture g(three_rows);
        g.go(0, column_type);
        g.type("X");
        g.ui.clear();
        clear_variables(g);
        g.settle();
        EXPECT_EQ(g.ui.events, alert(QString::fromUtf8(type_message) + ", not \"X\""));
        EXPECT_EQ(g.table().size(), 3U);
        EXPECT_TRUE(g.focus_in_grid());
        EXPECT_EQ(g.cursor(), QPoint(0, column_type));

        g.type("n");  // once the cell is right the same click goes through
        g.ui.clear();
        clear_variables(g);
        g.settle();
        EXPECT_TRUE(g.ui.events.isEmpty());
        EXPECT_TRUE(g.table().empty());
    }
}

TEST(ClickedAway, TypesAndKeyFlagsAreCorrectedAndWhatTheTableCannotHoldIsRefused) {
    struct Case {
        int column;
        const char* typed;
        QString message;
        const char* stored;
    };
    const Case cases[] = {
        {column_type, "X", "", "C"},
        {column_key, "q", "", "N"},
        {column_start, "81", "", "81"},  // positions are not corrected
        {column_start, "x", "Start \"x\" is not a number", "71"},
    };
    for (const auto& c : cases) {
        GridFixture g(three_rows);
        g.go(0, c.column);
        g.type(QString::fromLatin1(c.typed));
        g.ui.clear();
        g.go(0, column_name);
        EXPECT_EQ(g.ui.events, c.message.isEmpty() ? QStringList{} : alert(c.message)) << c.typed;
        EXPECT_EQ(g.shown(0, c.column), c.stored) << c.typed;
        g.go(1, column_name);
        EXPECT_EQ(g.stored(0, c.column), c.stored) << c.typed;
    }
}

TEST(KeyboardEntry, ABlankNewRecordIsNeverStored) {
    GridFixture g(one_row);
    g.go(1, column_start);  // the new-row line
    g.type("a");            // starts a new record, on its name
    EXPECT_EQ(g.window->grid().record_count(), 2);
    EXPECT_EQ(g.cursor(), QPoint(1, column_name));
    g.press(Qt::Key_Escape);  // drops the typing
    g.press(Qt::Key_Escape);  // drops the record
    EXPECT_EQ(g.window->grid().record_count(), 1);

    QTest::mouseDClick(g.view->viewport(), Qt::LeftButton, {},
                       g.view->visualRect(g.view->model()->index(1, column_type)).center());
    EXPECT_EQ(g.window->grid().record_count(), 2);
    g.type("b");
    g.press(Qt::Key_Escape);
    g.go(0, column_name);  // leaving a blank new record drops it too
    EXPECT_EQ(g.table(), Table{"1,HHID,1,3,C,Y,NULL"});
}

TEST(KeyboardEntry, OneLineIsMarkedStarWhereANewVariableStartsAndARowNotStoredYetAPencil) {
    const QString pencil = QStringLiteral("\u270E");
    const struct {
        const char* rows;
        QStringList marks;
    } cases[] = {{nullptr, {"*"}}, {one_row, {"1", "*"}}};
    for (const auto& [rows, marks] : cases) {
        GridFixture g(rows);
        EXPECT_EQ(g.marks(), marks);
        g.go(static_cast<int>(marks.size()) - 1, column_name);
        g.type("age");
        g.press(Qt::Key_Return);
        const QStringList typing = marks.first(marks.size() - 1) + QStringList{pencil, "*"};
        EXPECT_EQ(g.marks(), typing);
        g.press(Qt::Key_Escape);  // the new row goes, and its line is the * line again
        EXPECT_EQ(g.marks(), marks);
    }
}

TEST(KeyboardEntry, EscEscOnAHalfTypedNewRowRemovesItFromTheTableToo) {
    const QStringList headings = {"VARIABLE", "START POSITION", "LENGTH",
                                  "VAR TYPE", "PKEY(Y/N)",      "DECIMALS"};
    const auto shown_headings = [](const GridFixture& g) {
        QStringList texts;
        for (int column = column_name; column <= column_decimals; ++column) {
            texts.append(g.view->model()->headerData(column, Qt::Horizontal).toString());
        }
        return texts;
    };
    // Esc Esc right after typing, and after leaving the row (which writes it) and coming back.
    for (const bool left_first : {false, true}) {
        GridFixture g(one_row);
        g.go(1, column_name);
        g.type("WEIGHT");
        g.press(Qt::Key_Return);
        if (left_first) {
            g.go(0, column_name);
            EXPECT_EQ(g.table(),
                      (Table{"1,HHID,1,3,C,Y,NULL", "2,WEIGHT,NULL,NULL,NULL,NULL,NULL"}));
            g.go(1, column_start);
        }
        g.press(Qt::Key_Escape);
        g.press(Qt::Key_Escape);
        EXPECT_EQ(g.table(), Table{"1,HHID,1,3,C,Y,NULL"}) << left_first;
        EXPECT_EQ(g.window->grid().record_count(), 1) << left_first;
        EXPECT_EQ(shown_headings(g), headings) << left_first;
        QTest::mouseClick(g.window->findChild<QWidget*>("Refresh"), Qt::LeftButton);
        EXPECT_EQ(shown_headings(g), headings) << left_first;
        EXPECT_TRUE(g.ui.events.isEmpty()) << left_first;
    }
}

TEST(KeyboardEntry, EscEscOnACompleteRowKeepsItAsStoredAndAnEditLeftInItIsWrittenOnRefresh) {
    GridFixture g(three_rows);
    g.go(0, column_name);
    g.type("sex");
    g.press(Qt::Key_Return);
    g.press(Qt::Key_Escape);
    EXPECT_EQ(g.shown(0, column_name), "HHID");
    g.go(1, column_name);
    EXPECT_EQ(g.table()[0], "1,HHID,71,3,C,N,NULL");

    g.go(0, column_name);
    g.type("sex");  // the table is read again only after the edit is written
    QTest::mouseClick(g.window->findChild<QWidget*>("Refresh"), Qt::LeftButton);
    g.settle();
    EXPECT_TRUE(g.ui.events.isEmpty());
    EXPECT_EQ(g.table()[0], "1,SEX,71,3,C,N,NULL");
    EXPECT_EQ(g.shown(0, column_name), "SEX");
}

TEST(Delete, TheCaptionFollowsKeysAndClicksAndDeleteAsksAndKeepsIdsUniqueForLaterRecords) {
    GridFixture g(three_rows);
    g.go(1, column_name);
    EXPECT_EQ(g.caption(), "Record  2/3");
    // Page Down goes to the new-row line.
    const std::pair<Qt::Key, const char*> steps[] = {{Qt::Key_Down, "Record  3/3"},
                                                     {Qt::Key_PageDown, "Record  0/3"},
                                                     {Qt::Key_PageUp, "Record  1/3"}};
    for (const auto& [key, caption] : steps) {
        g.press(key);
        EXPECT_EQ(g.caption(), caption) << key;
    }
    g.window->findChild<QWidget*>("AdodcX_last")->setFocus();
    QTest::mouseClick(g.window->findChild<QWidget*>("AdodcX_last"), Qt::LeftButton);
    EXPECT_EQ(g.caption(), "Record  3/3");

    g.go(1, column_name);
    g.ui.answers = {false, true};
    g.press(Qt::Key_Delete);
    EXPECT_EQ(g.ui.events,
              QStringList{"question: Are you sure that you want to delete the record of variable "
                          "STATE?"});
    EXPECT_EQ(g.table().size(), 3U);
    g.press(Qt::Key_Delete);
    EXPECT_EQ(g.table(), (Table{"1,HHID,71,3,C,N,NULL", "3,AGE,NULL,NULL,NULL,NULL,NULL"}));
    EXPECT_EQ(g.window->grid().record_count(), 2);

    g.go(2, column_name);  // the new-row line
    for (const char* cell : {"sex", "1", "1", "n", "n", ""}) {
        g.type(QString::fromLatin1(cell));
        g.press(Qt::Key_Return);
    }
    EXPECT_EQ(g.table(), (Table{"1,HHID,71,3,C,N,NULL", "3,AGE,NULL,NULL,NULL,NULL,NULL",
                                "4,SEX,1,1,N,N,NULL"}));

    g.ui.clear();
    g.go(3, column_name);  // nothing to delete on the new-row line
    g.press(Qt::Key_Delete);
    EXPECT_TRUE(g.ui.events.isEmpty());
    EXPECT_EQ(g.table().size(), 3U);
}

TEST(KeyboardEntry, VariablesEnterAfterEnterLandInOrderInTheSessionsTable) {
    GridFixture g(nullptr, ":memory:");
    ASSERT_EQ(g.cursor(), QPoint(0, column_name));
    for (const char* cell : {"hhid", "1", "4", "c", "y", "", "amount", "5", "6", "N", "", "2.4"}) {
        g.type(QString::fromLatin1(cell));
        g.press(Qt::Key_Return);
    }
    EXPECT_TRUE(g.ui.events.isEmpty());
    EXPECT_EQ(g.table(), (Table{"1,HHID,1,4,C,Y,NULL", "2,AMOUNT,5,6,N,NULL,2"}));
    EXPECT_EQ(g.cursor(), QPoint(2, column_name));  // the new-row line
    EXPECT_EQ(g.view->model()->headerData(2, Qt::Vertical).toString(), "*");
}

}  // namespace
}  // namespace vesk
