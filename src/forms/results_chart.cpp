#include "forms/results_chart.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QCursor>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

#include "core/chart_layout.h"
#include "core/verdict.h"

namespace vesk {

namespace {

const QColor significant_colour(198, 40, 40);
const QColor plain_colour(21, 101, 192);
const QColor flagged_colour(150, 150, 150);

// The horizontal axis, and where group i stands on it.
struct GroupAxis {
    QAbstractAxis* axis = nullptr;
    double first = 0;  // x of group 0
    double low = 0;
    double high = 0;
    double x(std::size_t i) const { return first + static_cast<double>(i); }
};

GroupAxis group_axis(const ResultTable& table) {
    GroupAxis result;
    const auto count = static_cast<double>(table.rows.size());
    if (table.rows.size() <= named_group_limit) {
        auto* axis = new QBarCategoryAxis;
        for (const ResultRow& row : table.rows) {
            axis->append(row.label);
        }
        axis->setTitleText(table.groups_heading);
        if (table.rows.size() > upright_label_limit) {
            axis->setLabelsAngle(-90);  // side by side they would be cut short
        }
        result.axis = axis;
        result.first = 0;
    } else {
        auto* axis = new QValueAxis;
        axis->setLabelFormat(QStringLiteral("%d"));
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0);
        axis->setTickInterval(tick_step(count));
        axis->setTitleText(table.groups_heading + QStringLiteral(": row of the table"));
        result.axis = axis;
        result.first = 1;
    }
    result.low = result.first - 0.5;
    result.high = result.first + count - 0.5;
    if (auto* value_axis = qobject_cast<QValueAxis*>(result.axis)) {
        value_axis->setRange(result.low, result.high);
    }
    return result;
}

// Red for a significant group, grey for a flagged one.
QColor mark_colour(const ResultRow& row) {
    switch (row.verdict.mark) {
        case Mark::significant:
            return significant_colour;
        case Mark::plain:
            return plain_colour;
        case Mark::flagged:
            break;
    }
    return flagged_colour;
}

QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}

template <typename Series>
Series* named_series(const QString& object_name, const QString& legend) {
    auto* series = new Series;
    series->setObjectName(object_name);
    series->setName(legend);
    return series;
}

QLineSeries* horizontal_line(const GroupAxis& groups, double y, QObject* owner = nullptr) {
    auto* line = new QLineSeries(owner);
    line->append(groups.low, y);
    line->append(groups.high, y);
    return line;
}

void attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

// Points of one value per group, coloured by significance; x of each point is its group's.
// Hovering a point names the group and its value.
QScatterSeries* group_points(const QString& object_name, const QString& legend,
                             const ResultTable& table, const GroupAxis& groups,
                             const std::function<std::optional<double>(const ResultRow&)>& value,
                             const std::function<QString(double)>& value_text,
                             const std::function<QColor(const ResultRow&)>& colour) {
    auto* series = named_series<QScatterSeries>(object_name, legend);
    series->setMarkerSize(table.rows.size() > crowded_groups ? 7 : 11);
    series->setColor(plain_colour);
    series->setBorderColor(Qt::white);
    QStringList tips;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const ResultRow& row = table.rows[i];
        const std::optional<double> y = value(row);
        if (!y || !std::isfinite(*y)) {
            continue;
        }
        series->append(groups.x(i), *y);
        series->setPointConfiguration(series->count() - 1, QXYSeries::PointConfiguration::Color,
                                      colour(row));
        tips.append(row.label + QStringLiteral(": ") + legend + QStringLiteral(" = ") +
                    value_text(*y) +
                    (row.flag.isEmpty() ? QString() : "\n" + row.flag + ": " + row.flag_reason));
    }
    QObject::connect(series, &QXYSeries::hovered, series,
                     [series, tips](const QPointF& point, bool entered) {
                         if (!entered) {
                             QToolTip::hideText();
                             return;
                         }
                         const auto points = series->points();
                         for (qsizetype i = 0; i < points.size(); ++i) {
                             if (points[i] == point) {
                                 QToolTip::showText(QCursor::pos(), tips[i]);
                             }
                         }
                     });
    return series;
}

