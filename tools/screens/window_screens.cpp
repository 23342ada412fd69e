// window_screens DB OUT: pictures of both test windows as a user sees them on the screen the
// program runs on (under Xvfb, a screen of the size to check). DB holds the example data loaded
// by vesk-batch; OUT is the folder for the result files and OUT/runs.png, OUT/chi.png. Each
// window fills the screen, runs its test on the groups STATE, SECTOR and has group 19 / 1
// selected: the group the class-cell tests work by hand.
//
// Run by scripts/screenshots; not a test (it needs a real display). It prints each window's
// chart height and whether the deciding columns are in view, as measured on that display.

#include <QApplication>
#include <QChartView>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>
#include <QtTest/QTest>

#include <cstdio>
#include <functional>
#include <string>

#include "core/app_state.h"
#include "core/variable_table.h"
#include "forms/chitest_window.h"
#include "forms/runtest_window.h"
#include "report_print/numbers_with_a_point.h"
#include "support/recording_user_interface.h"
#include "support/widget_driver.h"

namespace {

using vesk::testing::WidgetDriver;

// Selects the row of the group with these values, as a click on it does.
bool select_group(QTableView* table, const QString& first, const QString& second) {
    const QAbstractItemModel* model = table->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, 0).data().toString() == first &&
            model->index(row, 1).data().toString() == second) {
            table->setCurrentIndex(model->index(row, 0));
            table->selectRow(row);
            return true;
        }
    }
    return false;
}

// Tells what the picture is to show: the chart's height, and whether the table's columns up to
// the effect size are in view.
void tell_room(const WidgetDriver& driver, const QWidget* window) {
    const auto* table = driver.control<QTableView>("resultsTable");
    const QAbstractItemModel* model = table->model();
    int deciding_end = -1;
    for (int column = 0; column < model->columnCount(); ++column) {
        if (model->headerData(column, Qt::Horizontal)
                .toString()
                .contains(QStringLiteral("(effect)"))) {
            deciding_end = table->columnViewportPosition(column) + table->columnWidth(column);
        }
    }
    std::printf("%s at %dx%d: chart %d px high; columns up to the effect size %s\n",
                qPrintable(window->objectName()), window->width(), window->height(),
                driver.control<QChartView>("resultsChart")->height(),
                deciding_end >= 0 && deciding_end <= table->viewport()->width() ? "in view"
                                                                                : "NOT in view");
}

// Opens the window filling the screen, lets the user's steps run, selects the group and saves
// what the screen shows.
bool shoot(QWidget* window, const WidgetDriver& driver, const std::function<void()>& steps,
           const QString& png) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    window->setGeometry(screen);
    steps();
    QCoreApplication::processEvents();
    auto* table = driver.control<QTableView>("resultsTable");
    if (table == nullptr || !select_group(table, QStringLiteral("19"), QStringLiteral("1"))) {
        std::fprintf(stderr, "window_screens: no group 19 / 1 in %s\n",
                     qPrintable(window->objectName()));
        return false;
    }
    if (!QTest::qWaitForWindowExposed(window)) {
        std::fprintf(stderr, "window_screens: the window was never shown\n");
        return false;
    }
    QTest::qWait(300);  // the last paint reaches the screen
    tell_room(driver, window);
    return QGuiApplication::primaryScreen()->grabWindow(0).save(png);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: window_screens DB OUT\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    vesk::write_numbers_with_a_point();
    const QString out = QString::fromLocal8Bit(argv[2]);

    vesk::AppState state(vesk::Database::open(argv[1]));
    state.var_defs = vesk::read_var_defs(state.db_conn, vesk::LayoutTable::loaded);
    state.data_loaded = state.grp_frozen = true;
    state.grp_vars = "STATE, SECTOR";
    state.out_file = (out + QStringLiteral("/example")).toStdString();
    vesk::testing::RecordingUserInterface ui;
    QWidget main_window;
    WidgetDriver driver;

    auto* runs = new vesk::RuntestWindow(state, ui, &main_window);
    runs->open();
    driver.root = runs;
    bool ok = shoot(
        runs, driver,
        [&] {
            driver.pick("Combo_ss", "SAMPLE");
            driver.pick("Combo_par", "AMOUNT");
            driver.click("Cmdproceed");
        },
        out + QStringLiteral("/runs.png"));
    delete runs;

    auto* chi = new vesk::ChitestWindow(state, ui, &main_window);
    chi->open();
    driver.root = chi;
    ok = shoot(
             chi, driver,
             [&] {
                 driver.pick("Combo_ss", "SAMPLE");
                 driver.pick("Combo_par", "AGEGRP");
                 // Classes 1, 2, 3 and 4-5, as in the README's walkthrough.
                 auto* values = driver.control<QListWidget>("listpar");
                 for (const std::vector<int>& rows : {std::vector<int>{0}, {0}, {0}, {0, 1}}) {
                     vesk::testing::select_rows(values, rows);
                     driver.click("cmdadd");
                 }
                 driver.click("cmdclass");
                 driver.click("Cmdproceed");
             },
             out + QStringLiteral("/chi.png")) &&
         ok;
    delete chi;

    if (!ok) {
        for (const QString& event : ui.events) {
            std::fprintf(stderr, "%s\n", qPrintable(event));
        }
    }
    return ok ? 0 : 1;
}
