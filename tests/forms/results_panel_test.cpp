#include <gtest/gtest.h>

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTableView>
#include <QTableWidget>
#include <QToolTip>

#include <filesystem>
#include <functional>
#include <regex>
#include <set>
#include <tuple>

#include "forms/chitest_window.h"
#include "forms/runtest_window.h"
#include "support/data_table.h"
#include "support/window_harness.h"

// Readable failures for texts.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace vesk {
namespace {

using testing::add_rows;
using testing::TempDir;

class ResultsPanelTest : public testing::SecondaryWindowHarness<SecondaryWindow> {
  protected:
    void SetUp() override {
        testing::make_data(t.state, {{"STATE", 1, 2, "C", "N"},
                                     {"SECTOR", 3, 1, "N", "N"},
                                     {"SAMPLE", 4, 1, "N", "N"},
                                     {"P", 5, 2, "N", "N"}});
        t.state.grp_vars = "STATE, SECTOR";
        t.state.out_file = t.dir.file("survey");
    }

    // Records of one group, each "C" (central) or "S" (state), with the parameter 1, 2, 3 ...
    void add_sequence(const std::string& group, const std::string& kinds) {
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            add_rows(t.state, "(" + group + (kinds[i] == 'C' ? ", 1, " : ", 2, ") +
                                  std::to_string(i + 1) + ")");
        }
    }
    // Groups in order: 01/1 two runs of ten (exact p 2 / C(20, 10)); 01/2 alternating, twenty
    // runs; 02/1 central records only; 02/2 four runs of five and five (p 42 / 252); 03/1 the
    // values 1 and 2 each held by one record of each kind; 03/2 ten of each kind at one value.
    void run_runs_test() {
        add_sequence("'01', 1", "CCCCCCCCCCSSSSSSSSSS");
        add_sequence("'01', 2", "CSCSCSCSCSCSCSCSCSCS");
        add_sequence("'02', 1", "CCC");
        add_sequence("'02', 2", "CCCSSCCSSS");
        add_rows(t.state, "('03', 1, 1, 1), ('03', 1, 2, 1), ('03', 1, 1, 2), ('03', 1, 2, 2)");
        add_rows(t.state, "('03', 2, 1, 1)", 10);
        add_rows(t.state, "('03', 2, 2, 1)", 10);
        open(new RuntestWindow(t.state, ui, &main_window));
        EXPECT_FALSE(control<QPushButton>("saveDetails")->isEnabled());  // nothing run yet
        pick("Combo_ss", "SAMPLE");
        pick("Combo_par", "P");
        click("Cmdproceed");
    }

    // Classes P = 1 and P = 2. Groups: 01/1 the same shares (chi-square 0); 01/2 30:10 against
    // 10:30 (20); 02/1 three records, expected counts below 1; 02/2 25:15 against 15:25 (5);
    // 02/3 central records only.
    void run_chi_test() {
        const auto both = [this](const std::string& group, int c1, int c2, int s1, int s2) {
            add_rows(t.state, "(" + group + ", 1, 1)", c1);
            add_rows(t.state, "(" + group + ", 1, 2)", c2);
            add_rows(t.state, "(" + group + ", 2, 1)", s1);
            add_rows(t.state, "(" + group + ", 2, 2)", s2);
        };
        both("'01', 1", 20, 20, 20, 20);
        both("'01', 2", 30, 10, 10, 30);
        both("'02', 1", 2, 0, 0, 1);
        both("'02', 2", 25, 15, 15, 25);
        both("'02', 3", 4, 2, 0, 0);
        open(new ChitestWindow(t.state, ui, &main_window));
        pick("Combo_ss", "SAMPLE");
        pick("Combo_par", "P");
        for (int i = 0; i < 2; ++i) {
            testing::select_rows(control<QListWidget>("listpar"), {0});
            click("cmdadd");
        }
        click("cmdclass");
        click("Cmdproceed");
    }