// Open rings of a value per group: drawn beside filled points, so those stand out.
QScatterSeries* group_rings(const QString& object_name, const QString& legend,
                            const ResultTable& table, const GroupAxis& groups,
                            const std::function<std::optional<double>(const ResultRow&)>& value,
                            const std::function<QString(double)>& value_text,
                            const QColor& border) {
    QScatterSeries* rings = group_points(object_name, legend, table, groups, value, value_text,
                                         [](const ResultRow&) { return QColor(Qt::transparent); });
    rings->setMarkerSize(table.rows.size() > crowded_groups ? 6 : 9);
    rings->setColor(Qt::transparent);
    rings->setBorderColor(border);
    return rings;
}

QString significance_title(const QString& what, const Choices& choices) {
    return what + QStringLiteral("; red: significant (%1-adjusted p below %2)")
                      .arg(qtext(adjustment_short_name(choices.adjustment)),
                           QString::number(choices.level));
}

std::optional<double> chart_point(const ResultRow& row) {
    return row.verdict.point;
}

std::optional<double> chart_beside(const ResultRow& row) {
    return row.verdict.beside;
}

void build_z_chart(QChart* chart, const ResultTable& table, const GroupAxis& groups,
                   const Choices& choices) {
    double reach = 3;
    for (const ResultRow& row : table.rows) {
        for (const std::optional<double>& z : {chart_point(row), chart_beside(row)}) {
            if (z) {
                reach = std::max(reach, std::abs(*z) * 1.1);
            }
        }
    }
    const double step = tick_step(reach);
    reach = std::ceil(reach / step) * step;
    auto* y = new QValueAxis;
    y->setObjectName(QStringLiteral("zAxis"));
    y->setTitleText(QStringLiteral("z of T"));
    y->setRange(-reach, reach);
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickAnchor(0);
    y->setTickInterval(step);
    y->setLabelFormat(QStringLiteral("%g"));
    chart->addAxis(y, Qt::AlignLeft);
    // A short chart would shorten crowded labels to "...": its ticks are thinned instead.
    QObject::connect(chart, &QChart::plotAreaChanged, y, [y, step, reach](const QRectF& area) {
        constexpr double least_label_gap = 24;
        const double labels = std::max(2.0, std::floor(area.height() / least_label_gap));
        double interval = step;
        while (2 * reach / interval > labels) {
            interval += step;
        }
        if (y->tickInterval() != interval) {
            y->setTickInterval(interval);
        }
    });

    auto* band = named_series<QAreaSeries>(QStringLiteral("zBand"), QStringLiteral("\u00b11.96"));
    // The area series draws its edges but does not own them.
    band->setUpperSeries(horizontal_line(groups, z_band, band));
    band->setLowerSeries(horizontal_line(groups, -z_band, band));
    band->setColor(QColor(21, 101, 192, 40));
    band->setBorderColor(QColor(21, 101, 192, 90));
    attach(chart, band, groups.axis, y);

    // The filled point is z of T, the statistic the p-value is of; where ties make the runs as
    // sorted differ from T, an open ring shows the result file's z.
    const bool any_ties =
        std::any_of(table.rows.begin(), table.rows.end(),
                    [](const ResultRow& row) { return chart_beside(row).has_value(); });
    const auto z_text = [](double z) { return QString::number(z, 'f', 3); };
    if (any_ties) {
        attach(chart,
               group_rings(QStringLiteral("zOrderedSeries"),
                           QStringLiteral("z as sorted (the result file's)"), table, groups,
                           chart_beside, z_text, flagged_colour),
               groups.axis, y);
    }
    attach(chart,
           group_points(QStringLiteral("zSeries"), QStringLiteral("z of T"), table, groups,
                        chart_point, z_text, mark_colour),
           groups.axis, y);
    chart->setTitle(significance_title(QStringLiteral("z of T per group"), choices));
}

