#pragma once

#include <optional>
#include <string>

namespace vesk {

// A report's format follows its file name.
enum class ReportFormat { html, pdf };

// html for .html and .htm, pdf for .pdf, whatever the case; none for any other name.
std::optional<ReportFormat> report_format_of(const std::string& path);

// The message for a name with neither ending, followed by the name.
inline constexpr const char* report_name_text = "A report is written as .html or .pdf, not as ";

}  // namespace vesk