    void set_significance(double level, const QString& adjustment) {
        control<QDoubleSpinBox>("levelSpin")->setValue(level);
        auto* combo = control<QComboBox>("adjustmentCombo");
        combo->setCurrentIndex(combo->findText(adjustment, Qt::MatchStartsWith));
    }

    const QAbstractItemModel& table() { return *control<QTableView>("resultsTable")->model(); }
    QStringList headings() {
        QStringList texts;
        for (int c = 0; c < table().columnCount(); ++c) {
            texts.append(table().headerData(c, Qt::Horizontal).toString());
        }
        return texts;
    }
    QVariant cell(int row, const QString& heading, int role = Qt::DisplayRole) {
        const int column = static_cast<int>(headings().indexOf(heading));
        EXPECT_GE(column, 0) << "no column " << heading.toStdString();
        return table().data(table().index(row, column), role);
    }
    QStringList row_texts(int row, const QStringList& columns) {
        QStringList texts;
        for (const QString& heading : columns) {
            texts.append(cell(row, heading).toString());
        }
        return texts;
    }
    std::set<int> shaded_rows() {
        std::set<int> rows;
        for (int row = 0; row < table().rowCount(); ++row) {
            if (table().data(table().index(row, 0), Qt::BackgroundRole).isValid()) {
                rows.insert(row);
            }
        }
        return rows;
    }

    // Moves the mouse over a point of the chart, as the user does.
    void hover(QScatterSeries* points, int index) {
        QCoreApplication::processEvents();  // the chart lays out its new series
        auto* view = control<QChartView>("resultsChart");
        const QPointF in_chart = view->chart()->mapToPosition(points->at(index), points);
        QTest::mouseMove(view->viewport(), view->mapFromScene(view->chart()->mapToScene(in_chart)));
    }

    template <typename Series>
    Series* series(const char* name) {
        for (QAbstractSeries* candidate : control<QChartView>("resultsChart")->chart()->series()) {
            if (candidate->objectName() == QLatin1String(name)) {
                return qobject_cast<Series*>(candidate);
            }
        }
        ADD_FAILURE() << "no series " << name;
        return nullptr;
    }
};

