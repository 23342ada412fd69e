#pragma once

#include <string>

#include "report/report_data.h"

namespace vesk {

// The report as one self-contained HTML page: its style inside, the chart as inline SVG, no
// script, font, image or style sheet from elsewhere. The page is also well-formed XML, so it
// can be read back by an XML reader.
std::string report_html(const ReportData& report);

// The same page for a rich-text printer that draws no SVG: where the chart goes stands a
// paragraph holding only `chart_marker`, text found nowhere else on the page.
struct PrintableHtml {
    std::string html;
    std::string chart_marker;
};
PrintableHtml report_html_for_print(const ReportData& report);

// Writes report_html to a temporary file beside path and renames it into place; throws
// vesk::Error naming the path and the reason.
void write_report_html(const std::string& path, const ReportData& report);

}  // namespace vesk
