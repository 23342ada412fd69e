#pragma once

#include <string>

#include "report/report_data.h"

namespace vesk {

// The report's chart as SVG, one point per group: for the runs test z with the band of +-1.96,
// for the chi-square test the p-value and the adjusted p-value on a log scale with the level.
// Significant, plain and flagged groups differ in the shape of their marker, not in colour
// alone, so the chart reads in black and white.
enum class SvgUse {
    inline_html,  // an <svg> element inside an HTML page
    standalone,   // a document of its own, with its namespace, for an SVG renderer
};

std::string report_chart_svg(const ReportData& report, SvgUse use);

// The chart's size in SVG user units, which the PDF scales to its text width.
struct ChartSize {
    double width = 0;
    double height = 0;
};
ChartSize report_chart_size(const ReportData& report);

}  // namespace vesk