TEST_F(ResultsPanelTest, RunsTableAndChartShowEachGroupWithItsFlagsShadedByTheLevelAndAdjustment) {
    run_runs_test();
    const QStringList columns =
        QString(
            "STATE|SECTOR|n (central)|m (state)|p|p from|T|z of T|runs missing (effect)|"
            "runs as sorted|z as sorted|tied values|runs over ties|p Holm|p BH|flag")
            .split('|');
    const QString exact = "exact";
    const QString over_ties = "exact over ties";
    // Without ties T is the runs: 01/1 2 of E = 1 + 2nm/N = 11, sd sqrt(2nm (2nm - N) /
    // (N^2 (N - 1))) = sqrt(36000 / 7600), z -9 / 2.1764; runs missing 9 / 11. 02/2: 4 of 6, sd
    // sqrt(2000 / 900), z -2 / 1.4907. 03/1: T = 1 + 2 (1 / 2) + (1 + 1) / 4 = 3.5; of the six
    // relabellings two put both central records at one value (T = 2), four split them (T =
    // 3.5): mean 3, variance 0.5, p 1; as sorted C S C S, 4 runs, z 1 / sqrt(2/3). 03/2: one
    // value, T = 11 for every relabelling, p 1, no z. Five p-values enter the adjustment:
    // 1.083e-05 x 5; 0.1667 x 4 (Holm), x 5 / 2 (BH).
    const std::vector<QStringList> expected = {
        {"01", "1", "10", "10", "1.083e-05", exact, "2.00", "-4.135", "0.818", "2", "-4.135", "0",
         "2", "5.413e-05", "5.413e-05", ""},
        {"01", "2", "10", "10", "1.000", exact, "20.00", "4.135", "-0.818", "20", "4.135", "0",
         "20", "1.000", "1.000", ""},
        {"02", "1", "3", "0", "", "", "1.00", "", "", "1", "", "0", "1", "", "",
         "one sample missing"},
        {"02", "2", "5", "5", "0.1667", exact, "4.00", "-1.342", "0.333", "4", "-1.342", "0", "4",
         "0.6667", "0.4167", ""},
        {"03", "1", "2", "2", "1.000", over_ties, "3.50", "0.707", "-0.167", "4", "1.225", "2",
         "3\u20134", "1.000", "1.000", ""},
        {"03", "2", "10", "10", "1.000", over_ties, "11.00", "", "0.000", "2", "-4.135", "1",
         "2\u201320", "1.000", "1.000", ""},
    };
    ASSERT_EQ(table().rowCount(), static_cast<int>(expected.size()));
    for (int row = 0; row < table().rowCount(); ++row) {
        EXPECT_EQ(row_texts(row, columns), expected[static_cast<std::size_t>(row)]) << row;
        // Flagged groups carry a warning sign and the reason on hover.
        const bool flagged = row == 2;
        EXPECT_EQ(cell(row, "STATE", Qt::DecorationRole).isValid(), flagged) << row;
        EXPECT_EQ(cell(row, "p", Qt::ToolTipRole).toString().isEmpty(), !flagged) << row;
    }
    EXPECT_EQ(cell(2, "flag", Qt::ToolTipRole).toString(), "no state records");
    EXPECT_TRUE(control<QLabel>("resultsSummary")->text().startsWith("6 groups: 1 significant"));
    EXPECT_TRUE(testing::fits_laptop_screen(window));

    // 01/1 p 1.08e-05, adjusted 5.4e-05; 02/2 p 0.1667, BH 0.4167, Holm 0.6667: at 0.25 its
    // own p-value is below the level but its adjusted ones are not.
    const std::tuple<double, const char*, std::set<int>> cases[] = {{0.05, "Benjamini", {0}},
                                                                    {0.25, "Benjamini", {0}},
                                                                    {0.45, "Benjamini", {0, 3}},
                                                                    {0.45, "Holm", {0}}};
    EXPECT_EQ(shaded_rows(), std::set<int>{0});  // 0.05 and BH before anything is set
    for (const auto& [level, adjustment, shaded] : cases) {
        set_significance(level, adjustment);
        EXPECT_EQ(shaded_rows(), shaded) << level << adjustment;
    }

    // The chart holds z of T for each group that has one (not 02/1, one sample; not 03/2, whose
    // T is the same for every relabelling), and a ring at z as sorted where ties make them
    // differ.
    QScatterSeries* z = series<QScatterSeries>("zSeries");
    ASSERT_NE(z, nullptr);
    QList<QPointF> points;
    for (const std::size_t group : {0u, 1u, 3u, 4u}) {
        points.append({static_cast<double>(group), t.state.run_stats[group].z_t});
    }
    EXPECT_EQ(z->points(), points);
    EXPECT_EQ(series<QScatterSeries>("zOrderedSeries")->points(),
              (QList<QPointF>{{4, t.state.run_stats[4].z}, {5, t.state.run_stats[5].z}}));
    // The mouse over a point names its group; the third point is the fourth group's.
    for (const auto& [point, tip] :
         {std::pair{2, "02 / 2: z of T = -1.342"}, std::pair{0, "01 / 1: z of T = -4.135"}}) {
        hover(z, point);
        EXPECT_TRUE(QToolTip::isVisible()) << point;
        EXPECT_TRUE(QToolTip::text().startsWith(tip)) << QToolTip::text().toStdString();
    }
    QAreaSeries* band = series<QAreaSeries>("zBand");
    ASSERT_NE(band, nullptr);
    for (const auto& [edge, y] :
         {std::pair{band->upperSeries(), 1.96}, std::pair{band->lowerSeries(), -1.96}}) {
        EXPECT_EQ(edge->points(), (QList<QPointF>{{edge->at(0).x(), y}, {edge->at(1).x(), y}}));
        EXPECT_LE(edge->at(0).x(), 0.0);
        EXPECT_GE(edge->at(1).x(), 5.0);
    }
}

