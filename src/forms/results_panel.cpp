#include "forms/results_panel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

#include "core/app_state.h"
#include "core/result_file.h"
#include "forms/busy_cursor.h"
#include "forms/class_cells_view.h"
#include "forms/named_widget.h"
#include "forms/results_chart.h"
#include "forms/results_table_model.h"
#include "platform/user_interface.h"
#include "report/report_from_state.h"
#include "report_print/report_writer.h"

namespace vesk {

namespace {

const QString adjustment_tip = QStringLiteral(
    "<p>Which adjusted p-value decides the shading. Among many groups some small p-values come "
    "by chance alone; the adjustment accounts for the number of groups.</p>"
    "<p><b>Benjamini\u2013Hochberg</b> (the default) keeps the expected share of false alarms "
    "among the shaded groups below the level: suited to screening many groups for the ones to "
    "look into.</p>"
    "<p><b>Holm</b> keeps the chance of even one false alarm among all the groups below the "
    "level: stricter, for when every shaded group will be acted on.</p>");

}  // namespace

ResultsPanel::ResultsPanel(AppState& state, UserInterface& ui, TestKind kind, QWidget* parent)
    : QWidget(parent), state_(state), ui_(ui), kind_(kind) {
    setObjectName(QStringLiteral("resultsPanel"));
    build_controls();
    clear();
}

void ResultsPanel::build_controls() {
    summary_ = named(new QLabel(this), QStringLiteral("resultsSummary"));
    summary_->setTextFormat(Qt::PlainText);
    level_ = named(new QDoubleSpinBox(this), QStringLiteral("levelSpin"));
    level_->setDecimals(4);
    level_->setRange(0.0001, 0.5);
    level_->setSingleStep(0.01);
    level_->setValue(default_level);
    level_->setToolTip(
        QStringLiteral("Groups whose adjusted p-value is below this level are "
                       "shaded as significant"));
    adjustment_ = named(new QComboBox(this), QStringLiteral("adjustmentCombo"));
    adjustment_->addItem(QStringLiteral("Benjamini\u2013Hochberg (false discovery rate)"),
                         static_cast<int>(Adjustment::benjamini_hochberg));
    adjustment_->addItem(QStringLiteral("Holm (family-wise error rate)"),
                         static_cast<int>(Adjustment::holm));
    adjustment_->setToolTip(adjustment_tip);
    saveDetails_ = named(new QPushButton(QStringLiteral("Save &details..."), this),
                         QStringLiteral("saveDetails"));
    saveDetails_->setToolTip(QStringLiteral(
        "Writes the statistics of every group to the file you name, and the provenance of the "
        "run beside it"));
    saveReport_ = named(new QPushButton(QStringLiteral("Save rep&ort..."), this),
                        QStringLiteral("saveReport"));
    saveReport_->setToolTip(QStringLiteral(
        "Writes one file to send, HTML or PDF: the data, the question, the answer with the chart "
        "and the table, how to read it, and the result files"));

    model_ = new ResultsTableModel(this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(ResultsTableModel::sort_role);
    table_ = named(new QTableView(this), QStringLiteral("resultsTable"));
    table_->setModel(sorted_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    chart_ = new ResultsChart(this);

    // The summary has a row of its own, so a narrow window keeps every control in view.
    summary_->setWordWrap(true);
    auto* controls = new QHBoxLayout;
    controls->addStretch(1);
    controls->addWidget(new QLabel(QStringLiteral("Significance level:"), this));
    controls->addWidget(level_);
    controls->addSpacing(12);
    controls->addWidget(new QLabel(QStringLiteral("Adjustment:"), this));
    controls->addWidget(adjustment_);
    controls->addSpacing(12);
    controls->addWidget(saveDetails_);
    controls->addWidget(saveReport_);

    // The runs table is wide, so its chart goes below it; the chi-square table leaves room
    // beside it, and below it the classes of the group picked.
    split_ = new QSplitter(kind_ == TestKind::runs ? Qt::Vertical : Qt::Horizontal, this);
    if (kind_ == TestKind::chi_square) {
        classes_ = named(new ClassCellsView(this), QStringLiteral("classCellsView"));
        auto* groups_and_classes = new QSplitter(Qt::Vertical, this);
        groups_and_classes->addWidget(table_);
        groups_and_classes->addWidget(classes_);
        groups_and_classes->setChildrenCollapsible(false);
        split_->addWidget(groups_and_classes);
        connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                &ResultsPanel::show_classes);
    } else {
        split_->addWidget(table_);
    }
    split_->addWidget(chart_);
    split_->setChildrenCollapsible(false);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(summary_);
    page->addLayout(controls);
    page->addWidget(split_, 1);

    connect(level_, &QDoubleSpinBox::valueChanged, this, &ResultsPanel::show_significance);
    connect(adjustment_, &QComboBox::currentIndexChanged, this, &ResultsPanel::show_significance);
    connect(saveDetails_, &QPushButton::clicked, this, &ResultsPanel::saveDetails_Click);
    connect(saveReport_, &QPushButton::clicked, this, &ResultsPanel::saveReport_Click);
}

void ResultsPanel::run(const std::function<ResultFile()>& test) {
    ResultFile result;
    try {
        const BusyCursor busy;
        result = test();
    } catch (const std::exception& e) {
        clear();
        ui_.message(QString::fromStdString(e.what()));
        return;
    }
    show_results();
    // One message: the note, where there is one, before the file it explains.
    std::string text = result.note;
    if (result.rows > 0) {
        text += (text.empty() ? "" : "\n") + result_file_message(result);
    }
    if (!text.empty()) {
        ui_.message(QString::fromStdString(text));
    }
}

void ResultsPanel::show_results() {
    model_->set_table(kind_ == TestKind::runs
                          ? run_result_table(state_.grp_names, state_.run_stats)
                          : chi_result_table(state_.grp_names, state_.chi_stats));
    filled_ = true;
    saved_details_.reset();
    // Room for the bold of rows that become significant at another level, where the cells and
    // not the heading set the width.
    const int bold_room = table_->fontMetrics().averageCharWidth();
    const QAbstractItemView* cells = table_;  // the table's own width of its cells, public here
    for (int column = 0; column < model_->columnCount(); ++column) {
        table_->setColumnWidth(column,
                               std::max(cells->sizeHintForColumn(column) + bold_room,
                                        table_->horizontalHeader()->sectionSizeHint(column)));
    }
    if (classes_ != nullptr) {
        classes_->clear();
    }
    saveDetails_->setEnabled(!model_->table().rows.empty());
    saveReport_->setEnabled(!model_->table().rows.empty());
    show_significance();
    fit_table();  // once the chart has the title it needs room for
}

void ResultsPanel::fit_table() {
    const int total = split_->orientation() == Qt::Vertical ? split_->height() : split_->width();
    if (total <= 0) {
        return;  // not laid out yet; the splitter shares the room itself
    }
    const int frame = 2 * table_->frameWidth();
    const bool vertical = split_->orientation() == Qt::Vertical;
    // The chart keeps enough room to stay legible beside many rows or columns.
    int table_room = total * (vertical ? 2 : 3) / 5;
    if (vertical) {
        const int rows = std::max(1, model_->rowCount());
        table_room =
            std::min(table_room, frame + table_->horizontalHeader()->sizeHint().height() +
                                     rows * table_->verticalHeader()->defaultSectionSize() +
                                     table_->horizontalScrollBar()->sizeHint().height());
    } else {
        int wanted = frame + table_->verticalHeader()->sizeHint().width() +
                     table_->verticalScrollBar()->sizeHint().width();
        int deciding = wanted;
        for (int column = 0; column < model_->columnCount(); ++column) {
            wanted += table_->columnWidth(column);
            if (static_cast<std::size_t>(column) < model_->table().deciding_columns) {
                deciding += table_->columnWidth(column);
            }
        }
        // On a narrow screen the columns that decide stay in view as long as the chart keeps its
        // title whole and a quarter of the width.
        const int chart_room = std::max(chart_->narrowest_width(), total / 4);
        table_room = std::min(
            wanted,
            std::max(table_room, std::min(deciding, total - chart_room - split_->handleWidth())));
    }
    split_->setSizes({table_room, total - table_room - split_->handleWidth()});
}

void ResultsPanel::show_classes(const QModelIndex& current) {
    const int row = sorted_->mapToSource(current).row();
    if (row < 0 || static_cast<std::size_t>(row) >= state_.chi_stats.size() || !filled_) {
        classes_->clear();
        return;
    }
    classes_->show_group(state_.chi_stats[static_cast<std::size_t>(row)], state_.class_defs);
}

void ResultsPanel::clear() {
    model_->set_table({});
    filled_ = false;
    saved_details_.reset();
    saveDetails_->setEnabled(false);
    saveReport_->setEnabled(false);
    chart_->clear();
    if (classes_ != nullptr) {
        classes_->clear();
    }
    summary_->setText(QStringLiteral("The results of a run show here after Proceed."));
}

Choices ResultsPanel::choices() const {
    return {level_->value(), static_cast<Adjustment>(adjustment_->currentData().toInt())};
}

void ResultsPanel::show_significance() {
    const Choices choices = this->choices();
    model_->set_choices(choices);
    if (!filled_) {
        return;
    }
    const std::vector<ResultRow>& rows = model_->table().rows;
    if (rows.empty()) {
        chart_->clear();
        summary_->setText(QStringLiteral("The run found no groups."));
        return;
    }
    chart_->show_table(model_->table(), kind_, choices);
    const auto significant = std::count_if(
        rows.begin(), rows.end(), [](const ResultRow& row) { return row.verdict.significant; });
    const auto flagged = std::count_if(rows.begin(), rows.end(),
                                       [](const ResultRow& row) { return !row.flag.isEmpty(); });
    summary_->setText(QStringLiteral("%1 groups: %2 significant (shaded), %3 flagged (hover for "
                                     "the reason).")
                          .arg(rows.size())
                          .arg(significant)
                          .arg(flagged));
}

void ResultsPanel::saveDetails_Click() {
    const QString suggested =
        QFileInfo(QString::fromStdString(default_detail_files(state_, kind_).stats_path))
            .absoluteFilePath();
    const QString chosen =
        ui_.save_file_name(this, suggested, QStringLiteral("CSV files (*.csv);;All Files (*)"));
    if (chosen.isEmpty()) {
        return;
    }
    DetailFiles files;
    try {
        files = write_result_details(state_, kind_, choices(),
                                     detail_files_for(chosen.toStdString(), kind_));
    } catch (const std::exception& e) {
        ui_.message(QString::fromStdString(e.what()));
        return;
    }
    saved_details_ = files;
    QString names = QString::fromStdString(files.stats_path);
    if (!files.cells_path.empty()) {
        names += QStringLiteral(", ") + QString::fromStdString(files.cells_path);
    }
    ui_.message(QStringLiteral("Saved the details in files: ") + names + QStringLiteral(" and ") +
                QString::fromStdString(files.provenance_path));
}

void ResultsPanel::saveReport_Click() {
    const QString suggested =
        QFileInfo(QString::fromStdString(result_base(state_.out_file, kind_) + "_report.html"))
            .absoluteFilePath();
    const QString path = ui_.save_file_name(
        this, suggested, QStringLiteral("HTML report (*.html *.htm);;PDF report (*.pdf)"));
    if (path.isEmpty()) {
        return;
    }
    std::vector<std::string> files = {result_file_name(state_.out_file, kind_)};
    if (saved_details_) {
        for (const std::string* written : {&saved_details_->stats_path, &saved_details_->cells_path,
                                           &saved_details_->provenance_path}) {
            if (!written->empty()) {
                files.push_back(*written);
            }
        }
    }
    try {
        write_report(path.toStdString(), report_data(state_, kind_, choices(), files));
    } catch (const std::exception& e) {
        ui_.message(QString::fromStdString(e.what()));
        return;
    }
    ui_.message(QStringLiteral("Saved the report in file: ") + path);
}

}  // namespace vesk
