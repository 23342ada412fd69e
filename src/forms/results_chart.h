#pragma once

#include <QChartView>

#include "core/verdict.h"
#include "forms/results_rows.h"

namespace vesk {

// The chart beside the results table, one point per group: for the runs test z with the band of
// +-1.96, for the chi-square test the p-value and the adjusted p-value on a log scale with a line
// at the level. Significant groups are drawn red, flagged ones grey; hovering a point names its
// group.
class ResultsChart : public QChartView {
    Q_OBJECT
  public:
    explicit ResultsChart(QWidget* parent);

    void show_table(const ResultTable& table, TestKind kind, const Choices& choices);
    void clear();
    // The least width that shows the title whole, on two lines.
    int narrowest_width() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void replace_chart(QChart* chart);
    void fit_title();

    QString title_;  // on one line
};

}  // namespace vesk