TEST_F(ResultsPanelTest, ChiSquarePanelShowsPValuesExpectedCountsFlagsAndTheLevelUntilUnfrozen) {
    run_chi_test();
    QScatterSeries* p = series<QScatterSeries>("pSeries");
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(p->count(), 4);  // 02/3 has none
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(p->at(i), QPointF(i, t.state.chi_stats[static_cast<std::size_t>(i)].p->value()));
    }
    // The expected counts of the raw table: 4/3, 2/3, 2/3 and 1/3; its p-value a Monte Carlo one.
    EXPECT_EQ(row_texts(2, {"df", "p from", "expected < 5", "smallest expected", "flag"}),
              (QStringList{"1", "Monte Carlo (10000 tables)", "4 of 4", "0.33",
                           "small expected counts"}));
    const QString reason = cell(2, "p", Qt::ToolTipRole).toString();
    EXPECT_TRUE(reason.contains("below 1") && reason.contains("Monte Carlo"))
        << reason.toStdString();
    EXPECT_EQ(row_texts(4, {"n (central)", "m (state)", "p", "p Holm", "flag", "V (effect)"}),
              (QStringList{"6", "0", "", "", "one sample missing", ""}));
    hover(series<QScatterSeries>("pAdjustedSeries"), 3);
    EXPECT_TRUE(QToolTip::text().startsWith("02 / 2: p, BH-adjusted = "))
        << QToolTip::text().toStdString();
    // V = sqrt(X2 / N): 01/1 sqrt(0 / 80), 01/2 sqrt(20 / 80), 02/2 sqrt(5 / 80).
    for (const auto& [row, v] : {std::pair{0, "0.000 negligible"}, std::pair{1, "0.500 large"},
                                 std::pair{3, "0.250 small"}}) {
        EXPECT_EQ(cell(row, "V (effect)").toString(), v) << row;
    }

    // The columns that decide come first, the adjusted p-value of the adjustment chosen among
    // them, the other last.
    const QStringList deciding = {"STATE", "SECTOR", "n (central)", "m (state)",
                                  "p",     "p BH",   "flag",        "V (effect)"};
    EXPECT_EQ(headings().mid(0, 8), deciding);
    EXPECT_EQ(headings().last(), "p Holm");
    // p of X2 = 5 on 1 df: erfc(sqrt(5 / 2)) = 0.025347; BH x 4 / 2, Holm x 3.
    EXPECT_EQ(row_texts(3, {"p BH", "p Holm"}), (QStringList{"0.05069", "0.07604"}));

    // Picking a group shows its classes. 02/2: 25 and 15 central, 15 and 25 state records, each
    // class expecting 20 of each: residual (25 - 20) / sqrt(20 / 4) = 2.24, and its negative.
    auto* groups = control<QTableView>("resultsTable");
    auto* classes = control<QTableWidget>("classCells");
    const auto class_rows = [classes] {
        std::vector<QStringList> rows;
        for (int row = 0; row < classes->rowCount(); ++row) {
            QStringList texts;
            for (int column = 0; column < classes->columnCount(); ++column) {
                texts.append(classes->item(row, column)->text());
            }
            rows.push_back(texts);
        }
        return rows;
    };
    EXPECT_EQ(classes->rowCount(), 0);
    groups->selectRow(3);
    EXPECT_EQ(control<QLabel>("classCellsCaption")->text(),
              "Classes of 02 / 2: Cram\u00e9r's V 0.250 (small)");
    EXPECT_EQ(class_rows(), (std::vector<QStringList>{
                                {"1", "1", "25", "62.5%", "15", "37.5%", "2.24"},
                                {"2", "2", "15", "37.5%", "25", "62.5%", "-2.24"},
                            }));
    EXPECT_TRUE(classes->item(0, 6)->background().style() != Qt::NoBrush);
    // Sorted by p, the first row is 01/2 (30:10 against 10:30, residual 10 / sqrt(5) = 4.47).
    groups->sortByColumn(static_cast<int>(headings().indexOf("p")), Qt::AscendingOrder);
    groups->selectRow(0);
    EXPECT_TRUE(control<QLabel>("classCellsCaption")->text().startsWith("Classes of 01 / 2: "));
    EXPECT_EQ(class_rows()[0].last(), "4.47");
    // 01/1, the same shares: no class stands out.
    groups->sortByColumn(-1, Qt::AscendingOrder);
    groups->selectRow(0);
    EXPECT_EQ(class_rows()[0].last(), "0.00");
    EXPECT_TRUE(classes->item(0, 6)->background().style() == Qt::NoBrush);

    // 01/2 p 7.7e-06; 02/2 p 0.02535, Holm 0.0761 as one of four p-values: 02/3 does not count.
    set_significance(0.08, "Holm");
    EXPECT_EQ(shaded_rows(), (std::set<int>{1, 3}));
    EXPECT_EQ(headings()[5], "p Holm");
    EXPECT_EQ(headings().last(), "p BH");
    EXPECT_EQ(row_texts(3, {"p BH", "p Holm"}), (QStringList{"0.05069", "0.07604"}));
    for (const QPointF& point : series<QLineSeries>("levelLine")->points()) {
        EXPECT_DOUBLE_EQ(point.y(), 0.08);
    }
    EXPECT_TRUE(testing::fits_laptop_screen(window));

    ASSERT_EQ(table().rowCount(), 5);
    click("cmdclass");  // unfreeze: the classes the results belong to are gone
    EXPECT_EQ(table().rowCount(), 0);
    EXPECT_TRUE(control<QChartView>("resultsChart")->chart()->series().isEmpty());
}