void build_p_chart(QChart* chart, const ResultTable& table, const GroupAxis& groups,
                   const Choices& choices) {
    // The point is the adjusted p-value, beside it the p-value itself.
    const double level = choices.level;
    double lowest = level;
    for (const ResultRow& row : table.rows) {
        for (const std::optional<double>& p : {chart_beside(row), chart_point(row)}) {
            if (p) {
                lowest = std::min(lowest, *p);
            }
        }
    }
    // A label for every decade while they fit, else for every few decades.
    const double decades = std::ceil(-std::log10(lowest) + 0.3);
    const double per_label = std::ceil(decades / 10);
    auto* y = new QLogValueAxis;
    y->setObjectName(QStringLiteral("pAxis"));
    y->setTitleText(QStringLiteral("p (log scale)"));
    y->setBase(std::pow(10.0, per_label));
    // Just below the lowest power, so rounding in the axis does not drop its label, and above
    // 1, so points at 1 are not hidden by the frame.
    y->setRange(0.999 * std::pow(10.0, -std::ceil(decades / per_label) * per_label), 1.5);
    y->setLabelFormat(QStringLiteral("%g"));
    y->setMinorTickCount(per_label > 1 ? 0 : 8);
    chart->addAxis(y, Qt::AlignLeft);

    auto* line = horizontal_line(groups, level);
    line->setObjectName(QStringLiteral("levelLine"));
    line->setName(QStringLiteral("level ") + QString::number(level));
    QPen dashed(significant_colour);
    dashed.setStyle(Qt::DashLine);
    dashed.setWidth(2);
    line->setPen(dashed);
    attach(chart, line, groups.axis, y);

    // A point drawn at smallest_drawn_p stands for anything below it.
    const auto p_label = [](double p) {
        return qtext(p_text(Probability::of(p > smallest_drawn_p ? p : 0)));
    };
    // The unadjusted p-value is an open ring, so the filled adjusted point stands out.
    attach(chart,
           group_rings(QStringLiteral("pSeries"), QStringLiteral("p"), table, groups, chart_beside,
                       p_label, plain_colour),
           groups.axis, y);
    attach(
        chart,
        group_points(
            QStringLiteral("pAdjustedSeries"),
            QStringLiteral("p, %1-adjusted").arg(qtext(adjustment_short_name(choices.adjustment))),
            table, groups, chart_point, p_label, mark_colour),
        groups.axis, y);
    chart->setTitle(significance_title(QStringLiteral("p per group"), choices));
}

}  // namespace

ResultsChart::ResultsChart(QWidget* parent) : QChartView(parent) {
    setObjectName(QStringLiteral("resultsChart"));
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::NoFrame);
    setMinimumHeight(220);
    clear();
}

void ResultsChart::clear() {
    auto* empty = new QChart;
    empty->legend()->hide();
    replace_chart(empty);
    title_.clear();
}

void ResultsChart::show_table(const ResultTable& table, TestKind kind, const Choices& choices) {
    auto* chart = new QChart;
    // The plot gets the room that margins around the chart would take from a short panel.
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setMargins(QMargins(4, 2, 8, 2));
    chart->setBackgroundRoundness(0);
    chart->legend()->setAlignment(Qt::AlignBottom);
    QFont title_font = chart->titleFont();
    title_font.setBold(true);
    chart->setTitleFont(title_font);
    const GroupAxis groups = group_axis(table);
    chart->addAxis(groups.axis, Qt::AlignBottom);
    if (kind == TestKind::runs) {
        build_z_chart(chart, table, groups, choices);
    } else {
        build_p_chart(chart, table, groups, choices);
    }
    replace_chart(chart);
    title_ = chart->title();
    fit_title();
}

void ResultsChart::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    fit_title();
}

void ResultsChart::fit_title() {
    // A title too wide for a narrow chart would be cut short: it goes on two lines instead.
    const QFontMetrics metrics(chart()->titleFont());
    const QMargins margins = chart()->margins();
    const bool fits =
        metrics.horizontalAdvance(title_) <= width() - margins.left() - margins.right();
    const QString shown = fits ? title_ : QString(title_).replace(QStringLiteral("; "), "<br>");
    if (chart()->title() != shown) {
        chart()->setTitle(shown);
    }
}

int ResultsChart::narrowest_width() const {
    const QFontMetrics metrics(chart()->titleFont());
    int widest = 0;
    for (const QString& line : title_.split(QStringLiteral("; "))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    const QMargins margins = chart()->margins();
    return widest + margins.left() + margins.right() + 2 * frameWidth();
}

void ResultsChart::replace_chart(QChart* chart) {
    QChart* old = this->chart();
    setChart(chart);
    delete old;
}

}  // namespace vesk
