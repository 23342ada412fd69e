#pragma once

#include <QWidget>

#include <functional>
#include <optional>

#include "core/result_details.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSplitter;
class QSortFilterProxyModel;
class QTableView;

namespace vesk {

struct AppState;
struct ResultFile;
class ClassCellsView;
class ResultsChart;
class ResultsTableModel;
class UserInterface;

// The results of a test window's last run, below its controls: a table of the groups with their
// statistics, the significant ones shaded at the level and adjustment the user picks, flagged
// ones marked with their reason on hover, a chart, "Save details..." for the statistics and
// provenance files beside the result file, and "Save report..." for one file to send.
class ResultsPanel : public QWidget {
    Q_OBJECT
  public:
    ResultsPanel(AppState& state, UserInterface& ui, TestKind kind, QWidget* parent);

    // Runs a test behind the hourglass and shows its results; a result file with rows is named
    // to the user. A failure empties the panel and is told instead.
    void run(const std::function<ResultFile()>& test);
    // Empties it, for when the shown results no longer belong to the window's picks.
    void clear();

    void saveDetails_Click();
    void saveReport_Click();

  private:
    void build_controls();
    // Fills the panel from the statistics the last run left in the state.
    void show_results();
    void show_significance();
    // The level and adjustment the user picked.
    Choices choices() const;
    // Gives the table the room its rows need, within limits, and the chart the rest.
    void fit_table();
    // Shows the classes of the group picked in the table (chi-square test).
    void show_classes(const QModelIndex& current);

    AppState& state_;
    UserInterface& ui_;
    TestKind kind_;
    bool filled_ = false;
    // The files Save details... wrote for the shown results: the report names them too.
    std::optional<DetailFiles> saved_details_;

    QLabel* summary_ = nullptr;
    QDoubleSpinBox* level_ = nullptr;
    QComboBox* adjustment_ = nullptr;
    QPushButton* saveDetails_ = nullptr;
    QPushButton* saveReport_ = nullptr;
    ResultsTableModel* model_ = nullptr;
    QSortFilterProxyModel* sorted_ = nullptr;
    QTableView* table_ = nullptr;
    ResultsChart* chart_ = nullptr;
    ClassCellsView* classes_ = nullptr;  // chi-square test only
    QSplitter* split_ = nullptr;
};

}  // namespace vesk