TEST_F(ResultsPanelTest, OnASmallLaptopScreenEachChartKeepsRoomForItsPlotAndItsWholeTitle) {
    const std::function<void()> tests[] = {[this] { run_runs_test(); }, [this] { run_chi_test(); }};
    for (const auto& run_test : tests) {
        delete window.data();
        t.state.db_conn.execute("delete from data");
        run_test();
        window->resize(1024, 600);
        QCoreApplication::processEvents();  // the layouts settle
        ASSERT_EQ(window->size(), QSize(1024, 600));
        auto* view = control<QChartView>("resultsChart");
        EXPECT_GE(view->height(), 200);
        EXPECT_GE(view->chart()->plotArea().height(), 120);
        const QFontMetrics metrics(view->chart()->titleFont());
        for (const QString& line : view->chart()->title().split("<br>")) {
            EXPECT_LE(metrics.horizontalAdvance(line), view->width()) << line.toStdString();
        }
    }
}

TEST_F(ResultsPanelTest, OnASmallLaptopScreenTheColumnsThatDecideStayInViewBesideTheChart) {
    run_chi_test();
    // Without the flagged groups the flag column is as narrow as its heading.
    t.state.db_conn.execute("delete from data where STATE = '02' and SECTOR <> 2");
    window->resize(1024, 600);
    QCoreApplication::processEvents();
    click("Cmdproceed");  // the panel shares its width as it shows the results
    ASSERT_EQ(table().rowCount(), 3);
    auto* groups = control<QTableView>("resultsTable");
    const int effect = static_cast<int>(headings().indexOf("V (effect)"));
    ASSERT_GE(effect, 0);
    EXPECT_LE(groups->columnViewportPosition(effect) + groups->columnWidth(effect),
              groups->viewport()->width());
    // The columns after it are not all in view: the chart keeps its share.
    const int last = table().columnCount() - 1;
    EXPECT_GT(groups->columnViewportPosition(last) + groups->columnWidth(last),
              groups->viewport()->width());
    EXPECT_GE(control<QChartView>("resultsChart")->width(), 1024 / 4);
}

