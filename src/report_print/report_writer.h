#pragma once

#include <string>

#include "report/report_data.h"

namespace vesk {

// Writes the report in the format its name asks for (.html or .pdf) to a temporary file beside
// path and renames it into place. A PDF needs Qt's font machinery: without a running
// QGuiApplication one is made for the time of the writing, on the offscreen platform, so no
// display is needed. Throws vesk::Error naming the path and the reason.
void write_report(const std::string& path, const ReportData& report);

}  // namespace vesk