TEST_F(ResultsPanelTest, SaveDetailsWritesBothFilesUntilANewPickOrAFailedRunLeavesNothingToSave) {
    run_runs_test();
    ui.clear();
    click("saveDetails");  // cancelled
    const QString suggested = QString::fromStdString(t.dir.file("survey_run_stats.csv"));
    EXPECT_EQ(ui.events, QStringList{"save file: " + suggested});
    EXPECT_FALSE(std::filesystem::exists(suggested.toStdString()));

    const QString stats = QString::fromStdString(t.dir.file("round1_stats.csv"));
    const QString provenance = QString::fromStdString(t.dir.file("round1.provenance.json"));
    ui.file_names = {stats};
    click("saveDetails");
    EXPECT_EQ(ui.messages(),
              QStringList{"Saved the details in files: " + stats + " and " + provenance});
    EXPECT_TRUE(TempDir::read(stats.toStdString()).starts_with("STATE,SECTOR,n,m,runs_as_sorted,"));
    EXPECT_TRUE(std::filesystem::file_size(provenance.toStdString()) > 0);

    pick("Combo_par", "SECTOR");  // the shown results no longer have a run behind them
    EXPECT_EQ(table().rowCount(), 0);
    EXPECT_FALSE(control<QPushButton>("saveDetails")->isEnabled());

    pick("Combo_par", "P");  // a failed run empties the panel too
    click("Cmdproceed");
    ASSERT_GT(table().rowCount(), 0);
    t.state.db_conn.execute("drop table data");
    click("Cmdproceed");
    EXPECT_EQ(table().rowCount(), 0);
    EXPECT_FALSE(control<QPushButton>("saveDetails")->isEnabled());
    EXPECT_TRUE(control<QChartView>("resultsChart")->chart()->series().isEmpty());
}

TEST_F(ResultsPanelTest, SaveReportOffersANameBesideTheResultFileAndWritesTheFormatNamed) {
    const std::string base = t.dir.file("survey_run");
    const QString named = QString::fromStdString(base);
    run_runs_test();
    ui.clear();
    click("saveReport");  // cancelled: nothing is written
    EXPECT_EQ(ui.events, QStringList{"save file: " + named + "_report.html"});
    ui.file_names = {named + ".txt", named + "1.html", named + "2.html", named + ".pdf"};
    for (int i = 0; i < 4; ++i) {
        click("saveReport");
    }
    EXPECT_EQ(ui.messages(),
              (QStringList{"A report is written as .html or .pdf, not as " + named + ".txt",
                           "Saved the report in file: " + named + "1.html",
                           "Saved the report in file: " + named + "2.html",
                           "Saved the report in file: " + named + ".pdf"}));
    EXPECT_FALSE(std::filesystem::exists(base + ".txt"));
    EXPECT_TRUE(TempDir::read(base + ".pdf").starts_with("%PDF-"));
    // Two reports of one run differ only in the date.
    const std::regex created("Created [^<]* by");
    EXPECT_EQ(std::regex_replace(TempDir::read(base + "1.html"), created, ""),
              std::regex_replace(TempDir::read(base + "2.html"), created, ""));

    delete window.data();  // the other test, in a window of its own, on other data
    t.state.db_conn.execute("delete from data");
    run_chi_test();
    ui.clear();
    click("saveReport");
    EXPECT_EQ(ui.events, QStringList{QString::fromStdString("save file: " +
                                                            t.dir.file("survey_chi_report.html"))});
}

}  // namespace
}  // namespace vesk
